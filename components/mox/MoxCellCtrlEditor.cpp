// The grid window's in-place editor: opened on a cell, kept over it, its text stored back
// through the table.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellCtrlDetail.h"
#include "components/mox/MoxData.h"
#include "platform/ui/Controls.h"

#include <algorithm>
#include <string_view>

using namespace mox_detail;

namespace {

std::size_t CodePointCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

} // namespace

bool MoxCellCtrl::OpenEditor(char32_t typed, bool replace)
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
        if (typed != 0 || replace) {
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
