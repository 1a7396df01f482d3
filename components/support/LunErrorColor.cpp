// The colour of invalid input in edit controls, one for the application.
#include "components/support/LunErrorColor.h"

#include "platform/ui/UiContext.h"

namespace {

struct ErrorColor {
    plat::COLORREF color = plat::RGB(255, 0, 0);
    plat::BOOL flag = FALSE;
};

ErrorColor& Current() { return plat::CurrentUiContext().Get<ErrorColor>(); }

} // namespace

void LunSetErrorColor(plat::COLORREF color, plat::BOOL flag) { Current() = {color, flag}; }

plat::COLORREF LunGetErrorColor() noexcept { return Current().color; }

plat::BOOL LunGetErrorColorFlag() noexcept { return Current().flag; }
