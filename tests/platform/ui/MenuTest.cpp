// Menus: the model, updates through the command route, commands from a window to its frame, and a
// person working a menu bar and a context menu with keys and the mouse, with their prompts.
#include "platform/ui/CmdUI.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MenuTracker.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Resources.h"
#include "tests/platform/ui/HeadlessAppTest.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace plat;

namespace {

enum : UINT { kOpen = 0x100, kSave, kQuit, kGrid, kZoomIn, kZoomOut, kCopy, kNoHandler, kSystem = 0xF060 };

class Child : public Wnd {
public:
    std::vector<UINT> commands;
    std::vector<POINT> contextPoints;
    Menu* contextMenu = nullptr;
    std::vector<int> keys;
    void OnCopy() { commands.push_back(kCopy); }
    LRESULT OnKeyDown(WPARAM key, LPARAM)
    {
        keys.push_back(static_cast<int>(key));
        return 0;
    }
    LRESULT OnContextMenu(WPARAM, LPARAM lParam)
    {
        const POINT point{static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                          static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)))};
        contextPoints.push_back(point);
        if (contextMenu)
            contextMenu->TrackPopupMenu(TPM_LEFTALIGN, point.x < 0 ? 600 : point.x, point.y < 0 ? 380 : point.y, GetParent());
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Child, Wnd)
    ON_COMMAND(kCopy, OnCopy)
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenu)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
END_MESSAGE_MAP()

class TestFrame : public FrameWnd {
public:
    std::vector<UINT> commands;
    bool canSave = false;
    bool grid = true;
    bool openFails = false;
    void OnOpen()
    {
        if (openFails)
            throw std::runtime_error("開けません");
        commands.push_back(kOpen);
    }
    void OnSave() { commands.push_back(kSave); }
    void OnQuit() { commands.push_back(kQuit); }
    void OnGrid() { commands.push_back(kGrid); }
    void OnZoomIn() { commands.push_back(kZoomIn); }
    void OnUpdateSave(CmdUI* ui) { ui->Enable(canSave); }
    void OnUpdateGrid(CmdUI* ui) { ui->SetCheck(grid ? 1 : 0); }
    void OnUpdateZoomOut(CmdUI* ui)
    {
        ui->Enable(FALSE);
        ui->SetText("縮小(&O) - 最小");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, FrameWnd)
    ON_COMMAND(kOpen, OnOpen)
    ON_COMMAND(kSave, OnSave)
    ON_COMMAND(kQuit, OnQuit)
    ON_COMMAND(kGrid, OnGrid)
    ON_COMMAND(kZoomIn, OnZoomIn)
    ON_UPDATE_COMMAND_UI(kSave, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(kGrid, OnUpdateGrid)
    ON_UPDATE_COMMAND_UI(kZoomOut, OnUpdateZoomOut)
END_MESSAGE_MAP()

struct Item {
    UINT flags;
    UINT_PTR idOrSubMenu;
    std::string_view text;
};

// A pop-up menu of these items, detached for the menu that will hold it.
UINT_PTR Popup(std::initializer_list<Item> items)
{
    Menu popup;
    popup.CreatePopupMenu();
    for (const Item& item : items)
        popup.AppendMenu(item.flags, item.idOrSubMenu, item.text);
    return reinterpret_cast<UINT_PTR>(popup.Detach());
}

// "ファイル" and "表示" with a sub menu, as a frame's menu bar.
void MakeMenuBar(Menu& bar)
{
    bar.CreateMenu();
    bar.AppendMenu(MF_POPUP,
                   Popup({{MF_STRING, kOpen, "開く(&O)...\tCtrl+O"},
                          {MF_STRING, kSave, "保存(&S)\tCtrl+S"},
                          {MF_SEPARATOR, 0, {}},
                          {MF_STRING, kQuit, "終了(&X)"}}),
                   "ファイル(&F)");
    const UINT_PTR zoom = Popup({{MF_STRING, kZoomIn, "拡大(&I)"}, {MF_STRING, kZoomOut, "縮小(&O)"}});
    bar.AppendMenu(MF_POPUP, Popup({{MF_STRING, kGrid, "格子(&G)"}, {MF_POPUP, zoom, "倍率(&Z)"}}), "表示(&V)");
}

struct FrameFixture : tavtest::HeadlessAppTest {
    FrameFixture()
    {
        module.AddStrings({{kOpen, "ファイルを開きます\n開く"}, {AFX_IDS_IDLEMESSAGE, "準備完了"}});
        previousModule = SetResourceHandle(&module);
        frame.Create("Frame", "試験", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
        child.Create("Child", "", WS_CHILD | WS_VISIBLE, frame.GetContentRect(), &frame, 1);
        child.SetFocus();
        MakeMenuBar(bar);
        frame.SetMenu(&bar);
        app.SetMainWnd(&frame);
    }
    ~FrameFixture() override { SetResourceHandle(previousModule); }
    // The screen's first lines as text.
    std::string Screen(int lines = 25)
    {
        Canvas canvas(80, lines);
        Renderer().Paint(canvas);
        return canvas.ToText();
    }

    Module module{"test"};
    ModuleHandle previousModule = nullptr;
    TestFrame frame;
    Child child;
    Menu bar;
};

} // namespace

TEST(MenuTest, ItemsStatesAndSubMenusMovedBetweenMenusWithoutBeingDestroyedTwice)
{
    Menu temp;
    ASSERT_TRUE(temp.CreatePopupMenu());
    temp.AppendMenu(MF_STRING, kOpen, "開く(&O)\tCtrl+O");
    temp.AppendMenu(MF_SEPARATOR);
    temp.AppendMenu(MF_GRAYED, kSave, "保存(&S)");
    Menu sub;
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, kGrid, "格子");
    const HMENU subHandle = sub.Detach();
    ASSERT_TRUE(temp.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(subHandle), "表示(&V)"));
    EXPECT_FALSE(temp.AppendMenu(MF_POPUP, 12345, "none")) << "a pop-up needs a menu that exists";

