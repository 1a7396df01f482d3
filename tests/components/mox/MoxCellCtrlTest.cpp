// The grid window driven as a person and a host drive it: input through the headless
// driver, notifications answered by the hosting window, painting read back as drawing steps.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellFont.h"
#include "components/mox/MoxCellView.h"
#include "components/mox/MoxData.h"
#include "components/mox/MoxDocument.h"
#include "platform/ui/App.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Controls.h"
#include "platform/ui/HeadlessDriver.h"
#include "tests/platform/ui/HeadlessAppTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace plat;

namespace {

constexpr unsigned kCellSize = 12;

// Text cells of kCellSize bytes; counts the cells asked for text.
class TextTable : public MoxData {
public:
    TextTable(long items, long records) { SetSize(items, records); }
    unsigned OnGetDataSize(long) const override { return kCellSize; }
    BOOL OnGetText(long item, long record, std::string& text) override
    {
        ++textRequests;
        char cell[kCellSize + 1] = {};
        if (!GetBuffer(item, record, cell, kCellSize))
            return FALSE;
        text = cell;
        return TRUE;
    }
    BOOL OnGetData(long, long, const char* text, void* buffer, unsigned& size) override
    {
        if (std::strcmp(text, "bad") == 0)
            return FALSE;
        size = static_cast<unsigned>(std::min<std::size_t>(std::strlen(text), kCellSize - 1));
        std::memcpy(buffer, text, size);
        return TRUE;
    }
    BOOL OnGetData(long item, long record, Wnd* editor, void* buffer, unsigned& size) override
    {
        const std::string text = editor->GetWindowText();
        return OnGetData(item, record, text.c_str(), buffer, size);
    }
    std::string Text(long item, long record)
    {
        std::string text;
        OnGetText(item, record, text);
        return text;
    }
    void Put(long item, long record, const char* text) { SetBuffer(item, record, text, static_cast<unsigned>(std::strlen(text))); }

    int textRequests = 0;
};

// The answer to a notification that asks for a heading's text.
LRESULT Heading(LPARAM l, std::string text)
{
    *reinterpret_cast<std::string*>(l) = std::move(text);
    return 1;
}

// The window around the grid: answers its notifications and records them.
class Host : public Wnd {
public:
    LRESULT OnFixedColText(WPARAM w, LPARAM l) { return Heading(l, std::to_string(reinterpret_cast<const MoxPos*>(w)->row + 1)); }
    LRESULT OnFixedRowText(WPARAM w, LPARAM l) { return Heading(l, "H" + std::to_string(reinterpret_cast<const MoxPos*>(w)->column)); }
    LRESULT OnFixedCellText(WPARAM, LPARAM l) { return Heading(l, "No."); }
    LRESULT OnSelChanging(WPARAM, LPARAM l) { return refuseMovesTo == *reinterpret_cast<const MoxPos*>(l) ? 1 : 0; }
    LRESULT OnSelChanged(WPARAM, LPARAM) { return ++selChanged, 0; }
    LRESULT OnBeginEdit(WPARAM, LPARAM) { return refuseEdit ? 1 : 0; }
    LRESULT OnGetControl(WPARAM w, LPARAM)
    {
        auto* request = reinterpret_cast<MOX_GETCONTROL*>(w);
        request->editor = &editor;
        editor.SetWindowText(table->Text(request->column, request->row));
        return 1;
    }
    LRESULT OnEndEdit(WPARAM, LPARAM) { return ++endEdits, keepEditorOpen ? 1 : 0; }
    // As the library's window does, a cell the grid does not show counts as not editable.
    LRESULT OnQueryPaste(WPARAM w, LPARAM l)
    {
        const MoxPos pos{static_cast<std::int32_t>(w), static_cast<std::int32_t>(l)};
        RECT rect{};
        grid->SendMessage(MOXM_GETCELLRECT, reinterpret_cast<WPARAM>(&pos), reinterpret_cast<LPARAM>(&rect));
        return rect.IsEmpty() || (pos.column == refusePasteColumn && pos.row == 0) ? 1 : 0;
    }
    LRESULT OnBracket(WPARAM, LPARAM) { return brackets.push_back("bracket"), 0; }
    LRESULT OnUserResize(WPARAM w, LPARAM l) { return resized.push_back({static_cast<long>(w), static_cast<long>(l)}), 0; }
    LRESULT OnCtlColor(WPARAM w, LPARAM l)
    {
        if (!(*reinterpret_cast<const MoxPos*>(w) == brushCell))
            return 0;
        reinterpret_cast<DC*>(l)->SetTextColor(RGB(255, 0, 0));
        return reinterpret_cast<LRESULT>(&brush);
    }

