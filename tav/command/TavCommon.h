// The behaviour that the grid control and the grid view share: the state questions the grid
// and the commands ask (may this cell be edited, is it disabled, in warning, locked), the
// answers to the grid's notifications about in-place editing, selection and the clipboard,
// cell colours, and the hooks by which a host changes any of it. The two windows derive from
// it virtually and only translate messages into its calls.
#pragma once

#include "components/mox/MoxMessages.h"
#include "components/mox/MoxPos.h"
#include "components/mox/MoxRect.h"
#include "components/mox/MoxRectArray.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Types.h"
#include "tav/data/TavLockData.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TavAttr;
class TavData;
class TavManager;
class TavUndoHistory;
namespace plat {
class CmdUI;
class Menu;
class Wnd;
}

class TavCommon {
public:
    TavCommon();
    virtual ~TavCommon();
    TavCommon(const TavCommon&) = delete;
    TavCommon& operator=(const TavCommon&) = delete;

    // The window that holds this object; every grid request goes to it.
    void SetCellCtrl(plat::Wnd* window) noexcept { m_window = window; }
    [[nodiscard]] plat::Wnd* GetCellWindow() const noexcept { return m_window; }

    // The manager bound to the window (kept by the manager as the window's extension
    // pointer), cached on first use. The references assume a bound manager.
    TavManager& Manager();
    TavManager* ManagerPtr();
    TavData& Data();
    TavAttr& AttrWarning();
    TavAttr& AttrDisable();

    [[nodiscard]] plat::UINT QueryLineCommand() const noexcept { return m_lineCommand; }
    [[nodiscard]] int IsPasting() const noexcept { return m_paste; }

    // A cell may be edited when it is shown, not disabled and the manager allows it.
    int QueryEditAble(const MoxPos& pos);
    // 1 when cell lock is on and a lock range of the column's item holds the row.
    int QueryLockPane(const MoxPos& pos);
    // The number of selected ranges when each is made of whole lines (and, with single, there
    // is only one); otherwise tells the user and answers 0.
    int QueryIsLineSel(const std::vector<std::uint8_t>* flags, int single);
    // id: the prompt of the caret's item, or the idle prompt 0xE001 while nothing is bound.
    int QueryMessageString(plat::UINT& id);

    plat::UINT GetDlgCode(plat::UINT code) const noexcept;
    void ImeNotify(plat::UINT notification);
    void UserResize(long column, int width);
    void SetColSize();
    void SetOwnerWindow();
    void DestroyCellWindow();
    void CloseCellWindow() {}
    void Compensation() {}

    // In-place editing, selection and the clipboard. For the notifications, non-zero refuses.
    int BeginPaneEdit(const MoxPos& pos);
    void ShowPaneEdit(const MoxPos& pos, plat::Wnd* editor);
    int EndPaneEdit(const MoxPos& pos);
    int SelChanging(const MoxPos& from, const MoxPos& to);
    void SelChanged(const MoxPos& from, const MoxPos& to);
    void EscapeKeyDown();
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditOpen();
    int FixedCellText(const MoxPos& pos, std::string& text);
    int FixedColText(const MoxPos& pos, std::string& text);
    int FixedRowText(const MoxPos& pos, std::string& text);
    int GetControl(const MoxPos& pos, plat::Wnd** control);
    void DrawItem(const MOX_DRAWITEMSTRUCT& item);
    // The host changed its items' controls: collect them again.
    void TermChange();
    // Shows the caret item's prompt on the owner's status line while the grid has the focus.
    void SetMessageString();

    // Layout commands: the item change and template management dialogs. An editor still
    // open is closed keeping its text first; one that refuses to close keeps the dialog shut.
    void CellChange();
    void CellTemplate();

    // Colours: sets the text colour a cell needs and answers its background brush, or null
    // for the grid's own. The brushes are shared by every grid of the process.
    plat::Brush* CellCtlColor(const MoxPos& cell, plat::DC& dc);
    void CreateResourceObject();
    // Brackets one repaint: the lock ranges are indexed once for the cells it asks about, as
    // they cannot change while the grid paints.
    void BeginCellPaint();
    void EndCellPaint() noexcept { m_lockIndexed = false; }
    [[nodiscard]] plat::COLORREF GetWarningTextColor() const noexcept { return m_warningTextColor; }
    // The hatchings of locked and disabled cells, one pair for the application.
    [[nodiscard]] static const plat::Brush& LockBrush();
    [[nodiscard]] static const plat::Brush& DisableBrush();

