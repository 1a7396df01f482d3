// The template management dialog.
#include "tav/dialogs/TavTemplateDialog.h"

#include "components/support/KescInputDialog.h"
#include "components/support/NifResource.h"
#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"
#include "platform/ui/App.h"
#include "tav/data/TavData.h"
#include "tav/dialogs/QzTavLoadStoreDlg.h"
#include "tav/dialogs/TavLayoutResources.h"
#include "tav/frame/TavFrame.h"
#include "tav/resources/TavStrings.h"

#include <cstdio>
#include <vector>

namespace {

constexpr plat::UINT kQuestion = plat::MB_YESNO | plat::MB_ICONEXCLAMATION;
constexpr plat::UINT kWarning = plat::MB_OK | plat::MB_ICONEXCLAMATION;

std::string Formatted(const std::string& format, const std::string& name)
{
    std::vector<char> text(format.size() + name.size() + 1);
    std::snprintf(text.data(), text.size(), format.c_str(), name.c_str());
    return text.data();
}

} // namespace

BEGIN_MESSAGE_MAP(TavTemplateDialog, KesDialog)
    ON_BN_CLICKED(IDC_TAV_TEMPLATE_REGISTER, OnRegister)
    ON_BN_CLICKED(IDC_TAV_TEMPLATE_LOAD, OnLoad)
    ON_BN_CLICKED(IDC_TAV_TEMPLATE_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_TAV_TEMPLATE_TRANSFER, OnTransfer)
    ON_NOTIFY(plat::LVN_KEYDOWN, IDC_TAV_TEMPLATE_LIST, OnListKeyDown)
END_MESSAGE_MAP()

TavTemplateDialog::TavTemplateDialog(plat::ModuleHandle resourceModule, TavManager* manager, TavData* data, plat::Wnd* parent)
    : KesDialog((TavAddLayoutResources(), TavGetModuleHandle()), IDD_TAV_TEMPLATE, parent),
      m_resourceModule(resourceModule), m_manager(manager), m_data(data), m_store(manager)
{
}

std::string TavTemplateDialog::NameProblem(const std::string& name)
{
    if (name.find(',') != std::string::npos)
        return NifLoadString(TavGetModuleHandle(), IDS_TAV_TEMPLATE_NO_COMMA);
    std::size_t length = 0;
    bool usable = plat::IsValidUtf8(name) && TavTemplate::IsUsableName(name);
    for (std::size_t pos = 0; usable && pos < name.size(); ++length) {
        const char32_t c = plat::DecodeUtf8(name, pos);
        // A yen sign is stored as a backslash in the files a transfer writes.
        usable = c >= 0x20 && c != 0x7F && c != 0xA5;
    }
    if (!usable || !plat::Utf8ToNarrow(name).ok())
        return "ﾃﾝﾌﾟﾚｰﾄ名に使用できない文字が含まれています。";
    if (length > kMaxNameLength)
        return "ﾃﾝﾌﾟﾚｰﾄ名が長すぎます。" + std::to_string(kMaxNameLength) + "文字以内にしてください。";
    return {};
}

void TavTemplateDialog::DoDataExchange(plat::DataExchange& dx) { plat::DDX_Control(dx, IDC_TAV_TEMPLATE_LIST, m_list); }

plat::BOOL TavTemplateDialog::OnInitDialog()
{
    KesDialog::OnInitDialog();
    const plat::ModuleHandle previous = NifSetResourceHandle(TavGetModuleHandle());
    m_images.Create(IDB_TAV_TEMPLATE, 16, 1, kTavTemplateMask);
    NifSetResourceHandle(previous);
    m_list.SetImageList(&m_images, plat::LVSIL_SMALL);
    m_list.SetExtendedListViewStyle(m_list.GetExtendedStyle() | plat::LVS_EX_FULLROWSELECT);
    m_list.ModifyStyle(0, plat::LVS_SHOWSELALWAYS);
    plat::RECT client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, "名前", plat::LVCFMT_LEFT, client.right - client.left);
    FillList();
    m_caption = GetWindowText();
    ShowCurrent();
    return TRUE;
}

