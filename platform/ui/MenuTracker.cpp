// Working menus from the keyboard and the mouse, and the keys that lead into menus and help.
#include "platform/ui/MenuTracker.h"

#include "platform/text/DisplayWidth.h"
#include "platform/text/Utf8.h"
#include "platform/ui/CellGeometry.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Help.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Wnd.h"

#include <algorithm>

namespace plat {

namespace {

// The menu being worked and whether the next click asks for help.
struct MenuState {
    const MenuTracker* current = nullptr;
    bool helpMode = false;
};

const MenuTracker*& Current() { return CurrentUiContext().Get<MenuState>().current; }

bool& HelpMode() { return CurrentUiContext().Get<MenuState>().helpMode; }

std::string Label(const std::string& text) { return text.substr(0, text.find('\t')); }
std::string Accelerator(const std::string& text)
{
    const std::size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// The letter '&' marks in a text, upper-cased; 0 when none.
char32_t Mnemonic(std::string_view text)
{
    for (std::size_t pos = 0; pos + 1 < text.size(); ++pos) {
        if (text[pos] != '&')
            continue;
        if (text[pos + 1] == '&') {
            ++pos;
            continue;
        }
        std::size_t at = pos + 1;
        char32_t ch = DecodeUtf8(text, at);
        return ch >= U'a' && ch <= U'z' ? ch - U'a' + U'A' : ch;
    }
    return 0;
}

// Menus are laid out in terminal cells.
constexpr int kCharWidth = cells::kWidth;
constexpr int kLineHeight = cells::kHeight;

char32_t Upper(char32_t ch) { return ch >= U'a' && ch <= U'z' ? ch - U'a' + U'A' : ch; }

SIZE ScreenCells()
{
    WinApp* app = GetApp();
    const SIZE pixels = app && app->GetDriver() ? app->GetDriver()->ScreenSize() : SIZE{640, 400};
    return SIZE{std::max<LONG>(1, pixels.cx / kCharWidth), std::max<LONG>(1, pixels.cy / kLineHeight)};
}

POINT CellOf(POINT screen) { return POINT{screen.x / kCharWidth, screen.y / kLineHeight}; }

bool Selectable(HMENU menu, int index)
{
    MenuItemInfo item;
    return GetMenuItem(menu, index, item) && !item.IsSeparator() && item.IsEnabled();
}

int ItemCount(HMENU menu)
{
    Menu* object = Menu::FromHandle(menu);
    return object ? std::max(0, object->GetMenuItemCount()) : 0;
}

// The first item from start, stepping by step and wrapping round, that can be chosen; -1.
int NextSelectable(HMENU menu, int start, int step)
{
    const int count = ItemCount(menu);
    for (int i = 0, index = start; i < count; ++i, index += step) {
        index = ((index % count) + count) % count;
        if (Selectable(menu, index))
            return index;
    }
    return -1;
}

Wnd* MenuFrame(Wnd& active)
{
    Menu* bar = active.GetMenu();
    return bar && bar->GetMenuItemCount() > 0 ? &active : nullptr;
}

void RequestHelp(Wnd& active, POINT screen)
{
    RECT client;
    active.GetClientRect(&client);
    POINT point = screen;
    active.ScreenToClient(&point);
    if (!client.Contains(point))
        return;
    DWORD context = 0;
    for (Wnd* wnd = active.ChildWindowFromPointDeep(point); wnd && context == 0; wnd = wnd->GetParent()) {
        POINT local = screen;
        wnd->ScreenToClient(&local);
        context = static_cast<DWORD>(wnd->SendMessage(
            WM_HELPHITTEST, 0, MAKELPARAM(static_cast<WORD>(static_cast<short>(local.x)), static_cast<WORD>(static_cast<short>(local.y)))));
        if (!IsWindow(wnd) || wnd == &active)
            break;
    }
    if (WinApp* app = GetApp())
        app->WinHelp(context, context != 0 ? HELP_CONTEXT : HELP_CONTENTS);
}

// A command's topic is numbered from 0x10000, as help files for programs of this kind number
// them; without that topic, the help file's contents.
void ShowCommandHelp(UINT command)
{
    WinApp* app = GetApp();
    if (command == 0 || app == nullptr)
        return;
    constexpr DWORD kCommandHelpBase = 0x10000;
    HelpFile help;
    const bool found = !app->GetHelpFilePath().empty() && help.Load(app->GetHelpFilePath(), nullptr) &&
                       help.Find(kCommandHelpBase + command) != nullptr;
    app->WinHelp(found ? kCommandHelpBase + command : 0, found ? HELP_CONTEXT : HELP_CONTENTS);
}

} // namespace

std::vector<MenuBarPlace> LayOutMenuBar(const Wnd& frame)
{
    std::vector<MenuBarPlace> places;
    Menu* bar = frame.GetMenu();
    if (!bar)
        return places;
    RECT screen;
    frame.GetWindowRect(&screen);
    const RECT cells = PixelsToCells(screen);
    LONG column = cells.left + 1;
    for (int i = 0; i < bar->GetMenuItemCount(); ++i) {
        MenuItemInfo item;
        if (!GetMenuItem(bar->GetSafeHmenu(), i, item) || item.IsSeparator())
            continue;
        const std::string label = Label(item.text);
        // Each item shows with a blank either side, so that its highlight stands apart.
        const int width = DisplayWidth(StripMnemonic(label)) + 2;
        places.push_back(MenuBarPlace{i, RECT{column, cells.top, column + width, cells.top + 1}, label});
        column += width;
    }
    return places;
}

bool IsInHelpMode() noexcept { return HelpMode(); }

const MenuTracker* MenuTracker::Active() noexcept { return Current(); }

MenuTracker::MenuTracker(Wnd& target, UINT flags) : m_target(&target), m_flags(flags), m_outer(Current())
{
    Current() = this;
}

MenuTracker::~MenuTracker()
{
    Current() = m_outer;
    if (WinApp* app = GetApp(); app && app->GetDriver() && m_barFrame && IsWindow(m_barFrame))
        app->GetDriver()->WindowChanged(*m_barFrame);
}

void MenuTracker::TrackMenuBar(Wnd& frame, int openPosition)
{
    Menu* bar = frame.GetMenu();
    if (!bar || Current())
        return;
    UINT chosen = 0;
    UINT help = 0;
    std::optional<InputEvent> replay;
    {
        MenuTracker tracker(frame, 0);
        tracker.m_bar = bar->GetSafeHmenu();
        tracker.m_barFrame = &frame;
        if (openPosition >= 0) {
            tracker.OpenBarMenu(openPosition);
        } else {
            tracker.m_barHighlight = NextSelectable(tracker.m_bar, 0, 1);
            tracker.Select(tracker.m_bar, tracker.m_barHighlight);
        }
        chosen = tracker.Run();
        replay = tracker.m_replay;
        help = tracker.m_helpCommand;
    }
    ShowCommandHelp(help);
    if (chosen != 0 && IsWindow(&frame))
        frame.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    if (replay)
        DispatchInput(*replay);
}

UINT MenuTracker::TrackPopup(HMENU menu, UINT flags, POINT screen, Wnd& target)
{
    if (!IsMenu(menu) || Current() || !IsWindow(&target))
        return 0;
    UINT chosen = 0;
    UINT help = 0;
    std::optional<InputEvent> replay;
    {
        MenuTracker tracker(target, flags);
        POINT anchor = CellOf(screen);
        tracker.Open(menu, 0, anchor, nullptr);
        if (!tracker.m_popups.empty()) {
            // Right or centre alignment puts the box's right edge or middle at the point.
            OpenPopup& popup = tracker.m_popups.back();
            const LONG width = popup.box.Width();
            LONG left = popup.box.left;
            if (flags & TPM_RIGHTALIGN)
                left = anchor.x - width + 1;
            else if (flags & TPM_CENTERALIGN)
                left = anchor.x - width / 2;
            left = std::clamp<LONG>(left, 0, std::max<LONG>(0, ScreenCells().cx - width));
            popup.box = RECT{left, popup.box.top, left + width, popup.box.bottom};
            chosen = tracker.Run();
        }
        replay = tracker.m_replay;
        help = tracker.m_helpCommand;
    }
    ShowCommandHelp(help);
    if (chosen != 0 && !(flags & TPM_RETURNCMD) && IsWindow(&target))
        target.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    if (replay)
        DispatchInput(*replay);
    return chosen;
}

UINT Driver::TrackPopupMenu(HMENU menu, UINT flags, POINT screen, Wnd& target)
{
    return MenuTracker::TrackPopup(menu, flags, screen, target);
}

void Driver::TrackMenuBar(Wnd& frame, int openPosition) { MenuTracker::TrackMenuBar(frame, openPosition); }

BOOL Menu::TrackPopupMenu(UINT flags, int x, int y, Wnd* wnd, const RECT*)
{
    if (!m_menu || !wnd)
        return FALSE;
    WinApp* app = GetApp();
    Driver* driver = app ? app->GetDriver() : nullptr;
    const UINT chosen = driver ? driver->TrackPopupMenu(m_menu, flags, POINT{x, y}, *wnd)
                               : MenuTracker::TrackPopup(m_menu, flags, POINT{x, y}, *wnd);
    return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(chosen) : TRUE;
}

UINT MenuTracker::Run()
{
    WinApp* app = GetApp();
    Driver* driver = app ? app->GetDriver() : nullptr;
    while (m_running && driver && IsWindow(m_target)) {
        if (m_popups.empty() && !m_bar)
            break;
        std::optional<InputEvent> event = driver->NextEvent();
        if (!event)
            break;
        Handle(*event);
    }
    m_popups.clear();
    if (IsWindow(m_target) && !(m_flags & TPM_NONOTIFY))
        m_target->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    return m_chosen;
}

void MenuTracker::Select(HMENU menu, int index)
{
    if ((m_flags & TPM_NONOTIFY) || !IsWindow(m_target) || index < 0)
        return;
    MenuItemInfo item;
    if (!GetMenuItem(menu, index, item))
        return;
    const WORD flags = static_cast<WORD>(item.flags | (item.IsPopup() ? MF_POPUP : 0));
    const WORD id = static_cast<WORD>(item.IsPopup() ? static_cast<UINT>(index) : item.id);
    m_target->SendMessage(WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(menu));
}

void MenuTracker::Open(HMENU menu, int positionInParent, POINT anchor, const RECT* besideBox)
{
    if (IsWindow(m_target))
        m_target->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                              MAKELPARAM(static_cast<WORD>(positionInParent), 0));
    if (!IsWindow(m_target) || !IsMenu(menu))
        return;
    OpenPopup popup;
    popup.menu = menu;
    const int count = ItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuItemInfo item;
        GetMenuItem(menu, i, item);
        popup.textWidth = std::max(popup.textWidth, DisplayWidth(StripMnemonic(Label(item.text))));
        popup.accelWidth = std::max(popup.accelWidth, DisplayWidth(Accelerator(item.text)));
    }
    // Borders, the check mark and a blank, the label, the accelerator two apart, a blank
    // and the column of the sub menu mark.
    const LONG width = 6 + popup.textWidth + (popup.accelWidth > 0 ? 2 + popup.accelWidth : 0);
    const SIZE screen = ScreenCells();
    // A menu taller than the room it has scrolls; a menu bar's menu keeps below the bar.
    const LONG room = m_bar && !besideBox ? screen.cy - anchor.y : screen.cy;
    const LONG height = std::min<LONG>(count + 2, std::max<LONG>(3, room));
    LONG left = anchor.x;
    LONG top = anchor.y;
    if (besideBox) {
        // A sub menu opens to the right of its parent, or to the left when there is no room.
        left = besideBox->right;
        if (left + width > screen.cx)
            left = besideBox->left - width;
    }
    left = std::clamp<LONG>(left, 0, std::max<LONG>(0, screen.cx - width));
    if (top + height > screen.cy)
        top = besideBox == nullptr && m_bar == nullptr && anchor.y - height >= 0 ? anchor.y - height + 1 : screen.cy - height;
    top = std::max<LONG>(0, top);
    popup.box = RECT{left, top, left + width, top + height};
    popup.highlight = NextSelectable(menu, 0, 1);
    popup.firstItem = std::max(0, popup.highlight - popup.VisibleItems() + 1);
    m_popups.push_back(popup);
    Select(menu, popup.highlight);
}