    // ---- line commands, the Return walk, jump and find ----
    // Insert or delete empty records at the selected lines (one range of whole lines); the
    // attribute rows and the lock ranges move with their lines. 1 when done.
    int LineInsert();
    int LineDelete();
    // Marks the selected lines for a move (0xC106), copy (0xC107) or swap (0xC108): the
    // blocks then travel with the caret until ExecLineCommand or Escape.
    void StartLineCommand(plat::UINT command);
    // Carries a pending command out; 1 when it was. All or nothing: when the table refuses
    // a cell part way, every line, flag and lock range is put back and the command ends.
    int ExecLineCommand();
    // Closes up the blank lines of each selected range towards its top.
    void LineCloseUp();
    void MoveCurTop();
    void MoveCurBottom();
    void LineJump();
    // Return and Tab: carry out a pending command, else walk to the next editable cell.
    void ReturnKeyDown();
    void MoveNextCursor();
    // What the find dialog needs of the manager: the item shown in a column (-1: none), the
    // item's editor control and its cell size.
    long FindItemOfColumn(long column);
    plat::Wnd* FindItemEditor(long itemNo);
    unsigned FindItemDataSize(long itemNo);

    // Hooks, in slot order. Non-zero results permit.
    virtual int OnFixedCellText(const MoxPos& corner, std::string& text);
    virtual int OnSelChanging(const MoxPos& from, const MoxPos& to);
    virtual void OnSelChanged(const MoxPos& from, const MoxPos& to);
    virtual int OnBeginEdit(unsigned id, long record);
    virtual int OnEndEdit(unsigned id, long record);
    virtual void OnUserResize(long column, int width);
    virtual int OnCheckSrcLineEditArea(const MoxRectArray& blocks);
    virtual int OnCheckDstLineEditArea(const MoxRectArray& blocks);
    virtual void OnBeginLineEdit();
    // Both end the pending line command; a host that overrides them calls these.
    virtual void OnFinishLineEdit();
    virtual void OnCancelLineEdit();
    virtual int OnAreaCorrect(unsigned id, const MoxRectArray* ranges, plat::Wnd* parent);
    virtual int OnFindCompare(unsigned id, long record, const void* value, unsigned size, int& result);
    virtual int OnChangeCurPos(const MoxPos& from, const MoxPos& to);
    virtual int OnEnableFindCommand(unsigned id);
    virtual int OnBeginCopy();
    virtual void OnEndCopy();
    virtual int OnBeginPaste();
    virtual void OnEndPaste();
    virtual int OnBeginDelete();
    virtual void OnEndDelete();
    virtual bool OnGetPaneTextColor(const MoxPos& cell, plat::COLORREF& colour);

private:
    // The one range of whole lines that insert and delete work on; false (with the message)
    // when the selection is not that.
    bool SelectedLineBlock(std::int32_t& first, std::int32_t& count);
    // Inserts or removes count records at first as one undo step, the attribute rows and the
    // lock ranges moving with their lines.
    void ShiftLines(const char* stepName, bool insert, std::int32_t first, std::int32_t count);

public:
    // ---- cell lock and area correction (TavCommonLock.cpp) ----
public:
    // Switches the cell lock: on, the selected cells become the locked ones (with nothing
    // selected it stays off); off, none are. Repaints the grid.
    void CellLock();
    // Lets the person pick one of the selected items and correct it over the selected rows.
    void AreaCorrect();
    // The lock ranges of a selection, in selection order: one per column of each range (ids
    // holds the item of each column), a whole-column range reaching the last of recordCount
    // records. A range that shares a record with an earlier one of its item is merged into
    // it as it is met; ranges that only touch stay apart.
    static void BuildLockList(const MoxRectArray& selection, const std::vector<std::uint8_t>& flags, long recordCount,
                              const std::vector<unsigned>& ids, TavLockArray& locks);

private:
    // The default corrections by the item's editor; 1 once the person was asked.
    int CorrectNumber(unsigned id, long column, const MoxRectArray& ranges, plat::Wnd* control, plat::Wnd* parent);
    int CorrectChoice(unsigned id, long column, const MoxRectArray& ranges, plat::Wnd* control, plat::Wnd* parent);
    // ---- end of cell lock and area correction ----

protected:
    int QueryBlankLine(long record);
    int QueryDisablePane(const MoxPos& pos);
    int QueryWarningPane(const MoxPos& pos);
    plat::LRESULT Request(plat::UINT request, plat::WPARAM wParam = 0, plat::LPARAM lParam = 0);
    // Ends the pending line command: the selection back on the blocks, no marking.
    void EndLineCommand();

