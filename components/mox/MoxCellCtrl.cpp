// The grid window: layout, caret and selection, keys and mouse, in-place editing, the
// clipboard, painting and printing.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellFont.h"
#include "components/mox/MoxData.h"
#include "platform/io/Errors.h"
#include "platform/text/DisplayWidth.h"
#include "platform/ui/App.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Controls.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

constexpr plat::WPARAM kMkShift = 0x0004;
constexpr plat::WPARAM kMkControl = 0x0008;
// How near a column border a press in the heading row must be to grab it.
constexpr int kBorderGrip = 2;
constexpr long kWheelLines = 3;
constexpr unsigned kTextFormatMask = plat::DT_CENTER | plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE;
// Column positions are sums of widths. Past this one a column is off any screen, and
// stopping the sum there keeps it in range however many columns there are.
constexpr int kFarRight = std::numeric_limits<int>::max() / 2;

int AddWidth(int x, int width) noexcept { return x >= kFarRight - width ? kFarRight : x + width; }

int BoundWidth(long long width) noexcept
{
    return static_cast<int>(std::clamp<long long>(width, 0, MoxCellCtrl::kMaxPaneWidth));
}

constexpr plat::COLORREF kPalette[MOXC_COUNT] = {
    plat::RGB(255, 255, 255), // window
    plat::RGB(0, 0, 0),       // text
    plat::RGB(192, 192, 192), // heading
    plat::RGB(0, 0, 0),       // heading text
    plat::RGB(0, 0, 128),     // selection
    plat::RGB(160, 160, 160), // disabled cells
    plat::RGB(255, 255, 0),   // caret
    plat::RGB(0, 128, 0),     // line marking
    plat::RGB(255, 0, 255),   // search highlighting
    plat::RGB(255, 255, 255), // selection text
};

// Every grid of the application, so that a change of the cell font reaches all of them.
struct GridList {
    std::vector<MoxCellCtrl*> grids;
};

std::vector<MoxCellCtrl*>& Grids() { return plat::CurrentUiContext().Get<GridList>().grids; }

plat::POINT PointOf(plat::LPARAM lParam)
{
    const auto value = static_cast<std::uintptr_t>(lParam);
    return plat::POINT{static_cast<short>(plat::LOWORD(value)), static_cast<short>(plat::HIWORD(value))};
}

bool KeyHeld(int key, plat::WPARAM mouseFlags, plat::WPARAM flag)
{
    return (mouseFlags & flag) != 0 || plat::GetKeyState(key) < 0;
}

std::size_t CodePointCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

// Rows of tab-separated fields; a line feed (with or without a carriage return before it)
// ends a row, and the line feed after the last row does not start another.
std::vector<std::vector<std::string_view>> SplitTable(std::string_view text)
{
    std::vector<std::vector<std::string_view>> rows;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::vector<std::string_view>& fields = rows.emplace_back();
        for (;;) {
            const std::size_t tab = line.find('\t');
            fields.push_back(line.substr(0, tab));
            if (tab == std::string_view::npos)
                break;
            line = line.substr(tab + 1);
        }
    }
    return rows;
}

// Holds the table's repaint requests back during a change of many cells, which then
// repaints once.
class QuietTable {
public:
    explicit QuietTable(MoxData* data) : m_data(data), m_saved(data ? data->m_viewUpdate : 0)
    {
        if (m_data)
            m_data->m_viewUpdate = 0;
    }
    ~QuietTable()
    {
        if (m_data)
            m_data->m_viewUpdate = m_saved;
    }
    QuietTable(const QuietTable&) = delete;
    QuietTable& operator=(const QuietTable&) = delete;

private:
    MoxData* m_data;
    int m_saved;
};

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
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
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
    case plat::WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam);
    case plat::WM_LBUTTONDBLCLK: return OnLButtonDblClk(wParam, lParam);
    case plat::WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case plat::WM_LBUTTONUP: return OnLButtonUp(wParam, lParam);
    case plat::WM_MOUSEWHEEL: return OnMouseWheel(wParam, lParam);
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

// ---- geometry ----

long MoxCellCtrl::GetVisibleRowCount() const
{
    plat::RECT client;
    GetClientRect(&client);
    return std::max<long>(1, (client.Height() - HeadingHeight()) / LineHeight());
}

int MoxCellCtrl::ColumnLeft(long column) const
{
    if (column < m_leftCol)
        return -1;
    int x = m_fixedColWidth;
    for (long c = m_leftCol; c < column && x < kFarRight; ++c)
        x = AddWidth(x, m_columns[static_cast<std::size_t>(c)].width);
    return x;
}

bool MoxCellCtrl::GetCellRect(const MoxPos& pos, plat::RECT& rect) const
{
    rect = plat::RECT{};
    if (!IsCell(pos) || pos.row < m_topRow || pos.row >= m_topRow + GetVisibleRowCount())
        return false;
    plat::RECT client;
    GetClientRect(&client);
    const int left = ColumnLeft(pos.column);
    if (left < 0 || left >= client.right)
        return false;
    const int top = HeadingHeight() + static_cast<int>(pos.row - m_topRow) * LineHeight();
    rect = plat::RECT{left, top, left + m_columns[static_cast<std::size_t>(pos.column)].width, top + LineHeight()};
    return true;
}

