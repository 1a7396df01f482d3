// The grid window: shows a MoxData as a heading row over columns of cells beside a
// row-number column, moves a caret and a multiple selection, scrolls, edits a cell in place
// with an editor window that its host supplies, copies and pastes tab-separated text, and
// prints. It answers the numbered requests of MoxMessages.h and sends the notifications
// there, so the library above drives it by message as well as by these members.
//
// Layout in pixels, under the fixed cell-font model: each heading row and every data row is
// one line (16 px) high; the row-number column and each data column have a pixel width, and
// a column's text sits inside its left and right margins. Only the cells in view are ever
// asked for text or colours, so painting costs the same for a table of any length.
//
// The grid's handling of window messages (painting, keys, mouse) is its window procedure,
// DefWindowProc: a window derived from the grid that handles one of them reaches the grid's
// behaviour with Default(), before or after its own. Requests are in the message map.
//
// Keyboard focus stays on the grid while a cell is edited: the grid passes typing and the
// editing keys to the editor and keeps Return, Tab, Escape and the line moves for itself,
// which is how it learns that the editor is being left.
#pragma once

#include "components/mox/MoxMessages.h"
#include "components/mox/MoxPos.h"
#include "components/mox/MoxRectArray.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"

#include <cstdint>
#include <string>
#include <vector>

class MoxData;

class MoxCellCtrl : public plat::Wnd {
public:
    MoxCellCtrl();
    ~MoxCellCtrl() override;

    // A child grid window (WS_CHILD is added).
    plat::BOOL Create(plat::DWORD style, const plat::RECT& rect, plat::Wnd* parent, plat::UINT id);
    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;

    // The extension pointer (the library keeps its manager there).
    void GetExtData(void** extension) const noexcept;
    // Moves the caret without asking, collapsing the selection to it; flag is not used.
    void SetCurSel(const MoxPos& pos, int flag);
    // The widest column, in pixels (4,095 characters): wider widths are taken as this one,
    // which keeps every sum of positions in range however many columns there are.
    static constexpr int kMaxPaneWidth = 0x7FFF;
    // Width in pixels (negative counts as 0, beyond kMaxPaneWidth as kMaxPaneWidth); a
    // column outside the grid changes nothing.
    void SetPaneWidth(int width, long column);
    void SetMargin(long column, int left, int right);
    // DT_* flags of the column's text.
    void SetTextAlign(unsigned flags, long column);
    // Heading rows above the data (1 to kMaxFixedRows; others are taken as the nearest). Each
    // heading row asks for its own text, with the heading row as the position's row.
    static constexpr int kMaxFixedRows = 8;
    void SetFixedRowCount(int rows);
    [[nodiscard]] int GetFixedRowCount() const noexcept { return m_fixedRows; }
    // Whether the user may drag column borders.
    void SetUserResize(plat::BOOL enable) noexcept { m_userResize = enable != FALSE; }

    [[nodiscard]] MoxData* GetData() const noexcept { return m_data; }
    [[nodiscard]] long GetColumnCount() const noexcept { return static_cast<long>(m_columns.size()); }
    [[nodiscard]] long GetRowCount() const;
    [[nodiscard]] int GetPaneWidth(long column) const;
    [[nodiscard]] unsigned GetTextAlign(long column) const;
    [[nodiscard]] int GetMarginLeft(long column) const;
    [[nodiscard]] int GetMarginRight(long column) const;
    [[nodiscard]] plat::DWORD GetColumnStyle(long column) const;
    [[nodiscard]] bool IsUserResize() const noexcept { return m_userResize; }
    [[nodiscard]] int GetFixedColWidth() const noexcept { return m_fixedColWidth; }
    [[nodiscard]] const MoxPos& GetCaret() const noexcept { return m_caret; }
    [[nodiscard]] const MoxRectArray& GetSelection() const noexcept { return m_selection; }
    [[nodiscard]] MoxPos GetTopLeft() const noexcept { return MoxPos{static_cast<std::int32_t>(m_leftCol), static_cast<std::int32_t>(m_topRow)}; }
    [[nodiscard]] bool IsLineMarking() const noexcept { return m_lineMark; }
    [[nodiscard]] bool IsSearchMarking() const noexcept { return m_searchMark; }
    [[nodiscard]] plat::Wnd* GetEditor() const noexcept { return m_editor; }
    // Puts what the open editor holds into its cell, leaving the editor open and asking no one
    // (no end-of-edit notification): for a program that has to end now and keep what was typed.
    void KeepEditorText();
    [[nodiscard]] plat::COLORREF GetColor(int index) const noexcept;
    [[nodiscard]] plat::Font* GetCellFont() noexcept { return &m_font; }
    // A row is a line of the cell font as the front end measures it; a column is never
    // narrower than one average character, and the keyboard resizes it by one.
    [[nodiscard]] int LineHeight() const;
    [[nodiscard]] int CharWidth() const;
    [[nodiscard]] plat::LOGFONTA CellLogFont() const;
    // The cell's rectangle in client pixels; false (and an empty rectangle) when the cell is
    // not in view.
    bool GetCellRect(const MoxPos& pos, plat::RECT& rect) const;
    // Rows of data that fit the window (at least 1).
    [[nodiscard]] long GetVisibleRowCount() const;

