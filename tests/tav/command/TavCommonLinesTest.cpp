// The line commands on a bound coordinate table: lines, flags and lock ranges travel
// together, refusals change nothing, a command refused part way is undone whole; the Return
// walk, the moves to the first and last line, the jump and find dialogs.
#include "tests/tav/command/CommandHost.h"
#include "tests/tav/data/TestHost.h"

#include "components/support/NifCommonMenu.h"
#include "tav/data/TavAttr.h"
#include "tav/dialogs/TavJumpDialog.h"

#include <gtest/gtest.h>

using namespace plat;
using namespace tavtest;

namespace {

class LineGrid : public ProbeGrid {
public:
    int OnCheckSrcLineEditArea(const MoxRectArray& /*blocks*/) override
    {
        hooks.push_back("src");
        return 1;
    }
    int OnCheckDstLineEditArea(const MoxRectArray& /*blocks*/) override
    {
        hooks.push_back("dst");
        return 1;
    }
    void OnBeginLineEdit() override { hooks.push_back("begin"); }
    void OnFinishLineEdit() override
    {
        hooks.push_back("finish");
        TavCommon::OnFinishLineEdit();
    }
    void OnCancelLineEdit() override
    {
        hooks.push_back("cancel");
        TavCommon::OnCancelLineEdit();
    }
    int OnChangeCurPos(const MoxPos& /*from*/, const MoxPos& to) override { return to == refusedPos ? 0 : 1; }

    std::vector<std::string> hooks;
    MoxPos refusedPos{-1, -1};
};

class LineTable : public RefusingRecords {
public:
    void OnInitLineData(long record) override { inits.push_back(record); }
    void OnFinishLineData() override { ++finishes; }

    std::vector<long> inits;
    int finishes = 0;
};

class TavCommonLinesTest : public ::testing::Test {
protected:
    // X holds record + 0.5 on the given lines.
    void Fill(std::initializer_list<long> records)
    {
        for (long record : records)
            ASSERT_TRUE(data.Set(kX, record, record + 0.5));
    }
    // The X value of a line, -1 when it holds none.
    double X(long record)
    {
        double value = 0;
        return data.Get(static_cast<unsigned>(kX), record, value) ? value : -1;
    }
    std::vector<double> X(std::initializer_list<long> records)
    {
        std::vector<double> values;
        for (long record : records)
            values.push_back(X(record));
        return values;
    }
    void SelectLines(std::initializer_list<std::pair<int, int>> ranges, std::uint8_t flags = MoxRectArray::kWholeLines)
    {
        MoxRectArray selection;
        for (const auto& [top, bottom] : ranges)
            selection.Add(MoxRect(MoxPos{0, top}, MoxPos{4, bottom}), flags);
        grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<WPARAM>(&selection));
    }
    void Command(UINT id) { grid.SendMessage(WM_COMMAND, id); }
    static TavLockArray Locks(std::initializer_list<TavLockData> ranges)
    {
        TavLockArray locks;
        for (const TavLockData& lock : ranges)
            locks.Add(lock);
        return locks;
    }

    BoundGrid<LineGrid, LineTable> bound;
    LineGrid& grid = bound.grid;
    LineTable& data = bound.data;
    TavAttr& warning = bound.manager.AttrWarning();
    TavAttr& disable = bound.manager.AttrDisable();
};

