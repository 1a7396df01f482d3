// The find dialog, its template, and the search it runs.
#include "tav/dialogs/TavFindDialog.h"

#include "components/mox/MoxMessages.h"
#include "components/support/NifResource.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "tav/dialogs/TavGridAccess.h"
#include "tav/data/TavData.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"
#include "tav/resources/TavStrings.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr plat::UINT kWarningOk = 0x30;

plat::ModuleHandle FindTemplateModule()
{
    static const plat::ModuleHandle module = [] {
        using plat::DialogItem;
        plat::DialogTemplate find{"検索", 187, 93, "ＭＳ Ｐゴシック", 9, 0, {}};
        find.items = {
            DialogItem{plat::IDC_STATIC, "STATIC", "検索するデータ(&N):", plat::SS_LEFT, 7, 7, 110, 10},
            DialogItem{TAV_IDC_FIND_VALUE, "STATIC", "", plat::SS_LEFT, 7, 19, 110, 12},
            DialogItem{plat::IDC_STATIC, "BUTTON", "検索する方法", plat::BS_GROUPBOX, 7, 38, 110, 48},
            DialogItem{TAV_IDC_FIND_UP, "BUTTON", "上へ(&U)", plat::BS_AUTORADIOBUTTON | plat::WS_GROUP | plat::WS_TABSTOP, 15, 52, 60, 10},
            DialogItem{TAV_IDC_FIND_DOWN, "BUTTON", "下へ(&D)", plat::BS_AUTORADIOBUTTON, 15, 68, 60, 10},
            DialogItem{plat::IDOK, "BUTTON", "次を検索(&F)", plat::BS_DEFPUSHBUTTON, 125, 7, 55, 14},
            DialogItem{plat::IDCANCEL, "BUTTON", "閉じる", plat::BS_PUSHBUTTON, 125, 25, 55, 14},
        };
        plat::AddDialogResource(TavGetModuleHandle(), TAV_IDD_FIND, std::move(find));
        return TavGetModuleHandle();
    }();
    return module;
}

} // namespace

TavFindDialog::TavFindDialog(TavGridAccess* grid, long column, long topRow, long bottomRow, plat::Wnd* owner)
    : KesDialog(FindTemplateModule(), TAV_IDD_FIND, owner), m_grid(grid), m_manager(grid->ManagerPtr()),
      m_firstRow(topRow), m_lastRow(std::min(bottomRow, grid->Data().GetLastInputRecordNo()))
{
    m_range.Add(MoxRect(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(topRow)},
                        MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(bottomRow)}));
    m_itemNo = grid->FindItemOfColumn(column);
    m_editor = m_itemNo >= 0 ? grid->FindItemEditor(m_itemNo) : nullptr;
    if (m_editor != nullptr) {
        const TavRegisteredMessages& messages = TavMessages();
        m_editor->SendMessage(messages.editSetDialogMode, 1, 0);
        m_editor->SendMessage(messages.editEnableCheck, 0, 0);
        m_editor->SendMessage(messages.editResetTempText, 0, 0);
        m_dataSize = grid->FindItemDataSize(m_itemNo);
        if (m_dataSize != 0) {
            m_value.assign(m_dataSize, 0);
            m_hasValue = true;
        }
    }
}

int TavFindDialog::DoModal()
{
    if (!m_hasValue)
        return plat::IDCANCEL;
    return KesDialog::DoModal();
}

void TavFindDialog::DoDataExchange(plat::DataExchange& dx) { plat::DDX_Radio(dx, TAV_IDC_FIND_UP, m_direction); }

plat::BOOL TavFindDialog::OnInitDialog()
{
    KesDialog::OnInitDialog();
    plat::Wnd* placeholder = GetDlgItem(TAV_IDC_FIND_VALUE);
    plat::RECT place{0, 0, 0, 0};
    if (placeholder != nullptr) {
        placeholder->GetWindowRect(&place);
        ScreenToClient(&place);
    }
    m_editor->SetFont(GetFont(), TRUE);
    m_editor->ModifyStyleEx(0, plat::WS_EX_CLIENTEDGE);
    m_editor->ModifyStyle(0, plat::WS_TABSTOP);
    m_editorParent = m_editor->SetParent(this);
    m_editorId = m_editor->GetDlgCtrlID();
    m_editor->SetDlgCtrlID(TAV_IDC_FIND_VALUE);
    if (auto* edit = dynamic_cast<plat::Edit*>(m_editor)) {
        edit->SetWindowText("");
    } else if (auto* combo = dynamic_cast<plat::ComboBox*>(m_editor)) {
        combo->SetCurSel(0);
        m_editor->ModifyStyleEx(plat::WS_EX_CLIENTEDGE, 0);
    }
    m_editor->SetWindowPos(placeholder, place.left, place.top, place.right - place.left, place.bottom - place.top, 0);
    m_editor->ShowWindow(plat::SW_SHOW);
    if (placeholder != nullptr)
        placeholder->DestroyWindow();
    return TRUE;
}

void TavFindDialog::OnCancel()
{
    m_editor->ModifyStyleEx(plat::WS_EX_CLIENTEDGE, 0);
    m_editor->ModifyStyle(plat::WS_TABSTOP, 0);
    m_editor->SetParent(m_editorParent);
    m_editor->SetDlgCtrlID(m_editorId);
    m_editor->ShowWindow(plat::SW_HIDE);
    KesDialog::OnCancel();
}

void TavFindDialog::OnOK()
{
    UpdateData(TRUE);
    const bool down = m_direction != 0;
    if (m_firstSearch) {
        m_currentRow = down ? m_firstRow : m_lastRow;
        m_firstSearch = false;
    }
    std::fill(m_value.begin(), m_value.end(), 0);
    unsigned size = m_dataSize;
    if (!m_manager->GetData(m_itemNo, -1, m_editor, m_value.data(), size) || size == 0)
        return; // the editor holds no value of the item's kind
    const long step = down ? 1 : -1;
    const long stopRow = down ? m_lastRow : m_firstRow;
    const unsigned id = m_manager->ItemNotoID(m_itemNo);
    TavData& data = m_grid->Data();
    std::vector<std::uint8_t> stored(m_dataSize);
    plat::Wnd* grid = m_grid->GetCellWindow();
    const auto notFound = [this] { NifMessageBox(TavGetModuleHandle(), IDS_TAV_NOT_FOUND, kWarningOk, this); };
    long row = m_currentRow + step;
    if (row < m_firstRow) {
        notFound();
        return;
    }
    for (;;) {
        if (row > m_lastRow)
            break;
        int found = 0;
        if (!m_grid->OnFindCompare(id, row, m_value.data(), m_dataSize, found)) {
            std::fill(stored.begin(), stored.end(), 0);
            found = data.Get(m_itemNo, row, stored.data(), m_dataSize) &&
                    std::memcmp(stored.data(), m_value.data(), m_dataSize) == 0;
        }
        if (found) {
            MoxPos caret{0, 0};
            grid->SendMessage(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
            caret.row = static_cast<std::int32_t>(row);
            grid->SendMessage(MOXM_SETCARET, reinterpret_cast<plat::WPARAM>(&caret));
            grid->SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&m_range));
            m_currentRow = row;
            return;
        }
        if (row == stopRow) {
            notFound();
            return;
        }
        row += step;
        if (row < m_firstRow) {
            notFound();
            return;
        }
    }
    notFound();
}
