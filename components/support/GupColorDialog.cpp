// The colour chooser: its template, the palette and the typed values kept in step.
#include "components/support/GupColorDialog.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

#include <charconv>
#include <string>

using namespace plat;

namespace {

DialogTemplate ColorTemplate()
{
    DialogTemplate t{"色の設定", 180, 118, "ＭＳ Ｐゴシック", 9, 0, {}};
    using Id = GupColorDialog;
    t.items = {
        DialogItem{IDC_STATIC, "STATIC", "基本色(&B):", SS_LEFT, 6, 6, 80, 8},
        DialogItem{Id::IDC_PALETTE, "LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_GROUP, 6, 16, 80, 96},
        DialogItem{IDC_STATIC, "STATIC", "赤(&R):", SS_LEFT, 96, 18, 34, 8},
        DialogItem{Id::IDC_RED, "EDIT", "", ES_AUTOHSCROLL | WS_GROUP, 134, 16, 40, 12},
        DialogItem{IDC_STATIC, "STATIC", "緑(&G):", SS_LEFT, 96, 34, 34, 8},
        DialogItem{Id::IDC_GREEN, "EDIT", "", ES_AUTOHSCROLL, 134, 32, 40, 12},
        DialogItem{IDC_STATIC, "STATIC", "青(&U):", SS_LEFT, 96, 50, 34, 8},
        DialogItem{Id::IDC_BLUE, "EDIT", "", ES_AUTOHSCROLL, 134, 48, 40, 12},
        DialogItem{IDC_STATIC, "STATIC", "見本:", SS_LEFT, 96, 68, 34, 8},
        DialogItem{IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_GROUP, 80, 98, 44, 14},
        DialogItem{IDCANCEL, "BUTTON", "キャンセル", BS_PUSHBUTTON, 128, 98, 48, 14},
    };
    return t;
}

// A value as typed, when it is a whole number from 0 to 255.
bool ParseComponent(const std::string& text, int& value)
{
    int parsed = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || parsed < 0 || parsed > 255)
        return false;
    value = parsed;
    return true;
}

} // namespace

const std::array<GupNamedColor, 16>& GupBasicColors()
{
    static const std::array<GupNamedColor, 16> colors{{
        {"黒", RGB(0, 0, 0)},          {"暗い赤", RGB(205, 0, 0)},     {"暗い緑", RGB(0, 205, 0)},
        {"暗い黄", RGB(205, 205, 0)},  {"暗い青", RGB(0, 0, 238)},     {"暗い紫", RGB(205, 0, 205)},
        {"暗い水色", RGB(0, 205, 205)}, {"明るい灰色", RGB(229, 229, 229)}, {"灰色", RGB(127, 127, 127)},
        {"赤", RGB(255, 0, 0)},        {"緑", RGB(0, 255, 0)},         {"黄", RGB(255, 255, 0)},
        {"青", RGB(92, 92, 255)},      {"紫", RGB(255, 0, 255)},       {"水色", RGB(0, 255, 255)},
        {"白", RGB(255, 255, 255)},
    }};
    return colors;
}

void GupColorSwatch::SetColor(COLORREF color)
{
    m_color = color;
    Invalidate(FALSE);
}

LRESULT GupColorSwatch::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return Wnd::WindowProc(message, wParam, lParam);
    PaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    dc.FillSolidRect(client, m_color);
    return 0;
}

BEGIN_MESSAGE_MAP(GupColorDialog, Dialog)
    ON_LBN_SELCHANGE(IDC_PALETTE, OnPaletteChange)
    ON_EN_CHANGE(IDC_RED, OnValueChange)
    ON_EN_CHANGE(IDC_GREEN, OnValueChange)
    ON_EN_CHANGE(IDC_BLUE, OnValueChange)
END_MESSAGE_MAP()

GupColorDialog::GupColorDialog(COLORREF color, Wnd* parent)
    : Dialog(ColorTemplate(), parent), m_red(GetRValue(color)), m_green(GetGValue(color)), m_blue(GetBValue(color))
{
}

BOOL GupColorDialog::OnInitDialog()
{
    auto* palette = static_cast<ListBox*>(GetDlgItem(IDC_PALETTE));
    for (const GupNamedColor& named : GupBasicColors())
        palette->AddString(named.name);
    m_sample.Create("STATIC", "", WS_CHILD | WS_VISIBLE, MapDialogRect(134, 66, 40, 24), this, IDC_SAMPLE);
    m_filling = true;
    Dialog::OnInitDialog();
    m_filling = false;
    OnValueChange();
    return TRUE;
}

void GupColorDialog::DoDataExchange(DataExchange& dx)
{
    const auto component = [&dx](int id, int& value) {
        DDX_Text(dx, id, value);
        DDV_MinMaxInt(dx, value, 0, 255);
    };
    component(IDC_RED, m_red);
    component(IDC_GREEN, m_green);
    component(IDC_BLUE, m_blue);
}

void GupColorDialog::OnPaletteChange()
{
    const int index = static_cast<int>(GetDlgItem(IDC_PALETTE)->SendMessage(LB_GETCURSEL));
    if (index < 0 || index >= static_cast<int>(GupBasicColors().size()))
        return;
    const COLORREF color = GupBasicColors()[static_cast<std::size_t>(index)].color;
    m_filling = true;
    SetDlgItemInt(IDC_RED, GetRValue(color));
    SetDlgItemInt(IDC_GREEN, GetGValue(color));
    SetDlgItemInt(IDC_BLUE, GetBValue(color));
    m_filling = false;
    OnValueChange();
}

void GupColorDialog::OnValueChange()
{
    // The sample follows the values while all three are valid; OK says what is wrong with one
    // that is not.
    int red = 0;
    int green = 0;
    int blue = 0;
    if (!ParseComponent(GetDlgItemText(IDC_RED), red) || !ParseComponent(GetDlgItemText(IDC_GREEN), green) ||
        !ParseComponent(GetDlgItemText(IDC_BLUE), blue))
        return;
    const COLORREF color = RGB(red, green, blue);
    m_sample.SetColor(color);
    if (m_filling)
        return;
    // A typed colour that is one of the palette's shows as chosen there.
    auto* palette = static_cast<ListBox*>(GetDlgItem(IDC_PALETTE));
    int match = -1;
    for (std::size_t i = 0; i < GupBasicColors().size(); ++i)
        if (GupBasicColors()[i].color == color)
            match = static_cast<int>(i);
    palette->SetCurSel(match);
}
