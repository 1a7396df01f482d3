// Measure rules for lengths: rounding, unit and decimals of a shown value.
#include "components/support/HixMrm.h"

#include <cmath>

namespace {

constexpr double kUnitFactor[] = {1.0, 100.0, 1000.0, 0.001};

} // namespace

HixMrm::HixMrm(int round, int unit, int figure) noexcept
{
    SetRound(round);
    SetUnit(unit);
    SetFigure(figure);
}

void HixMrm::SetRound(int round) noexcept
{
    // HalfUp is both the last mode and the fallback.
    m_round = round >= 0 && round <= static_cast<int>(HixRound::HalfUp) ? static_cast<HixRound>(round) : HixRound::HalfUp;
}

void HixMrm::SetUnit(int unit) noexcept
{
    m_unit = unit >= 0 && unit <= 3 ? static_cast<HixUnit>(unit) : HixUnit::Metre;
}

void HixMrm::SetFigure(int figure) noexcept { m_figure = figure < 0 ? 0 : (figure > 15 ? 15 : figure); }

double HixMrm::ToUnit(double metres) const noexcept { return metres * kUnitFactor[static_cast<int>(m_unit)]; }

double HixMrm::FromUnit(double shown) const noexcept { return shown / kUnitFactor[static_cast<int>(m_unit)]; }

std::string HixMrm::StrDouble(double value, int decimals) const
{
    std::string text;
    StrDouble(value, decimals, text);
    return text;
}

void HixMrm::StrDouble(double value, int decimals, std::string& out) const
{
    char buffer[kHixNumberBuffer];
    const std::size_t length = HixWriteFixed(ToUnit(value), Decimals(decimals), m_round, buffer);
    out.assign(buffer, length);
}

double HixMrm::RoundValue(double value, int decimals) const noexcept
{
    const int places = Decimals(decimals);
    const double shown = ToUnit(value);
    unsigned long long scaled = 0;
    if (!std::isfinite(shown) || !HixRoundScaled(std::fabs(shown), places, m_round, std::signbit(shown), scaled))
        return value;
    const double magnitude = static_cast<double>(scaled) / kHixPowersOfTen[places];
    return FromUnit(std::signbit(shown) ? -magnitude : magnitude);
}