    TextTable* table = nullptr;
    MoxCellCtrl* grid = nullptr;
    Edit editor;
    Brush brush{RGB(1, 2, 3)};
    MoxPos brushCell{-1, -1};
    MoxPos refuseMovesTo{-1, -1};
    bool refuseEdit = false;
    bool keepEditorOpen = false;
    long refusePasteColumn = -1;
    int selChanged = 0;
    int endEdits = 0;
    std::vector<std::string> brackets;
    std::vector<std::pair<long, long>> resized;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Host, Wnd)
    ON_MESSAGE(MOXN_FIXEDCOLTEXT, OnFixedColText)
    ON_MESSAGE(MOXN_FIXEDROWTEXT, OnFixedRowText)
    ON_MESSAGE(MOXN_FIXEDCELLTEXT, OnFixedCellText)
    ON_MESSAGE(MOXN_SELCHANGING, OnSelChanging)
    ON_MESSAGE(MOXN_SELCHANGED, OnSelChanged)
    ON_MESSAGE(MOXN_BEGINEDIT, OnBeginEdit)
    ON_MESSAGE(MOXN_GETCONTROL, OnGetControl)
    ON_MESSAGE(MOXN_ENDEDIT, OnEndEdit)
    ON_MESSAGE(MOXN_QUERYPASTE, OnQueryPaste)
    ON_MESSAGE(MOXN_BEGINPASTE, OnBracket)
    ON_MESSAGE(MOXN_ENDPASTE, OnBracket)
    ON_MESSAGE(MOXN_USERRESIZE, OnUserResize)
    ON_MESSAGE(MOXN_CTLCOLOR, OnCtlColor)
END_MESSAGE_MAP()

// An 80 by 25 character screen (640 x 400 px): a heading line and 24 data lines.
class GridTest : public tavtest::HeadlessAppTest {
protected:
    explicit GridTest(long records = 100, long columns = 4) : table(columns, records)
    {
        app.SetMainWnd(&host);
        host.table = &table;
        host.grid = &grid;
        host.Create("Host", "", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
        host.editor.Create(ES_LEFT, RECT{0, 0, 10, 10}, &host, 200);
        grid.Create(WS_VISIBLE, RECT{0, 0, 640, 400}, &host, 100);
        grid.SendMessage(MOXM_SETDATA, reinterpret_cast<WPARAM>(&table));
        grid.SetFocus();
    }

    void Run() { app.Run(); }
    void Key(int key, bool shift = false, bool control = false)
    {
        driver.PushKey(key, shift, control);
        Run();
    }
    void Click(POINT point, bool shift = false, bool control = false, InputEvent::Kind kind = InputEvent::Kind::Click)
    {
        InputEvent event = InputEvent::MouseClick(point, kind);
        event.shift = shift;
        event.control = control;
        driver.Push(event);
        Run();
    }
    // One line of the grid (the heading, each record), as the driver measures the cell font.
    int Line() const { return GetTextMeasure().LineHeight(grid.CellLogFont()); }
    // The records in view under the heading line of the 400 px window.
    int LinesInView() const { return (400 - Line()) / Line(); }
    // The middle of a cell, on the screen.
    POINT CellPoint(long column, long row)
    {
        RECT rect;
        const MoxPos pos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)};
        EXPECT_TRUE(grid.GetCellRect(pos, rect));
        return POINT{rect.left + 4, rect.top + 4};
    }
    std::vector<DrawOp> Paint()
    {
        grid.SendMessage(WM_PAINT);
        return grid.GetDrawing();
    }
    static const DrawOp* FindText(const std::vector<DrawOp>& ops, const std::string& text)
    {
        for (const DrawOp& op : ops)
            if (op.kind == DrawOp::Kind::Text && op.text == text)
                return &op;
        return nullptr;
    }

