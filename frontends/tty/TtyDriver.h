// The terminal driver: shows the window tree in a terminal through ncursesw and takes the
// person's keys and mouse clicks from it. Colours are the windows' own where the terminal
// has direct colour, else the nearest it has; message boxes are drawn over the windows and
// answered from the keyboard; the system clipboard is reached as TtyClipboard says. A signal
// that asks the program to end, or the terminal going away, has the unsaved work kept first.
#pragma once

#include "frontends/tty/ColorMap.h"
#include "frontends/tty/KeyDecoder.h"
#include "frontends/tty/TerminalSession.h"
#include "frontends/tty/TtyClipboard.h"
#include "platform/ui/App.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Renderer.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

namespace tty {

class TtyDriver : public plat::Driver {
public:
    // Takes over the terminal; null, with the reason, when there is none.
    [[nodiscard]] static std::unique_ptr<TtyDriver> Open(std::string* error);
    ~TtyDriver() override;
    TtyDriver(const TtyDriver&) = delete;
    TtyDriver& operator=(const TtyDriver&) = delete;

    std::optional<plat::InputEvent> NextEvent() override;
    int MessageBox(plat::Wnd* owner, const std::string& text, const std::string& caption, plat::UINT style) override;
    [[nodiscard]] bool IsKeyDown(int virtualKey) const override;
    [[nodiscard]] plat::SIZE ScreenSize() const override;
    void ReleaseForExit() noexcept override { Close(); }

    // Gives the terminal back (the destructor does it too).
    void Close();

private:
    explicit TtyDriver(std::unique_ptr<TerminalSession> session);
    // Paints the windows (and the box, if any) and shows them.
    void Show(const plat::MessageBoxView* box);
    void Flush();
    // Waits for input (or a signal) and decodes it into m_events; false when the input has
    // ended, upon which the unsaved work is kept as on a hangup.
    bool Read();
    // What signals asked for, at a safe point between events: an end request keeps the
    // unsaved work (the application's recovery writer), gives the terminal back and ends the
    // program by the same signal; a resize or a continue draws the screen anew.
    void HandleSignals();
    [[noreturn]] void EndOnSignal(int signal);
    // The terminal changed size: the main window is made to fill it, and lays out its
    // children on WM_SIZE.
    void Resized();
    int Pair(plat::COLORREF fg, plat::COLORREF bg);

    std::unique_ptr<TerminalSession> m_session;
    TtyClipboard m_clipboard;
    plat::Renderer m_renderer;
    plat::Canvas m_canvas;
    KeyDecoder m_decoder;
    DoubleClickDetector m_clicks;
    std::deque<plat::InputEvent> m_events;
    plat::InputEvent m_current;
    ColorDepth m_depth = ColorDepth::Colors8;
    bool m_colors = false;
    std::unordered_map<std::uint64_t, int> m_pairs;
    int m_nextPair = 1;
    bool m_inputEnded = false;
};

} // namespace tty
