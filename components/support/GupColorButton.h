// The colour button of the settings pages: an owner-drawn button that shows its colour as a
// swatch before its text and opens the colour chooser when pressed.
#pragma once

#include "components/support/QanColorPicker.h"

class GupColorButton : public QanColorPicker {
public:
    // Opens the chooser on the button's colour. When the person confirms another colour the
    // button takes it and tells its parent BN_CLICKED; otherwise the parent hears nothing.
    void Click() override;
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    void Paint();
};
