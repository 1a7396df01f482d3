// Fuzzes the SIMA and CSV readers: no bytes may crash, leak or hang them, and whatever either
// accepts must write out and read back to the same points, bit for bit.
#include "examples/coordinates/CsvFile.h"
#include "examples/coordinates/SimaFile.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace coordinates;

namespace {

[[noreturn]] void Broken(const char* what)
{
    std::fprintf(stderr, "coordinate_file_fuzz: %s\n", what);
    std::abort();
}

bool SameNumber(const std::optional<double>& a, const std::optional<double>& b)
{
    return a.has_value() == b.has_value() && (!a || std::bit_cast<std::uint64_t>(*a) == std::bit_cast<std::uint64_t>(*b));
}

bool SamePoint(const ExchangePoint& a, const ExchangePoint& b)
{
    const bool sameRadius = a.radius.has_value() == b.radius.has_value() &&
                            (!a.radius || (std::bit_cast<std::uint64_t>(static_cast<double>(a.radius->GetR())) ==
                                               std::bit_cast<std::uint64_t>(static_cast<double>(b.radius->GetR())) &&
                                           a.radius->GetRight() == b.radius->GetRight() && a.radius->GetSmall() == b.radius->GetSmall()));
    return SameNumber(a.number, b.number) && a.name == b.name && SameNumber(a.x, b.x) && SameNumber(a.y, b.y) &&
           SameNumber(a.z, b.z) && a.code == b.code && a.lineType == b.lineType && sameRadius && a.flag == b.flag;
}

bool SamePoints(const std::vector<ExchangePoint>& a, const std::vector<ExchangePoint>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!SamePoint(a[i], b[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const SimaReadResult sima = ReadSima(bytes); sima.ok) {
        const std::vector<ExchangePoint> points = sima.points.ToExchangePoints();
        const SimaWriteResult written = WriteSima(sima.title, points);
        if (!written.ok)
            Broken("accepted SIMA points cannot be written");
        const SimaReadResult again = ReadSima(written.bytes);
        if (!again.ok || !SamePoints(again.points.ToExchangePoints(), points))
            Broken("written SIMA points read back otherwise");
    }
    if (const CsvReadResult csv = ReadCsv(bytes); csv.ok) {
        for (const CsvEncoding encoding : {CsvEncoding::Utf8WithMark, CsvEncoding::NarrowCodePage}) {
            const CsvWriteResult written = WriteCsv(csv.points, encoding);
            if (!written.ok)
                Broken("accepted CSV points cannot be written");
            const CsvReadResult again = ReadCsv(written.bytes);
            if (!again.ok || !SamePoints(again.points, csv.points))
                Broken("written CSV points read back otherwise");
        }
    }
    return 0;
}