    TextTable table;
    Host host;
    MoxCellCtrl grid;
};

class BigGridTest : public GridTest {
protected:
    BigGridTest() : GridTest(1'000'000) {}
};

TEST_F(GridTest, PaintsHeadingsRowNumbersAndClippedAlignedTexts)
{
    table.Put(0, 0, "A1");
    table.Put(1, 0, "abcdefghijk");
    grid.SetPaneWidth(48, 1); // 44 px inside the margins
    grid.SetTextAlign(DT_RIGHT | DT_VCENTER | DT_SINGLELINE, 0);
    const auto ops = Paint();
    EXPECT_NE(FindText(ops, "No."), nullptr);
    EXPECT_NE(FindText(ops, "H3"), nullptr);
    EXPECT_NE(FindText(ops, std::to_string(LinesInView())), nullptr) << "as many lines as fit under the heading";
    EXPECT_EQ(FindText(ops, std::to_string(LinesInView() + 1)), nullptr);
    const DrawOp* a1 = FindText(ops, "A1");
    ASSERT_NE(a1, nullptr);
    EXPECT_EQ(a1->format & DT_RIGHT, DT_RIGHT);
    EXPECT_EQ(a1->rect.left, 40 + 2) << "inside the row-number column and the left margin";
    const std::string long_ = "abcdefghijk";
    const std::size_t fits = GetTextMeasure().Fit(grid.CellLogFont(), long_, 44);
    ASSERT_LT(fits, long_.size());
    EXPECT_NE(FindText(ops, long_.substr(0, fits)), nullptr) << "a long text is cut to its cell";

    RECT rect{1, 1, 1, 1};
    MoxPos hidden{0, 30};
    EXPECT_FALSE(grid.SendMessage(MOXM_GETCELLRECT, reinterpret_cast<WPARAM>(&hidden), reinterpret_cast<LPARAM>(&rect)));
    EXPECT_TRUE(rect.IsEmpty()) << "a cell out of view has no rectangle";
}

