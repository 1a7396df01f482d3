// The command layer's state questions, line-command guards, input method rule, owner and
// colours, asked of a grid control bound to a coordinate table.
#include "tests/tav/command/CommandHost.h"

#include "components/support/NifCommonMenu.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Ime.h"
#include "platform/ui/PropertySheet.h"
#include "tav/settings/TavColorSetting.h"

#include <gtest/gtest.h>

using namespace plat;
using namespace tavtest;

namespace {

TEST(TavCommonTest, EditabilityNeedsAShownEnabledCellAndTheHostsConsent)
{
    BoundGrid<> bound;
    ProbeGrid& grid = bound.grid;
    EXPECT_GT(grid.QueryEditAble(MoxPos{1, 2}), 0);
    EXPECT_EQ(grid.QueryEditAble(MoxPos{1, 90}), 0) << "scrolled out of sight";
    bound.manager.AttrDisable().Set(kX, 2, 1, 1);
    bound.manager.AttrWarning().Set(kY, 2, 1, 1);
    EXPECT_EQ(grid.QueryEditAble(MoxPos{1, 2}), 0) << "disabled";
    EXPECT_GT(grid.QueryEditAble(MoxPos{2, 2}), 0) << "a warning cell stays editable";
    EXPECT_EQ(grid.BeginPaneEdit(MoxPos{1, 2}), 1) << "disabled";
    EXPECT_EQ(grid.BeginPaneEdit(MoxPos{2, 2}), 0);
    grid.allowBegin = 0;
    EXPECT_EQ(grid.BeginPaneEdit(MoxPos{2, 3}), 1) << "the host refuses";
    EXPECT_EQ(grid.calls, (std::vector<std::string>{"begin 103,2", "begin 103,3"})) << "a disabled cell refuses before the host is asked";
}

TEST(TavCommonTest, LockAndBlankLineAnswerFromWhatTheyShouldLookAt)
{
    BoundGrid<> bound;
    ProbeGrid& grid = bound.grid;
    bound.data.Lock().Add({kX, 3, 5});
    EXPECT_EQ(grid.QueryLockPane(MoxPos{1, 4}), 0) << "cell lock is off";
    bound.manager.SetCellLock(TRUE);
    EXPECT_EQ(grid.QueryLockPane(MoxPos{1, 3}), 1);
    EXPECT_EQ(grid.QueryLockPane(MoxPos{1, 5}), 1) << "both ends belong to the range";
    EXPECT_EQ(grid.QueryLockPane(MoxPos{1, 6}), 0);
    EXPECT_EQ(grid.QueryLockPane(MoxPos{2, 4}), 0) << "another item";
    bound.data.Lock().Add({kX, 10, 20});
    bound.data.Lock().Add({kX, 12, 13});
    bound.data.Lock().Add({kY, 30, 29});
    std::vector<int> searched;
    std::vector<int> indexed;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            grid.BeginCellPaint(); // a repaint answers from its index of the ranges
        for (std::int32_t column = 0; column < 4; ++column)
            for (std::int32_t row = 0; row < 32; ++row)
                (pass == 0 ? searched : indexed).push_back(grid.QueryLockPane(MoxPos{column, row}));
        grid.EndCellPaint();
    }
    EXPECT_EQ(indexed, searched);
    EXPECT_EQ(searched[32 + 15], 1) << "inside the wider of two overlapping ranges";

    bound.manager.CustomizeTemplate({kPointName, kX});
    ASSERT_TRUE(bound.data.Set(kZ, 7, 12.5));
    EXPECT_EQ(grid.QueryBlankLine(7), 1) << "only shown items count";
    ASSERT_TRUE(bound.data.Set(kX, 7, 1.0));
    EXPECT_EQ(grid.QueryBlankLine(7), 0);
}

TEST(TavCommonTest, InputMethodIsClosedInNumericColumnsAndTheUsersChoiceComesBack)
{
    BoundGrid<> bound;
    HIMC context = ImmGetContext(&bound.grid);
    ASSERT_NE(context, nullptr);
    ImmSetOpenStatus(context, TRUE); // the user opens it in the point name column
    bound.Keys({VK_RIGHT});
    EXPECT_FALSE(ImmGetOpenStatus(context)) << "closed in the X column";
    bound.Keys({VK_LEFT});
    EXPECT_TRUE(ImmGetOpenStatus(context)) << "the user had it open";
    ImmSetOpenStatus(context, FALSE); // the user closes it in a text column
    bound.Keys({VK_RIGHT, VK_LEFT});
    EXPECT_FALSE(ImmGetOpenStatus(context)) << "and it stays closed there";
}

