// Undo and redo through the grid: each command a person gives is one step, taken back and
// done again byte for byte with its flags and lock ranges; the editor's own typing goes
// first; a refusing host is told about; the menu items name the step.
#include "tests/tav/command/CommandHost.h"

#include "components/mox/MoxCellCtrl.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Clipboard.h"
#include "tests/tav/data/TestHost.h"
#include "tav/data/TavUndoHistory.h"
#include "components/support/NifCommonMenu.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace plat;
using namespace tavtest;

namespace {

// A host's table whose hook fails on one record, as a host's own error would.
class ThrowingTable : public RefusingRecords {
public:
    using RefusingRecords::OnDataChanging;
    BOOL OnDataChanging(unsigned id, long record, const void* bytes) override
    {
        if (record == failing)
            throw std::runtime_error("the host failed");
        return RefusingRecords::OnDataChanging(id, record, bytes);
    }
    long failing = -1;
};

struct MenuItemState : CmdUI {
    void Enable(BOOL on) override { enabled = on; }
    void SetText(std::string_view value) override { text = value; }
    BOOL enabled = FALSE;
    std::string text;
};

class TavCommonUndoTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> State() { return TableState(data, bound.manager); }
    void Select(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, std::uint8_t flags = 0)
    {
        bound.Select({MoxRect(MoxPos{left, top}, MoxPos{right, bottom})}, flags);
    }
    void Lines(std::int32_t top, std::int32_t bottom) { Select(0, top, 4, bottom, MoxRectArray::kWholeLines); }
    void Command(UINT id) { grid.SendMessage(WM_COMMAND, id); }
    void Control(int key, bool shift = false)
    {
        bound.driver.PushKey(key, shift, true);
        bound.app.Run();
    }
    std::string UndoText()
    {
        MenuItemState item;
        grid.UpdateEditUndo(item);
        return item.enabled ? item.text : "(grey) " + item.text;
    }

    BoundGrid<ProbeGrid, ThrowingTable> bound;
    ProbeGrid& grid = bound.grid;
    ThrowingTable& data = bound.data;
};

} // namespace

TEST_F(TavCommonUndoTest, EachCommandIsOneStepTakenBackAndDoneAgainWithItsFlagsAndLocks)
{
    for (long r = 0; r < 20; ++r) {
        if (r % 4 != 1) {
            ASSERT_TRUE(data.Set(static_cast<unsigned>(kX), r, r + 0.5));
        }
    }
    bound.manager.AttrWarning().Set(kX, 4, 1, 0);
    bound.manager.AttrDisable().Set(kY, 9, 1, 0);
    bound.manager.SetCellLock(TRUE);
    data.Lock().Add({kX, 2, 12});
    data.SetModifiedFlag(FALSE);
    EXPECT_EQ(UndoText(), "(grey) 元に戻す(&U)\tCtrl+Z");

    std::vector<std::vector<std::uint8_t>> states{State()};
    std::vector<std::string> names;
    const auto step = [&](const char* name) {
        states.push_back(State());
        names.push_back(name);
        EXPECT_EQ(grid.History()->UndoName(), name);
    };
    Lines(3, 5);
    Command(NifCommand::LineDelete);
    step("行削除");
    Lines(0, 1);
    Command(NifCommand::LineInsert);
    step("行挿入");
    Lines(0, 12);
    Command(NifCommand::LineCloseUp);
    step("行詰め");
    Lines(5, 6);
    Command(NifCommand::LineMove);
    bound.Keys({VK_DOWN, VK_DOWN, VK_RETURN});
    step("行移動");
    Lines(0, 0);
    Command(NifCommand::LineSwap);
    bound.Keys({VK_DOWN, VK_DOWN, VK_RETURN});
    step("行入替");
    Command(NifCommand::Lock);
    step("ｾﾙﾛｯｸ");
    grid.SetCurSel(MoxPos{1, 30}, 0);
    SetClipboardText("1.25\t2.5\n3\t4\n");
    Command(plat::ID_EDIT_PASTE);
    step("貼り付け");
    Select(1, 0, 2, 3);
    Command(plat::ID_EDIT_CUT);
    step("切り取り");
    Select(1, 6, 1, 8);
    Command(plat::ID_EDIT_CLEAR);
    step("消去");
    grid.SetCurSel(MoxPos{1, 40}, 0);
    bound.driver.PushText("12");
    bound.Keys({VK_RETURN});
    step("入力");

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        Control('Z');
        EXPECT_EQ(State(), states[k - 1]) << "after taking back " << names[k - 1];
    }
    EXPECT_FALSE(data.IsModified()) << "back at the saved state";
    for (std::size_t k = 1; k < states.size(); ++k) {
        Control(k % 2 != 0 ? 'Y' : 'Z', k % 2 == 0);
        EXPECT_EQ(State(), states[k]) << "after doing " << names[k - 1] << " again";
    }
    EXPECT_TRUE(data.IsModified());

    SCOPED_TRACE("a host that now refuses a cell of the step: the person is told and nothing changes");
    data.refused = {40};
    Control('Z');
    EXPECT_EQ(State(), states.back());
    EXPECT_EQ(bound.Boxes(), std::vector<std::string>{"変更が受け付けられなかったため、元に戻せませんでした。"});
}

