// The cell lock and the area correction: the lock list a selection gives, the lock switched
// through the grid's command, and corrections worked through their dialogs as a person would,
// with the headless driver.
#include "tests/tav/command/CommandHost.h"
#include "tests/tav/data/TestHost.h"

#include "components/support/KesTemplates.h"
#include "components/support/LunMrmNumEdit.h"
#include "components/support/NifCommonMenu.h"
#include "components/support/TavcToggleButton.h"
#include "tav/dialogs/TavAreaCorrectDialog.h"
#include "tav/dialogs/TavFixComboDialog.h"
#include "tav/dialogs/TavInputNumDialog.h"
#include "tav/dialogs/TavProgressWnd.h"

#include <gtest/gtest.h>

#include <random>

using namespace plat;
using namespace tavtest;

namespace {

std::vector<TavLockData> Entries(const TavLockArray& locks) { return {locks.begin(), locks.end()}; }

// The pairwise walk over the list, written plainly: what the fast merge must give.
std::vector<TavLockData> PairwiseMerge(std::vector<TavLockData> list)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        for (std::size_t j = i + 1; j < list.size();) {
            if (list[j].id == list[i].id && list[i].first <= list[i].last && list[j].first <= list[j].last &&
                list[j].first <= list[i].last && list[i].first <= list[j].last) {
                list[i].first = std::min(list[i].first, list[j].first);
                list[i].last = std::max(list[i].last, list[j].last);
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
            } else {
                ++j;
            }
        }
    }
    return list;
}

TEST(TavCellLockTest, LockListMergesSharedRecordsOfAnItemAsTheyAreMet)
{
    const std::vector<unsigned> ids{10, 11, 12, 13};
    auto build = [&](std::initializer_list<std::pair<MoxRect, std::uint8_t>> ranges, long records = 100) {
        MoxRectArray selection;
        for (const auto& [rect, flags] : ranges)
            selection.Add(rect, flags);
        TavLockArray locks;
        TavCommon::BuildLockList(selection, selection.GetFlagArray(), records, ids, locks);
        return Entries(locks);
    };
    auto rect = [](std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
        return MoxRect(MoxPos{left, top}, MoxPos{right, bottom});
    };
    using L = TavLockData;
    EXPECT_EQ(build({{rect(2, 5, 2, 9), 0}, {rect(2, 8, 2, 12), 0}}), (std::vector<L>{{12, 5, 12}})) << "overlapping";
    EXPECT_EQ(build({{rect(2, 5, 2, 9), 0}, {rect(2, 10, 2, 12), 0}}), (std::vector<L>{{12, 5, 9}, {12, 10, 12}}))
        << "touching spans stay apart";
    EXPECT_EQ(build({{rect(2, 9, 2, 5), 0}, {rect(2, 6, 2, 7), 0}}), (std::vector<L>{{12, 5, 9}})) << "nested, corners reversed";
    EXPECT_EQ(build({{rect(1, 5, 2, 9), 0}, {rect(2, 8, 3, 12), 0}}), (std::vector<L>{{11, 5, 9}, {12, 5, 12}, {13, 8, 12}}))
        << "only the same item merges; each range gives its columns in order";
    EXPECT_EQ(build({{rect(0, 0, 0, 1), 0}, {rect(0, 5, 0, 6), 0}, {rect(0, 1, 0, 5), 0}}), (std::vector<L>{{10, 0, 5}, {10, 5, 6}}))
        << "a span passed before the first one grew stays, in its place";
    EXPECT_EQ(build({{rect(1, 3, 1, 3), MoxRectArray::kWholeColumns}}, 40), (std::vector<L>{{11, 3, 39}}))
        << "whole columns reach the last record";

    // The fast merge against the plain walk on lists with many meetings.
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        MoxRectArray selection;
        std::vector<TavLockData> plain;
        for (int i = 0; i < 300; ++i) {
            const auto column = static_cast<std::int32_t>(random() % 3);
            const auto top = static_cast<std::int32_t>(random() % 500);
            const auto bottom = top + static_cast<std::int32_t>(random() % 12);
            selection.Add(rect(column, top, column, bottom));
            plain.push_back({ids[static_cast<std::size_t>(column)], top, bottom});
        }
        TavLockArray locks;
        TavCommon::BuildLockList(selection, selection.GetFlagArray(), 600, ids, locks);
        ASSERT_EQ(Entries(locks), PairwiseMerge(plain)) << "round " << round;
    }
}

