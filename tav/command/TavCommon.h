/// @file
/// The behaviour that the grid control and the grid view share: the state questions the grid
/// and the commands ask (may this cell be edited, is it disabled, in warning, locked), the
/// answers to the grid's notifications about in-place editing, selection and the clipboard,
/// cell colours, and the hooks by which a host changes any of it. The two windows derive from
/// it virtually and only translate messages into its calls.
#pragma once

#include "components/mox/MoxMessages.h"
#include "components/mox/MoxPos.h"
#include "components/mox/MoxRect.h"
#include "components/mox/MoxRectArray.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Types.h"
#include "tav/data/TavLockData.h"
#include "tav/dialogs/TavGridAccess.h"

#include <cstdint>
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

/// The grid's behaviour shared by the control (TavCellCtrl) and the view (TavCellView):
/// editing, clipboard, line commands, lock, correction, layout, menus, help, find, print,
/// colours and undo. A host calls its commands (LineInsert, CellLock, EditUndo…) on its grid
/// and overrides its On… hooks to take part or to refuse.
class TavCommon : public TavGridAccess {
public:
    TavCommon();
    virtual ~TavCommon();
    TavCommon(const TavCommon&) = delete;
    TavCommon& operator=(const TavCommon&) = delete;

    /// The window that holds this object; every grid request goes to it.
    void SetCellCtrl(plat::Wnd* window) noexcept { m_window = window; }
    /// The grid window this object works for (see SetCellCtrl).
    [[nodiscard]] plat::Wnd* GetCellWindow() const noexcept override { return m_window; }

    /// The manager bound to the window (kept by the manager as the window's extension
    /// pointer), cached on first use and forgotten when the manager is destroyed. The
    /// references throw plat::InvalidArgument while no manager holds a table.
    TavManager& Manager() override;
    /// The bound manager, or null while the window is not bound or its manager is gone.
    TavManager* ManagerPtr() override;
    /// A live manager holding a table: without one the window refuses its commands.
    [[nodiscard]] bool IsBound();
    /// The bound record table.
    TavData& Data() override;
    /// The bound manager's warning marks.
    TavAttr& AttrWarning();
    /// The bound manager's disable marks.
    TavAttr& AttrDisable();

    /// The line command waiting for its destination (move 0xC106, copy 0xC107, swap 0xC108), or
    /// 0: while one waits, Return or a double click carries it out and Escape cancels it.
    [[nodiscard]] plat::UINT QueryLineCommand() const noexcept { return m_lineCommand; }
    /// Non-zero while the grid pastes, so that a host's change hooks can tell a paste.
    [[nodiscard]] int IsPasting() const noexcept { return m_paste; }

    /// A cell may be edited when it is shown, not disabled and the manager allows it.
    [[nodiscard]] int QueryEditAble(const MoxPos& pos);
    /// 1 when cell lock is on and a lock range of the column's item holds the row.
    [[nodiscard]] int QueryLockPane(const MoxPos& pos);
    /// The number of selected ranges when each is made of whole lines (and, with single, there
    /// is only one); otherwise tells the user and answers 0.
    [[nodiscard]] int QueryIsLineSel(const std::vector<std::uint8_t>* flags, int single);
    /// id: the prompt of the caret's item, or the idle prompt 0xE001 while nothing is bound.
    [[nodiscard]] int QueryMessageString(plat::UINT& id);

    /// The keys the grid wants inside a dialog: all of them while a line command waits (its
    /// Return and Escape), else `code` as it is.
    plat::UINT GetDlgCode(plat::UINT code) const noexcept;
    /// Keeps the person's own input method choice (IMN_SETOPENSTATUS) to give back in text
    /// columns; the library's own switching is not taken for a choice.
    void ImeNotify(plat::UINT notification);
    /// Lets a desktop input method compose only where typing opens a text editor: not in a
    /// numeric, list or toggle column, a disabled cell, or while lines are marked.
    void AllowComposition(const MoxPos& caret);
    /// A column dragged to `width` pixels: OnUserResize is told and the item's width is kept
    /// in the table.
    void UserResize(long column, int width);
    /// Lays the columns out again after the window's size changed, when automatic widths are on.
    void SetColSize();
    /// Makes the nearest frame, dialog or property sheet above the grid its owner, where the
    /// status prompts and messages go.
    void SetOwnerWindow();
    /// The window is going: unbinds the manager from table and window (TavManager::Abscind).
    void DestroyCellWindow();
    /// Nothing needs doing when the window closes; kept for hosts that call it.
    void CloseCellWindow() {}
    /// Nothing needs doing; kept for hosts that call it.
    void Compensation() {}