void MenuTracker::CloseFrom(std::size_t level)
{
    if (level < m_popups.size())
        m_popups.resize(level);
}

void MenuTracker::OpenBarMenu(int position)
{
    CloseFrom(0);
    m_barHighlight = position;
    MenuItemInfo item;
    if (!GetMenuItem(m_bar, position, item))
        return;
    if (!item.IsPopup() || !item.IsEnabled()) {
        Select(m_bar, position);
        return;
    }
    for (const MenuBarPlace& place : LayOutMenuBar(*m_barFrame))
        if (place.position == position)
            Open(item.subMenu, position, POINT{place.cells.left, place.cells.bottom}, nullptr);
}

void MenuTracker::MoveBar(int step)
{
    const int next = NextSelectable(m_bar, m_barHighlight + step, step);
    if (next < 0)
        return;
    if (m_popups.empty()) {
        m_barHighlight = next;
        Select(m_bar, next);
    } else {
        OpenBarMenu(next);
    }
}

void MenuTracker::Highlight(std::size_t level, int index)
{
    if (level >= m_popups.size() || m_popups[level].highlight == index)
        return;
    OpenPopup& popup = m_popups[level];
    popup.highlight = index;
    // Scrolled so that the highlighted item shows.
    if (index >= 0 && index < popup.firstItem)
        popup.firstItem = index;
    else if (index >= popup.firstItem + popup.VisibleItems())
        popup.firstItem = index - popup.VisibleItems() + 1;
    Select(popup.menu, index);
}

