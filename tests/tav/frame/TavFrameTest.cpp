// The library frame: the overflow messages in the library's own texts.
#include "tav/frame/TavFrame.h"

#include "platform/ui/HeadlessDriver.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(TavFrameTest, OverflowMessagesShowTheirTextWithTheCallersStyle)
{
    HeadlessDriver driver;
    WinApp app("座標管理", "Survey", &driver);
    driver.AnswerMessageBox(IDOK);
    EXPECT_EQ(TavCoGrOverflowMessage(1, 0x30), IDOK);
    driver.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(TavCoGrOverflowMessage(0, 0x10 | MB_OKCANCEL), IDCANCEL) << "the box's answer comes back";
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "最大座標数を超えました。処理を終了します。");
    EXPECT_EQ(driver.MessageBoxes()[0].style, 0x30u);
    EXPECT_EQ(driver.MessageBoxes()[0].caption, "座標管理");
    EXPECT_EQ(driver.MessageBoxes()[1].text, "最大地番数を超えました。処理を終了します。");
}
