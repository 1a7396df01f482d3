// The compact SIMA points turned into the general form on request.
#include "examples/coordinates/SimaPoints.h"

namespace coordinates {

ExchangePoint SimaPoints::operator[](std::size_t index) const
{
    const Point& point = m_points[index];
    ExchangePoint made;
    if (point.Has(kNumber))
        made.number = point.number;
    if (point.Has(kName))
        made.name = std::string(Name(point));
    if (point.Has(kX))
        made.x = point.x;
    if (point.Has(kY))
        made.y = point.y;
    if (point.Has(kZ))
        made.z = point.z;
    return made;
}

std::vector<ExchangePoint> SimaPoints::ToExchangePoints() const
{
    std::vector<ExchangePoint> made;
    made.reserve(m_points.size());
    for (std::size_t i = 0; i < m_points.size(); ++i)
        made.push_back((*this)[i]);
    return made;
}

} // namespace coordinates
