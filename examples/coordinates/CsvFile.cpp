// Reading and writing coordinate lists as CSV. The reader is a small state machine over the
// decoded text; each cell text is checked the way the item's editor would take it.
#include "examples/coordinates/CsvFile.h"

#include "components/support/LunArrowTypeComboBox.h"
#include "examples/coordinates/CoordinateResources.h"
#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace coordinates {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class Column { PointNo, Name, X, Y, Z, Code, LineType, Radius, Flag, Count };

struct ColumnName {
    const char* heading;
    const char* longName;
};
// The headings the editor shows, and the items' long names, which a person may type instead.
constexpr std::array<ColumnName, static_cast<std::size_t>(Column::Count)> kColumnNames{{
    {"点番", "点番号"},
    {"点名", "点名"},
    {"X座標", "X座標"},
    {"Y座標", "Y座標"},
    {"標高", "標高"},
    {"コード", "コード"},
    {"線種", "線種"},
    {"半径", "曲線半径"},
    {"確定", "確定フラグ"},
}};

const std::vector<std::string>& LineTypeTexts()
{
    static const std::vector<std::string> texts = [] {
        const LunLineTypeComboBox list;
        std::vector<std::string> made;
        for (int i = 0; i < list.GetCount(); ++i)
            made.push_back(list.GetLBText(i));
        return made;
    }();
    return texts;
}

template <typename Texts>
int IndexOf(const Texts& texts, std::string_view text)
{
    for (std::size_t i = 0; i < std::size(texts); ++i)
        if (text == std::string_view(texts[i]))
            return static_cast<int>(i);
    return -1;
}

// ---- reading ----

// Splits decoded text into rows of fields: a quoted field may hold commas, doubled quotes and
// line breaks. Returns false with the row of an unterminated quote.
class CsvTokenizer {
public:
    explicit CsvTokenizer(std::string_view text) : m_text(text) {}

    // The next row; false at the end of the text or at a fault (then Failed() is true).
    bool NextRow(std::vector<std::string>& fields)
    {
        fields.clear();
        if (m_pos >= m_text.size())
            return false;
        ++m_row;
        enum class State { FieldStart, Plain, Quoted, QuoteInQuoted } state = State::FieldStart;
        std::string field;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (state == State::Quoted) {
                if (c == '"')
                    state = State::QuoteInQuoted;
                else
                    field += c;
                continue;
            }
            if (state == State::QuoteInQuoted && c == '"') {
                field += '"';
                state = State::Quoted;
                continue;
            }
            if (c == ',' || c == '\n' || c == '\r') {
                fields.push_back(std::move(field));
                field.clear();
                state = State::FieldStart;
                if (c == ',')
                    continue;
                if (c == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
                    ++m_pos;
                return true;
            }
            if (state == State::QuoteInQuoted) {
                // Past the closing quote only blanks may come before the comma.
                if (c != ' ' && c != '\t') {
                    m_failed = true;
                    return false;
                }
            } else if (c == '"' && state == State::FieldStart) {
                field.clear(); // blanks before the opening quote are no part of the field
                state = State::Quoted;
            } else {
                field += c;
                if (c != ' ' && c != '\t')
                    state = State::Plain;
            }
        }
        if (state == State::Quoted) {
            m_failed = true;
            return false;
        }
        fields.push_back(std::move(field));
        return true;
    }

