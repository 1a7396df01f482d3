// The editor as a person runs it, in a terminal (tmux) with a registry and a document of
// its own, for what only a real terminal shows: keys as a terminal sends them, wide text and
// colours on its screen, its modes given back when the editor ends, is stopped or is killed
// (unsaved changes kept through SIGTERM and SIGHUP and offered again), documents refused at
// the start, the options sheet and the cell menu's lock and correction, and a document that
// a second editor in another terminal finds open.
#include "tests/examples/coordinates/StoredPoint.h"
#include "tests/examples/coordinates/SurveyDocument.h"
#include "tests/frontends/tty/TmuxSession.h"

#include "examples/coordinates/DocumentFile.h"
#include "platform/io/Files.h"

#include <gtest/gtest.h>

#include <regex>
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

} // namespace

TEST(DemoTerminalTest, APointTypedSavedAndQuitIsInTheDocument)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    TmuxSession tmux(100, 20);
    ASSERT_TRUE(tmux.Ok());
    const fs::path document = tmux.Dir() / "survey.tcd";
    StartEditor(tmux, document);
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen() << ReadTextFile(tmux.Dir() / "stderr");

    tmux.Keys("C-End Down Home Right");
    tmux.Type("新点1");
    tmux.Keys("Enter");
    tmux.Type("-36400.5");
    tmux.Keys("Enter");
    tmux.Type("-8200.25");
    tmux.Keys("Enter");
    tmux.Type("23.4");
    tmux.Keys("Enter");
    EXPECT_TRUE(tmux.Shows("新点1           -36400.500     -8200.250        23.400")) << tmux.Screen();
    tmux.Keys("C-s");
    ASSERT_TRUE(tmux.Shows("保存しました")) << tmux.Screen();
    tmux.Keys("M-e");
    EXPECT_TRUE(tmux.Shows("│  切り取り(T)                   Ctrl+X  │")) << tmux.Screen();
    tmux.Keys("Escape Escape F10 Down");
    EXPECT_TRUE(tmux.Shows("名前を付けて保存(A)...")) << tmux.Screen();
    EXPECT_TRUE(tmux.Shows(" 空の座標一覧を新しく作ります")) << "the highlighted item's prompt\n" << tmux.Screen();
    tmux.Keys("x");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
    EXPECT_EQ(tmux.Modes(), "0 0 1\n");
    EXPECT_EQ(ReadTextFile(tmux.Dir() / "after"), ReadTextFile(tmux.Dir() / "before"));
    EXPECT_TRUE(fs::exists(tmux.Dir() / "registry.sqlite3")) << "the layout went to the registry named for the run";

    TavData loaded;
    coordinates_test::LoadDocument(document, loaded);
    coordinates_test::ExpectStoredPoint(loaded, loaded.GetLastInputRecordNo(), "新点1", -36400.5, -8200.25, 23.4);
}

TEST(DemoTerminalTest, AStoppedEditorGivesTheTerminalBackAndTakesItAgainWhenContinued)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
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
    tmux.Keys("C-q");
    ASSERT_TRUE(tmux.Shows("変更を保存しますか")) << tmux.Screen();
    tmux.Keys("n");
    EXPECT_TRUE(Ended(pid));
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return tmux.Modes() == "0 0 1\n"; })) << tmux.Modes();
}

TEST(DemoTerminalTest, UnsavedChangesSurviveSigtermAndSighupAndAreOfferedAtTheNextOpen)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
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
        ASSERT_TRUE(fs::exists(tmux.Dir() / "survey.tcd.recovery")) << signal;

        fs::remove(tmux.Dir() / "after");
        StartEditor(tmux, document);
        ASSERT_TRUE(tmux.Shows("回復用コピーを読み込みますか")) << tmux.Screen();
        tmux.Keys("y");
        EXPECT_TRUE(tmux.Shows("変更点")) << tmux.Screen();
        EXPECT_TRUE(tmux.Shows("survey.tcd *")) << "recovered changes are still to be saved\n" << tmux.Screen();
        tmux.Keys("C-s");
        ASSERT_TRUE(tmux.Shows("保存しました")) << tmux.Screen();
        EXPECT_FALSE(fs::exists(tmux.Dir() / "survey.tcd.recovery")) << "saved: the copy is gone";
        tmux.Keys("C-q");
        ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
        TavData loaded;
        coordinates_test::LoadDocument(document, loaded);
        std::string name;
        ASSERT_TRUE(loaded.Get(1L, 0, name));
        EXPECT_EQ(name, "変更点");
    }
}

