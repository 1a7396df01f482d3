// The grid window's geometry (where a cell lies, what a point hits, scrolling into view)
// and its caret and selection.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellCtrlDetail.h"
#include "components/mox/MoxData.h"

#include <algorithm>

using namespace mox_detail;

namespace {

// How near a column border a press in the heading row must be to grab it.
constexpr int kBorderGrip = 2;

} // namespace

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
