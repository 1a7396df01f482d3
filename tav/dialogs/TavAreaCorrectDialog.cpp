// The area correction dialog: the selection it works on, its list of items, the change step.
#include "tav/dialogs/TavAreaCorrectDialog.h"

#include "components/mox/MoxMessages.h"
#include "components/support/NifResource.h"
#include "tav/dialogs/TavGridAccess.h"
#include "tav/data/TavData.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"
#include "tav/resources/TavStrings.h"

#include <algorithm>
#include <string>

namespace {

constexpr plat::UINT kWarningOk = 0x30;

plat::ModuleHandle TemplateModule()
{
    static const bool added = [] {
        using plat::DialogItem;
        plat::DialogTemplate dialog{"範囲訂正", 188, 130, "ＭＳ Ｐゴシック", 9, 0, {}};
        dialog.items = {
            DialogItem{plat::IDC_STATIC, "STATIC", "選択されている項目(&C):", plat::SS_LEFT, 7, 7, 120, 8},
            DialogItem{TAV_IDC_AREACORRECT_ITEMS, "LISTBOX", "",
                       plat::LBS_NOTIFY | plat::WS_VSCROLL | plat::LBS_NOINTEGRALHEIGHT, 7, 18, 120, 105},
            DialogItem{TAV_IDC_AREACORRECT_CHANGE, "BUTTON", "変更(&M)...", plat::BS_DEFPUSHBUTTON, 131, 18, 50, 14},
            DialogItem{plat::IDCANCEL, "BUTTON", "閉じる", plat::BS_PUSHBUTTON, 131, 36, 50, 14},
        };
        plat::AddDialogResource(TavGetModuleHandle(), TAV_IDD_AREACORRECT, std::move(dialog));
        return true;
    }();
    static_cast<void>(added);
    return TavGetModuleHandle();
}

} // namespace

BEGIN_MESSAGE_MAP(TavAreaCorrectDialog, KesDialog)
    ON_BN_CLICKED(TAV_IDC_AREACORRECT_CHANGE, OnChange)
    ON_LBN_DBLCLK(TAV_IDC_AREACORRECT_ITEMS, OnChange)
END_MESSAGE_MAP()

TavAreaCorrectDialog::TavAreaCorrectDialog(TavGridAccess& grid, plat::Wnd* owner)
    : KesDialog(TemplateModule(), TAV_IDD_AREACORRECT, owner), m_owner(owner), m_grid(grid)
{
}

bool TavAreaCorrectDialog::GatherSelection()
{
    m_ranges.RemoveAll();
    m_columns.clear();
    plat::Wnd* grid = m_grid.GetCellWindow();
    const auto* selection = grid != nullptr ? reinterpret_cast<const MoxRectArray*>(grid->SendMessage(MOXM_GETSELECTION)) : nullptr;
    if (selection == nullptr || selection->IsEmpty())
        return false;
    const long last = m_grid.Data().GetLastInputRecordNo();
    if (last < 0)
        return false;
    for (std::size_t i = 0; i < selection->GetSize(); ++i) {
        const MoxRect& rect = selection->GetAt(i);
        if (rect.IsEmpty() || rect.Top() > last)
            continue;
        const std::int32_t bottom = std::min<std::int32_t>(rect.Bottom(), static_cast<std::int32_t>(last));
        m_ranges.Add(MoxRect(MoxPos{rect.Left(), rect.Top()}, MoxPos{rect.Right(), bottom}));
        for (std::int32_t column = rect.Left(); column <= rect.Right(); ++column)
            m_columns[column] = 1;
    }
    return !m_columns.empty();
}

int TavAreaCorrectDialog::DoModal()
{
    if (!GatherSelection()) {
        NifMessageBox(TavGetModuleHandle(), IDS_TAV_RANGE_INVALID, kWarningOk, m_owner);
        return plat::IDCANCEL;
    }
    if (m_columns.size() == 1) {
        CorrectColumn(m_columns.begin()->first, m_owner);
        return plat::IDCANCEL;
    }
    return KesDialog::DoModal();
}

void TavAreaCorrectDialog::DoDataExchange(plat::DataExchange& dx) { plat::DDX_Control(dx, TAV_IDC_AREACORRECT_ITEMS, m_items); }

plat::BOOL TavAreaCorrectDialog::OnInitDialog()
{
    KesDialog::OnInitDialog();
    m_items.ResetContent();
    plat::Wnd* grid = m_grid.GetCellWindow();
    long columns = 0;
    long rows = 0;
    grid->SendMessage(MOXM_GETCELLCOUNT, reinterpret_cast<plat::WPARAM>(&columns), reinterpret_cast<plat::LPARAM>(&rows));
    if (columns >= 1) {
        TavManager& manager = m_grid.Manager();
        for (long column = 0; column < columns; ++column) {
            if (m_columns.find(column) == m_columns.end())
                continue;
            const auto headings = static_cast<int>(grid->SendMessage(MOXM_GETFIXEDROWCOUNT));
            std::string label;
            for (int heading = 0; heading < headings; ++heading) {
                std::string text;
                // A heading the host has no text for stays empty and is passed by.
                static_cast<void>(manager.OnSetFixedRowText(MoxPos{static_cast<std::int32_t>(column), heading}, text));
                if (text.empty())
                    continue;
                if (!label.empty())
                    label += " - ";
                label += text;
            }
            const int entry = m_items.AddString(label);
            m_items.SetItemData(entry, static_cast<std::uintptr_t>(column));
        }
    }
    m_items.SetCurSel(0);
    return TRUE;
}

void TavAreaCorrectDialog::OnChange()
{
    const int entry = m_items.GetCurSel();
    if (entry < 0)
        return;
    CorrectColumn(static_cast<long>(m_items.GetItemData(entry)), this);
}

void TavAreaCorrectDialog::CorrectColumn(long column, plat::Wnd* parent)
{
    const unsigned id = m_grid.Manager().ColtoID(column);
    if (m_grid.OnAreaCorrect(id, &m_ranges, parent) == 0)
        NifMessageBox(TavGetModuleHandle(), IDS_TAV_ITEM_NOT_PROCESSABLE, kWarningOk, parent);
}
