// The font shared by every grid of the process. Setting it repaints the grids that exist.
#pragma once

#include "platform/ui/Types.h"


// Sets the font of every grid; null returns the grids to the default font.
void MoxSetCellFont(const plat::LOGFONTA* font);

// The font set for the grids, or null for the default font.
[[nodiscard]] const plat::LOGFONTA* MoxGetCellFont() noexcept;

