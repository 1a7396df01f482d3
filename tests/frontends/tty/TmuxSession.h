// A private tmux server with one shell, for tests that run a terminal program as a person
// would: type into it, read its screen, ask the terminal's state.
#pragma once

#include "tests/TemporaryFolder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

namespace tavtest {

inline std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string ReadTextFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool HaveTmux() { return std::system("command -v tmux >/dev/null 2>&1") == 0; }

class TmuxSession {
public:
    TmuxSession(int columns, int lines)
    {
        m_ok = Run("new-session -d -x " + std::to_string(columns) + " -y " + std::to_string(lines) + " sh") == 0;
    }
    ~TmuxSession() { Run("kill-server"); }
    TmuxSession(const TmuxSession&) = delete;
    TmuxSession& operator=(const TmuxSession&) = delete;

    [[nodiscard]] bool Ok() const { return m_ok; }
    // A temporary folder that goes with the session.
    [[nodiscard]] const std::filesystem::path& Dir() const { return m_folder.Path(); }

    int Run(const std::string& arguments) const
    {
        const std::string command = "tmux -S " + ShellQuote(m_socket.string()) + " " + arguments + " >/dev/null 2>&1";
        return std::system(command.c_str());
    }
    [[nodiscard]] std::string Output(const std::string& arguments) const
    {
        const std::string command = "tmux -S " + ShellQuote(m_socket.string()) + " " + arguments + " 2>/dev/null";
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[512];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
                out.append(buffer, n);
            ::pclose(pipe);
        }
        return out;
    }
    [[nodiscard]] std::string Screen() const { return Output("capture-pane -p"); }
    // "alternate-screen mouse-reporting cursor-shown", each 0 or 1.
    [[nodiscard]] std::string Modes() const { return Output("display -p '#{alternate_on} #{mouse_any_flag} #{cursor_flag}'"); }
    // Key names as tmux knows them ("Enter", "C-s", "F10").
    void Keys(const std::string& keys) const { Run("send-keys " + keys); }
    // Text typed as it is.
    void Type(const std::string& text) const { Run("send-keys -l -- " + ShellQuote(text)); }
    // Runs a shell command line in the pane.
    void Shell(const std::string& line) const { Run("send-keys " + ShellQuote(line) + " Enter"); }

    // Waits up to five seconds for the condition.
    static bool WaitFor(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 500; ++i) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return condition();
    }
    [[nodiscard]] bool Shows(const std::string& text) const
    {
        return WaitFor([&] { return Screen().find(text) != std::string::npos; });
    }

private:
    TemporaryFolder m_folder{"tavcell-tmux"};
    std::filesystem::path m_socket = m_folder / "tmux";
    bool m_ok = false;
};

} // namespace tavtest