    // Repaint requests from the table and the attribute tables: records first..last and
    // columns first..last, -1 meaning to the end; only the part in view is invalidated.
    void RedrawRecords(long first, long last);
    void RedrawCells(long firstColumn, long lastColumn, long firstRow, long lastRow);
    // The table is going away; the grid forgets it.
    void DataDestroyed(const MoxData* data) noexcept;
    // Takes the application's grid font (MoxSetCellFont) and repaints.
    void ApplyCellFont();
    // Every grid that exists, for settings that apply to all of them.
    [[nodiscard]] static const std::vector<MoxCellCtrl*>& AllGrids() noexcept;

    // Draws the whole grid onto the device context.
    virtual void OnDraw(plat::DC* dc);

    plat::LRESULT DefWindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;

protected:
    // Sends a notification through the grid's own message maps (see MoxMessages.h).
    plat::LRESULT Notify(plat::UINT code, plat::WPARAM wParam, plat::LPARAM lParam);

    // The edit commands, also reached by Ctrl+C, Ctrl+X, Ctrl+V and Delete.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditClear();

    DECLARE_MESSAGE_MAP()

private:
    enum class Select { Replace, Extend, Add };
    struct Column {
        int width = 80;
        int marginLeft = 2;
        int marginRight = 2;
        unsigned align = 0x24;
        plat::DWORD style = 0;
        bool ownerDraw = false;
    };
    enum class Hit { None, Corner, Heading, Border, RowNumber, Cell };
    struct HitResult {
        Hit hit = Hit::None;
        MoxPos pos;
    };

