// The font chooser: its template, the three lists kept in step with the two edits, and the
// checks made on OK.
#include "components/support/GupFontDialog.h"

#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace plat;

namespace {

constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int kMaxPoints = 1638; // the largest size whose height a logical font can hold at any resolution
constexpr DWORD kNoPrefix = 0x0080; // SS_NOPREFIX: a face name may hold an '&'

DialogTemplate FontTemplate()
{
    DialogTemplate t{"フォント", 240, 150, "ＭＳ Ｐゴシック", 9, 0, {}};
    using Id = GupFontDialog;
    t.items = {
        DialogItem{IDC_STATIC, "STATIC", "フォント名(&F):", SS_LEFT, 6, 6, 100, 8},
        DialogItem{Id::IDC_FACE, "EDIT", "", ES_AUTOHSCROLL | WS_GROUP, 6, 16, 100, 12},
        DialogItem{Id::IDC_FACES, "LISTBOX", "", LBS_NOTIFY | WS_VSCROLL, 6, 30, 100, 70},
        DialogItem{IDC_STATIC, "STATIC", "スタイル(&Y):", SS_LEFT, 112, 6, 70, 8},
        DialogItem{Id::IDC_STYLES, "LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_GROUP, 112, 16, 70, 84},
        DialogItem{IDC_STATIC, "STATIC", "サイズ(&S):", SS_LEFT, 188, 6, 46, 8},
        DialogItem{Id::IDC_SIZE, "EDIT", "", ES_AUTOHSCROLL | WS_GROUP, 188, 16, 46, 12},
        DialogItem{Id::IDC_SIZES, "LISTBOX", "", LBS_NOTIFY | WS_VSCROLL, 188, 30, 46, 70},
        DialogItem{IDC_STATIC, "STATIC", "見本", SS_LEFT, 6, 104, 40, 8},
        DialogItem{Id::IDC_SAMPLE, "STATIC", "", SS_LEFT | SS_CENTERIMAGE | kNoPrefix, 6, 114, 228, 14, WS_EX_CLIENTEDGE},
        DialogItem{IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_GROUP, 140, 132, 44, 14},
        DialogItem{IDCANCEL, "BUTTON", "キャンセル", BS_PUSHBUTTON, 188, 132, 48, 14},
    };
    return t;
}

int ScreenLogPixelsY()
{
    ClientDC screen(nullptr);
    return screen.GetDeviceCaps(LOGPIXELSY);
}

bool ParseSize(std::string text, int& points)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    while (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || parsed < 1 || parsed > kMaxPoints)
        return false;
    points = parsed;
    return true;
}

ListBox& List(const Dialog& dialog, int id) { return *static_cast<ListBox*>(dialog.GetDlgItem(id)); }

} // namespace

BEGIN_MESSAGE_MAP(GupFontDialog, Dialog)
    ON_EN_CHANGE(IDC_FACE, OnFaceEdited)
    ON_LBN_SELCHANGE(IDC_FACES, OnFacePicked)
    ON_LBN_SELCHANGE(IDC_STYLES, OnStylePicked)
    ON_EN_CHANGE(IDC_SIZE, OnSizeEdited)
    ON_LBN_SELCHANGE(IDC_SIZES, OnSizePicked)
END_MESSAGE_MAP()

GupFontDialog::GupFontDialog(LOGFONTA* logFont, DWORD flags, Wnd* parent, const GupFontCatalog* catalog)
    : Dialog(FontTemplate(), parent), m_target(logFont), m_flags(flags),
      m_catalog(catalog ? *catalog : GupFontCatalog::Machine()),
      m_weight(logFont && logFont->lfWeight ? logFont->lfWeight : 400), m_italic(logFont && logFont->lfItalic)
{
}

BOOL GupFontDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    ListBox& faces = List(*this, IDC_FACES);
    for (const GupFontFamily& family : m_catalog.Families())
        faces.AddString(family.name);
    for (int points : kSizes)
        List(*this, IDC_SIZES).AddString(std::to_string(points));

    LOGFONTA initial = m_target ? *m_target : LOGFONTA{};
    initial.lfFaceName[LF_FACESIZE - 1] = '\0';
    // The size in points the height makes at the screen's resolution, rounded.
    const int dpi = ScreenLogPixelsY();
    const long height = std::labs(initial.lfHeight);
    const int points = height ? static_cast<int>((height * 72 + dpi / 2) / dpi) : 10;
    // The face as given, even one that is not on the machine: OK then says so.
    SetDlgItemText(IDC_FACE, initial.lfFaceName);
    SetDlgItemText(IDC_SIZE, std::to_string(points));
    UpdateSample();
    return TRUE;
}

void GupFontDialog::OnFaceEdited()
{
    if (m_updating)
        return;
    const GupFontFamily* family = m_catalog.Find(GetDlgItemText(IDC_FACE));
    List(*this, IDC_FACES).SetCurSel(family ? static_cast<int>(family - m_catalog.Families().data()) : -1);
    FillStyles(family);
}