    /// In-place editing, selection and the clipboard. For the notifications, non-zero refuses.
    /// Asked before a cell's editor opens: refused (non-zero) while a line command waits, for a
    /// disabled or locked cell, or when OnBeginEdit says no.
    [[nodiscard]] int BeginPaneEdit(const MoxPos& pos);
    /// The editor was placed on the cell: switches the input method for the column.
    void ShowPaneEdit(const MoxPos& pos, plat::Wnd* editor);
    /// Asked before an editor closes storing its text: refused (non-zero) when the editor's own
    /// check fails or OnEndEdit says no, and the editor stays open.
    [[nodiscard]] int EndPaneEdit(const MoxPos& pos);
    /// Asked before the caret moves; OnSelChanging may refuse (non-zero refuses).
    [[nodiscard]] int SelChanging(const MoxPos& from, const MoxPos& to);
    /// The caret moved: the status prompt, the input method and OnSelChanged follow.
    void SelChanged(const MoxPos& from, const MoxPos& to);
    /// Escape: cancels a waiting line command.
    void EscapeKeyDown();
    /// Copies the selected cells as tab-separated text and clears them; one undo step.
    void EditCut();
    /// Copies the selected cells to the clipboard as tab-separated text.
    void EditCopy();
    /// Pastes tab-separated text from the caret; a text a column's editor does not take leaves
    /// that cell as it was; one undo step.
    void EditPaste();
    /// Opens the caret cell's editor, as F2 does.
    void EditOpen();
    /// The text of the top-left corner cell: OnFixedCellText's, else "No.".
    [[nodiscard]] int FixedCellText(const MoxPos& pos, std::string& text);
    /// A row heading's text (the line number), from the manager.
    [[nodiscard]] int FixedColText(const MoxPos& pos, std::string& text);
    /// A column heading's text, from the manager (the item string's second field).
    [[nodiscard]] int FixedRowText(const MoxPos& pos, std::string& text);
    /// The editor for a cell, prepared with the cell's value by the manager.
    [[nodiscard]] int GetControl(const MoxPos& pos, plat::Wnd** control);
    /// Draws an owner-drawn cell through the manager's OnDrawItem.
    void DrawItem(const MOX_DRAWITEMSTRUCT& item);
    /// The host changed its items' controls: collect them again.
    void TermChange();
    /// Shows the caret item's prompt on the owner's status line while the grid has the focus.
    void SetMessageString();

    /// Layout commands: the item change and template management dialogs. An editor still
    /// open is closed keeping its text first; one that refuses to close keeps the dialog shut.
    void CellChange();
    /// The template management dialog (ﾃﾝﾌﾟﾚｰﾄ): register, load, delete and transfer layouts.
    void CellTemplate();

    /// Colours: sets the text colour a cell needs and answers its background brush, or null
    /// for the grid's own. The brushes are shared by every grid of the process.
    plat::Brush* CellCtlColor(const MoxPos& cell, plat::DC& dc);
    /// Makes the shared lock and disable brushes from the stored colours.
    void CreateResourceObject();
    /// Brackets one repaint: the lock ranges are indexed once for the cells it asks about, as
    /// they cannot change while the grid paints.
    void BeginCellPaint();
    /// Ends the repaint that BeginCellPaint bracketed.
    void EndCellPaint() noexcept { m_lockIndexed = false; }
    /// The text colour of cells in warning, from the stored settings.
    [[nodiscard]] plat::COLORREF GetWarningTextColor() const noexcept { return m_warningTextColor; }
    /// The hatched background of locked cells, one for the application's grids.
    [[nodiscard]] static const plat::Brush& LockBrush();
    /// The hatched background of disabled cells, one for the application's grids.
    [[nodiscard]] static const plat::Brush& DisableBrush();

