// The manager's side of the item change and template commands (their dialogs are opened by
// the command layer above): the caret back at the line's start and the columns rebuilt from
// the table's new template.
#include "tav/manager/TavManager.h"

#include "components/mox/MoxMessages.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavData.h"

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

void TavManager::LayoutRestored()
{
    if (m_data == nullptr)
        return;
    CreateTemplateMap();
    RebuildLayout();
}
