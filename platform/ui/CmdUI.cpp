// Menu items brought up to date through the command route.
#include "platform/ui/CmdUI.h"

#include "platform/ui/Frames.h"
#include "platform/ui/Menu.h"

#include <algorithm>

namespace plat {

void CmdUI::Enable(BOOL on)
{
    m_enableChanged = true;
    // An item that opens a sub menu keeps its state: only its sub menu's own items change.
    if (!m_menu || m_subMenu)
        return;
    m_menu->EnableMenuItem(m_index, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void CmdUI::SetCheck(int check)
{
    if (!m_menu || m_subMenu)
        return;
    m_menu->CheckMenuItem(m_index, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

void CmdUI::SetText(std::string_view text)
{
    if (!m_menu || m_subMenu)
        return;
    const UINT state = m_menu->GetMenuState(m_index, MF_BYPOSITION);
    if (state == kMenuNotFound)
        return;
    const UINT id = m_menu->GetMenuItemID(static_cast<int>(m_index));
    m_menu->ModifyMenu(m_index, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)), id, text);
}

BOOL CmdUI::DoUpdate(Wnd* target, BOOL disableIfNoHandler)
{
    if (!target || !IsWindow(target))
        return FALSE;
    m_enableChanged = false;
    const BOOL handled = RouteCommand(*target, m_id, CN_UPDATE_COMMAND_UI, this);
    if (!handled && disableIfNoHandler && !m_enableChanged && m_id < kFirstSystemCommand &&
        !RouteCommand(*target, m_id, CN_COMMAND, nullptr, true))
        Enable(FALSE);
    return handled;
}

BOOL RouteCommand(Wnd& target, UINT id, int code, CmdUI* cmdUI, bool probe)
{
    if (target.OnCmdMsg(id, code, cmdUI, probe))
        return TRUE;
    for (Wnd* up = target.GetParent(); up; up = up->GetParent())
        if (auto* frame = dynamic_cast<FrameWnd*>(up))
            return frame->OnCmdMsg(id, code, cmdUI, probe);
    return FALSE;
}

void UpdateMenuCommandUI(Menu& popup, Wnd& target, Menu* parentMenu)
{
    CmdUI state;
    state.m_menu = &popup;
    state.m_parentMenu = parentMenu;
    state.m_indexMax = static_cast<UINT>(std::max(0, popup.GetMenuItemCount()));
    for (state.m_index = 0; state.m_index < state.m_indexMax; ++state.m_index) {
        state.m_subMenu = nullptr;
        const UINT id = popup.GetMenuItemID(static_cast<int>(state.m_index));
        if (id == 0)
            continue; // a separator
        if (id == kMenuNotFound) {
            // A sub menu: asked about through its first command, and never disabled for
            // want of a handler.
            state.m_subMenu = popup.GetSubMenu(static_cast<int>(state.m_index));
            if (!state.m_subMenu)
                continue;
            state.m_id = state.m_subMenu->GetMenuItemID(0);
            if (state.m_id == 0 || state.m_id == kMenuNotFound)
                continue;
            state.DoUpdate(&target, FALSE);
        } else {
            state.m_id = id;
            state.DoUpdate(&target, TRUE);
        }
        if (!IsWindow(&target))
            return;
        // A handler that removed or added items (a list of recent files, say): the items
        // it put in or took out lie at the item just updated, so go on after them.
        const UINT count = static_cast<UINT>(std::max(0, popup.GetMenuItemCount()));
        if (count < state.m_indexMax) {
            const UINT removed = state.m_indexMax - count;
            state.m_index = state.m_index + 1 >= removed ? state.m_index + 1 - removed : 0;
            --state.m_index; // unsigned: wraps, and the loop's step brings it back to 0
        } else if (count > state.m_indexMax) {
            state.m_index += count - state.m_indexMax;
        }
        state.m_indexMax = count;
    }
}

} // namespace plat