    // ---- line commands, the Return walk, jump and find ----
    /// Insert or delete empty records at the selected lines (one range of whole lines); the
    /// attribute rows and the lock ranges move with their lines. 1 when done.
    [[nodiscard]] int LineInsert();
    /// Deletes the records of the selected whole lines (one range); their marks and lock ranges
    /// go with them and the lines below move up. 1 when done; one undo step.
    [[nodiscard]] int LineDelete();
    /// Marks the selected lines for a move (0xC106), copy (0xC107) or swap (0xC108): the
    /// blocks then travel with the caret until ExecLineCommand or Escape.
    void StartLineCommand(plat::UINT command);
    /// Carries a pending command out; 1 when it was. All or nothing: when the table refuses
    /// a cell part way, every line, flag and lock range is put back and the command ends.
    [[nodiscard]] int ExecLineCommand();
    /// Closes up the blank lines of each selected range towards its top.
    void LineCloseUp();
    /// 先頭行: the caret to the first line.
    void MoveCurTop();
    /// 最終行: the caret to the last line that holds data.
    void MoveCurBottom();
    /// 指定行: asks for a line number (the jump dialog) and moves the caret there.
    void LineJump();
    /// Return and Tab: carry out a pending command, else walk to the next editable cell.
    void ReturnKeyDown();
    /// Moves the caret to the next cell that can be edited (past locked, disabled and hidden
    /// cells), going on to the next line at the end of one.
    void MoveNextCursor();
    /// What the find dialog needs of the manager: the item shown in a column (-1: none), the
    /// item's editor control and its cell size.
    long FindItemOfColumn(long column) override;
    /// The editor control of an item, for the find dialog to borrow.
    plat::Wnd* FindItemEditor(long itemNo) override;
    /// The cell size of an item, for the find dialog.
    unsigned FindItemDataSize(long itemNo) override;