TEST_F(TavCommonLinesTest, InsertAndDeleteTakeFlagsAndLocksAlongAndRefuseWhatTheyCannotDo)
{
    Fill({2, 3, 96});
    warning.Set(kX, 3, 1, 1);
    disable.Set(96L, 1, 1);
    data.Lock().Add({kX, 2, 4});
    data.Lock().Add({kY, 90, 99});
    SelectLines({{3, 5}});
    Command(NifCommand::LineInsert);
    EXPECT_EQ(X({2, 3, 6, 99}), (std::vector<double>{2.5, -1, 3.5, 96.5})) << "three empty records were left after the last one";
    EXPECT_TRUE(warning.Get(kX, 6L));
    EXPECT_FALSE(warning.Get(kX, 3L));
    EXPECT_TRUE(disable.Get(99L));
    EXPECT_EQ(data.Lock(), Locks({{kX, 2, 2}, {kX, 6, 7}, {kY, 93, 99}})) << "inserted lines are not locked";

    Command(NifCommand::LineInsert);
    EXPECT_EQ(bound.Boxes(), std::vector<std::string>{"行を挿入するためのｽﾍﾟｰｽがありません。"});
    EXPECT_EQ(X(99), 96.5) << "nothing was pushed off the end";

    SelectLines({{6, 6}, {20, 20}});
    Command(NifCommand::LineDelete);
    SelectLines({{6, 6}}, 0);
    Command(NifCommand::LineDelete);
    MoxRectArray mixed = grid.GetSelection(); // a cell range among lines is no line selection
    mixed.Add(MoxRect(MoxPos{0, 8}, MoxPos{4, 8}), MoxRectArray::kWholeLines);
    grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<WPARAM>(&mixed));
    Command(NifCommand::LineSwap); // which takes several blocks
    EXPECT_EQ(bound.Boxes(), (std::vector<std::string>{"複数行選択に対して操作できません。", "行が選択されていません。",
                                               "行が選択されていません。"}));
    EXPECT_EQ(X(6), 3.5) << "refused deletes delete nothing";

    SelectLines({{6, 6}});
    Command(NifCommand::LineDelete);
    EXPECT_EQ(X({6, 98}), (std::vector<double>{-1, 96.5}));
    EXPECT_FALSE(warning.Get(kX, 6L));
    EXPECT_TRUE(disable.Get(98L));
    EXPECT_EQ(data.Lock(), Locks({{kX, 2, 2}, {kX, 6, 6}, {kY, 92, 98}}));

    TavData empty;
    bound.manager.Associate(&grid, &empty);
    SelectLines({{0, 99}});
    EXPECT_EQ(grid.LineInsert(), 1) << "a table without data takes any selection that fits";
    bound.manager.Associate(&grid, &data); // the fixture's table outlives this one
}

TEST_F(TavCommonLinesTest, MoveCopyAndSwapCarryLinesWithTheirFlagsWhereTheBlocksWereTaken)
{
    Fill({1, 2, 3, 4, 5, 6, 7});
    warning.Set(kY, 5, 1, 1);
    disable.Set(kZ, 2, 1, 1);
    data.Lock().Add({kX, 5, 5});

    SelectLines({{5, 6}});
    Command(NifCommand::LineMove);
    EXPECT_TRUE(grid.IsLineMarking());
    bound.Keys({VK_RETURN});
    EXPECT_EQ(grid.QueryLineCommand(), NifCommand::LineMove) << "blocks that have not moved wait";
    bound.Keys({VK_DOWN, VK_RETURN});
    EXPECT_EQ(grid.QueryLineCommand(), 0u);
    EXPECT_FALSE(grid.IsLineMarking());
    EXPECT_EQ(grid.hooks, (std::vector<std::string>{"src", "dst", "begin", "finish"}));
    EXPECT_EQ(X({5, 6, 7}), (std::vector<double>{-1, 5.5, 6.5})) << "old line 7 is overwritten";
    EXPECT_FALSE(warning.Get(kY, 5L));
    EXPECT_TRUE(warning.Get(kY, 6L));
    EXPECT_EQ(data.Lock(), Locks({{kX, 6, 6}}));
    EXPECT_EQ(grid.GetSelection().GetAt(0).Top(), 6);

    SelectLines({{2, 2}});
    Command(NifCommand::LineCopy);
    bound.Keys({VK_DOWN, VK_UP, VK_RETURN});
    EXPECT_EQ(grid.QueryLineCommand(), NifCommand::LineCopy) << "a copy onto itself waits";
    bound.Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(X({2, 8}), (std::vector<double>{2.5, 2.5}));
    EXPECT_TRUE(disable.Get(kZ, 2L));
    EXPECT_TRUE(disable.Get(kZ, 8L));

    SCOPED_TRACE("blocks of different heights each swap with the lines their shift lands on");
    SelectLines({{1, 1}, {3, 4}});
    Command(NifCommand::LineSwap);
    grid.hooks.clear();
    bound.Keys({VK_DOWN, VK_RETURN});
    EXPECT_EQ(grid.QueryLineCommand(), NifCommand::LineSwap) << "overlapping swap blocks wait";
    EXPECT_TRUE(grid.hooks.empty());
    bound.Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    // Line 5 was empty, line 8 held the copy made before, between the blocks nothing moves.
    EXPECT_EQ(X({1, 5, 3, 4, 7, 8, 6}), (std::vector<double>{-1, 1.5, 6.5, 2.5, 3.5, 4.5, 5.5}));
    EXPECT_TRUE(disable.Get(kZ, 4L));
    EXPECT_FALSE(disable.Get(kZ, 8L));
    EXPECT_EQ(data.Lock(), Locks({{kX, 6, 6}}));

    SCOPED_TRACE("the blocks stay on the table, and Escape ends a command");
    grid.SetCurSel(MoxPos{0, 50}, 0);
    SelectLines({{98, 99}});
    Command(NifCommand::LineMove);
    bound.Keys({VK_DOWN});
    EXPECT_EQ(grid.GetCaret().row, 50);
    EXPECT_EQ(grid.GetSelection().GetAt(0).Top(), 98);
    bound.Keys({VK_ESCAPE});
    EXPECT_EQ(grid.QueryLineCommand(), 0u);
    EXPECT_EQ(X(98), -1);
}

