// The terminal driver in a real terminal (tmux): what it shows, the keys typed into it, a
// message box answered from the keyboard, a resize, and the terminal given back as it was
// when the program ends normally and when it is killed with SIGTERM.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <signal.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// A private tmux server with one shell in a 60x12 window.
class Tmux {
public:
    Tmux()
    {
        char pattern[] = "/tmp/tavcell-tty-XXXXXX";
        if (char* made = ::mkdtemp(pattern))
            m_dir = made;
        m_socket = m_dir / "tmux";
        m_ok = !m_dir.empty() && Run("new-session -d -x 60 -y 12 sh") == 0;
    }
    ~Tmux()
    {
        Run("kill-server");
        std::error_code error;
        fs::remove_all(m_dir, error);
    }
    [[nodiscard]] bool Ok() const { return m_ok; }
    [[nodiscard]] const fs::path& Dir() const { return m_dir; }

    int Run(const std::string& arguments) const
    {
        const std::string command = "tmux -S " + Quote(m_socket.string()) + " " + arguments + " >/dev/null 2>&1";
        return std::system(command.c_str());
    }
    std::string Output(const std::string& arguments) const
    {
        const std::string command = "tmux -S " + Quote(m_socket.string()) + " " + arguments + " 2>/dev/null";
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
    std::string Screen() const { return Output("capture-pane -p"); }
    // alternate screen, mouse reporting, cursor shown
    std::string Modes() const { return Output("display -p '#{alternate_on} #{mouse_any_flag} #{cursor_flag}'"); }
    void Type(const std::string& keys) const { Run("send-keys " + keys); }

    // Waits up to two seconds for the condition.
    static bool WaitFor(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 200; ++i) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return condition();
    }

private:
    fs::path m_dir;
    fs::path m_socket;
    bool m_ok = false;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts the probe in the pane between two snapshots of the terminal's modes.
void StartProbe(const Tmux& tmux)
{
    const std::string dir = tmux.Dir().string();
    tmux.Type(Quote("stty -g > " + dir + "/before; " + std::string(TAVCELL_TTY_PROBE) + " " + dir + "/pid; stty -g > " +
                    dir + "/after") +
              " Enter");
}

bool Shows(const Tmux& tmux, const std::string& text)
{
    return Tmux::WaitFor([&] { return tmux.Screen().find(text) != std::string::npos; });
}

} // namespace

TEST(TerminalTest, TheDriverShowsTypingAnswersABoxFollowsAResizeAndGivesTheTerminalBack)
{
    if (std::system("command -v tmux >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    Tmux tmux;
    ASSERT_TRUE(tmux.Ok());
    StartProbe(tmux);
    ASSERT_TRUE(Shows(tmux, "ready")) << tmux.Screen();
    EXPECT_EQ(tmux.Modes(), "1 1 1\n") << "full screen with mouse reports";

    tmux.Type("-l " + Quote("P1 座標"));
    EXPECT_TRUE(Shows(tmux, "P1 座標")) << tmux.Screen();
    tmux.Type("BSpace");
    EXPECT_TRUE(Shows(tmux, "P1 座\n")) << tmux.Screen();

    tmux.Type("F2");
    ASSERT_TRUE(Shows(tmux, "保存しますか？")) << tmux.Screen();
    EXPECT_TRUE(Shows(tmux, "[ はい(Y) ]  [ いいえ(N) ]")) << tmux.Screen();
    tmux.Type("Right Enter");
    EXPECT_TRUE(Shows(tmux, " no")) << "the box answered No\n" << tmux.Screen();

    tmux.Run("resize-window -x 50 -y 12");
    EXPECT_TRUE(Shows(tmux, "size 50")) << "the main window was resized to the terminal\n" << tmux.Screen();

    tmux.Type("F10");
    ASSERT_TRUE(Shows(tmux, "probe ended")) << tmux.Screen();
    ASSERT_TRUE(Tmux::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); }));
    EXPECT_EQ(tmux.Modes(), "0 0 1\n") << "normal screen, no mouse reports, cursor shown";
    EXPECT_EQ(ReadFile(tmux.Dir() / "after"), ReadFile(tmux.Dir() / "before")) << "the terminal's modes as they were";
}

TEST(TerminalTest, TheTerminalIsGivenBackWhenTheProgramIsKilledWithSigterm)
{
    if (std::system("command -v tmux >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    Tmux tmux;
    ASSERT_TRUE(tmux.Ok());
    StartProbe(tmux);
    ASSERT_TRUE(Shows(tmux, "ready")) << tmux.Screen();
    const fs::path pidFile = tmux.Dir() / "pid";
    ASSERT_TRUE(Tmux::WaitFor([&] { return !ReadFile(pidFile).empty(); }));
    const pid_t pid = static_cast<pid_t>(std::stol(ReadFile(pidFile)));
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    ASSERT_TRUE(Tmux::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
    EXPECT_EQ(tmux.Screen().find("probe ended"), std::string::npos) << "killed, it did not end by itself";
    EXPECT_EQ(tmux.Modes(), "0 0 1\n") << "normal screen, no mouse reports, cursor shown";
    EXPECT_EQ(ReadFile(tmux.Dir() / "after"), ReadFile(tmux.Dir() / "before")) << "the terminal's modes as they were";
}
