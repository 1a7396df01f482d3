// The points a coordinate file carries, apart from any table: what the SIMA and CSV readers
// produce and the writers take, and the one place where they meet the editor's table, so that
// an import lands as one undo step or not at all.
#pragma once

#include "components/support/HixRadius.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TavData;
class TavManager;

namespace coordinates {

class SimaPoints;

// One record of the coordinate list; an empty optional is an empty cell.
struct ExchangePoint {
    std::optional<double> number;
    std::optional<std::string> name; // UTF-8
    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> z;
    std::optional<int> code;
    std::optional<int> lineType;
    std::optional<HixRadius> radius;
    std::optional<int> flag;

    [[nodiscard]] bool IsBlank() const noexcept
    {
        return !number && !name && !x && !y && !z && !code && !lineType && !radius && !flag;
    }
};

// Every record of a table bound to a CoordinateManager that holds any data, in order; blank
// records in between are left out, as a file has no use for them.
[[nodiscard]] std::vector<ExchangePoint> CollectPoints(const TavData& data);

// The number forms both files share. A field is read whole, with blanks around it allowed;
// false when it is not a number the item takes: a point number is a whole number of at most
// eight figures, a coordinate a finite number with at most eight figures before the point.
[[nodiscard]] bool ParsePointNumber(std::string_view field, double& value) noexcept;
[[nodiscard]] bool ParseCoordinate(std::string_view field, double& value) noexcept;
// The same limits for a number already read, for a reader that finds and parses a field in
// one go; inline, as they are asked of every number of a file.
inline constexpr double kFigureLimit = 1e8;
[[nodiscard]] inline bool IsPointNumber(double value) noexcept
{
    return value >= 0 && value < kFigureLimit && std::floor(value) == value;
}
[[nodiscard]] inline bool IsCoordinate(double value) noexcept { return std::fabs(value) < kFigureLimit; }
// The shortest plain decimal that reads back to the same value.
void AppendNumber(std::string& out, double value);
// Inline: the readers call it for every field of a file.
[[nodiscard]] inline std::string_view TrimBlanks(std::string_view field) noexcept
{
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
        field.remove_suffix(1);
    return field;
}

enum class ImportMode { Replace, Append };

enum class ImportOutcome {
    Done,
    Overflow, // more points than the table has rows: nothing changed
    Refused,  // the host refused a cell: everything was put back
};

// Writes the points into the table as the undo step named stepName: Replace takes out the
// lines that hold data first (with their marks and locks, as a line delete does), Append
// starts after the last record that holds data.
[[nodiscard]] ImportOutcome ApplyPoints(TavData& data, const std::vector<ExchangePoint>& points, ImportMode mode,
                                        const std::string& stepName);
// The compact form a SIMA file is read into, written the same way.
[[nodiscard]] ImportOutcome ApplyPoints(TavData& data, const SimaPoints& points, ImportMode mode, const std::string& stepName);

} // namespace coordinates