    // Window messages, reached through DefWindowProc.
    plat::LRESULT OnPaint(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSize(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetDlgCode(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnKeyDown(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnChar(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetCursor(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnLButtonDown(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnLButtonDblClk(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnMouseMove(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnLButtonUp(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnMouseWheel(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnDestroy(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnImeMessage(plat::UINT message, plat::WPARAM, plat::LPARAM);
    // Requests.
    plat::LRESULT OnGetCellCount(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetColWidth(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetCellRect(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetFixedColWidth(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnFixedColDone(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetFixedRowCount(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetFixedColWidth(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetColFormat(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnQueryEditText(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetTopLeft(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetCaret(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetCaret(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetSelection(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetSelection(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetLineMark(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetSearchMark(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnBeginFormat(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetColStyle(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetData(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnRebuildColumns(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnIsEditing(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnOpenEditor(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnCloseEditor(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetEditor(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnSetExtData(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetExtData(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnCopy(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnClear(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnPaste(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnCanPaste(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetColor(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGetFont(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnPrint(plat::WPARAM, plat::LPARAM);

    void SetData(MoxData* data);
    void RebuildColumns();
    [[nodiscard]] Column* ColumnAt(long column) noexcept;
    [[nodiscard]] const Column* ColumnAt(long column) const noexcept;
    // The table's item number shown in a display column.
    [[nodiscard]] long ItemOf(long column) const;
    [[nodiscard]] bool IsCell(const MoxPos& pos) const;
    [[nodiscard]] MoxPos Clamp(MoxPos pos) const;
    // Left pixel of a column in view, or -1 when it lies left of the view.
    [[nodiscard]] int ColumnLeft(long column) const;
    [[nodiscard]] HitResult HitTest(plat::POINT point) const;
    // Pixels above the first data row.
    [[nodiscard]] int HeadingHeight() const { return m_fixedRows * LineHeight(); }

    // Caret and selection.
    bool MoveCaret(MoxPos to, Select mode);
    void SelectLines(long row, Select mode);
    void SelectColumns(long column, Select mode);
    void SetLastRange(const MoxRect& rect, std::uint8_t flags);
    void EnsureVisible(const MoxPos& pos);
    // The button is held and the mouse is here: the selection the press began grows to it.
    void DragSelect(plat::POINT point);
    void ClampScroll();
    [[nodiscard]] bool IsSelected(const MoxPos& pos, std::uint8_t* flags) const;
    bool HandleNavigationKey(int key, bool shift, bool control);

    // In-place editing.
    // typed: the character that opened it, given to it; replace: what it is given replaces
    // the cell's text (typing does, and so does a composition).
    bool OpenEditor(char32_t typed, bool replace = false);
    // Keeps an open editor on its cell, and the cell in view, when the layout changes.
    void PlaceEditor();
    // false when the editor stays open (the host refused, or the table refused the value).
    bool CloseEditor(bool store);
    bool StoreEditor(const MoxPos& pos);
    // The cell buffer zeroed to the item's size, which it returns, for the table to convert
    // into; then stored into the cell (a size of 0 clears it). False when the table refused.
    unsigned ClearCellBuffer(long item);
    bool StoreCellBuffer(long item, long row, unsigned size);

    // Clipboard and clearing.
    bool CopySelection();
    bool ClearSelection();
    bool PasteText(const std::string& text);
    // True when a paste of so many lines and fields (at most, in one line) fits from the caret
    // on, or the person agrees to paste only the part that fits.
    bool AgreeToPastePart(std::size_t lines, std::size_t fields);
    // A range with whole-column rows cut to the last record that holds data.
    [[nodiscard]] MoxRect UsedPart(const MoxRect& rect, std::uint8_t flags) const;

    // Painting.
    void DrawHeadings(plat::DC* dc, const std::vector<long>& columns, const std::vector<int>& lefts);
    void DrawCell(plat::DC* dc, const MoxPos& pos, const plat::RECT& rect);
    void DrawClippedText(plat::DC* dc, const std::string& text, const plat::RECT& rect, unsigned format);
    void DrawRules(plat::DC* dc, const std::vector<long>& columns, const std::vector<int>& lefts, long lastRow);
    int PrintPages(plat::DC* dc, MOX_PRINT* job);
    // Shrinks the printed grid towards the paper's width, down to the smallest readable text,
    // turning the paper when that is not enough, through the printer's mapping.
    void FitPrintedWidth(plat::DC& dc);
    static constexpr double kSmallestPrintedLinePoints = 8.0;

    MoxData* m_data = nullptr;
    std::vector<Column> m_columns;
    int m_fixedColWidth = 40;
    int m_fixedRows = 1;
    MoxPos m_caret;
    MoxPos m_anchor;
    MoxRectArray m_selection;
    unsigned m_selectionSets = 0; // counts selections set by request
    long m_topRow = 0;
    long m_leftCol = 0;
    bool m_userResize = true;
    bool m_lineMark = false;
    bool m_searchMark = false;
    plat::WndRef m_editor; // the host's window: gone, it is no editor, whatever takes its address
    MoxPos m_editPos;
    plat::Font m_font;
    // A column border being dragged, or -1.
    long m_dragColumn = -1;
    int m_dragWidth = 0;
    // What the last press hit, for a drag that extends its selection.
    Hit m_dragSelect = Hit::None;
    // Reused for every cell so that painting allocates nothing per cell.
    std::string m_text;
    std::vector<std::uint8_t> m_cellBuffer;
};