TEST(DemoTerminalTest, ANewerVersionsDocumentOpensAndOneWithMorePointsThanRowsIsRefusedUntouched)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    TmuxSession tmux(100, 20);
    ASSERT_TRUE(tmux.Ok());
    const fs::path newer = tmux.Dir() / "newer.tcd";
    ASSERT_FALSE(plat::WriteFileAtomically(newer, coordinates_test::SurveyDocument("newer", 5, coordinates_test::AddNewerColumn)));
    StartEditor(tmux, newer);
    ASSERT_TRUE(tmux.Shows("P5")) << tmux.Screen() << ReadTextFile(tmux.Dir() / "stderr");
    EXPECT_TRUE(tmux.Shows("点名")) << tmux.Screen();
    tmux.Keys("C-q");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
    fs::remove(tmux.Dir() / "after");

    const fs::path overlong = tmux.Dir() / "3000.tcd";
    const std::vector<std::uint8_t> bytes = coordinates_test::SurveyDocument("3000-points", 3000);
    ASSERT_FALSE(plat::WriteFileAtomically(overlong, bytes));
    StartEditor(tmux, overlong);
    ASSERT_TRUE(tmux.Shows("最大座標数を超えました。処理を終了します。")) << tmux.Screen();
    tmux.Keys("Enter");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return tmux.Screen().find("最大座標数") == std::string::npos; })) << tmux.Screen();
    EXPECT_TRUE(tmux.Shows("Ctrl+Q 終了")) << "the editor goes on, empty\n" << tmux.Screen();
    EXPECT_EQ(tmux.Screen().find("P1"), std::string::npos) << tmux.Screen();
    tmux.Keys("C-s");
    ASSERT_TRUE(tmux.Shows("ファイル名")) << "saving asks for a name rather than writing over the refused file\n" << tmux.Screen();
    tmux.Keys("Escape");
    // An Escape straight before Ctrl+Q would read as Alt+Ctrl+Q: the box goes first.
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return tmux.Screen().find("ファイル名") == std::string::npos; })) << tmux.Screen();
    tmux.Keys("C-q");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
    std::vector<std::uint8_t> after;
    ASSERT_FALSE(plat::ReadWholeFile(overlong, after));
    EXPECT_TRUE(after == bytes) << "the refused document is left as it was";
}

TEST(DemoTerminalTest, TheOptionsSheetRecoloursTheGridAtOnceAndTheColourStaysForTheNextRun)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
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
    tmux.Keys("Tab");
    tmux.Type("300");
    tmux.Keys("Enter");
    EXPECT_TRUE(tmux.Shows("0 から 255 までの整数を入力してください。")) << tmux.Screen();
    tmux.Keys("Enter");
    tmux.Type("0");
    tmux.Keys("Tab");
    tmux.Type("0");
    tmux.Keys("Tab");
    tmux.Type("255");
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

namespace {

// The screen line of a point, from its line number on.
std::string PointLine(const TmuxSession& tmux, const std::string& name)
{
    const std::string screen = tmux.Screen();
    const std::size_t at = screen.find(" " + name + " ");
    if (at == std::string::npos)
        return {};
    const std::size_t begin = screen.rfind('\n', at) + 1;
    return screen.substr(begin, screen.find('\n', at) - begin);
}

// The first coordinate shown on a point's line.
double FirstCoordinate(const std::string& line)
{
    std::smatch match;
    return std::regex_search(line, match, std::regex(R"((-?\d+\.\d{3}))")) ? std::stod(match[1]) : 0.0;
}

} // namespace

TEST(DemoTerminalTest, ALockAndACorrectionFromTheCellMenuAndTheLockBackAfterARestart)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    TmuxSession tmux(110, 24);
    ASSERT_TRUE(tmux.Ok());
    const fs::path document = tmux.Dir() / "survey.tcd";
    StartEditor(tmux, document);
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen();
    // Hatching around a locked height: the cell's blanks before the figures and after them.
    const std::regex lockedHeight(R"(\d (?:░)+\d+\.\d{3}░基準点)");
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return PointLine(tmux, "T1").find("░░░-") != std::string::npos; }))
        << "the sample's lock\n" << tmux.Screen();

    // Heights of the first three points selected; the lock goes off, then on over them.
    tmux.Keys("Right Right Right Right S-Down S-Down M-c");
    ASSERT_TRUE(tmux.Shows("✓ ｾﾙﾛｯｸ(L)")) << tmux.Screen();
    tmux.Keys("l M-c l Down Down Down");
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return std::regex_search(PointLine(tmux, "T3"), lockedHeight); })) << tmux.Screen();
    EXPECT_EQ(PointLine(tmux, "T1").find("░░░-"), std::string::npos) << "the old lock is forgotten\n" << tmux.Screen();

    // Three X coordinates raised by a metre.
    const double before = FirstCoordinate(PointLine(tmux, "T7"));
    tmux.Keys("Left Left S-Down S-Down M-c a");
    ASSERT_TRUE(tmux.Shows("数値補正")) << tmux.Screen();
    tmux.Type("1");
    tmux.Keys("Enter");
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return FirstCoordinate(PointLine(tmux, "T7")) == before + 1.0; })) << tmux.Screen();

    tmux.Keys("C-q");
    ASSERT_TRUE(tmux.Shows("変更を保存しますか")) << tmux.Screen();
    tmux.Keys("n");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
    fs::remove(tmux.Dir() / "after");
    tmux.Shell("clear");
    StartEditor(tmux, document);
    EXPECT_TRUE(TmuxSession::WaitFor([&] { return std::regex_search(PointLine(tmux, "T3"), lockedHeight); }))
        << "the lock came back with the template\n" << tmux.Screen();
    EXPECT_EQ(FirstCoordinate(PointLine(tmux, "T7")), before) << "the unsaved correction did not";
    tmux.Keys("C-q");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "after"); })) << tmux.Screen();
}

TEST(DemoTerminalTest, ADocumentNotThereYetStartsEmptyAndASecondEditorOfItIsToldItIsOpen)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    TmuxSession first(100, 20);
    TmuxSession second(100, 20);
    ASSERT_TRUE(first.Ok() && second.Ok());
    const fs::path document = first.Dir() / "new.tcd";
    using coordinates::DocumentFile;
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
    EXPECT_FALSE(fs::exists(DocumentFile::LockPath(document))) << "the lock went with the editor";
}