TEST(TavCellLockTest, TheLockCommandTakesTheSelectionAndForgetsItWhenSwitchedOff)
{
    BoundGrid<> bound;
    ProbeGrid& grid = bound.grid;
    bound.Select({MoxRect(MoxPos{1, 2}, MoxPos{2, 4})});
    grid.SendMessage(WM_COMMAND, NifCommand::Lock);
    EXPECT_TRUE(bound.manager.QueryCellLock());
    EXPECT_EQ(Entries(bound.data.Lock()), (std::vector<TavLockData>{{kX, 2, 4}, {kY, 2, 4}}));
    ASSERT_FALSE(grid.GetInvalidations().empty()) << "the grid repaints";
    EXPECT_TRUE(grid.GetInvalidations().back().erase);

    grid.SendMessage(WM_COMMAND, NifCommand::Lock);
    EXPECT_FALSE(bound.manager.QueryCellLock());
    EXPECT_TRUE(bound.data.Lock().IsEmpty());
    bound.Select({});
    grid.SendMessage(WM_COMMAND, NifCommand::Lock);
    EXPECT_FALSE(bound.manager.QueryCellLock()) << "nothing selected: the lock stays off";
    EXPECT_TRUE(bound.data.Lock().IsEmpty());
}

// A coordinate table whose X is a measure edit that takes no negative value and whose flag is
// a toggle button.
class CorrectionManager : public CoordinateManager {
public:
    CorrectionManager() : CoordinateManager(5000) {}
    int OnCreateControl(plat::Wnd* window) override
    {
        if (window != nullptr && window->GetParent() != nullptr && !m_measureX.IsWindow()) {
            const HixMrm measure(5, 0, 3);
            m_measureX.SetNumAttr(&measure, 0, 3);
            m_measureX.Create(plat::ES_RIGHT, plat::RECT{0, 0, 80, 16}, window->GetParent(), 220);
            m_flag.Create("", plat::BS_PUSHBUTTON, plat::RECT{0, 0, 80, 16}, window->GetParent(), 221);
        }
        return CoordinateManager::OnCreateControl(window);
    }
    plat::Wnd* OnGetControl(unsigned id, int& flag) override
    {
        if (id == kX)
            return &m_measureX;
        if (id == kPointName)
            return &m_flag;
        return CoordinateManager::OnGetControl(id, flag);
    }
    LunMrmNumEdit m_measureX{5};
    TavcToggleButton m_flag{{"未確定", "確定"}};
};

