// Reading and writing SIMA coordinate files. The reader works on the file's own bytes: a comma
// is never part of a double-byte character in the code page, so lines split without decoding,
// and only names and titles are converted.
#include "examples/coordinates/SimaFile.h"

#include "examples/coordinates/CoordinateResources.h"
#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace coordinates {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// A point line with a short name and coordinates to the millimetre, as instruments write them.
constexpr std::size_t kUsualPointLine = 32;

const char* SkipBlanks(const char* at, const char* end) noexcept
{
    while (at != end && (*at == ' ' || *at == '\t'))
        ++at;
    return at;
}

// The field that starts at `at`, up to its comma or the end of the line; `at` moves past the
// comma. Fields are a few characters long: a plain loop costs less than a library search.
std::string_view NextField(const char*& at, const char* end) noexcept
{
    const char* const start = at;
    while (at != end && *at != ',')
        ++at;
    const std::string_view field(start, static_cast<std::size_t>(at - start));
    if (at != end)
        ++at;
    return field;
}

enum class NumberField { Empty, Read, Faulty };

// Reads a number field in place: from_chars itself finds where the figures end, so that they
// are gone over once, and then only blanks may stand before the comma. `at` moves past the
// comma, except on a fault. Inline: a call for each number of a file cost a tenth of the read.
inline NumberField ReadNumber(const char*& at, const char* end, double& value) noexcept
{
    const char* const start = SkipBlanks(at, end);
    if (start == end || *start == ',') {
        at = start == end ? end : start + 1;
        return NumberField::Empty;
    }
    const auto [stop, error] = std::from_chars(start, end, value, std::chars_format::general);
    const char* const after = SkipBlanks(stop, end);
    if (error != std::errc() || (after != end && *after != ','))
        return NumberField::Faulty;
    at = after == end ? end : after + 1;
    return NumberField::Read;
}

// Plain ASCII without a NUL is what most names are: the same bytes in either encoding, and
// nothing to check but the length.
bool IsPlainAscii(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte != 0 && byte < 0x80;
    });
}

class SimaReader {
public:
    SimaReader(SimaReadResult& result, bool utf8) : m_result(result), m_utf8(utf8) {}

    bool Line(std::size_t number, std::string_view line)
    {
        const char* at = line.data();
        const char* const end = at + line.size();
        const std::string_view kindField = NextField(at, end);
        const bool hasFields = kindField.size() < line.size();
        const std::string_view kind = TrimBlanks(kindField);
        if (kind.empty() && !hasFields)
            return true;
        if (kind == "A01")
            return Point(number, at, end);
        if (kind == "Z00")
            return !hasFields || Text(number, NextField(at, end), "表題", m_result.title);
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
        m_result.points.Clear();
        return false;
    }

private:
    // The fields after the kind: number, name, X, Y, height; any after them are not read.
    bool Point(std::size_t line, const char* at, const char* end)
    {
        // Built in place: a fault clears every point anyway.
        SimaPoints::Point& point = m_result.points.Add();
        const char* field = at;
        switch (ReadNumber(at, end, point.number)) {
        case NumberField::Empty: break;
        case NumberField::Read:
            if (IsPointNumber(point.number)) {
                point.present |= 1u << SimaPoints::kNumber;
                break;
            }
            [[fallthrough]];
        case NumberField::Faulty:
            return Fail(line, "点番号 \"" + Shown(FieldText(field, end)) + "\" は 8 桁までの整数ではありません");
        }
        if (!Name(line, at, end, point))
            return false;
        static constexpr const char* kCoordinateNames[] = {"X座標", "Y座標", "標高"};
        double* const coordinates[] = {&point.x, &point.y, &point.z};
        for (std::size_t i = 0; i < 3; ++i) {
            field = at;
            // A missing value stays missing, never zero.
            const NumberField read = ReadNumber(at, end, *coordinates[i]);
            if (read == NumberField::Read && IsCoordinate(*coordinates[i]))
                point.present |= 1u << (SimaPoints::kX + i);
            else if (read != NumberField::Empty)
                return Fail(line, std::string(kCoordinateNames[i]) + " \"" + Shown(FieldText(field, end)) + "\" は数値ではないか、桁が多すぎます");
        }
        return true;
    }

    bool Name(std::size_t line, const char*& at, const char* end, SimaPoints::Point& point)
    {
        // One look at each byte finds the comma and tells a plain ASCII name, what most are:
        // the same bytes in either encoding, with nothing to check but the length.
        const char* const start = at;
        bool plain = true;
        for (; at != end && *at != ','; ++at)
            plain &= static_cast<unsigned char>(*at) - 1u < 0x7Fu; // neither NUL nor past ASCII
        const std::string_view text = TrimBlanks(std::string_view(start, static_cast<std::size_t>(at - start)));
        if (at != end)
            ++at;
        if (text.empty())
            return true;
        std::size_t narrowBytes = text.size();
        std::string_view utf8 = text;
        if (!plain) {
            if (!Text(line, text, "点名", m_name))
                return false;
            utf8 = m_name;
            // The cell holds the name in the narrow code page, which the file is in unless marked.
            if (m_utf8)
                narrowBytes = plat::Utf8ToNarrow(m_name).text.size();
        }
        if (narrowBytes > kPointNameBytes)
            return Fail(line, "点名 \"" + Shown(text) + "\" は " + std::to_string(kPointNameBytes) + " バイトを超えています");
        m_result.points.SetName(point, utf8);
        return true;
    }

    // A field found again for its message, once it has been found faulty.
    static std::string_view FieldText(const char* at, const char* end) noexcept { return TrimBlanks(NextField(at, end)); }

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
        if (IsPlainAscii(field)) {
            text.assign(field);
            return true;
        }
        if (plat::NarrowToUtf8Into(field, text) != std::string::npos)
            return Fail(line, std::string(what) + "に文字コードで表せない文字があります");
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
    std::string m_name; // a name that is not plain ASCII, as UTF-8
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
    // Room for as many points as lines of a usual length, taken at once: room not used costs
    // no memory until it is written, and a file of shorter lines only grows the list again.
    result.points.Reserve(bytes.size() / kUsualPointLine + 1);
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    for (std::size_t lineNumber = 1; at != end; ++lineNumber) {
        const char* feed = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
        std::string_view line(at, static_cast<std::size_t>((feed == nullptr ? end : feed) - at));
        at = feed == nullptr ? end : feed + 1;
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
