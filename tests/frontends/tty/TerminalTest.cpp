// The terminal driver in a real terminal (tmux): what it shows, keys typed into it, a resize, and
// the terminal given back as it was however the program ends (normally, killed, crashed).
#include "tests/frontends/tty/TmuxSession.h"

#include <gtest/gtest.h>

#include <signal.h>

namespace fs = std::filesystem;
using tavtest::ReadTextFile;
using tavtest::TmuxSession;

namespace {

// Starts the probe in the pane between two snapshots of the terminal's modes and waits until
// it is up; the second snapshot appears whole, so a test may read it as soon as it exists.
bool StartProbe(const TmuxSession& tmux)
{
    const std::string dir = tmux.Dir().string();
    tmux.Shell("stty -g > " + dir + "/before; " + std::string(TAVCELL_TTY_PROBE) + " " + dir + "/pid; stty -g > " + dir +
               "/after.part; mv " + dir + "/after.part " + dir + "/after");
    return tmux.Shows("ready");
}

class TerminalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!tavtest::HaveTmux())
            GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    }
};

} // namespace

TEST_F(TerminalTest, TheDriverShowsTypingAnswersABoxFollowsAResizeAndGivesTheTerminalBack)
{
    TmuxSession tmux(60, 12);
    ASSERT_TRUE(tmux.Ok() && StartProbe(tmux)) << tmux.Screen();
    EXPECT_EQ(tmux.Modes(), "1 1 1\n") << "full screen with mouse reports";

    tmux.Type("P1 座標");
    EXPECT_TRUE(tmux.Shows("P1 座標")) << tmux.Screen();
    tmux.Keys("BSpace");
    EXPECT_TRUE(tmux.Shows("P1 座\n")) << tmux.Screen();

    tmux.Keys("F2");
    ASSERT_TRUE(tmux.Shows("保存しますか？")) << tmux.Screen();
    tmux.Keys("Right Enter");
    EXPECT_TRUE(tmux.Shows(" no")) << "the box answered No\n" << tmux.Screen();

    tmux.Run("resize-window -x 50 -y 12");
    EXPECT_TRUE(tmux.Shows("size 50")) << "the main window was resized to the terminal\n" << tmux.Screen();

    tmux.Keys("F10");
    ASSERT_TRUE(tmux.Shows("probe ended")) << tmux.Screen();
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); }));
    EXPECT_EQ(tmux.Modes(), "0 0 1\n") << "normal screen, no mouse reports, cursor shown";
    EXPECT_EQ(ReadTextFile(tmux.Dir() / "after"), ReadTextFile(tmux.Dir() / "before")) << "the terminal's modes as they were";
}

TEST_F(TerminalTest, ADialogOpenWhileTheTerminalShrinksKeepsItsButtonsInSight)
{
    TmuxSession tmux(60, 12);
    ASSERT_TRUE(tmux.Ok() && StartProbe(tmux)) << tmux.Screen();
    tmux.Keys("F3");
    ASSERT_TRUE(tmux.Shows("[ 取消  ]")) << tmux.Screen();
    tmux.Run("resize-window -x 52 -y 12");
    EXPECT_TRUE(tmux.Shows("[ 取消  ]  │\n")) << "the dialog's right end and box are on the screen\n" << tmux.Screen();
    tmux.Keys("Enter");
    EXPECT_TRUE(tmux.Shows("dialog ok")) << tmux.Screen();
}

TEST_F(TerminalTest, TheTerminalIsGivenBackWhenTheProgramIsKilledOrCrashes)
{
    // SIGINT comes from kill, not from Ctrl+C: the terminal is raw, and Ctrl+C copies.
    for (const int signal : {SIGTERM, SIGINT, 0}) {
        const bool crash = signal == 0;
        SCOPED_TRACE(crash ? "a crash" : signal == SIGTERM ? "SIGTERM" : "SIGINT");
        TmuxSession tmux(60, 12);
        ASSERT_TRUE(tmux.Ok());
        tmux.Shell("ulimit -c 0"); // no core file from the crash
        ASSERT_TRUE(StartProbe(tmux)) << tmux.Screen();
        const fs::path pidFile = tmux.Dir() / "pid";
        ASSERT_TRUE(TmuxSession::WaitFor([&] { return !ReadTextFile(pidFile).empty(); }));
        const auto pid = static_cast<pid_t>(std::stol(ReadTextFile(pidFile)));
        if (crash)
            tmux.Keys("F9");
        else
            ASSERT_EQ(::kill(pid, signal), 0);
        ASSERT_TRUE(TmuxSession::WaitFor([&] { return ::kill(pid, 0) != 0; })) << tmux.Screen();
        // A shell drops the rest of a command line whose program died of SIGINT.
        tmux.Shell("stty -g > " + (tmux.Dir() / "after").string());
        ASSERT_TRUE(TmuxSession::WaitFor([&] { return !ReadTextFile(tmux.Dir() / "after").empty(); })) << tmux.Screen();
        EXPECT_EQ(tmux.Screen().find("probe ended"), std::string::npos) << "it did not end by itself";
        EXPECT_EQ(tmux.Modes(), "0 0 1\n") << "normal screen, no mouse reports, cursor shown";
        EXPECT_EQ(ReadTextFile(tmux.Dir() / "after"), ReadTextFile(tmux.Dir() / "before")) << "the terminal's modes as they were";
    }
}