TEST_F(BigGridTest, OnlyCellsInViewAreAskedAndTheCaretScrollsIntoView)
{
    table.textRequests = 0;
    Paint();
    const int page = LinesInView();
    EXPECT_EQ(table.textRequests, 4 * page) << "four columns by the lines in view, not a million rows";

    Key(VK_DOWN);
    Key(VK_NEXT);
    EXPECT_EQ(grid.GetCaret().row, page + 1);
    EXPECT_EQ(grid.GetTopLeft().row, page) << "Page Down turns a whole page and the caret keeps its line";
    Key(VK_PRIOR);
    EXPECT_EQ(grid.GetCaret().row, 1);
    EXPECT_EQ(grid.GetTopLeft().row, 0);
    table.Put(2, 500'000, "far");
    Key(VK_END, false, true);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{3, 500'000})) << "Ctrl+End goes to the last record that holds data";
    EXPECT_EQ(grid.GetTopLeft().row, 500'000 - (page - 1));
    EXPECT_NE(FindText(Paint(), "far"), nullptr);
    Key(VK_HOME, false, true);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{0, 0}));
    EXPECT_EQ(grid.GetTopLeft().row, 0);
}

class WideGridTest : public GridTest {
protected:
    WideGridTest() : GridTest(2, 70'000) {}
};

TEST_F(WideGridTest, AnyWidthIsBoundedAndColumnPositionsStayInRange)
{
    // 70,000 columns of the widest width reach past 2^31 pixels.
    for (long column = 0; column < grid.GetColumnCount(); ++column)
        grid.SetPaneWidth(column % 2 == 0 ? std::numeric_limits<int>::max() : 1 << 30, column);
    EXPECT_EQ(grid.GetPaneWidth(0), MoxCellCtrl::kMaxPaneWidth);
    EXPECT_EQ(grid.GetPaneWidth(1), MoxCellCtrl::kMaxPaneWidth);
    grid.SendMessage(MOXM_SETCOLWIDTH, 2, std::numeric_limits<LPARAM>::max());
    EXPECT_EQ(grid.GetPaneWidth(2), MoxCellCtrl::kMaxPaneWidth) << "not cut to its low bits";
    grid.SendMessage(MOXM_SETFIXEDCOLWIDTH, static_cast<WPARAM>(-1));
    EXPECT_EQ(grid.GetFixedColWidth(), MoxCellCtrl::kMaxPaneWidth);
    grid.SendMessage(MOXM_SETFIXEDCOLWIDTH, 40);

    RECT rect;
    EXPECT_FALSE(grid.GetCellRect(MoxPos{69'999, 0}, rect)) << "far off the screen, not wrapped back onto it";
    table.Put(69'999, 1, "last");
    Key(VK_END, false, true);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{69'999, 1}));
    EXPECT_EQ(grid.GetTopLeft().column, 69'999);
    EXPECT_NE(FindText(Paint(), "last"), nullptr);
    Click(POINT{40 + 10, 16 + 4});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{69'999, 0}));
    Key(VK_HOME, false, true);
    EXPECT_EQ(grid.GetTopLeft().column, 0);
    EXPECT_NE(FindText(Paint(), "H0"), nullptr);
}

TEST_F(GridTest, ATableChangeRepaintsItsLineOnlyWhileInView)
{
    grid.ValidateRect();
    table.Put(1, 3, "x");
    ASSERT_EQ(grid.GetInvalidations().size(), 1u);
    EXPECT_EQ(grid.GetInvalidations()[0].rect, (RECT{0, Line() * 4, 640, Line() * 5})) << "the heading line, then records 0 to 3";
    grid.ValidateRect();
    table.Put(1, 60, "far");
    EXPECT_TRUE(grid.GetInvalidations().empty()) << "a line out of view is not repainted";
}

TEST_F(GridTest, ColumnsBeyondTheWindowScrollIntoViewWithTheCaret)
{
    for (long column = 0; column < 4; ++column)
        grid.SetPaneWidth(200, column); // 40 + 800 px on a 640 px window
    Key(VK_END);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{3, 0}));
    EXPECT_EQ(grid.GetTopLeft().column, 1) << "scrolled just far enough to show the last column whole";
    RECT rect;
    EXPECT_FALSE(grid.GetCellRect(MoxPos{0, 0}, rect));
    const auto ops = Paint();
    EXPECT_EQ(FindText(ops, "H0"), nullptr);
    EXPECT_NE(FindText(ops, "H3"), nullptr);
    Click(POINT{40 + 10, 16 + 4});
    EXPECT_EQ(grid.GetCaret(), (MoxPos{1, 0})) << "the first column in view lies beside the row numbers";
    Key(VK_HOME);
    EXPECT_EQ(grid.GetTopLeft().column, 0);
}

TEST_F(GridTest, KeysAndClicksMoveTheCaretAndBuildSelections)
{
    Key(VK_RIGHT);
    Key(VK_DOWN, true);
    Key(VK_DOWN, true);
    ASSERT_EQ(grid.GetSelection().GetSize(), 1u);
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(MoxPos{1, 0}, MoxPos{1, 2}));

    Click(CellPoint(3, 5), false, true);
    ASSERT_EQ(grid.GetSelection().GetSize(), 2u) << "Ctrl+click adds a range";
    EXPECT_EQ(grid.GetCaret(), (MoxPos{3, 5}));
    Click(CellPoint(2, 7), true);
    EXPECT_EQ(grid.GetSelection().GetAt(1), MoxRect(MoxPos{3, 5}, MoxPos{2, 7})) << "Shift+click extends the last range";

    Click(POINT{10, Line() * 4 + 4}); // row number of line 4 (record 3)
    std::vector<std::uint8_t> flags;
    const auto* selection = reinterpret_cast<const MoxRectArray*>(grid.SendMessage(MOXM_GETSELECTION, reinterpret_cast<WPARAM>(&flags)));
    ASSERT_EQ(selection->GetSize(), 1u);
    EXPECT_EQ(selection->GetAt(0), MoxRect(MoxPos{0, 3}, MoxPos{3, 3}));
    EXPECT_EQ(flags, std::vector<std::uint8_t>{MoxRectArray::kWholeLines});
    Click(POINT{10, Line() * 6 + 4}, true);
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(MoxPos{0, 3}, MoxPos{3, 5})) << "Shift on a row number extends the lines";

    Click(POINT{40 + 80 + 10, 4}); // heading of column 1
    grid.SendMessage(MOXM_GETSELECTION, reinterpret_cast<WPARAM>(&flags));
    EXPECT_EQ(flags, std::vector<std::uint8_t>{MoxRectArray::kWholeColumns});
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(MoxPos{1, 0}, MoxPos{1, 99}));

    host.refuseMovesTo = MoxPos{1, 7};
    const int changes = host.selChanged;
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{1, 6}));
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{1, 6})) << "a non-zero answer to the move refuses it";
    EXPECT_EQ(host.selChanged, changes + 1);
}