    [[nodiscard]] bool Failed() const noexcept { return m_failed; }
    [[nodiscard]] std::size_t Row() const noexcept { return m_row; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_row = 0;
    bool m_failed = false;
};

bool ParseRadius(std::string_view text, HixRadius& radius)
{
    // Parts separated by blanks of either width: the radius, then its marks in any order.
    std::string spaced(text);
    for (std::size_t wide = spaced.find("\u3000"); wide != std::string::npos; wide = spaced.find("\u3000", wide))
        spaced.replace(wide, 3, " ");
    std::string_view rest = spaced;
    bool first = true;
    double value = 0;
    plat::BOOL right = FALSE;
    plat::BOOL small = FALSE;
    while (!(rest = TrimBlanks(rest)).empty()) {
        const std::size_t blank = std::min(rest.find(' '), rest.size());
        const std::string_view part = rest.substr(0, blank);
        rest.remove_prefix(blank);
        if (first) {
            if (!ParseCoordinate(part, value) || value <= 0)
                return false;
            first = false;
        } else if (part == "右" || part == "R" || part == "r") {
            right = TRUE;
        } else if (part == "左" || part == "L" || part == "l") {
            right = FALSE;
        } else if (part == "小" || part == "S" || part == "s") {
            small = TRUE;
        } else {
            return false;
        }
    }
    radius = HixRadius(HixReal(value));
    radius.SetRight(right);
    radius.SetSmall(small);
    return !first;
}

// Takes one cell's text into the point; false when the item does not take it.
bool TakeCell(Column column, std::string_view text, ExchangePoint& point)
{
    text = TrimBlanks(text);
    if (text.empty())
        return true;
    double number = 0;
    int index = -1;
    switch (column) {
    case Column::PointNo:
        if (!ParsePointNumber(text, number))
            return false;
        point.number = number;
        return true;
    case Column::Name: {
        const plat::TextConversion narrow = plat::Utf8ToNarrow(text);
        if (!narrow.ok() || narrow.text.size() > kPointNameBytes)
            return false;
        point.name = std::string(text);
        return true;
    }
    case Column::X:
    case Column::Y:
    case Column::Z: {
        if (!ParseCoordinate(text, number))
            return false;
        (column == Column::X ? point.x : column == Column::Y ? point.y : point.z) = number;
        return true;
    }
    case Column::Code:
        if ((index = IndexOf(kCodes, text)) < 0)
            return false;
        point.code = index;
        return true;
    case Column::LineType:
        if ((index = IndexOf(LineTypeTexts(), text)) < 0)
            return false;
        point.lineType = index;
        return true;
    case Column::Radius: {
        HixRadius radius;
        if (!ParseRadius(text, radius))
            return false;
        point.radius = radius;
        return true;
    }
    case Column::Flag:
        if ((index = IndexOf(kFlagTexts, text)) < 0)
            return false;
        point.flag = index;
        return true;
    case Column::Count: break;
    }
    return false;
}

std::string CellProblem(Column column)
{
    switch (column) {
    case Column::PointNo: return "8 桁までの整数ではありません";
    case Column::Name: return std::to_string(kPointNameBytes) + " バイトを超えるか、文字コードで表せない文字があります";
    case Column::X:
    case Column::Y:
    case Column::Z: return "数値ではないか、桁が多すぎます";
    case Column::Radius: return "半径として読めません（例: 120.000 右 小）";
    default: return "選択肢のどれでもありません";
    }
}

// ---- writing ----

void AppendField(std::string& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

template <typename Texts>
bool AppendChoice(std::string& out, const Texts& texts, const std::optional<int>& index)
{
    if (!index)
        return true;
    if (*index < 0 || static_cast<std::size_t>(*index) >= std::size(texts))
        return false;
    AppendField(out, texts[static_cast<std::size_t>(*index)]);
    return true;
}

} // namespace

CsvReadResult ReadCsv(std::string_view bytes)
{
    CsvReadResult result;
    const auto fail = [&](std::size_t row, std::size_t column, std::string why) {
        result.ok = false;
        result.errorRow = row;
        result.errorColumn = column;
        result.error = std::move(why);
        result.points.clear();
        return result;
    };
    std::string text;
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
        if (!plat::IsValidUtf8(bytes))
            return fail(0, 0, "UTF-8 として正しくない文字があります");
        text.assign(bytes);
    } else {
        plat::TextConversion decoded = plat::NarrowToUtf8(bytes);
        if (!decoded.ok()) {
            const std::size_t line = 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(decoded.badOffset), '\n'));
            return fail(line, 0, "文字コードで表せない文字があります");
        }
        text = std::move(decoded.text);
    }
    CsvTokenizer rows(text);
    std::vector<std::string> fields;
    if (!rows.NextRow(fields))
        return rows.Failed() ? fail(1, 0, "引用符が閉じていません") : fail(1, 0, "見出しの行がありません");
    std::vector<Column> columns;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view heading = TrimBlanks(fields[i]);
        const auto found = std::find_if(kColumnNames.begin(), kColumnNames.end(),
                                        [&](const ColumnName& name) { return heading == name.heading || heading == name.longName; });
        if (found == kColumnNames.end())
            return fail(1, i + 1, "見出し \"" + std::string(heading) + "\" は座標一覧の項目ではありません");
        const auto column = static_cast<Column>(found - kColumnNames.begin());
        if (std::find(columns.begin(), columns.end(), column) != columns.end())
            return fail(1, i + 1, "見出し \"" + std::string(heading) + "\" が二度あります");
        columns.push_back(column);
    }
    while (rows.NextRow(fields)) {
        if (std::all_of(fields.begin(), fields.end(), [](const std::string& field) { return TrimBlanks(field).empty(); }))
            continue;
        if (fields.size() > columns.size())
            return fail(rows.Row(), columns.size() + 1, "見出しのない列に値があります");
        ExchangePoint point;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!TakeCell(columns[i], fields[i], point))
                return fail(rows.Row(), i + 1, kColumnNames[static_cast<std::size_t>(columns[i])].heading + std::string(" \"") +
                                                   fields[i].substr(0, 40) + "\" は" + CellProblem(columns[i]));
        result.points.push_back(std::move(point));
    }
    if (rows.Failed())
        return fail(rows.Row(), 0, "引用符の使い方が正しくありません");
    result.ok = true;
    return result;
}

CsvWriteResult WriteCsv(const std::vector<ExchangePoint>& points, CsvEncoding encoding)
{
    CsvWriteResult result;
    std::string text;
    for (std::size_t i = 0; i < kColumnNames.size(); ++i) {
        if (i > 0)
            text += ',';
        text += kColumnNames[i].heading;
    }
    text += "\r\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ExchangePoint& point = points[i];
        if (point.number)
            AppendNumber(text, *point.number);
        text += ',';
        if (point.name)
            AppendField(text, *point.name);
        for (const std::optional<double>* value : {&point.x, &point.y, &point.z}) {
            text += ',';
            if (*value)
                AppendNumber(text, **value);
        }
        text += ',';
        bool ok = AppendChoice(text, kCodes, point.code);
        text += ',';
        ok = ok && AppendChoice(text, LineTypeTexts(), point.lineType);
        text += ',';
        if (point.radius) {
            AppendNumber(text, static_cast<double>(point.radius->GetR()));
            text += point.radius->GetRight() ? " 右" : " 左";
            if (point.radius->GetSmall())
                text += " 小";
        }
        text += ',';
        ok = ok && AppendChoice(text, kFlagTexts, point.flag);
        if (!ok) {
            result.error = std::to_string(i + 1) + " 点目に選択肢にない値があります";
            return result;
        }
        text += "\r\n";
    }
    if (encoding == CsvEncoding::Utf8WithMark) {
        result.bytes = std::string(kUtf8Mark) + text;
    } else {
        plat::TextConversion narrow = plat::Utf8ToNarrow(text);
        if (!narrow.ok()) {
            result.error = "文字コードで表せない文字があります";
            return result;
        }
        result.bytes = std::move(narrow.text);
    }
    result.ok = true;
    return result;
}

} // namespace coordinates
