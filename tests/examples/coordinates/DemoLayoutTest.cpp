// The layout commands as a person uses them in the editor, in a terminal (tmux): a column
// hidden and another moved with the item change dialog, the layout saved under a name,
// switching between two named layouts, both exported to a folder, and imported by a second
// run with a registry of its own.
#include "tests/frontends/tty/TmuxSession.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using tavtest::ReadTextFile;
using tavtest::ShellQuote;
using tavtest::TmuxSession;

namespace {

// The editor on a document with the named registry file, the session's folder as its home
// (where the transfer stages its files); the file "ended" appears when it has ended.
void StartEditor(const TmuxSession& tmux, const std::string& registry)
{
    const std::string dir = tmux.Dir().string();
    fs::remove(tmux.Dir() / "ended");
    tmux.Shell("HOME=" + ShellQuote(dir) + " TAVCELL_REGISTRY=" + ShellQuote(dir + "/" + registry) +
               " XDG_CONFIG_HOME=" + ShellQuote(dir) + " " + std::string(TAVCELL_COORDINATES) + " --tty --sample " +
               ShellQuote(dir + "/survey.tcd") + " 2>" + dir + "/stderr; touch " + dir + "/ended");
}

// Waits for a text to go, so that the next key is not read together with an Escape.
bool Gone(const TmuxSession& tmux, const std::string& text)
{
    return TmuxSession::WaitFor([&] { return tmux.Screen().find(text) == std::string::npos; });
}

// The column headings line of the grid.
std::string Headings(const TmuxSession& tmux)
{
    const std::string screen = tmux.Screen();
    const std::size_t start = screen.find(" No.");
    return start == std::string::npos ? std::string() : screen.substr(start, screen.find('\n', start) - start);
}

} // namespace

