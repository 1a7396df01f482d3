// The fix-up combo dialog: borrowing the item's editor and giving it back.
#include "tav/dialogs/TavFixComboDialog.h"

#include "components/support/TavcToggleButton.h"
#include "platform/ui/Controls.h"
#include "tav/frame/TavFrame.h"

namespace {

// A closed combo box's height in dialog units, the field a borrowed control takes.
constexpr int kFieldHeight = 12;

plat::ModuleHandle TemplateModule()
{
    static const bool added = [] {
        using plat::DialogItem;
        plat::DialogTemplate dialog{"%s 一括訂正", 176, 44, "ＭＳ Ｐゴシック", 9, 0, {}};
        dialog.items = {
            DialogItem{plat::IDC_STATIC, "STATIC", "値(&N):", plat::SS_LEFT, 7, 9, 30, 8},
            DialogItem{TAV_IDC_FIXUPCOMBO, "COMBOBOX", "", plat::CBS_DROPDOWNLIST | plat::WS_VSCROLL, 40, 7, 129, 80},
            DialogItem{plat::IDOK, "BUTTON", "OK", plat::BS_DEFPUSHBUTTON, 65, 24, 50, 14},
            DialogItem{plat::IDCANCEL, "BUTTON", "キャンセル", plat::BS_PUSHBUTTON, 119, 24, 50, 14},
        };
        plat::AddDialogResource(TavGetModuleHandle(), TAV_IDD_FIXUPCOMBO, std::move(dialog));
        return true;
    }();
    static_cast<void>(added);
    return TavGetModuleHandle();
}

} // namespace

TavFixupComboboxDialog::TavFixupComboboxDialog(const char* heading, plat::Wnd* control, plat::Wnd* parent)
    : KesDialog(TemplateModule(), TAV_IDD_FIXUPCOMBO, parent), m_heading(heading != nullptr ? heading : ""), m_control(control)
{
}

plat::BOOL TavFixupComboboxDialog::OnInitDialog()
{
    KesDialog::OnInitDialog();
    std::string caption = GetTemplate() != nullptr ? GetTemplate()->caption : std::string("%s 一括訂正");
    if (const std::size_t mark = caption.find("%s"); mark != std::string::npos)
        caption.replace(mark, 2, m_heading);
    SetWindowText(caption);
    plat::Wnd* placeholder = GetDlgItem(TAV_IDC_FIXUPCOMBO);
    if (placeholder == nullptr || m_control == nullptr)
        return TRUE;
    plat::RECT place;
    placeholder->GetWindowRect(&place);
    ScreenToClient(&place);
    // The placeholder's rectangle includes its dropped-down list; any other control takes
    // only its field, so that it leaves the buttons below it free.
    if (dynamic_cast<plat::ComboBox*>(m_control) == nullptr)
        place.bottom = place.top + MapDialogRect(0, 0, 0, kFieldHeight).Height();
    m_borrowed = true;
    m_controlParent = m_control->GetParent();
    m_control->SetParent(this);
    m_control->SendMessage(plat::WM_SETFONT, reinterpret_cast<plat::WPARAM>(GetFont()), TRUE);
    m_control->SetWindowPos(placeholder, place.left, place.top, place.Width(), place.Height(), plat::SWP_SHOWWINDOW);
    m_control->ShowWindow(plat::SW_SHOW);
    m_control->ModifyStyle(0, plat::WS_TABSTOP);
    m_controlId = m_control->SetDlgCtrlID(TAV_IDC_FIXUPCOMBO);
    placeholder->DestroyWindow();
    return TRUE;
}

// The borrowed control goes back in OnDestroy, which must run while this object is whole.
TavFixupComboboxDialog::~TavFixupComboboxDialog() { DestroyWindow(); }

void TavFixupComboboxDialog::OnDestroy()
{
    if (m_borrowed) {
        if (auto* combo = dynamic_cast<plat::ComboBox*>(m_control))
            m_index = static_cast<int>(combo->SendMessage(plat::CB_GETCURSEL));
        else if (auto* toggle = dynamic_cast<TavcToggleButton*>(m_control))
            m_index = toggle->GetIndex();
        m_control->ShowWindow(plat::SW_HIDE);
        m_control->SetParent(m_controlParent);
        m_control->ModifyStyle(plat::WS_TABSTOP, 0);
        m_control->SetDlgCtrlID(m_controlId);
        m_borrowed = false;
    }
    KesDialog::OnDestroy();
}
