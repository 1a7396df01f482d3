// Windows: dispatch through chained message maps, the life of a window tree, owners, focus,
// placement, invalidation, posted messages and registered message numbers.
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"
#include "tests/platform/ui/HeadlessAppTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

using namespace plat;

namespace {

UINT g_lateRegistered = 0;

class BaseWnd : public Wnd {
public:
    LRESULT OnOne(WPARAM, LPARAM) { return 1; }
    LRESULT OnTwo(WPARAM wParam, LPARAM) { return 200 + static_cast<LRESULT>(wParam); }
    void OnButton() { ++baseClicks; }
    int baseClicks = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, Wnd)
    ON_MESSAGE(WM_USER + 1, OnOne)
    ON_MESSAGE(WM_USER + 2, OnTwo)
    ON_BN_CLICKED(10, OnButton)
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd {
public:
    LRESULT OnOne(WPARAM, LPARAM) { return 10 + BaseWnd::OnOne(0, 0); }
    LRESULT OnLate(WPARAM, LPARAM) { return 77; }
    void OnButtons() { ++rangeClicks; }
    void OnKey(NMHDR* header, LRESULT* result)
    {
        lastKey = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
        *result = 5;
    }
    int rangeClicks = 0;
    int lastKey = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    ON_MESSAGE(WM_USER + 1, OnOne)
    ON_REGISTERED_MESSAGE(g_lateRegistered, OnLate)
    ON_COMMAND_RANGE(20, 29, OnButtons)
    ON_NOTIFY(LVN_KEYDOWN, 30, OnKey)
END_MESSAGE_MAP()

// Records the messages it gets, in a log shared by a tree of them.
class LogWnd : public Wnd {
public:
    LogWnd(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_CREATE: m_log.push_back(m_name + ":create"); return failCreate ? -1 : 0;
        case WM_DESTROY:
            m_log.push_back(m_name + ":destroy");
            if (onDestroy)
                onDestroy();
            break;
        case WM_SETFOCUS: m_log.push_back(m_name + ":setfocus"); break;
        case WM_KILLFOCUS: m_log.push_back(m_name + ":killfocus"); break;
        case WM_SIZE: m_log.push_back(m_name + ":size"); break;
        case WM_WINDOWPOSCHANGED:
            lastPosFlags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
            break;
        case WM_USER + 5: m_log.push_back(m_name + ":posted" + std::to_string(wParam)); return 0;
        default: break;
        }
        return Wnd::WindowProc(message, wParam, lParam);
    }
    bool failCreate = false;
    UINT lastPosFlags = 0;
    std::function<void()> onDestroy;

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

class WndTest : public tavtest::HeadlessAppTest {
protected:
    std::vector<std::string> log;
};

} // namespace

TEST_F(WndTest, MessagesReachTheMostDerivedHandlerAndFallBackThroughTheBaseMaps)
{
    DerivedWnd wnd;
    ASSERT_TRUE(wnd.Create("T", "", WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 11) << "the derived map wins and may call the base handler";
    EXPECT_EQ(wnd.SendMessage(WM_USER + 2, 3), 203) << "a message only the base maps goes to the base";
    EXPECT_EQ(wnd.SendMessage(WM_USER + 3), 0) << "unmapped messages reach DefWindowProc";

    SCOPED_TRACE("a registered number read at dispatch: the map was built before it was known");
    EXPECT_EQ(wnd.SendMessage(0xC000), 0);
    g_lateRegistered = RegisterWindowMessage("WNDTEST_LATE");
    EXPECT_EQ(wnd.SendMessage(g_lateRegistered), 77);

    SCOPED_TRACE("control notifications travel to the parent as WM_COMMAND and find their entries");
    Button ok, ranged, other;
    ok.Create("OK", kChild | BS_PUSHBUTTON, RECT{0, 0, 10, 10}, &wnd, 10);
    ranged.Create("R", kChild | BS_PUSHBUTTON, RECT{0, 20, 10, 30}, &wnd, 25);
    other.Create("O", kChild | BS_PUSHBUTTON, RECT{0, 40, 10, 50}, &wnd, 40);
    ok.Click();
    ranged.Click();
    other.Click();
    EXPECT_EQ(wnd.baseClicks, 1);
    EXPECT_EQ(wnd.rangeClicks, 1);

    NMLVKEYDOWN key;
    key.hdr = NMHDR{&ok, 30, LVN_KEYDOWN};
    key.wVKey = VK_DELETE;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 30, reinterpret_cast<LPARAM>(&key)), 5);
    EXPECT_EQ(wnd.lastKey, VK_DELETE);
    key.hdr.idFrom = 31;
    wnd.lastKey = 0;
    wnd.SendMessage(WM_NOTIFY, 31, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(wnd.lastKey, 0) << "a notification from another control is not this entry's";
}

TEST_F(WndTest, DestroyReachesTheParentFirstThenTheChildrenWhichFinishFirst)
{
    LogWnd parent("p", log), a("a", log), b("b", log), grandchild("g", log), rescued("r", log);
    LogWnd keeper("k", log);
    ASSERT_TRUE(parent.Create("T", "", 0, RECT{0, 0, 200, 200}, nullptr, 0));
    ASSERT_TRUE(keeper.Create("T", "", 0, RECT{0, 0, 200, 200}, nullptr, 0));
    a.Create("T", "", kChild, RECT{0, 0, 50, 50}, &parent, 1);
    b.Create("T", "", kChild, RECT{50, 0, 100, 50}, &parent, 2);
    grandchild.Create("T", "", kChild, RECT{0, 0, 10, 10}, &a, 3);
    rescued.Create("T", "", kChild, RECT{0, 60, 10, 70}, &parent, 4);
    EXPECT_EQ(log, (std::vector<std::string>{"p:create", "k:create", "a:create", "b:create", "g:create", "r:create"}));
    // The parent's WM_DESTROY may still hand a child elsewhere, as a dialog returns a
    // borrowed editor to its grid.
    parent.onDestroy = [&] { rescued.SetParent(&keeper); };
    log.clear();
    ASSERT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(log.front(), "p:destroy");
    EXPECT_EQ(std::count(log.begin(), log.end(), "a:destroy"), 1);
    EXPECT_EQ(std::find(log.begin(), log.end(), "g:destroy") - std::find(log.begin(), log.end(), "a:destroy"), 1)
        << "a window's children hear of it after the window itself";
    EXPECT_FALSE(a.IsWindow());
    EXPECT_FALSE(grandchild.IsWindow());
    EXPECT_TRUE(rescued.IsWindow());
    EXPECT_EQ(rescued.GetParent(), &keeper);
    EXPECT_FALSE(parent.DestroyWindow()) << "destroying twice does nothing";

    // A child whose WM_DESTROY destroys its parent: the parent finishes without it.
    LogWnd outer("o", log), inner("i", log);
    outer.Create("T", "", 0, RECT{0, 0, 50, 50}, nullptr, 0);
    inner.Create("T", "", kChild, RECT{0, 0, 10, 10}, &outer, 1);
    inner.onDestroy = [&] { outer.DestroyWindow(); };
    EXPECT_TRUE(inner.DestroyWindow());
    EXPECT_FALSE(outer.IsWindow());
    EXPECT_FALSE(inner.IsWindow());

    LogWnd refused("x", log);
    refused.failCreate = true;
    EXPECT_FALSE(refused.Create("T", "", kChild, RECT{}, &keeper, 9));
    EXPECT_FALSE(refused.IsWindow());
    EXPECT_EQ(keeper.GetDlgItem(9), nullptr) << "a refused creation leaves nothing in the tree";
}

TEST_F(WndTest, OwnerIsTheStoredOwnerElseTheParentAndDiesWithIt)
{
    Wnd frame, child, popup;
    frame.Create("T", "", 0, RECT{0, 0, 100, 100}, nullptr, 0);
    child.Create("T", "", kChild, RECT{0, 0, 10, 10}, &frame, 1);
    EXPECT_EQ(child.GetOwner(), &frame);
    popup.Create("T", "", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0);
    child.SetOwner(&popup);
    EXPECT_EQ(child.GetOwner(), &popup);
    popup.DestroyWindow();
    EXPECT_EQ(child.GetOwner(), &frame) << "a destroyed owner is forgotten";
}

TEST_F(WndTest, ChildrenKeepZOrderAndSetWindowPosInsertsAfterASibling)
{
    Wnd parent, a, b, c;
    parent.Create("T", "", 0, RECT{0, 0, 100, 100}, nullptr, 0);
    a.Create("T", "", kChild, RECT{}, &parent, 1);
    b.Create("T", "", kChild, RECT{}, &parent, 2);
    c.Create("T", "", kChild, RECT{}, &parent, 3);
    EXPECT_EQ(parent.GetChildren(), (std::vector<Wnd*>{&a, &b, &c}));
    c.SetWindowPos(&a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(parent.GetChildren(), (std::vector<Wnd*>{&a, &c, &b}));
    b.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(parent.GetChildren(), (std::vector<Wnd*>{&b, &a, &c}));
    EXPECT_EQ(a.GetNextSibling(), &c);
    EXPECT_EQ(a.GetPrevSibling(), &b);

    std::vector<int> ids;
    Wnd inner;
    inner.Create("T", "", kChild, RECT{}, &a, 4);
    parent.ForEachDescendant([&](Wnd& wnd) { ids.push_back(wnd.GetDlgCtrlID()); });
    EXPECT_EQ(ids, (std::vector<int>{2, 1, 4, 3}));
}

TEST_F(WndTest, FocusMovesWithKillThenSetAndLeavesWithADestroyedWindow)
{
    LogWnd parent("p", log), a("a", log), b("b", log);
    parent.Create("T", "", 0, RECT{0, 0, 100, 100}, nullptr, 0);
    a.Create("T", "", kChild, RECT{}, &parent, 1);
    b.Create("T", "", kChild, RECT{}, &parent, 2);
    log.clear();
    a.SetFocus();
    b.SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"a:setfocus", "a:killfocus", "b:setfocus"}));
    EXPECT_EQ(Wnd::GetFocus(), &b);
    b.DestroyWindow();
    EXPECT_EQ(Wnd::GetFocus(), nullptr);
}

