// What a person sees of the window tree, read back from the character-cell canvas: dialogs and
// their controls, lists, a grid that draws itself, a frame with a list view, and message boxes.
#include "platform/ui/Renderer.h"

#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Ime.h"
#include "platform/ui/ListView.h"

#include "tests/platform/ui/HeadlessAppTest.h"
#include "tests/platform/ui/ProportionalMeasure.h"

#include <gtest/gtest.h>

#include <functional>

using namespace plat;

namespace {

enum { kName = 101, kFixed = 102, kGroup = 103, kArc = 104, kCode = 105 };

DialogTemplate PointTemplate()
{
    return DialogTemplate{"点の編集", 120, 64, "", 9, 0, {
        {IDC_STATIC, "STATIC", "点名(&N):", 0, 4, 10, 28, 8},
        {kName, "EDIT", "", 0, 34, 8, 60, 12},
        {kFixed, "BUTTON", "固定(&F)", BS_AUTOCHECKBOX, 4, 24, 50, 10},
        {kGroup, "BUTTON", "線種", BS_GROUPBOX, 60, 20, 56, 24},
        {kArc, "BUTTON", "円弧(&A)", BS_AUTORADIOBUTTON, 64, 30, 48, 8},
        {kCode, "COMBOBOX", "", CBS_DROPDOWNLIST, 4, 40, 50, 40},
        {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON, 60, 48, 28, 12},
        {IDCANCEL, "BUTTON", "取消", BS_PUSHBUTTON, 90, 48, 24, 12},
    }};
}

class RendererTest : public tavtest::HeadlessAppTest {
protected:
    // The point dialog shown at (8, 16), its code list filled and the first code chosen.
    ComboBox& ShowPointDialog()
    {
        EXPECT_TRUE(dialog.CreateIndirect(PointTemplate()));
        dialog.MoveWindow(8, 16, 240, 128);
        dialog.ShowWindow(SW_SHOW);
        auto* combo = dynamic_cast<ComboBox*>(dialog.GetDlgItem(kCode));
        for (const char* code : {"境界", "道路", "水路"})
            combo->AddString(code);
        combo->SetCurSel(0);
        return *combo;
    }

    // The whole window tree painted on a fresh canvas of that many cells.
    Canvas Paint(int columns, int lines)
    {
        Canvas canvas(columns, lines);
        renderer.Paint(canvas);
        return canvas;
    }

    Dialog dialog{PointTemplate()};
    Renderer renderer;
};

std::string Lines(const Canvas& canvas, int first, int last)
{
    std::string text;
    for (int line = first; line <= last; ++line)
        text += canvas.LineText(line) + "\n";
    return text;
}

} // namespace

TEST_F(RendererTest, ADialogShowsItsCaptionAndEveryControlFromItsState)
{
    TAV_SKIP_UNDER_PROPORTIONAL_MEASURE("the cell renderer lays a dialog out in terminal cells, not in the measure under test");
    ShowPointDialog();
    dialog.CheckDlgButton(kFixed, BST_CHECKED);
    dialog.CheckDlgButton(kArc, BST_CHECKED);
    DispatchInput(InputEvent::Character(U'P'));
    DispatchInput(InputEvent::Character(U'1'));

    Canvas canvas = Paint(32, 10);
    EXPECT_EQ(Lines(canvas, 0, 9), " 点の編集\n"
                                    "│                              │\n"
                                    "│ 点名(N) P1                   │\n"
                                    "│                              │\n"
                                    "│ [x] 固定(F)   ┌ 線種 ──────┐ │\n"
                                    "│               │(*) 円弧(A) │ │\n"
                                    "│ 境界        v └────────────┘ │\n"
                                    "│               < OK  > [取消] │\n"
                                    "│                              │\n"
                                    "└──────────────────────────────┘\n")
        << "the box and caption lie round the template's area; the label's colon is cut at its right edge; "
           "the label and the edit share a line\n"
        << canvas.ToText();
    EXPECT_EQ(canvas.At(1, 0).bg, renderer.GetPalette().caption) << "the caption bar";
    EXPECT_EQ(canvas.At(7, 2).attr & CanvasCell::Underline, CanvasCell::Underline) << "the mnemonic N is marked";
    EXPECT_EQ(canvas.At(10, 2).bg, renderer.GetPalette().window) << "the edit field shows as a field";
    EXPECT_EQ(canvas.GetCursor(), (POINT{12, 2})) << "the caret stands after the typed text";
}

