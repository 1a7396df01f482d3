// The two grid windows answer the grid's notifications alike, driven like a person through
// the headless driver; and the three looks of locked, disabled and warning cells on screen.
#include "tests/tav/command/CommandHost.h"
#include "tests/tav/data/TestHost.h"

#include "components/support/NifCommonMenu.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Renderer.h"
#include "tav/settings/TavColorSetting.h"
#include "tests/platform/ui/ProportionalMeasure.h"

#include <gtest/gtest.h>

#include <memory>

using namespace plat;
using namespace tavtest;

namespace {

template <class Grid>
class TavCellWindowTest : public ::testing::Test {
protected:
    // The middle of a cell on the screen.
    POINT Centre(const MoxPos& pos)
    {
        RECT rect;
        EXPECT_TRUE(bound.grid.GetCellRect(pos, rect));
        POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        bound.grid.ClientToScreen(&point);
        return point;
    }
    BoundGrid<Grid> bound;
};

using Windows = ::testing::Types<ProbeGrid, ProbeView>;
TYPED_TEST_SUITE(TavCellWindowTest, Windows);

TYPED_TEST(TavCellWindowTest, DisabledCellsOpenNoEditorAndInvalidTextKeepsTheEditorOpen)
{
    auto& bound = this->bound;
    auto& grid = bound.grid;
    bound.manager.AttrDisable().Set(kX, 1, 1, 1);
    bound.manager.AttrWarning().Set(kY, 1, 1, 1);
    grid.SetCurSel(MoxPos{1, 1}, 0);
    bound.driver.PushText("5");
    bound.app.Run();
    EXPECT_EQ(grid.GetEditor(), nullptr) << "typing into a disabled cell";
    EXPECT_TRUE(grid.calls.empty()) << "refused before the host is asked";
    EXPECT_TRUE(bound.data.QueryIsBlank(static_cast<unsigned>(kX), 1L));
    bound.driver.Push(InputEvent::MouseClick(this->Centre(MoxPos{2, 1}), InputEvent::Kind::DoubleClick));
    bound.app.Run();
    EXPECT_EQ(grid.GetEditor(), &bound.manager.m_y) << "a warning cell opens its editor";
    EXPECT_TRUE(bound.manager.m_checkedName.heard.empty()) << "a number edit is no text editor";
    bound.Keys({VK_ESCAPE});

    grid.SetCurSel(MoxPos{0, 2}, 0);
    grid.calls.clear();
    bound.driver.PushText("Ünï✓");
    bound.Keys({VK_RETURN});
    EXPECT_EQ(grid.GetEditor(), &bound.manager.m_checkedName) << "the text does not fit the narrow code page";
    EXPECT_EQ(bound.manager.m_checkedName.heard,
              (std::vector<std::string>{"dialog mode", "enable check", "reset", "check"}));
    EXPECT_EQ(grid.calls, (std::vector<std::string>{"begin 101,2"})) << "OnEndEdit is not asked";
    bound.manager.m_checkedName.SetWindowText("P1");
    bound.Keys({VK_RETURN});
    EXPECT_EQ(grid.GetEditor(), nullptr);
    EXPECT_EQ(grid.calls.back(), "end");
}

TYPED_TEST(TavCellWindowTest, TextsPasteAndClipboardBracketsAnswerAsTheHostsSay)
{
    auto& bound = this->bound;
    auto& grid = bound.grid;
    std::string text = "kept";
    MoxPos corner{0, 0};
    EXPECT_EQ(grid.SendMessage(MOXN_FIXEDCELLTEXT, 0, reinterpret_cast<LPARAM>(&text)), 0);
    EXPECT_EQ(grid.SendMessage(MOXN_FIXEDCELLTEXT, reinterpret_cast<WPARAM>(&corner), 0), 0);
    EXPECT_EQ(text, "kept") << "a null position or text answers 0 untouched";
    EXPECT_EQ(grid.SendMessage(MOXN_FIXEDCELLTEXT, reinterpret_cast<WPARAM>(&corner), reinterpret_cast<LPARAM>(&text)), 1);
    EXPECT_EQ(text, "No.");
    grid.cornerText = "点";
    grid.SendMessage(MOXN_FIXEDCELLTEXT, reinterpret_cast<WPARAM>(&corner), reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text, "点");
    MoxPos heading{1, 0};
    ASSERT_EQ(grid.SendMessage(MOXN_FIXEDROWTEXT, reinterpret_cast<WPARAM>(&heading), reinterpret_cast<LPARAM>(&text)), 1);
    EXPECT_EQ(text, "X");

    bound.manager.AttrDisable().Set(kX, 1, 1, 1);
    EXPECT_EQ(grid.SendMessage(MOXN_QUERYPASTE, 1, 1), 1) << "a disabled cell takes no pasted text";
    EXPECT_EQ(grid.SendMessage(MOXN_QUERYPASTE, 1, 2), 0);
    EXPECT_EQ(grid.SendMessage(MOXN_QUERYPASTE, 1, 90), 1) << "nor one out of sight";

    ASSERT_TRUE(bound.data.Set(kZ, 4, 8.5));
    grid.SetCurSel(MoxPos{3, 4}, 0);
    grid.allowCopy = 0;
    bound.driver.Push(InputEvent::KeyPress('X', false, true));
    bound.app.Run();
    EXPECT_FALSE(bound.data.QueryIsBlank(static_cast<unsigned>(kZ), 4L)) << "a refused copy cuts nothing";
    grid.allowCopy = 1;
    bound.driver.Push(InputEvent::KeyPress('X', false, true));
    bound.app.Run();
    EXPECT_TRUE(bound.data.QueryIsBlank(static_cast<unsigned>(kZ), 4L));
    SetClipboardText("2.5");
    bound.driver.Push(InputEvent::KeyPress('V', false, true));
    bound.app.Run();
    EXPECT_EQ(grid.pastingSeen, 1) << "the manager knows a paste is running";
    EXPECT_EQ(bound.manager.IsPasteData(), 0);
    EXPECT_EQ(CellValue<double>(bound.data, static_cast<unsigned>(kZ), 4L), 2.5);
}

TYPED_TEST(TavCellWindowTest, ADoubleClickCarriesOutAMovedLineCommandAndOpensNoEditor)
{
    auto& bound = this->bound;
    auto& grid = bound.grid;
    ASSERT_TRUE(bound.data.Set(kX, 2, 4.5));
    bound.Select({MoxRect(MoxPos{0, 2}, MoxPos{4, 2})}, MoxRectArray::kWholeLines);
    grid.SendMessage(WM_COMMAND, NifCommand::LineMove);
    bound.Keys({VK_DOWN});
    bound.driver.Push(InputEvent::MouseClick(this->Centre(MoxPos{1, 1}), InputEvent::Kind::DoubleClick));
    bound.app.Run();
    EXPECT_EQ(grid.QueryLineCommand(), 0u);
    EXPECT_EQ(grid.GetEditor(), nullptr) << "the grid did not see the double click";
    EXPECT_EQ(CellValue<double>(bound.data, static_cast<unsigned>(kX), 3L), 4.5);
}

TYPED_TEST(TavCellWindowTest, OnlyAResizeRefitsAutomaticWidths)
{
    auto& bound = this->bound;
    auto& grid = bound.grid;
    bound.manager.SetAutoWidth(TRUE);
    grid.SetPaneWidth(50, 0);
    grid.SetWindowPos(nullptr, 8, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(grid.GetPaneWidth(0), 50) << "moved, not resized";
    grid.SetWindowPos(nullptr, 0, 0, 560, 400, SWP_NOZORDER);
    EXPECT_NE(grid.GetPaneWidth(0), 50);
}

TYPED_TEST(TavCellWindowTest, ADragSelectsCellsAndTheWheelScrollsWithoutMovingTheCaret)
{
    auto& bound = this->bound;
    auto& grid = bound.grid;
    bound.driver.Push(InputEvent::MouseDrag(this->Centre(MoxPos{1, 2}), this->Centre(MoxPos{3, 5})));
    bound.app.Run();
    ASSERT_EQ(grid.GetSelection().GetSize(), 1u);
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(MoxPos{1, 2}, MoxPos{3, 5}));
    bound.driver.Push(InputEvent::MouseWheel(this->Centre(MoxPos{1, 2}), -2 * WHEEL_DELTA));
    bound.app.Run();
    EXPECT_EQ(grid.GetTopLeft().row, 6) << "three lines a notch";
    EXPECT_EQ(grid.GetCaret(), (MoxPos{3, 5}));
    bound.driver.Push(InputEvent::MouseWheel(this->Centre(MoxPos{1, 8}), 5 * WHEEL_DELTA));
    bound.app.Run();
    EXPECT_EQ(grid.GetTopLeft().row, 0) << "not past the top";
}

TEST(TavCellLooksTest, LockedDisabledAndWarningCellsEachLookTheirOwnWay)
{
    TAV_SKIP_UNDER_PROPORTIONAL_MEASURE("the looks are read from the terminal's canvas, in cells");
    BoundGrid<ProbeGrid> bound;
    auto& grid = bound.grid;
    ASSERT_TRUE(bound.data.Set(kY, 2, 7.25));
    bound.manager.SetCellLock(TRUE);
    bound.data.Lock().Add({kX, 1, 1});
    bound.manager.AttrDisable().Set(kX, 2, 1, 1);
    bound.manager.AttrWarning().Set(kY, 2, 1, 1);
    grid.Invalidate(FALSE);
    Canvas canvas(80, 25);
    Renderer renderer;
    renderer.Paint(canvas);
    auto cellAt = [&](const MoxPos& pos) -> const CanvasCell& {
        RECT rect;
        EXPECT_TRUE(grid.GetCellRect(pos, rect));
        return canvas.At(rect.left / CellTextMeasure::kColumnWidth + 1, rect.top / CellTextMeasure::kLineHeight);
    };
    const CanvasCell& locked = cellAt(MoxPos{1, 1});
    EXPECT_EQ(locked.fg, TavColorSetting::kDefaultLockBackColor) << canvas.ToText();
    EXPECT_EQ(locked.bg, 0xD2D2D2u);
    const CanvasCell& disabled = cellAt(MoxPos{1, 2});
    EXPECT_EQ(disabled.fg, grid.GetColor(MOXC_DISABLED));
    EXPECT_EQ(disabled.bg, 0xD2D2D2u);
    EXPECT_NE(disabled.ch, U' ') << "hatched";
    RECT warning;
    ASSERT_TRUE(grid.GetCellRect(MoxPos{2, 2}, warning));
    const std::string line = canvas.LineText(warning.top / CellTextMeasure::kLineHeight);
    const int last = static_cast<int>(warning.right / CellTextMeasure::kColumnWidth) - 2;
    EXPECT_EQ(canvas.At(last, warning.top / CellTextMeasure::kLineHeight).fg, TavColorSetting::kDefaultWarningTextColor) << line;
    const CanvasCell& plain = cellAt(MoxPos{3, 3});
    EXPECT_EQ(plain.ch, U' ');
    EXPECT_NE(plain.bg, 0xD2D2D2u) << "an ordinary cell keeps the grid's background";
}

// A grid, its manager and its table each made and destroyed on their own, as hosts do.
class GridLifetimeTest : public ::testing::Test {
protected:
    tavtest::MemoryRegistry m_registry;
    GridLifetimeTest()
    {
        host.Create("GridHost", "座標", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
        app.SetMainWnd(&host);
        grid->Create(WS_VISIBLE, RECT{0, 0, 640, 400}, &host, 100);
        grid->SetFocus();
        manager->Associate(grid.get(), data.get());
    }
    void Type(const std::string& text)
    {
        driver.PushText(text);
        app.Run();
    }

    HeadlessDriver driver;
    WinApp app{"LifetimeTest", "Test", &driver};
    Wnd host;
    std::unique_ptr<ProbeManager> manager = std::make_unique<ProbeManager>();
    std::unique_ptr<TavData> data = std::make_unique<TavData>();
    std::unique_ptr<ProbeGrid> grid = std::make_unique<ProbeGrid>();
};

TEST_F(GridLifetimeTest, AGridDestroyedByItsDestructorDetachesItsManagerAndPutsTheEditorAway)
{
    grid->SetCurSel(MoxPos{0, 2}, 0);
    Type("P");
    ASSERT_EQ(grid->GetEditor(), &manager->m_checkedName);
    grid.reset();
    EXPECT_EQ(data->Manager(), nullptr) << "the grid's own destroy handling ran and detached the manager";
    EXPECT_TRUE(manager->m_checkedName.IsWindow());
    EXPECT_FALSE(manager->m_checkedName.IsWindowVisible()) << "the host's editor is put away, not left on screen";
}

TEST_F(GridLifetimeTest, AGridOutlivesItsTableAndItsManagerRefusingWhatWouldReachThem)
{
    grid->SetCurSel(MoxPos{1, 1}, 0);
    data.reset();
    EXPECT_EQ(grid->ManagerPtr(), manager.get()) << "the manager lives on, without a table";
    EXPECT_FALSE(grid->IsBound());
    Type("5");
    EXPECT_EQ(grid->GetEditor(), nullptr) << "no editor opens over a table that is gone";

    manager.reset();
    EXPECT_EQ(grid->ManagerPtr(), nullptr) << "the grid forgot the destroyed manager";
    EXPECT_EQ(grid->GetExtension(), nullptr);
    for (UINT command : {NifCommand::LineInsert, NifCommand::LineDelete, NifCommand::LineMove, NifCommand::Lock, NifCommand::CellChange,
                         plat::ID_EDIT_PASTE, plat::ID_EDIT_UNDO, NifCommand::AutoWidth})
        EXPECT_EQ(grid->SendMessage(WM_COMMAND, command), 0);
    MoxPos cell{1, 1};
    EXPECT_EQ(grid->SendMessage(MOXN_BEGINEDIT, reinterpret_cast<WPARAM>(&cell)), 1) << "editing is refused";
    EXPECT_EQ(grid->SendMessage(MOXN_QUERYPASTE, 1, 1), 1);
    Type("7");
    driver.PushKeys({VK_RETURN, VK_DOWN});
    app.Run();
    EXPECT_EQ(grid->GetEditor(), nullptr);
    EXPECT_EQ(grid->QueryLineCommand(), 0u);
}

} // namespace