TEST_F(GridTest, TypingEditsInPlaceAndReturnStoresWhileEscapeDoesNot)
{
    table.Put(0, 1, "old");
    Key(VK_DOWN);
    driver.PushText("new");
    Run();
    ASSERT_EQ(grid.GetEditor(), &host.editor);
    EXPECT_TRUE(host.editor.IsWindowVisible());
    RECT cell;
    grid.GetCellRect(MoxPos{0, 1}, cell);
    EXPECT_EQ(host.editor.GetRectInParent(), cell) << "the editor lies on the cell";
    EXPECT_EQ(host.editor.GetWindowText(), "new") << "typing replaces the text";
    EXPECT_EQ(table.Text(0, 1), "old");
    Key(VK_RETURN);
    EXPECT_EQ(grid.GetEditor(), nullptr);
    EXPECT_FALSE(host.editor.IsWindowVisible());
    EXPECT_EQ(table.Text(0, 1), "new");
    EXPECT_EQ(host.endEdits, 1);

    Key(0x71); // F2 keeps the text and adds to it
    driver.PushText("er");
    Run();
    EXPECT_EQ(host.editor.GetWindowText(), "newer");
    Key(VK_ESCAPE);
    EXPECT_EQ(table.Text(0, 1), "new") << "Escape closes without storing";
    EXPECT_EQ(host.endEdits, 1) << "and without asking";

    host.keepEditorOpen = true;
    Click(CellPoint(2, 4), false, false, InputEvent::Kind::DoubleClick);
    ASSERT_NE(grid.GetEditor(), nullptr);
    grid.SetPaneWidth(120, 0);
    grid.GetCellRect(MoxPos{2, 4}, cell);
    EXPECT_EQ(host.editor.GetRectInParent(), cell) << "the editor follows its cell when a column left of it widens";
    Key(VK_DOWN);
    EXPECT_NE(grid.GetEditor(), nullptr) << "the host keeps the editor open";
    EXPECT_EQ(grid.GetCaret(), (MoxPos{2, 4}));
    host.keepEditorOpen = false;
    driver.PushText("bad");
    driver.PushKey(VK_RETURN);
    Run();
    EXPECT_EQ(grid.GetEditor(), nullptr) << "a text the table does not take leaves the cell as it was";
    EXPECT_EQ(table.Text(2, 4), "");

    host.refuseEdit = true;
    driver.PushText("x");
    Run();
    EXPECT_EQ(grid.GetEditor(), nullptr);
}

