// The grid's context menu as a person opens and works it, the states of its items, the search
// command's refusals and the help it asks the program for.
#include "tests/tav/command/CommandHost.h"

#include "components/support/NifCommonMenu.h"
#include "platform/ui/Help.h"
#include "platform/ui/MenuTracker.h"
#include "tav/dialogs/TavFindDialog.h"

#include <gtest/gtest.h>


using namespace plat;
using namespace tavtest;

namespace {

class HelpApp : public WinApp {
public:
    using WinApp::WinApp;
    void WinHelp(std::uintptr_t data, UINT command) override { calls.push_back({data, command, GetHelpType()}); }
    struct Call {
        std::uintptr_t data;
        UINT command;
        int helpType;
    };
    std::vector<Call> calls;
};

// Help topics: the manager names item 0's help item with extra high bits, which must not
// reach the topic lookup.
class HelpManager : public ProbeManager {
public:
    unsigned OnGetHelpItemID(unsigned id) override { return 0x70000 | (id + 1); }
    unsigned long GetHelpID(unsigned short commandId) override { return topicBase == 0 ? 0 : topicBase + commandId; }
    unsigned long topicBase = 0x20000;
};

class FindGrid : public ProbeGrid {
public:
    int OnEnableFindCommand(unsigned id) override { return id != kY; }
};

class MenuGrid {
public:
    tavtest::MemoryRegistry m_registry;
    MenuGrid()
    {
        host.Create("MenuHost", "座標", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(WS_VISIBLE, RECT{0, 16, 640, 384}, &host, 100);
        manager.Associate(&grid, &data);
        grid.SetFocus();
        app.SetMainWnd(&host);
    }
    ~MenuGrid() { host.DestroyWindow(); }
    // The items of the menu that is open now, as "id text" lines ("-" a separator, "> text"
    // a sub menu, "(grey)" and "(check)" marks).
    std::vector<std::string> OpenItems() const
    {
        std::vector<std::string> items;
        const MenuTracker* tracker = MenuTracker::Active();
        if (tracker == nullptr || tracker->Popups().empty())
            return items;
        const HMENU menu = tracker->Popups().back().menu;
        MenuItemInfo item;
        for (int i = 0; GetMenuItem(menu, i, item); ++i) {
            std::string line = item.IsSeparator() ? "-" : item.IsPopup() ? "> " + item.text : std::to_string(item.id) + " " + item.text;
            if (!item.IsSeparator() && !item.IsEnabled())
                line += " (grey)";
            if (item.IsChecked())
                line += " (check)";
            items.push_back(line);
        }
        return items;
    }

    HeadlessDriver driver;
    HelpApp app{"MenuTest", "Test", &driver};
    HelpManager manager;
    TavData data;
    Wnd host;
    FindGrid grid;
};

std::string Item(UINT id, const char* text) { return std::to_string(id) + " " + text; }

TEST(TavCommonMenuTest, TheContextMenuIsTheSharedEditAndCellCommandsAtTheCaretOrTheMouse)
{
    MenuGrid bound;
    bound.driver.SetScreenSize(SIZE{1280, 800});
    bound.manager.SetCellLock(TRUE);
    bound.manager.SetAutoWidth(FALSE);
    std::vector<std::string> items;
    std::vector<std::string> moveItems;
    HMENU first = nullptr;
    RECT box{};
    bound.driver.WhenEventsLeft(4, [&] {
        items = bound.OpenItems();
        if (const MenuTracker* tracker = MenuTracker::Active()) {
            first = tracker->Popups().back().menu;
            box = tracker->Popups().back().box;
        }
    });
    bound.driver.WhenEventsLeft(1, [&] { moveItems = bound.OpenItems(); });
    bound.driver.PushKey(VK_F10, true);
    bound.driver.PushKey(VK_ESCAPE);
    bound.driver.Push(InputEvent::MouseClick(POINT{300, 200}, InputEvent::Kind::RightClick));
    bound.driver.PushText("g"); // 移動(&G) opens its sub menu, still whole after the shared menu went
    bound.driver.PushKey(VK_ESCAPE);
    bound.app.Run();

    using namespace NifCommand;
    const std::vector<std::string> expected{
        Item(ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"), Item(ID_EDIT_COPY, "コピー(&C)\tCtrl+C"),
        Item(ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V (grey)"), Item(ID_EDIT_CLEAR, "消去(&L)\tDel"), "-", "> 移動(&G)",
        Item(Find, "検索(&F)..."), "-", Item(LineInsert, "行挿入(&I)"), Item(LineDelete, "行削除(&D)"),
        Item(LineMove, "行移動(&M)"), Item(LineCopy, "行複写(&C)"), Item(LineSwap, "行入替(&S)"),
        Item(LineCloseUp, "行詰め(&U)"), "-", Item(AreaCorrect, "範囲補正(&A)..."),
        Item(Lock, "ｾﾙﾛｯｸ(&L) (check)"), Item(AutoWidth, "列幅自動調整(&W)"), Item(CellChange, "項目変更(&H)..."),
        Item(Template, "ﾃﾝﾌﾟﾚｰﾄ(&E)..."), Item(ViewSettings, "表示設定(&V)... (grey)"), "-",
        Item(EditOpen, "ﾃｷｽﾄ編集(&X)..."), Item(Read, "読み上げ(&R)"), Item(CellPrint, "印刷(&P)...")};
    EXPECT_EQ(items, expected) << "Undo, special paste, select all and the dedicated commands stay out; "
                                  "commands the grid cannot carry out are grey, the clipboard is empty";
    EXPECT_EQ(moveItems, (std::vector<std::string>{Item(MoveTop, "先頭行(&T)\tCtrl+Home"),
                                                   Item(MoveBottom, "最終行(&B)\tCtrl+End"),
                                                   Item(Jump, "指定行(&J)...")}));
    RECT cell{};
    ASSERT_TRUE(bound.grid.GetCellRect(bound.grid.GetCaret(), cell));
    bound.grid.ClientToScreen(&cell);
    EXPECT_EQ(box.left, cell.right / CellTextMeasure::kColumnWidth) << "the keyboard's menu opens at the caret cell's bottom right";
    EXPECT_EQ(box.top, cell.bottom / CellTextMeasure::kLineHeight);

    SCOPED_TRACE("while an editor is open the width cannot be switched");
    std::vector<std::string> editing;
    bound.grid.SendMessage(MOXM_OPENEDITOR);
    bound.driver.WhenEventsLeft(1, [&] { editing = bound.OpenItems(); });
    bound.driver.Push(InputEvent::MouseClick(POINT{300, 200}, InputEvent::Kind::RightClick));
    bound.driver.PushKey(VK_ESCAPE);
    bound.app.Run();
    ASSERT_EQ(editing.size(), expected.size());
    EXPECT_EQ(editing[17], Item(AutoWidth, "列幅自動調整(&W) (grey)"));

    SCOPED_TRACE("another grid gets the very same menu; choosing from it reaches that grid");
    MenuGrid second;
    HMENU again = nullptr;
    second.driver.WhenEventsLeft(1, [&] {
        if (const MenuTracker* tracker = MenuTracker::Active())
            again = tracker->Popups().back().menu;
    });
    second.driver.PushKey(VK_F10, true);
    second.driver.PushText("w");
    second.app.Run();
    EXPECT_EQ(again, first);
    EXPECT_TRUE(second.manager.QueryAutoWidth()) << "列幅自動調整 switched automatic widths on";
}

TEST(TavCommonMenuTest, SearchWantsOneRangeInOneColumnWhoseEditorCanBeSearched)
{
    MenuGrid bound;
    // The search dialog borrows the column's own editor: a combo box for the code list, an
    // edit for the point name.
    std::vector<std::string> runs;
    for (int opened = 0; opened < 2; ++opened)
        bound.driver.OnNextDialog([&](DialogOperator& dialog) {
            const bool combo = dynamic_cast<ComboBox*>(dialog.Control(TAV_IDC_FIND_VALUE)) != nullptr;
            runs.push_back(std::string(combo ? "code list" : "edit") +
                           (dialog.GetDialog().GetOwner() == &bound.host ? " host" : " ?") +
                           (bound.grid.IsSearchMarking() ? " marked" : ""));
            dialog.Escape();
        });
    const auto select = [&](std::initializer_list<MoxRect> ranges) {
        MoxRectArray selection;
        for (const MoxRect& range : ranges)
            selection.Add(range, 0);
        bound.grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<WPARAM>(&selection));
        bound.grid.SendMessage(WM_COMMAND, NifCommand::Find);
    };
    select({});
    select({MoxRect(MoxPos{0, 1}, MoxPos{0, 2}), MoxRect(MoxPos{0, 5}, MoxPos{0, 6})});
    select({MoxRect(MoxPos{1, 1}, MoxPos{2, 4})});
    select({MoxRect(MoxPos{2, 1}, MoxPos{2, 4})}); // Y: the host refuses the search
    select({MoxRect(MoxPos{4, 9}, MoxPos{4, 3})}); // the code list
    select({MoxRect(MoxPos{0, 3}, MoxPos{0, 7})}); // the point name

    std::vector<std::string> texts;
    for (const MessageBoxRecord& box : bound.driver.MessageBoxes()) {
        texts.push_back(box.text);
        EXPECT_EQ(box.style, 0x30u);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"範囲が選択されていません。", "複数範囲の指定は出来ません。",
                                               "指定した選択範囲が正しくありません。", "指定した選択範囲が正しくありません。"}));
    EXPECT_EQ(runs, (std::vector<std::string>{"code list host marked", "edit host marked"}));
    EXPECT_FALSE(bound.grid.IsSearchMarking()) << "the highlighting lasts as long as the dialog";
}

TEST(TavCommonMenuTest, HelpAsksForItemZerosTopicWithTheHelpTypeSwitchedOffMeanwhile)
{
    MenuGrid bound;
    bound.app.SetHelpType(3);
    bound.driver.PushKey(VK_F1);
    bound.app.Run();
    ASSERT_EQ(bound.app.calls.size(), 1u);
    // Item 0 is the point name (101); its help item 102 comes back with high bits that go.
    EXPECT_EQ(bound.app.calls[0].data, 0x20000u + kX);
    EXPECT_EQ(bound.app.calls[0].command, HELP_CONTEXT);
    EXPECT_EQ(bound.app.calls[0].helpType, 0);
    EXPECT_EQ(bound.app.GetHelpType(), 3) << "restored";
    EXPECT_EQ(bound.grid.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(5, 5)), static_cast<LRESULT>(0x20000 + kX));
    EXPECT_EQ(bound.grid.SendMessage(WM_COMMANDHELP, 0, 0x1234), 1);
    EXPECT_EQ(bound.app.calls.back().data, 0x1234u) << "a context given is shown as it is";

    bound.manager.topicBase = 0;
    bound.app.calls.clear();
    EXPECT_EQ(bound.grid.SendMessage(WM_COMMANDHELP, 0, 0), 0) << "no topic: the windows further out may answer";
    EXPECT_TRUE(bound.app.calls.empty());
}

} // namespace
