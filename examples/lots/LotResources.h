// The lot-number list's items and its own string table: each item's identifier is the number
// of a string whose first line is the item's long name and second its column heading, and the
// texts the editor itself shows.
#pragma once

#include "platform/resource/Module.h"

namespace lots {

// [guide:items]
enum Item : unsigned {
    kLotNo = 2001,    // 地番: "1234-5", text
    kCategory = 2002, // 地目: an index into kCategories
    kArea = 2003,     // 地積: square metres, two decimals
    kOwner = 2004,    // 所有者: text
    kNote = 2005,     // 備考: text
};

// Bytes of the text items, without their terminator (a full-width character takes two).
inline constexpr unsigned kLotNoBytes = 15;
inline constexpr unsigned kOwnerBytes = 40;
inline constexpr unsigned kNoteBytes = 40;

// The land categories, in the order of their stored index.
inline constexpr const char* kCategories[] = {"宅地", "田", "畑", "山林", "原野", "雑種地", "公衆用道路", "墓地"};
// [/guide:items]

// Help topics: an item's topic is this plus the item's identifier.
inline constexpr unsigned long kItemHelpBase = 0x30000;

// The module that holds the string table.
[[nodiscard]] const plat::Module& LotModule();

} // namespace lots