TEST_F(GridTest, CopyAndPasteTabSeparatedTextThroughTheClipboard)
{
    SetClipboardText("a\tb\tc\r\nd\te\tf\ng\th\ti\n");
    host.refusePasteColumn = 2;
    Click(CellPoint(1, 0));
    Key('V', false, true);
    EXPECT_EQ(table.Text(1, 0), "a");
    EXPECT_EQ(table.Text(2, 0), "") << "the host refused this cell";
    EXPECT_EQ(table.Text(3, 0), "c");
    EXPECT_EQ(table.Text(3, 2), "i");
    EXPECT_EQ(table.Text(0, 3), "") << "the line feed after the last row starts no other";
    EXPECT_EQ(host.brackets.size(), 2u);
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(MoxPos{1, 0}, MoxPos{3, 2}));

    Key('C', false, true);
    EXPECT_EQ(GetClipboardText(), "a\t\tc\nd\te\tf\ng\th\ti\n");

    Key(VK_DELETE);
    EXPECT_EQ(table.Text(1, 1), "");
    EXPECT_EQ(table.GetLastInputRecordNo(), -1);

    std::string tall;
    for (int line = 1; line <= 30; ++line)
        tall += "r" + std::to_string(line) + "\n";
    SetClipboardText(tall);
    const MoxPos top{0, 0};
    grid.SendMessage(MOXM_SETCARET, reinterpret_cast<WPARAM>(&top));
    grid.SendMessage(MOXM_PASTE);
    EXPECT_EQ(table.Text(0, 29), "r30") << "lines below the window are pasted too";
    EXPECT_EQ(grid.GetTopLeft().row, 0) << "and the view stays where the paste began";
}

TEST_F(GridTest, APasteThatDoesNotFitIsPastedInPartOnlyWhenThePersonAgrees)
{
    std::string lines;
    for (int line = 1; line <= 101; ++line)
        lines += "p" + std::to_string(line) + "\n";
    SetClipboardText(lines);
    grid.SendMessage(MOXM_PASTE); // unanswered: the default button, No
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              "貼り付ける 101 行のうち 1 行が最終行を越えるため貼り付けられません。\n\n収まる部分だけ貼り付けますか？");
    EXPECT_EQ(driver.MessageBoxes()[0].style, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(table.GetLastInputRecordNo(), -1) << "refused whole";
    EXPECT_TRUE(host.brackets.empty()) << "the table's owner never saw a paste begin";

    SetClipboardText("x\ty\tz\tw\tv\nx2\n");
    const MoxPos bottom{2, 99};
    grid.SendMessage(MOXM_SETCARET, reinterpret_cast<WPARAM>(&bottom));
    driver.AnswerMessageBox(IDYES);
    grid.SendMessage(MOXM_PASTE);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[1].text, "貼り付ける 2 行のうち 1 行が最終行を越えるため貼り付けられません。\n"
                                             "貼り付ける 5 列のうち 3 列が最終列を越えるため貼り付けられません。\n\n"
                                             "収まる部分だけ貼り付けますか？");
    EXPECT_EQ(table.Text(3, 99), "y") << "the part that fits, once agreed";
}

TEST_F(GridTest, ColumnBordersDragOnlyWhileUserResizeIsOn)
{
    const LPARAM border = MAKELPARAM(40 + 80, 4);
    grid.SendMessage(WM_LBUTTONDOWN, 1, border);
    grid.SendMessage(WM_MOUSEMOVE, 1, MAKELPARAM(40 + 100, 4));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40 + 100, 4));
    EXPECT_EQ(grid.GetPaneWidth(0), 100);
    EXPECT_EQ(host.resized, (std::vector<std::pair<long, long>>{{0, 100}}));

    const int widened = 100 + GetTextMeasure().AverageWidth(grid.CellLogFont());
    Key(VK_RIGHT, true, true);
    EXPECT_EQ(grid.GetPaneWidth(0), widened) << "Ctrl+Shift+Right widens the caret's column by a character";
    EXPECT_EQ(host.resized, (std::vector<std::pair<long, long>>{{0, 100}, {0, widened}}));

    grid.SetUserResize(FALSE);
    grid.SendMessage(WM_LBUTTONDOWN, 1, MAKELPARAM(40 + widened, 4));
    grid.SendMessage(WM_MOUSEMOVE, 1, MAKELPARAM(40 + 150, 4));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40 + 150, 4));
    Key(VK_LEFT, true, true);
    EXPECT_EQ(grid.GetPaneWidth(0), widened);
    EXPECT_EQ(host.resized.size(), 2u);
}

