// A checking text edit that says how the input method should stand while it has the focus:
// names and notes are typed in Japanese, codes with the input method closed. The mode is
// kept for the dialog that owns the edit, which switches the input method; the edit does not.
#pragma once

#include "components/support/LunLimitEdit.h"

class LunImeEdit : public LunLimitEdit {
public:
    enum ImeMode : int {
        kImeKeep = 0,  // leave the input method as the person set it
        kImeOpen = 1,  // open it (Japanese input)
        kImeClose = 2, // close it (direct input)
    };

    explicit LunImeEdit(unsigned limit, int imeMode = kImeOpen) : LunLimitEdit(limit), m_imeMode(imeMode) {}

    [[nodiscard]] int GetImeMode() const noexcept { return m_imeMode; }
    void SetImeMode(int imeMode) noexcept { m_imeMode = imeMode; }

private:
    int m_imeMode;
};
