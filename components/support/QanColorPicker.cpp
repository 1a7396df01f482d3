// The colour button's colour.
#include "components/support/QanColorPicker.h"

void QanColorPicker::SetColor(plat::COLORREF color)
{
    if (color == m_color)
        return;
    m_color = color;
    Invalidate(FALSE);
}
