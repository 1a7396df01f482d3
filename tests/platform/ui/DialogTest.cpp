// Dialogs driven as a person would: keys, clicks, Return, Escape and the close box give the right
// result and move the data; validation keeps a dialog open; property sheets apply their pages.
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScreenFit.h"
#include "tests/platform/ui/HeadlessAppTest.h"
#include "tests/platform/ui/ProportionalMeasure.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

enum { kName = 1001, kCount = 1002, kUseFont = 1003, kUp = 1004, kDown = 1005, kList = 1006, kApplyButton = 1007 };

DialogTemplate SampleTemplate()
{
    return DialogTemplate{"検索", 200, 100, "ＭＳ Ｐゴシック", 9, 0, {
        {kName, "EDIT", "", 0, 10, 10, 100, 12},
        {kCount, "EDIT", "", ES_RIGHT, 10, 26, 40, 12},
        {kUseFont, "BUTTON", "使う(&U)", BS_AUTOCHECKBOX, 10, 42, 60, 10},
        {kUp, "BUTTON", "上へ(&U)", BS_AUTORADIOBUTTON | WS_GROUP, 10, 56, 40, 10},
        {kDown, "BUTTON", "下へ(&D)", BS_AUTORADIOBUTTON, 60, 56, 40, 10},
        {kList, "LISTBOX", "", LBS_NOTIFY | WS_GROUP, 120, 10, 70, 40},
        {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_GROUP, 100, 80, 40, 14},
        {IDCANCEL, "BUTTON", "キャンセル", BS_PUSHBUTTON, 150, 80, 40, 14},
    }};
}

class SampleDialog : public Dialog {
public:
    explicit SampleDialog(Wnd* parent = nullptr) : Dialog(SampleTemplate(), parent) {}
    BOOL OnInitDialog() override
    {
        Dialog::OnInitDialog();
        for (const char* entry : {"一", "二", "三"})
            m_list.AddString(entry);
        m_list.SetCurSel(listIndex);
        if (endAtOnce)
            EndDialog(IDNO);
        return TRUE;
    }
    void DoDataExchange(DataExchange& dx) override
    {
        DDX_Control(dx, kList, m_list);
        DDX_Text(dx, kName, name);
        DDX_Text(dx, kCount, count);
        DDV_MinMaxInt(dx, count, 1, 99);
        DDX_Check(dx, kUseFont, useFont);
        DDX_Radio(dx, kUp, direction);
        DDX_LBIndex(dx, kList, listIndex);
    }
    void OnSelChange() { ++selChanges; }
    void OnDblClk() { ++doubleClicks; }

    std::string name = "初め";
    int count = 5;
    int useFont = 0;
    int direction = 1;
    int listIndex = 0;
    int selChanges = 0;
    int doubleClicks = 0;
    bool endAtOnce = false;
    ListBox m_list;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SampleDialog, Dialog)
    ON_LBN_SELCHANGE(kList, OnSelChange)
    ON_LBN_DBLCLK(kList, OnDblClk)
END_MESSAGE_MAP()

using DialogTest = tavtest::HeadlessAppTest;

} // namespace

TEST_F(DialogTest, APersonFillsTheFieldsAndReturnPressesTheDefaultButton)
{
    SampleDialog dialog;
    driver.OnNextDialog([](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "検索");
        EXPECT_EQ(person.Text(kName), "初め") << "OnInitDialog moved the members into the controls";
        EXPECT_EQ(person.Text(kCount), "5");
        EXPECT_TRUE(person.SetText(kName, "座標"));
        EXPECT_TRUE(person.SetText(kCount, "42"));
        EXPECT_TRUE(person.Click(kUseFont));
        EXPECT_TRUE(person.Click(kUp));
        EXPECT_TRUE(person.Pick(kList, "三"));
        person.Tab(); // focus leaves the list for OK; Return still presses OK
        person.Return();
        EXPECT_FALSE(person.IsOpen());
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.name, "座標");
    EXPECT_EQ(dialog.count, 42);
    EXPECT_EQ(dialog.useFont, BST_CHECKED);
    EXPECT_EQ(dialog.direction, 0);
    EXPECT_EQ(dialog.listIndex, 2);
    EXPECT_EQ(dialog.selChanges, 1) << "only the person's pick notifies, not OnInitDialog's SetCurSel";
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_FALSE(dialog.m_list.IsWindow()) << "the bound member control went with the dialog";
}

