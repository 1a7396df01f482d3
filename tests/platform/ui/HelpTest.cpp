// Help: F1 and a help-mode click open the topic of the window asked; a missing topic and a missing
// or damaged help file are said so plainly.
#include "platform/ui/Help.h"

#include "platform/ui/Frames.h"
#include "platform/ui/Renderer.h"
#include "tests/TemporaryFolder.h"
#include "tests/platform/ui/HeadlessAppTest.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace plat;

namespace {

constexpr DWORD kPointTopic = 0x20001;
constexpr DWORD kGridTopic = 0x20002;

class HelpChild : public Wnd {
public:
    DWORD topic = kPointTopic;
    std::vector<POINT> hitTests;
    LRESULT OnCommandHelp(WPARAM, LPARAM)
    {
        GetApp()->WinHelp(topic, HELP_CONTEXT);
        return TRUE;
    }
    LRESULT OnHelpHitTest(WPARAM, LPARAM lParam)
    {
        hitTests.push_back(POINT{static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                                 static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)))});
        return kGridTopic;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpChild, Wnd)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

struct HelpFixture : tavtest::HeadlessAppTest {
    HelpFixture()
    {
        app.SetHelpFilePath(helpFile);
        frame.Create("Frame", "試験", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
        child.Create("Child", "", WS_CHILD | WS_VISIBLE, frame.GetContentRect(), &frame, 1);
        child.SetFocus();
        app.SetMainWnd(&frame);
    }
    void Write(const std::string& text) { std::ofstream(helpFile, std::ios::binary) << text; }

    tavtest::TemporaryFolder folder{"tavcell-help"};
    std::filesystem::path helpFile = folder / "test.help";
    FrameWnd frame;
    HelpChild child;
};

const char kHelp[] = "# 試験のヘルプ\n"
                     "\n"
                     "[0x20001] 点番号\n"
                     "点の番号です。\n"
                     "一から順に付けます。\n"
                     "\n"
                     "[131074] 格子\n"
                     "格子の説明。\n";

} // namespace

TEST_F(HelpFixture, F1AndAHelpModeClickOpenTheTopicOfTheWindowAndAMissingTopicSaysSo)
{
    Write(kHelp);
    std::vector<std::pair<std::string, std::string>> shown;
    driver.OnEveryDialog([&](DialogOperator& person) {
        shown.emplace_back(person.Caption(), person.Text(HelpWindow::kTextId));
        person.Key(VK_DOWN); // scrolling is no way out
        EXPECT_TRUE(person.IsOpen());
        person.Escape();
        EXPECT_FALSE(person.IsOpen()) << "Escape closes the help window";
    });
    driver.PushKey(VK_F1);
    driver.PushKey(VK_F1, true);        // help mode: the next click asks what is under it
    driver.PushClick(POINT{40, 5 * 16}); // the child, from the frame's second line
    app.Run();
    child.topic = 77;
    driver.PushKey(VK_F1);
    app.Run();

    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], (std::pair<std::string, std::string>{"点番号", "点の番号です。\n一から順に付けます。"}));
    EXPECT_EQ(shown[1].first, "格子");
    ASSERT_EQ(child.hitTests.size(), 1u);
    POINT inChild{40, 5 * 16};
    child.ScreenToClient(&inChild);
    EXPECT_EQ(child.hitTests[0], inChild) << "the point in the child's own coordinates";
    EXPECT_NE(shown[2].second.find("ヘルプ番号 77 (0x4D) のトピックは"), std::string::npos) << shown[2].second;
    EXPECT_TRUE(driver.MessageBoxes().empty());
}

TEST_F(HelpFixture, AMissingOrDamagedHelpFileGivesAClearMessageAndNoWindow)
{
    int windows = 0;
    driver.OnEveryDialog([&](DialogOperator&) { ++windows; });
    const std::pair<const char*, std::string> files[] = {
        {nullptr, "が見つかりません。"},
        {"本文だけ\n[1] 題\n", "は壊れています。\n1 行目: 最初の見出しより前に本文があります。"},
        {"[0x20001] 一つ目\n[131073] 同じ番号\n", "2 行目: 番号 131073 (0x20001) のトピックが二つあります。"},
        {"[1] \xFF\xFE\n", "UTF-8"},
    };
    for (const auto& [text, said] : files) {
        if (text != nullptr)
            Write(text);
        driver.PushKey(VK_F1);
        app.Run();
        ASSERT_FALSE(driver.MessageBoxes().empty()) << said;
        EXPECT_NE(driver.MessageBoxes().back().text.find(said), std::string::npos) << driver.MessageBoxes().back().text;
        EXPECT_EQ(driver.MessageBoxes().back().style, MB_OK | MB_ICONEXCLAMATION);
    }
    EXPECT_EQ(driver.MessageBoxes().size(), 4u) << "one message for each";
    EXPECT_EQ(windows, 0);
}
