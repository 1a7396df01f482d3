// The checking editors as a person and the grid use them: registered messages, judging numbers,
// angles and texts, the error colour, Escape, and data exchange of values that may be unset.
#include "components/support/LunColEdit.h"
#include "components/support/LunDMSEdit.h"
#include "components/support/LunDataExchange.h"
#include "components/support/LunEdit.h"
#include "components/support/LunErrorColor.h"
#include "components/support/LunImeEdit.h"
#include "components/support/LunLimitEdit.h"
#include "components/support/LunMrmDMSEdit.h"
#include "components/support/LunMrmNumEdit.h"
#include "components/support/LunNumEdit.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Renderer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Types a text at the caret as a person does, one character at a time.
void Type(plat::Wnd& edit, std::u32string_view text)
{
    for (const char32_t ch : text)
        edit.SendMessage(plat::WM_CHAR, ch, 0);
}

// The error colour is the whole program's: put back however the test ends.
class ScopedErrorColour {
public:
    explicit ScopedErrorColour(plat::COLORREF colour) : previous_(LunGetErrorColor()) { LunSetErrorColor(colour, FALSE); }
    ~ScopedErrorColour() { LunSetErrorColor(previous_, FALSE); }
    ScopedErrorColour(const ScopedErrorColour&) = delete;
    ScopedErrorColour& operator=(const ScopedErrorColour&) = delete;

private:
    plat::COLORREF previous_;
};

bool Valid(LunEdit& edit, std::string_view text, bool complete = true)
{
    edit.EditWnd().SetWindowText(text);
    return edit.IsDataOK(complete ? TRUE : FALSE, FALSE) != FALSE;
}

TEST(LunEditTest, RegisteredMessagesErrorColourAndEscape)
{
    const LunEditMessages& names = LunGetEditMessages();
    EXPECT_EQ(names.check, plat::RegisterWindowMessage("lun_str_edit_check"))
        << "the grid registers the same name and must reach the editors";
    const ScopedErrorColour errorColour(plat::RGB(200, 0, 100));

    LunLimitEdit edit(10);
    EXPECT_EQ(LunGetEdit(&edit), &edit);
    plat::Edit plain;
    EXPECT_EQ(LunGetEdit(&plain), nullptr);

    edit.SetWindowText("東京 😀");
    EXPECT_EQ(edit.SendMessage(names.getCtlColor), static_cast<plat::LRESULT>(LunEdit::kTextColor))
        << "nothing is judged before checking is enabled";
    EXPECT_EQ(edit.SendMessage(names.check), 0) << "the narrow code page has no emoji, so the cell could not hold it";
    EXPECT_EQ(edit.SendMessage(names.getCtlColor), static_cast<plat::LRESULT>(plat::RGB(200, 0, 100)))
        << "a failed check shows the text in the error colour";

    edit.SetWindowText("東京");
    edit.SendMessage(names.enableCheck);
    edit.SendMessage(names.resetTempText);
    EXPECT_EQ(edit.GetTempText(), "東京");
    EXPECT_FALSE(edit.IsErrorShown());
    edit.SetSel(-1, -1);
    edit.SetSel(2, 2);
    Type(edit, U"都港区赤坂");
    EXPECT_EQ(edit.GetWindowText(), "東京都港区") << "the platform edit stops at 10 narrow bytes";
    edit.SetWindowText("東京都港区赤坂");
    EXPECT_TRUE(edit.IsErrorShown()) << "with checking on, every change is judged";
    EXPECT_EQ(edit.GetTextColor(), plat::RGB(200, 0, 100));
    EXPECT_EQ(edit.SendMessage(names.check), 0);
    edit.SendMessage(plat::WM_KEYDOWN, plat::VK_ESCAPE, 0);
    EXPECT_EQ(edit.GetWindowText(), "東京") << "Escape goes back to the temporary text";
    EXPECT_FALSE(edit.IsErrorShown());
    EXPECT_NE(edit.SendMessage(names.check), 0);
}