// Run once more under the proportional measure, as the whole program is: then lines are 13 px.
TEST_F(DialogTest, ButtonTextsFitAndListRowsAreTheLinesOfTheTextMeasure)
{
    SampleDialog dialog;
    driver.OnNextDialog([&](DialogOperator& person) {
        const TextMeasure& measure = GetTextMeasure();
        for (int id : {IDOK, IDCANCEL}) {
            RECT button;
            person.Control(id)->GetClientRect(&button);
            EXPECT_LE(measure.Width(WindowLogFont(*person.Control(id)), person.Text(id)), button.Width())
                << person.Text(id) << " fits its button";
        }
        auto clickAt = [](Wnd* control, POINT point) {
            control->ClientToScreen(&point);
            DispatchInput(InputEvent::MouseClick(point));
        };
        // A dialog's list is framed (a cell of box drawing): its rows start inside.
        auto* list = static_cast<ListBox*>(person.Control(kList));
        clickAt(list, POINT{8 + 3, 16 + 2 * measure.LineHeight(WindowLogFont(*list)) + 3});
        EXPECT_EQ(list->GetCurSel(), 2) << "rows of a line each";
        clickAt(list, POINT{8 + 3, 3});
        clickAt(list, POINT{3, 16 + 3});
        EXPECT_EQ(list->GetCurSel(), 2) << "a click on the frame picks no row";
        person.Escape();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, EscapeAndTheCloseBoxCancelWithoutTakingTheData)
{
    SampleDialog dialog;
    driver.OnNextDialog([](DialogOperator& person) {
        person.SetText(kName, "捨てる");
        person.Escape();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.name, "初め");

    driver.OnNextDialog([](DialogOperator& person) { person.CloseBox(); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "a dialog runs again after it ended";

    // When the input runs out with the dialog still open, it is cancelled rather than left
    // waiting.
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, ScriptedKeysAndCharactersReachTheFocusedControl)
{
    SampleDialog dialog;
    // The first tab stop (the name field) has the focus, its text selected: typing replaces it.
    driver.PushText("ab");
    driver.PushKey(VK_BACK);
    driver.PushText("c");
    driver.PushKey(VK_TAB);
    driver.PushText("7");
    driver.PushKey(VK_RETURN);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.name, "ac");
    EXPECT_EQ(dialog.count, 7) << "Tab selected the whole count, so 7 replaced 5";
}

TEST_F(DialogTest, InvalidDataOrADisabledDefaultButtonKeepsTheDialogOpen)
{
    SampleDialog dialog;
    driver.OnNextDialog([](DialogOperator& person) {
        person.SetText(kCount, "x1");
        person.Return();
        EXPECT_TRUE(person.IsOpen());
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kCount)) << "the person is taken back to the field";
        person.SetText(kCount, "100");
        person.ClickCaption("OK");
        EXPECT_TRUE(person.IsOpen());
        person.SetText(kCount, "99");
        person.Control(IDOK)->EnableWindow(FALSE);
        person.Return();
        EXPECT_TRUE(person.IsOpen()) << "Return does nothing while the default button is disabled";
        EXPECT_FALSE(person.Click(IDOK)) << "a disabled button cannot be clicked";
        person.Control(IDOK)->EnableWindow(TRUE);
        person.ClickCaption("OK");
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.count, 99);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "整数を入力してください。");
    EXPECT_EQ(driver.MessageBoxes()[1].text, "1 から 99 までの整数を入力してください。");
    EXPECT_EQ(driver.MessageBoxes()[1].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(driver.MessageBoxes()[1].caption, "tavtest");
}

TEST_F(DialogTest, ArrowsWalkTheRadioGroupAndDoubleClicksReachTheDialog)
{
    SampleDialog dialog;
    driver.OnNextDialog([&](DialogOperator& person) {
        person.Click(kDown);
        person.Key(VK_LEFT);
        EXPECT_EQ(person.Control(kUp)->SendMessage(BM_GETCHECK), BST_CHECKED);
        EXPECT_EQ(person.Control(kDown)->SendMessage(BM_GETCHECK), BST_UNCHECKED);
        person.DoubleClickItem(kList, 1);
        EXPECT_EQ(dialog.doubleClicks, 1);
        person.Return();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.direction, 0);
    EXPECT_EQ(dialog.listIndex, 1);
}

TEST_F(DialogTest, ControlsArePlacedInDialogUnitsAndTheOwnerWaits)
{
    Wnd frame;
    frame.Create("FRAME", "", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
    app.SetMainWnd(&frame);
    SampleDialog dialog;
    driver.OnNextDialog([&](DialogOperator& person) {
        // Dialog units: a quarter of the dialog font's average width across, an eighth of its
        // line down, rounded.
        const FontMetrics font = GetTextMeasure().Metrics(WindowLogFont(person.GetDialog()));
        auto across = [&](int units) { return (units * font.averageWidth + 2) / 4; };
        auto down = [&](int units) { return (units * font.height + 4) / 8; };
        EXPECT_EQ(person.Control(kCount)->GetRectInParent(), (RECT{across(10), down(26), across(50), down(38)}));
        EXPECT_TRUE(person.Control(kCount)->GetStyle() & WS_TABSTOP) << "edits are tab stops by default";
        EXPECT_FALSE(frame.IsWindowEnabled()) << "the owner takes no input while the dialog runs";
        EXPECT_EQ(dialog.GetOwner(), &frame);
        person.Escape();
    });
    dialog.DoModal();
    EXPECT_TRUE(frame.IsWindowEnabled());
}

namespace {

// Borrows a control of another window for its life, as the jump dialog borrows the grid's
// editor, and gives it back when destroyed.
class BorrowingDialog : public Dialog {
public:
    BorrowingDialog(Wnd& borrowed) : Dialog(SampleTemplate(), nullptr), m_borrowed(borrowed) {}
    BOOL OnInitDialog() override
    {
        m_oldParent = m_borrowed.SetParent(this);
        m_oldId = m_borrowed.SetDlgCtrlID(2000);
        return Dialog::OnInitDialog();
    }
    void OnDestroy() override
    {
        m_borrowed.SetParent(m_oldParent);
        m_borrowed.SetDlgCtrlID(m_oldId);
        Dialog::OnDestroy();
    }
    Wnd& m_borrowed;
    Wnd* m_oldParent = nullptr;
    int m_oldId = 0;
};

} // namespace

TEST_F(DialogTest, ABorrowedControlReturnedInOnDestroySurvivesTheDialog)
{
    Wnd grid;
    grid.Create("GRID", "", WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0);
    Edit editor;
    editor.Create(WS_CHILD, RECT{}, &grid, 7);
    BorrowingDialog dialog(editor);
    driver.OnNextDialog([](DialogOperator& person) {
        EXPECT_NE(person.Control(2000), nullptr);
        person.Escape();
    });
    dialog.DoModal();
    EXPECT_TRUE(editor.IsWindow());
    EXPECT_EQ(editor.GetParent(), &grid);
    EXPECT_EQ(editor.GetDlgCtrlID(), 7);
}

TEST_F(DialogTest, MessageBoxesAnswerFromTheQueueElseTheirDefaultButton)
{
    driver.AnswerMessageBox(IDNO);
    EXPECT_EQ(MessageBox(nullptr, "消しますか？", "確認", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "消しますか？", "確認", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBox(nullptr, "?", "", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBox("ok"), IDOK);
    ASSERT_EQ(driver.MessageBoxes().size(), 4u);
    EXPECT_EQ(driver.MessageBoxes()[3].caption, "tavtest") << "the application's name is the default caption";

    driver.AnswerMessageBox("上書き", IDNO);
    driver.AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, "保存しますか？", "", MB_YESNOCANCEL), IDCANCEL) << "the answer in order";
    EXPECT_EQ(MessageBox(nullptr, "上書きしますか？", "", MB_YESNO), IDNO) << "the answer meant for this box";

    driver.SetMessageBoxAnswerer([](const MessageBoxRecord& box) { return box.text == "続けますか？" ? IDNO : IDOK; });
    EXPECT_EQ(MessageBox(nullptr, "続けますか？", "", MB_YESNO), IDNO);
    EXPECT_EQ(driver.MessageBoxes().back().answer, IDNO);
}

TEST(HeadlessDriverTest, AnswersAndDialogHandlersNothingUsedAreTold)
{
    std::string told;
    struct Restore {
        HeadlessDriver::UnusedReporter previous;
        ~Restore() { HeadlessDriver::SetUnusedReporter(std::move(previous)); }
    } restore{HeadlessDriver::SetUnusedReporter([&](const std::string& what) { told += what; })};
    {
        HeadlessDriver driver;
        driver.AnswerMessageBox(IDNO);
        driver.AnswerMessageBox("上書き", IDYES);
        driver.OnNextDialog([](DialogOperator&) {});
    }
    EXPECT_NE(told.find("answer 7"), std::string::npos) << told;
    EXPECT_NE(told.find("\"上書き\""), std::string::npos) << told;
    EXPECT_NE(told.find("1 dialog handler"), std::string::npos) << told;
}

TEST_F(DialogTest, ADialogEndedWhileItInitialisesNeverWaitsForInput)
{
    SampleDialog dialog;
    dialog.endAtOnce = true;
    bool opened = false;
    driver.OnEveryDialog([&](DialogOperator&) { opened = true; });
    driver.PushKey(VK_RETURN);
    EXPECT_EQ(dialog.DoModal(), IDNO);
    EXPECT_FALSE(opened);
    EXPECT_EQ(driver.PendingEvents(), 1u) << "the script is left for what comes next";
    EXPECT_FALSE(dialog.IsWindow());
}

TEST(DialogWithoutDriverTest, NothingCanBeShownWithoutADriver)
{
    SampleDialog dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(MessageBox("x"), 0);
}

namespace {

class SamplePage : public PropertyPage {
public:
    explicit SamplePage(std::string caption = "ｾﾙ") : PropertyPage(nullptr, 0, 0)
    {
        m_template = SampleTemplate();
        m_template->caption = std::move(caption);
    }
    BOOL OnApply() override
    {
        ++applies;
        return refuse ? FALSE : PropertyPage::OnApply();
    }
    void DoDataExchange(DataExchange& dx) override { DDX_Text(dx, kName, name); }
    int applies = 0;
    bool refuse = false;
    std::string name;
};

} // namespace

TEST_F(DialogTest, APropertySheetAppliesItsPagesOnOkUnlessOneRefuses)
{
    SamplePage page;
    PropertySheet sheet("オプション");
    sheet.AddPage(&page);
    page.refuse = true;
    driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "ｾﾙ");
        person.SetText(kName, "MS");
        page.SetModified();
        person.Return(); // OK: the page refuses, the sheet stays
        EXPECT_TRUE(sheet.IsInModalLoop());
        page.refuse = false;
        person.Return();
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(page.applies, 2);
    EXPECT_EQ(page.name, "MS");

    Wnd frame;
    frame.Create("FRAME", "", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
    frame.SetFocus();
    driver.OnNextDialog([](DialogOperator& person) { person.Escape(); });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(page.applies, 2) << "cancel applies nothing";
    EXPECT_EQ(Wnd::GetFocus(), &frame) << "the keys go back to the window that had them";
}

namespace {

enum { kField = 1101, kNorth = 1102, kSouth = 1103, kPush = 1104 };

// A field, a radio group whose first button is the group's tab stop without saying so, and a
// push button that a page handles itself.
DialogTemplate RadioTemplate()
{
    return DialogTemplate{"方向", 160, 80, "", 9, 0, {
        {kField, "edit", "", 0, 10, 10, 100, 12},
        {kNorth, "BUTTON", "北", BS_AUTORADIOBUTTON | WS_GROUP, 10, 26, 40, 10},
        {kSouth, "BUTTON", "南", BS_AUTORADIOBUTTON, 60, 26, 40, 10},
        {kPush, "BUTTON", "既定値", BS_PUSHBUTTON | WS_GROUP, 10, 40, 40, 14},
    }};
}

class PushPage : public PropertyPage {
public:
    PushPage() { m_template = RadioTemplate(); }
    void OnPush() { ++pushes; }
    int pushes = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PushPage, PropertyPage)
    ON_BN_CLICKED(kPush, OnPush)
END_MESSAGE_MAP()

} // namespace

TEST_F(DialogTest, TabGoesOnFromAnyControlAndEntersARadioGroupAtItsChoice)
{
    Dialog dialog(RadioTemplate());
    driver.OnNextDialog([](DialogOperator& person) {
        EXPECT_TRUE(person.Control(kField)->GetStyle() & WS_TABSTOP) << "a template's class name is not case-sensitive";
        person.Click(kSouth);
        person.Tab();
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kPush)) << "from a radio button that is no tab stop to the next stop";
        person.Tab(true);
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kSouth)) << "back into the group at the checked button";
        person.Tab(true);
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kField));
        person.Escape();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, InASheetReturnPressesThePagesFocusedButtonAndTabReachesTheSheetsButtons)
{
    PushPage page;
    PropertySheet sheet("設定");
    sheet.AddPage(&page);
    driver.OnNextDialog([&](DialogOperator& person) {
        person.GetDialog().GotoDlgCtrl(person.Control(kPush));
        person.Return();
        EXPECT_EQ(page.pushes, 1) << "the page's own button, not the sheet's OK";
        EXPECT_TRUE(sheet.IsInModalLoop());
        person.Tab();
        EXPECT_EQ(Wnd::GetFocus(), sheet.GetDlgItem(IDOK));
        person.Tab();
        EXPECT_EQ(Wnd::GetFocus(), sheet.GetDlgItem(IDCANCEL)) << "Apply is skipped while nothing was changed";
        person.Tab();
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kField)) << "round to the page's first stop";
        person.Tab(true);
        person.Return();
        EXPECT_FALSE(sheet.IsInModalLoop());
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL) << "Return on the focused Cancel button";
    EXPECT_EQ(page.pushes, 1);
}

