// The standard controls' models: what their operations and a person's actions do to them,
// and what they tell their parent.
#include "platform/ui/Controls.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Resources.h"
#include "tests/platform/ui/HeadlessAppTest.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plat;

namespace {

// Collects the notifications its controls send.
class Parent : public Wnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back({LOWORD(wParam), HIWORD(wParam)});
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            notifies.push_back(header->code);
            if (header->code == LVN_KEYDOWN)
                lastKey = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
        }
        return Wnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::pair<int, int>> commands;
    std::vector<UINT> notifies;
    int lastKey = 0;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

class ControlsTest : public tavtest::HeadlessAppTest {
protected:
    void SetUp() override { parent.Create("P", "", WS_VISIBLE, RECT{0, 0, 400, 300}, nullptr, 0); }
    Parent parent;
};

} // namespace

TEST_F(ControlsTest, AnEditLimitsBytesOfTheNarrowCodePageAndTellsOfChanges)
{
    Edit edit;
    edit.Create(kChild, RECT{0, 0, 80, 16}, &parent, 5);
    edit.SetLimitText(3);
    edit.SetFocus();
    for (char32_t ch : {U'a', U'座', U'b'})
        edit.SendMessage(WM_CHAR, ch);
    EXPECT_EQ(edit.GetWindowText(), "a座") << "a full-width character is two bytes; 'b' would make four";
    EXPECT_EQ(parent.commands.back(), (std::pair<int, int>{5, EN_MAXTEXT}));
    edit.SendMessage(WM_CHAR, VK_BACK);
    edit.SendMessage(WM_CHAR, U'c');
    edit.SendMessage(WM_CHAR, U'd');
    EXPECT_EQ(edit.GetWindowText(), "acd");
    edit.SetSel(1, 2);
    EXPECT_TRUE(edit.ReplaceSel("X"));
    EXPECT_EQ(edit.GetWindowText(), "aXd");
    EXPECT_EQ(std::count(parent.commands.begin(), parent.commands.end(), std::pair<int, int>{5, EN_CHANGE}), 6);
    edit.SetReadOnly();
    edit.SendMessage(WM_CHAR, U'z');
    EXPECT_EQ(edit.GetWindowText(), "aXd");
}

TEST_F(ControlsTest, AClickInAScrolledOrRightAlignedEditLandsOnTheCharacterShownThere)
{
    auto clickAt = [](Edit& edit, int x) {
        POINT point{x, 4};
        edit.ClientToScreen(&point);
        DispatchInput(InputEvent::MouseClick(point));
        int start = -1;
        int end = -1;
        edit.GetSel(start, end);
        EXPECT_EQ(start, end);
        return end;
    };
    const TextMeasure& measure = GetTextMeasure();
    const std::string digits = "0123456789";
    Edit scrolled;
    ASSERT_TRUE(scrolled.Create(kChild, RECT{0, 0, 40, 16}, &parent, 1));
    scrolled.SetWindowText(digits);
    scrolled.SetFocus();
    scrolled.SetSel(10, 10);
    const LOGFONTA font = WindowLogFont(scrolled);
    const int first = scrolled.GetView().firstShown;
    ASSERT_GT(first, 0);
    EXPECT_LT(measure.Width(font, digits.substr(first)), 40) << "the caret after the last character shows";
    EXPECT_GE(measure.Width(font, digits.substr(first - 1)), 40) << "and no more is scrolled out than that";
    EXPECT_EQ(clickAt(scrolled, 1), first) << "at the left edge lies the first character shown";

    Edit right;
    ASSERT_TRUE(right.Create(kChild | ES_RIGHT, RECT{0, 16, 80, 32}, &parent, 2));
    right.SetWindowText("12");
    const int textLeft = 80 - measure.Width(font, "12");
    EXPECT_EQ(right.GetView().textLeft, textLeft);
    EXPECT_EQ(clickAt(right, textLeft + measure.Width(font, "1") + 1), 1) << "the 2 at the right end";
    EXPECT_EQ(right.GetView().textLeft, textLeft - measure.AverageWidth(font)) << "with the focus, room for the caret";
    EXPECT_EQ(clickAt(right, textLeft - measure.AverageWidth(font) + 1), 0);
}

