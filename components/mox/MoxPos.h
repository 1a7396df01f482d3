// A cell position of the grid: the unit in which the grid, its selection and its requests
// name a cell.
#pragma once

#include <cstdint>

struct MoxPos {
    // Columns count from 0 across the shown items, rows from 0 down the records.
    std::int32_t column = 0;
    std::int32_t row = 0;

    friend bool operator==(const MoxPos&, const MoxPos&) = default;
};
