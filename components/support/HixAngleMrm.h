// A measure rule for angles. Values are decimal degrees; the kind decides the text:
//   0 degrees          123.7519         figure = decimals of the degrees
//   1 grads (gon)      137.5021         figure = decimals of the grads (400 to the circle)
//   2 suite style      123.45067        ddd.mmss then the seconds' decimals (figure)
//   3 degrees-minutes-seconds  123°45′06.7″   figure = decimals of the seconds
// A new rule is kind 3 with one decimal of the seconds, rounded half up. Rounding is applied
// to the last unit shown, and a carry runs up (59.96″ at one decimal shows as the next
// minute, 00.0″), so that the parts never read 60.
#pragma once

#include "components/support/HixMrm.h"

#include <string>
#include <string_view>

enum class HixAngleKind : int { Degree = 0, Grad = 1, Packed = 2, Dms = 3 };

class HixAngleMrm : public HixMrm {
public:
    explicit HixAngleMrm(int angleKind = 3) noexcept;

    [[nodiscard]] HixAngleKind GetAngleKind() const noexcept { return m_kind; }
    void SetAngleKind(int angleKind) noexcept;

    using HixMrm::StrDouble;
    // The angle (decimal degrees) as text of the rule's kind.
    void StrDouble(double degrees, int decimals, std::string& out) const override;

    // Reads an angle written in the rule's kind into decimal degrees. Kind 3 also takes the
    // suite style and blanks or ASCII marks between the parts (123 45 06.7, 123°45'06.7");
    // minutes and seconds must be below 60. False, degrees unchanged, on anything else.
    [[nodiscard]] bool ValDouble(std::string_view text, double& degrees) const noexcept;

    friend bool operator==(const HixAngleMrm& a, const HixAngleMrm& b) noexcept
    {
        return static_cast<const HixMrm&>(a) == static_cast<const HixMrm&>(b) && a.m_kind == b.m_kind;
    }

private:
    HixAngleKind m_kind = HixAngleKind::Dms;
};

// Decimal degrees from the suite-style ddd.mmss number (123.45067 = 123°45′06.7″); false when
// the minutes or seconds are 60 or more.
[[nodiscard]] bool HixPackedToDegrees(double packed, double& degrees) noexcept;
