// The lot list's checks of a cell before it changes.
#include "LotData.h"

#include "LotResources.h"

#include <cstring>

namespace lots {

bool LotData::IsLotNumber(std::string_view text) noexcept
{
    bool digitBefore = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else if (c == '-' && digitBefore) {
            digitBefore = false;
        } else {
            return false;
        }
    }
    return text.empty() || digitBefore;
}

// [guide:refuse]
plat::BOOL LotData::OnDataChanging(unsigned id, long /*record*/, const void* newBytes)
{
    // A text cell arrives as its stored bytes: zero-filled, so its length is up to the first
    // zero. Lot numbers are ASCII, so no code page conversion is needed to check them.
    if (id == kLotNo && newBytes != nullptr) {
        const auto* bytes = static_cast<const char*>(newBytes);
        return IsLotNumber(std::string_view(bytes, strnlen(bytes, kLotNoBytes + 1))) ? TRUE : FALSE;
    }
    return TRUE;
}
// [/guide:refuse]

} // namespace lots