TEST_F(ControlsTest, AComboBoxSortsFindsAndNotifiesOnlyAPersonsChoice)
{
    ComboBox combo;
    combo.Create(kChild | CBS_DROPDOWNLIST | CBS_SORT, RECT{0, 0, 80, 100}, &parent, 6);
    combo.AddString("b");
    combo.AddString("C");
    EXPECT_EQ(combo.AddString("a"), 0);
    EXPECT_EQ(combo.GetLBText(2), "C") << "sorted without regard to case";
    EXPECT_EQ(combo.FindStringExact(-1, "c"), 2);
    EXPECT_EQ(combo.FindStringExact(2, "A"), 0) << "the search wraps past the end";
    EXPECT_EQ(combo.FindStringExact(-1, "d"), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetCurSel(1);
    EXPECT_EQ(combo.GetWindowText(), "b");
    EXPECT_TRUE(parent.commands.empty()) << "SetCurSel from code does not notify";
    combo.SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(parent.commands.back(), (std::pair<int, int>{6, CBN_SELCHANGE}));
    combo.DeleteString(0);
    EXPECT_EQ(combo.GetCurSel(), 1) << "the selection follows its entry";

    std::string text;
    EXPECT_EQ(combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("aa")), 0);
    combo.SendMessage(CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text, "aa");
    EXPECT_EQ(combo.SendMessage(CB_GETLBTEXT, 9, reinterpret_cast<LPARAM>(&text)), CB_ERR);
}

TEST_F(ControlsTest, AListBoxTellsSelectionAndDoubleClicksOnlyWhenItNotifies)
{
    ListBox quiet, loud;
    quiet.Create(kChild, RECT{0, 0, 80, 48}, &parent, 7);
    loud.Create(kChild | LBS_NOTIFY, RECT{100, 0, 180, 48}, &parent, 8);
    for (ListBox* list : {&quiet, &loud})
        for (const char* entry : {"一", "二", "三", "四", "五"})
            list->AddString(entry);
    quiet.SendMessage(WM_LBUTTONDOWN, 1, MAKELPARAM(4, 20));
    EXPECT_EQ(quiet.GetCurSel(), 1);
    EXPECT_TRUE(parent.commands.empty());
    loud.SendMessage(WM_LBUTTONDOWN, 1, MAKELPARAM(4, 36));
    loud.SendMessage(WM_LBUTTONDBLCLK, 1, MAKELPARAM(4, 36));
    EXPECT_EQ(parent.commands, (std::vector<std::pair<int, int>>{{8, LBN_SELCHANGE}, {8, LBN_DBLCLK}}));
    loud.SetCurSel(4);
    EXPECT_EQ(loud.GetTopIndex(), 2) << "a selection below the fold scrolls into view";
    loud.InsertString(0, "零");
    EXPECT_EQ(loud.GetCurSel(), 5);
    loud.SetItemData(5, 9);
    loud.DeleteString(5);
    EXPECT_EQ(loud.GetCurSel(), LB_ERR);
}