TEST_F(WndTest, PositionChangesReportWhatChangedAndConvertCoordinates)
{
    LogWnd parent("p", log), child("c", log);
    parent.Create("T", "", WS_VISIBLE, RECT{100, 50, 300, 250}, nullptr, 0);
    child.Create("T", "", WS_CHILD, RECT{10, 20, 60, 40}, &parent, 1);
    log.clear();
    child.MoveWindow(15, 25, 50, 20);
    EXPECT_TRUE(child.lastPosFlags & SWP_NOSIZE) << "a move that keeps the size says so";
    EXPECT_EQ(std::count(log.begin(), log.end(), "c:size"), 0);
    child.MoveWindow(15, 25, 80, 20);
    EXPECT_FALSE(child.lastPosFlags & SWP_NOSIZE);
    EXPECT_EQ(std::count(log.begin(), log.end(), "c:size"), 1);
    child.ShowWindow(SW_SHOW);
    EXPECT_EQ(child.lastPosFlags & (SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW), SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    EXPECT_TRUE(child.IsWindowVisible());
    parent.ShowWindow(SW_HIDE);
    EXPECT_FALSE(child.IsWindowVisible()) << "a child of a hidden window is not visible";

    POINT point{1, 2};
    child.ClientToScreen(&point);
    EXPECT_EQ(point, (POINT{116, 77}));
    child.ScreenToClient(&point);
    EXPECT_EQ(point, (POINT{1, 2}));
    RECT window;
    child.GetWindowRect(&window);
    EXPECT_EQ(window, (RECT{115, 75, 195, 95}));
}

TEST_F(WndTest, InvalidationIsRecordedWithItsEraseFlag)
{
    Wnd wnd;
    wnd.Create("T", "", WS_VISIBLE, RECT{0, 0, 40, 30}, nullptr, 0);
    wnd.ValidateRect();
    wnd.Invalidate(FALSE);
    const RECT part{1, 2, 3, 4};
    wnd.InvalidateRect(&part, TRUE);
    ASSERT_EQ(wnd.GetInvalidations().size(), 2u);
    EXPECT_EQ(wnd.GetInvalidations()[0].rect, (RECT{0, 0, 40, 30}));
    EXPECT_FALSE(wnd.GetInvalidations()[0].erase);
    EXPECT_EQ(wnd.GetInvalidations()[1].rect, part);
    EXPECT_TRUE(wnd.GetInvalidations()[1].erase);

    // A window nobody paints (a hidden editor a long paste sets the text of again and again)
    // keeps a short list however often it is invalidated, and still repaints every part.
    wnd.ValidateRect();
    for (int i = 0; i < 100'000; ++i) {
        const RECT cell{i % 40, i % 30, i % 40 + 1, i % 30 + 1};
        wnd.InvalidateRect(&cell, i == 7 ? TRUE : FALSE);
    }
    ASSERT_EQ(wnd.GetInvalidations().size(), 1u);
    EXPECT_EQ(wnd.GetInvalidations()[0].rect, (RECT{0, 0, 40, 30}));
    EXPECT_TRUE(wnd.GetInvalidations()[0].erase) << "one part asked for its background to be erased";
}

TEST_F(WndTest, PostedMessagesWaitForThePumpAndDieWithTheirWindow)
{
    LogWnd a("a", log), b("b", log);
    a.Create("T", "", 0, RECT{}, nullptr, 0);
    b.Create("T", "", 0, RECT{}, nullptr, 0);
    log.clear();
    a.PostMessage(WM_USER + 5, 1);
    b.PostMessage(WM_USER + 5, 2);
    a.PostMessage(WM_USER + 5, 3);
    EXPECT_TRUE(log.empty());
    b.DestroyWindow();
    log.clear();
    EXPECT_TRUE(DispatchPostedMessages());
    EXPECT_EQ(log, (std::vector<std::string>{"a:posted1", "a:posted3"}));
    EXPECT_FALSE(DispatchPostedMessages());
}

TEST(RegisterWindowMessageTest, NamesGetStableDistinctNumbersInTheRegisteredRange)
{
    const UINT color = RegisterWindowMessage("TAV_WM_COLORCHANGE");
    EXPECT_GE(color, 0xC000u);
    EXPECT_LE(color, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessage("tav_wm_colorchange"), color) << "names compare without case";
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
    // Enough names that some hash alike; each still gets its own number.
    std::set<UINT> numbers;
    for (int i = 0; i < 2000; ++i) {
        const UINT number = RegisterWindowMessage("REGTEST_" + std::to_string(i));
        EXPECT_GE(number, 0xC000u);
        numbers.insert(number);
    }
    EXPECT_EQ(numbers.size(), 2000u);
    EXPECT_EQ(numbers.count(color), 0u);
}

TEST(RegisterWindowMessageTest, AFullRangeAnswersZeroForANewName)
{
    // In a child process, since the names taken here would be gone for every later test.
    EXPECT_EXIT(
        {
            alarm(30); // a registration that waits for a free number ends the child unsuccessfully
            const UINT first = RegisterWindowMessage("FULLTEST_0");
            int refused = 0;
            for (int i = 1; i < 0x4000 + 10; ++i)
                refused += RegisterWindowMessage("FULLTEST_" + std::to_string(i)) == 0 ? 1 : 0;
            const bool known = RegisterWindowMessage("fulltest_0") == first;
            std::_Exit(refused >= 10 && known ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// Two programs running at once: this test binary started again, with names to register
// given in its environment, prints the number of the last name and leaves before any test.
namespace {
const bool g_registerOnly = [] {
    const char* names = std::getenv("TAVCELL_REGISTER_NAMES");
    if (!names)
        return false;
    std::string list = names;
    UINT number = 0;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        number = RegisterWindowMessage(list.substr(start, end - start));
        start = end + 1;
    }
    std::printf("%u\n", number);
    std::fflush(stdout);
    std::_Exit(0);
}();

UINT NumberInAnotherProcess(const std::string& names)
{
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 0;
    const std::string command = "TAVCELL_REGISTER_NAMES='" + names + "' '" + self + "'";
    FILE* output = popen(command.c_str(), "r");
    if (!output)
        return 0;
    unsigned number = 0;
    if (std::fscanf(output, "%u", &number) != 1)
        number = 0;
    pclose(output);
    return number;
}
} // namespace

TEST(RegisterWindowMessageTest, TwoProcessesGetTheSameNumberForTheSameName)
{
    ASSERT_FALSE(g_registerOnly);
    const UINT first = NumberInAnotherProcess("NV_MESSAGE001,LUN_STR_EDIT_CHECK,TAV_WM_COLORCHANGE");
    const UINT second = NumberInAnotherProcess("TAV_STR_WM_SPEECH,TAV_WM_COLORCHANGE");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(first, second) << "programs that registered other names before agree all the same";
    EXPECT_EQ(RegisterWindowMessage("TAV_WM_COLORCHANGE"), first);
}

TEST_F(WndTest, ARememberedWindowIsNoWindowOnceDestroyedEvenWhenItsAddressIsTakenAgain)
{
    Wnd window;
    ASSERT_TRUE(window.Create("W", "", 0, RECT{0, 0, 10, 10}, nullptr, 0));
    const WndRef remembered(&window);
    window.DestroyWindow();
    ASSERT_TRUE(window.Create("W", "", 0, RECT{0, 0, 10, 10}, nullptr, 0)) << "a new window at the same address";
    EXPECT_TRUE(IsWindow(&window));
    EXPECT_FALSE(IsWindow(remembered)) << "the remembered window was destroyed; this one is another";
    EXPECT_FALSE(IsWindow(WndRef(nullptr)));
}