MoxCellCtrl::HitResult MoxCellCtrl::HitTest(plat::POINT point) const
{
    HitResult result;
    plat::RECT client;
    GetClientRect(&client);
    if (!client.Contains(point))
        return result;
    long row = -1;
    if (point.y >= HeadingHeight()) {
        row = m_topRow + (point.y - HeadingHeight()) / LineHeight();
        if (row >= GetRowCount() || row >= m_topRow + GetVisibleRowCount())
            return result;
    }
    long column = -1;
    if (point.x >= m_fixedColWidth) {
        int x = m_fixedColWidth;
        for (long c = m_leftCol; c < GetColumnCount(); ++c) {
            const int right = AddWidth(x, m_columns[static_cast<std::size_t>(c)].width);
            if (row < 0 && m_userResize && point.x >= right - kBorderGrip && point.x <= right + kBorderGrip) {
                result.hit = Hit::Border;
                result.pos = MoxPos{static_cast<std::int32_t>(c), 0};
                return result;
            }
            if (point.x < right) {
                column = c;
                break;
            }
            x = right;
        }
        if (column < 0)
            return result;
    }
    result.pos = MoxPos{static_cast<std::int32_t>(std::max(column, 0L)), static_cast<std::int32_t>(std::max(row, 0L))};
    if (row < 0)
        result.hit = column < 0 ? Hit::Corner : Hit::Heading;
    else
        result.hit = column < 0 ? Hit::RowNumber : Hit::Cell;
    return result;
}

void MoxCellCtrl::ClampScroll()
{
    const long rows = GetRowCount();
    m_topRow = std::clamp(m_topRow, 0L, std::max(rows - GetVisibleRowCount(), 0L));
    m_leftCol = std::clamp(m_leftCol, 0L, std::max(GetColumnCount() - 1, 0L));
}

void MoxCellCtrl::EnsureVisible(const MoxPos& pos)
{
    const long visible = GetVisibleRowCount();
    if (pos.row < m_topRow)
        m_topRow = pos.row;
    else if (pos.row >= m_topRow + visible)
        m_topRow = pos.row - visible + 1;
    if (pos.column < m_leftCol) {
        m_leftCol = pos.column;
    } else if (ColumnAt(pos.column) != nullptr) {
        // The leftmost first column that still shows pos.column whole, found walking left
        // from it, so that the cost is the columns on screen, not all the columns before.
        plat::RECT client;
        GetClientRect(&client);
        long first = pos.column;
        long long right = static_cast<long long>(m_fixedColWidth) + m_columns[static_cast<std::size_t>(first)].width;
        while (first > m_leftCol && right + m_columns[static_cast<std::size_t>(first - 1)].width <= client.right) {
            --first;
            right += m_columns[static_cast<std::size_t>(first)].width;
        }
        m_leftCol = first;
    }
    ClampScroll();
}

void MoxCellCtrl::RedrawRecords(long first, long last) { RedrawCells(0, -1, first, last); }

void MoxCellCtrl::RedrawCells(long firstColumn, long lastColumn, long firstRow, long lastRow)
{
    if (!IsWindow())
        return;
    const long bottom = m_topRow + GetVisibleRowCount() - 1;
    const long top = std::max(firstRow, m_topRow);
    const long end = lastRow < 0 ? bottom : std::min(lastRow, bottom);
    if (top > end)
        return;
    plat::RECT client;
    GetClientRect(&client);
    plat::RECT rect{0, HeadingHeight() + static_cast<int>(top - m_topRow) * LineHeight(), client.right,
                    HeadingHeight() + static_cast<int>(end - m_topRow + 1) * LineHeight()};
    // Only a single shown column narrows the area; wider requests repaint whole lines.
    if (firstColumn >= 0 && firstColumn == lastColumn) {
        plat::RECT cell;
        if (!GetCellRect(MoxPos{static_cast<std::int32_t>(firstColumn), static_cast<std::int32_t>(top)}, cell))
            return;
        rect.left = cell.left;
        rect.right = cell.right;
    }
    InvalidateRect(&rect, FALSE);
}

// ---- caret and selection ----

bool MoxCellCtrl::IsSelected(const MoxPos& pos, std::uint8_t* flags) const
{
    for (std::size_t i = m_selection.GetSize(); i-- > 0;) {
        if (m_selection.GetAt(i).Contains(pos)) {
            if (flags)
                *flags = m_selection.GetFlags(i);
            return true;
        }
    }
    return false;
}

void MoxCellCtrl::SetCurSel(const MoxPos& pos, int /*flag*/)
{
    if (GetColumnCount() == 0 || GetRowCount() == 0)
        return;
    m_caret = m_anchor = Clamp(pos);
    m_selection.RemoveAll();
    m_selection.Add(MoxRect(m_caret, m_caret));
    EnsureVisible(m_caret);
    Invalidate(FALSE);
}

bool MoxCellCtrl::MoveCaret(MoxPos to, Select mode)
{
    if (GetColumnCount() == 0 || GetRowCount() == 0)
        return false;
    if (m_editor != nullptr && !CloseEditor(true))
        return false;
    to = Clamp(to);
    MoxPos from = m_caret;
    const unsigned selectionSet = m_selectionSets;
    if (!(to == from) && Notify(MOXN_SELCHANGING, reinterpret_cast<plat::WPARAM>(&from), reinterpret_cast<plat::LPARAM>(&to)) != 0)
        return false;
    m_caret = to;
    if (m_selectionSets != selectionSet) {
        // The answerer set the selection itself (marked lines dragged with the caret): it stays.
    } else if (mode == Select::Extend && !m_selection.IsEmpty()) {
        const std::size_t last = m_selection.GetSize() - 1;
        const std::uint8_t flags = m_selection.GetFlags(last);
        const long lastColumn = GetColumnCount() - 1;
        const long lastRow = GetRowCount() - 1;
        MoxRect rect(m_anchor, to);
        if (flags & MoxRectArray::kWholeLines)
            rect = MoxRect(MoxPos{0, m_anchor.row}, MoxPos{static_cast<std::int32_t>(lastColumn), to.row});
        else if (flags & MoxRectArray::kWholeColumns)
            rect = MoxRect(MoxPos{m_anchor.column, 0}, MoxPos{to.column, static_cast<std::int32_t>(lastRow)});
        m_selection.SetAt(last, rect);
    } else {
        if (mode != Select::Add)
            m_selection.RemoveAll();
        m_anchor = to;
        m_selection.Add(MoxRect(to, to));
    }
    EnsureVisible(to);
    Invalidate(FALSE);
    if (!(to == from))
        Notify(MOXN_SELCHANGED, reinterpret_cast<plat::WPARAM>(&from), reinterpret_cast<plat::LPARAM>(&to));
    return true;
}

