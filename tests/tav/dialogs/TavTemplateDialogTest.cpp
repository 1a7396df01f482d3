// The template management dialog as a person works it through the template command:
// registering under a typed name (a comma refused, an existing name asked about), loading,
// which alone ends the dialog with the grid rebuilt, and deleting, which asks first.
#include "tests/tav/dialogs/LayoutFixture.h"

#include "components/support/KesTemplates.h"
#include "tav/dialogs/TavLayoutResources.h"
#include "tav/dialogs/TavTemplateDialog.h"
#include "components/support/NifCommonMenu.h"

using namespace plat;
using namespace tavtest;

namespace {

using TavTemplateDialogTest = LayoutFixture;

// The person's answer to the name prompt.
HeadlessDriver::DialogHandler Name(const std::string& text)
{
    return [text](DialogOperator& prompt) {
        EXPECT_EQ(prompt.Caption(), "ﾃﾝﾌﾟﾚｰﾄの登録");
        prompt.SetText(KES_IDC_TEXT, text);
        prompt.Return();
    };
}

} // namespace

TEST_F(TavTemplateDialogTest, RegisterRefusesACommaAndAsksBeforeReplacingAndCloseRebuildsNothing)
{
    manager.CustomizeTemplate({kPointName, kX});
    data.SetModifiedFlag(FALSE);
    driver.OnNextDialog([&](DialogOperator& person) {
        ExpectCaptionsFit(person);
        EXPECT_EQ(person.Caption(), "ﾃﾝﾌﾟﾚｰﾄ管理 - 標準");
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST), (std::vector<std::string>{"標準"}));
        EXPECT_EQ(Selected(person, IDC_TAV_TEMPLATE_LIST), "標準");

        driver.OnNextDialog([](DialogOperator& prompt) {
            EXPECT_EQ(prompt.Text(KES_IDC_TEXT), "標準") << "the selected name is offered";
            prompt.SetText(KES_IDC_TEXT, "短縮,1");
            prompt.Return();
        });
        person.Click(IDC_TAV_TEMPLATE_REGISTER);
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST).size(), 1u);

        driver.OnNextDialog(Name("短縮"));
        person.Click(IDC_TAV_TEMPLATE_REGISTER);
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST), (std::vector<std::string>{"標準", "短縮"}));
        EXPECT_EQ(person.Caption(), "ﾃﾝﾌﾟﾚｰﾄ管理 - 短縮");
        EXPECT_EQ(Selected(person, IDC_TAV_TEMPLATE_LIST), "短縮");

        driver.OnNextDialog(Name("標準"));
        driver.AnswerMessageBox(IDNO);
        person.Click(IDC_TAV_TEMPLATE_REGISTER);
        EXPECT_EQ(person.Caption(), "ﾃﾝﾌﾟﾚｰﾄ管理 - 短縮") << "No keeps the old template";
        person.Click(IDCANCEL);
    });
    Command(NifCommand::Template);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"ﾃﾝﾌﾟﾚｰﾄ名にｶﾝﾏ(,)は使用できません。",
                                                     "ﾃﾝﾌﾟﾚｰﾄ '標準' はすでに存在します。上書きしますか？"}));
    EXPECT_EQ(driver.MessageBoxes()[0].style, 0x30u);
    EXPECT_EQ(driver.MessageBoxes()[1].style, 0x34u);
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"標準", "短縮"}));
    EXPECT_EQ(StoredItems("標準").size(), 5u);
    EXPECT_EQ(StoredItems("短縮"), (std::vector<unsigned>{kPointName, kX}));
    EXPECT_EQ(TavTemplate(&manager).GetCurrentName(), "短縮");
    EXPECT_FALSE(data.IsModified()) << "closing rebuilds nothing";

    driver.ClearMessageBoxes();
    driver.OnNextDialog([&](DialogOperator& person) {
        driver.OnNextDialog(Name("標準"));
        driver.AnswerMessageBox(IDYES);
        person.Click(IDC_TAV_TEMPLATE_REGISTER);
        for (const std::string& bad : {std::string("a\\b"), std::string(256, 'x')}) {
            driver.OnNextDialog(Name(bad));
            person.Click(IDC_TAV_TEMPLATE_REGISTER);
        }
        person.Escape();
    });
    Command(NifCommand::Template);
    EXPECT_EQ(StoredItems("標準"), (std::vector<unsigned>{kPointName, kX})) << "Yes replaced it";
    ASSERT_EQ(driver.MessageBoxes().size(), 3u);
    EXPECT_EQ(driver.MessageBoxes()[1].text, "ﾃﾝﾌﾟﾚｰﾄ名に使用できない文字が含まれています。");
    EXPECT_EQ(driver.MessageBoxes()[2].text, "ﾃﾝﾌﾟﾚｰﾄ名が長すぎます。255文字以内にしてください。");
    EXPECT_EQ(StoredNames().size(), 2u);
}

