// The application object with the headless driver: the run loop, clicks routed to the
// window under the mouse, key state and the wait cursor.
#include "platform/resource/AppIdentity.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/HeadlessDriver.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

class MainWindow : public Wnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && LOWORD(wParam) == 3)
            PostMessage(WM_USER + 9); // the click is answered later, from the queue
        if (message == WM_USER + 9)
            DestroyWindow();
        if (message == WM_KEYDOWN)
            shiftSeen = GetKeyState(VK_SHIFT) < 0;
        return Wnd::WindowProc(message, wParam, lParam);
    }
    bool shiftSeen = false;
};

} // namespace

TEST(AppTest, RunRoutesClicksAndKeysUntilTheMainWindowCloses)
{
    HeadlessDriver driver;
    WinApp app("測量", "Survey", &driver);
    EXPECT_EQ(GetApp(), &app);
    EXPECT_EQ(GetAppIdentity().softwareName, "測量");
    EXPECT_EQ(GetAppIdentity().category, "Survey");

    MainWindow main;
    main.Create("MAIN", "", WS_VISIBLE, RECT{8, 16, 328, 216}, nullptr, 0);
    app.SetMainWnd(&main);
    Button quit;
    quit.Create("終了", WS_CHILD | WS_VISIBLE, RECT{16, 32, 80, 48}, &main, 3);
    driver.PushKey('A', true);
    driver.PushClick(POINT{8 + 20, 16 + 40});
    driver.PushKey('B');
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(main.shiftSeen) << "Shift held with the key";
    EXPECT_FALSE(main.IsWindow()) << "the click on the button closed the window through the queue";
    EXPECT_EQ(driver.PendingEvents(), 1u) << "Run stops when the main window is gone";
    EXPECT_EQ(app.GetMainWnd(), nullptr);

    driver.SetKeyDown(VK_CONTROL, true);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    driver.SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
}

TEST(AppTest, TheWaitCursorShowsOnceForNestedWaits)
{
    HeadlessDriver driver;
    WinApp app("x", "y", &driver);
    {
        WaitCursor outer;
        WaitCursor inner;
        EXPECT_TRUE(driver.IsWaitCursorShown());
        EXPECT_TRUE(app.IsWaitCursorShown());
    }
    EXPECT_FALSE(driver.IsWaitCursorShown());
    EXPECT_EQ(driver.WaitCursorShowings(), 1);
    app.SetHelpType(2);
    EXPECT_EQ(app.GetHelpType(), 2);
}
