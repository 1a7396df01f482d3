// The checking number edit: modes, figures and bounds.
#include "components/support/LunNumEdit.h"

#include "components/support/HixNumber.h"

#include <cmath>

LunNumEdit::LunNumEdit(int mode) { Mode(mode); }

void LunNumEdit::Mode(int mode)
{
    m_mode = mode >= 0 && mode <= 5 ? mode : 5;
    if (IsWholeMode())
        SetFractionFigure(0);
    SetSigned(SignAllowed());
}

bool LunNumEdit::SignAllowed() const noexcept
{
    switch (m_mode) {
    case 0:
    case 2: return false;
    case 1:
    case 3: return true;
    default: return m_signAsSet;
    }
}

void LunNumEdit::SetFigure(int sign, int integerFigure, int fractionFigure)
{
    m_signAsSet = sign != 0;
    SetIntegerFigure(integerFigure);
    SetFractionFigure(IsWholeMode() ? 0 : fractionFigure);
    SetSigned(SignAllowed());
}

void LunNumEdit::SetMinMax(long minValue, long maxValue)
{
    SetMinMax(static_cast<double>(minValue), static_cast<double>(maxValue));
}

void LunNumEdit::SetMinMax(double minValue, double maxValue)
{
    m_bounded = true;
    m_min = minValue;
    m_max = maxValue;
}

bool LunNumEdit::GetMinMax(double& minValue, double& maxValue) const noexcept
{
    if (!m_bounded)
        return false;
    minValue = m_min;
    maxValue = m_max;
    return true;
}

bool LunNumEdit::BoundsAllow(double value, bool complete) const noexcept
{
    if (!m_bounded || (value >= m_min && value <= m_max))
        return true;
    return !complete && (std::signbit(value) ? value >= m_min : value <= m_max);
}

bool LunNumEdit::IsNumberInProgress(std::string_view text) noexcept
{
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    if (text.empty() || text == ".")
        return true;
    double ignored = 0;
    return text.back() == '.' && HixScanNumber(text.substr(0, text.size() - 1), ignored);
}

bool LunNumEdit::CheckText(std::string_view text, bool complete) const
{
    text = HixTrim(text);
    if (text.empty())
        return true;
    double value = 0;
    HixNumberShape shape;
    if (!HixScanNumber(text, value, &shape))
        return !complete && IsNumberInProgress(text) && (text.front() != '-' || SignAllowed());
    if (shape.negative && value != 0 && !SignAllowed())
        return false;
    if (IsWholeMode() ? shape.point : shape.fractionDigits > FractionFigure())
        return false;
    if (IntegerFigure() > 0 && shape.integerDigits > IntegerFigure())
        return false;
    // A measure edit's text is in its display unit; the bounds are on the value.
    static_cast<void>(ValueOfText(text, value));
    return BoundsAllow(value, complete);
}
