// The editor as a person runs it, in a terminal (tmux) with a registry and a document of
// its own, for what only a real terminal shows: keys as a terminal sends them, wide text and
// colours on its screen, its modes given back when the editor ends, is stopped or is killed
// (unsaved changes kept through SIGTERM and SIGHUP), colours changed by the options sheet,
// and a document that a second editor in another terminal finds open.
#include "tests/examples/coordinates/StoredPoint.h"
#include "tests/examples/coordinates/SurveyDocument.h"
#include "tests/frontends/tty/TmuxSession.h"

#include "examples/coordinates/DocumentFile.h"

#include <gtest/gtest.h>

#include <signal.h>

namespace fs = std::filesystem;
using tavtest::ReadTextFile;
using tavtest::ShellQuote;
using tavtest::TmuxSession;

namespace {

// Starts the editor on the document with the session's own registry (with the sample survey
// when the document is not there yet, unless told otherwise); its process id goes to the file
// "pid", and the terminal's modes after it ends to "after", which appears whole (a test waits
// for the file, then reads it).
void StartEditor(const TmuxSession& tmux, const fs::path& document, bool sample = true)
{
    const std::string dir = tmux.Dir().string();
    tmux.Shell("stty -g > " + dir + "/before; TAVCELL_REGISTRY=" + ShellQuote(dir + "/registry.sqlite3") +
               " XDG_CONFIG_HOME=" + ShellQuote(dir) + " sh -c 'echo $$ > " + dir + "/pid; exec " +
               std::string(TAVCELL_COORDINATES) + " --tty" + (sample ? " --sample" : "") + " \"$0\"' " +
               ShellQuote(document.string()) + " 2>" + dir +
               "/stderr; stty -g > " + dir + "/after.part; mv " + dir + "/after.part " + dir + "/after");
}

pid_t EditorPid(const TmuxSession& tmux)
{
    const fs::path pidFile = tmux.Dir() / "pid";
    if (!TmuxSession::WaitFor([&] { return !ReadTextFile(pidFile).empty(); }))
        return 0;
    return static_cast<pid_t>(std::stol(ReadTextFile(pidFile)));
}

bool Ended(pid_t pid)
{
    return TmuxSession::WaitFor([&] { return ::kill(pid, 0) != 0; });
}

// Leaves the editor with Ctrl+Q, keeping no changes to the sample when it asks.
void Quit(const TmuxSession& tmux)
{
    const pid_t pid = EditorPid(tmux);
    tmux.Keys("C-q");
    const auto asked = [&] { return tmux.Screen().find("変更を保存しますか") != std::string::npos; };
    if (TmuxSession::WaitFor([&] { return ::kill(pid, 0) != 0 || asked(); }) && asked())
        tmux.Keys("n");
    EXPECT_TRUE(Ended(pid)) << tmux.Screen();
}

class DemoTerminalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!tavtest::HaveTmux())
            GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    }
};

} // namespace

TEST_F(DemoTerminalTest, APointTypedSavedAndQuitIsInTheDocument)
{
    TmuxSession tmux(100, 20);
    ASSERT_TRUE(tmux.Ok());
    const fs::path document = tmux.Dir() / "survey.tcd";
    StartEditor(tmux, document);
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen() << ReadTextFile(tmux.Dir() / "stderr");

    tmux.Keys("C-End Down Home Right");
    for (const char* field : {"新点1", "-36400.5", "-8200.25", "23.4"}) {
        tmux.Type(field);
        tmux.Keys("Enter");
    }
    EXPECT_TRUE(tmux.Shows("新点1           -36400.500     -8200.250        23.400")) << tmux.Screen();
    tmux.Keys("C-s");
    ASSERT_TRUE(tmux.Shows("保存しました")) << tmux.Screen();
    tmux.Keys("C-q");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
    EXPECT_EQ(tmux.Modes(), "0 0 1\n");
    EXPECT_EQ(ReadTextFile(tmux.Dir() / "after"), ReadTextFile(tmux.Dir() / "before"));
    EXPECT_TRUE(fs::exists(tmux.Dir() / "registry.sqlite3")) << "the layout went to the registry named for the run";

    TavData loaded;
    coordinates_test::LoadDocument(document, loaded);
    coordinates_test::ExpectStoredPoint(loaded, loaded.GetLastInputRecordNo(), "新点1", -36400.5, -8200.25, 23.4);
}

TEST_F(DemoTerminalTest, AStoppedEditorGivesTheTerminalBackAndTakesItAgainWhenContinued)
{
    TmuxSession tmux(100, 20);
    ASSERT_TRUE(tmux.Ok());
    StartEditor(tmux, tmux.Dir() / "survey.tcd");
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen();
    const pid_t pid = EditorPid(tmux);
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(pid, SIGTSTP), 0);
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return tmux.Modes() == "0 0 1\n"; }))
        << "stopped: normal screen, no mouse reports, cursor shown: " << tmux.Modes();
    ASSERT_TRUE(tmux.Shows("Stopped")) << tmux.Screen();

    tmux.Shell("clear; fg");
    EXPECT_TRUE(tmux.Shows(" 座標一覧 - survey.tcd")) << "drawn anew\n" << tmux.Screen();
    EXPECT_EQ(tmux.Modes().substr(0, 3), "1 1") << "the editor's screen and its mouse reports again";
    tmux.Keys("Down Right");
    tmux.Type("再開");
    tmux.Keys("Enter");
    EXPECT_TRUE(tmux.Shows("再開")) << "keys come raw again\n" << tmux.Screen();
    Quit(tmux);
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return tmux.Modes() == "0 0 1\n"; })) << tmux.Modes();
}

