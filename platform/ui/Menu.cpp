// The menus of the application, kept by handle number in its user-interface state, and the
// Menu object's operations on them.
#include "platform/ui/Menu.h"

#include "platform/ui/UiContext.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

namespace plat {

namespace {

struct MenuItem {
    UINT flags = 0;
    UINT id = 0;
    std::string text;
    HMENU subMenu = nullptr;
};

struct MenuData {
    std::vector<MenuItem> items;
    Menu* attached = nullptr;   // the object that owns the handle, if any
    std::unique_ptr<Menu> kept; // the object FromHandle gives when none is attached
};

} // namespace

struct MenuStore {
    std::unordered_map<std::uintptr_t, MenuData> menus;
    std::uintptr_t next = 1;

    static MenuStore& Get() { return CurrentUiContext().Get<MenuStore>(); }
    MenuData* Find(HMENU menu)
    {
        auto it = menus.find(reinterpret_cast<std::uintptr_t>(menu));
        return it == menus.end() ? nullptr : &it->second;
    }
    HMENU Make()
    {
        const std::uintptr_t number = next++;
        menus.emplace(number, MenuData{});
        return reinterpret_cast<HMENU>(number);
    }
    // Destroys the menu and the sub menus it still holds; the objects that named it let go.
    bool Destroy(HMENU menu)
    {
        MenuData* data = Find(menu);
        if (!data)
            return false;
        std::vector<MenuItem> items = std::move(data->items);
        if (data->attached)
            data->attached->m_menu = nullptr;
        std::unique_ptr<Menu> kept = std::move(data->kept);
        if (kept)
            kept->m_menu = nullptr;
        menus.erase(reinterpret_cast<std::uintptr_t>(menu));
        for (const MenuItem& item : items)
            if (item.subMenu)
                Destroy(item.subMenu);
        return true;
    }
    // The item at a position, or the first with the command identifier in the menu or its
    // sub menus, with the menu that holds it.
    MenuItem* Locate(HMENU menu, UINT idOrPosition, UINT flags, MenuData** holder = nullptr)
    {
        MenuData* data = Find(menu);
        if (!data)
            return nullptr;
        if (flags & MF_BYPOSITION) {
            if (idOrPosition >= data->items.size())
                return nullptr;
            if (holder)
                *holder = data;
            return &data->items[idOrPosition];
        }
        for (MenuItem& item : data->items) {
            if (!item.subMenu && !(item.flags & MF_SEPARATOR) && item.id == idOrPosition) {
                if (holder)
                    *holder = data;
                return &item;
            }
        }
        for (MenuItem& item : data->items)
            if (item.subMenu)
                if (MenuItem* found = Locate(item.subMenu, idOrPosition, flags, holder))
                    return found;
        return nullptr;
    }
};

namespace {

// An item as the flags describe it; false for a pop-up whose sub menu does not exist.
bool MakeItem(UINT flags, UINT_PTR idOrSubMenu, std::string_view text, MenuItem& item)
{
    item.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR);
    if (flags & MF_POPUP) {
        item.subMenu = reinterpret_cast<HMENU>(idOrSubMenu);
        if (!MenuStore::Get().Find(item.subMenu))
            return false;
    } else if (!(flags & MF_SEPARATOR)) {
        item.id = static_cast<UINT>(idOrSubMenu);
    }
    if (!(flags & MF_SEPARATOR))
        item.text = text;
    return true;
}

} // namespace

bool IsMenu(HMENU menu) noexcept { return MenuStore::Get().Find(menu) != nullptr; }

bool GetMenuItem(HMENU menu, int position, MenuItemInfo& info)
{
    MenuItem* item = position >= 0 ? MenuStore::Get().Locate(menu, static_cast<UINT>(position), MF_BYPOSITION) : nullptr;
    if (!item)
        return false;
    info = MenuItemInfo{item->flags, item->id, item->text, item->subMenu};
    return true;
}

Menu::~Menu()
{
    if (!m_kept)
        DestroyMenu();
}

BOOL Menu::CreateMenu()
{
    if (m_menu)
        return FALSE;
    return Attach(MenuStore::Get().Make());
}

BOOL Menu::CreatePopupMenu() { return CreateMenu(); }

BOOL Menu::DestroyMenu()
{
    if (!m_menu)
        return FALSE;
    return MenuStore::Get().Destroy(m_menu) ? TRUE : FALSE;
}

BOOL Menu::Attach(HMENU menu)
{
    MenuData* data = MenuStore::Get().Find(menu);
    if (m_menu || !data)
        return FALSE;
    m_menu = menu;
    data->attached = this;
    return TRUE;
}

HMENU Menu::Detach() noexcept
{
    HMENU menu = m_menu;
    if (MenuData* data = MenuStore::Get().Find(menu); data && data->attached == this)
        data->attached = nullptr;
    m_menu = nullptr;
    return menu;
}

