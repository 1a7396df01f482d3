// The modeless progress window.
#include "components/support/KesProgressDialog.h"

#include "components/support/KesTemplates.h"
#include "platform/ui/Controls.h"

#include <string>

KesProgressDialog::KesProgressDialog(plat::BOOL showPercent)
    : KesDialog(KesGetModule(), KES_IDD_PROGRESS, nullptr), m_showPercent(showPercent != FALSE)
{
}

KesProgressDialog::~KesProgressDialog()
{
    // Our OnDestroy must run while this object is still whole.
    if (IsWindow())
        DestroyWindow();
}

plat::BOOL KesProgressDialog::Create(plat::Wnd* parent, plat::BOOL disableParent)
{
    if (IsWindow())
        return FALSE;
    if (!plat::Dialog::Create(KES_IDD_PROGRESS, parent))
        return FALSE;
    if (disableParent && plat::IsWindow(parent) && parent->IsWindowEnabled()) {
        m_disabledParent = parent;
        parent->EnableWindow(FALSE);
    }
    return TRUE;
}

plat::BOOL KesProgressDialog::OnInitDialog()
{
    KesDialog::OnInitDialog();
    ShowMessage();
    if (plat::Wnd* percent = GetDlgItem(KES_IDC_PERCENT); percent && !m_showPercent)
        percent->ShowWindow(plat::SW_HIDE);
    ShowPercent();
    return FALSE; // the work goes on where it is; the focus stays there
}

void KesProgressDialog::OnDestroy()
{
    if (plat::IsWindow(m_disabledParent))
        m_disabledParent->EnableWindow(TRUE);
    m_disabledParent = nullptr;
    KesDialog::OnDestroy();
}

plat::ProgressCtrl* KesProgressDialog::Bar() const
{
    return IsWindow() ? dynamic_cast<plat::ProgressCtrl*>(GetDlgItem(KES_IDC_PROGRESS)) : nullptr;
}

void KesProgressDialog::ShowMessage()
{
    if (IsWindow())
        SetDlgItemText(KES_IDC_MESSAGE, m_message.empty() ? "しばらくお待ちください..." : m_message);
}

void KesProgressDialog::ShowPercent()
{
    plat::ProgressCtrl* bar = Bar();
    if (!bar || !m_showPercent)
        return;
    int low = 0;
    int high = 0;
    bar->GetRange(low, high);
    const long long span = static_cast<long long>(high) - low;
    const long long percent = span > 0 ? (static_cast<long long>(bar->GetPos()) - low) * 100 / span : 0;
    SetDlgItemText(KES_IDC_PERCENT, std::to_string(percent) + "%");
}

void KesProgressDialog::SetMessage(std::string_view text)
{
    m_message = std::string(text);
    ShowMessage();
}

void KesProgressDialog::SetRange(int low, int high)
{
    if (plat::ProgressCtrl* bar = Bar()) {
        bar->SetRange(low, high);
        ShowPercent();
    }
}

int KesProgressDialog::SetStep(int step)
{
    plat::ProgressCtrl* bar = Bar();
    return bar ? bar->SetStep(step) : 0;
}

int KesProgressDialog::SetPos(int position)
{
    plat::ProgressCtrl* bar = Bar();
    if (!bar)
        return 0;
    const int old = bar->SetPos(position);
    ShowPercent();
    return old;
}

int KesProgressDialog::StepIt()
{
    plat::ProgressCtrl* bar = Bar();
    if (!bar)
        return 0;
    const int old = bar->StepIt();
    ShowPercent();
    return old;
}