TEST_F(GridTest, CaretSelectionMarkingAndCellBrushesPaintDistinctly)
{
    table.Put(1, 1, "red");
    host.brushCell = MoxPos{1, 1};
    Key(VK_RIGHT, true);
    auto ops = Paint();
    auto fillAt = [&](const std::vector<DrawOp>& drawn, long column, long row) {
        RECT rect;
        grid.GetCellRect(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)}, rect);
        COLORREF colour = CLR_NONE;
        for (const DrawOp& op : drawn)
            if (op.kind == DrawOp::Kind::Fill && op.rect == rect)
                colour = op.brush.ColorAt(rect.left, rect.top);
        return colour;
    };
    EXPECT_EQ(fillAt(ops, 1, 0), grid.GetColor(MOXC_CARET));
    EXPECT_EQ(fillAt(ops, 0, 0), grid.GetColor(MOXC_SELECTION));
    EXPECT_EQ(fillAt(ops, 1, 1), RGB(1, 2, 3)) << "the host's brush";
    EXPECT_EQ(FindText(ops, "red")->textColor, RGB(255, 0, 0)) << "and its text colour";

    grid.SendMessage(MOXM_SETSEARCHMARK, 1);
    EXPECT_EQ(fillAt(Paint(), 0, 0), grid.GetColor(MOXC_SEARCH));
    grid.SendMessage(MOXM_SETSEARCHMARK, 0);
    Click(POINT{10, Line() * 3 + 4});
    grid.SendMessage(MOXM_SETLINEMARK, 1);
    EXPECT_EQ(fillAt(Paint(), 0, 2), grid.GetColor(MOXC_LINEMARK)) << "marked lines differ from a selection";
}

TEST_F(GridTest, PrintsEveryFilledRecordInPagesWithHeadings)
{
    table.Put(0, 0, "first");
    table.Put(0, 49, "last");
    DC printer; // 640 x 400: title and blank lines, a heading, then records
    const int perPage = (400 - 3 * Line()) / Line();
    const int pages = (50 + perPage - 1) / perPage;
    EXPECT_EQ(grid.SendMessage(MOXM_PRINT, reinterpret_cast<WPARAM>(&printer)), pages);
    int headings = 0;
    for (const DrawOp& op : printer.GetOps())
        headings += op.text == "H0";
    EXPECT_EQ(headings, pages);
    EXPECT_NE(FindText(printer.GetOps(), "last"), nullptr);
    EXPECT_EQ(FindText(printer.GetOps(), "51"), nullptr) << "nothing after the last filled record";
}

TEST_F(GridTest, CellFontReachesEveryGridAndAGoneTableIsForgotten)
{
    MoxCellCtrl second;
    second.Create(WS_VISIBLE, RECT{0, 0, 100, 100}, &host, 101);
    LOGFONTA font;
    font.lfHeight = -20;
    std::strcpy(font.lfFaceName, "Grid");
    grid.ValidateRect();
    MoxSetCellFont(&font);
    for (MoxCellCtrl* each : {&grid, &second}) {
        LOGFONTA got;
        reinterpret_cast<Font*>(each->SendMessage(MOXM_GETFONT))->GetLogFont(&got);
        EXPECT_STREQ(got.lfFaceName, "Grid");
    }
    EXPECT_FALSE(grid.GetInvalidations().empty()) << "the grids repaint";
    MoxSetCellFont(nullptr);

    {
        auto gone = std::make_unique<TextTable>(2, 5);
        second.SendMessage(MOXM_SETDATA, reinterpret_cast<WPARAM>(gone.get()));
    }
    EXPECT_EQ(second.GetData(), nullptr);
    second.SendMessage(WM_PAINT);
}

