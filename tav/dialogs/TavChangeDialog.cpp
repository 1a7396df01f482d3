// The item change dialog.
#include "tav/dialogs/TavChangeDialog.h"

#include "components/support/NifResource.h"
#include "platform/ui/App.h"
#include "tav/dialogs/TavLayoutResources.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"
#include "tav/resources/TavStrings.h"

#include <cstdint>

namespace {

// An entry's data keeps the identifier's low word in its high word, so that no entry but the
// end marker has data 0.
std::uintptr_t EntryData(unsigned id) { return static_cast<std::uintptr_t>(id & 0xFFFFu) << 16; }
unsigned EntryId(std::uintptr_t data) { return static_cast<unsigned>((data >> 16) & 0xFFFFu); }

} // namespace

BEGIN_MESSAGE_MAP(TavChangeDialog, KesDialog)
    ON_LBN_DBLCLK(IDC_TAV_CHANGE_AVAILABLE, OnAdd)
    ON_LBN_SELCHANGE(IDC_TAV_CHANGE_USED, OnUsedSelChange)
    ON_LBN_DBLCLK(IDC_TAV_CHANGE_USED, OnRemove)
    ON_BN_CLICKED(IDC_TAV_CHANGE_ADD, OnAdd)
    ON_BN_CLICKED(IDC_TAV_CHANGE_ADDALL, OnAddAll)
    ON_BN_CLICKED(IDC_TAV_CHANGE_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_TAV_CHANGE_REMOVEALL, OnRemoveAll)
    ON_BN_CLICKED(IDC_TAV_CHANGE_UP, OnUp)
    ON_BN_CLICKED(IDC_TAV_CHANGE_DOWN, OnDown)
    ON_BN_CLICKED(IDC_TAV_CHANGE_RESET, OnReset)
END_MESSAGE_MAP()

TavChangeDialog::TavChangeDialog(plat::ModuleHandle nameModule, TavManager* manager, plat::Wnd* parent)
    : KesDialog((TavAddLayoutResources(), TavGetModuleHandle()), IDD_TAV_CHANGE, parent), m_nameModule(nameModule),
      m_manager(manager)
{
}

void TavChangeDialog::SetItems(const int* ids, long count)
{
    m_allItems.clear();
    for (long i = 0; ids != nullptr && i < count; ++i)
        m_allItems.push_back(static_cast<unsigned>(ids[i]));
}

void TavChangeDialog::SetTemplate(const std::vector<unsigned>& ids)
{
    m_template = ids;
    m_usedItems = ids;
}

