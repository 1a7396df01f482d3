// The points a SIMA file carries (number, name, X, Y, height), held in a few bytes each: a
// large file is read into memory about its own size, without a heap string per point.
#pragma once

#include "examples/coordinates/ExchangePoints.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace coordinates {

class SimaPoints {
public:
    // The items a point carries, in the order of its line; a bit each in Point::present.
    enum Item : std::uint8_t { kNumber, kName, kX, kY, kZ };

    struct Point {
        double number = 0;
        double x = 0;
        double y = 0;
        double z = 0;
        std::size_t nameStart = 0; // the name's UTF-8 bytes in the list's name store
        std::uint32_t nameLength = 0;
        std::uint8_t present = 0;

        [[nodiscard]] bool Has(Item item) const noexcept { return (present >> item) & 1u; }
    };

    void Reserve(std::size_t points) { m_points.reserve(points); }
    // A point with nothing in it yet, filled in place by the reader.
    Point& Add() { return m_points.emplace_back(); }
    void SetName(Point& point, std::string_view utf8)
    {
        point.nameStart = m_names.size();
        point.nameLength = static_cast<std::uint32_t>(utf8.size());
        point.present |= 1u << kName;
        m_names.append(utf8);
    }
    void Clear() noexcept
    {
        m_points.clear();
        m_names.clear();
    }

    [[nodiscard]] std::size_t size() const noexcept { return m_points.size(); }
    [[nodiscard]] bool empty() const noexcept { return m_points.empty(); }
    [[nodiscard]] const Point& At(std::size_t index) const noexcept { return m_points[index]; }
    [[nodiscard]] std::string_view Name(const Point& point) const noexcept
    {
        return std::string_view(m_names).substr(point.nameStart, point.nameLength);
    }
    // The point in the form the writers and the CSV side use, made on request.
    [[nodiscard]] ExchangePoint operator[](std::size_t index) const;
    [[nodiscard]] std::vector<ExchangePoint> ToExchangePoints() const;

private:
    std::vector<Point> m_points;
    std::string m_names;
};

} // namespace coordinates
