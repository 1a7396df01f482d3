// Coordinate files in and out of the editor's table.
#include "examples/coordinates/CoordinateExchange.h"

#include "examples/coordinates/SimaFile.h"
#include "platform/io/Files.h"
#include "platform/text/NameCompare.h"
#include "tav/data/TavData.h"

namespace coordinates {

namespace {

std::optional<ExchangeKind> KindOfExtension(const std::filesystem::path& path)
{
    const std::string extension = path.extension().string();
    if (plat::EqualNoCase(extension, ".sim"))
        return ExchangeKind::Sima;
    if (plat::EqualNoCase(extension, ".csv"))
        return ExchangeKind::Csv;
    return std::nullopt;
}

ExchangeReport Failed(std::string message) { return {ExchangeReport::Outcome::Failed, std::move(message)}; }

} // namespace

ExchangeKind KindForReading(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    if (const std::optional<ExchangeKind> kind = KindOfExtension(path))
        return *kind;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return LooksLikeSima(text) ? ExchangeKind::Sima : ExchangeKind::Csv;
}

ExchangeKind KindForWriting(const std::filesystem::path& path) { return KindOfExtension(path).value_or(ExchangeKind::Sima); }

ExchangeReport ImportCoordinates(const std::filesystem::path& path, TavData& data, ImportMode mode)
{
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = plat::ReadWholeFile(path, bytes))
        return Failed(path.string() + " を読めません: " + error.message());
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const auto apply = [&](const auto& points, std::string summary) -> ExchangeReport {
        switch (ApplyPoints(data, points, mode, kImportStepName)) {
        case ImportOutcome::Done: return {ExchangeReport::Outcome::Done, std::move(summary)};
        case ImportOutcome::Overflow: return {ExchangeReport::Outcome::Overflow, {}};
        case ImportOutcome::Refused: return Failed("座標一覧が変更を受け付けなかったため、読み込みを取り消しました。");
        }
        return Failed({});
    };
    if (KindForReading(path, bytes) == ExchangeKind::Sima) {
        const SimaReadResult read = ReadSima(text);
        if (!read.ok)
            return Failed(path.filename().string() + " の " + std::to_string(read.errorLine) + " 行目: " + read.error);
        std::string summary = std::to_string(read.points.size()) + " 点を読み込みました。";
        for (std::size_t i = 0; i < read.skipped.size(); ++i)
            summary += (i == 0 ? "\n読み飛ばした行: " : "、") + read.skipped[i].first + " " + std::to_string(read.skipped[i].second) + " 行";
        return apply(read.points, std::move(summary));
    }
    const CsvReadResult read = ReadCsv(text);
    if (!read.ok) {
        std::string where = path.filename().string() + " の " + std::to_string(read.errorRow) + " 行目";
        if (read.errorColumn > 0)
            where += " " + std::to_string(read.errorColumn) + " 列目";
        return Failed(where + ": " + read.error);
    }
    return apply(read.points, std::to_string(read.points.size()) + " 点を読み込みました。");
}

ExchangeReport ExportCoordinates(const TavData& data, const std::filesystem::path& path, const std::string& title,
                                 CsvEncoding encoding)
{
    const std::vector<ExchangePoint> points = CollectPoints(data);
    std::string bytes;
    if (KindForWriting(path) == ExchangeKind::Sima) {
        SimaWriteResult written = WriteSima(title, points);
        if (!written.ok)
            return Failed(written.error);
        bytes = std::move(written.bytes);
    } else {
        CsvWriteResult written = WriteCsv(points, encoding);
        if (!written.ok)
            return Failed(written.error);
        bytes = std::move(written.bytes);
    }
    if (const std::error_code error = plat::WriteFileAtomically(path, bytes))
        return Failed(path.string() + " に書き出せません: " + error.message());
    return {ExchangeReport::Outcome::Done, std::to_string(points.size()) + " 点を書き出しました。"};
}

} // namespace coordinates