TEST_F(ControlsTest, AutomaticRadioButtonsAreExclusiveWithinTheirGroup)
{
    Button a, b, c, other;
    a.Create("A", kChild | BS_AUTORADIOBUTTON | WS_GROUP, RECT{}, &parent, 1);
    b.Create("B", kChild | BS_AUTORADIOBUTTON, RECT{}, &parent, 2);
    c.Create("C", kChild | BS_AUTORADIOBUTTON, RECT{}, &parent, 3);
    other.Create("D", kChild | BS_AUTORADIOBUTTON | WS_GROUP, RECT{}, &parent, 4);
    other.Click();
    a.Click();
    b.Click();
    EXPECT_EQ(a.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(b.GetCheck(), BST_CHECKED);
    EXPECT_EQ(other.GetCheck(), BST_CHECKED) << "another group is left alone";
    Button box;
    box.Create("E", kChild | BS_AUTOCHECKBOX, RECT{}, &parent, 5);
    box.SendMessage(BM_CLICK);
    box.SendMessage(BM_CLICK);
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    box.EnableWindow(FALSE);
    parent.commands.clear();
    box.Click();
    EXPECT_TRUE(parent.commands.empty()) << "a disabled button does not click";
}

TEST_F(ControlsTest, AListViewSortsKeepsOneSelectionAndReportsKeys)
{
    ListView view;
    view.Create(kChild | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING | LVS_NOCOLUMNHEADER, RECT{0, 0, 100, 64}, &parent, 9);
    view.InsertColumn(0, "", LVCFMT_LEFT, 100);
    view.InsertItem(0, "標準", 0);
    view.InsertItem(0, "A", 0);
    EXPECT_EQ(view.InsertItem(0, "b", 0), 1);
    EXPECT_EQ(view.GetItemText(2, 0), "標準");
    view.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    view.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(view.GetSelectedCount(), 1);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_FOCUSED), -1) << "selecting does not focus";
    view.SendMessage(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), 1) << "Up moves on from the selected entry, not from the top";
    view.SendMessage(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(parent.lastKey, VK_DELETE);
    view.SendMessage(WM_LBUTTONDOWN, 1, MAKELPARAM(4, 17));
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED | LVNI_FOCUSED), 1);
    EXPECT_NE(std::find(parent.notifies.begin(), parent.notifies.end(), LVN_ITEMCHANGED), parent.notifies.end());
    view.SetExtendedStyle(view.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(view.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE), static_cast<LRESULT>(LVS_EX_FULLROWSELECT));
    EXPECT_TRUE(view.DeleteItem(0));
    EXPECT_EQ(view.GetItemCount(), 2);
}

TEST_F(ControlsTest, AnImageListCutsABitmapResourceAndMasksItsColour)
{
    Module module("images");
    Bitmap strip;
    strip.CreateBitmap(32, 16);
    strip.SetPixel(0, 0, RGB(255, 0, 255));
    strip.SetPixel(1, 0, RGB(0, 0, 128));
    strip.SetPixel(16, 0, RGB(255, 0, 255));
    AddBitmapResource(&module, 149, strip);
    ImageList images;
    EXPECT_FALSE(images.Create(149, 16, 1, RGB(255, 0, 255))) << "not in the current resource module";
    const ModuleHandle before = SetResourceHandle(&module);
    ASSERT_TRUE(images.Create(149, 16, 1, RGB(255, 0, 255)));
    SetResourceHandle(before);
    ASSERT_EQ(images.GetImageCount(), 2);
    EXPECT_EQ(images.GetImage(0)->GetPixel(0, 0), CLR_NONE);
    EXPECT_EQ(images.GetImage(0)->GetPixel(1, 0), RGB(0, 0, 128));
    EXPECT_EQ(images.GetImage(1)->GetPixel(0, 0), CLR_NONE);
    EXPECT_EQ(images.GetImage(1)->GetPixel(1, 0), RGB(0, 0, 0));
}

TEST_F(ControlsTest, AProgressBarStaysInItsRangeAndStepsRoundToTheStart)
{
    ProgressCtrl bar;
    bar.Create(kChild, RECT{}, &parent, 10);
    bar.SetRange(10, 20);
    bar.SetStep(4);
    bar.SetPos(5);
    EXPECT_EQ(bar.GetPos(), 10);
    bar.SetPos(18);
    EXPECT_EQ(bar.StepIt(), 18);
    EXPECT_EQ(bar.GetPos(), 12) << "past the end starts again from the low end";
}
