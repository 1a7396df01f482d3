// The lot list as CSV for spreadsheet programs: a header row of the column headings, one row
// per lot. Cells go through the items' own editors both ways (the text a cell shows out, the
// text a person could type in), so a file says what the grid says and takes what it takes.
#pragma once

#include "platform/text/CsvText.h"
#include "tav/data/TavData.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lots {

// A CSV file read and every cell converted, nothing written yet.
struct LotCsvImport {
    bool ok = false;
    // Where a fault is, 1-based; the row counts the header row, as a spreadsheet does, and
    // the column is 0 when the fault is not in one field.
    std::size_t errorRow = 0;
    std::size_t errorColumn = 0;
    std::string error;
    long first = 0; // the record of the first row
    long records = 0;

    struct Cell {
        long itemNo;
        long record;
        std::size_t row;
        std::size_t column;
        std::size_t offset; // of its bytes in `bytes`
        unsigned size;
    };
    std::vector<Cell> cells;
    std::vector<std::uint8_t> bytes;
};

// Columns are found by heading (or an item's long name), in any order, and may be left out;
// rows with every field empty are skipped. The rows are to land from record `first` on; a
// file with more rows than remain is refused with `overflow` set.
[[nodiscard]] LotCsvImport ReadLotCsv(TavData& data, std::string_view bytes, long first, bool& overflow);

// Writes the converted cells into the table, asking the change hooks as typing would; false
// at the first refused cell, with its row and column in `import.errorRow` and `errorColumn`.
// The caller holds the undo step open and cancels it on false.
[[nodiscard]] bool ApplyLotCsv(TavData& data, LotCsvImport& import);

// Every item of every record that holds data, as the cells show them, CR LF row ends.
[[nodiscard]] bool WriteLotCsv(TavData& data, plat::CsvEncoding encoding, std::string& bytes);

} // namespace lots
