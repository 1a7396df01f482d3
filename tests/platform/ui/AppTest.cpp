// The application object with the headless driver: the run loop, clicks routed to the
// window under the mouse, key state and the wait cursor.
#include "platform/resource/AppIdentity.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <unistd.h>
#include <vector>

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

// A window whose handlers fail: 'x' throws, 'm' runs out of memory, a posted message throws;
// every other character is kept.
class FailingWindow : public Wnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CHAR && wParam == 'x')
            throw std::runtime_error("broken handler");
        if (message == WM_CHAR && wParam == 'm')
            throw std::bad_alloc();
        if (message == WM_CHAR && wParam == 'p')
            PostMessage(WM_USER + 1);
        if (message == WM_USER + 1)
            throw std::out_of_range("posted work");
        if (message == WM_CHAR)
            typed += static_cast<char>(wParam);
        return Wnd::WindowProc(message, wParam, lParam);
    }
    std::string typed;
};

class AppTest : public ::testing::Test {
protected:
    HeadlessDriver driver;
    WinApp app{"測量", "Survey", &driver};
};

} // namespace

TEST_F(AppTest, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn)
{
    FailingWindow main;
    main.Create("MAIN", "", WS_VISIBLE, RECT{0, 0, 320, 200}, nullptr, 0);
    app.SetMainWnd(&main);

    FailingWindow modal;
    modal.Create("MODAL", "", WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0);
    driver.PushText("xd");
    static_cast<void>(modal.RunModalLoop());
    EXPECT_EQ(modal.typed, "d") << "the failure in a modal window's handler stopped there, and the window took more";
    EXPECT_EQ(GetActiveWindow(), &main) << "the modal loop was left";

    driver.PushText("axbmpc");
    driver.Push(InputEvent::CloseBox());
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(main.typed, "abpc");
    EXPECT_FALSE(main.IsWindow()) << "closed by the last event";
    ASSERT_EQ(driver.MessageBoxes().size(), 4u);
    EXPECT_NE(driver.MessageBoxes()[0].text.find("broken handler"), std::string::npos) << driver.MessageBoxes()[0].text;
    EXPECT_EQ(driver.MessageBoxes()[0].style, MB_OK | MB_ICONERROR);
    EXPECT_NE(driver.MessageBoxes()[2].text.find("out of memory"), std::string::npos)
        << "memory that ran out once is reported like any failure";
    EXPECT_NE(driver.MessageBoxes()[3].text.find("posted work"), std::string::npos) << "a posted message's handler";
}

TEST(AppTestDeathTest, WhenTheProgramCannotGoOnItKeepsTheWorkAndExitsWithAFailure)
{
    const std::string kept = "/tmp/tavcell-app-recovery-" + std::to_string(::getpid());
    auto run = [&](const std::string& text, bool writerThrows, bool boxThrows) {
        HeadlessDriver driver;
        WinApp app("測量", "Survey", &driver);
        app.SetRecoveryWriter([&] {
            if (writerThrows)
                throw std::runtime_error("disk gone");
            std::FILE* file = std::fopen(kept.c_str(), "w");
            return file != nullptr && std::fclose(file) == 0;
        });
        if (boxThrows)
            driver.SetMessageBoxAnswerer([](const MessageBoxRecord&) -> int { throw std::runtime_error("no screen"); });
        FailingWindow main;
        main.Create("MAIN", "", WS_VISIBLE, RECT{0, 0, 320, 200}, nullptr, 0);
        app.SetMainWnd(&main);
        driver.PushText(text);
        app.Run();
    };
    EXPECT_EXIT(run("mm", false, false), ::testing::ExitedWithCode(kExitAfterFailure),
                "out of memory.*the unsaved changes are in the recovery copy");
    EXPECT_TRUE(std::filesystem::remove(kept)) << "the recovery copy was written before the exit";
    EXPECT_EXIT(run("x", false, true), ::testing::ExitedWithCode(kExitAfterFailure), "broken handler");
    EXPECT_TRUE(std::filesystem::remove(kept)) << "a failure while reporting a failure";
    EXPECT_EXIT(run("mm", true, false), ::testing::ExitedWithCode(kExitAfterFailure),
                "the unsaved changes could not be kept");
}

TEST_F(AppTest, RunRoutesClicksAndKeysUntilTheMainWindowCloses)
{
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

TEST_F(AppTest, TheWaitCursorShowsOnceForNestedWaits)
{
    {
        WaitCursor outer;
        WaitCursor inner;
        EXPECT_TRUE(driver.IsWaitCursorShown());
        EXPECT_TRUE(app.IsWaitCursorShown());
    }
    EXPECT_FALSE(driver.IsWaitCursorShown());
    EXPECT_EQ(driver.WaitCursorShowings(), 1);
}

namespace {

// Notes the keys and wheel turns that reach it.
class NotingWindow : public Wnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_KEYDOWN)
            keys.push_back(static_cast<int>(wParam));
        if (message == WM_MOUSEWHEEL)
            wheel += static_cast<short>(HIWORD(static_cast<std::uintptr_t>(wParam)));
        return Wnd::WindowProc(message, wParam, lParam);
    }
    std::vector<int> keys;
    int wheel = 0;
};

} // namespace

TEST_F(AppTest, KeysReachTheFocusInAnyWindowAndAnUnusedWheelGoesUpToTheParent)
{
    NotingWindow main;
    main.Create("Main", "", WS_VISIBLE, RECT{0, 0, 320, 160}, nullptr, 0);
    NotingWindow other;
    other.Create("Other", "", WS_VISIBLE, RECT{320, 0, 640, 160}, nullptr, 0);
    NotingWindow field;
    field.Create("Field", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 160, 80}, &other, 1);
    app.SetMainWnd(&main);
    field.SetFocus();
    driver.PushKey(VK_DOWN);
    Wnd inner;
    inner.Create("Inner", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 160, 80}, &main, 2);
    driver.Push(InputEvent::MouseWheel(POINT{40, 40}, -WHEEL_DELTA));
    app.Run();
    EXPECT_EQ(field.keys, (std::vector<int>{VK_DOWN})) << "the focus lies in a window other than the main one";
    EXPECT_TRUE(main.keys.empty());
    EXPECT_EQ(main.wheel, -WHEEL_DELTA) << "the inner window does not scroll: its parent gets the wheel";
    other.DestroyWindow();
    main.DestroyWindow();
}

TEST(AppLifetimeTest, WindowsAndFocusMadeBeforeTheApplicationAreItsOwnAndOutliveIt)
{
    Wnd early;
    ASSERT_TRUE(early.Create("Early", "", WS_VISIBLE, RECT{0, 0, 80, 16}, nullptr, 0));
    early.SetFocus();
    const std::size_t windows = Wnd::GetTopLevelWindows().size();
    {
        HeadlessDriver driver;
        WinApp app("context", "Test", &driver);
        EXPECT_TRUE(IsWindow(&early));
        EXPECT_EQ(Wnd::GetFocus(), &early);
        Wnd during;
        ASSERT_TRUE(during.Create("During", "", WS_VISIBLE, RECT{0, 16, 80, 32}, nullptr, 0));
        during.SetFocus();
        EXPECT_EQ(Wnd::GetTopLevelWindows().size(), windows + 1);
    }
    EXPECT_TRUE(IsWindow(&early)) << "the state went back when the application ended";
    EXPECT_EQ(Wnd::GetTopLevelWindows().size(), windows);
    early.DestroyWindow();
}
