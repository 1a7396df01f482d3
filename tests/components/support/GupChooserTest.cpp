// The colour button and its chooser, and the font chooser over the machine's real fonts, as a
// person uses them: what they show, what they refuse, and what they hand back.
#include "components/support/GupColorButton.h"
#include "components/support/GupColorDialog.h"
#include "components/support/GupFontCatalog.h"
#include "components/support/GupFontDialog.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Renderer.h"
#include "tests/platform/ui/HeadlessAppTest.h"
#include "tests/platform/ui/ProportionalMeasure.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plat;

namespace {

constexpr int kColor = 1024;

class Holder : public Dialog {
public:
    Holder() : Dialog(DialogTemplate{"色", 120, 40, "", 9, 0, {{kColor, "BUTTON", "ロック色(&L)", BS_OWNERDRAW, 4, 4, 100, 10}}}) {}
    void OnColorChosen() { ++chosen; }
    int chosen = 0;
    GupColorButton button;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Holder, Dialog)
    ON_BN_CLICKED(kColor, OnColorChosen)
END_MESSAGE_MAP()

using GupChooserTest = tavtest::HeadlessAppTest;

} // namespace

TEST_F(GupChooserTest, TheColourButtonShowsItsSwatchAndTakesAColourFromTheChooser)
{
    Holder holder;
    ASSERT_TRUE(holder.CreateIndirect(*holder.GetTemplate()));
    ASSERT_TRUE(holder.button.SubclassDlgItem(kColor, &holder));
    holder.button.SetColor(RGB(255, 0, 0));
    holder.ShowWindow(SW_SHOW);

    driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "色の設定");
        EXPECT_EQ(person.Text(GupColorDialog::IDC_RED) + "," + person.Text(GupColorDialog::IDC_GREEN) + "," +
                      person.Text(GupColorDialog::IDC_BLUE),
                  "255,0,0");
        EXPECT_EQ(static_cast<ListBox*>(person.Control(GupColorDialog::IDC_PALETTE))->GetCurSel(), 9)
            << "a colour of the palette shows as chosen there";
        person.SetText(GupColorDialog::IDC_GREEN, "300");
        person.Return();
        ASSERT_TRUE(person.IsOpen()) << "an out-of-range value is refused";
        ASSERT_EQ(driver.MessageBoxes().size(), 1u);
        EXPECT_EQ(driver.MessageBoxes()[0].text, "0 から 255 までの整数を入力してください。");
        person.Pick(GupColorDialog::IDC_PALETTE, "青");
        EXPECT_EQ(person.Text(GupColorDialog::IDC_BLUE), "255");
        person.SetText(GupColorDialog::IDC_GREEN, "128");
        person.Return();
    });
    holder.button.SendMessage(BM_CLICK);
    EXPECT_EQ(holder.button.GetColor(), RGB(92, 128, 255));
    EXPECT_EQ(holder.chosen, 1) << "the parent hears of the new colour";

    driver.OnNextDialog([](DialogOperator& person) {
        person.SetText(GupColorDialog::IDC_RED, "0");
        person.Escape();
    });
    holder.button.SendMessage(BM_CLICK);
    EXPECT_EQ(holder.button.GetColor(), RGB(92, 128, 255)) << "cancel keeps the colour";
    EXPECT_EQ(holder.chosen, 1);

    // The swatch is looked for in the terminal's canvas, which counts in cells.
    if (tavtest::UnderProportionalMeasure())
        return;
    Canvas canvas(80, 25);
    Renderer renderer;
    renderer.Paint(canvas);
    RECT screen;
    holder.button.GetWindowRect(&screen);
    const RECT cells = PixelsToCells(screen);
    const int line = static_cast<int>(cells.top);
    EXPECT_EQ(canvas.At(cells.left, line).bg, RGB(92, 128, 255)) << "the swatch";
    EXPECT_EQ(canvas.At(cells.left + 2, line).bg, RGB(92, 128, 255));
    EXPECT_NE(canvas.LineText(line).find("ロック色(L)"), std::string::npos) << canvas.LineText(line);
    holder.DestroyWindow();
}

TEST_F(GupChooserTest, TheFontChooserListsTheMachinesFontsAndRefusesAMissingFace)
{
    const GupFontCatalog& machine = GupFontCatalog::Machine();
    ASSERT_FALSE(machine.Families().empty()) << "fontconfig lists the fonts installed here";
    const GupFontFamily& family = machine.Families().front();
    ASSERT_FALSE(family.styles.empty());

    LOGFONTA font;
    font.lfHeight = -16;
    font.lfWeight = 400;
    font.lfUnderline = 1;
    font.lfCharSet = 128;
    std::strcpy(font.lfFaceName, "No Such Face 0x5A");
    const LOGFONTA before = font;
    GupFontDialog cancelled(&font, CF_SCREENFONTS | CF_FORCEFONTEXIST);
    driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(person.Text(GupFontDialog::IDC_SIZE), "12") << "16 pixels at 96 per inch";
        EXPECT_EQ(static_cast<ListBox*>(person.Control(GupFontDialog::IDC_FACES))->GetCount(),
                  static_cast<int>(machine.Families().size()));
        person.Return();
        ASSERT_TRUE(person.IsOpen()) << "the face is not on this machine";
        EXPECT_EQ(driver.MessageBoxes().back().text,
                  "この名前のフォントはありません。\nフォントの一覧からフォントを選んでください。");
        person.Escape();
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(std::memcmp(&font, &before, sizeof font), 0) << "cancel writes nothing";

    GupFontDialog chooser(&font, CF_SCREENFONTS | CF_FORCEFONTEXIST);
    driver.OnNextDialog([&](DialogOperator& person) {
        person.Key(VK_DOWN);
        EXPECT_EQ(person.Text(GupFontDialog::IDC_FACE), family.name) << "Down in the face field walks the list";
        EXPECT_NE(person.Text(GupFontDialog::IDC_SAMPLE).find(family.name), std::string::npos);
        person.SetText(GupFontDialog::IDC_SIZE, "0");
        person.Return();
        ASSERT_TRUE(person.IsOpen());
        EXPECT_EQ(driver.MessageBoxes().back().text, "サイズは 1 から 1638 までの整数で入力してください。");
        person.Pick(GupFontDialog::IDC_SIZES, "9");
        person.Return();
    });
    ASSERT_EQ(chooser.DoModal(), IDOK);
    EXPECT_STREQ(font.lfFaceName, family.name.c_str());
    EXPECT_EQ(font.lfHeight, -12) << "9 points at 96 pixels per inch";
    EXPECT_EQ(font.lfWeight, family.styles.front().weight);
    EXPECT_EQ(font.lfUnderline, 0) << "no effects without CF_EFFECTS";
    EXPECT_EQ(font.lfCharSet, 128);
}