    EXPECT_EQ(temp.GetMenuItemID(1), 0u) << "a separator";
    EXPECT_EQ(temp.GetMenuItemID(3), kMenuNotFound) << "a sub menu";
    EXPECT_EQ(temp.GetMenuItemID(9), kMenuNotFound);
    EXPECT_EQ(temp.GetMenuState(kSave, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(temp.GetMenuState(3, MF_BYPOSITION), (1u << 8) | MF_POPUP) << "a sub menu's item count in the high byte";
    EXPECT_EQ(temp.EnableMenuItem(kSave, MF_ENABLED), MF_GRAYED) << "the previous state";
    EXPECT_EQ(temp.CheckMenuItem(kGrid, MF_CHECKED), MF_UNCHECKED) << "by command reaches into sub menus";
    EXPECT_EQ(temp.GetSubMenu(3)->GetMenuState(0, MF_BYPOSITION), MF_CHECKED);
    EXPECT_EQ(temp.CheckMenuItem(0x7777, MF_CHECKED), kMenuNotFound);

    SCOPED_TRACE("the sub menu moves to another menu: destroying the first leaves it alive");
    Menu kept;
    kept.CreatePopupMenu();
    ASSERT_TRUE(temp.RemoveMenu(3, MF_BYPOSITION));
    ASSERT_TRUE(kept.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(subHandle), "表示(&V)"));
    EXPECT_TRUE(temp.DestroyMenu());
    EXPECT_FALSE(temp.DestroyMenu()) << "nothing left to destroy";
    ASSERT_TRUE(IsMenu(subHandle));
    EXPECT_EQ(kept.GetSubMenu(0)->GetMenuItemID(0), kGrid);
    EXPECT_EQ(Menu::FromHandle(subHandle), kept.GetSubMenu(0));
    kept.DestroyMenu();
    EXPECT_FALSE(IsMenu(subHandle)) << "destroyed with the menu that held it";
    EXPECT_EQ(Menu::FromHandle(subHandle), nullptr);

    SCOPED_TRACE("DeleteMenu destroys a sub menu; RemoveMenu does not");
    Menu other;
    other.CreatePopupMenu();
    Menu inner;
    inner.CreatePopupMenu();
    const HMENU innerHandle = inner.Detach();
    other.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(innerHandle), "x");
    EXPECT_TRUE(other.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(innerHandle));
    EXPECT_EQ(other.GetMenuItemCount(), 0);
}

