/// @file
/// The library's string table and the identifiers of its entries.
#pragma once

#include "platform/resource/Module.h"

/// The identifiers of the library's strings (its module: TavGetModuleHandle).
enum TavStringId : unsigned {
    IDS_TAV_TEMPLATE_EXISTS = 1,
    IDS_TAV_TEMPLATE_DELETE = 3,
    IDS_TAV_RESET = 4,
    IDS_TAV_TEMPLATE_NO_COMMA = 5,
    IDS_TAV_RANGE_NOT_CONTIGUOUS = 6,
    IDS_TAV_TEMPLATE_LOAD_FAILED = 7,
    IDS_TAV_TEXT_READER_BUSY = 8,
    IDS_TAV_NO_RANGE = 9,
    IDS_TAV_RANGE_INVALID = 10,
    IDS_TAV_ITEM_NOT_PROCESSABLE = 11,
    IDS_TAV_NO_LINE = 12,
    IDS_TAV_SEVERAL_LINES = 13,
    IDS_TAV_NO_ROOM_TO_INSERT = 14,
    IDS_TAV_STANDARD = 15,
    IDS_TAV_TOO_MANY_COORDINATES = 16,
    IDS_TAV_TOO_MANY_LOT_NUMBERS = 17,
    IDS_TAV_SEVERAL_RANGES = 18,
    IDS_TAV_NOT_FOUND = 19,
};

/// Fills a module with the library's string table.
void TavAddStrings(plat::Module& module);