TEST(DemoLayoutTest, ColumnsChangedSavedSwitchedExportedAndImportedByKeys)
{
    if (!tavtest::HaveTmux())
        GTEST_SKIP() << "tmux is not installed (./run setup installs it)";
    TmuxSession tmux(110, 40);
    ASSERT_TRUE(tmux.Ok());
    const fs::path out = tmux.Dir() / "out";
    fs::create_directories(out);
    StartEditor(tmux, "first.sqlite3");
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen() << ReadTextFile(tmux.Dir() / "stderr");
    EXPECT_NE(Headings(tmux).find("点番"), std::string::npos);

    // ｾﾙ > 項目変更: 点番 out, X座標 after Y座標.
    tmux.Keys("M-c h");
    ASSERT_TRUE(tmux.Shows("項目の変更")) << tmux.Screen();
    tmux.Keys("M-o M-r Down M-d Enter");
    ASSERT_TRUE(Gone(tmux, "項目の変更")) << tmux.Screen();
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return Headings(tmux).find("点番") == std::string::npos; })) << tmux.Screen();
    EXPECT_LT(Headings(tmux).find("Y座標"), Headings(tmux).find("X座標")) << Headings(tmux);

    // ｾﾙ > ﾃﾝﾌﾟﾚｰﾄ: registered as 短縮, then 標準 loaded, then 短縮 again.
    tmux.Keys("M-c e");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄ管理 - 標準")) << tmux.Screen();
    EXPECT_TRUE(tmux.Shows("▦ 標準")) << "the template mark\n" << tmux.Screen();
    tmux.Keys("M-a");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄの登録")) << tmux.Screen();
    tmux.Type("短縮");
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄ管理 - 短縮")) << tmux.Screen();
    tmux.Keys("Up M-r");
    ASSERT_TRUE(Gone(tmux, "ﾃﾝﾌﾟﾚｰﾄ管理")) << tmux.Screen();
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return Headings(tmux).find("点番") != std::string::npos; })) << tmux.Screen();
    tmux.Keys("M-c e");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄ管理 - 標準")) << tmux.Screen();
    // The list has no focused entry yet: the first Down goes to the first one.
    tmux.Keys("Down Down M-r");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return Headings(tmux).find("点番") == std::string::npos; })) << tmux.Screen();

    // ﾃﾞｰﾀ転送: both to the folder.
    tmux.Keys("M-c e");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄ管理 - 短縮")) << tmux.Screen();
    tmux.Keys("M-f");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄ管理 - ﾃﾞｰﾀ転送")) << tmux.Screen();
    tmux.Keys("M-p");
    tmux.Type(out.string());
    tmux.Keys("Tab M-a M-s");
    ASSERT_TRUE(tmux.Shows("すべてのﾃﾝﾌﾟﾚｰﾄを" + out.string() + "に転送します。")) << tmux.Screen();
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.Shows("処理を続行しますか？")) << tmux.Screen();
    tmux.Keys("Enter");
    ASSERT_TRUE(Gone(tmux, "処理を続行しますか？")) << tmux.Screen();
    const fs::path folder = out / "QuWinSet" / "Cell Template" / "Coordinates";
    for (const char* file : {"CELL00.mbf", "CELL01.mbf", "CELL02.mbf"})
        EXPECT_TRUE(fs::exists(folder / file)) << file;
    tmux.Keys("Escape");
    ASSERT_TRUE(Gone(tmux, "ﾃﾝﾌﾟﾚｰﾄ管理 - ﾃﾞｰﾀ転送")) << tmux.Screen();
    tmux.Keys("Escape");
    ASSERT_TRUE(Gone(tmux, "ﾃﾝﾌﾟﾚｰﾄ管理")) << tmux.Screen();
    tmux.Keys("C-q");
    ASSERT_TRUE(tmux.Shows("変更を保存しますか")) << tmux.Screen();
    tmux.Keys("n");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "ended"); })) << tmux.Screen();

    // A second run on a registry of its own knows only 標準 until it imports both.
    tmux.Shell("clear");
    StartEditor(tmux, "second.sqlite3");
    ASSERT_TRUE(tmux.Shows("T1")) << tmux.Screen() << ReadTextFile(tmux.Dir() / "stderr");
    EXPECT_NE(Headings(tmux).find("点番"), std::string::npos);
    tmux.Keys("M-c e");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄ管理 - 標準")) << tmux.Screen();
    EXPECT_EQ(tmux.Screen().find("短縮"), std::string::npos);
    tmux.Keys("M-f");
    ASSERT_TRUE(tmux.Shows("ﾃﾝﾌﾟﾚｰﾄ管理 - ﾃﾞｰﾀ転送")) << tmux.Screen();
    tmux.Keys("M-p");
    tmux.Type(out.string());
    tmux.Keys("Tab");
    ASSERT_TRUE(tmux.Shows("▦ 短縮")) << "the destination's index\n" << tmux.Screen();
    tmux.Keys("M-a M-l");
    ASSERT_TRUE(tmux.Shows("から転送します。")) << tmux.Screen();
    tmux.Keys("Enter");
    ASSERT_TRUE(tmux.Shows("すでに書き込まれています")) << "標準 is there already\n" << tmux.Screen();
    tmux.Keys("Enter");
    ASSERT_TRUE(Gone(tmux, "すでに書き込まれています")) << tmux.Screen();
    tmux.Keys("Escape");
    ASSERT_TRUE(Gone(tmux, "ﾃﾝﾌﾟﾚｰﾄ管理 - ﾃﾞｰﾀ転送")) << tmux.Screen();
    ASSERT_TRUE(tmux.Shows("▦ 短縮")) << "the management list is filled again\n" << tmux.Screen();
    tmux.Keys("Down Down M-r");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return Headings(tmux).find("点番") == std::string::npos; })) << tmux.Screen();
    EXPECT_LT(Headings(tmux).find("Y座標"), Headings(tmux).find("X座標")) << Headings(tmux);
    tmux.Keys("C-q");
    ASSERT_TRUE(tmux.Shows("変更を保存しますか")) << tmux.Screen();
    tmux.Keys("n");
    ASSERT_TRUE(TmuxSession::WaitFor([&] { return fs::exists(tmux.Dir() / "ended"); })) << tmux.Screen();
}