TEST_F(RendererTest, AComboBoxListOpensWithF4OrAltDownOverTheDialogAndKeepsReturnFromIt)
{
    TAV_SKIP_UNDER_PROPORTIONAL_MEASURE("the cell renderer lays a dialog out in terminal cells, not in the measure under test");
    ComboBox* combo = &ShowPointDialog();
    dialog.GotoDlgCtrl(combo);

    DispatchInput(InputEvent::KeyPress(VK_F4));
    ASSERT_TRUE(combo->GetDroppedState());
    DispatchInput(InputEvent::KeyPress(VK_DOWN));
    Canvas canvas = Paint(32, 10);
    EXPECT_EQ(Lines(canvas, 6, 9), "│ 道路        v └────────────┘ │\n"
                                    "│ 境界          < OK  > [取消] │\n"
                                    "│ 道路                         │\n"
                                    "└─水路         ────────────────┘\n")
        << "the list lies over the dialog's border and below it\n"
        << canvas.ToText();
    EXPECT_EQ(canvas.At(2, 8).bg, renderer.GetPalette().highlight) << "the chosen entry is marked";

    DispatchInput(InputEvent::KeyPress(VK_ESCAPE));
    EXPECT_FALSE(combo->GetDroppedState());
    EXPECT_TRUE(dialog.IsWindowVisible()) << "Escape closed the list, not the dialog";
    EXPECT_EQ(combo->GetCurSel(), 0) << "Escape goes back to the entry chosen before";

    InputEvent altDown = InputEvent::KeyPress(VK_DOWN);
    altDown.alt = true;
    driver.SetCurrentModifiers(altDown);
    DispatchInput(altDown);
    driver.SetCurrentModifiers(InputEvent{});
    ASSERT_TRUE(combo->GetDroppedState()) << "Alt+Down opens the list instead of choosing the next entry";
    EXPECT_EQ(combo->GetCurSel(), 0);
    DispatchInput(InputEvent::KeyPress(VK_DOWN));
    DispatchInput(InputEvent::KeyPress(VK_RETURN));
    EXPECT_FALSE(combo->GetDroppedState());
    EXPECT_EQ(combo->GetCurSel(), 1) << "Return keeps the entry";
    EXPECT_TRUE(dialog.IsWindow()) << "Return went to the list, not to the default button";
}

TEST_F(RendererTest, AOneLineComboBoxOpensAListOfEightEntriesAroundTheChosenOne)
{
    FrameWnd frame;
    ASSERT_TRUE(frame.Create("Frame", "線種", WS_VISIBLE, RECT{0, 0, 160, 12 * 16}, nullptr, 0));
    ComboBox combo; // as a grid places a cell's editor: one line high
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, RECT{8, 16, 88, 32}, &frame, 1));
    for (int i = 1; i <= 10; ++i)
        combo.AddString("種別" + std::to_string(i));
    combo.SetCurSel(9);
    combo.ShowDropDown(true);
    Canvas canvas = Paint(20, 12);
    EXPECT_EQ(Lines(canvas, 1, 10), " 種別10   v\n"
                                     " 種別3\n"
                                     " 種別4\n"
                                     " 種別5\n"
                                     " 種別6\n"
                                     " 種別7\n"
                                     " 種別8\n"
                                     " 種別9\n"
                                     " 種別10\n"
                                     "\n")
        << canvas.ToText();
    EXPECT_EQ(canvas.At(1, 9).bg, renderer.GetPalette().highlight) << "the chosen entry, the last one shown";
}

TEST_F(RendererTest, AListBoxShowsTheEntriesAroundItsSelectionAndGreysWhenDisabled)
{
    TAV_SKIP_UNDER_PROPORTIONAL_MEASURE("the cell renderer lays a dialog out in terminal cells, not in the measure under test");
    FrameWnd frame;
    ASSERT_TRUE(frame.Create("Frame", "テンプレート", WS_VISIBLE, RECT{0, 0, 160, 6 * 16}, nullptr, 0));
    ListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, frame.GetContentRect(), &frame, 1));
    for (int i = 1; i <= 6; ++i)
        list.AddString("標準" + std::to_string(i));
    list.SetCurSel(5);
    list.SetFocus();
    Canvas canvas = Paint(20, 6);
    EXPECT_EQ(Lines(canvas, 1, 4), "標準3\n標準4\n標準5\n標準6\n") << canvas.ToText();
    EXPECT_EQ(canvas.At(19, 4).bg, renderer.GetPalette().highlight) << "the selection spans the list's width";
    EXPECT_EQ(canvas.At(0, 3).fg, renderer.GetPalette().windowText);
    EXPECT_EQ(canvas.GetCursor(), (POINT{0, 4})) << "the focus is on the selection";
    list.SetCurSel(-1);
    renderer.Paint(canvas);
    EXPECT_EQ(canvas.GetCursor(), (POINT{0, 1})) << "a focused list with nothing selected shows the focus on its top";

    list.EnableWindow(FALSE);
    renderer.Paint(canvas);
    EXPECT_EQ(canvas.At(0, 3).fg, renderer.GetPalette().grayText);
}