TEST(LunEditTest, InvalidTextIsPaintedInTheErrorColour)
{
    const ScopedErrorColour errorColour(plat::RGB(200, 0, 100));
    plat::Wnd parent;
    ASSERT_TRUE(parent.Create("PARENT", "", plat::WS_POPUP | plat::WS_VISIBLE, {0, 0, 160, 32}, nullptr, 0));
    LunLimitEdit edit(4);
    ASSERT_TRUE(edit.Create(plat::WS_CHILD | plat::WS_VISIBLE, {0, 0, 80, 16}, &parent, 1));
    edit.SendMessage(LunGetEditMessages().enableCheck);
    plat::Renderer renderer;
    auto firstCell = [&] {
        plat::Canvas canvas(20, 2);
        renderer.PaintTree(parent, canvas);
        return canvas.At(0, 0);
    };
    edit.SetWindowText("12345");
    EXPECT_EQ(firstCell().ch, U'1');
    EXPECT_EQ(firstCell().fg, plat::RGB(200, 0, 100)) << "five characters in a four-character field";
    edit.SetWindowText("1234");
    EXPECT_EQ(firstCell().fg, renderer.GetPalette().windowText);
    parent.DestroyWindow();
}

TEST(LunEditTest, NumberEditJudgesModesFiguresAndBounds)
{
    // The line number field of a jump dialog.
    LunNumEdit line(5);
    line.Mode(4);
    line.SetFigure(0, 5, 0);
    line.SetMinMax(1, 120);
    EXPECT_TRUE(Valid(line, ""));
    EXPECT_TRUE(Valid(line, "1"));
    EXPECT_TRUE(Valid(line, "120"));
    for (const char* text : {"0", "121", "1.5", "-3", "abc", "1 2", "123456"})
        EXPECT_FALSE(Valid(line, text)) << text;

    LunNumEdit value(5);
    value.SetFigure(1, 8, 3);
    value.SetMinMax(-1000.0, 1000.0);
    EXPECT_TRUE(Valid(value, "-12.345"));
    EXPECT_TRUE(Valid(value, " 12.5 ")) << "blanks around a number are not part of it";
    EXPECT_FALSE(Valid(value, "12.3456")) << "more decimals than the field shows";
    EXPECT_FALSE(Valid(value, "1000.001"));
    EXPECT_FALSE(Valid(value, "-"));
    EXPECT_TRUE(Valid(value, "-", false)) << "a sign alone is a number still being typed";
    EXPECT_TRUE(Valid(value, "-.", false));
    EXPECT_FALSE(Valid(value, "-.", true));

    // Digits only move a number away from zero: one being typed is refused only once it has
    // passed the bound on its own side.
    LunNumEdit depth(5);
    depth.SetFigure(1, 8, 2);
    depth.SetMinMax(-100.0, -10.0);
    EXPECT_TRUE(Valid(depth, "-5", false)) << "may still become -50";
    EXPECT_FALSE(Valid(depth, "-5", true));
    EXPECT_FALSE(Valid(depth, "-500", false));
    EXPECT_FALSE(Valid(depth, "5", false)) << "no digit brings a positive number below zero";

    value.SetWindowText("");
    Type(value, U"-1a2.5x");
    EXPECT_EQ(value.GetWindowText(), "-12.5") << "typing keeps to what a number is made of";
    EXPECT_DOUBLE_EQ(value.Get(), -12.5);
    value.Mode(2);
    EXPECT_FALSE(Valid(value, "-12.5")) << "mode 2 takes no sign";
    value.Set(HixReal(3.14159));
    EXPECT_EQ(value.GetWindowText(), "3.142");
    value.Set(HixReal());
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_TRUE(value.Get().IsShoki());
}