    /// Hooks, in slot order. Non-zero results permit.
    [[nodiscard]] virtual int OnFixedCellText(const MoxPos& corner, std::string& text);
    /// Asked before the selection moves from `from` to `to`; 0 keeps it where it is.
    [[nodiscard]] virtual int OnSelChanging(const MoxPos& from, const MoxPos& to);
    /// Told after the selection moved.
    virtual void OnSelChanged(const MoxPos& from, const MoxPos& to);
    /// Asked before a cell's editor opens; 0 keeps it closed.
    [[nodiscard]] virtual int OnBeginEdit(unsigned id, long record);
    /// Asked before an editor closes storing its text; 0 keeps it open.
    [[nodiscard]] virtual int OnEndEdit(unsigned id, long record);
    /// Told when the person dragged a column to `width` pixels.
    virtual void OnUserResize(long column, int width);
    /// Asked whether the marked lines may be moved, copied or swapped; 0 refuses the command.
    [[nodiscard]] virtual int OnCheckSrcLineEditArea(const MoxRectArray& blocks);
    /// Asked whether lines may go to the destination blocks; 0 refuses the command.
    [[nodiscard]] virtual int OnCheckDstLineEditArea(const MoxRectArray& blocks);
    /// Told when a line command starts marking lines.
    virtual void OnBeginLineEdit();
    /// Both end the pending line command; a host that overrides them calls these.
    virtual void OnFinishLineEdit();
    /// Told when a waiting line command is cancelled; ends it (an override calls this one).
    virtual void OnCancelLineEdit();
    /// 範囲補正 of one item over the selected ranges. The default asks for a value by the item's
    /// editor (a measure edit: add or replace; a list or toggle: one choice) and corrects all or
    /// nothing. Answers non-zero when the item was handled, 0 for "cannot be processed" (message 11).
    [[nodiscard]] int OnAreaCorrect(unsigned id, const MoxRectArray* ranges, plat::Wnd* parent) override;
    /// A host's own comparison for the find dialog: set `result` non-zero when the cell matches
    /// `value` (size bytes, as the item's editor made it) and answer non-zero; 0 lets the library
    /// compare the bytes.
    [[nodiscard]] int OnFindCompare(unsigned id, long record, const void* value, unsigned size, int& result) override;
    /// Asked before the Return walk moves the caret to `to`; 0 skips that cell.
    [[nodiscard]] virtual int OnChangeCurPos(const MoxPos& from, const MoxPos& to);
    /// Whether 検索 is offered for a column of that item; 0 greys it.
    [[nodiscard]] virtual int OnEnableFindCommand(unsigned id);
    /// Asked before a copy; 0 refuses it.
    [[nodiscard]] virtual int OnBeginCopy();
    /// Told after a copy.
    virtual void OnEndCopy();
    /// Asked before a paste; 0 refuses it.
    [[nodiscard]] virtual int OnBeginPaste();
    /// Told after a paste.
    virtual void OnEndPaste();
    /// Asked before the selected cells are cleared; 0 refuses.
    [[nodiscard]] virtual int OnBeginDelete();
    /// Told after the selected cells were cleared.
    virtual void OnEndDelete();
    /// A host's own text colour for a cell not in warning: set `colour` and answer true.
    [[nodiscard]] virtual bool OnGetPaneTextColor(const MoxPos& cell, plat::COLORREF& colour);

private:
    /// The one range of whole lines that insert and delete work on; false (with the message)
    /// when the selection is not that.
    [[nodiscard]] bool SelectedLineBlock(std::int32_t& first, std::int32_t& count);
    /// Inserts or removes count records at first as one undo step, the attribute rows and the
    /// lock ranges moving with their lines.
    void ShiftLines(const char* stepName, bool insert, std::int32_t first, std::int32_t count);

public:
    // ---- cell lock and area correction (TavCommonLock.cpp) ----
public:
    /// Switches the cell lock: on, the selected cells become the locked ones (with nothing
    /// selected it stays off); off, none are. Repaints the grid.
    void CellLock();
    /// Lets the person pick one of the selected items and correct it over the selected rows.
    void AreaCorrect();
    /// The lock ranges of a selection, in selection order: one per column of each range (ids
    /// holds the item of each column), a whole-column range reaching the last of recordCount
    /// records. A range that shares a record with an earlier one of its item is merged into
    /// it as it is met; ranges that only touch stay apart.
    static void BuildLockList(const MoxRectArray& selection, const std::vector<std::uint8_t>& flags, long recordCount,
                              const std::vector<unsigned>& ids, TavLockArray& locks);

private:
    /// The default corrections by the item's editor; 1 once the person was asked.
    [[nodiscard]] int CorrectNumber(unsigned id, long column, const MoxRectArray& ranges, plat::Wnd* control, plat::Wnd* parent);
    [[nodiscard]] int CorrectChoice(unsigned id, long column, const MoxRectArray& ranges, plat::Wnd* control, plat::Wnd* parent);
    // ---- end of cell lock and area correction ----

protected:
    /// 1 when every shown cell of the record is blank (hidden items may still hold data).
    [[nodiscard]] int QueryBlankLine(long record);
    /// Non-zero when the cell is marked disabled.
    [[nodiscard]] int QueryDisablePane(const MoxPos& pos);
    /// Non-zero when the cell is marked in warning.
    [[nodiscard]] int QueryWarningPane(const MoxPos& pos);
    /// Sends a grid request (MOXM_…) to the window; 0 while there is none.
    plat::LRESULT Request(plat::UINT request, plat::WPARAM wParam = 0, plat::LPARAM lParam = 0);
    /// Ends the pending line command: the selection back on the blocks, no marking.
    void EndLineCommand();

