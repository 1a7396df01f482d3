// The editor's grid: the library's grid control, which tells the frame when the caret moved
// or an edit ended, so that the status line follows, and whose code list starts on the
// cell's code, and whose cell lock is kept with the template. It selects every cell and reads
// the caret cell aloud.
#pragma once

#include "tav/window/TavCellCtrl.h"

#include <string>
#include <utility>

namespace coordinates {

class CoordinateGrid : public TavCellCtrl {
public:
    // The message the parent gets: sent when the caret moved, posted when an edit ended (the
    // table holds the new value only after the edit's end has been answered).
    void SetChangeMessage(plat::UINT message) noexcept { m_changeMessage = message; }

    void OnSelChanged(const MoxPos& from, const MoxPos& to) override;
    // The text last given to the read-aloud program.
    [[nodiscard]] const std::string& LastSpoken() const noexcept { return m_lastSpoken; }
    int OnEndEdit(unsigned id, long record) override;
    // With the cell lock on, what would change a locked cell is refused, and the notice says
    // why: an edit, a cut or clear of a selection, a paste onto one, a bulk correction.
    int OnBeginEdit(unsigned id, long record) override;
    int OnBeginDelete() override;
    int OnBeginPaste() override;
    int OnAreaCorrect(unsigned id, const MoxRectArray* ranges, plat::Wnd* parent) override;
    // A move or copy asks before it writes over lines that hold data.
    int OnCheckDstLineEditArea(const MoxRectArray& blocks) override;

    // What the grid last had to tell the person (a refusal, what a lock did), taken once by the
    // status line.
    [[nodiscard]] std::string TakeNotice() { return std::exchange(m_notice, {}); }

    DECLARE_MESSAGE_MAP()

private:
    // The code list is a plain list, which the library leaves as it is: the editor's manager
    // selects the cell's code in it.
    plat::LRESULT OnGetControl(plat::WPARAM wParam, plat::LPARAM lParam);
    // The lock is kept with the current template, so that it is there at the next start.
    void OnCellLock();
    // Undo and redo of a lock change the stored template as the lock itself did.
    void OnEditUndo();
    void OnEditRedo();
    // 項目変更 and ﾃﾝﾌﾟﾚｰﾄ may put another item under the caret: its prompt follows.
    void OnItemChange();
    void OnTemplate();
    void PromptAfterLayoutChange();
    void SaveLockWithTemplate();
    // Every cell of the table, as whole lines.
    void OnSelectAll();
    // Shift+F1 then a click: the clicked column's item, where the library answers with the
    // caret's.
    plat::LRESULT OnHelpHitTest(plat::WPARAM wParam, plat::LPARAM lParam);
    // The library asks for the caret cell to be read aloud: the manager's words for it go to
    // the read-aloud program.
    plat::LRESULT OnSpeech(plat::WPARAM wParam, plat::LPARAM lParam);

    // Whether any locked cell lies in the rectangles; the rectangles' columns as on screen.
    [[nodiscard]] bool TouchesLock(const MoxRectArray& ranges);
    void Notice(std::string text);

    plat::UINT m_changeMessage = 0;
    std::string m_notice;
    std::string m_lastSpoken;
};

} // namespace coordinates
