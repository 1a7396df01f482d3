// The cell page in an options sheet, driven like a person: what it shows of the stored
// settings, the point size it names, and what Apply stores and tells every grid.
#include "tav/settings/TavColorPage.h"

#include "components/mox/MoxCellFont.h"
#include "components/support/GupColorDialog.h"
#include "components/support/GupFontCatalog.h"
#include "components/support/GupFontDialog.h"
#include "components/support/SolKey.h"
#include "platform/registry/Registry.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/PropertySheet.h"
#include "tav/settings/TavColorSetting.h"
#include "tav/window/TavCellCtrl.h"
#include "tests/platform/registry/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace plat;

namespace {

class ColorPageTest : public ::testing::Test {
protected:
    void SetUp() override { MoxSetCellFont(nullptr); }
    void TearDown() override { MoxSetCellFont(nullptr); }

    // Opens the page in a sheet; the handler acts on it while the sheet is open.
    int RunSheet(TavColorPage& page, std::function<void(DialogOperator&)> act)
    {
        PropertySheet sheet("オプション");
        sheet.AddPage(&page);
        driver.OnNextDialog(std::move(act));
        return sheet.DoModal();
    }

    tavtest::TemporaryRegistry registry;
    HeadlessDriver driver;
    WinApp app{"ColorPageTest", "Test", &driver};
};

LOGFONTA StoredFont()
{
    LOGFONTA font;
    font.lfHeight = -16;
    font.lfWeight = 700;
    font.lfCharSet = 128;
    std::strcpy(font.lfFaceName, "Sample Mono");
    return font;
}

} // namespace

TEST_F(ColorPageTest, ThePageShowsTheStoredSettingsOrTheDefaults)
{
    TavColorPage fresh;
    EXPECT_STREQ(fresh.GetLogFont().lfFaceName, "ＭＳ Ｐゴシック") << "without a stored font, the default GUI font";
    RunSheet(fresh, [](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "ｾﾙ");
        EXPECT_EQ(person.Text(TavColorPage::IDC_FONT_SAMPLE), "ＭＳ Ｐゴシック, 9pt");
        EXPECT_EQ(person.Control(TavColorPage::IDC_USE_FONT)->SendMessage(BM_GETCHECK), BST_UNCHECKED);
        EXPECT_FALSE(person.Control(TavColorPage::IDC_FONT)->IsWindowEnabled());
        EXPECT_FALSE(person.Control(TavColorPage::IDC_FONT_SAMPLE)->IsWindowEnabled());
        EXPECT_EQ(static_cast<GupColorButton*>(person.Control(TavColorPage::IDC_WARNING_COLOR))->GetColor(), 0x0000FFu);
        EXPECT_EQ(static_cast<GupColorButton*>(person.Control(TavColorPage::IDC_LOCK_COLOR))->GetColor(), 0x80FFFFu);
        person.Escape();
    });

    TavColorSetting stored;
    stored.m_warningTextColor = RGB(0, 0, 255);
    stored.m_lockBackColor = RGB(200, 255, 200);
    stored.m_useFont = TRUE;
    stored.m_logFont = StoredFont();
    ASSERT_EQ(stored.Save(), 1);
    TavColorPage page;
    RunSheet(page, [](DialogOperator& person) {
        EXPECT_EQ(person.Text(TavColorPage::IDC_FONT_SAMPLE), "Sample Mono, 12pt");
        EXPECT_TRUE(person.Control(TavColorPage::IDC_FONT)->IsWindowEnabled());
        EXPECT_EQ(static_cast<GupColorButton*>(person.Control(TavColorPage::IDC_WARNING_COLOR))->GetColor(), RGB(0, 0, 255));
        EXPECT_EQ(static_cast<GupColorButton*>(person.Control(TavColorPage::IDC_LOCK_COLOR))->GetColor(),
                  RGB(200, 255, 200));
        LOGFONTA shown;
        person.Control(TavColorPage::IDC_FONT_SAMPLE)->GetFont()->GetLogFont(&shown);
        EXPECT_EQ(shown.lfHeight, -12) << "the sample keeps the dialog's text size";
        EXPECT_EQ(shown.lfWeight, 700) << "in the chosen weight";
        person.Escape();
    });

    ASSERT_TRUE(SolKey(HKEY_CURRENT_USER, TavColorSetting::GetKeyPath()).SetBinary("TAV_LOGFONT", "short", 5));
    EXPECT_STREQ(TavColorPage().GetLogFont().lfFaceName, "ＭＳ Ｐゴシック") << "a damaged font value gives the default";
    EXPECT_NE(TavColorPage::CreateObject(), nullptr);
}

