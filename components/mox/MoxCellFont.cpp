// The grid font, one for the application.
#include "components/mox/MoxCellFont.h"

#include "components/mox/MoxCellCtrl.h"
#include "platform/ui/UiContext.h"

#include <optional>

namespace {

struct CellFontSetting {
    std::optional<plat::LOGFONTA> font;
};

std::optional<plat::LOGFONTA>& CellFont() { return plat::CurrentUiContext().Get<CellFontSetting>().font; }

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

