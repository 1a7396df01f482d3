// A measure rule: how a length is rounded and shown. Numeric edits carry one, the grid shows
// their cells by it, and the number input dialog applies the item's rule to what is typed.
//
// The rule, as a surveyor reads it:
//   rounding  HixRound (HixNumber.h); 5, round half up, is what a new rule starts with
//   unit      values are held in metres and shown in the unit: 0 metres, 1 centimetres,
//             2 millimetres, 3 kilometres
//   figure    decimals shown (0..15), 4 (a tenth of a millimetre) to start with
// StrDouble(value, -1) uses the rule's figure; another decimals argument overrides it.
#pragma once

#include "components/support/HixNumber.h"

#include <cstddef>
#include <string>

enum class HixUnit : int { Metre = 0, Centimetre = 1, Millimetre = 2, Kilometre = 3 };

class HixMrm {
public:
    static constexpr int kDefaultRound = static_cast<int>(HixRound::HalfUp);

    constexpr HixMrm() noexcept = default;
    // Out-of-range numbers fall back to round half up, metres, and 0..15 decimals.
    HixMrm(int round, int unit, int figure) noexcept;
    virtual ~HixMrm() = default;
    HixMrm(const HixMrm&) = default;
    HixMrm& operator=(const HixMrm&) = default;

    [[nodiscard]] HixRound GetRound() const noexcept { return m_round; }
    [[nodiscard]] HixUnit GetUnit() const noexcept { return m_unit; }
    [[nodiscard]] int GetFigure() const noexcept { return m_figure; }
    void SetRound(int round) noexcept;
    void SetUnit(int unit) noexcept;
    void SetFigure(int figure) noexcept;

    // The value (in metres) as display text in the rule's unit.
    [[nodiscard]] std::string StrDouble(double value, int decimals = -1) const;
    // The same into a caller's string, which keeps its capacity from cell to cell.
    virtual void StrDouble(double value, int decimals, std::string& out) const;
    // The value as shown, in metres: what a stored value becomes when it is taken over from
    // its text.
    [[nodiscard]] double RoundValue(double value, int decimals = -1) const noexcept;
    // Metres to the display unit and back.
    [[nodiscard]] double ToUnit(double metres) const noexcept;
    [[nodiscard]] double FromUnit(double shown) const noexcept;

    friend bool operator==(const HixMrm& a, const HixMrm& b) noexcept
    {
        return a.m_round == b.m_round && a.m_unit == b.m_unit && a.m_figure == b.m_figure;
    }

protected:
    [[nodiscard]] int Decimals(int decimals) const noexcept { return decimals < 0 ? m_figure : (decimals > 15 ? 15 : decimals); }

private:
    HixRound m_round = HixRound::HalfUp;
    HixUnit m_unit = HixUnit::Metre;
    int m_figure = 4;
};
