// The state of one command's place in a menu while the menu is brought up to date: an update
// handler in a message map enables, checks or renames the item through it; and the command
// route (a window, then the frame it lies in) that updates and commands travel.
#pragma once

#include "platform/ui/Types.h"

#include <string_view>

namespace plat {

class Menu;
class Wnd;

// The notification codes of a command as it travels the route: carried out, or asked about.
inline constexpr int CN_COMMAND = 0;
inline constexpr int CN_UPDATE_COMMAND_UI = -1;

class CmdUI {
public:
    virtual ~CmdUI() = default;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1); // 0 unchecked, 1 checked
    virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
    virtual void SetText(std::string_view text);
    // The handler declines: the update goes on along the route.
    void ContinueRouting() noexcept { m_continueRouting = true; }

    // Asks the route from the target for the item's state. With disableIfNoHandler, an item
    // that no update handler answered and no command handler would carry out is disabled.
    BOOL DoUpdate(Wnd* target, BOOL disableIfNoHandler);

    UINT m_id = 0;
    UINT m_index = 0;             // the item's position in m_menu
    UINT m_indexMax = 0;          // the item count of m_menu
    Menu* m_menu = nullptr;       // the menu being updated
    Menu* m_subMenu = nullptr;    // set while the item opens a sub menu
    Menu* m_parentMenu = nullptr; // the menu that holds m_menu, when known
    bool m_enableChanged = false;
    bool m_continueRouting = false;
};

// Offers a command (code CN_COMMAND) or an update (CN_UPDATE_COMMAND_UI, with the CmdUI) to
// the window's map and then to the frame that contains it; probe only asks whether a handler
// exists. TRUE when a handler took it.
BOOL RouteCommand(Wnd& target, UINT id, int code, CmdUI* cmdUI, bool probe = false);

// Brings a pop-up about to open up to date with the target's route: separators are skipped;
// an item that opens a sub menu is updated by the sub menu's first command and is never
// disabled for want of a handler; a command below 0xF000 that nothing handles is disabled.
void UpdateMenuCommandUI(Menu& popup, Wnd& target, Menu* parentMenu = nullptr);

} // namespace plat
