// Reading and writing SIMA coordinate files. The reader works on the file's own bytes: a comma
// is never part of a double-byte character in the code page, so lines split without decoding,
// and only names and titles are converted.
#include "examples/coordinates/SimaFile.h"

#include "examples/coordinates/CoordinateResources.h"
#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace coordinates {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// A point line's fields after its kind: number, name, X, Y, height.
constexpr std::size_t kPointFields = 5;

// The fields of one line, split at commas; fields past the ones a point uses are not kept.
struct Fields {
    std::array<std::string_view, 1 + kPointFields> text{};
    std::size_t count = 0;
};

void SplitFields(std::string_view line, Fields& fields)
{
    fields.count = 0;
    std::size_t start = 0;
    while (fields.count < fields.text.size()) {
        const std::size_t comma = line.find(',', start);
        fields.text[fields.count++] = line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
}

class SimaReader {
public:
    SimaReader(SimaReadResult& result, bool utf8) : m_result(result), m_utf8(utf8) {}

    bool Line(std::size_t number, std::string_view line)
    {
        SplitFields(line, m_fields);
        const std::string_view kind = TrimBlanks(m_fields.text[0]);
        if (kind.empty() && m_fields.count == 1)
            return true;
        if (kind == "A01")
            return Point(number);
        if (kind == "Z00")
            return m_fields.count < 2 || Text(number, m_fields.text[1], "表題", m_result.title);
        if (kind == "Z01" || kind == "A00" || kind == "A99")
            return true;
        Skip(kind);
        return true;
    }

    bool Fail(std::size_t line, std::string why)
    {
        m_result.ok = false;
        m_result.errorLine = line;
        m_result.error = std::move(why);
        m_result.points.clear();
        return false;
    }

private:
    bool Point(std::size_t line)
    {
        ExchangePoint point;
        const auto field = [&](std::size_t index) { return index < m_fields.count ? TrimBlanks(m_fields.text[index]) : std::string_view(); };
        if (const std::string_view text = field(1); !text.empty()) {
            double number = 0;
            if (!ParsePointNumber(text, number))
                return Fail(line, "点番号 \"" + Shown(text) + "\" は 8 桁までの整数ではありません");
            point.number = number;
        }
        if (const std::string_view text = field(2); !text.empty()) {
            std::string name;
            if (!Text(line, text, "点名", name))
                return false;
            // The cell holds the name in the narrow code page, which the file is in unless marked.
            if ((m_utf8 ? plat::Utf8ToNarrow(name).text.size() : text.size()) > kPointNameBytes)
                return Fail(line, "点名 \"" + Shown(text) + "\" は " + std::to_string(kPointNameBytes) + " バイトを超えています");
            point.name = std::move(name);
        }
        static constexpr const char* kCoordinateNames[] = {"X座標", "Y座標", "標高"};
        std::optional<double>* coordinates[] = {&point.x, &point.y, &point.z};
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string_view text = field(3 + i);
            if (text.empty())
                continue; // a missing value stays missing, never zero
            double value = 0;
            if (!ParseCoordinate(text, value))
                return Fail(line, std::string(kCoordinateNames[i]) + " \"" + Shown(text) + "\" は数値ではないか、桁が多すぎます");
            *coordinates[i] = value;
        }
        m_result.points.push_back(std::move(point));
        return true;
    }

    // A text field in the file's encoding, as UTF-8.
    bool Text(std::size_t line, std::string_view field, const char* what, std::string& text)
    {
        field = TrimBlanks(field);
        // A NUL would cut the text short in its cell.
        if (field.find('\0') != std::string_view::npos)
            return Fail(line, std::string(what) + "に NUL 文字があります");
        if (m_utf8) {
            if (!plat::IsValidUtf8(field) || !plat::Utf8ToNarrow(field).ok())
                return Fail(line, std::string(what) + "に文字コードで表せない文字があります");
            text.assign(field);
            return true;
        }
        // Plain ASCII is the same in both, and is what most names are.
        if (std::all_of(field.begin(), field.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            text.assign(field);
            return true;
        }
        plat::TextConversion converted = plat::NarrowToUtf8(field);
        if (!converted.ok())
            return Fail(line, std::string(what) + "に文字コードで表せない文字があります");
        text = std::move(converted.text);
        return true;
    }

    void Skip(std::string_view kind)
    {
        // A kind is a few letters and figures; anything else is counted under one name.
        const bool plain = !kind.empty() && kind.size() <= 8 &&
                           std::all_of(kind.begin(), kind.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
        const std::string name = plain ? std::string(kind) : std::string("?");
        auto found = std::find_if(m_result.skipped.begin(), m_result.skipped.end(), [&](const auto& entry) { return entry.first == name; });
        if (found == m_result.skipped.end())
            m_result.skipped.emplace_back(name, 1);
        else
            ++found->second;
    }

    std::string Shown(std::string_view field) const
    {
        const std::string_view cut = field.substr(0, 24);
        return m_utf8 ? std::string(cut) : plat::NarrowToUtf8Replacing(cut);
    }

    SimaReadResult& m_result;
    bool m_utf8;
    Fields m_fields;
};

bool AppendText(std::string& out, std::string_view text)
{
    std::string narrow;
    if (plat::Utf8ToNarrowInto(text, narrow) != std::string::npos)
        return false;
    out += narrow;
    return true;
}

} // namespace

SimaReadResult ReadSima(std::string_view bytes)
{
    SimaReadResult result;
    const bool utf8 = bytes.starts_with(kUtf8Mark);
    if (utf8)
        bytes.remove_prefix(kUtf8Mark.size());
    SimaReader reader(result, utf8);
    // Room for a point a line, so that the points are not moved again and again as they come.
    std::size_t lines = 1;
    for (const char* feed = bytes.data(); (feed = static_cast<const char*>(std::memchr(feed, '\n', bytes.data() + bytes.size() - feed))) != nullptr; ++feed)
        ++lines;
    result.points.reserve(lines);
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t feed = bytes.find('\n', start);
        const std::size_t end = feed == std::string_view::npos ? bytes.size() : feed;
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        // An end-of-file mark from the days of floppy disks ends the file.
        if (line == "\x1A")
            break;
        if (!reader.Line(lineNumber, line))
            return result;
    }
    result.ok = true;
    return result;
}

