// The folder chooser.
#include "components/support/KescDirectoryDialog.h"

#include "components/support/KesTemplates.h"
#include "platform/io/Files.h"
#include "platform/text/NameCompare.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUp = "..";

// The folder itself when it exists, else its nearest existing ancestor, else the home folder.
fs::path ExistingFolder(const fs::path& wanted)
{
    std::error_code error;
    fs::path folder = fs::absolute(wanted.empty() ? fs::path(".") : wanted, error).lexically_normal();
    while (!folder.empty() && !plat::FolderExists(folder)) {
        if (folder == folder.parent_path())
            break;
        folder = folder.parent_path();
    }
    if (plat::FolderExists(folder))
        return folder;
    const char* home = std::getenv("HOME");
    return home ? fs::path(home) : fs::path("/");
}

std::string WithoutTrailingSeparator(const fs::path& folder)
{
    std::string text = folder.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(QanBrowseDirectoryDialog, KesDialog)
    ON_LBN_DBLCLK(KES_IDC_FOLDERS, OnFolderDoubleClick)
    ON_LBN_SELCHANGE(KES_IDC_FOLDERS, OnFolderSelect)
END_MESSAGE_MAP()

QanBrowseDirectoryDialog::QanBrowseDirectoryDialog(std::string_view initialPath, plat::Wnd* parent)
    : KesDialog(KesGetModule(), KES_IDD_DIRECTORY, parent), m_pathName(initialPath)
{
}

plat::BOOL QanBrowseDirectoryDialog::OnInitDialog()
{
    KesDialog::OnInitDialog();
    Show(ExistingFolder(m_pathName));
    if (!m_pathName.empty())
        SetDlgItemText(KES_IDC_PATH, m_pathName);
    return TRUE;
}

void QanBrowseDirectoryDialog::Show(const fs::path& folder)
{
    m_current = folder;
    SetDlgItemText(KES_IDC_PATH, WithoutTrailingSeparator(folder));
    auto* list = dynamic_cast<plat::ListBox*>(GetDlgItem(KES_IDC_FOLDERS));
    if (!list)
        return;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (it->is_directory(kindError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return plat::CompareNoCase(a, b) < 0; });
    list->ResetContent();
    if (folder.has_relative_path())
        list->AddString(kUp);
    for (const std::string& name : names)
        list->AddString(name);
}

void QanBrowseDirectoryDialog::OnFolderSelect()
{
    auto* list = dynamic_cast<plat::ListBox*>(GetDlgItem(KES_IDC_FOLDERS));
    if (!list || list->GetCurSel() < 0)
        return;
    const std::string name = list->GetText(list->GetCurSel());
    SetDlgItemText(KES_IDC_PATH, WithoutTrailingSeparator(name == kUp ? m_current.parent_path() : m_current / name));
}

void QanBrowseDirectoryDialog::OnFolderDoubleClick()
{
    auto* list = dynamic_cast<plat::ListBox*>(GetDlgItem(KES_IDC_FOLDERS));
    if (!list || list->GetCurSel() < 0)
        return;
    const std::string name = list->GetText(list->GetCurSel());
    const fs::path next = name == kUp ? m_current.parent_path() : m_current / name;
    if (plat::FolderExists(next))
        Show(next);
}

void QanBrowseDirectoryDialog::OnOK()
{
    const std::string typed = GetDlgItemText(KES_IDC_PATH);
    if (!typed.empty() && !plat::FolderExists(typed)) {
        plat::MessageBox(this, "フォルダが見つかりません。", {}, plat::MB_OK | plat::MB_ICONEXCLAMATION);
        if (plat::Wnd* field = GetDlgItem(KES_IDC_PATH))
            GotoDlgCtrl(field);
        return;
    }
    m_pathName = typed;
    EndDialog(plat::IDOK);
}

KescDirectoryDialog::KescDirectoryDialog(std::string_view currentPath, const char* secondText, plat::Wnd* parent)
    : QanBrowseDirectoryDialog(currentPath, parent), m_secondText(secondText ? secondText : "")
{
}

plat::BOOL KescDirectoryDialog::OnInitDialog()
{
    const plat::BOOL result = QanBrowseDirectoryDialog::OnInitDialog();
    if (!m_secondText.empty())
        SetWindowText(GetWindowText() + " - " + m_secondText);
    return result;
}
