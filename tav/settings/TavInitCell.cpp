// TavInitCell: the stored font reaches the grids once, when the host starts the library.
#include "tav/settings/TavInitCell.h"

#include "components/mox/MoxCellFont.h"
#include "tav/settings/TavColorSetting.h"

void TavInitCell()
{
    TavColorSetting setting;
    // When the settings cannot be read their font flag means nothing: the grids keep theirs.
    if (setting.Load() && setting.m_useFont)
        MoxSetCellFont(&setting.m_logFont);
}