    plat::Wnd* m_window = nullptr;
    TavManager* m_manager = nullptr;
    plat::COLORREF m_warningTextColor = 0;
    plat::UINT m_lineCommand = 0;
    MoxRectArray m_dstBlocks;
    MoxRectArray m_srcBlocks;
    MoxRect m_dstBounds;
    int m_paste = 0;
    int m_imeState = 0;
    int m_imeGuard = 0;

private:
    struct LockEntry {
        unsigned id;
        std::int32_t first;
        std::int32_t last;
        std::int32_t reach; // the furthest last row of this entry and the ones before it of its item
    };
    // The input method closed in numeric columns, the user's choice elsewhere.
    void SwitchInputMethod(long column);
    void CreateBrush(plat::Brush& brush, plat::COLORREF first, plat::COLORREF second);

    std::vector<LockEntry> m_lockIndex; // by item, then first row
    TavLockArray m_lockIndexSource;     // the ranges it was built from
    bool m_lockIndexed = false;

    // ---- context menu, command states, help, find, print ----
public:
    // Opens the grid's context menu at a screen point; (-1, -1) asks for the keyboard's
    // place, the caret cell's bottom right corner.
    void ContextMenu(plat::POINT point);
    // Brings a pop-up about to open up to date through the grid's command route.
    void InitMenuPopup(plat::Menu* popup, plat::UINT index, plat::BOOL systemMenu);
    // F1: 1 when help was shown, 0 to let the windows further out answer.
    int CommandHelp(plat::LPARAM context);
    // The help context of a help-mode click on the grid (0: none).
    plat::DWORD HelpHitTest(plat::POINT point);
    // Searches one selected column with the find dialog: one range in one column whose editor
    // can be searched, else messages 9, 18 or 10.
    void Find();
    void CellPrint();
    void CellAutoWidth();
    // The find dialog, run modally for one column's rows: the library's own unless a host or a
    // test installs another; an empty runner puts the library's back.
    using FindDialogRunner = std::function<void(TavCommon& grid, long column, long top, long bottom, plat::Wnd* parent)>;
    static void SetFindDialogRunner(FindDialogRunner runner);

private:
    // The context menu, assembled from the suite's shared menu by the first grid that asks
    // and shared by every grid of the process.
    static plat::Menu& PopupMenu();
    static FindDialogRunner& FindDialog();
    static void LibraryFindDialog(TavCommon& grid, long column, long top, long bottom, plat::Wnd* parent);

    // ---- undo and redo (TavCommonUndo.cpp) ----
public:
    // An open editor takes back its own typing first; otherwise the table's last step is
    // taken back (or done again), and the person is told when the host refused it.
    void EditUndo();
    void EditRedo();
    // The edit menu's items: enabled when there is something to take back or do again, the
    // step's name in their text.
    void UpdateEditUndo(plat::CmdUI& cmdUI);
    void UpdateEditRedo(plat::CmdUI& cmdUI);
    // The grid's paste and clear, bracketed by its notifications, each one step.
    int BeginPasteStep();
    void EndPasteStep();
    int BeginDeleteStep();
    void EndDeleteStep();
    // The grid stored (or did not store) the editor's value: the input step ends.
    void PaneEditStored();
    // The bound table's history, or null while nothing is bound.
    TavUndoHistory* History();

protected:
    // Opens and closes a step of the bound table's history (nothing while none is bound).
    void OpenUndoStep(const char* name);
    void CloseUndoStep();

private:
    std::string m_editOriginal; // the editor's text when it opened
    std::string m_editUndone;   // the typing its undo took back, for its redo
    bool m_editStep = false;
    // ---- end of undo and redo ----
};