TEST_F(TavTemplateDialogTest, LoadRebuildsTheGridAndDeleteAsksFirstAndKeepsTheLast)
{
    manager.CustomizeTemplate({kZ, kPointName});
    ASSERT_TRUE(TavTemplate(&manager).SaveTemplate("逆順"));
    // A key without items, as an interrupted program may leave behind.
    SolKey broken(HKEY_CURRENT_USER, "Software\\Zervan Soft\\Survey\\Application\\Coordinates\\Cell Template\\Coordinates\\壊れ");
    manager.CustomizeTemplate({kPointName, kX, kY});
    data.SetModifiedFlag(FALSE);
    host.grid.SetCurSel(MoxPos{2, 7}, 0);

    driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST), (std::vector<std::string>{"壊れ", "標準", "逆順"}));
        person.Pick(IDC_TAV_TEMPLATE_LIST, "壊れ");
        person.Click(IDC_TAV_TEMPLATE_LOAD);
        EXPECT_TRUE(person.IsOpen());
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST), (std::vector<std::string>{"標準", "逆順"}))
            << "a template that cannot be read leaves the list";
        person.Pick(IDC_TAV_TEMPLATE_LIST, "逆順");
        person.Click(IDC_TAV_TEMPLATE_LOAD);
    });
    Command(NifCommand::Template);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"ﾃﾝﾌﾟﾚｰﾄの読み込みに失敗しました。"}));
    EXPECT_EQ(data.Template(), (std::vector<unsigned>{kZ, kPointName}));
    EXPECT_EQ(data.TemplateName(), "逆順");
    EXPECT_EQ(TavTemplate(&manager).GetCurrentName(), "逆順");
    EXPECT_TRUE(data.IsModified());
    EXPECT_EQ(manager.IDtoCol(kZ), 0);
    EXPECT_EQ(host.grid.GetCaret().column, 0);
    EXPECT_EQ(host.grid.GetCaret().row, 7);

    driver.ClearMessageBoxes();
    driver.OnNextDialog([&](DialogOperator& person) {
        person.Pick(IDC_TAV_TEMPLATE_LIST, "標準");
        driver.AnswerMessageBox(IDNO);
        person.Key(VK_DELETE);
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST).size(), 2u);
        driver.AnswerMessageBox(IDYES);
        person.Click(IDC_TAV_TEMPLATE_DELETE);
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST), (std::vector<std::string>{"逆順"}));
        person.Pick(IDC_TAV_TEMPLATE_LIST, "逆順");
        person.Key(VK_DELETE);
        person.Click(IDC_TAV_TEMPLATE_DELETE);
        EXPECT_EQ(Items(person, IDC_TAV_TEMPLATE_LIST), (std::vector<std::string>{"逆順"})) << "the last one stays";
        person.Click(IDC_TAV_TEMPLATE_LOAD);
    });
    Command(NifCommand::Template);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"ﾃﾝﾌﾟﾚｰﾄ '標準' を削除してよろしいですか？",
                                                     "ﾃﾝﾌﾟﾚｰﾄ '標準' を削除してよろしいですか？"}));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"逆順"}));
}