void MoxCellCtrl::SetLastRange(const MoxRect& rect, std::uint8_t flags)
{
    if (m_selection.IsEmpty()) {
        m_selection.Add(rect, flags);
    } else {
        m_selection.SetAt(m_selection.GetSize() - 1, rect);
        m_selection.SetFlags(m_selection.GetSize() - 1, flags);
    }
    Invalidate(FALSE);
}

void MoxCellCtrl::SelectLines(long row, Select mode)
{
    // The caret moves as a click would (asking first); its range then widens to whole lines,
    // from the anchor's line when extending.
    const MoxPos anchor = m_anchor;
    if (!MoveCaret(MoxPos{m_caret.column, static_cast<std::int32_t>(row)}, mode == Select::Add ? Select::Add : Select::Replace))
        return;
    if (mode == Select::Extend)
        m_anchor = anchor;
    const auto lastColumn = static_cast<std::int32_t>(GetColumnCount() - 1);
    SetLastRange(MoxRect(MoxPos{0, m_anchor.row}, MoxPos{lastColumn, m_caret.row}), MoxRectArray::kWholeLines);
}

void MoxCellCtrl::SelectColumns(long column, Select mode)
{
    const MoxPos anchor = m_anchor;
    if (!MoveCaret(MoxPos{static_cast<std::int32_t>(column), m_caret.row}, mode == Select::Add ? Select::Add : Select::Replace))
        return;
    if (mode == Select::Extend)
        m_anchor = anchor;
    const auto lastRow = static_cast<std::int32_t>(GetRowCount() - 1);
    SetLastRange(MoxRect(MoxPos{m_anchor.column, 0}, MoxPos{m_caret.column, lastRow}), MoxRectArray::kWholeColumns);
}

bool MoxCellCtrl::HandleNavigationKey(int key, bool shift, bool control)
{
    const Select mode = shift ? Select::Extend : Select::Replace;
    MoxPos to = m_caret;
    const long page = GetVisibleRowCount();
    switch (key) {
    case plat::VK_LEFT: --to.column; break;
    case plat::VK_RIGHT: ++to.column; break;
    case plat::VK_UP: --to.row; break;
    case plat::VK_DOWN: ++to.row; break;
    case plat::VK_PRIOR: to.row = static_cast<std::int32_t>(std::max<long>(to.row - page, 0)); break;
    case plat::VK_NEXT: to.row = static_cast<std::int32_t>(std::min<long>(to.row + page, GetRowCount() - 1)); break;
    case plat::VK_HOME:
        to.column = 0;
        if (control)
            to.row = 0;
        break;
    case plat::VK_END:
        to.column = static_cast<std::int32_t>(GetColumnCount() - 1);
        // Ctrl+End goes to the end of the data, not to the end of a mostly empty table.
        if (control)
            to.row = static_cast<std::int32_t>(std::max(m_data->GetLastInputRecordNo(), 0L));
        break;
    default:
        return false;
    }
    const long caretRowBefore = m_caret.row;
    const long topRowBefore = m_topRow;
    if (MoveCaret(to, mode) && (key == plat::VK_PRIOR || key == plat::VK_NEXT)) {
        // A page key turns the page: the view moves as far as the caret did, so the caret
        // keeps its line on the screen.
        m_topRow = topRowBefore + (m_caret.row - caretRowBefore);
        ClampScroll();
        EnsureVisible(m_caret);
    }
    return true;
}

// ---- in-place editing ----

bool MoxCellCtrl::OpenEditor(char32_t typed)
{
    if (m_editor != nullptr || m_data == nullptr || !IsCell(m_caret))
        return false;
    EnsureVisible(m_caret);
    MoxPos pos = m_caret;
    if (Notify(MOXN_BEGINEDIT, reinterpret_cast<plat::WPARAM>(&pos), 0) != 0)
        return false;
    MOX_GETCONTROL request{pos.column, pos.row, nullptr};
    if (Notify(MOXN_GETCONTROL, reinterpret_cast<plat::WPARAM>(&request), 0) == 0)
        return false;
    if (request.editor == nullptr || !plat::IsWindow(request.editor)) {
        // The answerer changed the cell itself (a choice that steps on each request).
        plat::RECT cell;
        GetCellRect(pos, cell);
        InvalidateRect(&cell, FALSE);
        return true;
    }
    plat::Wnd* editor = request.editor;
    m_editor = editor;
    m_editPos = pos;
    PlaceEditor();
    editor->ShowWindow(plat::SW_SHOW);
    Notify(MOXN_SHOWEDIT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(editor));
    if (auto* edit = dynamic_cast<plat::Edit*>(editor)) {
        if (typed != 0) {
            // Typing over a cell replaces its text, as in a spreadsheet.
            edit->SetSel(0, -1);
        } else {
            const int end = static_cast<int>(CodePointCount(edit->GetWindowText()));
            edit->SetSel(end, end);
        }
    }
    if (typed != 0 && plat::IsWindow(editor))
        editor->SendMessage(plat::WM_CHAR, static_cast<plat::WPARAM>(typed), 1);
    Invalidate(FALSE);
    return true;
}

unsigned MoxCellCtrl::ClearCellBuffer(long item)
{
    const unsigned cellSize = m_data->GetItemSize(item);
    m_cellBuffer.assign(cellSize, 0);
    return cellSize;
}