// A window built on the grid, as the library's own grid windows are.
class DerivedGrid : public MoxCellCtrl {
public:
    LRESULT OnKeyDown(WPARAM, LPARAM)
    {
        const LRESULT result = Default();
        keysAfterGrid.push_back(GetCaret().row);
        return result;
    }
    LRESULT OnFixedColText(WPARAM w, LPARAM l) { return Heading(l, "#" + std::to_string(reinterpret_cast<const MoxPos*>(w)->row)); }
    std::vector<long> keysAfterGrid;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedGrid, MoxCellCtrl)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(MOXN_FIXEDCOLTEXT, OnFixedColText)
END_MESSAGE_MAP()

TEST_F(GridTest, ADerivedWindowAnswersNotificationsFirstAndReachesTheGridWithDefault)
{
    DerivedGrid derived;
    derived.Create(WS_VISIBLE, RECT{0, 0, 640, 400}, &host, 102);
    derived.SendMessage(MOXM_SETDATA, reinterpret_cast<WPARAM>(&table));
    derived.SetFocus();
    Key(VK_DOWN);
    EXPECT_EQ(derived.keysAfterGrid, std::vector<long>{1}) << "the grid moved the caret before the handler went on";
    derived.SendMessage(WM_PAINT);
    EXPECT_NE(FindText(derived.GetDrawing(), "#0"), nullptr);
    EXPECT_EQ(FindText(derived.GetDrawing(), "1"), nullptr) << "the hosting window is not asked";
    EXPECT_NE(FindText(derived.GetDrawing(), "H0"), nullptr) << "what the derived window leaves goes on to the host";
}

TEST(MoxCellCtrlAloneTest, UnansweredNotificationsAllowEverythingAndSupplyNothing)
{
    HeadlessDriver driver;
    WinApp app{"Alone", "Test", &driver};
    TextTable table(2, 3);
    Wnd parent;
    parent.Create("Plain", "", WS_VISIBLE, RECT{0, 0, 320, 200}, nullptr, 0);
    MoxCellCtrl grid;
    grid.Create(WS_VISIBLE, RECT{0, 0, 320, 200}, &parent, 1);
    grid.SendMessage(MOXM_SETDATA, reinterpret_cast<WPARAM>(&table));

    SetClipboardText("a\tb\nc\td\n");
    EXPECT_TRUE(grid.SendMessage(MOXM_PASTE)) << "pasting and every cell allowed";
    EXPECT_EQ(table.Text(1, 1), "d");
    SetClipboardText("");
    EXPECT_TRUE(grid.SendMessage(MOXM_COPY)) << "copying allowed";
    EXPECT_EQ(GetClipboardText(), "a\tb\nc\td\n");
    EXPECT_EQ(grid.SendMessage(MOXM_OPENEDITOR), FALSE) << "nobody supplies an editor";

    grid.SendMessage(WM_PAINT);
    std::vector<std::string> texts;
    for (const DrawOp& op : grid.GetDrawing())
        if (op.kind == DrawOp::Kind::Text)
            texts.push_back(op.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c", "d"})) << "no heading or line-number texts";
}

TEST(MoxCellViewTest, ShowsItsDocumentsTableAndLeavesTheDocumentWhenGone)
{
    TextTable table(2, 3);
    MoxDocument document;
    document.SetTable(&table);
    Wnd frame;
    frame.Create("Frame", "", WS_VISIBLE, RECT{0, 0, 200, 100}, nullptr, 0);
    {
        MoxCellView view;
        view.SetDocument(&document);
        ASSERT_TRUE(view.Create(WS_VISIBLE, RECT{0, 0, 200, 100}, &frame, 1));
        view.OnInitialUpdate();
        EXPECT_EQ(view.GetData(), &table);
        EXPECT_EQ(document.GetViews().size(), 1u);
    }
    EXPECT_TRUE(document.GetViews().empty());
}

} // namespace
