// A person working a menu: the menu bar of a frame or a pop-up opened at a point, with the
// keys and clicks that move through it, open sub menus and choose a command. While it runs it
// takes the input from the driver itself, and says what is open so that the renderer can
// draw it. Also the keys that lead into menus and help: F10 and Alt+mnemonic, Shift+F10 and
// the menu key, F1 and Shift+F1.
#pragma once

#include "platform/ui/App.h"
#include "platform/ui/Menu.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace plat {

// Where a menu bar's items lie on a frame's first line, in screen cells.
struct MenuBarPlace {
    int position = 0;
    RECT cells;
    std::string label; // the text, '&' marks kept
};
[[nodiscard]] std::vector<MenuBarPlace> LayOutMenuBar(const Wnd& frame);

// A pop-up as it shows: its box in screen cells, one line per item between the borders.
struct OpenPopup {
    HMENU menu = nullptr;
    RECT box;
    int highlight = -1;
    int firstItem = 0;  // a menu taller than the screen scrolls: the item on the first line
    int textWidth = 0;  // the widest label
    int accelWidth = 0; // the widest accelerator text
    [[nodiscard]] int VisibleItems() const noexcept { return std::max<int>(0, box.Height() - 2); }
};

class MenuTracker {
public:
    // The menu a person is working now, or null.
    [[nodiscard]] static const MenuTracker* Active() noexcept;

    [[nodiscard]] const std::vector<OpenPopup>& Popups() const noexcept { return m_popups; }
    // The frame whose menu bar is being worked, and its highlighted item (-1: none).
    [[nodiscard]] const Wnd* BarFrame() const noexcept { return m_barFrame; }
    [[nodiscard]] int BarHighlight() const noexcept { return m_barHighlight; }

    // Works a frame's menu bar, from its first item or with one menu open. The command
    // chosen goes to the frame as WM_COMMAND.
    static void TrackMenuBar(Wnd& frame, int openPosition);
    // Works a pop-up at a screen point; TrackPopupMenu's flags.
    static UINT TrackPopup(HMENU menu, UINT flags, POINT screen, Wnd& target);

private:
    MenuTracker(Wnd& target, UINT flags);
    ~MenuTracker();
    MenuTracker(const MenuTracker&) = delete;
    MenuTracker& operator=(const MenuTracker&) = delete;

    // Runs until a command is chosen or the menu is left; returns the command (0: none).
    UINT Run();
    void Handle(const InputEvent& event);
    void HandleKey(int key, bool shift);
    // Whether a key works a menu bar that has no menu open.
    [[nodiscard]] static bool IsBarKey(const InputEvent& event);
    void HandleMnemonic(char32_t letter);
    void HandleClick(POINT screen);

    void Open(HMENU menu, int positionInParent, POINT anchor, const RECT* besideBox);
    void CloseFrom(std::size_t level);
    void OpenBarMenu(int position);
    void MoveBar(int step);
    void Highlight(std::size_t level, int index);
    void Move(int step);
    void Activate(std::size_t level, int index);
    void Choose(UINT id);
    void End() noexcept { m_running = false; }
    void Select(HMENU menu, int index);

    Wnd* m_target;
    UINT m_flags;
    HMENU m_bar = nullptr;
    Wnd* m_barFrame = nullptr;
    int m_barHighlight = -1;
    std::vector<OpenPopup> m_popups;
    UINT m_chosen = 0;
    bool m_running = true;
    std::optional<InputEvent> m_replay; // an event that ends the menu and is meant for the windows
    UINT m_helpCommand = 0;             // F1 on this command's item: its topic once the menu closed
    const MenuTracker* m_outer = nullptr;
};

// The menu and help keys and the click on a menu bar, before the windows see them; true when
// the event was used up.
bool TranslateMenuInput(Wnd& active, const InputEvent& event);
// Whether the next click asks for help on what it lands on (Shift+F1).
[[nodiscard]] bool IsInHelpMode() noexcept;

} // namespace plat
