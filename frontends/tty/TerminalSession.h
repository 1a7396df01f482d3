// The terminal in the mode a full-screen program needs (curses screen, raw keys, mouse
// reports), and put back however the program ends: by the destructor, by exit(), or by a
// signal that ends it (SIGTERM, SIGINT, SIGHUP, SIGQUIT, and the crash signals SIGSEGV,
// SIGBUS, SIGFPE, SIGILL, SIGABRT), after which the signal takes its default course.
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
    // Whether the terminal changed size since the last call.
    [[nodiscard]] bool TakeResize() noexcept;
    // The terminal's size now, in columns and lines.
    void QuerySize(int& columns, int& lines) const noexcept;

private:
    TerminalSession() = default;
    bool m_open = false;
};

} // namespace tty