std::string TavChangeDialog::ItemName(plat::ModuleHandle module, unsigned id)
{
    // A name is read as a buffer of 256 characters would hold it.
    std::string names = NifLoadString(module, id);
    if (names.size() > 255)
        names.resize(255);
    const std::size_t first = names.find('\n');
    if (first == std::string::npos)
        return {};
    const std::size_t second = names.find('\n', first + 1);
    return names.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

void TavChangeDialog::DoDataExchange(plat::DataExchange& dx)
{
    plat::DDX_Control(dx, IDC_TAV_CHANGE_AVAILABLE, m_available);
    plat::DDX_Control(dx, IDC_TAV_CHANGE_USED, m_used);
}

plat::BOOL TavChangeDialog::OnInitDialog()
{
    KesDialog::OnInitDialog();
    FillLists();
    return TRUE;
}

void TavChangeDialog::FillLists()
{
    m_used.ResetContent();
    for (unsigned id : m_usedItems)
        Insert(m_used, -1, ItemName(m_nameModule, id), EntryData(id));
    Insert(m_used, -1, kEndMarker, 0);
    m_used.SetCurSel(0);

    m_available.ResetContent();
    for (unsigned id : m_allItems) {
        if (static_cast<std::int32_t>(id) <= 0)
            continue;
        const std::string name = ItemName(m_nameModule, id);
        bool shown = false;
        for (int i = 0; i < m_used.GetCount() && !shown; ++i)
            shown = m_used.GetText(i) == name;
        if (!shown)
            Insert(m_available, -1, name, EntryData(id));
    }
    m_available.SetCurSel(0);
    UpdateButtons();
}

int TavChangeDialog::Insert(plat::ListBox& list, int index, const std::string& text, std::uintptr_t data)
{
    const int at = list.InsertString(index, text);
    if (at >= 0)
        list.SetItemData(at, data);
    return at;
}

bool TavChangeDialog::Enabled(int id) const
{
    const plat::Wnd* button = GetDlgItem(id);
    return button != nullptr && button->IsWindowEnabled();
}

void TavChangeDialog::UpdateButtons()
{
    plat::Wnd* focus = plat::Wnd::GetFocus();
    auto enable = [this](int id, bool on) {
        if (plat::Wnd* button = GetDlgItem(id))
            button->EnableWindow(on ? TRUE : FALSE);
    };
    const bool offered = m_available.GetCount() > 0;
    enable(IDC_TAV_CHANGE_ADD, offered);
    enable(IDC_TAV_CHANGE_ADDALL, offered);
    const int count = m_used.GetCount();
    const int selected = m_used.GetCurSel();
    if (selected >= 0)
        enable(IDC_TAV_CHANGE_REMOVE, m_used.GetText(selected) != kEndMarker);
    enable(IDC_TAV_CHANGE_REMOVEALL, count > 1);
    if (count < 3 || selected < 0 || selected == count - 1) {
        enable(IDC_TAV_CHANGE_UP, false);
        enable(IDC_TAV_CHANGE_DOWN, false);
    } else {
        enable(IDC_TAV_CHANGE_UP, selected != 0);
        enable(IDC_TAV_CHANGE_DOWN, selected != count - 2);
    }
    // A button that just went grey under the focus hands it on, as a person would expect.
    if (focus != nullptr && focus->GetParent() == this && !focus->IsWindowEnabled())
        GotoDlgCtrl(GetNextDlgTabItem(focus));
}

void TavChangeDialog::MoveOne(plat::ListBox& from, plat::ListBox& to)
{
    const int index = from.GetCurSel();
    if (index < 0)
        return;
    const std::string text = from.GetText(index);
    const std::uintptr_t data = from.GetItemData(index);
    from.DeleteString(index);
    if (from.SetCurSel(index) < 0 && index != 0)
        from.SetCurSel(index - 1);
    const int target = to.GetCurSel();
    to.SetCurSel(Insert(to, target >= 0 ? target : -1, text, data));
    UpdateButtons();
}

void TavChangeDialog::MoveAll(plat::ListBox& from, plat::ListBox& to)
{
    if (from.GetCount() == 0)
        return;
    int at = to.GetCurSel() >= 0 ? to.GetCurSel() : 0;
    while (from.GetCount() > 0) {
        const std::string text = from.GetText(0);
        if (text == kEndMarker)
            break;
        const std::uintptr_t data = from.GetItemData(0);
        from.DeleteString(0);
        Insert(to, at, text, data);
        ++at;
    }
    from.SetCurSel(0);
    to.SetCurSel(at - 1);
    UpdateButtons();
}

void TavChangeDialog::MoveUsed(int by)
{
    const int index = m_used.GetCurSel();
    if (index < 0)
        return;
    const std::string text = m_used.GetText(index);
    const std::uintptr_t data = m_used.GetItemData(index);
    m_used.DeleteString(index);
    m_used.SetCurSel(Insert(m_used, index + by, text, data));
    UpdateButtons();
}

void TavChangeDialog::OnAdd()
{
    if (Enabled(IDC_TAV_CHANGE_ADD))
        MoveOne(m_available, m_used);
}

void TavChangeDialog::OnAddAll()
{
    if (Enabled(IDC_TAV_CHANGE_ADDALL))
        MoveAll(m_available, m_used);
}

void TavChangeDialog::OnRemove()
{
    if (Enabled(IDC_TAV_CHANGE_REMOVE))
        MoveOne(m_used, m_available);
}

void TavChangeDialog::OnRemoveAll()
{
    if (Enabled(IDC_TAV_CHANGE_REMOVEALL))
        MoveAll(m_used, m_available);
}

void TavChangeDialog::OnUp()
{
    if (Enabled(IDC_TAV_CHANGE_UP))
        MoveUsed(-1);
}

void TavChangeDialog::OnDown()
{
    if (Enabled(IDC_TAV_CHANGE_DOWN))
        MoveUsed(+1);
}

void TavChangeDialog::OnReset()
{
    if (!Enabled(IDC_TAV_CHANGE_RESET))
        return;
    const std::string question = NifLoadString(TavGetModuleHandle(), IDS_TAV_RESET);
    if (plat::MessageBox(this, question, {}, plat::MB_YESNO | plat::MB_ICONEXCLAMATION) != plat::IDYES)
        return;
    m_usedItems = m_template;
    FillLists();
}

void TavChangeDialog::OnOK()
{
    m_usedItems.clear();
    for (int i = 0; i + 1 < m_used.GetCount(); ++i)
        m_usedItems.push_back(EntryId(m_used.GetItemData(i)));
    if (m_manager != nullptr && m_manager->OnCheckTemplate(m_usedItems) == 0)
        return;
    KesDialog::OnOK();
}