void MenuTracker::Move(int step)
{
    OpenPopup& popup = m_popups.back();
    const int start = popup.highlight < 0 ? (step > 0 ? 0 : ItemCount(popup.menu) - 1) : popup.highlight + step;
    const int next = NextSelectable(popup.menu, start, step);
    if (next >= 0)
        Highlight(m_popups.size() - 1, next);
}

void MenuTracker::Activate(std::size_t level, int index)
{
    MenuItemInfo item;
    if (level >= m_popups.size() || !GetMenuItem(m_popups[level].menu, index, item) || item.IsSeparator() ||
        !item.IsEnabled())
        return;
    CloseFrom(level + 1);
    Highlight(level, index);
    if (item.IsPopup()) {
        const RECT box = m_popups[level].box;
        const LONG itemTop = box.top + (index - m_popups[level].firstItem); // the line above the item
        Open(item.subMenu, index, POINT{box.left, itemTop}, &box);
        if (!m_popups.empty() && m_popups.size() > level + 1) {
            // The sub menu's first item sits beside the item that opened it.
            OpenPopup& sub = m_popups.back();
            const LONG height = sub.box.Height();
            LONG top = itemTop;
            const SIZE screen = ScreenCells();
            if (top + height > screen.cy)
                top = std::max<LONG>(0, screen.cy - height);
            sub.box = RECT{sub.box.left, top, sub.box.right, top + height};
        }
        return;
    }
    Choose(item.id);
}

