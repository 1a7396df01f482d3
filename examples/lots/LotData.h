// The lot list's record table: the library's table with the editor's own checks, which refuse
// a lot number that is not one (digits, with hyphenated sub numbers: "1234", "1234-5",
// "1234-5-2") before it reaches a cell, whether typed, pasted, corrected or set in code.
#pragma once

#include "tav/data/TavData.h"

#include <string_view>

namespace lots {

// [guide:data]
class LotData : public TavData {
public:
    // Whether a text is a lot number; the empty text is (it clears the cell).
    [[nodiscard]] static bool IsLotNumber(std::string_view text) noexcept;

    plat::BOOL OnDataChanging(unsigned id, long record, const void* newBytes) override;
    using TavData::OnDataChanging;
};
// [/guide:data]

} // namespace lots
