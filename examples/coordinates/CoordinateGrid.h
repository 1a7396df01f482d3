// The editor's grid: the library's grid control, which tells the frame when the caret moved
// or an edit ended, so that the status line follows, and whose code list starts on the
// cell's code, and whose cell lock is kept with the template.
#pragma once

#include "tav/window/TavCellCtrl.h"

namespace coordinates {

class CoordinateGrid : public TavCellCtrl {
public:
    // The message the parent gets: sent when the caret moved, posted when an edit ended (the
    // table holds the new value only after the edit's end has been answered).
    void SetChangeMessage(plat::UINT message) noexcept { m_changeMessage = message; }

    void OnSelChanged(const MoxPos& from, const MoxPos& to) override;
    int OnEndEdit(unsigned id, long record) override;

    DECLARE_MESSAGE_MAP()

private:
    // The code list is a plain list, which the library leaves as it is: the editor's manager
    // selects the cell's code in it.
    plat::LRESULT OnGetControl(plat::WPARAM wParam, plat::LPARAM lParam);
    // The lock is kept with the current template, so that it is there at the next start.
    void OnCellLock();

    plat::UINT m_changeMessage = 0;
};

} // namespace coordinates
