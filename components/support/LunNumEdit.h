// The checking number edit: a number edit whose text is valid only as a number of its mode,
// with no more digits than its figures allow and inside its bounds.
//
// Edit modes (Mode):
//   0 whole number, no sign          1 whole number, signed
//   2 real number, no sign           3 real number, signed
//   4 whole number, sign as set      5 real number, sign as set (the default)
// "As set" is the sign argument of SetFigure (or the integer attribute of a measure edit);
// a new edit allows the sign. Whole modes take no decimals; real modes take up to
// FractionFigure() of them.
#pragma once

#include "components/support/LunEdit.h"
#include "components/support/QanNumEdit.h"

class LunNumEdit : public LunEditOf<QanNumEdit> {
public:
    explicit LunNumEdit(int mode = 5);

    void Mode(int mode);
    [[nodiscard]] int GetMode() const noexcept { return m_mode; }
    [[nodiscard]] bool IsWholeMode() const noexcept { return m_mode == 0 || m_mode == 1 || m_mode == 4; }

    // sign: non-zero lets modes 4 and 5 take negative numbers; digits before and after the
    // point (0 before: no limit).
    virtual void SetFigure(int sign, int integerFigure, int fractionFigure);

    // Inclusive bounds of a valid value, in the unit of the value Get returns (metres for a
    // measure edit, whatever its display unit); a value outside them, or any number while the
    // lower bound exceeds the upper, is invalid.
    void SetMinMax(long minValue, long maxValue);
    void SetMinMax(int minValue, int maxValue) { SetMinMax(long{minValue}, long{maxValue}); }
    void SetMinMax(double minValue, double maxValue);
    void ClearMinMax() noexcept { m_bounded = false; }
    [[nodiscard]] bool GetMinMax(double& minValue, double& maxValue) const noexcept;

protected:
    bool CheckText(std::string_view text, bool complete) const override;
    // Whether a negative value may be entered in the current mode.
    [[nodiscard]] bool SignAllowed() const noexcept;
    // The bounds, for edits that check their value themselves. Digits added to a text still
    // being typed only move its value away from zero, so such a text is refused only once it
    // is past the bound on its side of zero (the upper for a positive value, else the lower).
    [[nodiscard]] bool BoundsAllow(double value, bool complete) const noexcept;
    // A text that may still grow into a number ("", "-", "12.").
    [[nodiscard]] static bool IsNumberInProgress(std::string_view text) noexcept;

private:
    int m_mode = 5;
    bool m_signAsSet = true;
    bool m_bounded = false;
    double m_min = 0;
    double m_max = 0;
};
