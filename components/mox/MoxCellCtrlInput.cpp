// The grid window's keyboard and mouse: navigation keys, typing into a cell, selecting by
// pressing and dragging, column borders dragged wider, the wheel.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellCtrlDetail.h"
#include "components/mox/MoxData.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"

#include <algorithm>

using namespace mox_detail;

namespace {

constexpr plat::WPARAM kMkShift = 0x0004;
constexpr plat::WPARAM kMkControl = 0x0008;
constexpr long kWheelLines = 3;

plat::POINT PointOf(plat::LPARAM lParam)
{
    const auto value = static_cast<std::uintptr_t>(lParam);
    return plat::POINT{static_cast<short>(plat::LOWORD(value)), static_cast<short>(plat::HIWORD(value))};
}

bool KeyHeld(int key, plat::WPARAM mouseFlags, plat::WPARAM flag)
{
    return (mouseFlags & flag) != 0 || plat::GetKeyState(key) < 0;
}

} // namespace

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
        case 'C': SendMessage(plat::WM_COMMAND, plat::ID_EDIT_COPY); return 0;
        case 'X': SendMessage(plat::WM_COMMAND, plat::ID_EDIT_CUT); return 0;
        case 'V': SendMessage(plat::WM_COMMAND, plat::ID_EDIT_PASTE); return 0;
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
        SendMessage(plat::WM_COMMAND, plat::ID_EDIT_CLEAR);
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

plat::LRESULT MoxCellCtrl::OnSetCursor(plat::WPARAM wParam, plat::LPARAM lParam)
{
    // A border that a press would start to drag shows the resize cursor.
    plat::POINT point;
    plat::GetCursorPos(&point);
    ScreenToClient(&point);
    if (reinterpret_cast<plat::Wnd*>(wParam) == this && m_data != nullptr && HitTest(point).hit == Hit::Border) {
        plat::SetCursor(plat::IDC_SIZEWE);
        return TRUE;
    }
    return plat::Wnd::DefWindowProc(plat::WM_SETCURSOR, wParam, lParam);
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
        // The rows still in view keep their pixels; only those that come into view are drawn.
        // The part of a row cut at the bottom is never drawn, so it stays out of the move.
        plat::RECT rows;
        GetClientRect(&rows);
        rows.top = HeadingHeight();
        rows.bottom = rows.top + static_cast<int>(GetVisibleRowCount()) * LineHeight();
        ScrollWindow(0, static_cast<int>(top - m_topRow) * LineHeight(), &rows);
        PlaceEditor();
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