TEST_F(RendererTest, AFramedListShowsItsEntriesInsideTheFrameWhereClicksPickThem)
{
    TAV_SKIP_UNDER_PROPORTIONAL_MEASURE("the cell renderer lays a dialog out in terminal cells, not in the measure under test");
    FrameWnd frame;
    ASSERT_TRUE(frame.Create("Frame", "テンプレート", WS_VISIBLE, RECT{0, 0, 160, 8 * 16}, nullptr, 0));
    ListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, frame.GetContentRect(), &frame, 1));
    for (int i = 1; i <= 6; ++i)
        list.AddString("標準" + std::to_string(i));
    Canvas canvas = Paint(20, 8);
    EXPECT_EQ(Lines(canvas, 1, 6), "┌──────────────────┐\n│標準1             │\n│標準2             │\n│標準3             │\n"
                                   "│標準4             │\n└──────────────────┘\n")
        << canvas.ToText();
    // A click on the entry a person sees picks that entry, however far the list has scrolled.
    list.SetCurSel(5);
    renderer.Paint(canvas);
    for (int line = 2; line <= 5; ++line) {
        DispatchInput(InputEvent::MouseClick(POINT{3 * 8 + 4, line * 16 + 8}));
        renderer.Paint(canvas);
        ASSERT_GE(list.GetCurSel(), 0);
        EXPECT_EQ(canvas.LineText(line).substr(3, 7), list.GetText(list.GetCurSel())) << "line " << line;
    }
}

namespace {

// A window that paints with the steps it is given, counting how often it is asked to.
class PaintedWindow : public Wnd {
public:
    explicit PaintedWindow(std::function<void(DC&)> steps) : m_steps(std::move(steps)) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_PAINT)
            return Wnd::WindowProc(message, wParam, lParam);
        ++paints;
        PaintDC dc(this);
        m_steps(dc);
        return 0;
    }
    int paints = 0;

private:
    std::function<void(DC&)> m_steps;
};

constexpr COLORREF kLockColor = 0x0080FFFF;
constexpr COLORREF kGrey = 0xD2D2D2;
constexpr COLORREF kWarning = RGB(255, 0, 0);
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kCaret = RGB(0, 120, 215);

