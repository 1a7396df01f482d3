// The cell page: its template, what it shows of the stored settings, and applying them.
#include "tav/settings/TavColorPage.h"

#include "components/mox/MoxCellFont.h"
#include "components/support/GupFontDialog.h"
#include "platform/ui/App.h"
#include "platform/ui/Resources.h"
#include "tav/frame/TavFrame.h"
#include "tav/settings/TavColorSetting.h"

#include <cmath>
#include <cstdio>

using namespace plat;

namespace {

// The template lives in the library's module; it is added the first time a page is made.
void AddPageTemplate()
{
    static const bool added = [] {
        DialogTemplate t{"ｾﾙ", 340, 158, "ＭＳ Ｐゴシック", 9, 0, {}};
        using Page = TavColorPage;
        t.items = {
            DialogItem{IDC_STATIC, "STATIC", "色設定", SS_LEFT, 7, 7, 40, 8},
            DialogItem{IDC_STATIC, "STATIC", "", SS_ETCHEDHORZ, 50, 11, 283, 1},
            DialogItem{Page::IDC_WARNING_COLOR, "BUTTON", "不正なﾃﾞｰﾀのﾃｷｽﾄ色(&W)", BS_OWNERDRAW | WS_GROUP | WS_TABSTOP,
                       14, 22, 150, 14},
            DialogItem{Page::IDC_LOCK_COLOR, "BUTTON", "ﾛｯｸされているｾﾙ色(&L)", BS_OWNERDRAW | WS_TABSTOP, 14, 40, 150, 14},
            DialogItem{IDC_STATIC, "STATIC", "ﾌｫﾝﾄ", SS_LEFT, 7, 62, 30, 8},
            DialogItem{IDC_STATIC, "STATIC", "", SS_ETCHEDHORZ, 40, 66, 293, 1},
            DialogItem{Page::IDC_USE_FONT, "BUTTON", "表示ﾌｫﾝﾄを指定する(&U)", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 14,
                       76, 150, 10},
            DialogItem{Page::IDC_FONT, "BUTTON", "ﾌｫﾝﾄ(&F)...", BS_PUSHBUTTON | WS_TABSTOP, 14, 92, 60, 14},
            DialogItem{Page::IDC_FONT_SAMPLE, "STATIC", "ＭＳ Ｐ ゴシック, 10pt", SS_LEFT | SS_CENTERIMAGE, 80, 92, 200, 14,
                       WS_EX_CLIENTEDGE},
        };
        AddDialogResource(TavGetModuleHandle(), TavColorPage::IDD, std::move(t));
        return true;
    }();
    (void)added;
}

} // namespace

BEGIN_MESSAGE_MAP(TavColorPage, KesPropertyPage)
    ON_BN_CLICKED(IDC_USE_FONT, OnUseFont)
    ON_BN_CLICKED(IDC_FONT, OnFont)
    ON_BN_CLICKED(IDC_WARNING_COLOR, OnColorChosen)
    ON_BN_CLICKED(IDC_LOCK_COLOR, OnColorChosen)
END_MESSAGE_MAP()

TavColorPage::TavColorPage() : KesPropertyPage(TavGetModuleHandle(), IDD)
{
    AddPageTemplate();
    const Font* gui = GetStockFont(DEFAULT_GUI_FONT);
    gui->GetLogFont(&m_logFont);
    m_sampleHeight = m_logFont.lfHeight;

    TavColorSetting setting;
    // A stored font that cannot be read leaves the default font in its place.
    setting.m_logFont = m_logFont;
    static_cast<void>(setting.Load());
    m_btnWarningColor.SetColor(setting.m_warningTextColor);
    m_btnLockColor.SetColor(setting.m_lockBackColor);
    m_useFont = setting.m_useFont ? TRUE : FALSE;
    if (m_useFont)
        m_logFont = setting.m_logFont;
}

TavColorPage::~TavColorPage() = default;

std::unique_ptr<TavColorPage> TavColorPage::CreateObject() { return std::make_unique<TavColorPage>(); }

void TavColorPage::DoDataExchange(DataExchange& dx)
{
    KesPropertyPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_FONT, m_btnFont);
    DDX_Control(dx, IDC_FONT_SAMPLE, m_stcFontSample);
    DDX_Control(dx, IDC_WARNING_COLOR, m_btnWarningColor);
    DDX_Control(dx, IDC_LOCK_COLOR, m_btnLockColor);
    DDX_Check(dx, IDC_USE_FONT, m_useFont);
}

BOOL TavColorPage::OnInitDialog()
{
    KesPropertyPage::OnInitDialog();
    SetFontSample();
    EnableFontControl();
    return TRUE;
}

void TavColorPage::OnUseFont()
{
    UpdateData(TRUE);
    EnableFontControl();
    SetModified();
}

void TavColorPage::OnFont()
{
    GupFontDialog dialog(&m_logFont, CF_SCREENFONTS | CF_FORCEFONTEXIST, this);
    if (dialog.DoModal() != IDOK)
        return;
    SetFontSample();
    SetModified();
}

void TavColorPage::OnColorChosen() { SetModified(); }

int TavColorPage::PointSize(LONG height)
{
    ClientDC screen(nullptr);
    POINT size{0, height};
    screen.LPtoDP(&size);
    const double perInch = screen.GetDeviceCaps(LOGPIXELSY);
    return static_cast<int>(std::floor(std::fabs(size.y * 720.0) / perInch / 10.0 + 0.5));
}

void TavColorPage::SetFontSample()
{
    char text[LF_FACESIZE + 32];
    std::snprintf(text, sizeof text, "%.*s, %dpt", LF_FACESIZE - 1, m_logFont.lfFaceName, PointSize(m_logFont.lfHeight));
    m_stcFontSample.SetWindowText(text);
    // The sample shows the face, weight and slant at the dialog's own size.
    LOGFONTA sample = m_logFont;
    sample.lfHeight = m_sampleHeight;
    m_sampleFont.DeleteObject();
    m_sampleFont.CreateFontIndirect(&sample);
    m_stcFontSample.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(&m_sampleFont), TRUE);
}

void TavColorPage::EnableFontControl()
{
    m_btnFont.EnableWindow(m_useFont);
    m_stcFontSample.EnableWindow(m_useFont);
}

BOOL TavColorPage::OnApply()
{
    TavColorSetting setting;
    setting.m_warningTextColor = m_btnWarningColor.GetColor();
    setting.m_lockBackColor = m_btnLockColor.GetColor();
    setting.m_useFont = m_useFont;
    setting.m_logFont = m_logFont;
    // A failed save is not reported: the program takes the new look all the same.
    static_cast<void>(setting.Save());

    const UINT colorChange = RegisterWindowMessage("TAV_WM_COLORCHANGE");
    if (WinApp* app = GetApp(); app && plat::IsWindow(app->GetMainWnd()))
        app->GetMainWnd()->SendMessageToDescendants(colorChange, 0, 0, true);
    MoxSetCellFont(m_useFont ? &m_logFont : nullptr);
    return KesPropertyPage::OnApply();
}