TEST(LunEditTest, MeasureAndAngleEditsShowAndReadByTheirRules)
{
    LunMrmNumEdit length;
    const HixMrm millimetres(5, 2, 4);
    length.SetNumAttr(&millimetres, 0, 0x0301);
    length.Set(HixReal(1.23456));
    EXPECT_EQ(length.GetWindowText(), "1234.6") << "metres shown in millimetres";
    length.SetWindowText("234.5");
    EXPECT_DOUBLE_EQ(length.Get(), 0.2345);
    EXPECT_FALSE(Valid(length, "1234.5")) << "three digits before the point";
    length.SetMinMax(0.0, 0.5);
    EXPECT_TRUE(Valid(length, "499.9")) << "the bounds are metres, the text millimetres";
    EXPECT_FALSE(Valid(length, "500.1"));
    length.ClearMinMax();
    EXPECT_FALSE(Valid(length, "-2.5")) << "integer attribute 0 takes no negative value";

    LunDMSEdit packed;
    EXPECT_TRUE(Valid(packed, "123.45067"));
    EXPECT_TRUE(Valid(packed, "123.4", false));
    EXPECT_FALSE(Valid(packed, "123.60000")) << "60 minutes";
    EXPECT_FALSE(Valid(packed, "123.45600")) << "60 seconds";

    LunMrmDMSEdit angle;
    HixAngleMrm rule(3);
    rule.SetFigure(1);
    angle.SetNumAttr(&rule, 0);
    const double degrees = 123.0 + 45.0 / 60.0 + 6.7 / 3600.0;
    angle.Set(HixReal(degrees));
    EXPECT_EQ(angle.GetWindowText(), "123°45′06.7″");
    EXPECT_NEAR(angle.Get(), degrees, 1e-9);
    EXPECT_TRUE(Valid(angle, "123 45 06.7"));
    EXPECT_FALSE(Valid(angle, "123°61′"));
    EXPECT_FALSE(Valid(angle, "-10°")) << "no sign without the integer attribute";
    angle.SetMinMax(10.0, 360.0);
    EXPECT_TRUE(Valid(angle, "5", false)) << "may still become 50°";
    EXPECT_FALSE(Valid(angle, "5", true));
    EXPECT_FALSE(Valid(angle, "400°"));
    angle.ClearMinMax();
    angle.SetWindowText("");
    Type(angle, U"12°3′4″");
    EXPECT_EQ(angle.GetWindowText(), "12°3′4″") << "the marks of an angle can be typed";
}

TEST(LunEditTest, TextEditsCountBytesAndColumns)
{
    LunLimitEdit code(5);
    EXPECT_TRUE(Valid(code, "ｱｲｳｴｵ")) << "half-width katakana take one byte each";
    EXPECT_FALSE(Valid(code, "日本語")) << "six bytes in the narrow code page";

    LunColEdit lot(20, 4);
    EXPECT_TRUE(Valid(lot, "日本"));
    EXPECT_FALSE(Valid(lot, "日本a")) << "five columns";

    LunImeEdit note(40);
    EXPECT_FALSE(Valid(note, "한국")) << "Hangul is outside the narrow code page";
}

// A dialog with one number field and one line field, exchanged as values that may be unset.
class ValueDialog : public plat::Dialog {
public:
    ValueDialog()
    {
        CreateIndirect({"数値", 100, 40, "", 9, 0, {{1014, "EDIT", "", plat::ES_RIGHT, 4, 4, 60, 12}, {1067, "EDIT", "", 0, 4, 20, 60, 12}}});
    }
    void DoDataExchange(plat::DataExchange& dx) override
    {
        plat::DDX_Control(dx, 1014, m_edit);
        DDX_Text(dx, 1014, m_value);
        DDX_Text(dx, 1067, m_line);
        DDV_MinMaxLong(dx, m_line, 1, 50);
    }
    LunMrmNumEdit m_edit{5};
    HixReal m_value;
    HixLong m_line;
};

TEST(LunEditTest, DataExchangeKeepsUnsetValuesApart)
{
    ValueDialog dialog;
    ASSERT_TRUE(dialog.IsWindow());
    HixMrm rule(5, 0, 2);
    dialog.m_edit.SetNumAttr(&rule, 1, 0);
    dialog.m_edit.SetMinMax(-10.0, 10.0);
    dialog.m_value = HixReal(2.675);
    dialog.m_line = HixLong(7);
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(dialog.GetDlgItemText(1014), "2.68") << "shown by the edit's rule";
    EXPECT_EQ(dialog.GetDlgItemText(1067), "7");

    dialog.SetDlgItemText(1014, "");
    dialog.SetDlgItemText(1067, "12");
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_TRUE(dialog.m_value.IsShoki()) << "an empty field is unset, not zero";
    EXPECT_EQ(dialog.m_line.Get(), 12);

    dialog.SetDlgItemText(1014, "-3.5");
    dialog.SetDlgItemText(1067, "");
    EXPECT_FALSE(dialog.UpdateData(TRUE)) << "an unset line number is outside 1..50";
    EXPECT_DOUBLE_EQ(dialog.m_value, -3.5);
    dialog.SetDlgItemText(1067, "51");
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    dialog.SetDlgItemText(1067, "5");
    dialog.SetDlgItemText(1014, "-30");
    EXPECT_FALSE(dialog.UpdateData(TRUE)) << "the edit's bounds refuse it";
    EXPECT_TRUE(dialog.m_edit.IsErrorShown());
    EXPECT_DOUBLE_EQ(dialog.m_value, -3.5) << "a refused text changes nothing";
    dialog.DestroyWindow();
}

} // namespace