bool MoxCellCtrl::StoreCellBuffer(long item, long row, unsigned size)
{
    if (size == 0)
        return m_data->Remove(item, row) != FALSE;
    const auto cellSize = static_cast<unsigned>(m_cellBuffer.size());
    return m_data->SetBuffer(item, row, m_cellBuffer.data(), std::min(size, cellSize)) != FALSE;
}

void MoxCellCtrl::PlaceEditor()
{
    if (m_editor == nullptr || !plat::IsWindow(m_editor))
        return;
    EnsureVisible(m_editPos);
    plat::RECT cell;
    if (!GetCellRect(m_editPos, cell))
        return;
    // The editor is the host's window, usually a sibling of the grid: place it in its
    // parent's coordinates.
    ClientToScreen(&cell);
    if (plat::Wnd* parent = m_editor->GetParent())
        parent->ScreenToClient(&cell);
    m_editor->MoveWindow(cell);
}

bool MoxCellCtrl::StoreEditor(const MoxPos& pos)
{
    if (!IsCell(pos))
        return true;
    const long item = ItemOf(pos.column);
    unsigned size = ClearCellBuffer(item);
    if (!m_data->OnGetData(item, pos.row, m_editor, m_cellBuffer.data(), size))
        return true; // the table has no value for the editor's content: the cell stays
    return StoreCellBuffer(item, pos.row, size);
}

void MoxCellCtrl::KeepEditorText()
{
    if (m_editor != nullptr && plat::IsWindow(m_editor))
        static_cast<void>(StoreEditor(m_editPos));
}

bool MoxCellCtrl::CloseEditor(bool store)
{
    if (m_editor == nullptr)
        return true;
    MoxPos pos = m_editPos;
    if (!plat::IsWindow(m_editor)) {
        m_editor = nullptr; // the host destroyed it meanwhile: there is nothing to read
        Invalidate(FALSE);
        return true;
    }
    if (store) {
        if (Notify(MOXN_ENDEDIT, reinterpret_cast<plat::WPARAM>(&pos), 0) != 0)
            return false;
        const bool stored = StoreEditor(pos);
        Notify(MOXN_EDITSTORED, reinterpret_cast<plat::WPARAM>(&pos), 0);
        if (!stored)
            return false;
    }
    plat::Wnd* editor = m_editor;
    m_editor = nullptr;
    editor->ShowWindow(plat::SW_HIDE);
    Invalidate(FALSE);
    return true;
}

// ---- clipboard ----

MoxRect MoxCellCtrl::UsedPart(const MoxRect& rect, std::uint8_t flags) const
{
    if (!(flags & MoxRectArray::kWholeColumns))
        return rect;
    const auto last = static_cast<std::int32_t>(std::max(m_data->GetLastInputRecordNo(), 0L));
    return MoxRect(MoxPos{rect.Left(), rect.Top()}, MoxPos{rect.Right(), std::max(rect.Top(), std::min(rect.Bottom(), last))});
}

bool MoxCellCtrl::CopySelection()
{
    if (m_data == nullptr || m_selection.IsEmpty())
        return false;
    if (Notify(MOXN_BEGINCOPY, 0, 0) != 0)
        return false;
    // A spreadsheet takes one rectangle: the range made last.
    const std::size_t last = m_selection.GetSize() - 1;
    const MoxRect rect = UsedPart(m_selection.GetAt(last), m_selection.GetFlags(last));
    std::string text;
    for (long row = rect.Top(); row <= rect.Bottom() && row < GetRowCount(); ++row) {
        for (long column = rect.Left(); column <= rect.Right() && column < GetColumnCount(); ++column) {
            if (column != rect.Left())
                text += '\t';
            m_text.clear();
            if (m_data->OnGetText(ItemOf(column), row, m_text))
                text += m_text;
        }
        text += '\n';
    }
    plat::SetClipboardText(text);
    Notify(MOXN_ENDCOPY, 0, 0);
    return true;
}

bool MoxCellCtrl::ClearSelection()
{
    if (m_data == nullptr || m_selection.IsEmpty())
        return false;
    if (Notify(MOXN_BEGINDELETE, 0, 0) != 0)
        return false;
    {
        QuietTable quiet(m_data);
        for (std::size_t i = 0; i < m_selection.GetSize(); ++i) {
            const MoxRect& whole = m_selection.GetAt(i);
            // Records after the last filled one hold nothing to clear.
            const long lastFilled = m_data->GetLastInputRecordNo();
            const long bottom = std::min<long>(whole.Bottom(), std::min(lastFilled, GetRowCount() - 1));
            for (long row = whole.Top(); row <= bottom; ++row)
                for (long column = whole.Left(); column <= whole.Right() && column < GetColumnCount(); ++column)
                    static_cast<void>(m_data->Remove(ItemOf(column), row));
        }
    }
    Invalidate(FALSE);
    Notify(MOXN_ENDDELETE, 0, 0);
    return true;
}

bool MoxCellCtrl::AgreeToPastePart(std::size_t lines, std::size_t fields)
{
    const auto over = [](long start, std::size_t count, long available) {
        const long room = std::max(available - start, 0L);
        return count > static_cast<std::size_t>(room) ? count - static_cast<std::size_t>(room) : std::size_t{0};
    };
    const std::size_t linesOver = over(m_caret.row, lines, GetRowCount());
    const std::size_t fieldsOver = over(m_caret.column, fields, GetColumnCount());
    if (linesOver == 0 && fieldsOver == 0)
        return true;
    // The text may be all a person has of it: what would not land is named and pasting the
    // rest is theirs to choose, No being the answer that loses nothing.
    std::string question;
    if (linesOver > 0)
        question += "貼り付ける " + std::to_string(lines) + " 行のうち " + std::to_string(linesOver) +
                    " 行が最終行を越えるため貼り付けられません。\n";
    if (fieldsOver > 0)
        question += "貼り付ける " + std::to_string(fields) + " 列のうち " + std::to_string(fieldsOver) +
                    " 列が最終列を越えるため貼り付けられません。\n";
    question += "\n収まる部分だけ貼り付けますか？";
    return plat::MessageBox(this, question, {}, plat::MB_YESNO | plat::MB_ICONQUESTION | plat::MB_DEFBUTTON2) == plat::IDYES;
}