TEST_F(DemoTerminalTest, UnsavedChangesSurviveSigtermAndSighupInARecoveryCopy)
{
    for (const int signal : {SIGTERM, SIGHUP}) {
        TmuxSession tmux(100, 20);
        ASSERT_TRUE(tmux.Ok());
        const fs::path document = tmux.Dir() / "survey.tcd";
        StartEditor(tmux, document);
        ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen();
        tmux.Keys("Right");
        tmux.Type("変更点");
        tmux.Keys("Enter");
        ASSERT_TRUE(tmux.Shows("survey.tcd *")) << tmux.Screen();
        const pid_t pid = EditorPid(tmux);
        ASSERT_GT(pid, 0);
        ASSERT_EQ(::kill(pid, signal), 0);
        ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
        EXPECT_TRUE(Ended(pid));
        EXPECT_EQ(tmux.Modes(), "0 0 1\n") << signal;
        EXPECT_EQ(ReadTextFile(tmux.Dir() / "after"), ReadTextFile(tmux.Dir() / "before"));
        EXPECT_FALSE(fs::exists(document)) << "the document itself is written only when the person saves";
        TavData recovered;
        coordinates_test::LoadDocument(tmux.Dir() / "survey.tcd.recovery", recovered);
        std::string name;
        EXPECT_TRUE(recovered.Get(1L, 0, name)) << "the first point's name";
        EXPECT_EQ(name, "変更点") << signal;
    }
}

TEST_F(DemoTerminalTest, TheOptionsSheetRecoloursTheGridAtOnceAndTheColourStaysForTheNextRun)
{
    TmuxSession tmux(100, 40);
    ASSERT_TRUE(tmux.Ok());
    const fs::path document = tmux.Dir() / "survey.tcd";
    StartEditor(tmux, document);
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen();
    // The first point's line as the terminal shows it, colours included: its cells are locked.
    const auto firstLine = [&] {
        const std::string screen = tmux.Output("capture-pane -p -e");
        const std::size_t at = screen.find("T1");
        const std::size_t start = screen.rfind('\n', at) + 1;
        return at == std::string::npos ? std::string() : screen.substr(start, screen.find('\n', at) - start);
    };
    const std::string before = firstLine();

    tmux.Keys("M-t");
    ASSERT_TRUE(tmux.Shows("オプション(O)...")) << tmux.Screen();
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.Shows("│ [ｾﾙ]")) << "the sheet's tab row\n" << tmux.Screen();
    EXPECT_TRUE(tmux.Shows("<    OK    > [キャンセル] [ 適用(A)  ]")) << tmux.Screen();
    tmux.Keys("M-l");
    ASSERT_TRUE(tmux.Shows("基本色(B):")) << tmux.Screen();
    for (const char* part : {"0", "0", "255"}) { // red, green, blue
        tmux.Keys("Tab");
        tmux.Type(part);
    }
    tmux.Keys("Enter");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return tmux.Screen().find("基本色(B):") == std::string::npos; }));
    EXPECT_EQ(firstLine(), before) << "nothing changes before the sheet applies";
    tmux.Keys("M-a");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return firstLine() != before; })) << "the grid repaints at once";
    const std::string applied = firstLine();
    tmux.Keys("Enter");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return tmux.Screen().find("[ｾﾙ]") == std::string::npos; }));
    Quit(tmux);
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); }));

    fs::remove(tmux.Dir() / "after");
    fs::remove(tmux.Dir() / "pid");
    StartEditor(tmux, document);
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen();
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return firstLine() == applied; })) << "the stored colour, in the next run";
    Quit(tmux);
}

TEST_F(DemoTerminalTest, ADocumentNotThereYetStartsEmptyAndASecondEditorOfItIsToldItIsOpen)
{
    TmuxSession first(100, 20);
    TmuxSession second(100, 20);
    ASSERT_TRUE(first.Ok() && second.Ok());
    const fs::path document = first.Dir() / "new.tcd";
    StartEditor(first, document, false);
    ASSERT_TRUE(first.Shows("座標一覧 - new.tcd")) << first.Screen() << ReadTextFile(first.Dir() / "stderr");
    EXPECT_EQ(first.Screen().find("T1"), std::string::npos) << "no sample survey\n" << first.Screen();
    first.Keys("C-s");
    ASSERT_TRUE(first.Shows("保存しました")) << first.Screen();

    StartEditor(second, document);
    EXPECT_TRUE(second.Shows("ほかの座標一覧でも開かれています")) << second.Screen();
    second.Keys("Enter");
    Quit(second);
    Quit(first);
    EXPECT_FALSE(fs::exists(coordinates::DocumentFile::LockPath(document))) << "the lock went with the editor";
}