TEST_F(FrameFixture, AnUpdateDisablesCommandsWithoutHandlersAndLeavesSubMenuItemsAlone)
{
    Menu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, kOpen, "開く");     // the frame's command handler
    popup.AppendMenu(MF_STRING, kCopy, "コピー");   // the focused child's command handler
    popup.AppendMenu(MF_STRING, kSave, "保存");     // an update handler that disables
    popup.AppendMenu(MF_STRING, kNoHandler, "何か"); // nothing handles it
    popup.AppendMenu(MF_STRING, kSystem, "閉じる"); // a system command
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_POPUP, Popup({{MF_STRING, kSave, "保存"}}), "保存系");
    popup.AppendMenu(MF_POPUP, Popup({{MF_STRING, kNoHandler, "何か"}}), "その他");
    popup.AppendMenu(MF_STRING, kGrid, "格子");

    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.GetSafeHmenu()), 0);
    auto grayed = [&](UINT position) { return (popup.GetMenuState(position, MF_BYPOSITION) & MF_GRAYED) != 0; };
    EXPECT_FALSE(grayed(0));
    EXPECT_FALSE(grayed(1)) << "the focused window inside the frame has a handler";
    EXPECT_TRUE(grayed(2)) << "its update handler disabled it";
    EXPECT_TRUE(grayed(3)) << "no handler";
    EXPECT_FALSE(grayed(4)) << "system commands are never disabled for want of a handler";
    EXPECT_FALSE(grayed(6)) << "a sub menu item stays as it is even when its first command's update disables";
    EXPECT_FALSE(grayed(7)) << "a sub menu item stays as it is even when its first command has no handler";
    EXPECT_EQ(popup.GetSubMenu(7)->GetMenuState(0, MF_BYPOSITION), 0u) << "its items wait until it opens";
    EXPECT_EQ(popup.GetMenuState(8, MF_BYPOSITION), MF_CHECKED);

    frame.canSave = true;
    frame.grid = false;
    child.ShowWindow(SW_HIDE); // the focus leaves the child
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.GetSafeHmenu()), 0);
    EXPECT_TRUE(grayed(1)) << "without the focus the child is not on the route";
    EXPECT_FALSE(grayed(2));
    EXPECT_EQ(popup.GetMenuState(8, MF_BYPOSITION), 0u);
}

TEST_F(FrameFixture, ACommandSentToAChildGoesOnToItsFrameAndTheFrameOffersItsToTheFocus)
{
    child.SendMessage(WM_COMMAND, kOpen);
    frame.SendMessage(WM_COMMAND, kCopy);
    EXPECT_EQ(frame.commands, std::vector<UINT>{kOpen});
    EXPECT_EQ(child.commands, std::vector<UINT>{kCopy});

    CmdUI state;
    state.m_id = kSave;
    frame.canSave = true;
    EXPECT_TRUE(state.DoUpdate(&child, TRUE)) << "the frame's update handler answers for the child";
}

TEST_F(FrameFixture, TheMenuBarIsWorkedWithKeysSkippingGreyedItemsAndShowsPrompts)
{
    std::string open;
    std::string prompt;
    driver.WhenEventsLeft(4, [&] {
        open = Screen(7);
        prompt = frame.GetMessageText();
    });
    driver.PushKeys({VK_F10, VK_DOWN, VK_DOWN, VK_UP, VK_DOWN, VK_RETURN}); // ファイル on 開く, past the greyed 保存 and the separator, back, then 終了
    app.Run();
    EXPECT_EQ(frame.commands, std::vector<UINT>{kQuit});
    EXPECT_EQ(open, "  ファイル(F)  表示(V)  | 試験\n"
                    " ┌──────────────────────┐\n"
                    " │  開く(O)...  Ctrl+O  │\n"
                    " │  保存(S)     Ctrl+S  │\n"
                    " ├──────────────────────┤\n"
                    " │  終了(X)             │\n"
                    " └──────────────────────┘\n");
    EXPECT_EQ(prompt, "ファイルを開きます") << "the highlighted item's prompt";
    EXPECT_EQ(frame.GetMessageText(), "準備完了") << "the idle prompt once the menu closed";
    EXPECT_EQ(MenuTracker::Active(), nullptr);

    SCOPED_TRACE("Alt and a mnemonic open a menu; Right opens a sub menu; a letter chooses");
    std::string checked;
    driver.WhenEventsLeft(3, [&] { checked = Screen(); });
    InputEvent altV = InputEvent::KeyPress('V');
    altV.alt = true;
    driver.Push(altV);
    driver.PushKeys({VK_DOWN, VK_RIGHT, VK_RETURN});
    driver.Push(altV);
    driver.PushText("g");
    app.Run();
    EXPECT_EQ(frame.commands, (std::vector<UINT>{kQuit, kZoomIn, kGrid}));
    EXPECT_NE(checked.find("│✓ 格子(G)"), std::string::npos) << checked;
    EXPECT_NE(checked.find("│  縮小(O) - 最小  │"), std::string::npos) << "renamed by its update handler\n" << checked;

    SCOPED_TRACE("Escape goes back a level at a time; what follows reaches the windows again");
    driver.PushKeys({VK_F10, VK_DOWN, VK_ESCAPE, VK_ESCAPE, 'A'});
    app.Run();
    EXPECT_EQ(frame.commands.size(), 3u);
    EXPECT_EQ(driver.PendingEvents(), 0u);
    EXPECT_EQ(MenuTracker::Active(), nullptr);

    // The active bar shows its title apart from the others, and a key it has no use for
    // leaves it for the window with the focus.
    Canvas barShown(80, 25);
    driver.WhenEventsLeft(1, [&] { Renderer().Paint(barShown); });
    child.keys.clear();
    driver.PushKey(VK_F10);
    driver.PushKey('Z', false, true);
    app.Run();
    EXPECT_NE(barShown.At(3, 0).bg, barShown.At(15, 0).bg) << "ファイル highlighted, 表示 not";
    EXPECT_EQ(child.keys, std::vector<int>{'Z'}) << "Ctrl+Z went on to the focus";
    EXPECT_EQ(MenuTracker::Active(), nullptr);
}

