// Choice lists of drawing attributes that items of a drawing table carry: the arrow heads of
// a line and the line kind. Each is a drop-down list whose entry index is the stored value.
#pragma once

#include "platform/ui/Controls.h"

class LunArrowTypeComboBox : public plat::ComboBox {
public:
    // Entries: 0 none, 1 at the start, 2 at the end, 3 at both ends.
    LunArrowTypeComboBox();

    // The chosen index, -1 for none.
    [[nodiscard]] int Get() const noexcept { return GetCurSel(); }
    // An index outside the list chooses none.
    void Set(int index);
};

class LunLineTypeComboBox : public plat::ComboBox {
public:
    // Entries: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot.
    LunLineTypeComboBox();

    [[nodiscard]] int Get() const noexcept { return GetCurSel(); }
    void Set(int index);
};