TEST_F(TavCommonLinesTest, ACommandTheTableRefusesPartWayLeavesEverythingAsItWas)
{
    Fill({5, 6, 7, 8});
    warning.Set(kY, 5, 1, 1);
    disable.Set(8L, 1, 1);
    data.Lock().Add({kX, 6, 7});
    data.refused = {8};
    SelectLines({{5, 6}});
    Command(NifCommand::LineMove);
    bound.Keys({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(grid.QueryLineCommand(), 0u) << "the refused command ended";
    EXPECT_EQ(grid.hooks.back(), "cancel");
    for (long record : {5L, 6L, 7L, 8L})
        EXPECT_EQ(X(record), record + 0.5) << record;
    EXPECT_TRUE(warning.Get(kY, 5L));
    EXPECT_FALSE(warning.Get(kY, 7L));
    EXPECT_TRUE(disable.Get(8L));
    EXPECT_FALSE(disable.Get(kX, 6L));
    EXPECT_EQ(data.Lock(), Locks({{kX, 6, 7}}));
}

TEST_F(TavCommonLinesTest, CloseUpGathersBlankLinesAtEachRangesBottomOnly)
{
    Fill({2, 6, 12, 20, 23});
    SelectLines({{2, 2}});
    Command(0xC109);
    EXPECT_FALSE(data.History().CanUndo()) << "a line with nothing to close up leaves no undo step";
    grid.hooks.clear();
    warning.Set(kX, 6, 1, 1);
    data.Lock().Add({kX, 6, 6});
    SelectLines({{0, 9}, {18, 40}});
    Command(NifCommand::LineCloseUp);
    EXPECT_EQ(grid.QueryLineCommand(), 0u);
    EXPECT_EQ(X({0, 1, 2, 12, 18, 19}), (std::vector<double>{2.5, 6.5, -1, 12.5, 20.5, 23.5})) << "lines between the ranges stay";
    EXPECT_EQ(data.GetLastInputRecordNo(), 19);
    EXPECT_TRUE(warning.Get(kX, 1L)) << "flags go with their line";
    EXPECT_EQ(data.Lock(), Locks({{kX, 1, 1}}));
    EXPECT_EQ(grid.hooks, (std::vector<std::string>{"src", "dst", "begin", "finish"}));
}

TEST_F(TavCommonLinesTest, ReturnWalksToTheNextEditableCellAndTellsTheTableAtNewAndLastLines)
{
    Fill({0});
    bound.manager.SetCellLock(TRUE);
    data.Lock().Add({kX, 0, 0});
    disable.Set(kY, 0, 1, 1);
    grid.SetPaneWidth(0, 3); // Z hidden
    grid.SetCurSel(MoxPos{0, 0}, 0);
    bound.Keys({VK_RETURN});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{4, 0})) << "past a locked, a disabled and a hidden cell";
    bound.Keys({VK_TAB, VK_RETURN});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{1, 1}));
    EXPECT_EQ(data.inits, std::vector<long>{1}) << "once, when the walk entered the blank line";
    bound.driver.SetKeyDown(VK_SHIFT, true);
    bound.Keys({VK_RETURN, VK_RETURN});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{4, 0})) << "Shift walks back";
    grid.SetCurSel(MoxPos{0, 0}, 0);
    bound.Keys({VK_RETURN});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{0, 0})) << "nothing before the first cell";
    bound.driver.SetKeyDown(VK_SHIFT, false);

    grid.refusedPos = MoxPos{1, 5};
    grid.SetCurSel(MoxPos{0, 5}, 0);
    bound.Keys({VK_RETURN});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{2, 5})) << "the host turned the walk past a cell";
    grid.SetCurSel(MoxPos{4, 99}, 0);
    bound.Keys({VK_RETURN});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{4, 99}));
    EXPECT_EQ(data.finishes, 1);
}

