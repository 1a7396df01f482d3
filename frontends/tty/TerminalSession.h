// The terminal in the mode a full-screen program needs (curses screen, raw keys, mouse
// reports), and put back however the program ends: by the destructor, by exit(), or by a
// signal that ends it (SIGQUIT and the crash signals SIGSEGV, SIGBUS, SIGFPE, SIGILL,
// SIGABRT), after which the signal takes its default course. SIGTERM, SIGINT and SIGHUP ask
// the program to end: they are only noted, for the program to keep its work at a safe point
// and end (a second one ends it at once). SIGTSTP gives the terminal back whole before the
// program stops, and SIGCONT takes it again and has the screen drawn anew.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tty {

class TerminalSession {
public:
    // Null, with the reason, when standard input and output are not a terminal or one is
    // open already.
    [[nodiscard]] static std::unique_ptr<TerminalSession> Open(std::string* error);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Puts the terminal back now (the destructor does it too).
    void Restore();
    // Bytes for the terminal itself, past curses (mode switches, OSC 52).
    void WriteRaw(std::string_view bytes) const;
    // Whether the screen must be drawn anew since the last call: the terminal changed size,
    // or the program was continued after a stop.
    [[nodiscard]] bool TakeResize() noexcept;
    // The signal that asked the program to end (SIGTERM, SIGINT, SIGHUP), or 0.
    [[nodiscard]] int EndRequest() const noexcept;
    // Readable whenever a signal wants the program's attention, so that a wait for input
    // also wakes for it (checking a flag before waiting would miss a signal that comes just
    // then); DrainWake empties it.
    [[nodiscard]] int WakeDescriptor() const noexcept;
    void DrainWake() const noexcept;
    // Ends the program by the signal's default course, as if no handler had taken it; safe
    // in a signal handler.
    [[noreturn]] static void EndBySignal(int signal) noexcept;
    // The terminal's size now, in columns and lines.
    void QuerySize(int& columns, int& lines) const noexcept;

private:
    TerminalSession() = default;
    bool m_open = false;
};

} // namespace tty