bool MoxCellCtrl::PasteText(const std::string& text)
{
    if (m_data == nullptr || GetColumnCount() == 0 || GetRowCount() == 0)
        return false;
    const auto rows = SplitTable(text);
    if (rows.empty())
        return false;
    if (!AgreeToPastePart(rows.size(), std::max_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
                                           return a.size() < b.size();
                                       })->size()))
        return false;
    if (Notify(MOXN_BEGINPASTE, 0, 0) != 0)
        return false;
    long lastColumn = m_caret.column;
    long lastRow = m_caret.row;
    const long top = m_topRow;
    const long left = m_leftCol;
    {
        QuietTable quiet(m_data);
        std::string field;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const long row = m_caret.row + static_cast<long>(r);
            if (row >= GetRowCount())
                break;
            lastRow = row;
            for (std::size_t f = 0; f < rows[r].size(); ++f) {
                const long column = m_caret.column + static_cast<long>(f);
                if (column >= GetColumnCount())
                    break;
                lastColumn = std::max(lastColumn, column);
                // The window may take a cell out of view for one it cannot edit, so each
                // cell is shown while it is asked about; the view comes back afterwards.
                EnsureVisible(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)});
                if (Notify(MOXN_QUERYPASTE, static_cast<plat::WPARAM>(column), static_cast<plat::LPARAM>(row)) != 0)
                    continue;
                const long item = ItemOf(column);
                unsigned size = ClearCellBuffer(item);
                field.assign(rows[r][f]);
                if (!m_data->OnGetData(item, row, field.c_str(), m_cellBuffer.data(), size))
                    continue; // a text the item does not take leaves the cell as it was
                static_cast<void>(StoreCellBuffer(item, row, size));
            }
        }
    }
    m_topRow = top;
    m_leftCol = left;
    // The pasted area becomes the selection, with the caret where the paste began.
    m_anchor = m_caret;
    m_selection.RemoveAll();
    m_selection.Add(MoxRect(m_caret, MoxPos{static_cast<std::int32_t>(lastColumn), static_cast<std::int32_t>(lastRow)}));
    Invalidate(FALSE);
    Notify(MOXN_ENDPASTE, 0, 0);
    return true;
}

void MoxCellCtrl::OnEditCopy() { SendMessage(MOXM_COPY); }

void MoxCellCtrl::OnEditCut()
{
    if (SendMessage(MOXM_COPY) != 0)
        SendMessage(MOXM_CLEAR);
}

void MoxCellCtrl::OnEditPaste() { SendMessage(MOXM_PASTE); }

void MoxCellCtrl::OnEditClear() { SendMessage(MOXM_CLEAR); }

// ---- input ----

plat::LRESULT MoxCellCtrl::OnGetDlgCode(plat::WPARAM, plat::LPARAM)
{
    // While a cell is edited, Return and Escape belong to the editor, not to a dialog.
    return plat::DLGC_WANTARROWS | plat::DLGC_WANTCHARS | (m_editor != nullptr ? plat::DLGC_WANTALLKEYS : 0);
}

plat::LRESULT MoxCellCtrl::OnKeyDown(plat::WPARAM wParam, plat::LPARAM lParam)
{
    const int key = static_cast<int>(wParam);
    const bool shift = plat::GetKeyState(plat::VK_SHIFT) < 0;
    const bool control = plat::GetKeyState(plat::VK_CONTROL) < 0;
    if (m_editor != nullptr) {
        switch (key) {
        case plat::VK_RETURN:
        case plat::VK_TAB:
            CloseEditor(true);
            return 0;
        case plat::VK_ESCAPE:
            CloseEditor(false);
            return 0;
        case plat::VK_UP:
        case plat::VK_DOWN:
        case plat::VK_PRIOR:
        case plat::VK_NEXT:
            // A list chooses with these keys; any other editor is left by them.
            if (dynamic_cast<plat::ComboBox*>(m_editor.Get()) == nullptr) {
                if (CloseEditor(true))
                    HandleNavigationKey(key, shift, control);
                return 0;
            }
            break;
        default:
            break;
        }
        if (plat::IsWindow(m_editor))
            m_editor->SendMessage(plat::WM_KEYDOWN, wParam, lParam);
        return 0;
    }
    if (m_data == nullptr)
        return 0;
    if (control && !shift) {
        switch (key) {
        case 'C': SendMessage(plat::WM_COMMAND, ID_EDIT_COPY); return 0;
        case 'X': SendMessage(plat::WM_COMMAND, ID_EDIT_CUT); return 0;
        case 'V': SendMessage(plat::WM_COMMAND, ID_EDIT_PASTE); return 0;
        default: break;
        }
    }
    // Ctrl+Shift+Left and Right narrow and widen the caret's column by a character: the
    // keyboard's way of dragging its border, for screens without a mouse that drags.
    if (control && shift && (key == plat::VK_LEFT || key == plat::VK_RIGHT)) {
        if (Column* column = ColumnAt(m_caret.column); column != nullptr && m_userResize) {
            const int width = std::max(BoundWidth(column->width + (key == plat::VK_RIGHT ? 1 : -1) * CharWidth()), CharWidth());
            if (width != column->width) {
                column->width = width;
                Invalidate(FALSE);
                Notify(MOXN_USERRESIZE, static_cast<plat::WPARAM>(m_caret.column), static_cast<plat::LPARAM>(width));
            }
        }
        return 0;
    }
    switch (key) {
    case 0x71: // F2
        OpenEditor(0);
        return 0;
    case plat::VK_DELETE:
        SendMessage(plat::WM_COMMAND, ID_EDIT_CLEAR);
        return 0;
    case plat::VK_ESCAPE:
        SetCurSel(m_caret, 0);
        return 0;
    default:
        HandleNavigationKey(key, shift, control);
        return 0;
    }
}

