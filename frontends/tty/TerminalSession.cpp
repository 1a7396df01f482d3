// What a signal handler may do is little: write() and tcsetattr() are safe there, curses is
// not. So the bytes that put the terminal back (mouse reports off, attributes reset, cursor
// shown, the normal screen back) are read from terminfo when the session opens and kept in a
// fixed buffer with the saved terminal modes, for the handler to send as they are.
#define NCURSES_WIDECHAR 1
#include "frontends/tty/TerminalSession.h"

#include <ncursesw/curses.h>
#include <ncursesw/term.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tty {

namespace {

constexpr int kTerminatingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr std::size_t kSignalCount = sizeof kTerminatingSignals / sizeof kTerminatingSignals[0];

constexpr char kMouseOn[] = "\x1b[?1000h\x1b[?1006h";
constexpr char kMouseOff[] = "\x1b[?1006l\x1b[?1000l";

// The state the handlers see.
volatile std::sig_atomic_t g_active = 0;
volatile std::sig_atomic_t g_resized = 0;
termios g_savedModes;
char g_reset[512];
std::size_t g_resetLength = 0;
struct sigaction g_previous[kSignalCount];
struct sigaction g_previousWinch;
bool g_atExitRegistered = false;

void WriteAll(const char* bytes, std::size_t length) noexcept
{
    while (length > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes, length);
        if (n <= 0)
            return;
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
}

void AppendReset(const char* bytes) noexcept
{
    if (!bytes || bytes == reinterpret_cast<const char*>(-1))
        return;
    const std::size_t length = std::strlen(bytes);
    if (g_resetLength + length < sizeof g_reset) {
        std::memcpy(g_reset + g_resetLength, bytes, length);
        g_resetLength += length;
    }
}

// Safe in a signal handler.
void RestoreRaw() noexcept
{
    if (!g_active)
        return;
    g_active = 0;
    WriteAll(g_reset, g_resetLength);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedModes);
}

extern "C" void OnTerminatingSignal(int signal)
{
    RestoreRaw();
    // The handler was installed to reset itself, so this takes the signal's default course
    // (ending the process, with a core dump where that is the default).
    std::raise(signal);
}

extern "C" void OnResize(int) { g_resized = 1; }

extern "C" void RestoreAtExit() { RestoreRaw(); }

} // namespace

std::unique_ptr<TerminalSession> TerminalSession::Open(std::string* error)
{
    auto fail = [error](const char* why) {
        if (error)
            *error = why;
        return nullptr;
    };
    if (g_active)
        return fail("the terminal is in use already");
    if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO))
        return fail("standard input and output must be a terminal");
    if (::tcgetattr(STDIN_FILENO, &g_savedModes) != 0)
        return fail("the terminal's modes cannot be read");
    std::setlocale(LC_ALL, "");
    if (!::initscr())
        return fail("the terminal cannot be set up (is TERM right?)");
    ::raw(); // Ctrl+C, Ctrl+S, Ctrl+Q and Ctrl+Z come as keys, not as signals or flow control
    ::noecho();
    ::nonl();
    ::keypad(stdscr, FALSE); // keys are decoded from the bytes themselves
    if (::has_colors())
        ::start_color();

    g_resetLength = 0;
    AppendReset(kMouseOff);
    AppendReset(::tigetstr(const_cast<char*>("sgr0")));
    AppendReset(::tigetstr(const_cast<char*>("cnorm")));
    AppendReset(::tigetstr(const_cast<char*>("rmcup")));
    AppendReset(::tigetstr(const_cast<char*>("rmkx")));
    g_active = 1;

    struct sigaction action {};
    action.sa_handler = OnTerminatingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = static_cast<int>(SA_RESETHAND | SA_NODEFER);
    for (std::size_t i = 0; i < kSignalCount; ++i)
        ::sigaction(kTerminatingSignals[i], &action, &g_previous[i]);
    struct sigaction resize {};
    resize.sa_handler = OnResize;
    sigemptyset(&resize.sa_mask);
    ::sigaction(SIGWINCH, &resize, &g_previousWinch); // no SA_RESTART: a waiting poll wakes
    if (!g_atExitRegistered) {
        std::atexit(RestoreAtExit);
        g_atExitRegistered = true;
    }

    auto session = std::unique_ptr<TerminalSession>(new TerminalSession());
    session->m_open = true;
    ::refresh();
    session->WriteRaw(kMouseOn);
    return session;
}

TerminalSession::~TerminalSession() { Restore(); }

void TerminalSession::Restore()
{
    if (!m_open)
        return;
    m_open = false;
    WriteRaw(kMouseOff);
    g_active = 0; // curses puts the rest back itself
    ::endwin();
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedModes);
    for (std::size_t i = 0; i < kSignalCount; ++i)
        ::sigaction(kTerminatingSignals[i], &g_previous[i], nullptr);
    ::sigaction(SIGWINCH, &g_previousWinch, nullptr);
}

void TerminalSession::WriteRaw(std::string_view bytes) const
{
    std::fflush(stdout);
    WriteAll(bytes.data(), bytes.size());
}

bool TerminalSession::TakeResize() noexcept
{
    if (!g_resized)
        return false;
    g_resized = 0;
    return true;
}

// term.h defines "columns" and "lines" as macros, hence the names here.
void TerminalSession::QuerySize(int& width, int& height) const noexcept
{
    winsize size {};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
        width = size.ws_col;
        height = size.ws_row;
    } else {
        width = COLS;
        height = LINES;
    }
}

} // namespace tty
