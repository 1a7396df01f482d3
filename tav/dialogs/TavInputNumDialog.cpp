// The number input dialog, its template and the exported way to open it.
#include "tav/dialogs/TavInputNumDialog.h"

#include "components/support/LunDataExchange.h"
#include "tav/frame/TavFrame.h"

namespace {

constexpr long kLimit = 99999999;

// The library's module, holding the dialog's resource from the first dialog on.
plat::ModuleHandle TemplateModule()
{
    static const bool added = [] {
        using plat::DialogItem;
        plat::DialogTemplate dialog{"数値補正", 118, 110, "ＭＳ Ｐゴシック", 9, 0, {}};
        dialog.items = {
            DialogItem{plat::IDC_STATIC, "STATIC", "値(&N):", plat::SS_LEFT, 7, 9, 30, 8},
            DialogItem{TAV_IDC_INPUTNUM_VALUE, "EDIT", "", plat::ES_RIGHT | plat::ES_AUTOHSCROLL, 40, 7, 71, 12},
            DialogItem{plat::IDC_STATIC, "BUTTON", "補正方法(&M)", plat::BS_GROUPBOX, 7, 26, 104, 52},
            DialogItem{TAV_IDC_INPUTNUM_ADD, "BUTTON", "指定した値を追加", plat::BS_AUTORADIOBUTTON | plat::WS_GROUP, 14, 40, 90, 10},
            DialogItem{TAV_IDC_INPUTNUM_REPLACE, "BUTTON", "指定した値で置換", plat::BS_AUTORADIOBUTTON, 14, 58, 90, 10},
            DialogItem{plat::IDOK, "BUTTON", "OK", plat::BS_DEFPUSHBUTTON | plat::WS_GROUP, 7, 89, 50, 14},
            DialogItem{plat::IDCANCEL, "BUTTON", "キャンセル", plat::BS_PUSHBUTTON, 61, 89, 50, 14},
        };
        plat::AddDialogResource(TavGetModuleHandle(), TAV_IDD_INPUTNUM, std::move(dialog));
        return true;
    }();
    static_cast<void>(added);
    return TavGetModuleHandle();
}

} // namespace

BEGIN_MESSAGE_MAP(TavInputNumDialog, KesDialog)
    ON_BN_CLICKED(TAV_IDC_INPUTNUM_ADD, OnMethodClicked)
    ON_BN_CLICKED(TAV_IDC_INPUTNUM_REPLACE, OnMethodClicked)
END_MESSAGE_MAP()

TavInputNumDialog::TavInputNumDialog(const HixMrm* measure, int integerAttr, unsigned short figureAttr, plat::Wnd* parent)
    : KesDialog(TemplateModule(), TAV_IDD_INPUTNUM, parent),
      m_measure(measure),
      m_integerAttr(integerAttr),
      m_figureAttr(figureAttr)
{
    // Adding starts: any sign may be typed.
    m_edit.SetNumAttr(m_measure, 1, m_figureAttr);
    m_edit.SetMinMax(-kLimit, kLimit);
}

void TavInputNumDialog::DoDataExchange(plat::DataExchange& dx)
{
    plat::DDX_Control(dx, TAV_IDC_INPUTNUM_VALUE, m_edit);
    DDX_Text(dx, TAV_IDC_INPUTNUM_VALUE, m_value);
    plat::DDX_Radio(dx, TAV_IDC_INPUTNUM_ADD, m_method);
}

void TavInputNumDialog::OnMethodClicked()
{
    // Only the method is taken here: the text may be what the new bounds are about to judge.
    m_method = GetCheckedRadioButton(TAV_IDC_INPUTNUM_ADD, TAV_IDC_INPUTNUM_REPLACE) == TAV_IDC_INPUTNUM_REPLACE ? 1 : 0;
    const int attr = m_method == 0 ? 1 : m_integerAttr;
    m_edit.SetNumAttr(m_measure, attr, m_figureAttr);
    m_edit.SetMinMax(attr != 0 ? -kLimit : 0L, kLimit);
    m_edit.ResetTempText();
    if (!m_edit.IsDataOK(FALSE, TRUE))
        SendMessage(plat::WM_NEXTDLGCTL, reinterpret_cast<plat::WPARAM>(static_cast<plat::Wnd*>(&m_edit)), TRUE);
}

void TavInputNumDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // Nothing typed: the dialog waits for a value.
    if (m_value.IsShoki())
        return;
    KesDialog::OnOK();
}

int TavOpenInputNumDialog(const HixMrm& attr, int mode, unsigned short figure, double& value, int& method, plat::Wnd* parent)
{
    TavInputNumDialog dialog(&attr, mode, figure, parent);
    if (dialog.DoModal() != plat::IDOK)
        return FALSE;
    value = dialog.GetValue();
    method = dialog.GetMethod();
    return TRUE;
}
