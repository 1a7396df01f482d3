// The test driver's own promises: an answer can be meant for one box by its text, and what a
// test queued for boxes or dialogs that never came does not pass unnoticed.
#include "platform/ui/HeadlessDriver.h"

#include "platform/ui/Constants.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(HeadlessDriverTest, AnAnswerMeantForABoxByItsTextWaitsForThatBox)
{
    HeadlessDriver driver;
    driver.AnswerMessageBox("上書き", IDNO);
    driver.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(driver.MessageBox(nullptr, "保存しますか?", "", MB_YESNOCANCEL), IDCANCEL) << "the one answer in order";
    EXPECT_EQ(driver.MessageBox(nullptr, "ファイルを上書きしますか?", "", MB_YESNO), IDNO);
    EXPECT_EQ(driver.MessageBox(nullptr, "閉じますか?", "", MB_YESNO), IDYES) << "nothing queued: the default button";
}

TEST(HeadlessDriverTest, AnswersAndDialogHandlersNothingUsedAreTold)
{
    std::string told;
    struct Restore {
        HeadlessDriver::UnusedReporter previous;
        ~Restore() { HeadlessDriver::SetUnusedReporter(std::move(previous)); }
    } restore{HeadlessDriver::SetUnusedReporter([&](const std::string& what) { told += what; })};
    {
        HeadlessDriver driver;
        driver.AnswerMessageBox(IDNO);
        driver.AnswerMessageBox("上書き", IDYES);
        driver.OnNextDialog([](DialogOperator&) {});
    }
    EXPECT_NE(told.find("answer 7"), std::string::npos) << told;
    EXPECT_NE(told.find("\"上書き\""), std::string::npos) << told;
    EXPECT_NE(told.find("1 dialog handler"), std::string::npos) << told;

    told.clear();
    {
        HeadlessDriver driver;
        driver.AnswerMessageBox(IDNO);
        static_cast<void>(driver.MessageBox(nullptr, "保存しますか?", "", MB_YESNO));
    }
    EXPECT_EQ(told, "") << "every answer was taken";
}
