// The process-wide colour of invalid input in edit controls.
#include "components/support/LunErrorColor.h"

namespace {

struct ErrorColor {
    plat::COLORREF color = plat::RGB(255, 0, 0);
    plat::BOOL flag = FALSE;
};

ErrorColor& Current()
{
    static ErrorColor current;
    return current;
}

} // namespace

void LunSetErrorColor(plat::COLORREF color, plat::BOOL flag) { Current() = {color, flag}; }

plat::COLORREF LunGetErrorColor() noexcept { return Current().color; }

plat::BOOL LunGetErrorColorFlag() noexcept { return Current().flag; }
