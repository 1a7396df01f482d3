// The grid's word to its frame.
#include "LotGrid.h"

#include "LotManager.h"
#include "components/mox/MoxMessages.h"
#include "components/support/NifCommonMenu.h"
#include "tav/data/TavData.h"
#include "tav/templates/TavTemplate.h"

namespace lots {

BEGIN_MESSAGE_MAP(LotGrid, TavCellCtrl)
    ON_MESSAGE(MOXN_GETCONTROL, OnGetControl)
    ON_COMMAND(NifCommand::Lock, OnCellLock)
END_MESSAGE_MAP()

plat::LRESULT LotGrid::OnGetControl(plat::WPARAM wParam, plat::LPARAM)
{
    // The library hands a plain list over as it is; the manager selects the cell's category.
    auto* request = reinterpret_cast<MOX_GETCONTROL*>(wParam);
    auto* manager = static_cast<LotManager*>(ManagerPtr());
    return manager != nullptr ? manager->GetControl(MoxPos{request->column, request->row}, &request->editor) : 0;
}

// [guide:template]
void LotGrid::OnCellLock()
{
    // The lock belongs to the layout: kept with the current template, it is there next time.
    CellLock();
    TavTemplate templates(ManagerPtr());
    std::string name = templates.GetCurrentName();
    if (name.empty())
        name = Data().TemplateName();
    static_cast<void>(templates.SaveTemplate(name));
}
// [/guide:template]

void LotGrid::OnSelChanged(const MoxPos& /*from*/, const MoxPos& /*to*/)
{
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->SendMessage(m_changeMessage);
}

int LotGrid::OnEndEdit(unsigned /*id*/, long /*record*/)
{
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->PostMessage(m_changeMessage);
    return 1; // the edit may end
}

} // namespace lots
