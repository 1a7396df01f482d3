// The support library's list view: a list view with the one-call selection operations that
// dialogs use (the current item, select one, select or clear any).
#pragma once

#include "platform/ui/ListView.h"

class GupListCtrl : public plat::ListView {
public:
    [[nodiscard]] int GetCount() const noexcept { return GetItemCount(); }
    // The first selected item, or -1.
    [[nodiscard]] int GetCurSel() const noexcept { return GetNextItem(-1, plat::LVNI_SELECTED); }
    // Selects and focuses the item alone and brings it into view; -1 clears the selection.
    // FALSE for an index outside the list.
    plat::BOOL SetCurSel(int index);
    // Selects (flag non-zero) or clears one item, or every item with index -1.
    plat::BOOL SetSel(int index, plat::BOOL flag);
    plat::DWORD SetExtendedListViewStyle(plat::DWORD exStyle) { return SetExtendedStyle(exStyle); }
};