struct CorrectionGrid : BoundGrid<ProbeGrid, RefusingRecords, CorrectionManager> {
    void Select(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
    {
        BoundGrid::Select({MoxRect(MoxPos{left, top}, MoxPos{right, bottom})});
    }
    void Correct() { host.grid.SendMessage(WM_COMMAND, NifCommand::AreaCorrect); }
    std::vector<double> X(long from, long to)
    {
        std::vector<double> values;
        for (long record = from; record <= to; ++record) {
            double value = -1;
            values.push_back(data.Get(static_cast<unsigned>(kX), record, value) ? value : -1);
        }
        return values;
    }
};

TEST(TavAreaCorrectTest, ANumberIsAddedOrReplacedOverTheSelectedRowsOnlyWithinTheItemsBounds)
{
    CorrectionGrid bound;
    for (long record = 0; record < 8; ++record) {
        if (record != 3) {
            ASSERT_TRUE(bound.data.Set(static_cast<unsigned>(kX), record, 1.0 + record));
        }
    }
    bound.manager.AttrDisable().Set(kX, 5, 1, 1);
    bound.manager.SetCellLock(TRUE);
    bound.data.Lock().Add({kX, 0, 1});

    SCOPED_TRACE("two items: the list names them by heading, in column order; Y has no measure edit");
    bound.Select(2, 0, 1, 20);
    std::vector<std::string> listed;
    bound.driver.OnNextDialog([&](DialogOperator& area) {
        EXPECT_EQ(area.Caption(), "範囲訂正");
        listed = Items(area, TAV_IDC_AREACORRECT_ITEMS);
        area.Pick(TAV_IDC_AREACORRECT_ITEMS, "Y");
        area.Click(TAV_IDC_AREACORRECT_CHANGE);
        area.Pick(TAV_IDC_AREACORRECT_ITEMS, "X");
        area.Click(TAV_IDC_AREACORRECT_CHANGE);
        area.ClickCaption("閉じる");
    });
    bound.driver.OnNextDialog([](DialogOperator& number) {
        EXPECT_EQ(number.Caption(), "数値補正");
        number.Return();
        EXPECT_TRUE(number.IsOpen()) << "nothing typed: the dialog waits";
        number.SetText(TAV_IDC_INPUTNUM_VALUE, "-0.5");
        number.Return();
    });
    bound.Correct();
    EXPECT_EQ(listed, (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(bound.Boxes(), (std::vector<std::string>{"選択した項目の処理は行えません。"}));
    EXPECT_EQ(bound.X(0, 8), (std::vector<double>{0.5, 1.5, 2.5, -1, 4.5, 6.0, 6.5, 7.5, -1}))
        << "empty cells stay empty, the disabled one is kept, locked ones are written, rows past the data are not";
    // The correction is one step, taken back and done again whole.
    ASSERT_EQ(bound.data.History().UndoName(), "一括訂正");
    ASSERT_TRUE(bound.data.History().Undo());
    EXPECT_EQ(bound.X(0, 8), (std::vector<double>{1, 2, 3, -1, 5, 6, 7, 8, -1}));
    ASSERT_TRUE(bound.data.History().Redo());
    EXPECT_EQ(bound.X(0, 8), (std::vector<double>{0.5, 1.5, 2.5, -1, 4.5, 6.0, 6.5, 7.5, -1}));

    SCOPED_TRACE("one item goes straight to its value; replacing fills empty cells too");
    bound.Select(1, 2, 1, 4);
    bound.driver.OnNextDialog([](DialogOperator& number) {
        number.Click(TAV_IDC_INPUTNUM_REPLACE);
        number.SetText(TAV_IDC_INPUTNUM_VALUE, "-5");
        EXPECT_EQ(number.Text(TAV_IDC_INPUTNUM_VALUE), "5") << "the item takes no negative value: the sign is refused";
        number.SetText(TAV_IDC_INPUTNUM_VALUE, "7");
        number.Return();
    });
    bound.Correct();
    EXPECT_EQ(bound.X(2, 4), (std::vector<double>{7, 7, 7}));
    EXPECT_TRUE(bound.Boxes().empty());

    SCOPED_TRACE("an addition that would take any value below the item's bounds writes nothing");
    bound.driver.OnNextDialog([](DialogOperator& number) {
        number.SetText(TAV_IDC_INPUTNUM_VALUE, "-1");
        number.Return();
    });
    bound.Select(1, 0, 1, 7);
    bound.Correct();
    EXPECT_EQ(bound.X(0, 7), (std::vector<double>{0.5, 1.5, 7, 7, 7, 6.0, 6.5, 7.5}));
    const std::vector<std::string> refused = bound.Boxes();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("を超えるため、訂正できません。"), std::string::npos) << refused[0];

    SCOPED_TRACE("the host refuses two records: everything written is put back, and the person is told");
    bound.data.refused = {4, 6};
    bound.driver.OnNextDialog([](DialogOperator& number) {
        number.SetText(TAV_IDC_INPUTNUM_VALUE, "1");
        number.Return();
    });
    bound.Correct();
    EXPECT_EQ(bound.X(0, 7), (std::vector<double>{0.5, 1.5, 7, 7, 7, 6.0, 6.5, 7.5}));
    EXPECT_EQ(bound.Boxes(), (std::vector<std::string>{"2 件のレコードが訂正を受け付けなかったため、一括訂正を取り消しました。"}));

    SCOPED_TRACE("a selection wholly past the data");
    bound.Select(1, 50, 2, 60);
    bound.Correct();
    EXPECT_EQ(bound.Boxes(), (std::vector<std::string>{"指定した選択範囲が正しくありません。"}));
}

TEST(TavAreaCorrectTest, AChoiceIsPickedInTheItemsOwnEditorWrittenAsItsIndexAndTheEditorGoesBack)
{
    CorrectionGrid bound;
    for (long record = 0; record < 4000; ++record)
        ASSERT_TRUE(bound.data.Set(static_cast<unsigned>(kCode), record, static_cast<unsigned char>(record % 3)));
    ComboBox& combo = bound.manager.m_code;
    Wnd* comboParent = combo.GetParent();
    const int comboId = combo.GetDlgCtrlID();
    const MoxPos caret{4, 2};
    bound.host.grid.SendMessage(MOXM_SETCARET, reinterpret_cast<WPARAM>(&caret));

    bound.Select(4, 0, 4, 3999);
    bound.driver.OnNextDialog([&](DialogOperator& choice) {
        EXPECT_EQ(choice.Caption(), "コード 一括訂正");
        EXPECT_EQ(choice.Control(TAV_IDC_FIXUPCOMBO), &combo) << "the column's own list, in place of the placeholder";
        EXPECT_EQ(combo.GetCurSel(), 2) << "starts on the caret cell's choice";
        choice.Pick(TAV_IDC_FIXUPCOMBO, 1);
        choice.Return();
    });
    bound.Correct();

    long written = 0;
    for (long record = 0; record < 4000; ++record) {
        unsigned char code = 9;
        written += bound.data.Get(static_cast<unsigned>(kCode), record, code) && code == 1;
    }
    EXPECT_EQ(written, 4000);
    EXPECT_EQ(combo.GetParent(), comboParent);
    EXPECT_EQ(combo.GetDlgCtrlID(), comboId);
    EXPECT_FALSE(combo.IsWindowVisible());
    const std::vector<std::string>& opened = bound.driver.OpenedDialogs();
    EXPECT_NE(std::find(opened.begin(), opened.end(), "一括訂正"), opened.end()) << "a long range shows its progress";
    for (Wnd* top : Wnd::GetTopLevelWindows())
        EXPECT_NE(top->GetWindowText(), "一括訂正") << "and closes it";

    // The toggle button, cancelled: nothing written, the button given back.
    TavcToggleButton& toggle = bound.manager.m_flag;
    bound.Select(0, 0, 0, 3);
    bound.driver.OnNextDialog([&](DialogOperator& choice) {
        EXPECT_EQ(choice.Control(TAV_IDC_FIXUPCOMBO), &toggle);
        choice.Click(TAV_IDC_FIXUPCOMBO);
        choice.Escape();
    });
    bound.Correct();
    EXPECT_TRUE(bound.data.QueryIsBlank(static_cast<unsigned>(kPointName), 0));
    EXPECT_EQ(toggle.GetDlgCtrlID(), 221);
    EXPECT_EQ(toggle.GetParent(), comboParent);
}

TEST(TavAreaCorrectTest, TheGridAnswersItsRealHeadingRowsAndTheListJoinsTheirTexts)
{
    CorrectionGrid bound;
    ProbeGrid& grid = bound.host.grid;
    RECT before;
    ASSERT_TRUE(grid.GetCellRect(MoxPos{1, 0}, before));
    grid.SetFixedRowCount(2);
    RECT after;
    ASSERT_TRUE(grid.GetCellRect(MoxPos{1, 0}, after));
    EXPECT_EQ(after.top, before.top + GetTextMeasure().LineHeight(grid.CellLogFont())) << "the data begins below both heading rows";

    ASSERT_TRUE(bound.data.Set(static_cast<unsigned>(kX), 0, 1.0));
    bound.Select(2, 0, 0, 0);
    std::vector<std::string> listed;
    bound.driver.OnNextDialog([&](DialogOperator& area) {
        listed = Items(area, TAV_IDC_AREACORRECT_ITEMS);
        area.Escape();
    });
    bound.Correct();
    EXPECT_EQ(listed, (std::vector<std::string>{"点名 - 点名", "X - X", "Y - Y"})) << "each heading row's text, in column order";
}

TEST(TavInputNumDialogTest, CancelLeavesTheCallersValuesAndTheMethodSwitchRejudgesTheText)
{
    CorrectionGrid bound;
    const HixMrm measure(5, 0, 3);
    double value = 42;
    int method = 9;
    bound.driver.OnNextDialog([](DialogOperator& number) {
        number.SetText(TAV_IDC_INPUTNUM_VALUE, "3");
        number.Escape();
    });
    EXPECT_FALSE(TavOpenInputNumDialog(measure, 0, 3, value, method, &bound.host));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(method, 9);

    bound.driver.OnNextDialog([](DialogOperator& number) {
        number.SetText(TAV_IDC_INPUTNUM_VALUE, "-2.5");
        number.Click(TAV_IDC_INPUTNUM_REPLACE);
        EXPECT_EQ(Wnd::GetFocus(), number.Control(TAV_IDC_INPUTNUM_VALUE)) << "the text no longer fits";
        number.Click(TAV_IDC_INPUTNUM_ADD);
        number.Return();
    });
    EXPECT_TRUE(TavOpenInputNumDialog(measure, 0, 3, value, method, &bound.host));
    EXPECT_EQ(value, -2.5);
    EXPECT_EQ(method, 0);
}

TEST(TavProgressWndTest, TheCaptionIsTheCallersAndTheLineAlwaysSaysProcessing)
{
    CorrectionGrid bound;
    TavProgressWnd progress;
    progress.SetRange(0, 10); // no window yet: nothing happens
    ASSERT_EQ(progress.Create("一括訂正", &bound.host), 1);
    EXPECT_EQ(progress.GetWindowText(), "一括訂正");
    EXPECT_EQ(progress.GetDlgItemText(KES_IDC_MESSAGE), "処理中...");
    EXPECT_EQ(progress.Create("行移動", &bound.host), 0) << "one window per progress";
    EXPECT_EQ(progress.GetWindowText(), "一括訂正") << "a Create that made nothing leaves the caption as it was";
}

} // namespace
