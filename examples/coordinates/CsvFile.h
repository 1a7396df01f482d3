// Coordinate lists as CSV, the way Japanese spreadsheet programs write and read it: a header
// row of the column headings, then one row per point; a field is quoted when it holds a
// comma, a quote or a line break; the narrow code page, or UTF-8 when the file starts with
// a byte-order mark.
#pragma once

#include "examples/coordinates/ExchangePoints.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace coordinates {

struct CsvReadResult {
    bool ok = false;
    // Where the fault is, 1-based: the row counts the header row, as a spreadsheet does; the
    // column is 0 when the fault is not in one field.
    std::size_t errorRow = 0;
    std::size_t errorColumn = 0;
    std::string error;
    std::vector<ExchangePoint> points;
};

// Columns are found by their headings (an item's heading or long name), in any order; a
// column may be left out. Rows with every field empty are skipped.
[[nodiscard]] CsvReadResult ReadCsv(std::string_view bytes);

enum class CsvEncoding { NarrowCodePage, Utf8WithMark };

struct CsvWriteResult {
    bool ok = false;
    std::string bytes;
    std::string error;
};

// Every item of every point, in the editor's item order, with CR LF row ends.
[[nodiscard]] CsvWriteResult WriteCsv(const std::vector<ExchangePoint>& points, CsvEncoding encoding);

} // namespace coordinates
