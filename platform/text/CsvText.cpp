// CSV text and its bytes. The reader is a small state machine over decoded text, so that a
// trail byte of a double-byte character is never taken for a quote or a comma.
#include "platform/text/CsvText.h"

#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"

#include <algorithm>

namespace plat {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

} // namespace

CsvDecoded DecodeCsv(std::string_view bytes)
{
    CsvDecoded decoded;
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
        if (!IsValidUtf8(bytes))
            return decoded;
        decoded.text.assign(bytes);
    } else {
        const std::size_t bad = NarrowToUtf8Into(bytes, decoded.text);
        if (bad != std::string::npos) {
            decoded.line = 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bad), '\n'));
            decoded.text.clear();
            return decoded;
        }
    }
    decoded.ok = true;
    return decoded;
}

bool EncodeCsv(std::string_view text, CsvEncoding encoding, std::string& bytes)
{
    if (encoding == CsvEncoding::Utf8WithMark) {
        bytes.assign(kUtf8Mark);
        bytes += text;
        return true;
    }
    if (Utf8ToNarrowInto(text, bytes) != std::string::npos) {
        bytes.clear();
        return false;
    }
    return true;
}

void AppendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

bool CsvRowReader::NextRow(std::vector<std::string>& fields)
{
    fields.clear();
    if (m_failed || m_pos >= m_text.size())
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

} // namespace plat