void TavTemplateDialog::FillList()
{
    m_list.DeleteAllItems();
    std::vector<std::string> names;
    m_store.GetNameArray(names);
    for (const std::string& name : names)
        m_list.InsertItem(m_list.GetItemCount(), name, 0);
}

void TavTemplateDialog::ShowCurrent()
{
    if (m_data == nullptr)
        return;
    SetWindowText(m_caption + " - " + m_data->TemplateName());
    const int index = m_list.FindItem(m_data->TemplateName());
    if (index >= 0)
        m_list.SetSel(index, TRUE);
}

std::string TavTemplateDialog::SelectedName() const
{
    const int index = m_list.GetCurSel();
    return index >= 0 ? m_list.GetItemText(index, 0) : std::string();
}

int TavTemplateDialog::Ask(plat::UINT stringId, const std::string& name)
{
    return plat::MessageBox(this, Formatted(NifLoadString(TavGetModuleHandle(), stringId), name), {}, kQuestion);
}

void TavTemplateDialog::OnRegister()
{
    KescInputDialog input("ﾃﾝﾌﾟﾚｰﾄの登録", "名前(&N):", this);
    input.SetText(SelectedName());
    if (input.DoModal() != plat::IDOK)
        return;
    const std::string name = input.GetText();
    // Nothing typed names nothing: the dialog goes on as before.
    if (name.empty())
        return;
    if (name.find(',') != std::string::npos) {
        NifMessageBox(TavGetModuleHandle(), IDS_TAV_TEMPLATE_NO_COMMA, kWarning, this);
        return;
    }
    if (const std::string problem = NameProblem(name); !problem.empty()) {
        plat::MessageBox(this, problem, {}, kWarning);
        return;
    }
    if (m_store.CheckTemplate(name) && Ask(IDS_TAV_TEMPLATE_EXISTS, name) != plat::IDYES)
        return;
    if (!m_store.SaveTemplate(name)) {
        plat::MessageBox(this, "ﾃﾝﾌﾟﾚｰﾄ '" + name + "' を登録できませんでした。", {}, kWarning);
        return;
    }
    m_store.SetCurrentName(name);
    // The table's layout is as it was, now known by the name it is stored under: no change
    // of the document.
    if (m_data != nullptr)
        m_data->SetTemplateName(name, TavLayoutChange::Adopt);
    FillList();
    ShowCurrent();
}

void TavTemplateDialog::OnLoad()
{
    const std::string name = SelectedName();
    if (name.empty())
        return;
    if (!m_store.LoadTemplate(name)) {
        // An unusable template goes from the store and the list; the table keeps its layout.
        NifMessageBox(TavGetModuleHandle(), IDS_TAV_TEMPLATE_LOAD_FAILED, kWarning, this);
        static_cast<void>(m_store.CheckTemplate(name));
        FillList();
        ShowCurrent();
        return;
    }
    m_store.SetCurrentName(name);
    if (m_data != nullptr)
        m_data->SetTemplateName(name);
    OnOK();
}

void TavTemplateDialog::OnDelete()
{
    const std::string name = SelectedName();
    // The last template stays: a table always has one to fall back on.
    if (name.empty() || m_list.GetCount() <= 1)
        return;
    if (Ask(IDS_TAV_TEMPLATE_DELETE, name) != plat::IDYES)
        return;
    m_store.DeleteTemplate(name);
    FillList();
}

void TavTemplateDialog::OnTransfer()
{
    QzTavLoadStoreDlg transfer(m_manager, this);
    static_cast<void>(transfer.DoModal());
    FillList();
}

void TavTemplateDialog::OnListKeyDown(plat::NMHDR* header, plat::LRESULT* result)
{
    const auto* key = reinterpret_cast<const plat::NMLVKEYDOWN*>(header);
    if (key->wVKey == plat::VK_DELETE)
        OnDelete();
    if (result != nullptr)
        *result = 0;
}
