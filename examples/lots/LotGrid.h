// The editor's grid: the library's grid control, telling the frame when the caret moved or an
// edit ended (for the status line), starting the category list on the cell's category, and
// keeping the cell lock with the template.
#pragma once

#include "tav/window/TavCellCtrl.h"

namespace lots {

// [guide:grid]
class LotGrid : public TavCellCtrl {
public:
    // The message the parent gets: sent when the caret moved, posted when an edit ended (the
    // table holds the new value only after the edit's end has been answered).
    void SetChangeMessage(plat::UINT message) noexcept { m_changeMessage = message; }

    void OnSelChanged(const MoxPos& from, const MoxPos& to) override;
    int OnEndEdit(unsigned id, long record) override;

    DECLARE_MESSAGE_MAP()

private:
    plat::LRESULT OnGetControl(plat::WPARAM wParam, plat::LPARAM lParam);
    void OnCellLock();

    plat::UINT m_changeMessage = 0;
};
// [/guide:grid]

} // namespace lots
