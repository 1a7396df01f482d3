// The grid window: its creation, columns and the messages a host sends it. Geometry and
// selection, editing, the clipboard, input and painting have files of their own beside it.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellCtrlDetail.h"
#include "components/mox/MoxCellFont.h"
#include "components/mox/MoxData.h"
#include "platform/ui/App.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Ime.h"

#include <algorithm>

using namespace mox_detail;

namespace {

// Every grid of the application, so that a change of the cell font reaches all of them.
struct GridList {
    std::vector<MoxCellCtrl*> grids;
};

std::vector<MoxCellCtrl*>& Grids() { return plat::CurrentUiContext().Get<GridList>().grids; }

} // namespace

BEGIN_MESSAGE_MAP(MoxCellCtrl, plat::Wnd)
    ON_MESSAGE(MOXM_GETCELLCOUNT, OnGetCellCount)
    ON_MESSAGE(MOXM_SETCOLWIDTH, OnSetColWidth)
    ON_MESSAGE(MOXM_GETCELLRECT, OnGetCellRect)
    ON_MESSAGE(MOXM_SETFIXEDCOLWIDTH, OnSetFixedColWidth)
    ON_MESSAGE(MOXM_FIXEDCOLDONE, OnFixedColDone)
    ON_MESSAGE(MOXM_GETFIXEDROWCOUNT, OnGetFixedRowCount)
    ON_MESSAGE(MOXM_GETFIXEDCOLWIDTH, OnGetFixedColWidth)
    ON_MESSAGE(MOXM_SETCOLFORMAT, OnSetColFormat)
    ON_MESSAGE(MOXM_QUERYEDITTEXT, OnQueryEditText)
    ON_MESSAGE(MOXM_GETTOPLEFT, OnGetTopLeft)
    ON_MESSAGE(MOXM_SETCARET, OnSetCaret)
    ON_MESSAGE(MOXM_GETCARET, OnGetCaret)
    ON_MESSAGE(MOXM_SETSELECTION, OnSetSelection)
    ON_MESSAGE(MOXM_GETSELECTION, OnGetSelection)
    ON_MESSAGE(MOXM_SETLINEMARK, OnSetLineMark)
    ON_MESSAGE(MOXM_SETSEARCHMARK, OnSetSearchMark)
    ON_MESSAGE(MOXM_BEGINFORMAT, OnBeginFormat)
    ON_MESSAGE(MOXM_SETCOLSTYLE, OnSetColStyle)
    ON_MESSAGE(MOXM_SETDATA, OnSetData)
    ON_MESSAGE(MOXM_REBUILDCOLUMNS, OnRebuildColumns)
    ON_MESSAGE(MOXM_ISEDITING, OnIsEditing)
    ON_MESSAGE(MOXM_OPENEDITOR, OnOpenEditor)
    ON_MESSAGE(MOXM_CLOSEEDITOR, OnCloseEditor)
    ON_MESSAGE(MOXM_GETEDITOR, OnGetEditor)
    ON_MESSAGE(MOXM_SETEXTDATA, OnSetExtData)
    ON_MESSAGE(MOXM_GETEXTDATA, OnGetExtData)
    ON_MESSAGE(MOXM_COPY, OnCopy)
    ON_MESSAGE(MOXM_CLEAR, OnClear)
    ON_MESSAGE(MOXM_PASTE, OnPaste)
    ON_MESSAGE(MOXM_CANPASTE, OnCanPaste)
    ON_MESSAGE(MOXM_GETCOLOR, OnGetColor)
    ON_MESSAGE(MOXM_GETFONT, OnGetFont)
    ON_MESSAGE(MOXM_PRINT, OnPrint)
    ON_COMMAND(plat::ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(plat::ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(plat::ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(plat::ID_EDIT_CLEAR, OnEditClear)
END_MESSAGE_MAP()

MoxCellCtrl::MoxCellCtrl()
{
    Grids().push_back(this);
    ApplyCellFont();
}

MoxCellCtrl::~MoxCellCtrl()
{
    // The grid's destroy handling puts the host's editor away: it must run while the grid
    // is whole.
    DestroyWindow();
    auto& grids = Grids();
    grids.erase(std::remove(grids.begin(), grids.end(), this), grids.end());
    if (m_data != nullptr && m_data->GetView() == this)
        m_data->SetView(nullptr);
}

const std::vector<MoxCellCtrl*>& MoxCellCtrl::AllGrids() noexcept { return Grids(); }

plat::BOOL MoxCellCtrl::Create(plat::DWORD style, const plat::RECT& rect, plat::Wnd* parent, plat::UINT id)
{
    return Wnd::Create("MoxCellCtrl", "", style | plat::WS_CHILD, rect, parent, id);
}

plat::BOOL MoxCellCtrl::PreCreateWindow(plat::CREATESTRUCT& cs) { return Wnd::PreCreateWindow(cs); }

void MoxCellCtrl::GetExtData(void** extension) const noexcept
{
    if (extension != nullptr)
        *extension = GetExtension();
}

void MoxCellCtrl::ApplyCellFont()
{
    if (const plat::LOGFONTA* font = MoxGetCellFont())
        m_font.CreateFontIndirect(font);
    else if (plat::Font* stock = plat::GetStockFont(plat::DEFAULT_GUI_FONT)) {
        plat::LOGFONTA logFont;
        stock->GetLogFont(&logFont);
        m_font.CreateFontIndirect(&logFont);
    }
    if (IsWindow()) {
        SetFont(&m_font, FALSE);
        Invalidate(FALSE);
    }
}

plat::COLORREF MoxCellCtrl::GetColor(int index) const noexcept
{
    return index >= 0 && index < MOXC_COUNT ? kPalette[index] : kPalette[MOXC_WINDOW];
}

// ---- notifications ----

plat::LRESULT MoxCellCtrl::Notify(plat::UINT code, plat::WPARAM wParam, plat::LPARAM lParam)
{
    return SendMessage(code, wParam, lParam);
}

plat::LRESULT MoxCellCtrl::DefWindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    switch (message) {
    case MOXN_USERRESIZE:
    case MOXN_FIXEDCOLTEXT:
    case MOXN_FIXEDROWTEXT:
    case MOXN_FIXEDCELLTEXT:
    case MOXN_DRAWITEM:
    case MOXN_SELCHANGING:
    case MOXN_SELCHANGED:
    case MOXN_GETCONTROL:
    case MOXN_BEGINEDIT:
    case MOXN_SHOWEDIT:
    case MOXN_ENDEDIT:
    case MOXN_QUERYPASTE:
    case MOXN_BEGINCOPY:
    case MOXN_ENDCOPY:
    case MOXN_BEGINDELETE:
    case MOXN_ENDDELETE:
    case MOXN_BEGINPASTE:
    case MOXN_ENDPASTE:
    case MOXN_CTLCOLOR:
        // Nobody in the grid's own maps answered: the window that hosts the grid may.
        return GetParent() != nullptr ? GetParent()->SendMessage(message, wParam, lParam) : 0;
    // The grid's own behaviour, where a derived window's handler finds it with Default().
    case plat::WM_PAINT: return OnPaint(wParam, lParam);
    case plat::WM_SIZE: return OnSize(wParam, lParam);
    case plat::WM_GETDLGCODE: return OnGetDlgCode(wParam, lParam);
    case plat::WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case plat::WM_CHAR: return OnChar(wParam, lParam);
    case plat::WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    case plat::WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam);
    case plat::WM_LBUTTONDBLCLK: return OnLButtonDblClk(wParam, lParam);
    case plat::WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case plat::WM_LBUTTONUP: return OnLButtonUp(wParam, lParam);
    case plat::WM_MOUSEWHEEL: return OnMouseWheel(wParam, lParam);
    case plat::WM_IME_STARTCOMPOSITION:
    case plat::WM_IME_COMPOSITION:
    case plat::WM_IME_ENDCOMPOSITION:
    case plat::WM_IME_REQUEST: return OnImeMessage(message, wParam, lParam);
    case plat::WM_DESTROY:
        OnDestroy(wParam, lParam);
        return Wnd::DefWindowProc(message, wParam, lParam);
    default:
        return Wnd::DefWindowProc(message, wParam, lParam);
    }
}

// ---- table and columns ----

void MoxCellCtrl::SetData(MoxData* data)
{
    if (m_editor != nullptr)
        CloseEditor(false);
    if (m_data != nullptr && m_data != data && m_data->GetView() == this)
        m_data->SetView(nullptr);
    m_data = data;
    if (m_data != nullptr)
        m_data->SetView(this);
    m_caret = m_anchor = MoxPos{};
    m_topRow = m_leftCol = 0;
    RebuildColumns();
}

void MoxCellCtrl::DataDestroyed(const MoxData* data) noexcept
{
    if (data != m_data)
        return;
    m_data = nullptr;
    m_editor = nullptr;
    m_columns.clear();
    m_selection.RemoveAll();
}

void MoxCellCtrl::RebuildColumns()
{
    long columns = 0;
    long rows = 0;
    if (m_data != nullptr)
        m_data->GetDispCellSize(columns, rows);
    m_columns.resize(static_cast<std::size_t>(std::max(columns, 0L)));
    m_caret = Clamp(m_caret);
    m_anchor = m_caret;
    m_selection.RemoveAll();
    if (!m_columns.empty() && GetRowCount() > 0)
        m_selection.Add(MoxRect(m_caret, m_caret));
    ClampScroll();
    Invalidate(FALSE);
}

long MoxCellCtrl::GetRowCount() const
{
    if (m_data == nullptr)
        return 0;
    long columns = 0;
    long rows = 0;
    m_data->GetDispCellSize(columns, rows);
    return std::clamp(rows, 0L, m_data->GetRecordCount());
}

MoxCellCtrl::Column* MoxCellCtrl::ColumnAt(long column) noexcept
{
    return column >= 0 && static_cast<std::size_t>(column) < m_columns.size() ? &m_columns[static_cast<std::size_t>(column)] : nullptr;
}

const MoxCellCtrl::Column* MoxCellCtrl::ColumnAt(long column) const noexcept
{
    return column >= 0 && static_cast<std::size_t>(column) < m_columns.size() ? &m_columns[static_cast<std::size_t>(column)] : nullptr;
}

int MoxCellCtrl::GetPaneWidth(long column) const
{
    const Column* c = ColumnAt(column);
    return c ? c->width : 0;
}

unsigned MoxCellCtrl::GetTextAlign(long column) const
{
    const Column* c = ColumnAt(column);
    return c ? c->align : 0;
}

int MoxCellCtrl::GetMarginLeft(long column) const
{
    const Column* c = ColumnAt(column);
    return c ? c->marginLeft : 0;
}

int MoxCellCtrl::GetMarginRight(long column) const
{
    const Column* c = ColumnAt(column);
    return c ? c->marginRight : 0;
}

plat::DWORD MoxCellCtrl::GetColumnStyle(long column) const
{
    const Column* c = ColumnAt(column);
    return c ? c->style : 0;
}

void MoxCellCtrl::SetPaneWidth(int width, long column)
{
    if (Column* c = ColumnAt(column)) {
        c->width = BoundWidth(width);
        PlaceEditor();
        Invalidate(FALSE);
    }
}

void MoxCellCtrl::SetFixedRowCount(int rows)
{
    m_fixedRows = std::clamp(rows, 1, kMaxFixedRows);
    ClampScroll();
    if (IsWindow())
        Invalidate(FALSE);
}

void MoxCellCtrl::SetMargin(long column, int left, int right)
{
    if (Column* c = ColumnAt(column)) {
        c->marginLeft = std::max(left, 0);
        c->marginRight = std::max(right, 0);
        Invalidate(FALSE);
    }
}

void MoxCellCtrl::SetTextAlign(unsigned flags, long column)
{
    if (Column* c = ColumnAt(column)) {
        c->align = flags;
        Invalidate(FALSE);
    }
}

long MoxCellCtrl::ItemOf(long column) const
{
    long number = column;
    long other = 0;
    // A column the table does not map shows the item of its own number.
    if (!m_data->ChangeDispNumber(number, other, FALSE))
        number = column;
    return number;
}

bool MoxCellCtrl::IsCell(const MoxPos& pos) const
{
    return pos.column >= 0 && pos.column < GetColumnCount() && pos.row >= 0 && pos.row < GetRowCount();
}

MoxPos MoxCellCtrl::Clamp(MoxPos pos) const
{
    const long columns = GetColumnCount();
    const long rows = GetRowCount();
    pos.column = static_cast<std::int32_t>(std::clamp<long>(pos.column, 0, std::max(columns - 1, 0L)));
    pos.row = static_cast<std::int32_t>(std::clamp<long>(pos.row, 0, std::max(rows - 1, 0L)));
    return pos;
}

// ---- requests ----

plat::LRESULT MoxCellCtrl::OnGetCellCount(plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (auto* columns = reinterpret_cast<long*>(wParam))
        *columns = GetColumnCount();
    if (auto* rows = reinterpret_cast<long*>(lParam))
        *rows = GetRowCount();
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnSetColWidth(plat::WPARAM wParam, plat::LPARAM lParam)
{
    SetPaneWidth(BoundWidth(lParam), static_cast<long>(wParam));
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnGetCellRect(plat::WPARAM wParam, plat::LPARAM lParam)
{
    const auto* pos = reinterpret_cast<const MoxPos*>(wParam);
    auto* rect = reinterpret_cast<plat::RECT*>(lParam);
    if (pos == nullptr || rect == nullptr)
        return FALSE;
    return GetCellRect(*pos, *rect) ? TRUE : FALSE;
}

plat::LRESULT MoxCellCtrl::OnSetFixedColWidth(plat::WPARAM wParam, plat::LPARAM)
{
    m_fixedColWidth = static_cast<int>(std::min<plat::WPARAM>(wParam, kMaxPaneWidth));
    PlaceEditor();
    Invalidate(FALSE);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnFixedColDone(plat::WPARAM, plat::LPARAM)
{
    Invalidate(FALSE);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnGetFixedRowCount(plat::WPARAM, plat::LPARAM) { return m_fixedRows; }

plat::LRESULT MoxCellCtrl::OnGetFixedColWidth(plat::WPARAM, plat::LPARAM) { return m_fixedColWidth; }

plat::LRESULT MoxCellCtrl::OnSetColFormat(plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (Column* column = ColumnAt(static_cast<long>(wParam)))
        column->ownerDraw = lParam != 0;
    Invalidate(FALSE);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnQueryEditText(plat::WPARAM, plat::LPARAM) { return TRUE; }

plat::LRESULT MoxCellCtrl::OnGetTopLeft(plat::WPARAM wParam, plat::LPARAM)
{
    if (auto* pos = reinterpret_cast<MoxPos*>(wParam))
        *pos = GetTopLeft();
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnSetCaret(plat::WPARAM wParam, plat::LPARAM)
{
    if (const auto* pos = reinterpret_cast<const MoxPos*>(wParam))
        SetCurSel(*pos, 0);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnGetCaret(plat::WPARAM wParam, plat::LPARAM)
{
    if (auto* pos = reinterpret_cast<MoxPos*>(wParam))
        *pos = m_caret;
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnSetSelection(plat::WPARAM wParam, plat::LPARAM)
{
    const auto* ranges = reinterpret_cast<const MoxRectArray*>(wParam);
    if (ranges == nullptr)
        return FALSE;
    m_selection = *ranges;
    ++m_selectionSets;
    Invalidate(FALSE);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnGetSelection(plat::WPARAM wParam, plat::LPARAM)
{
    if (auto* flags = reinterpret_cast<std::vector<std::uint8_t>*>(wParam))
        *flags = m_selection.GetFlagArray();
    return reinterpret_cast<plat::LRESULT>(&m_selection);
}

plat::LRESULT MoxCellCtrl::OnSetLineMark(plat::WPARAM wParam, plat::LPARAM)
{
    m_lineMark = wParam != 0;
    Invalidate(FALSE);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnSetSearchMark(plat::WPARAM wParam, plat::LPARAM)
{
    m_searchMark = wParam != 0;
    Invalidate(FALSE);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnBeginFormat(plat::WPARAM, plat::LPARAM)
{
    // The formats that follow name every owner-drawn column again.
    for (Column& column : m_columns)
        column.ownerDraw = false;
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnSetColStyle(plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (Column* column = ColumnAt(static_cast<long>(wParam)))
        column->style = static_cast<plat::DWORD>(lParam);
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnSetData(plat::WPARAM wParam, plat::LPARAM)
{
    SetData(reinterpret_cast<MoxData*>(wParam));
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnRebuildColumns(plat::WPARAM, plat::LPARAM)
{
    if (m_editor != nullptr)
        CloseEditor(false);
    RebuildColumns();
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnIsEditing(plat::WPARAM, plat::LPARAM) { return m_editor != nullptr ? TRUE : FALSE; }

plat::LRESULT MoxCellCtrl::OnOpenEditor(plat::WPARAM, plat::LPARAM) { return OpenEditor(0) ? TRUE : FALSE; }

plat::LRESULT MoxCellCtrl::OnCloseEditor(plat::WPARAM wParam, plat::LPARAM)
{
    return CloseEditor(wParam != 0) ? TRUE : FALSE;
}

plat::LRESULT MoxCellCtrl::OnGetEditor(plat::WPARAM, plat::LPARAM) { return reinterpret_cast<plat::LRESULT>(m_editor.Get()); }

plat::LRESULT MoxCellCtrl::OnSetExtData(plat::WPARAM wParam, plat::LPARAM)
{
    SetExtension(reinterpret_cast<void*>(wParam));
    return TRUE;
}

plat::LRESULT MoxCellCtrl::OnGetExtData(plat::WPARAM wParam, plat::LPARAM)
{
    GetExtData(reinterpret_cast<void**>(wParam));
    return reinterpret_cast<plat::LRESULT>(GetExtension());
}

plat::LRESULT MoxCellCtrl::OnCopy(plat::WPARAM, plat::LPARAM) { return CopySelection() ? TRUE : FALSE; }

plat::LRESULT MoxCellCtrl::OnClear(plat::WPARAM, plat::LPARAM) { return ClearSelection() ? TRUE : FALSE; }

plat::LRESULT MoxCellCtrl::OnPaste(plat::WPARAM, plat::LPARAM)
{
    if (m_editor != nullptr && !CloseEditor(true))
        return FALSE;
    return PasteText(plat::GetClipboardText()) ? TRUE : FALSE;
}

plat::LRESULT MoxCellCtrl::OnCanPaste(plat::WPARAM, plat::LPARAM)
{
    return m_data != nullptr && GetColumnCount() > 0 && plat::IsClipboardTextAvailable() ? TRUE : FALSE;
}

plat::LRESULT MoxCellCtrl::OnGetColor(plat::WPARAM wParam, plat::LPARAM)
{
    return static_cast<plat::LRESULT>(GetColor(static_cast<int>(wParam)));
}

plat::LRESULT MoxCellCtrl::OnGetFont(plat::WPARAM, plat::LPARAM) { return reinterpret_cast<plat::LRESULT>(&m_font); }

plat::LRESULT MoxCellCtrl::OnPrint(plat::WPARAM wParam, plat::LPARAM lParam)
{
    return PrintPages(reinterpret_cast<plat::DC*>(wParam), reinterpret_cast<MOX_PRINT*>(lParam));
}
