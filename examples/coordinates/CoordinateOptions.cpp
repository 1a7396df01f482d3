// The editor's options sheet: the library's cell page, where the person chooses the colours
// of warning and locked cells and the grids' display font for every program that uses them.
#include "examples/coordinates/CoordinateFrame.h"

#include "platform/ui/PropertySheet.h"
#include "tav/settings/TavColorPage.h"

namespace coordinates {

void CoordinateFrame::OnToolsOptions()
{
    TavColorPage cells;
    plat::PropertySheet sheet("オプション", this);
    sheet.AddPage(&cells);
    sheet.DoModal();
}

} // namespace coordinates
