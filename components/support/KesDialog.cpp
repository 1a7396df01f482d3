// Dialog frames and the support library's templates.
#include "components/support/KesDialog.h"

#include "components/support/KesTemplates.h"
#include "platform/ui/App.h"
#include "platform/ui/Help.h"

namespace {

// Shows the topic when the program's help file has it; 0 leaves F1 to the windows around, and
// in the end to the help file's contents.
plat::LRESULT ShowDialogTopic(plat::UINT context)
{
    plat::WinApp* app = plat::GetApp();
    if (app == nullptr || app->GetHelpFilePath().empty())
        return 0;
    plat::HelpFile help;
    if (!help.Load(app->GetHelpFilePath(), nullptr) || help.Find(context) == nullptr)
        return 0;
    app->WinHelp(context, plat::HELP_CONTEXT);
    return 1;
}

} // namespace

KesDialog::KesDialog(plat::ModuleHandle module, plat::UINT templateId, plat::Wnd* parent)
    : plat::Dialog(module, templateId, parent)
{
}

void KesDialog::SetCaption(std::string_view caption)
{
    m_caption = std::string(caption);
    if (IsWindow())
        SetWindowText(caption);
}

plat::BOOL KesDialog::OnInitDialog()
{
    if (m_caption)
        SetWindowText(*m_caption);
    return plat::Dialog::OnInitDialog();
}

plat::LRESULT KesDialog::WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (message == plat::WM_COMMANDHELP)
        return ShowDialogTopic(GetBaseID());
    return plat::Dialog::WindowProc(message, wParam, lParam);
}

plat::LRESULT KesPropertyPage::WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (message == plat::WM_COMMANDHELP)
        return ShowDialogTopic(GetBaseID());
    return plat::PropertyPage::WindowProc(message, wParam, lParam);
}

KesPropertyPage::KesPropertyPage(plat::ModuleHandle module, plat::UINT templateId, plat::UINT captionId)
    : plat::PropertyPage(module, templateId, captionId)
{
}

plat::ModuleHandle KesGetModule()
{
    using plat::DialogItem;
    static const plat::Module* module = [] {
        static plat::Module kes("components_support");
        const std::string font = "ＭＳ Ｐゴシック";
        plat::DialogTemplate input{"", 200, 56, font, 9, 0, {}};
        input.items = {
            DialogItem{KES_IDC_PROMPT, "STATIC", "", plat::SS_LEFT, 7, 7, 186, 10},
            DialogItem{KES_IDC_TEXT, "EDIT", "", plat::ES_AUTOHSCROLL, 7, 19, 186, 12},
            DialogItem{plat::IDOK, "BUTTON", "OK", plat::BS_DEFPUSHBUTTON, 88, 36, 50, 14},
            DialogItem{plat::IDCANCEL, "BUTTON", "キャンセル", plat::BS_PUSHBUTTON, 143, 36, 50, 14},
        };
        plat::AddDialogResource(&kes, KES_IDD_INPUT, std::move(input));

        plat::DialogTemplate folder{"フォルダの選択", 220, 150, font, 9, 0, {}};
        folder.items = {
            DialogItem{plat::IDC_STATIC, "STATIC", "フォルダ(&F):", plat::SS_LEFT, 7, 7, 60, 10},
            DialogItem{KES_IDC_PATH, "EDIT", "", plat::ES_AUTOHSCROLL, 7, 19, 206, 12},
            DialogItem{KES_IDC_FOLDERS, "LISTBOX", "", plat::LBS_NOTIFY | plat::WS_VSCROLL, 7, 35, 206, 90},
            DialogItem{plat::IDOK, "BUTTON", "OK", plat::BS_DEFPUSHBUTTON, 108, 130, 50, 14},
            DialogItem{plat::IDCANCEL, "BUTTON", "キャンセル", plat::BS_PUSHBUTTON, 163, 130, 50, 14},
        };
        plat::AddDialogResource(&kes, KES_IDD_DIRECTORY, std::move(folder));

        plat::DialogTemplate progress{"", 200, 50, font, 9, plat::WS_VISIBLE, {}};
        progress.items = {
            DialogItem{KES_IDC_MESSAGE, "STATIC", "", plat::SS_LEFT, 7, 7, 186, 10},
            DialogItem{KES_IDC_PROGRESS, "msctls_progress32", "", 0, 7, 21, 186, 10},
            DialogItem{KES_IDC_PERCENT, "STATIC", "", plat::SS_RIGHT, 7, 34, 186, 10},
        };
        plat::AddDialogResource(&kes, KES_IDD_PROGRESS, std::move(progress));
        return &kes;
    }();
    return module;
}