plat::LRESULT MoxCellCtrl::OnChar(plat::WPARAM wParam, plat::LPARAM lParam)
{
    const auto ch = static_cast<char32_t>(wParam);
    if (m_editor != nullptr) {
        if (plat::IsWindow(m_editor) && ch != U'\r' && ch != U'\t' && ch != 0x1B)
            m_editor->SendMessage(plat::WM_CHAR, wParam, lParam);
        return 0;
    }
    if (ch >= 0x20 && ch != 0x7F && plat::GetKeyState(plat::VK_CONTROL) >= 0)
        OpenEditor(ch);
    return 0;
}

plat::LRESULT MoxCellCtrl::OnLButtonDown(plat::WPARAM wParam, plat::LPARAM lParam)
{
    SetFocus();
    if (m_data == nullptr)
        return 0;
    const HitResult hit = HitTest(PointOf(lParam));
    if (hit.hit == Hit::Cell && m_editor != nullptr && hit.pos == m_editPos)
        return 0; // a click inside the cell being edited stays with the editor
    const bool shift = KeyHeld(plat::VK_SHIFT, wParam, kMkShift);
    const bool control = KeyHeld(plat::VK_CONTROL, wParam, kMkControl);
    const Select mode = shift ? Select::Extend : control ? Select::Add : Select::Replace;
    // A drag from here extends what this press selected.
    m_dragSelect = hit.hit;
    switch (hit.hit) {
    case Hit::Cell: MoveCaret(hit.pos, mode); break;
    case Hit::RowNumber: SelectLines(hit.pos.row, mode); break;
    case Hit::Heading: SelectColumns(hit.pos.column, mode); break;
    case Hit::Border:
        if (m_editor == nullptr || CloseEditor(true)) {
            m_dragColumn = hit.pos.column;
            m_dragWidth = m_columns[static_cast<std::size_t>(m_dragColumn)].width;
        }
        break;
    case Hit::Corner:
    case Hit::None: break;
    }
    return 0;
}

plat::LRESULT MoxCellCtrl::OnLButtonDblClk(plat::WPARAM wParam, plat::LPARAM lParam)
{
    const HitResult hit = HitTest(PointOf(lParam));
    if (hit.hit != Hit::Cell || m_data == nullptr) {
        OnLButtonDown(wParam, lParam);
        return 0;
    }
    SetFocus();
    if (m_editor != nullptr && hit.pos == m_editPos)
        return 0;
    if (MoveCaret(hit.pos, Select::Replace))
        OpenEditor(0);
    return 0;
}

plat::LRESULT MoxCellCtrl::OnMouseMove(plat::WPARAM wParam, plat::LPARAM lParam)
{
    Column* column = ColumnAt(m_dragColumn);
    if (column == nullptr) {
        if ((wParam & plat::MK_LBUTTON) != 0 && m_data != nullptr)
            DragSelect(PointOf(lParam));
        return 0;
    }
    const int left = ColumnLeft(m_dragColumn);
    column->width = std::max(BoundWidth(static_cast<long long>(PointOf(lParam).x) - left), CharWidth());
    Invalidate(FALSE);
    return 0;
}

void MoxCellCtrl::DragSelect(plat::POINT point)
{
    // Past the edges the drag keeps to the nearest cell, so that a selection reaches them.
    plat::RECT client;
    GetClientRect(&client);
    point.x = std::clamp(point.x, static_cast<plat::LONG>(m_fixedColWidth), std::max<plat::LONG>(client.right - 1, m_fixedColWidth));
    const plat::LONG heading = HeadingHeight();
    point.y = std::clamp(point.y, heading, std::max<plat::LONG>(client.bottom - 1, heading));
    HitResult hit = HitTest(point);
    if (hit.hit == Hit::Border)
        hit.hit = Hit::Cell;
    switch (m_dragSelect) {
    case Hit::Cell:
        if (hit.hit == Hit::Cell && !(hit.pos == m_caret))
            MoveCaret(hit.pos, Select::Extend);
        break;
    case Hit::RowNumber: SelectLines(hit.pos.row, Select::Extend); break;
    case Hit::Heading: SelectColumns(hit.pos.column, Select::Extend); break;
    default: break;
    }
}

plat::LRESULT MoxCellCtrl::OnMouseWheel(plat::WPARAM wParam, plat::LPARAM)
{
    const auto delta = static_cast<short>(plat::HIWORD(static_cast<std::uintptr_t>(wParam)));
    const long notches = delta / plat::WHEEL_DELTA;
    if (notches == 0 || m_data == nullptr)
        return 0;
    // Three lines a notch; the caret stays where it is, as scrolling does not move it.
    const long top = m_topRow;
    m_topRow -= notches * kWheelLines;
    ClampScroll();
    if (m_topRow != top) {
        PlaceEditor();
        Invalidate(FALSE);
    }
    return 0;
}