// What a grid draws: headings, row numbers, cells aligned as their items say, a locked cell's
// hatching, a warning text and the caret cell.
void DrawGrid(DC& dc)
{
    dc.FillSolidRect(RECT{0, 0, 304, 16}, kFace);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText("No", RECT{0, 0, 32, 16}, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText("点名", RECT{32, 0, 112, 16}, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText("X", RECT{112, 0, 192, 16}, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText("所在", RECT{192, 0, 232, 16}, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    for (int row = 0; row < 2; ++row) {
        const int top = 16 + 16 * row;
        dc.DrawText(std::to_string(row + 1), RECT{0, top, 30, top + 16}, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
    Bitmap bitmap;
    bitmap.CreateBitmap(8, 8);
    DC memory;
    memory.CreateCompatibleDC(&dc);
    memory.SelectObject(&bitmap);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            memory.SetPixel(x, y, (x + y) % 2 ? kLockColor : kGrey);
    Brush lock;
    lock.CreatePatternBrush(bitmap);
    dc.FillRect(RECT{112, 16, 192, 32}, &lock);
    dc.DrawText("12.500", RECT{114, 16, 190, 32}, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText("P1", RECT{34, 16, 110, 32}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText("東京都千代田", RECT{192, 16, 232, 32}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText("Z", RECT{232, 16, 304, 32}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.SetTextColor(kWarning);
    dc.DrawText("P2", RECT{34, 32, 110, 48}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.SetTextColor(0);
    dc.FillSolidRect(RECT{112, 32, 192, 48}, kCaret);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kCaret);
    dc.DrawText("-3.25", RECT{114, 32, 190, 48}, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
}

} // namespace

TEST_F(RendererTest, AGridIsReplayedFromItsDrawingWithHatchingColoursAndWholeWideCharacters)
{
    PaintedWindow grid(DrawGrid);
    ASSERT_TRUE(grid.Create("MoxGrid", "", WS_VISIBLE, RECT{8, 16, 8 + 304, 16 + 48}, nullptr, 0));
    Canvas canvas = Paint(40, 5);
    EXPECT_EQ(grid.paints, 1) << "a window that draws itself is asked to paint once";
    EXPECT_EQ(Lines(canvas, 1, 3), "  No    点名       X     所在\n"
                                    "   1 P1        ░░░12.500░東京 Z\n"
                                    "   2 P2            -3.25\n")
        << "a text's right margin of two pixels keeps a blank cell before the next column\n"
        << canvas.ToText();
    EXPECT_EQ(canvas.At(29, 2).ch, U' ') << "都 would cross the column border at 30: left out whole";
    EXPECT_EQ(canvas.At(30, 2).ch, U'Z');
    const CanvasCell& shade = canvas.At(16, 2);
    EXPECT_EQ(shade.fg, kLockColor) << "the hatching's first colour";
    EXPECT_EQ(shade.bg, kGrey) << "and its second";
    EXPECT_EQ(canvas.At(22, 2).bg, kGrey) << "transparent text keeps the hatched background";
    EXPECT_EQ(canvas.At(5, 3).fg, kWarning) << "warning text colour";
    EXPECT_EQ(canvas.At(16, 3).bg, kCaret) << "the caret cell";
    EXPECT_EQ(canvas.At(0, 2).bg, renderer.GetPalette().desktop) << "the grid's drawing stays inside it";

    renderer.Paint(canvas);
    EXPECT_EQ(grid.paints, 1) << "a painted window is not asked again until invalidated";
    grid.Invalidate(FALSE);
    renderer.Paint(canvas);
    EXPECT_EQ(grid.paints, 2);
}

TEST_F(RendererTest, PaintHandlersRunBeforeDrawingAndMayOpenWindows)
{
    // As a host may do when it finds something to say while drawing.
    Static notice;
    PaintedWindow host([&notice](DC& dc) {
        dc.DrawText("drawn", RECT{0, 0, 80, 16}, DT_SINGLELINE);
        if (!notice.IsWindow())
            notice.Create("notice", WS_POPUP | WS_VISIBLE, RECT{160, 64, 240, 80}, nullptr);
    });
    ASSERT_TRUE(host.Create("Host", "", WS_VISIBLE, RECT{0, 0, 160, 32}, nullptr, 0));
    Canvas canvas = Paint(40, 6);
    ASSERT_TRUE(notice.IsWindow());
    EXPECT_EQ(canvas.LineText(0).substr(0, 5), "drawn") << canvas.ToText();
    EXPECT_NE(canvas.LineText(4).find("notice"), std::string::npos) << "the window opened while painting shows at once\n"
                                                                   << canvas.ToText();
    notice.DestroyWindow();
}

TEST_F(RendererTest, LinesFocusRectanglesAndBitmapsHaveACellForm)
{
    PaintedWindow sketch([](DC& dc) {
        Pen red(PS_SOLID, 1, RGB(255, 0, 0));
        dc.SelectObject(&red);
        dc.MoveTo(0, 8);
        dc.LineTo(32, 8);
        dc.MoveTo(36, 0);
        dc.LineTo(36, 32);
        dc.MoveTo(0, 31); // a rule under the second line's cells
        dc.LineTo(32, 31);
        Bitmap picture;
        picture.CreateBitmap(16, 16);
        DC memory;
        memory.CreateCompatibleDC(&dc);
        memory.SelectObject(&picture);
        memory.FillSolidRect(RECT{0, 0, 16, 16}, RGB(0, 128, 0));
        dc.BitBlt(48, 16, 16, 16, &memory, 0, 0, SRCCOPY);
        dc.DrawFocusRect(RECT{8, 16, 40, 32});
    });
    ASSERT_TRUE(sketch.Create("Sketch", "", WS_VISIBLE, RECT{0, 0, 80, 32}, nullptr, 0));
    Canvas canvas = Paint(10, 2);
    EXPECT_EQ(canvas.LineText(0).substr(0, std::string("────│").size()), "────│") << canvas.ToText();
    EXPECT_EQ(canvas.At(0, 0).fg, RGB(255, 0, 0));
    EXPECT_EQ(canvas.LineText(1).find("─"), std::string::npos) << "a rule along the cells' edge would hide them\n" << canvas.ToText();
    EXPECT_EQ(canvas.At(6, 1).bg, RGB(0, 128, 0)) << "a bitmap's cells take its colours";
    EXPECT_EQ(canvas.At(7, 1).bg, RGB(0, 128, 0));
    EXPECT_EQ(canvas.GetCursor(), (std::optional<POINT>{POINT{1, 1}})) << "the focus shows as the cursor";
}

TEST_F(RendererTest, AFrameShowsItsTitleStatusLineAndAListViewBetween)
{
    FrameWnd frame;
    ASSERT_TRUE(frame.Create("Frame", "座標一覧 - 現場A", WS_VISIBLE, RECT{0, 0, 320, 96}, nullptr, 0));
    frame.SetMessageText("準備完了");
    ListView list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, frame.GetContentRect(), &frame, 1));
    list.InsertColumn(0, "名前", LVCFMT_LEFT, 80);
    list.InsertColumn(1, "点数", LVCFMT_RIGHT, 48);
    list.InsertItem(0, "現況");
    list.SetItemText(0, 1, "120");
    list.InsertItem(1, "とても長いテンプレート名");
    list.SetItemText(1, 1, "7");
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    Canvas canvas = Paint(40, 6);
    EXPECT_EQ(canvas.ToText(), " 座標一覧 - 現場A\n"
                               "名前       点数\n"
                               "現況        120\n"
                               "とても長      7\n"
                               "\n"
                               " 準備完了\n")
        << canvas.ToText();
    EXPECT_EQ(canvas.At(0, 3).bg, renderer.GetPalette().highlight) << "the selected item";
    EXPECT_EQ(canvas.At(39, 5).bg, renderer.GetPalette().face) << "the status line spans the frame";

    list.SetFocus();
    ImmSetOpenStatus(ImmGetContext(&list), TRUE);
    renderer.Paint(canvas);
    EXPECT_EQ(canvas.LineText(5), " 準備完了                          [あ]") << "the focus's input method, opened";
    ImmSetOpenStatus(ImmGetContext(&list), FALSE);
    renderer.Paint(canvas);
    EXPECT_EQ(canvas.LineText(5), " 準備完了                           [A]");
}

TEST_F(RendererTest, AMessageBoxShowsItsIconTextAndButtonsWithTheFocusMarked)
{
    EXPECT_EQ(MessageBoxDefaultIndex(MB_OK | MB_DEFBUTTON3), 0) << "a default past the buttons falls back";

    Canvas canvas(40, 9);
    canvas.Clear(0, renderer.GetPalette().desktop);
    renderer.PaintMessageBox(canvas, MessageBoxView{"変更を保存しますか？", "座標", MB_YESNO | MB_ICONQUESTION, 1});
    EXPECT_EQ(canvas.ToText(), "\n"
                               "     ┌ 座標 ──────────────────────┐\n"
                               "     │                            │\n"
                               "     │ (?) 変更を保存しますか？   │\n"
                               "     │                            │\n"
                               "     │ [ はい(Y) ]  [ いいえ(N) ] │\n"
                               "     └────────────────────────────┘\n"
                               "\n"
                               "\n")
        << canvas.ToText();
    EXPECT_EQ(canvas.At(14, 5).attr & CanvasCell::Underline, CanvasCell::Underline) << "Y is the mnemonic";
    EXPECT_EQ(canvas.At(7, 1).bg, renderer.GetPalette().caption) << "the caption keeps its colours in the border";
    const POINT cursor = canvas.GetCursor().value_or(POINT{-1, -1});
    EXPECT_EQ(canvas.At(cursor.x, cursor.y).bg, renderer.GetPalette().highlight) << "the cursor is on the focused button";
}

TEST_F(RendererTest, AltAndAMarkedLetterReachesTheControlTheDialogShowsItFor)
{
    ShowPointDialog();
    auto alt = [](int letter) {
        InputEvent event = InputEvent::KeyPress(letter);
        event.alt = true;
        return event;
    };
    dialog.GotoDlgCtrl(dialog.GetDlgItem(kCode));
    DispatchInput(alt('N'));
    EXPECT_EQ(Wnd::GetFocus(), dialog.GetDlgItem(kName)) << "the label 点名(&N) leads to the edit after it";
    DispatchInput(alt('F'));
    EXPECT_EQ(dialog.IsDlgButtonChecked(kFixed), BST_CHECKED) << "固定(&F) is checked";
    EXPECT_EQ(Wnd::GetFocus(), dialog.GetDlgItem(kFixed));
    DispatchInput(alt('A'));
    EXPECT_EQ(dialog.IsDlgButtonChecked(kArc), BST_CHECKED) << "the radio button 円弧(&A)";
    DispatchInput(alt('Z'));
    EXPECT_EQ(Wnd::GetFocus(), dialog.GetDlgItem(kArc)) << "a letter no control marks does nothing";
}
