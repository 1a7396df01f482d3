// The layout commands of the grid windows: the open editor closes first, keeping its text,
// so the dialog sees and the rebuild keeps what was typed.
#include "tav/command/TavCommon.h"

#include "tav/manager/TavManager.h"

namespace {

constexpr plat::WPARAM kKeepText = 1;

} // namespace

void TavCommon::CellChange()
{
    Request(MOXM_CLOSEEDITOR, kKeepText);
    if (Request(MOXM_ISEDITING) != 0)
        return;
    if (TavManager* manager = ManagerPtr())
        manager->CellChange();
}

void TavCommon::CellTemplate()
{
    Request(MOXM_CLOSEEDITOR, kKeepText);
    if (Request(MOXM_ISEDITING) != 0)
        return;
    if (TavManager* manager = ManagerPtr())
        manager->CellTemplate();
}