void MenuTracker::Choose(UINT id)
{
    m_chosen = id;
    End();
}

void MenuTracker::Handle(const InputEvent& event)
{
    switch (event.kind) {
    case InputEvent::Kind::Key:
        if (event.alt && ((event.key >= 'A' && event.key <= 'Z') || (event.key >= '0' && event.key <= '9'))) {
            HandleMnemonic(static_cast<char32_t>(event.key));
        } else if (m_popups.empty() && m_bar && !IsBarKey(event)) {
            // A bar with no menu open keeps only the keys that work it: any other key (Ctrl+Z,
            // Delete, Tab) leaves the bar and goes to the window, as the person meant it.
            m_replay = event;
            End();
        } else {
            HandleKey(event.key, event.shift);
        }
        return;
    case InputEvent::Kind::Char:
        HandleMnemonic(event.ch);
        return;
    case InputEvent::Kind::Click:
    case InputEvent::Kind::DoubleClick:
    case InputEvent::Kind::RightClick:
        HandleClick(event.point);
        return;
    case InputEvent::Kind::Wheel:
        // A notch away from the person moves the highlight up, as it scrolls a list up.
        if (!m_popups.empty() && event.wheel != 0)
            Move(event.wheel > 0 ? -1 : 1);
        return;
    case InputEvent::Kind::Drag:
    case InputEvent::Kind::Move:
    case InputEvent::Kind::Composition:
        return; // a press and release on different places chooses nothing; menus take no composed text
    case InputEvent::Kind::Close:
        m_replay = event;
        End();
        return;
    }
}

