// The colour in which every edit control of the application shows input that is not valid.
// The appearance settings set it when they load; the edit controls read it when they paint.
#pragma once

#include "platform/ui/Types.h"

// flag is kept with the colour for the edit controls; the settings always pass 0.
void LunSetErrorColor(plat::COLORREF color, plat::BOOL flag);

// Red (0x000000FF) until set.
[[nodiscard]] plat::COLORREF LunGetErrorColor() noexcept;
[[nodiscard]] plat::BOOL LunGetErrorColorFlag() noexcept;
