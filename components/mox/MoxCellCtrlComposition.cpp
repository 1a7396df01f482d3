// The grid window and the input method: a composition begun on a selected cell opens the
// cell's editor and goes on inside it, as typing does; the input method's window is placed at
// the editor's caret, or at the caret cell.
#include "components/mox/MoxCellCtrl.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Ime.h"

plat::LRESULT MoxCellCtrl::OnImeMessage(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (message == plat::WM_IME_STARTCOMPOSITION && m_editor == nullptr) {
        // Only an editor that takes text can show a composition; a cell the host refuses, a
        // list or a toggle takes none, until the caret goes elsewhere.
        const bool opened = OpenEditor(0, true);
        if (!opened || dynamic_cast<plat::Edit*>(m_editor.Get()) == nullptr) {
            if (opened && m_editor != nullptr)
                CloseEditor(false);
            plat::ImmAllowComposition(plat::ImmGetContext(this), FALSE);
            return 0;
        }
    }
    if (m_editor != nullptr && plat::IsWindow(m_editor))
        return m_editor->SendMessage(message, wParam, lParam);
    if (message != plat::WM_IME_REQUEST || wParam != plat::IMR_QUERYCHARPOSITION || lParam == 0)
        return 0;
    plat::RECT cell;
    if (!GetCellRect(m_caret, cell))
        return 0;
    ClientToScreen(&cell);
    reinterpret_cast<plat::CompositionPlace*>(lParam)->caret = plat::RECT{cell.left, cell.top, cell.left + 1, cell.bottom};
    return 1;
}