bool MenuTracker::IsBarKey(const InputEvent& event)
{
    if (event.control)
        return false;
    switch (event.key) {
    case VK_ESCAPE:
    case VK_F10:
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_RETURN:
    case VK_SPACE:
    case VK_HOME:
    case VK_END:
        return true;
    default:
        // Letters and digits may be a title's mnemonic, with Alt or without.
        return event.alt || (event.key >= 'A' && event.key <= 'Z') || (event.key >= '0' && event.key <= '9');
    }
}

void MenuTracker::HandleKey(int key, bool shift)
{
    const bool inBar = m_bar != nullptr;
    switch (key) {
    case VK_ESCAPE:
        if (m_popups.empty())
            End();
        else
            CloseFrom(m_popups.size() - 1);
        if (m_popups.empty() && !inBar)
            End();
        return;
    case VK_F10:
        if (!shift)
            End();
        return;
    case VK_F1: {
        // Help on the highlighted command: the menu closes and its topic shows.
        MenuItemInfo item;
        if (!m_popups.empty() && GetMenuItem(m_popups.back().menu, m_popups.back().highlight, item) && !item.IsPopup() &&
            !item.IsSeparator()) {
            m_helpCommand = item.id;
            End();
        }
        return;
    }
    case VK_UP:
    case VK_DOWN:
        if (!m_popups.empty())
            Move(key == VK_DOWN ? 1 : -1);
        else if (inBar && m_barHighlight >= 0)
            OpenBarMenu(m_barHighlight);
        return;
    case VK_HOME:
    case VK_END:
        if (!m_popups.empty())
            Highlight(m_popups.size() - 1,
                      NextSelectable(m_popups.back().menu, key == VK_HOME ? 0 : ItemCount(m_popups.back().menu) - 1,
                                     key == VK_HOME ? 1 : -1));
        return;
    case VK_LEFT:
        if (m_popups.size() > 1)
            CloseFrom(m_popups.size() - 1);
        else if (inBar)
            MoveBar(-1);
        return;
    case VK_RIGHT: {
        MenuItemInfo item;
        if (!m_popups.empty() && GetMenuItem(m_popups.back().menu, m_popups.back().highlight, item) && item.IsPopup() &&
            item.IsEnabled())
            Activate(m_popups.size() - 1, m_popups.back().highlight);
        else if (inBar)
            MoveBar(1);
        return;
    }
    case VK_RETURN:
    case VK_SPACE:
        if (!m_popups.empty()) {
            Activate(m_popups.size() - 1, m_popups.back().highlight);
        } else if (inBar && m_barHighlight >= 0) {
            MenuItemInfo item;
            if (GetMenuItem(m_bar, m_barHighlight, item) && !item.IsPopup() && item.IsEnabled())
                Choose(item.id);
            else
                OpenBarMenu(m_barHighlight);
        }
        return;
    default:
        return;
    }
}

void MenuTracker::HandleMnemonic(char32_t letter)
{
    letter = Upper(letter);
    if (letter == U' ') {
        HandleKey(VK_SPACE, false);
        return;
    }
    const HMENU menu = m_popups.empty() ? m_bar : m_popups.back().menu;
    const int count = ItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuItemInfo item;
        if (!GetMenuItem(menu, i, item) || item.IsSeparator() || !item.IsEnabled() || Mnemonic(item.text) != letter)
            continue;
        if (m_popups.empty())
            OpenBarMenu(i);
        else
            Activate(m_popups.size() - 1, i);
        return;
    }
}

