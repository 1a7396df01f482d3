// What a signal handler may do is little: write(), tcsetattr(), sigaction() and raise() are
// safe there, curses is not. So the bytes that put the terminal back (mouse reports off,
// attributes reset, cursor shown, the normal screen back) and those that take it again are
// read from terminfo when the session opens and kept in fixed buffers with the saved terminal
// modes, for the handlers to send as they are. Everything else a signal asks for is a flag
// and a byte down a pipe, for the program's own loop.
#define NCURSES_WIDECHAR 1
#include "frontends/tty/TerminalSession.h"

#include <ncursesw/curses.h>
#include <ncursesw/term.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tty {

namespace {

constexpr int kTerminatingSignals[] = {SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr std::size_t kSignalCount = sizeof kTerminatingSignals / sizeof kTerminatingSignals[0];
constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr std::size_t kEndSignalCount = sizeof kEndSignals / sizeof kEndSignals[0];

constexpr char kMouseOn[] = "\x1b[?1000h\x1b[?1006h";
constexpr char kMouseOff[] = "\x1b[?1006l\x1b[?1000l";

// The state the handlers see.
volatile std::sig_atomic_t g_active = 0;
volatile std::sig_atomic_t g_resized = 0;
volatile std::sig_atomic_t g_endRequest = 0;
termios g_savedModes;
termios g_programModes;
char g_reset[512];
std::size_t g_resetLength = 0;
char g_resume[128];
std::size_t g_resumeLength = 0;
int g_wake[2] = {-1, -1};
struct sigaction g_previous[kSignalCount];
struct sigaction g_previousEnd[kEndSignalCount];
struct sigaction g_previousWinch;
struct sigaction g_previousStop;
struct sigaction g_previousContinue;
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

template <std::size_t N>
void Append(char (&buffer)[N], std::size_t& used, const char* bytes) noexcept
{
    if (!bytes || bytes == reinterpret_cast<const char*>(-1))
        return;
    const std::size_t length = std::strlen(bytes);
    if (used + length < N) {
        std::memcpy(buffer + used, bytes, length);
        used += length;
    }
}

void AppendReset(const char* bytes) noexcept { Append(g_reset, g_resetLength, bytes); }

// Safe in a signal handler.
void Wake() noexcept
{
    if (g_wake[1] >= 0) {
        const int savedErrno = errno;
        const char byte = 1;
        static_cast<void>(::write(g_wake[1], &byte, 1)); // a full pipe is awake already
        errno = savedErrno;
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

extern "C" void OnEndRequest(int signal)
{
    if (g_endRequest != 0) {
        // Asked twice: the program did not get to its safe point, so it ends now.
        RestoreRaw();
        TerminalSession::EndBySignal(signal);
    }
    g_endRequest = signal;
    Wake();
}

// A new size, or continued after a stop (however it was stopped): the screen is drawn anew.
extern "C" void OnRedraw(int)
{
    g_resized = 1;
    Wake();
}

// Stops the program as SIGTSTP would, with the terminal given back while it is stopped and
// taken again when it continues.
extern "C" void OnStop(int)
{
    const int savedErrno = errno;
    const bool active = g_active != 0;
    if (active) {
        WriteAll(g_reset, g_resetLength);
        ::tcsetattr(STDIN_FILENO, TCSADRAIN, &g_savedModes);
    }
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    struct sigaction mine {};
    ::sigaction(SIGTSTP, &stop, &mine);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTSTP);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(SIGTSTP); // the program stops here until SIGCONT
    ::sigprocmask(SIG_BLOCK, &set, nullptr);
    ::sigaction(SIGTSTP, &mine, nullptr);
    if (active && g_active) {
        ::tcsetattr(STDIN_FILENO, TCSADRAIN, &g_programModes);
        WriteAll(g_resume, g_resumeLength);
    }
    g_resized = 1;
    Wake();
    errno = savedErrno;
}

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
    g_resumeLength = 0;
    Append(g_resume, g_resumeLength, ::tigetstr(const_cast<char*>("smcup")));
    Append(g_resume, g_resumeLength, kMouseOn);
    ::tcgetattr(STDIN_FILENO, &g_programModes);
    if (g_wake[0] < 0 && ::pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        g_wake[0] = g_wake[1] = -1;
    g_endRequest = 0;
    g_active = 1;

    struct sigaction action {};
    action.sa_handler = OnTerminatingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = static_cast<int>(SA_RESETHAND | SA_NODEFER);
    for (std::size_t i = 0; i < kSignalCount; ++i)
        ::sigaction(kTerminatingSignals[i], &action, &g_previous[i]);
    // None has SA_RESTART: a waiting poll wakes (the pipe wakes it too).
    auto install = [](int signal, void (*handler)(int), struct sigaction* previous) {
        struct sigaction entry {};
        entry.sa_handler = handler;
        sigemptyset(&entry.sa_mask);
        ::sigaction(signal, &entry, previous);
    };
    for (std::size_t i = 0; i < kEndSignalCount; ++i)
        install(kEndSignals[i], OnEndRequest, &g_previousEnd[i]);
    install(SIGWINCH, OnRedraw, &g_previousWinch);
    install(SIGTSTP, OnStop, &g_previousStop);
    install(SIGCONT, OnRedraw, &g_previousContinue);
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
    for (std::size_t i = 0; i < kEndSignalCount; ++i)
        ::sigaction(kEndSignals[i], &g_previousEnd[i], nullptr);
    ::sigaction(SIGWINCH, &g_previousWinch, nullptr);
    ::sigaction(SIGTSTP, &g_previousStop, nullptr);
    ::sigaction(SIGCONT, &g_previousContinue, nullptr);
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

void TerminalSession::EndBySignal(int signal) noexcept
{
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal); // a signal whose default is to go on
}

int TerminalSession::EndRequest() const noexcept { return g_endRequest; }

int TerminalSession::WakeDescriptor() const noexcept { return g_wake[0]; }

void TerminalSession::DrainWake() const noexcept
{
    char bytes[64];
    while (g_wake[0] >= 0 && ::read(g_wake[0], bytes, sizeof bytes) > 0) {
    }
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
