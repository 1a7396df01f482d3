// Moving points between a table and the form the coordinate files are read into.
#include "examples/coordinates/ExchangePoints.h"

#include "examples/coordinates/CoordinateResources.h"
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace coordinates {

namespace {

constexpr unsigned kItems[] = {kPointNo, kPointName, kX, kY, kZ, kCode, kLineType, kRadius, kFlag};

template <typename Value>
void Read(const TavData& data, unsigned id, long record, std::optional<Value>& into)
{
    Value value{};
    if (data.Get(id, record, value))
        into = value;
}

template <typename Value>
bool Write(TavData& data, long itemNo, long record, const std::optional<Value>& value)
{
    return !value || data.Set(itemNo, record, *value);
}

// Item numbers of kItems, looked up once rather than for every cell of a large import.
struct ItemNumbers {
    explicit ItemNumbers(const TavData& data)
    {
        for (std::size_t i = 0; i < std::size(kItems); ++i)
            number[i] = data.Manager()->IDtoItemNo(kItems[i]);
    }
    long number[std::size(kItems)];
};

bool WritePoint(TavData& data, const ItemNumbers& items, long record, const ExchangePoint& point)
{
    const long* item = items.number;
    return Write(data, item[0], record, point.number) && Write(data, item[1], record, point.name) &&
           Write(data, item[2], record, point.x) && Write(data, item[3], record, point.y) && Write(data, item[4], record, point.z) &&
           Write(data, item[5], record, point.code) && Write(data, item[6], record, point.lineType) &&
           Write(data, item[7], record, point.radius) && Write(data, item[8], record, point.flag);
}

constexpr double kFigureLimit = 1e8;

bool ParseWhole(std::string_view field, double& value) noexcept
{
    field = TrimBlanks(field);
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value, std::chars_format::general);
    return error == std::errc() && stop == end && std::isfinite(value);
}

// Takes the first count lines out as a line delete does, their warning and disable marks and
// lock ranges with them, so that a disabled cell does not keep a replaced table from going.
void RemoveLeadingLines(TavData& data, long count)
{
    TavUndoHistory& history = data.History();
    const TavLockArray locksBefore = data.Lock();
    history.AddRemovedRecords(0, count);
    data.RemoveRecord(0, count);
    if (TavManager* manager = data.Manager()) {
        manager->AttrWarning().RemoveRecord(0, count, 0);
        manager->AttrDisable().RemoveRecord(0, count, 0);
    }
    TavLockArray kept;
    for (const TavLockData& lock : locksBefore) {
        if (lock.first > lock.last) {
            kept.Add(lock);
            continue;
        }
        const long first = std::max(long{lock.first} - count, 0L);
        const long lastLine = long{lock.last} - count;
        if (first <= lastLine)
            kept.Add({lock.id, static_cast<std::int32_t>(first), static_cast<std::int32_t>(lastLine)});
    }
    data.Lock() = std::move(kept);
    history.AddLocks(data.GetCellLockFlag(), locksBefore);
}

} // namespace

std::string_view TrimBlanks(std::string_view field) noexcept
{
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
        field.remove_suffix(1);
    return field;
}

bool ParsePointNumber(std::string_view field, double& value) noexcept
{
    return ParseWhole(field, value) && value >= 0 && value < kFigureLimit && std::floor(value) == value;
}

bool ParseCoordinate(std::string_view field, double& value) noexcept
{
    return ParseWhole(field, value) && std::fabs(value) < kFigureLimit;
}

void AppendNumber(std::string& out, double value)
{
    char digits[400]; // the longest fixed form of a double, 5e-324, has 326 characters
    // Fixed notation: other programs read "10000000" where they might not read "1e+07".
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    if (error == std::errc())
        out.append(digits, end);
}

std::vector<ExchangePoint> CollectPoints(const TavData& data)
{
    std::vector<ExchangePoint> points;
    const long last = data.GetLastInputRecordNo();
    for (long record = 0; record <= last; ++record) {
        ExchangePoint point;
        Read(data, kPointNo, record, point.number);
        Read(data, kPointName, record, point.name);
        Read(data, kX, record, point.x);
        Read(data, kY, record, point.y);
        Read(data, kZ, record, point.z);
        Read(data, kCode, record, point.code);
        Read(data, kLineType, record, point.lineType);
        Read(data, kRadius, record, point.radius);
        Read(data, kFlag, record, point.flag);
        if (!point.IsBlank())
            points.push_back(std::move(point));
    }
    return points;
}

ImportOutcome ApplyPoints(TavData& data, const std::vector<ExchangePoint>& points, ImportMode mode, const std::string& stepName)
{
    const long last = data.GetLastInputRecordNo();
    const long first = mode == ImportMode::Replace ? 0 : last + 1;
    if (static_cast<long long>(first) + static_cast<long long>(points.size()) > data.GetRecordCount())
        return ImportOutcome::Overflow;
    TavUndoHistory& history = data.History();
    history.OpenStep(stepName);
    // One repaint at the end rather than one per cell.
    const int viewUpdate = data.m_viewUpdate;
    data.m_viewUpdate = 0;
    bool ok = true;
    if (mode == ImportMode::Replace && last >= 0)
        RemoveLeadingLines(data, last + 1);
    const ItemNumbers items(data);
    for (std::size_t i = 0; ok && i < points.size(); ++i)
        ok = WritePoint(data, items, first + static_cast<long>(i), points[i]);
    if (ok)
        history.CloseStep();
    else
        history.CancelStep();
    data.m_viewUpdate = viewUpdate;
    data.Update(0, -1, TRUE);
    return ok ? ImportOutcome::Done : ImportOutcome::Refused;
}

} // namespace coordinates