void GupFontDialog::OnFacePicked()
{
    const int index = List(*this, IDC_FACES).GetCurSel();
    if (index < 0)
        return;
    const GupFontFamily& family = m_catalog.Families()[static_cast<std::size_t>(index)];
    m_updating = true;
    SetDlgItemText(IDC_FACE, family.name);
    m_updating = false;
    FillStyles(&family);
}

void GupFontDialog::FillStyles(const GupFontFamily* family)
{
    m_family = family;
    ListBox& styles = List(*this, IDC_STYLES);
    styles.ResetContent();
    if (family) {
        int nearest = -1;
        long best = 0;
        for (const GupFontStyle& style : family->styles) {
            const int index = styles.AddString(style.name);
            // A logical font has no width: the normal width is the one meant.
            const long distance = std::labs(style.weight - m_weight) + (style.italic != m_italic ? 1000 : 0) +
                                  (style.width != 100 ? 2000 : 0);
            if (nearest < 0 || distance < best) {
                nearest = index;
                best = distance;
            }
        }
        styles.SetCurSel(nearest);
    }
    UpdateSample();
}

void GupFontDialog::OnStylePicked()
{
    if (const GupFontStyle* style = ChosenStyle()) {
        m_weight = style->weight;
        m_italic = style->italic;
    }
    UpdateSample();
}

void GupFontDialog::OnSizeEdited()
{
    if (m_updating)
        return;
    List(*this, IDC_SIZES).SetCurSel(List(*this, IDC_SIZES).FindStringExact(-1, GetDlgItemText(IDC_SIZE)));
    UpdateSample();
}

void GupFontDialog::OnSizePicked()
{
    const int index = List(*this, IDC_SIZES).GetCurSel();
    if (index < 0)
        return;
    m_updating = true;
    SetDlgItemText(IDC_SIZE, List(*this, IDC_SIZES).GetText(index));
    m_updating = false;
    UpdateSample();
}

bool GupFontDialog::PreTranslateInput(const InputEvent& event)
{
    if (event.kind == InputEvent::Kind::Key && !event.alt && (event.key == VK_UP || event.key == VK_DOWN)) {
        Wnd* focus = GetFocus();
        const int listId = focus == GetDlgItem(IDC_FACE) ? IDC_FACES : focus == GetDlgItem(IDC_SIZE) ? IDC_SIZES : 0;
        if (listId) {
            ListBox& list = List(*this, listId);
            const int current = list.GetCurSel();
            const int step = event.key == VK_DOWN ? 1 : -1;
            const int next = std::clamp(current < 0 ? 0 : current + step, 0, list.GetCount() - 1);
            if (list.GetCount() > 0 && next != current) {
                list.SetCurSel(next);
                if (listId == IDC_FACES)
                    OnFacePicked();
                else
                    OnSizePicked();
                static_cast<Edit*>(focus)->SetSel(0, -1);
            }
            return true;
        }
    }
    return Dialog::PreTranslateInput(event);
}

const GupFontStyle* GupFontDialog::ChosenStyle() const
{
    const int index = List(*this, IDC_STYLES).GetCurSel();
    if (!m_family || index < 0 || index >= static_cast<int>(m_family->styles.size()))
        return nullptr;
    return &m_family->styles[static_cast<std::size_t>(index)];
}

void GupFontDialog::UpdateSample()
{
    // A terminal cannot change its face, so the sample names the face, style and size it stands for.
    std::string text = GetDlgItemText(IDC_FACE);
    if (const GupFontStyle* style = ChosenStyle())
        text += " " + style->name;
    text += " " + GetDlgItemText(IDC_SIZE) + "pt  AaBbYyZz あア亜";
    SetDlgItemText(IDC_SAMPLE, text);
}

void GupFontDialog::OnOK()
{
    const std::string face = GetDlgItemText(IDC_FACE);
    const GupFontFamily* family = m_catalog.Find(face);
    if ((m_flags & CF_FORCEFONTEXIST) && !family) {
        MessageBox(this, "この名前のフォントはありません。\nフォントの一覧からフォントを選んでください。", {},
                   MB_OK | MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_FACE));
        return;
    }
    int points = 0;
    if (!ParseSize(GetDlgItemText(IDC_SIZE), points)) {
        MessageBox(this, "サイズは 1 から " + std::to_string(kMaxPoints) + " までの整数で入力してください。", {},
                   MB_OK | MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_SIZE));
        return;
    }
    if (m_target) {
        LOGFONTA chosen;
        const int dpi = ScreenLogPixelsY();
        chosen.lfHeight = -static_cast<LONG>((points * dpi + 36) / 72);
        const GupFontStyle* style = ChosenStyle();
        chosen.lfWeight = style ? style->weight : m_weight;
        chosen.lfItalic = (style ? style->italic : m_italic) ? 1 : 0;
        if (m_flags & CF_EFFECTS) {
            chosen.lfUnderline = m_target->lfUnderline;
            chosen.lfStrikeOut = m_target->lfStrikeOut;
        }
        chosen.lfCharSet = m_target->lfCharSet;
        const std::string& name = family ? family->name : face;
        std::memcpy(chosen.lfFaceName, name.data(), std::min(name.size(), static_cast<std::size_t>(LF_FACESIZE - 1)));
        *m_target = chosen;
    }
    EndDialog(IDOK);
}
