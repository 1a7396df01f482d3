// The support library's dialogs as a person meets them: captions and help identifiers, the text
// prompt, the folder chooser on real folders, and the progress window with and without its window.
#include "components/support/KesDialog.h"
#include "components/support/KesProgressDialog.h"
#include "components/support/KesTemplates.h"
#include "components/support/KescDirectoryDialog.h"
#include "components/support/KescInputDialog.h"
#include "components/support/NifResource.h"
#include "platform/ui/Controls.h"
#include "tests/TemporaryFolder.h"
#include "tests/platform/ui/HeadlessAppTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace plat;
namespace fs = std::filesystem;

namespace {

using KesDialogTest = tavtest::HeadlessAppTest;

} // namespace

TEST_F(KesDialogTest, DialogsReportTheHelpBaseOfTheirTemplateAndTakeANewCaption)
{
    Module module("host");
    module.AddString(7, "ページ");
    DialogTemplate t{"範囲訂正", 188, 130, "ＭＳ Ｐゴシック", 9, 0, {{IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON, 10, 100, 40, 14}}};
    AddDialogResource(&module, 134, t);
    KesDialog dialog(&module, 134);
    EXPECT_EQ(dialog.GetBaseID(), 0x81E22086u);
    EXPECT_EQ(KesPropertyPage(&module, 129, 7).GetBaseID(), 0x81E1D081u);
    EXPECT_EQ(KesPropertyPage(&module, 129, 7).GetCaption(), "ページ");

    dialog.SetCaption("一括訂正");
    driver.OnNextDialog([](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "一括訂正");
        person.Return();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);

    KesDialog missing(&module, 999);
    EXPECT_EQ(missing.DoModal(), -1) << "no template, no dialog";
}

TEST_F(KesDialogTest, TheInputDialogShowsTitlePromptAndTextAndGivesBackWhatWasTyped)
{
    KescInputDialog input("ﾃﾝﾌﾟﾚｰﾄの登録", "名前(&N):");
    input.SetText("標準");
    driver.OnNextDialog([](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "ﾃﾝﾌﾟﾚｰﾄの登録");
        EXPECT_EQ(person.Text(KES_IDC_PROMPT), "名前(&N):");
        EXPECT_EQ(person.Text(KES_IDC_TEXT), "標準");
        person.Type("測量"); // the text starts selected, so typing replaces it
        person.Return();
    });
    EXPECT_EQ(input.DoModal(), IDOK);
    EXPECT_EQ(input.GetText(), "測量");
}

TEST_F(KesDialogTest, TheFolderChooserWalksSubFoldersAndTakesTheFieldOnOk)
{
    const tavtest::TemporaryFolder folder("kesdir");
    const fs::path& root = folder.Path();
    fs::create_directories(root / "b" / "inner");
    fs::create_directories(root / "A");
    std::ofstream(root / "file.txt") << "x";

    KescDirectoryDialog chooser(root.string(), nullptr);
    driver.OnNextDialog([&](DialogOperator& person) {
        auto* list = dynamic_cast<ListBox*>(person.Control(KES_IDC_FOLDERS));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->GetCount(), 3) << "the parent and the two folders; files are not listed";
        EXPECT_EQ(list->GetText(0), "..");
        EXPECT_EQ(list->GetText(1), "A");
        EXPECT_EQ(list->GetText(2), "b");
        person.DoubleClickItem(KES_IDC_FOLDERS, 2);
        EXPECT_EQ(person.Text(KES_IDC_PATH), (root / "b").string());
        EXPECT_EQ(list->GetCount(), 2);
        EXPECT_EQ(list->GetText(1), "inner");
        person.Pick(KES_IDC_FOLDERS, "inner");
        person.Return();
    });
    EXPECT_EQ(chooser.DoModal(), IDOK);
    EXPECT_EQ(chooser.GetPathName(), (root / "b" / "inner").string());

    driver.OnNextDialog([&](DialogOperator& person) {
        person.SetText(KES_IDC_PATH, (root / "nowhere").string());
        person.Return();
        EXPECT_TRUE(person.IsOpen()) << "a folder that does not exist is not taken";
        person.SetText(KES_IDC_PATH, "");
        person.Return();
    });
    EXPECT_EQ(chooser.DoModal(), IDOK);
    EXPECT_EQ(chooser.GetPathName(), "");
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "フォルダが見つかりません。");
}

TEST_F(KesDialogTest, TheProgressWindowShowsItsMessageAndAdvancesAndWithoutItNothingHappens)
{
    Wnd frame;
    frame.Create("FRAME", "", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
    {
        KesProgressDialog progress(TRUE);
        progress.SetMessage("処理中...");
        progress.SetRange(0, 10);
        EXPECT_EQ(progress.SetPos(5), 0) << "no window yet: nothing to move";
        EXPECT_EQ(progress.StepIt(), 0);
        EXPECT_TRUE(driver.OpenedDialogs().empty());
        ASSERT_TRUE(progress.Create(&frame, TRUE));
        EXPECT_TRUE(progress.IsWindowVisible());
        EXPECT_FALSE(frame.IsWindowEnabled());
        EXPECT_EQ(progress.GetDlgItemText(KES_IDC_MESSAGE), "処理中...");
        progress.SetRange(0, 4);
        progress.SetStep(1);
        progress.SetPos(0);
        progress.StepIt();
        progress.StepIt();
        auto* bar = dynamic_cast<ProgressCtrl*>(progress.GetDlgItem(KES_IDC_PROGRESS));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->GetPos(), 2);
        EXPECT_EQ(progress.GetDlgItemText(KES_IDC_PERCENT), "50%");
        progress.SetMessage("");
        EXPECT_EQ(progress.GetDlgItemText(KES_IDC_MESSAGE), "しばらくお待ちください...");
    }
    EXPECT_TRUE(frame.IsWindowEnabled()) << "the window closed with its object and gave the parent back";
}

TEST_F(KesDialogTest, ResourceStringsComeFromTheNamedOrTheCurrentModule)
{
    Module library("library");
    library.AddString(16, "最大座標数を超えました。処理を終了します。");
    Module host("host");
    host.AddString(16, "host text");
    const ModuleHandle before = NifSetResourceHandle(&host);
    EXPECT_EQ(NifLoadString(nullptr, 16), "host text");
    EXPECT_EQ(NifLoadString(&library, 16), "最大座標数を超えました。処理を終了します。");
    EXPECT_EQ(NifLoadString(&library, 99), "");
    EXPECT_EQ(NifSetResourceHandle(before), &host);

    driver.AnswerMessageBox(IDOK);
    EXPECT_EQ(NifMessageBox(&library, 16, 0x30), IDOK);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "最大座標数を超えました。処理を終了します。");
    EXPECT_EQ(driver.MessageBoxes()[0].style, 0x30u);
}