TEST_F(ColorPageTest, ThePointSizeFollowsTheScreensResolution)
{
    EXPECT_EQ(TavColorPage::PointSize(-13), 10);
    EXPECT_EQ(TavColorPage::PointSize(-16), 12);
    EXPECT_EQ(TavColorPage::PointSize(16), 12) << "a cell height counts as its size";
    driver.SetLogPixels(120);
    EXPECT_EQ(TavColorPage::PointSize(-13), 8);
    EXPECT_EQ(TavColorPage::PointSize(-16), 10);
    EXPECT_EQ(TavColorPage::PointSize(-20), 12);
}

namespace {

// Two frames in the main window, each with a grid.
class TwoFrames : public Wnd {
public:
    TwoFrames()
    {
        Create("Main", "座標", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
        for (int i = 0; i < 2; ++i) {
            frames[i].Create("Frame", "", WS_CHILD | WS_VISIBLE, RECT{0, 200 * i, 640, 200 * i + 200}, this, 10 + i);
            grids[i].Create(WS_VISIBLE, RECT{0, 0, 640, 200}, &frames[i], 100);
        }
    }
    ~TwoFrames() override { DestroyWindow(); }
    Wnd frames[2];
    TavCellCtrl grids[2];
};

} // namespace

TEST_F(ColorPageTest, ApplyStoresTheSettingsAndEveryGridTakesThemCancelKeepsThem)
{
    TwoFrames main;
    app.SetMainWnd(&main);
    ASSERT_EQ(main.grids[1].GetWarningTextColor(), TavColorSetting::kDefaultWarningTextColor);
    const GupFontFamily& family = GupFontCatalog::Machine().Families().front();
    TavColorPage page;
    int result = RunSheet(page, [&](DialogOperator& person) {
        Wnd* apply = GetActiveWindow()->GetDlgItem(ID_APPLY_NOW);
        EXPECT_FALSE(apply->IsWindowEnabled());
        driver.OnNextDialog([](DialogOperator& chooser) {
            chooser.Pick(GupColorDialog::IDC_PALETTE, "暗い青");
            chooser.Return();
        });
        person.Click(TavColorPage::IDC_WARNING_COLOR);
        EXPECT_TRUE(apply->IsWindowEnabled()) << "a colour was chosen";
        person.Click(TavColorPage::IDC_USE_FONT);
        driver.OnNextDialog([](DialogOperator& chooser) {
            chooser.Pick(GupFontDialog::IDC_FACES, 0);
            chooser.SetText(GupFontDialog::IDC_SIZE, "12");
            chooser.Return();
        });
        person.Click(TavColorPage::IDC_FONT);
        EXPECT_EQ(person.Text(TavColorPage::IDC_FONT_SAMPLE), family.name + ", 12pt");
        InputEvent altA = InputEvent::KeyPress('A'); // the sheet's Apply button
        altA.alt = true;
        DispatchInput(altA);
        EXPECT_EQ(main.grids[0].GetWarningTextColor(), RGB(0, 0, 238));
        EXPECT_EQ(main.grids[1].GetWarningTextColor(), RGB(0, 0, 238)) << "every grid of the main window";
        ASSERT_NE(MoxGetCellFont(), nullptr);
        EXPECT_EQ(std::memcmp(MoxGetCellFont(), &page.GetLogFont(), sizeof(LOGFONTA)), 0);
        person.Escape();
    });
    EXPECT_EQ(result, IDCANCEL);

    SolKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, TavColorSetting::GetKeyPath()));
    EXPECT_EQ(key.GetDWord("TAV_WARNING_TEXT_COLOR", 1), RGB(0, 0, 238));
    EXPECT_EQ(key.GetDWord("TAV_LOCK_BACK_COLOR", 1), 0x80FFFFu);
    EXPECT_EQ(key.GetBool("TAV_USE_FONT", FALSE), TRUE);
    LOGFONTA stored;
    ASSERT_EQ(key.GetBinary("TAV_LOGFONT", &stored, sizeof stored), sizeof stored);
    EXPECT_STREQ(stored.lfFaceName, family.name.c_str());
    EXPECT_EQ(stored.lfHeight, -16);
    key.Close();

    TavColorPage again;
    RunSheet(again, [&](DialogOperator& person) {
        person.Click(TavColorPage::IDC_USE_FONT);
        person.Escape();
    });
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, TavColorSetting::GetKeyPath()));
    EXPECT_EQ(key.GetBool("TAV_USE_FONT", TRUE), TRUE) << "cancel stores nothing";
    EXPECT_NE(MoxGetCellFont(), nullptr);

    TavColorPage cleared;
    RunSheet(cleared, [&](DialogOperator& person) {
        person.Click(TavColorPage::IDC_USE_FONT);
        EXPECT_FALSE(person.Control(TavColorPage::IDC_FONT)->IsWindowEnabled());
        person.Return();
    });
    EXPECT_EQ(key.GetBool("TAV_USE_FONT", TRUE), FALSE);
    EXPECT_EQ(key.GetBinary("TAV_LOGFONT", &stored, sizeof stored), 0u) << "no font stored";
    EXPECT_EQ(MoxGetCellFont(), nullptr) << "every grid back to its own font";
}