TEST_F(FrameFixture, TheMouseOpensMenusAndChoosesAndTheContextMenuComesFromKeysOrTheRightButton)
{
    // The bar's 表示 lies at columns 14 to 22 of the first line; its sub menu opens beside it.
    driver.PushClick(POINT{15 * 8 + 4, 8});
    driver.PushClick(POINT{16 * 8 + 4, 3 * 16 + 8}); // 倍率, the second item
    driver.WhenEventsLeft(0, [&] {
        const MenuTracker* tracker = MenuTracker::Active();
        ASSERT_NE(tracker, nullptr);
        ASSERT_EQ(tracker->Popups().size(), 2u);
        const RECT sub = tracker->Popups()[1].box;
        driver.PushClick(POINT{(sub.left + 2) * 8, (sub.top + 1) * 16 + 8}); // 拡大
    });
    app.Run();
    EXPECT_EQ(frame.commands, std::vector<UINT>{kZoomIn});

    driver.PushClick(POINT{2 * 8, 8});          // ファイル
    driver.PushClick(POINT{4 * 8, 3 * 16 + 8}); // the greyed 保存 does nothing
    driver.PushClick(POINT{70 * 8, 20 * 16});   // anywhere else leaves the menu
    app.Run();
    EXPECT_EQ(frame.commands.size(), 1u);

    // Shift+F10 and the menu key ask the focus for its context menu at (-1, -1); the right
    // button at the point. The menu is kept on the screen and its command reaches the frame.
    Menu context;
    context.CreatePopupMenu();
    context.AppendMenu(MF_STRING, kOpen, "開く(&O)");
    context.AppendMenu(MF_STRING, kCopy, "コピー(&C)");
    child.contextMenu = &context;
    RECT box{};
    driver.WhenEventsLeft(3, [&] {
        if (const MenuTracker* tracker = MenuTracker::Active())
            box = tracker->Popups().back().box;
    });
    driver.PushKey(VK_F10, true);
    driver.PushText("o");
    driver.PushKeys({VK_APPS, VK_ESCAPE});
    driver.Push(InputEvent::MouseClick(POINT{100, 100}, InputEvent::Kind::RightClick));
    driver.PushText("c");
    app.Run();
    EXPECT_EQ(child.contextPoints, (std::vector<POINT>{{-1, -1}, {-1, -1}, {100, 100}}));
    EXPECT_EQ(frame.commands, (std::vector<UINT>{kZoomIn, kOpen}));
    EXPECT_EQ(child.commands, std::vector<UINT>{kCopy}) << "the frame offered the command to the focus";
    EXPECT_LE(box.right, 80);
    EXPECT_LE(box.bottom, 25) << "opened near the screen's corner, it stays on the screen";
}

TEST_F(FrameFixture, ACommandWhoseHandlerThrowsIsReportedAndTheProgramGoesOn)
{
    frame.openFails = true;
    driver.PushKeys({VK_F10, VK_DOWN, VK_RETURN, VK_F10, VK_DOWN, VK_UP, VK_RETURN}); // 開く throws, then 終了
    app.Run();
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_NE(driver.MessageBoxes()[0].text.find("開けません"), std::string::npos) << driver.MessageBoxes()[0].text;
    EXPECT_EQ(frame.commands, std::vector<UINT>{kQuit}) << "the menus work on after the failure";
    EXPECT_EQ(MenuTracker::Active(), nullptr);
}
