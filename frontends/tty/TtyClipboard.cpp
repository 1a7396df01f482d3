// Clipboard commands run without a shell (fork and exec with pipes), their output read to
// the end; a command that fails leaves the program's own copy in charge.
#include "frontends/tty/TtyClipboard.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tty {

namespace {

bool OnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::string_view rest(path);
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        if (!dir.empty()) {
            std::error_code error;
            const std::filesystem::path candidate = std::filesystem::path(dir) / name;
            if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
                return true;
        }
        if (colon == std::string_view::npos)
            break;
        rest.remove_prefix(colon + 1);
    }
    return false;
}

// Runs the command with input on its standard input; its standard output (when captured),
// or nothing when it could not run or failed. A copy command's output is not captured: the
// owner of a selection stays behind in the background holding whatever it was given.
std::optional<std::string> Run(const std::vector<std::string>& command, std::string_view input, bool capture)
{
    if (command.empty())
        return std::nullopt;
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0)
        return std::nullopt;
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return std::nullopt;
    }
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(capture ? out[1] : devNull, 1);
        if (devNull >= 0)
            ::dup2(devNull, 2); // the terminal shows the program, not a command's complaints
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    if (pid < 0) {
        ::close(in[1]);
        ::close(out[0]);
        return std::nullopt;
    }
    // A command that stops reading must not kill us with SIGPIPE.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    std::size_t written = 0;
    while (written < input.size()) {
        const ssize_t n = ::write(in[1], input.data() + written, input.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    ::close(in[1]);
    ::sigaction(SIGPIPE, &previous, nullptr);
    std::string output;
    char buffer[4096];
    for (;;) {
        pollfd ready{out[0], POLLIN, 0};
        // A clipboard owner that never answers must not hang the program.
        const int polled = ::poll(&ready, 1, 2000);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

} // namespace

ClipboardCommands ChooseClipboardCommands(const std::function<const char*(const char*)>& getEnv,
                                          const std::function<bool(const std::string&)>& onPath)
{
    auto set = [](const char* value) { return value && *value; };
    if (set(getEnv("WAYLAND_DISPLAY")) && onPath("wl-copy") && onPath("wl-paste"))
        return {{"wl-copy"}, {"wl-paste", "--no-newline"}};
    if (set(getEnv("DISPLAY"))) {
        if (onPath("xclip"))
            return {{"xclip", "-selection", "clipboard", "-in"}, {"xclip", "-selection", "clipboard", "-out"}};
        if (onPath("xsel"))
            return {{"xsel", "--clipboard", "--input"}, {"xsel", "--clipboard", "--output"}};
    }
    if (onPath("pbcopy") && onPath("pbpaste"))
        return {{"pbcopy"}, {"pbpaste"}};
    return {};
}

ClipboardCommands ChooseClipboardCommands()
{
    return ChooseClipboardCommands([](const char* name) { return std::getenv(name); }, OnPath);
}

std::string Base64(std::string_view bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned value = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                               static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(value >> 18) & 63];
        out += kDigits[(value >> 12) & 63];
        out += kDigits[(value >> 6) & 63];
        out += kDigits[value & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned value = (static_cast<unsigned char>(bytes[i]) << 16) | (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0);
        out += kDigits[(value >> 18) & 63];
        out += kDigits[(value >> 12) & 63];
        out += two ? kDigits[(value >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string Osc52(std::string_view text) { return "\x1b]52;c;" + Base64(text) + "\x07"; }

TtyClipboard::TtyClipboard(ClipboardCommands commands, std::function<void(std::string_view)> writeTerminal)
    : m_commands(std::move(commands)), m_writeTerminal(std::move(writeTerminal))
{
}

void TtyClipboard::SetText(std::string_view text)
{
    if (Run(m_commands.copy, text, false))
        return;
    if (m_writeTerminal)
        m_writeTerminal(Osc52(text));
}

std::optional<std::string> TtyClipboard::GetText() { return Run(m_commands.paste, {}, true); }

} // namespace tty