plat::LRESULT MoxCellCtrl::OnLButtonUp(plat::WPARAM wParam, plat::LPARAM lParam)
{
    const long dragged = m_dragColumn;
    if (ColumnAt(dragged) == nullptr)
        return 0;
    OnMouseMove(wParam, lParam);
    m_dragColumn = -1;
    const int width = m_columns[static_cast<std::size_t>(dragged)].width;
    if (width != m_dragWidth)
        Notify(MOXN_USERRESIZE, static_cast<plat::WPARAM>(dragged), static_cast<plat::LPARAM>(width));
    return 0;
}

plat::LRESULT MoxCellCtrl::OnSize(plat::WPARAM, plat::LPARAM)
{
    ClampScroll();
    PlaceEditor();
    Invalidate(FALSE);
    return 0;
}

plat::LRESULT MoxCellCtrl::OnDestroy(plat::WPARAM, plat::LPARAM)
{
    // The editor belongs to the host: it is only put away.
    if (m_editor != nullptr && plat::IsWindow(m_editor))
        m_editor->ShowWindow(plat::SW_HIDE);
    m_editor = nullptr;
    return 0;
}

// ---- painting ----

int MoxCellCtrl::LineHeight() const { return plat::GetTextMeasure().LineHeight(CellLogFont()); }

int MoxCellCtrl::CharWidth() const { return plat::GetTextMeasure().AverageWidth(CellLogFont()); }

plat::LOGFONTA MoxCellCtrl::CellLogFont() const
{
    plat::LOGFONTA logFont;
    if (!m_font.GetLogFont(&logFont))
        return plat::DefaultLogFont();
    return logFont;
}

plat::LRESULT MoxCellCtrl::OnPaint(plat::WPARAM, plat::LPARAM)
{
    plat::PaintDC dc(this);
    OnDraw(&dc);
    return 0;
}

void MoxCellCtrl::DrawClippedText(plat::DC* dc, const std::string& text, const plat::RECT& rect, unsigned format)
{
    if (text.empty() || rect.IsEmpty())
        return;
    // Cut at a character boundary to what the cell can show; never into the next cell.
    const std::size_t fits = dc->GetMeasure().Fit(dc->GetLogFont(), text, rect.Width());
    if (fits == 0)
        return;
    dc->DrawText(std::string_view(text).substr(0, fits), rect, format & kTextFormatMask);
}

