// The grid's word to its frame.
#include "examples/coordinates/CoordinateGrid.h"

#include "components/support/NifCommonMenu.h"
#include "examples/coordinates/CoordinateManager.h"
#include "tav/data/TavData.h"
#include "tav/templates/TavTemplate.h"

namespace coordinates {

BEGIN_MESSAGE_MAP(CoordinateGrid, TavCellCtrl)
    ON_MESSAGE(MOXN_GETCONTROL, OnGetControl)
    ON_COMMAND(NifCommand::Lock, OnCellLock)
END_MESSAGE_MAP()

plat::LRESULT CoordinateGrid::OnGetControl(plat::WPARAM wParam, plat::LPARAM)
{
    auto* request = reinterpret_cast<MOX_GETCONTROL*>(wParam);
    auto* manager = static_cast<CoordinateManager*>(ManagerPtr());
    return manager != nullptr ? manager->GetControl(MoxPos{request->column, request->row}, &request->editor) : 0;
}

void CoordinateGrid::OnCellLock()
{
    CellLock();
    TavTemplate templates(ManagerPtr());
    std::string name = templates.GetCurrentName();
    if (name.empty())
        name = Data().TemplateName();
    static_cast<void>(templates.SaveTemplate(name));
}

void CoordinateGrid::OnSelChanged(const MoxPos& /*from*/, const MoxPos& /*to*/)
{
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->SendMessage(m_changeMessage);
}

int CoordinateGrid::OnEndEdit(unsigned /*id*/, long /*record*/)
{
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->PostMessage(m_changeMessage);
    return 1; // the edit may end
}

} // namespace coordinates
