// The layout commands of the grid windows: the open editor closes first, keeping its text,
// so the dialog sees and the rebuild keeps what was typed; the dialog opens over the grid's
// owner, and on OK the manager takes its steps.
#include "tav/command/TavCommon.h"

#include "platform/io/Archive.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tav/dialogs/TavChangeDialog.h"
#include "tav/dialogs/TavTemplateDialog.h"
#include "tav/manager/TavManager.h"

namespace {

constexpr plat::WPARAM kKeepText = 1;

std::vector<std::uint8_t> StoredLayout(TavData& data)
{
    plat::Archive archive = plat::Archive::ForStoring();
    data.SerializeTemplate(archive);
    return archive.TakeBytes();
}

// Runs a layout dialog as one step: the layout block as it was goes into the history when
// the dialog changed it.
template <class Run>
void LayoutStep(TavData& data, const char* name, Run run)
{
    std::vector<std::uint8_t> before = StoredLayout(data);
    const TavUndoStep step(&data.History(), name);
    run();
    data.History().AddLayout(std::move(before));
}

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
    LayoutStep(*data, "項目変更", [&] {
        TavChangeDialog dialog(manager->m_resourceModule, manager, manager->LayoutDialogParent());
        dialog.SetItems(manager->m_declaration, manager->m_itemCount);
        dialog.SetTemplate(data->Template());
        if (dialog.DoModal() != plat::IDOK)
            return;
        manager->MoveCaretToLineStart();
        dialog.GetTemplate(data->Template());
        manager->ApplyChangedTemplate();
    });
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
    LayoutStep(*data, "ﾃﾝﾌﾟﾚｰﾄ", [&] {
        TavTemplateDialog dialog(manager->m_resourceModule, manager, data, manager->LayoutDialogParent());
        if (dialog.DoModal() != plat::IDOK)
            return;
        manager->MoveCaretToLineStart();
        manager->ApplyChangedTemplate();
    });
}