TEST_F(TavCommonLinesTest, TopBottomAndJumpMoveTheCaretInItsColumn)
{
    Fill({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    grid.SetCurSel(MoxPos{2, 5}, 0);
    Command(NifCommand::MoveBottom);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{2, 9}));
    bound.driver.SetKeyDown(VK_SHIFT, true);
    Command(NifCommand::MoveTop);
    bound.driver.SetKeyDown(VK_SHIFT, false);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{2, 0}));
    ASSERT_EQ(grid.GetSelection().GetSize(), 2u);
    EXPECT_EQ(grid.GetSelection().GetAt(1), MoxRect(MoxPos{2, 0}, MoxPos{2, 9})) << "Shift selects what the caret passed";

    bool checked = false;
    bound.driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "ジャンプ先");
        EXPECT_EQ(person.Text(1067), "1") << "the caret's line, counted from 1";
        person.SetText(1067, "");
        person.Return();
        EXPECT_TRUE(person.IsOpen()) << "an empty field is no answer";
        person.SetText(1067, "0");
        person.Return();
        EXPECT_TRUE(person.IsOpen()) << "line 0 does not exist";
        ASSERT_FALSE(bound.driver.MessageBoxes().empty()) << "Return on a line that does not exist says why";
        EXPECT_NE(bound.driver.MessageBoxes().back().text.find("1 から "), std::string::npos)
            << bound.driver.MessageBoxes().back().text;
        person.SetText(1067, "42");
        person.Return();
        checked = !person.IsOpen();
    });
    Command(NifCommand::Jump);
    EXPECT_TRUE(checked);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{2, 41}));

    bound.driver.OnNextDialog([&](DialogOperator& person) {
        person.SetText(1067, "123456");
        person.Return(); // a line of six figures in a table of seven
    });
    long line = 1;
    EXPECT_TRUE(TavJumpDialog::Run(line, 1000000, &bound.host));
    EXPECT_EQ(line, 123456);
}

TEST_F(TavCommonLinesTest, FindBorrowsTheEditorSearchesEitherWayAndStopsAtTheRangesEnd)
{
    Fill({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(data.Set(kX, 7, 2.5));
    MoxRectArray column;
    column.Add(MoxRect(MoxPos{1, 0}, MoxPos{1, 30}));
    grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<WPARAM>(&column));
    plat::Wnd* editor = &bound.manager.m_x;
    plat::Wnd* editorParent = editor->GetParent();
    std::vector<long> rows;
    bound.driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "検索");
        EXPECT_EQ(person.Control(1067), editor) << "the column's own editor";
        EXPECT_TRUE(grid.IsSearchMarking());
        person.SetText(1067, "2.5");
        for (int press = 0; press < 3; ++press) {
            person.Return();
            rows.push_back(grid.GetCaret().row);
        }
        person.Click(1063); // up
        person.Return();
        rows.push_back(grid.GetCaret().row);
        person.Escape();
    });
    Command(NifCommand::Find);
    EXPECT_EQ(rows, (std::vector<long>{2, 7, 7, 2})) << "down twice, not found, back up from the last match";
    EXPECT_EQ(bound.Boxes(), std::vector<std::string>{"見つかりません。"});
    EXPECT_FALSE(grid.IsSearchMarking());
    EXPECT_EQ(editor->GetParent(), editorParent) << "the editor is given back";
    EXPECT_EQ(editor->GetDlgCtrlID(), 202);
    EXPECT_FALSE(editor->IsWindowVisible());
    EXPECT_EQ(grid.GetSelection(), column) << "the searched range stays selected";

    // A combo column compares the chosen entry's stored value.
    ASSERT_TRUE(data.Set(kCode, 4, 2));
    bound.Select({MoxRect(MoxPos{4, 0}, MoxPos{4, 9})});
    bound.driver.OnNextDialog([&](DialogOperator& person) {
        person.Pick(1067, 2);
        person.Return();
        person.Escape();
    });
    Command(NifCommand::Find);
    EXPECT_EQ(grid.GetCaret().row, 4);
}

} // namespace