Menu* Menu::FromHandle(HMENU menu)
{
    MenuData* data = MenuStore::Get().Find(menu);
    if (!data)
        return nullptr;
    if (data->attached)
        return data->attached;
    if (!data->kept) {
        data->kept = std::make_unique<Menu>();
        data->kept->m_kept = true;
        data->kept->m_menu = menu;
    }
    return data->kept.get();
}

BOOL Menu::AppendMenu(UINT flags, UINT_PTR idOrSubMenu, std::string_view text)
{
    return InsertMenu(kMenuNotFound, flags | MF_BYPOSITION, idOrSubMenu, text);
}

BOOL Menu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrSubMenu, std::string_view text)
{
    MenuStore& store = MenuStore::Get();
    MenuData* data = store.Find(m_menu);
    MenuItem item;
    if (!data || !MakeItem(flags, idOrSubMenu, text, item) || item.subMenu == m_menu)
        return FALSE;
    MenuData* holder = data;
    std::size_t at = data->items.size();
    if (flags & MF_BYPOSITION) {
        at = std::min<std::size_t>(position, data->items.size());
    } else if (MenuItem* before = store.Locate(m_menu, position, MF_BYCOMMAND, &holder)) {
        at = static_cast<std::size_t>(before - holder->items.data());
    }
    holder->items.insert(holder->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return TRUE;
}

BOOL Menu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrSubMenu, std::string_view text)
{
    MenuStore& store = MenuStore::Get();
    MenuItem* item = store.Locate(m_menu, position, flags);
    MenuItem replacement;
    if (!item || !MakeItem(flags, idOrSubMenu, text, replacement))
        return FALSE;
    // A sub menu replaced by something else is destroyed, as the item owned it.
    if (item->subMenu && item->subMenu != replacement.subMenu)
        store.Destroy(item->subMenu);
    item = store.Locate(m_menu, position, flags);
    if (!item)
        return FALSE;
    *item = std::move(replacement);
    return TRUE;
}

BOOL Menu::RemoveMenu(UINT position, UINT flags)
{
    MenuData* holder = nullptr;
    MenuItem* item = MenuStore::Get().Locate(m_menu, position, flags, &holder);
    if (!item)
        return FALSE;
    holder->items.erase(holder->items.begin() + (item - holder->items.data()));
    return TRUE;
}

BOOL Menu::DeleteMenu(UINT position, UINT flags)
{
    MenuData* holder = nullptr;
    MenuItem* item = MenuStore::Get().Locate(m_menu, position, flags, &holder);
    if (!item)
        return FALSE;
    const HMENU subMenu = item->subMenu;
    holder->items.erase(holder->items.begin() + (item - holder->items.data()));
    if (subMenu)
        MenuStore::Get().Destroy(subMenu);
    return TRUE;
}

UINT Menu::EnableMenuItem(UINT idOrPosition, UINT enable)
{
    MenuItem* item = MenuStore::Get().Locate(m_menu, idOrPosition, enable);
    if (!item)
        return kMenuNotFound;
    const UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT Menu::CheckMenuItem(UINT idOrPosition, UINT check)
{
    MenuItem* item = MenuStore::Get().Locate(m_menu, idOrPosition, check);
    if (!item)
        return kMenuNotFound;
    const UINT previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

int Menu::GetMenuItemCount() const noexcept
{
    const MenuData* data = MenuStore::Get().Find(m_menu);
    return data ? static_cast<int>(data->items.size()) : -1;
}

UINT Menu::GetMenuItemID(int position) const noexcept
{
    MenuItem* item = position >= 0 ? MenuStore::Get().Locate(m_menu, static_cast<UINT>(position), MF_BYPOSITION) : nullptr;
    if (!item || item->subMenu)
        return kMenuNotFound;
    return item->id;
}

UINT Menu::GetMenuState(UINT idOrPosition, UINT flags) const noexcept
{
    MenuStore& store = MenuStore::Get();
    MenuItem* item = store.Locate(m_menu, idOrPosition, flags);
    if (!item)
        return kMenuNotFound;
    if (!item->subMenu)
        return item->flags;
    const MenuData* sub = store.Find(item->subMenu);
    const UINT count = sub ? static_cast<UINT>(std::min<std::size_t>(sub->items.size(), 0xFF)) : 0;
    return (count << 8) | (item->flags & 0xFF) | MF_POPUP;
}

int Menu::GetMenuString(UINT idOrPosition, std::string& text, UINT flags) const
{
    MenuItem* item = MenuStore::Get().Locate(m_menu, idOrPosition, flags);
    text = item ? item->text : std::string();
    return static_cast<int>(text.size());
}

std::string Menu::GetMenuString(UINT idOrPosition, UINT flags) const
{
    std::string text;
    GetMenuString(idOrPosition, text, flags);
    return text;
}

Menu* Menu::GetSubMenu(int position) const
{
    MenuItem* item = position >= 0 ? MenuStore::Get().Locate(m_menu, static_cast<UINT>(position), MF_BYPOSITION) : nullptr;
    return item && item->subMenu ? FromHandle(item->subMenu) : nullptr;
}

} // namespace plat
