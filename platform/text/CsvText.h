// CSV as Japanese spreadsheet programs write and read it, apart from what the columns mean:
// the file's bytes to text and back (the narrow code page, or UTF-8 when the file starts with
// a byte-order mark), rows of fields where a quoted field may hold commas, doubled quotes and
// line breaks, and the quoting of a field on the way out. Hosts map the columns themselves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class CsvEncoding { NarrowCodePage, Utf8WithMark };

struct CsvDecoded {
    bool ok = false;
    std::string text;      // UTF-8, without the mark
    std::size_t line = 0;  // 1-based line of an undecodable character, 0 when the whole file is at fault
};

// The text of a CSV file's bytes; a character its encoding cannot hold refuses the file.
[[nodiscard]] CsvDecoded DecodeCsv(std::string_view bytes);

// The bytes of a CSV text in the encoding; false (bytes cleared) when the narrow code page
// cannot hold a character of it.
[[nodiscard]] bool EncodeCsv(std::string_view text, CsvEncoding encoding, std::string& bytes);

// Appends a field, quoted when it holds a comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view field);

// Splits decoded text into rows of fields, one row at a time.
class CsvRowReader {
public:
    explicit CsvRowReader(std::string_view text) noexcept : m_text(text) {}

    // The next row; false at the end of the text or at a quote used wrongly (Failed()).
    bool NextRow(std::vector<std::string>& fields);

    [[nodiscard]] bool Failed() const noexcept { return m_failed; }
    // The 1-based row last read, counted as a spreadsheet counts them.
    [[nodiscard]] std::size_t Row() const noexcept { return m_row; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_row = 0;
    bool m_failed = false;
};

} // namespace plat
