// SIMA coordinate files, as total stations and survey calculation programs exchange them:
// comma-separated lines in the narrow double-byte code page, each starting with its record
// kind. Z00 and Z01 head the file, A00 opens the coordinate block, each A01 line is one point
// (number, name, X, Y, height) and A99 closes the block; line and lot data may follow.
//
//     Z00,座標データ,
//     A00,
//     A01,1,T1,-36336.043,-8234.742,23.351,
//     A01,2,T2,-36363.594,-8152.471,,
//     A99,
#pragma once

#include "examples/coordinates/ExchangePoints.h"
#include "examples/coordinates/SimaPoints.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace coordinates {

struct SimaReadResult {
    bool ok = false;
    std::size_t errorLine = 0; // 1-based line of the fault
    std::string error;
    std::string title; // of the Z00 line, UTF-8
    SimaPoints points;
    // Lines of other kinds, by kind in the order first met, with how many there were.
    std::vector<std::pair<std::string, std::size_t>> skipped;
};

// Reads the whole file; a fault stops it with its line, and then no point is given.
[[nodiscard]] SimaReadResult ReadSima(std::string_view bytes);

// Whether the bytes start the way a SIMA file does (a record kind such as Z00 or A00).
[[nodiscard]] bool LooksLikeSima(std::string_view bytes) noexcept;

struct SimaWriteResult {
    bool ok = false;
    std::string bytes;
    std::string error;
};

// Z00 with the title, Z01, A00, one A01 per point in order, A99; CR LF line ends; numbers in
// the shortest form that reads back to the same value. Only number, name and coordinates are
// written, as the format has nothing more for a point.
[[nodiscard]] SimaWriteResult WriteSima(std::string_view title, const std::vector<ExchangePoint>& points);

} // namespace coordinates