TEST_F(DialogTest, ArrowsPassOverTheLabelsAndGroupBoxOfARadioGroup)
{
    const DialogTemplate t{"向き", 120, 60, "", 9, 0, {
        {IDC_STATIC, "STATIC", "向き(&M):", WS_GROUP, 4, 4, 40, 10},
        {kNorth, "BUTTON", "北", BS_AUTORADIOBUTTON | WS_TABSTOP, 4, 16, 40, 10},
        {kSouth, "BUTTON", "南", BS_AUTORADIOBUTTON, 50, 16, 40, 10},
        {IDC_STATIC, "BUTTON", "", BS_GROUPBOX, 2, 2, 100, 30},
        {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_GROUP, 60, 40, 40, 14},
    }};
    Dialog dialog(t);
    int checked = 0;
    driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kNorth));
        person.Key(VK_UP);
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kSouth)) << "round the group past the label";
        person.Key(VK_DOWN);
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kNorth)) << "past the group box";
        checked = person.GetDialog().GetCheckedRadioButton(kNorth, kSouth);
        person.Key(VK_UP);
        person.Tab();
        InputEvent altM = InputEvent::KeyPress('M');
        altM.alt = true;
        DispatchInput(altM);
        EXPECT_EQ(Wnd::GetFocus(), person.Control(kSouth)) << "the label's letter leads to the group's choice";
        person.Escape();
    });
    dialog.DoModal();
    EXPECT_EQ(checked, kNorth);
}

