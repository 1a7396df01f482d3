// The manager's side of the item change and template commands: the dialog opened with the
// table's layout, and on OK the columns rebuilt from the table's new template.
#include "tav/manager/TavManager.h"

#include "components/mox/MoxMessages.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavData.h"
#include "tav/dialogs/TavChangeDialog.h"
#include "tav/dialogs/TavTemplateDialog.h"

plat::Wnd* TavManager::LayoutDialogParent() const
{
    return plat::IsWindow(m_cell) ? m_cell->GetOwner() : nullptr;
}

void TavManager::MoveCaretToLineStart()
{
    if (!plat::IsWindow(m_cell))
        return;
    MoxPos caret;
    m_cell->SendMessage(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
    const MoxPos lineStart{0, caret.row};
    m_cell->SendMessage(MOXM_SETCARET, reinterpret_cast<plat::WPARAM>(&lineStart));
}

void TavManager::ApplyChangedTemplate()
{
    m_data->SetModifiedFlag(TRUE);
    CreateTemplateMap();
    RebuildLayout();
}

void TavManager::CellChange()
{
    if (m_data == nullptr)
        return;
    TavChangeDialog dialog(m_resourceModule, this, LayoutDialogParent());
    dialog.SetItems(m_declaration, m_itemCount);
    dialog.SetTemplate(m_data->Template());
    if (dialog.DoModal() != plat::IDOK)
        return;
    MoveCaretToLineStart();
    dialog.GetTemplate(m_data->Template());
    ApplyChangedTemplate();
}

void TavManager::CellTemplate()
{
    if (m_data == nullptr)
        return;
    TavTemplateDialog dialog(m_resourceModule, this, m_data, LayoutDialogParent());
    if (dialog.DoModal() != plat::IDOK)
        return;
    MoveCaretToLineStart();
    ApplyChangedTemplate();
}

void TavManager::LayoutRestored()
{
    if (m_data == nullptr)
        return;
    CreateTemplateMap();
    RebuildLayout();
}
