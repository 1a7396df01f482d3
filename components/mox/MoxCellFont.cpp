// The process-wide grid font.
#include "components/mox/MoxCellFont.h"

#include "components/mox/MoxCellCtrl.h"

#include <optional>

namespace {

std::optional<plat::LOGFONTA>& CellFont()
{
    static std::optional<plat::LOGFONTA> font;
    return font;
}

} // namespace

void MoxSetCellFont(const plat::LOGFONTA* font)
{
    if (font)
        CellFont() = *font;
    else
        CellFont().reset();
    for (MoxCellCtrl* grid : MoxCellCtrl::AllGrids())
        grid->ApplyCellFont();
}

const plat::LOGFONTA* MoxGetCellFont() noexcept { return CellFont() ? &*CellFont() : nullptr; }