TEST_F(DialogTest, ASheetShowsItsBoxCaptionAndTabsAndTurnsPagesByKeyAndClick)
{
    SamplePage cell;
    SamplePage view("表示");
    PropertySheet sheet("オプション");
    sheet.AddPage(&cell);
    sheet.AddPage(&view);
    driver.OnNextDialog([&](DialogOperator&) {
        Canvas canvas(80, 25);
        Renderer renderer;
        renderer.Paint(canvas);
        RECT tab = sheet.GetTabRect(0);
        sheet.ClientToScreen(&tab);
        const RECT cells = PixelsToCells(tab);
        // The canvas is the terminal's, in cells: under another measure only the behaviour holds.
        if (!tavtest::UnderProportionalMeasure()) {
            EXPECT_NE(canvas.LineText(cells.top - 1).find("オプション"), std::string::npos) << "the caption over the tab row";
            EXPECT_NE(canvas.LineText(cells.top).find("│ [ｾﾙ] 表示 "), std::string::npos)
                << "inside the box, the active page's tab marked: " << canvas.LineText(cells.top);
        }

        Wnd* apply = sheet.GetDlgItem(ID_APPLY_NOW);
        EXPECT_FALSE(apply->IsWindowEnabled()) << "nothing changed yet";
        InputEvent altA = InputEvent::KeyPress('A');
        altA.alt = true;
        DispatchInput(altA);
        EXPECT_EQ(cell.applies, 0) << "a disabled Apply cannot be pressed by its mnemonic";

        DispatchInput(InputEvent::KeyPress(VK_NEXT, false, true));
        EXPECT_EQ(sheet.GetActivePage(), &view);
        DispatchInput(InputEvent::KeyPress(VK_NEXT, false, true));
        EXPECT_EQ(sheet.GetActivePage(), &cell) << "round past the last page";
        DispatchInput(InputEvent::KeyPress(VK_PRIOR, false, true));
        EXPECT_EQ(sheet.GetActivePage(), &view);
        DispatchInput(InputEvent::MouseClick(POINT{(tab.left + tab.right) / 2, tab.top + 2}));
        EXPECT_EQ(sheet.GetActivePage(), &cell) << "a click on a tab";
        EXPECT_FALSE(view.IsWindowVisible());

        cell.SetModified();
        EXPECT_TRUE(apply->IsWindowEnabled());
        DispatchInput(altA);
        EXPECT_EQ(cell.applies, 1);
        EXPECT_EQ(view.applies, 1) << "every page made so far applies";
        EXPECT_FALSE(apply->IsWindowEnabled()) << "applied: nothing left to apply";
        EXPECT_TRUE(sheet.IsInModalLoop());
        DispatchInput(InputEvent::KeyPress(VK_ESCAPE));
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, ADialogOpenWhenTheScreenShrinksMovesInsideIt)
{
    driver.SetScreenSize(SIZE{120 * 8, 40 * 16});
    Wnd frame;
    frame.Create("FRAME", "", WS_VISIBLE, RECT{0, 0, 120 * 8, 40 * 16}, nullptr, 0);
    app.SetMainWnd(&frame);
    Dialog dialog(RadioTemplate(), &frame);
    RECT before{};
    RECT after{};
    driver.OnNextDialog([&](DialogOperator& person) {
        person.GetDialog().GetWindowRect(&before);
        driver.SetScreenSize(SIZE{before.Width() + 8, before.Height() + 16});
        FitWindowsToScreen(driver.ScreenSize());
        person.GetDialog().GetWindowRect(&after);
        person.Escape();
    });
    dialog.DoModal();
    ASSERT_GT(before.left, 8) << "centred on the larger screen";
    EXPECT_EQ(after.Width(), before.Width());
    EXPECT_LE(after.right, before.Width() + 8) << "inside the smaller screen, buttons and all";
    EXPECT_LE(after.bottom, before.Height() + 16);
    RECT main{};
    frame.GetWindowRect(&main);
    EXPECT_EQ(main.Width(), before.Width() + 8) << "the main window fills the screen";
}
