// The library frame: the overflow messages, the module's texts, the registered messages.
#include "tav/frame/TavFrame.h"

#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/Wnd.h"

#include <gtest/gtest.h>

#include <set>

using namespace plat;

TEST(TavFrameTest, OverflowMessagesShowTheirTextWithTheCallersStyle)
{
    HeadlessDriver driver;
    WinApp app("座標管理", "Survey", &driver);
    driver.AnswerMessageBox(IDOK);
    EXPECT_EQ(TavCoGrOverflowMessage(1, 0x30), IDOK);
    driver.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(TavCoGrOverflowMessage(0, 0x10 | MB_OKCANCEL), IDCANCEL) << "the box's answer comes back";
    EXPECT_EQ(TavCoGrOverflowMessage(0, 0x10), IDOK);
    ASSERT_EQ(driver.MessageBoxes().size(), 3u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "最大座標数を超えました。処理を終了します。");
    EXPECT_EQ(driver.MessageBoxes()[0].style, 0x30u);
    EXPECT_EQ(driver.MessageBoxes()[0].caption, "座標管理");
    EXPECT_EQ(driver.MessageBoxes()[2].text, "最大地番数を超えました。処理を終了します。");
    EXPECT_EQ(driver.MessageBoxes()[2].style, 0x10u);
}

TEST(TavFrameTest, RegisteredMessagesAreTheNamesNumbersAndDistinct)
{
    const TavRegisteredMessages& m = TavMessages();
    EXPECT_EQ(&TavMessages(), &m) << "registered once and kept";
    EXPECT_EQ(m.colorChange, RegisterWindowMessage("TAV_WM_COLORCHANGE")) << "the host registering the name agrees";
    EXPECT_EQ(m.editCheck, RegisterWindowMessage("LUN_STR_EDIT_CHECK"));
    const std::set<UINT> all{m.termChange,        m.colorChange,     m.speech,          m.queryMessageString,
                             m.editCheck,         m.editEnableCheck, m.editResetTempText, m.editSetDialogMode,
                             m.editGetCtlColor,   m.editOk,          m.checkTemplate};
    EXPECT_EQ(all.size(), 11u);
    EXPECT_GE(*all.begin(), 0xC000u);
}

TEST(TavFrameTest, TheModuleHoldsTheLibrarysStringTable)
{
    ASSERT_NE(TavGetModuleHandle(), nullptr);
    EXPECT_EQ(TavGetModuleHandle(), TavGetModuleHandle());
    EXPECT_EQ(TavGetModuleHandle()->LoadString(19), "見つかりません。");
}
