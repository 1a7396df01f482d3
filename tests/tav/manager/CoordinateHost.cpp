// The host window's answers to the grid: headings and line numbers from the manager, the
// editor it prepares for a cell, owner drawing, and which cells take pasted text.
#include "tests/tav/manager/CoordinateHost.h"

namespace tavtest {

BEGIN_MESSAGE_MAP(CoordinateHost, plat::Wnd)
    ON_MESSAGE(MOXN_FIXEDCOLTEXT, OnFixedColText)
    ON_MESSAGE(MOXN_FIXEDROWTEXT, OnFixedRowText)
    ON_MESSAGE(MOXN_FIXEDCELLTEXT, OnFixedCellText)
    ON_MESSAGE(MOXN_GETCONTROL, OnGetControl)
    ON_MESSAGE(MOXN_DRAWITEM, OnDrawItem)
    ON_MESSAGE(MOXN_QUERYPASTE, OnQueryPaste)
END_MESSAGE_MAP()

plat::LRESULT CoordinateHost::OnFixedColText(plat::WPARAM w, plat::LPARAM l)
{
    return w != 0 && l != 0 ? m_manager.OnSetFixedColText(Pos(w), Text(l)) : 0;
}

plat::LRESULT CoordinateHost::OnFixedRowText(plat::WPARAM w, plat::LPARAM l)
{
    return w != 0 && l != 0 ? m_manager.OnSetFixedRowText(Pos(w), Text(l)) : 0;
}

plat::LRESULT CoordinateHost::OnFixedCellText(plat::WPARAM, plat::LPARAM l)
{
    if (l == 0)
        return 0;
    Text(l) = "No.";
    return 1;
}

plat::LRESULT CoordinateHost::OnGetControl(plat::WPARAM w, plat::LPARAM)
{
    auto* request = reinterpret_cast<MOX_GETCONTROL*>(w);
    return m_manager.GetControl(MoxPos{request->column, request->row}, &request->editor);
}

plat::LRESULT CoordinateHost::OnDrawItem(plat::WPARAM w, plat::LPARAM)
{
    const auto* item = reinterpret_cast<const MOX_DRAWITEMSTRUCT*>(w);
    m_manager.DrawItem(item->dc, item->column, item->row, &item->rect);
    return 0;
}

plat::LRESULT CoordinateHost::OnQueryPaste(plat::WPARAM w, plat::LPARAM l)
{
    return m_manager.OnActiveControl(m_manager.ColtoID(static_cast<long>(w)), static_cast<long>(l)) > 0 ? 0 : 1;
}

} // namespace tavtest
