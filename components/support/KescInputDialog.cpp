// The one-line text prompt.
#include "components/support/KescInputDialog.h"

#include "components/support/KesTemplates.h"

KescInputDialog::KescInputDialog(std::string_view title, std::string_view prompt, plat::Wnd* parent)
    : KesDialog(KesGetModule(), KES_IDD_INPUT, parent), m_prompt(prompt)
{
    SetCaption(title);
}

plat::BOOL KescInputDialog::OnInitDialog()
{
    SetDlgItemText(KES_IDC_PROMPT, m_prompt);
    return KesDialog::OnInitDialog();
}

void KescInputDialog::DoDataExchange(plat::DataExchange& dx) { plat::DDX_Text(dx, KES_IDC_TEXT, m_text); }
