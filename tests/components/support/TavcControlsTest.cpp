// The choice and radius controls as a person uses them: clicks cycle the toggle's texts,
// the radius input reads and writes its text and flags, the choice lists keep an index.
#include "components/support/LunArrowTypeComboBox.h"
#include "components/support/TavcRadiusCtrl.h"
#include "components/support/TavcToggleButton.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A parent that counts the clicks its children report.
class ClickCounter : public plat::Wnd {
public:
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        if (message == plat::WM_COMMAND && plat::HIWORD(wParam) == plat::BN_CLICKED)
            ++clicks;
        return plat::Wnd::WindowProc(message, wParam, lParam);
    }
    int clicks = 0;
};

TEST(TavcControlsTest, ToggleButtonCyclesThroughItsTexts)
{
    ClickCounter parent;
    ASSERT_TRUE(parent.Create("PARENT", "", plat::WS_POPUP, {0, 0, 200, 100}, nullptr, 0));
    TavcToggleButton toggle({"左", "右", "中央"});
    ASSERT_TRUE(toggle.Create("", plat::WS_CHILD | plat::BS_PUSHBUTTON, {0, 0, 40, 16}, &parent, 7));
    EXPECT_EQ(toggle.GetIndex(), -1);
    toggle.SetIndex(1);
    EXPECT_EQ(toggle.GetWindowText(), "右");

    toggle.SendMessage(plat::BM_CLICK);
    EXPECT_EQ(toggle.GetIndex(), 2);
    EXPECT_EQ(toggle.GetWindowText(), "中央");
    toggle.SendMessage(plat::WM_KEYDOWN, plat::VK_SPACE, 0);
    EXPECT_EQ(toggle.GetIndex(), 0) << "after the last text comes the first";
    EXPECT_EQ(parent.clicks, 2) << "the parent hears of each click after the text moved on";

    std::string text = "unchanged";
    EXPECT_TRUE(toggle.GetText(2, text));
    EXPECT_EQ(text, "中央");
    EXPECT_FALSE(toggle.GetText(3, text));
    EXPECT_EQ(text, "中央");
    EXPECT_EQ(toggle.FindString("右"), 1);
    EXPECT_EQ(toggle.FindString("右 "), -1);
    toggle.SetIndex(5);
    EXPECT_EQ(toggle.GetIndex(), -1);
    EXPECT_EQ(toggle.GetWindowText(), "");
    toggle.EnableWindow(FALSE);
    toggle.SendMessage(plat::BM_CLICK);
    EXPECT_EQ(toggle.GetIndex(), -1) << "a disabled button does not move";
    parent.DestroyWindow();
}

TEST(TavcControlsTest, RadiusInputReadsAndWritesItsText)
{
    TavcRadiusCtrl radius;
    radius.SetText(" 120.5 右 小 ");
    ASSERT_TRUE(radius.IsDataOK());
    HixRadius read;
    ASSERT_TRUE(radius.GetData(read));
    EXPECT_DOUBLE_EQ(read.GetR(), 120.5);
    EXPECT_TRUE(read.GetRight());
    EXPECT_TRUE(read.GetSmall());
    std::string text;
    radius.GetText(text);
    EXPECT_EQ(text, "120.500 右 小");

    radius.SetText("80 L");
    radius.GetText(text);
    EXPECT_EQ(text, "80.000 左");
    radius.SetText("小\xE3\x80\x80" "80\xE3\x80\x80右");
    radius.GetText(text);
    EXPECT_EQ(text, "80.000 右 小") << "an input method's wide blank separates the parts as well";

    for (const char* bad : {"abc", "-5", "0", "80 X", "右"}) {
        radius.SetText(bad);
        EXPECT_FALSE(radius.IsDataOK()) << bad;
        EXPECT_FALSE(radius.GetData(read)) << bad;
    }
    radius.SetText("");
    EXPECT_TRUE(radius.IsDataOK()) << "an empty radius is valid: it clears the cell";
    EXPECT_TRUE(radius.GetEdit().IsEmpty());
    radius.GetText(text);
    EXPECT_EQ(text, "");

    // Created later, the window keeps what was set and shows it in its parts.
    HixRadius curve(HixReal(45.25));
    curve.SetRight(TRUE);
    radius.SetData(curve);
    plat::Wnd parent;
    ASSERT_TRUE(parent.Create("PARENT", "", plat::WS_POPUP, {0, 0, 300, 100}, nullptr, 0));
    ASSERT_TRUE(radius.Create(plat::WS_CHILD | plat::WS_VISIBLE, {0, 0, 160, 16}, &parent, 9));
    EXPECT_EQ(radius.GetChildren().size(), 3u);
    EXPECT_EQ(radius.GetEdit().GetWindowText(), "45.250");
    EXPECT_EQ(radius.GetRightCheck().GetCheck(), 1);
    radius.GetSmallCheck().SendMessage(plat::BM_CLICK);
    radius.GetText(text);
    EXPECT_EQ(text, "45.250 右 小") << "a click on the small-arc box is part of the radius";
    parent.DestroyWindow();
}

TEST(TavcControlsTest, RadiusInputAsACellEditorTakesTypingAndFitsItsCell)
{
    plat::Wnd parent;
    ASSERT_TRUE(parent.Create("PARENT", "", plat::WS_POPUP | plat::WS_VISIBLE, {0, 0, 300, 100}, nullptr, 0));
    TavcRadiusCtrl radius;
    ASSERT_TRUE(radius.Create(plat::WS_CHILD | plat::WS_VISIBLE, {0, 0, 80, 16}, &parent, 9));
    ASSERT_TRUE(radius.GetEdit().IsWindowVisible());
    EXPECT_FALSE(radius.GetRightCheck().IsWindowVisible()) << "a cell of ten characters leaves no room for the boxes";
    EXPECT_EQ(radius.GetEdit().GetRectInParent().right, 80) << "the radius field takes the whole cell";

    // What a grid hands its open editor: the typed characters, the marks among them.
    for (char32_t typed : {U'1', U'2', U'0', U'R', U'.', U'5', U's'})
        radius.SendMessage(plat::WM_CHAR, static_cast<plat::WPARAM>(typed), 1);
    std::string text;
    radius.GetText(text);
    EXPECT_EQ(text, "120.500 右 小");
    radius.SendMessage(plat::WM_CHAR, static_cast<plat::WPARAM>(U'左'), 1);
    radius.SendMessage(plat::WM_CHAR, static_cast<plat::WPARAM>(U'S'), 1);
    radius.GetText(text);
    EXPECT_EQ(text, "120.500 左") << "S turns the small arc off again";

    radius.MoveWindow(0, 0, 200, 16);
    EXPECT_TRUE(radius.GetRightCheck().IsWindowVisible()) << "a wider cell shows the boxes again";
    EXPECT_EQ(radius.GetSmallCheck().GetRectInParent().right, 200);
    parent.DestroyWindow();
}

TEST(TavcControlsTest, ChoiceListsKeepAnIndexOrNone)
{
    LunArrowTypeComboBox arrows;
    EXPECT_EQ(arrows.Get(), -1);
    arrows.Set(2);
    EXPECT_EQ(arrows.GetWindowText(), "終点");
    arrows.Set(4);
    EXPECT_EQ(arrows.Get(), -1) << "an index outside the list chooses none";

    LunLineTypeComboBox lines;
    lines.Set(0);
    EXPECT_EQ(lines.GetLBText(lines.Get()), "実線");
}

} // namespace
