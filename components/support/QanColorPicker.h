// A button that shows and holds a colour; the settings pages use it for the warning and lock
// colours. Choosing a new colour is the page's business; the button keeps and shows it.
#pragma once

#include "platform/ui/Controls.h"

class QanColorPicker : public plat::Button {
public:
    [[nodiscard]] plat::COLORREF GetColor() const noexcept { return m_color; }
    // Repaints when the colour changes.
    void SetColor(plat::COLORREF color);

private:
    plat::COLORREF m_color = plat::RGB(0, 0, 0);
};