bool LooksLikeSima(std::string_view bytes) noexcept
{
    if (bytes.starts_with(kUtf8Mark))
        bytes.remove_prefix(kUtf8Mark.size());
    while (!bytes.empty() && (bytes.front() == ' ' || bytes.front() == '\r' || bytes.front() == '\n'))
        bytes.remove_prefix(1);
    if (bytes.size() < 4 || bytes[3] != ',')
        return false;
    const std::string_view kind = bytes.substr(0, 3);
    return (kind[0] == 'Z' || kind[0] == 'A') && kind[1] >= '0' && kind[1] <= '9' && kind[2] >= '0' && kind[2] <= '9';
}

SimaWriteResult WriteSima(std::string_view title, const std::vector<ExchangePoint>& points)
{
    SimaWriteResult result;
    std::string& out = result.bytes;
    out.reserve(64 + points.size() * 48);
    // A comma would end the title early; the title is only shown, so it is written without.
    std::string cleanTitle(title);
    std::replace(cleanTitle.begin(), cleanTitle.end(), ',', ' ');
    out += "Z00,";
    if (!AppendText(out, cleanTitle)) {
        result.error = "表題 \"" + std::string(title) + "\" に文字コードで表せない文字があります";
        result.bytes.clear();
        return result;
    }
    out += ",\r\nZ01,\r\nA00,\r\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ExchangePoint& point = points[i];
        out += "A01,";
        if (point.number)
            AppendNumber(out, *point.number);
        out += ',';
        if (point.name) {
            // The format has no quoting: a name with a comma would split into two fields.
            if (point.name->find(',') != std::string::npos || !AppendText(out, *point.name)) {
                result.error = std::to_string(i + 1) + " 点目の点名 \"" + *point.name + "\" は SIMA では書けません";
                result.bytes.clear();
                return result;
            }
        }
        for (const std::optional<double>* value : {&point.x, &point.y, &point.z}) {
            out += ',';
            if (*value)
                AppendNumber(out, **value);
        }
        out += ",\r\n";
    }
    out += "A99,\r\n";
    result.ok = true;
    return result;
}

} // namespace coordinates