TEST(TavCommonTest, APendingLineCommandKeepsKeysMovesItsBlocksAndStillStoresWidths)
{
    BoundGrid<> bound;
    ProbeGrid& grid = bound.grid;
    EXPECT_EQ(grid.SendMessage(WM_GETDLGCODE), grid.MoxCellCtrl::DefWindowProc(WM_GETDLGCODE, 0, 0));
    bound.Select({MoxRect(MoxPos{0, 2}, MoxPos{4, 3})}, MoxRectArray::kWholeLines);
    grid.SendMessage(WM_COMMAND, NifCommand::LineMove);
    EXPECT_EQ(grid.SendMessage(WM_GETDLGCODE), 0x94) << "a dialog passes every key to the grid";

    bound.data.SetModifiedFlag(FALSE);
    grid.SendMessage(MOXN_USERRESIZE, 1, 123);
    EXPECT_EQ(bound.data.Width()[1], 123u) << "the width of the X item";
    EXPECT_TRUE(bound.data.IsModified());

    grid.SetCurSel(MoxPos{0, 2}, 0);
    bound.Keys({VK_F2});
    EXPECT_EQ(grid.GetEditor(), nullptr) << "no editor while lines are marked";
    bound.Keys({VK_DOWN});
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(MoxPos{0, 3}, MoxPos{4, 4})) << "the caret drags the blocks";
    EXPECT_TRUE(grid.calls.empty()) << "OnSelChanging and OnBeginEdit are not asked";

    bound.Keys({VK_ESCAPE});
    EXPECT_EQ(grid.QueryLineCommand(), 0u);
    EXPECT_FALSE(grid.IsLineMarking());
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(grid.GetCaret(), grid.GetCaret())) << "back on the caret cell";
    const MoxRectArray before = grid.GetSelection();
    bound.Keys({VK_ESCAPE});
    EXPECT_EQ(grid.GetSelection(), before) << "Escape with nothing pending changes nothing";
}

TEST(TavCommonTest, TheOwnerIsTheSheetTheMainFrameTheDialogOrTheFrame)
{
    tavtest::MemoryRegistry registry;
    const RECT rect{0, 0, 320, 200};
    // The owner a grid made in that window finds.
    const auto ownerIn = [&](Wnd& parent) {
        TavCellCtrl grid;
        grid.Create(0, rect, &parent, 100);
        return grid.GetOwner();
    };
    PropertySheet sheet("設定");
    sheet.Wnd::Create("Sheet", "設定", 0, rect, nullptr, 0);
    PropertyPage page;
    page.Wnd::Create("Page", "", WS_CHILD, rect, &sheet, 1);
    EXPECT_EQ(ownerIn(page), &sheet);

    MDIFrameWnd main;
    main.Create("Main", "", 0, rect, nullptr, 0);
    MDIChildWnd child;
    child.Create("Child", "", WS_CHILD, rect, &main, 1);
    Wnd pane;
    pane.Create("Pane", "", WS_CHILD, rect, &child, 2);
    EXPECT_EQ(ownerIn(pane), &main);

    Dialog dialog;
    dialog.Wnd::Create("Dialog", "", 0, rect, nullptr, 0);
    EXPECT_EQ(ownerIn(dialog), &dialog);

    FrameWnd frame;
    frame.Create("Frame", "", 0, rect, nullptr, 0);
    Wnd inner;
    inner.Create("Inner", "", WS_CHILD, rect, &frame, 2);
    EXPECT_EQ(ownerIn(inner), &frame);
    for (Wnd* top : std::initializer_list<Wnd*>{&sheet, &main, &dialog, &frame})
        top->DestroyWindow();
}

TEST(TavCommonTest, CellColoursGiveWarningTextAndDisabledOverLockedHatching)
{
    BoundGrid<> bound;
    ProbeGrid& grid = bound.grid;
    bound.manager.SetCellLock(TRUE);
    bound.data.Lock().Add({kX, 0, 9});
    bound.manager.AttrDisable().Set(kX, 1, 1, 1);
    bound.manager.AttrWarning().Set(kY, 1, 1, 1);
    grid.hostColour = 0x00112233;
    DC dc;
    dc.SetTextColor(7);
    EXPECT_EQ(grid.CellCtlColor(MoxPos{1, 1}, dc), &TavCommon::DisableBrush()) << "disabled wins over locked";
    EXPECT_EQ(dc.GetTextColor(), 0x00112233u) << "the host's colour";
    EXPECT_EQ(grid.CellCtlColor(MoxPos{1, 2}, dc), &TavCommon::LockBrush());
    EXPECT_EQ(grid.CellCtlColor(MoxPos{2, 1}, dc), nullptr) << "warning only: the grid's own background";
    EXPECT_EQ(dc.GetTextColor(), TavColorSetting::kDefaultWarningTextColor) << "warning wins over the host's colour";

    TavColorSetting settings;
    settings.m_lockBackColor = 0x00FF0000;
    settings.m_warningTextColor = 0x0000FF00;
    ASSERT_TRUE(settings.Save());
    grid.SendMessage(TavMessages().colorChange);
    EXPECT_EQ(TavCommon::LockBrush().ColorAt(1, 0), 0x00FF0000u) << "the colour change rebuilds the brushes";
    EXPECT_FALSE(grid.GetInvalidations().empty());
    EXPECT_FALSE(grid.GetInvalidations().back().erase);
}

} // namespace
