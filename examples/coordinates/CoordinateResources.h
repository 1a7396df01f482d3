// The coordinate-list editor's items and its own string table: each item's identifier is
// the number of a string whose first line is the item's long name and second its heading,
// as the library reads them; and the texts the editor itself shows.
#pragma once

#include "platform/resource/Module.h"

namespace coordinates {

enum Item : unsigned {
    kPointNo = 1001,
    kPointName = 1002,
    kX = 1003,
    kY = 1004,
    kZ = 1005,
    kCode = 1006,
    kLineType = 1007,
    kRadius = 1008,
    kFlag = 1009,
};

// Bytes of a point name (without its terminator).
inline constexpr unsigned kPointNameBytes = 12;
// Help topics: an item's topic is this plus the item's identifier.
inline constexpr unsigned long kItemHelpBase = 0x20000;

// The codes a point may carry, in the order of their stored index.
inline constexpr const char* kCodes[] = {"基準点", "引照点", "境界点", "道路", "水路", "建物"};
// The two states of the flag.
inline constexpr const char* kFlagTexts[] = {"未確定", "確定"};

// The module that holds the string table.
[[nodiscard]] const plat::Module& CoordinateModule();

} // namespace coordinates