    plat::Wnd* m_window = nullptr; ///< the grid window this object works for
    TavManager* m_manager = nullptr; ///< the bound manager, cached by ManagerPtr
    plat::COLORREF m_warningTextColor = 0; ///< see GetWarningTextColor
    plat::UINT m_lineCommand = 0; ///< see QueryLineCommand
    MoxRectArray m_dstBlocks; ///< where the lines of a waiting command would go
    MoxRectArray m_srcBlocks; ///< the lines a waiting command takes
    MoxRect m_dstBounds; ///< the bounds of m_dstBlocks
    int m_paste = 0; ///< see IsPasting
    int m_imeState = 0; ///< the person's input method choice for text columns
    int m_imeGuard = 0; ///< non-zero while the library itself switches the input method

private:
    struct LockEntry {
        unsigned id;
        std::int32_t first;
        std::int32_t last;
        std::int32_t reach; ///< the furthest last row of this entry and the ones before it of its item
    };
    /// The input method closed in numeric columns, the user's choice elsewhere.
    void SwitchInputMethod(long column);
    void CreateBrush(plat::Brush& brush, plat::COLORREF first, plat::COLORREF second);

    std::vector<LockEntry> m_lockIndex; ///< by item, then first row
    TavLockArray m_lockIndexSource;     ///< the ranges it was built from
    bool m_lockIndexed = false;

    // ---- context menu, command states, help, find, print ----
public:
    /// Opens the grid's context menu at a screen point; (-1, -1) asks for the keyboard's
    /// place, the caret cell's bottom right corner.
    void ContextMenu(plat::POINT point);
    /// Brings a pop-up about to open up to date through the grid's command route.
    void InitMenuPopup(plat::Menu* popup, plat::UINT index, plat::BOOL systemMenu);
    /// F1: 1 when help was shown, 0 to let the windows further out answer.
    [[nodiscard]] int CommandHelp(plat::LPARAM context);
    /// The help context of a help-mode click on the grid (0: none).
    plat::DWORD HelpHitTest(plat::POINT point);
    /// Searches one selected column with the find dialog: one range in one column whose editor
    /// can be searched, else messages 9, 18 or 10.
    void Find();
    /// 印刷: prints the grid page by page through the print dialog.
    void CellPrint();
    /// 列幅自動調整: switches automatic column widths.
    void CellAutoWidth();

private:
    /// The context menu, assembled from the suite's shared menu by the first grid that asks
    /// and shared by every grid of the process.
    static plat::Menu& PopupMenu();

    // ---- undo and redo (TavCommonUndo.cpp) ----
public:
    /// An open editor takes back its own typing first; otherwise the table's last step is
    /// taken back (or done again), and the person is told when the host refused it.
    void EditUndo();
    /// Does the step that the last undo took back again (やり直し).
    void EditRedo();
    /// The edit menu's items: enabled when there is something to take back or do again, the
    /// step's name in their text.
    void UpdateEditUndo(plat::CmdUI& cmdUI);
    /// The edit menu's redo item: enabled with the step's name when there is one.
    void UpdateEditRedo(plat::CmdUI& cmdUI);
    /// The grid's paste and clear, bracketed by its notifications, each one step.
    [[nodiscard]] int BeginPasteStep();
    /// Closes the paste's undo step.
    void EndPasteStep();
    /// Opens the clearing's undo step.
    [[nodiscard]] int BeginDeleteStep();
    /// Closes the clearing's undo step.
    void EndDeleteStep();
    /// The grid stored (or did not store) the editor's value: the input step ends.
    void PaneEditStored();
    /// The bound table's history, or null while nothing is bound.
    TavUndoHistory* History();

protected:
    /// Opens and closes a step of the bound table's history (nothing while none is bound).
    void OpenUndoStep(const char* name);
    /// Closes the step OpenUndoStep opened.
    void CloseUndoStep();

private:
    std::string m_editOriginal; ///< the editor's text when it opened
    std::string m_editUndone;   ///< the typing its undo took back, for its redo
    bool m_editStep = false;
    // ---- end of undo and redo ----
};
