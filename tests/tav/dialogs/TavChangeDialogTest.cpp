// The item change dialog as a person works it: the two lists and the end marker, the seven
// buttons and the reset question, and the command that applies the result to the grid only
// when the manager agrees.
#include "tests/tav/dialogs/LayoutFixture.h"

#include "tav/dialogs/TavChangeDialog.h"
#include "tav/dialogs/TavLayoutResources.h"
#include "components/support/NifCommonMenu.h"

using namespace plat;
using namespace tavtest;

namespace {

using TavChangeDialogTest = LayoutFixture;

constexpr const char* kMarker = TavChangeDialog::kEndMarker;

bool Enabled(const DialogOperator& person, int id) { return person.Control(id)->IsWindowEnabled(); }

} // namespace

TEST_F(TavChangeDialogTest, ButtonsMoveItemsBetweenTheListsReorderThemAndResetAsks)
{
    TavChangeDialog dialog(&CoordinateModule(), &manager, &host);
    const int offered[] = {kPointName, kX, -static_cast<int>(kY), kZ, 0, kCode};
    dialog.SetItems(offered, 6);
    dialog.SetTemplate({kX, kPointName});
    driver.OnNextDialog([&](DialogOperator& person) {
        ExpectCaptionsFit(person);
        EXPECT_EQ(person.Caption(), "項目の変更");
        EXPECT_EQ(Wnd::GetFocus(), person.Control(IDC_TAV_CHANGE_AVAILABLE)) << "the first list has the keys";
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED), (std::vector<std::string>{"X", "点名", kMarker}));
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_AVAILABLE), (std::vector<std::string>{"Z", "コード"}))
            << "shown items, a negative entry and 0 are not offered";
        EXPECT_FALSE(Enabled(person, IDC_TAV_CHANGE_UP));
        EXPECT_TRUE(Enabled(person, IDC_TAV_CHANGE_DOWN));

        person.Click(IDC_TAV_CHANGE_DOWN);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED), (std::vector<std::string>{"点名", "X", kMarker}));
        EXPECT_FALSE(Enabled(person, IDC_TAV_CHANGE_DOWN)) << "the last item before the marker";
        EXPECT_TRUE(Enabled(person, IDC_TAV_CHANGE_UP));

        person.Pick(IDC_TAV_CHANGE_USED, 2);
        EXPECT_FALSE(Enabled(person, IDC_TAV_CHANGE_REMOVE));
        EXPECT_FALSE(Enabled(person, IDC_TAV_CHANGE_UP));
        person.DoubleClickItem(IDC_TAV_CHANGE_USED, 2);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED).size(), 3u) << "the marker stays where it is";

        person.Click(IDC_TAV_CHANGE_ADDALL);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED), (std::vector<std::string>{"点名", "X", "Z", "コード", kMarker}));
        EXPECT_FALSE(Enabled(person, IDC_TAV_CHANGE_ADD));

        person.Pick(IDC_TAV_CHANGE_USED, 0);
        person.Click(IDC_TAV_CHANGE_REMOVE);
        person.Click(IDC_TAV_CHANGE_REMOVE);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_AVAILABLE), (std::vector<std::string>{"X", "点名"}))
            << "each goes in before the available list's selection";
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED), (std::vector<std::string>{"Z", "コード", kMarker}));
        person.DoubleClickItem(IDC_TAV_CHANGE_AVAILABLE, 1);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED), (std::vector<std::string>{"点名", "Z", "コード", kMarker}));

        driver.AnswerMessageBox(IDNO);
        person.Click(IDC_TAV_CHANGE_RESET);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED).size(), 4u) << "No keeps the moves";
        driver.AnswerMessageBox(IDYES);
        person.Click(IDC_TAV_CHANGE_RESET);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED), (std::vector<std::string>{"X", "点名", kMarker}));
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_AVAILABLE), (std::vector<std::string>{"Z", "コード"}));

        person.Click(IDC_TAV_CHANGE_REMOVEALL);
        EXPECT_EQ(Items(person, IDC_TAV_CHANGE_USED), (std::vector<std::string>{kMarker}));
        EXPECT_FALSE(Enabled(person, IDC_TAV_CHANGE_REMOVEALL));
        person.Pick(IDC_TAV_CHANGE_AVAILABLE, "Z");
        InputEvent altA = InputEvent::KeyPress('A'); // the add button's mnemonic
        altA.alt = true;
        person.GetDialog().PreTranslateInput(altA);
        person.Return();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    std::vector<unsigned> result;
    dialog.GetTemplate(result);
    EXPECT_EQ(result, (std::vector<unsigned>{kZ}));
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "初期化してよろしいですか？");
    EXPECT_EQ(driver.MessageBoxes()[0].style, 0x34u);
}

TEST_F(TavChangeDialogTest, TheCommandAppliesTheListOnlyWhenTheManagerAgrees)
{
    host.grid.SetCurSel(MoxPos{3, 5}, 0);
    const std::vector<unsigned> before = data.Template();
    const std::vector<unsigned> widths = data.Width();
    manager.refuse = true;
    driver.OnNextDialog([&](DialogOperator& person) {
        person.Pick(IDC_TAV_CHANGE_USED, "Y");
        person.Click(IDC_TAV_CHANGE_REMOVE);
        person.Click(IDOK);
        EXPECT_TRUE(person.IsOpen()) << "a refused list keeps the dialog open";
        person.Escape();
    });
    Command(NifCommand::CellChange);
    ASSERT_EQ(manager.checked.size(), 1u);
    EXPECT_EQ(manager.checked[0], (std::vector<unsigned>{kPointName, kX, kZ, kCode}));
    EXPECT_EQ(data.Template(), before);
    EXPECT_EQ(data.Width(), widths);
    EXPECT_FALSE(data.IsModified());
    EXPECT_EQ(host.grid.GetCaret().column, 3) << "cancelled: the caret stays";

    manager.refuse = false;
    driver.OnNextDialog([&](DialogOperator& person) {
        person.Pick(IDC_TAV_CHANGE_USED, "Y");
        person.Click(IDC_TAV_CHANGE_REMOVE);
        person.Pick(IDC_TAV_CHANGE_USED, "コード");
        person.Click(IDC_TAV_CHANGE_UP);
        person.Click(IDOK);
    });
    Command(NifCommand::CellChange);
    EXPECT_EQ(data.Template(), (std::vector<unsigned>{kPointName, kX, kCode, kZ}));
    EXPECT_TRUE(data.IsModified());
    EXPECT_EQ(host.grid.GetCaret().column, 0);
    EXPECT_EQ(host.grid.GetCaret().row, 5);
    EXPECT_EQ(manager.IDtoCol(kCode), 2);
    EXPECT_EQ(manager.IDtoCol(kY), -1);
}