void MenuTracker::HandleClick(POINT screen)
{
    const POINT cell = CellOf(screen);
    for (std::size_t level = m_popups.size(); level-- > 0;) {
        const RECT& box = m_popups[level].box;
        if (!box.Contains(cell))
            continue;
        const int index = cell.y - box.top - 1 + m_popups[level].firstItem;
        if (cell.x > box.left && cell.x < box.right - 1 && cell.y > box.top && cell.y < box.bottom - 1 &&
            index < ItemCount(m_popups[level].menu))
            Activate(level, index);
        return; // a click on a border or a greyed item does nothing
    }
    if (m_bar)
        for (const MenuBarPlace& place : LayOutMenuBar(*m_barFrame)) {
            if (!place.cells.Contains(cell))
                continue;
            if (!m_popups.empty() && m_barHighlight == place.position) {
                End(); // a second click on an open menu's title closes it
            } else {
                OpenBarMenu(place.position);
                MenuItemInfo item;
                if (GetMenuItem(m_bar, place.position, item) && !item.IsPopup() && item.IsEnabled())
                    Choose(item.id);
            }
            return;
        }
    End(); // a click anywhere else leaves the menu
}

namespace {

// The menu bar is the front end's to show.
void WorkMenuBar(Wnd& frame, int openPosition)
{
    WinApp* app = GetApp();
    if (Driver* driver = app ? app->GetDriver() : nullptr)
        driver->TrackMenuBar(frame, openPosition);
    else
        MenuTracker::TrackMenuBar(frame, openPosition);
}

} // namespace

bool TranslateMenuInput(Wnd& active, const InputEvent& event)
{
    const bool click = event.kind == InputEvent::Kind::Click || event.kind == InputEvent::Kind::DoubleClick ||
                       event.kind == InputEvent::Kind::RightClick;
    if (HelpMode()) {
        if (click) {
            HelpMode() = false;
            RequestHelp(active, event.point);
            return true;
        }
        if (event.kind == InputEvent::Kind::Key) {
            HelpMode() = false;
            if (event.key == VK_ESCAPE)
                return true;
        }
    }
    if (click) {
        if (event.kind != InputEvent::Kind::Click || !MenuFrame(active))
            return false;
        const POINT cell = CellOf(event.point);
        for (const MenuBarPlace& place : LayOutMenuBar(active))
            if (place.cells.Contains(cell)) {
                WorkMenuBar(active, place.position);
                return true;
            }
        return false;
    }
    if (event.kind != InputEvent::Kind::Key)
        return false;
    Wnd* focus = Wnd::GetFocus();
    Wnd* keyTarget = focus && (focus == &active || active.IsChild(focus)) ? focus : &active;
    const bool plain = !event.shift && !event.control && !event.alt;
    if (event.key == VK_F1 && plain) {
        // Each window from the focus outwards may answer with its own help.
        for (Wnd* wnd = keyTarget; wnd; wnd = wnd == &active ? nullptr : wnd->GetParent())
            if (wnd->SendMessage(WM_COMMANDHELP, 0, 0) != 0 || !IsWindow(wnd))
                return true;
        if (WinApp* app = GetApp(); app && !app->GetHelpFilePath().empty())
            app->WinHelp(0, HELP_CONTENTS);
        return true;
    }
    if (event.key == VK_F1 && event.shift && !event.control && !event.alt) {
        HelpMode() = true;
        return true;
    }
    if ((event.key == VK_F10 && event.shift && !event.control) || (event.key == VK_APPS && !event.control)) {
        // The keyboard's context menu: the point (-1, -1) tells the window to place it itself.
        keyTarget->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(keyTarget), MAKELPARAM(0xFFFF, 0xFFFF));
        return true;
    }
    Wnd* frame = MenuFrame(active);
    if (!frame)
        return false;
    if (event.key == VK_F10 && plain) {
        WorkMenuBar(*frame, -1);
        return true;
    }
    if (event.alt && !event.control && ((event.key >= 'A' && event.key <= 'Z') || (event.key >= '0' && event.key <= '9'))) {
        Menu* bar = frame->GetMenu();
        for (int i = 0; i < bar->GetMenuItemCount(); ++i) {
            MenuItemInfo item;
            if (GetMenuItem(bar->GetSafeHmenu(), i, item) && item.IsEnabled() &&
                Mnemonic(item.text) == static_cast<char32_t>(event.key)) {
                WorkMenuBar(*frame, i);
                return true;
            }
        }
    }
    return false;
}

} // namespace plat
