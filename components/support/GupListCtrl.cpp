// Selection by index on the list view.
#include "components/support/GupListCtrl.h"

plat::BOOL GupListCtrl::SetCurSel(int index)
{
    if (index < -1 || index >= GetCount())
        return FALSE;
    SetItemState(-1, 0, plat::LVIS_SELECTED | plat::LVIS_FOCUSED);
    if (index < 0)
        return TRUE;
    SetItemState(index, plat::LVIS_SELECTED | plat::LVIS_FOCUSED, plat::LVIS_SELECTED | plat::LVIS_FOCUSED);
    EnsureVisible(index);
    return TRUE;
}

plat::BOOL GupListCtrl::SetSel(int index, plat::BOOL flag)
{
    if (index < -1 || index >= GetCount())
        return FALSE;
    return SetItemState(index, flag ? plat::LVIS_SELECTED : 0, plat::LVIS_SELECTED);
}