void MoxCellCtrl::DrawHeadings(plat::DC* dc, const std::vector<long>& columns, const std::vector<int>& lefts)
{
    plat::RECT client;
    GetClientRect(&client);
    dc->SetTextColor(kPalette[MOXC_HEADINGTEXT]);
    const plat::RECT corner{0, 0, m_fixedColWidth, HeadingHeight()};
    dc->FillSolidRect(plat::RECT{0, 0, client.right, HeadingHeight()}, kPalette[MOXC_HEADING]);
    MoxPos pos{0, 0};
    m_text.clear();
    if (Notify(MOXN_FIXEDCELLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
        DrawClippedText(dc, m_text, corner, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    for (int heading = 0; heading < m_fixedRows; ++heading) {
        const int top = heading * LineHeight();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Column& column = m_columns[static_cast<std::size_t>(columns[i])];
            const plat::RECT rect{lefts[i] + column.marginLeft, top,
                                  std::min(lefts[i] + column.width, static_cast<int>(client.right)) - column.marginRight, top + LineHeight()};
            pos = MoxPos{static_cast<std::int32_t>(columns[i]), heading};
            m_text.clear();
            if (Notify(MOXN_FIXEDROWTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
                DrawClippedText(dc, m_text, rect, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
        }
    }
}

void MoxCellCtrl::DrawCell(plat::DC* dc, const MoxPos& pos, const plat::RECT& rect)
{
    const Column& column = m_columns[static_cast<std::size_t>(pos.column)];
    dc->SetTextColor(kPalette[MOXC_TEXT]);
    dc->SetBkColor(kPalette[MOXC_WINDOW]);
    MoxPos asked = pos;
    auto* brush = reinterpret_cast<plat::Brush*>(
        Notify(MOXN_CTLCOLOR, reinterpret_cast<plat::WPARAM>(&asked), reinterpret_cast<plat::LPARAM>(dc)));
    if (brush != nullptr)
        dc->FillRect(rect, brush);
    std::uint8_t flags = 0;
    if (pos == m_caret) {
        dc->FillSolidRect(rect, kPalette[MOXC_CARET]);
        dc->SetTextColor(kPalette[MOXC_TEXT]);
    } else if (IsSelected(pos, &flags)) {
        // Marked lines and found cells look different from a plain selection.
        int colour = MOXC_SELECTION;
        if (m_searchMark)
            colour = MOXC_SEARCH;
        else if (m_lineMark && (flags & MoxRectArray::kWholeLines))
            colour = MOXC_LINEMARK;
        dc->FillSolidRect(rect, kPalette[colour]);
        dc->SetTextColor(colour == MOXC_SEARCH ? kPalette[MOXC_TEXT] : kPalette[MOXC_SELECTIONTEXT]);
    }
    if (m_editor != nullptr && pos == m_editPos)
        return; // the editor shows the cell
    if (column.ownerDraw) {
        MOX_DRAWITEMSTRUCT item;
        item.column = pos.column;
        item.row = pos.row;
        item.dc = dc;
        item.rect = rect;
        Notify(MOXN_DRAWITEM, reinterpret_cast<plat::WPARAM>(&item), 0);
        return;
    }
    m_text.clear();
    if (!m_data->OnGetText(ItemOf(pos.column), pos.row, m_text))
        return;
    const plat::RECT inner{rect.left + column.marginLeft, rect.top, rect.right - column.marginRight, rect.bottom};
    DrawClippedText(dc, m_text, inner, column.align);
}

void MoxCellCtrl::OnDraw(plat::DC* dc)
{
    plat::RECT client;
    GetClientRect(&client);
    plat::Font* oldFont = dc->SelectObject(&m_font);
    const int oldMode = dc->SetBkMode(plat::TRANSPARENT);
    dc->FillSolidRect(client, kPalette[MOXC_WINDOW]);
    if (m_data == nullptr) {
        dc->SelectObject(oldFont);
        dc->SetBkMode(oldMode);
        return;
    }
    ClampScroll();
    std::vector<long> columns;
    std::vector<int> lefts;
    for (long c = m_leftCol, x = m_fixedColWidth; c < GetColumnCount() && x < client.right; ++c) {
        columns.push_back(c);
        lefts.push_back(static_cast<int>(x));
        x += m_columns[static_cast<std::size_t>(c)].width;
    }
    DrawHeadings(dc, columns, lefts);
    const long lastRow = std::min(GetRowCount(), m_topRow + GetVisibleRowCount());
    for (long row = m_topRow; row < lastRow; ++row) {
        const int top = HeadingHeight() + static_cast<int>(row - m_topRow) * LineHeight();
        const plat::RECT number{0, top, m_fixedColWidth, top + LineHeight()};
        dc->FillSolidRect(number, kPalette[MOXC_HEADING]);
        dc->SetTextColor(kPalette[MOXC_HEADINGTEXT]);
        MoxPos pos{0, static_cast<std::int32_t>(row)};
        m_text.clear();
        if (Notify(MOXN_FIXEDCOLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
            DrawClippedText(dc, m_text, plat::RECT{number.left, top, number.right - 2, top + LineHeight()},
                            plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int right = std::min(lefts[i] + m_columns[static_cast<std::size_t>(columns[i])].width, static_cast<int>(client.right));
            DrawCell(dc, MoxPos{static_cast<std::int32_t>(columns[i]), static_cast<std::int32_t>(row)},
                     plat::RECT{lefts[i], top, right, top + LineHeight()});
        }
    }
    dc->SelectObject(oldFont);
    dc->SetBkMode(oldMode);
}

int MoxCellCtrl::PrintPages(plat::DC* dc)
{
    if (m_data == nullptr || dc == nullptr)
        return 0;
    const long lastRecord = std::min(m_data->GetLastInputRecordNo(), GetRowCount() - 1);
    // The page in logical units: a printer counts in fixed lengths with the y axis upwards,
    // and a grid pixel becomes one logical unit (a hundredth of an inch reads as on screen).
    plat::POINT extent{dc->GetDeviceCaps(plat::HORZRES), dc->GetDeviceCaps(plat::VERTRES)};
    dc->DPtoLP(&extent);
    const bool upwards = extent.y < 0;
    const int pageWidth = std::abs(static_cast<int>(extent.x));
    const int pageHeight = std::abs(static_cast<int>(extent.y));
    const auto onPage = [upwards](int left, int top, int right, int bottom) {
        return upwards ? plat::RECT{left, -bottom, right, -top} : plat::RECT{left, top, right, bottom};
    };
    // Each page repeats the headings over as many lines as fit below them.
    const long linesPerPage = std::max(1, pageHeight / LineHeight() - 1);
    const long records = lastRecord + 1;
    const long pages = records <= 0 ? 1 : (records + linesPerPage - 1) / linesPerPage;
    dc->SelectObject(&m_font);
    dc->SetTextColor(kPalette[MOXC_TEXT]);
    dc->SetBkMode(plat::TRANSPARENT);
    std::vector<long> columns;
    std::vector<int> lefts;
    for (long c = 0, x = m_fixedColWidth; c < GetColumnCount() && x < pageWidth; ++c) {
        columns.push_back(c);
        lefts.push_back(static_cast<int>(x));
        x += m_columns[static_cast<std::size_t>(c)].width;
    }
    long printed = 0;
    for (long page = 0; page < pages; ++page) {
        if (dc->StartPage() <= 0)
            break;
        MoxPos pos{0, 0};
        m_text.clear();
        if (Notify(MOXN_FIXEDCELLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
            DrawClippedText(dc, m_text, onPage(0, 0, m_fixedColWidth, LineHeight()), plat::DT_CENTER);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Column& column = m_columns[static_cast<std::size_t>(columns[i])];
            pos = MoxPos{static_cast<std::int32_t>(columns[i]), 0};
            m_text.clear();
            if (Notify(MOXN_FIXEDROWTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
                DrawClippedText(dc, m_text,
                                onPage(lefts[i] + column.marginLeft, 0,
                                       std::min(lefts[i] + column.width, pageWidth) - column.marginRight, LineHeight()),
                                plat::DT_CENTER);
        }
        const long first = page * linesPerPage;
        const long end = std::min(records, first + linesPerPage);
        for (long row = first; row < end; ++row) {
            const int top = LineHeight() + static_cast<int>(row - first) * LineHeight();
            pos = MoxPos{0, static_cast<std::int32_t>(row)};
            m_text.clear();
            if (Notify(MOXN_FIXEDCOLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
                DrawClippedText(dc, m_text, onPage(0, top, m_fixedColWidth - 2, top + LineHeight()), plat::DT_RIGHT);
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const Column& column = m_columns[static_cast<std::size_t>(columns[i])];
                m_text.clear();
                if (column.ownerDraw || !m_data->OnGetText(ItemOf(columns[i]), row, m_text))
                    continue;
                DrawClippedText(dc, m_text,
                                onPage(lefts[i] + column.marginLeft, top,
                                       std::min(lefts[i] + column.width, pageWidth) - column.marginRight, top + LineHeight()),
                                column.align);
            }
        }
        if (dc->EndPage() <= 0)
            break;
        ++printed;
    }
    return static_cast<int>(printed);
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

plat::LRESULT MoxCellCtrl::OnPrint(plat::WPARAM wParam, plat::LPARAM)
{
    return PrintPages(reinterpret_cast<plat::DC*>(wParam));
}