TEST_F(TavCommonUndoTest, AnOpenEditorTakesBackItsOwnTypingBeforeTheTablesHistory)
{
    grid.SetCurSel(MoxPos{0, 3}, 0);
    bound.driver.PushText("AB");
    bound.Keys({VK_RETURN});
    ASSERT_EQ(grid.History()->UndoName(), "入力");
    const auto typed = State();

    grid.SetCurSel(MoxPos{0, 4}, 0);
    bound.driver.PushText("CD");
    bound.app.Run();
    auto* editor = reinterpret_cast<Wnd*>(grid.SendMessage(MOXM_GETEDITOR));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(UndoText(), "元に戻す(&U): 入力\tCtrl+Z");
    Control('Z');
    EXPECT_EQ(editor->GetWindowText(), "") << "the typing went first";
    EXPECT_NE(grid.SendMessage(MOXM_ISEDITING), 0);
    EXPECT_EQ(State(), typed) << "the table is not touched yet";
    Control('Y');
    EXPECT_EQ(editor->GetWindowText(), "CD") << "and comes back";
    Control('Z');
    Control('Z');
    EXPECT_EQ(grid.SendMessage(MOXM_ISEDITING), 0) << "an editor with nothing typed gives way";
    std::string name;
    EXPECT_FALSE(data.Get(static_cast<unsigned>(kPointName), 3, name)) << "the table's last step was taken back";
}

TEST_F(TavCommonUndoTest, LayoutSettersBoundTheirValuesKeepTheStepAndMarkTheTable)
{
    TavUndoHistory& history = *grid.History();
    const std::vector<unsigned> before = data.Template();
    const std::vector<unsigned> widthsBefore = data.Width();
    data.SetModifiedFlag(FALSE);
    history.OpenStep("並べ替え");
    bound.manager.CustomizeTemplate({kY, kX, kPointName});
    data.SetItemWidth(0, 0xFFFFFFFFu);
    history.CloseStep();
    ASSERT_EQ(bound.manager.ColtoID(0), static_cast<unsigned>(kY));
    EXPECT_EQ(data.Width()[0], static_cast<unsigned>(MoxCellCtrl::kMaxPaneWidth)) << "no width past a grid column's";
    EXPECT_TRUE(data.IsModified());
    Control('Z');
    EXPECT_EQ(data.Template(), before);
    EXPECT_EQ(data.Width(), widthsBefore) << "one step keeps the layout as it began, whatever set it";
    EXPECT_EQ(bound.manager.ColtoID(0), before[0]) << "the columns follow the layout put back";
    EXPECT_FALSE(data.IsModified());
    Control('Y');
    EXPECT_EQ(bound.manager.ColtoID(0), static_cast<unsigned>(kY));
    EXPECT_EQ(data.Width()[0], static_cast<unsigned>(MoxCellCtrl::kMaxPaneWidth));
}

TEST_F(TavCommonUndoTest, AnExceptionInsideACommandLeavesNoOpenStepAndTheNextCommandIsItsOwnStep)
{
    ASSERT_TRUE(data.Set(static_cast<unsigned>(kX), 0L, 1.5));
    const std::vector<std::uint8_t> before = State();
    data.failing = 31;
    grid.SetCurSel(MoxPos{1, 30}, 0);
    SetClipboardText("7\n8\n");
    Control('V'); // the second line's hook throws; the message loop tells the person and goes on
    ASSERT_EQ(bound.driver.MessageBoxes().size(), 1u);
    EXPECT_FALSE(grid.History()->IsStepOpen()) << "a paste stopped half way leaves no step open";
    EXPECT_EQ(State(), before) << "what it wrote before it stopped is put back";

    ASSERT_TRUE(data.Set(static_cast<unsigned>(kY), 40L, 2.5));
    const std::vector<std::uint8_t> beforeMove = State();
    data.failing = 41;
    Lines(40, 40);
    Command(NifCommand::LineMove);
    bound.Keys({VK_DOWN, VK_RETURN}); // the line's first cell lands on the failing record
    EXPECT_EQ(bound.driver.MessageBoxes().size(), 2u);
    EXPECT_FALSE(grid.History()->IsStepOpen()) << "the command's step went with the exception";
    EXPECT_EQ(State(), beforeMove);

    data.failing = -1;
    Lines(0, 0);
    Command(NifCommand::LineDelete);
    EXPECT_EQ(grid.History()->GetStepCount(), 1u) << "the delete is a step of its own";
    Control('Z');
    EXPECT_EQ(State(), beforeMove);
    EXPECT_FALSE(grid.History()->CanUndo()) << "neither stopped command left a step";
}
