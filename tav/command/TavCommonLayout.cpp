// The layout commands of the grid windows: the open editor closes first, keeping its text,
// so the dialog sees and the rebuild keeps what was typed; the dialog opens over the grid's
// owner, and on OK the manager takes its steps.
#include "tav/command/TavCommon.h"

#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tav/dialogs/TavChangeDialog.h"
#include "tav/dialogs/TavTemplateDialog.h"
#include "tav/manager/TavManager.h"

namespace {

constexpr plat::WPARAM kKeepText = 1;

} // namespace

void TavCommon::CellChange()
{
    Request(MOXM_CLOSEEDITOR, kKeepText);
    if (Request(MOXM_ISEDITING) != 0)
        return;
    TavManager* manager = ManagerPtr();
    if (manager == nullptr || manager->Data() == nullptr)
        return;
    TavData* data = manager->Data();
    // The table's layout setters keep what the dialog's choice replaces in this step.
    const TavUndoStep step(&data->History(), "項目変更");
    TavChangeDialog dialog(manager->m_resourceModule, manager, manager->LayoutDialogParent());
    dialog.SetItems(manager->m_declaration, manager->m_itemCount);
    dialog.SetTemplate(data->Template());
    if (dialog.DoModal() != plat::IDOK)
        return;
    manager->MoveCaretToLineStart();
    std::vector<unsigned> columns;
    dialog.GetTemplate(columns);
    data->SetTemplate(std::move(columns));
    manager->ApplyChangedTemplate();
}

void TavCommon::CellTemplate()
{
    Request(MOXM_CLOSEEDITOR, kKeepText);
    if (Request(MOXM_ISEDITING) != 0)
        return;
    TavManager* manager = ManagerPtr();
    if (manager == nullptr || manager->Data() == nullptr)
        return;
    TavData* data = manager->Data();
    // The dialog loads and names layouts through the table's setters, into this step.
    const TavUndoStep step(&data->History(), "ﾃﾝﾌﾟﾚｰﾄ");
    TavTemplateDialog dialog(manager->m_resourceModule, manager, data, manager->LayoutDialogParent());
    if (dialog.DoModal() != plat::IDOK)
        return;
    manager->MoveCaretToLineStart();
    manager->ApplyChangedTemplate();
}
