// Menus: a menu bar or pop-up menu is a list of items (commands, separators and sub menus)
// named by a handle, as the window system keeps them, and Menu is the object that owns one.
// Handles are never reused, so a stale handle is recognised instead of reaching freed memory:
// a sub menu moved from one menu to another, or destroyed twice, fails cleanly.
#pragma once

#include "platform/ui/Types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

class Wnd;
struct MenuTag;
using UINT_PTR = std::uintptr_t;
// A menu's handle: a number, never a pointer to be followed.
using HMENU = MenuTag*;

// Item flags (AppendMenu, InsertMenu, ModifyMenu) and states (GetMenuState).
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT kMenuNotFound = 0xFFFFFFFF;

// TrackPopupMenu flags.
inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// Messages of menus and of the status prompt.
inline constexpr UINT WM_MENUSELECT = 0x011F;
inline constexpr UINT WM_SETMESSAGESTRING = 0x0362;
// The prompt a frame shows when nothing else is to be shown.
inline constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;
// Identifiers from here up are the window system's own commands, never disabled for want of
// a handler.
inline constexpr UINT kFirstSystemCommand = 0xF000;

// Whether the handle names a menu that exists.
[[nodiscard]] bool IsMenu(HMENU menu) noexcept;

class Menu {
public:
    Menu() = default;
    // Destroys the menu it holds, with its sub menus.
    virtual ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    BOOL CreateMenu();      // a menu bar
    BOOL CreatePopupMenu(); // a pop-up menu
    // Destroys the menu and every sub menu still in it; FALSE when there was none.
    BOOL DestroyMenu();
    BOOL Attach(HMENU menu);
    HMENU Detach() noexcept;
    [[nodiscard]] HMENU GetSafeHmenu() const noexcept { return m_menu; }
    // The object of a handle: the one attached to it, else one kept with the menu (valid
    // while the menu lives); null for a handle that names no menu.
    [[nodiscard]] static Menu* FromHandle(HMENU menu);

    // A pop-up item (MF_POPUP) takes a sub menu's handle as its identifier; the menu it is
    // put in owns it from then on.
    BOOL AppendMenu(UINT flags, UINT_PTR idOrSubMenu = 0, std::string_view text = {});
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrSubMenu = 0, std::string_view text = {});
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrSubMenu = 0, std::string_view text = {});
    // Takes an item out; a sub menu in it is left alive for whoever holds its handle.
    BOOL RemoveMenu(UINT position, UINT flags);
    // Takes an item out and destroys a sub menu in it.
    BOOL DeleteMenu(UINT position, UINT flags);

    // Both return the item's previous state, or kMenuNotFound.
    UINT EnableMenuItem(UINT idOrPosition, UINT enable);
    UINT CheckMenuItem(UINT idOrPosition, UINT check);

    [[nodiscard]] int GetMenuItemCount() const noexcept; // -1 without a menu
    // 0 for a separator, kMenuNotFound for a sub menu or a position outside the menu.
    [[nodiscard]] UINT GetMenuItemID(int position) const noexcept;
    // The item's flags; for a sub menu its item count in the high byte. kMenuNotFound when
    // there is no such item.
    [[nodiscard]] UINT GetMenuState(UINT idOrPosition, UINT flags) const noexcept;
    // The item's text (an accelerator after a tab); its length in bytes, 0 when none.
    int GetMenuString(UINT idOrPosition, std::string& text, UINT flags) const;
    [[nodiscard]] std::string GetMenuString(UINT idOrPosition, UINT flags) const;
    [[nodiscard]] Menu* GetSubMenu(int position) const;

    // Shows the pop-up at a screen point and lets the person choose from it. The chosen
    // command goes to the window as WM_COMMAND (through its command route), or, with
    // TPM_RETURNCMD, is returned instead (0: nothing chosen).
    BOOL TrackPopupMenu(UINT flags, int x, int y, Wnd* wnd, const RECT* rect = nullptr);

private:
    HMENU m_menu = nullptr;
    bool m_kept = false; // made by FromHandle: the menu owns it, not the other way round
    friend struct MenuStore;
};

// What a menu's item is, for those that show and work the menu.
struct MenuItemInfo {
    UINT flags = 0;
    UINT id = 0;
    std::string text;
    HMENU subMenu = nullptr;
    [[nodiscard]] bool IsSeparator() const noexcept { return (flags & MF_SEPARATOR) != 0; }
    [[nodiscard]] bool IsEnabled() const noexcept { return (flags & (MF_GRAYED | MF_DISABLED)) == 0; }
    [[nodiscard]] bool IsChecked() const noexcept { return (flags & MF_CHECKED) != 0; }
    [[nodiscard]] bool IsPopup() const noexcept { return subMenu != nullptr; }
};
// False when the menu or the position does not exist.
bool GetMenuItem(HMENU menu, int position, MenuItemInfo& info);

} // namespace plat
