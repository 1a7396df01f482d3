// Moving points between a table and the form the coordinate files are read into.
#include "examples/coordinates/ExchangePoints.h"

#include "components/mox/MoxDeferredViews.h"
#include "examples/coordinates/CoordinateResources.h"
#include "examples/coordinates/SimaPoints.h"
#include "platform/text/CodePage.h"
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <span>

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

// Item numbers of kItems, looked up once rather than for every cell of a large import.
struct ItemNumbers {
    explicit ItemNumbers(const TavData& data)
    {
        for (std::size_t i = 0; i < std::size(kItems); ++i)
            number[i] = data.Manager()->IDtoItemNo(kItems[i]);
    }
    long number[std::size(kItems)];
};

// One cell's bytes as the table's typed writes store them, built without a call per cell
// into the table; a text cell is built to its full size, as the typed write hands it to the
// change hook. Numbers and plain ASCII names, most of an import, are handed on where they lie.
class CellEncoder {
public:
    bool Encode(const TavData& /*data*/, long /*itemNo*/, const double& value) { return Refer(&value, sizeof value); }
    bool Encode(const TavData& /*data*/, long /*itemNo*/, const int& value) { return Refer(&value, sizeof value); }
    bool Encode(const TavData& /*data*/, long /*itemNo*/, const HixRadius& radius)
    {
        std::uint8_t cell[TavData::kRadiusCellSize];
        TavData::EncodeRadius(radius, cell);
        return Bytes(cell, sizeof cell);
    }
    bool Encode(const TavData& data, long itemNo, std::string_view text)
    {
        const unsigned size = data.GetItemSize(itemNo);
        if (size == 0)
            return false;
        // Plain ASCII, what most names are, is the same bytes in the code page, one a character.
        // Without a hook to see the whole cell, the table pads the short text with zeros itself.
        if (!m_whole && std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return Refer(text.data(), static_cast<unsigned>(std::min<std::size_t>(text.size(), size - 1)));
        return Whole(text, size);
    }
    [[nodiscard]] const void* Data() const noexcept { return m_bytes; }
    [[nodiscard]] unsigned Size() const noexcept { return m_size; }
    // Whether the host's change hook is shown the cells: it is handed whole cells.
    void SetWhole(bool whole) noexcept { m_whole = whole; }

private:
    // A text cell built to its full size in the encoder's own buffer; apart from the fast way
    // above, so that the fast way stays small enough to go inline in the writer's loop.
    bool Whole(std::string_view text, unsigned size)
    {
        std::size_t length = 0;
        if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            m_narrow.assign(text);
            length = std::min<std::size_t>(text.size(), size - 1);
        } else {
            if (plat::Utf8ToNarrowInto(text, m_narrow) != std::string::npos)
                return false;
            length = plat::NarrowFitLength(m_narrow, size - 1);
        }
        m_narrow.resize(size);
        std::fill(m_narrow.begin() + static_cast<std::ptrdiff_t>(length), m_narrow.end(), '\0');
        m_bytes = m_narrow.data();
        m_size = size;
        return true;
    }
    bool Refer(const void* bytes, unsigned size)
    {
        m_bytes = bytes;
        m_size = size;
        return true;
    }
    bool Bytes(const void* bytes, unsigned size)
    {
        std::memcpy(m_fixed, bytes, size);
        m_bytes = m_fixed;
        m_size = size;
        return true;
    }
    alignas(8) unsigned char m_fixed[TavData::kRadiusCellSize];
    std::string m_narrow;
    const void* m_bytes = nullptr;
    unsigned m_size = 0;
    bool m_whole = true;
};

// The records an import wrote into lines that were empty. Taking it back keeps their image
// and empties them; doing it again puts the image back. The image is taken at the first undo,
// when the records are as the import left them, so that an import that is never taken back
// does not copy them; it is counted from the start. As with a line insert, neither way asks
// the hooks.
class ImportedRecords final : public TavUndoHistory::Action {
public:
    ImportedRecords(const TavData& data, long first, long count)
        : m_first(first), m_count(count), m_imageBytes(data.SaveRecords(first, 1).size() * static_cast<std::size_t>(count))
    {
    }
    bool Apply(TavData& data, bool undo) override
    {
        if (undo) {
            if (m_image.empty())
                m_image = data.SaveRecords(m_first, m_count);
            ClearRecords(data, m_first, m_count);
        } else {
            data.RestoreRecords(m_first, m_count, m_image);
        }
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override { return sizeof *this + m_imageBytes; }

    // Empties records of a span that held nothing before: the records after it are empty
    // too, so taking the span out and opening it again leaves every other record as it was.
    static void ClearRecords(TavData& data, long first, long count)
    {
        if (count <= 0)
            return;
        data.RemoveRecord(first, count);
        data.InsertRecord(first, count);
    }

private:
    long m_first;
    long m_count;
    std::size_t m_imageBytes;
    std::vector<std::uint8_t> m_image;
};

// Writes the points into the empty records from first on. When a grid shows the table its
// host is asked about every cell, as a typed write would ask it, and a refusal empties the
// records written so far; the host is told of the cells only once all of them are in.
class PointWriter {
public:
    PointWriter(TavData& data, long first) : m_data(data), m_items(data), m_first(first)
    {
        m_ask = data.Cell() != nullptr && !data.IsRestoring();
        m_cell.SetWhole(m_ask);
    }

    template <typename Points>
    bool Write(const Points& points)
    {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const long record = m_first + static_cast<long>(i);
            m_recordCells = 0;
            if (!Point(points, i, record)) {
                ImportedRecords::ClearRecords(m_data, m_first, static_cast<long>(i) + 1);
                return false;
            }
            if (m_recordCells != 0)
                m_data.StoreCells(record, std::span(m_record, m_recordCells));
        }
        return true;
    }

    // Tells the host of every cell written, while it wants to be told.
    void Tell(std::size_t count)
    {
        if (!m_ask || !m_data.GetChangePaneCall())
            return;
        for (std::size_t i = 0; i < count; ++i) {
            const long record = m_first + static_cast<long>(i);
            for (std::size_t item = 0; item < std::size(kItems); ++item)
                if (!m_data.QueryIsBlank(m_items.number[item], record))
                    m_data.OnDataChanged(kItems[item], record);
        }
    }

private:
    bool Point(const std::vector<ExchangePoint>& points, std::size_t index, long record)
    {
        const ExchangePoint& point = points[index];
        return Cell(0, record, point.number) && Cell(1, record, point.name) && Cell(2, record, point.x) &&
               Cell(3, record, point.y) && Cell(4, record, point.z) && Cell(5, record, point.code) &&
               Cell(6, record, point.lineType) && Cell(7, record, point.radius) && Cell(8, record, point.flag);
    }
    bool Point(const SimaPoints& points, std::size_t index, long record)
    {
        const SimaPoints::Point& point = points.At(index);
        return (!point.Has(SimaPoints::kNumber) || Cell(0, record, point.number)) &&
               (!point.Has(SimaPoints::kName) || Cell(1, record, points.Name(point))) &&
               (!point.Has(SimaPoints::kX) || Cell(2, record, point.x)) && (!point.Has(SimaPoints::kY) || Cell(3, record, point.y)) &&
               (!point.Has(SimaPoints::kZ) || Cell(4, record, point.z));
    }

    template <typename Value>
    bool Cell(std::size_t item, long record, const std::optional<Value>& value)
    {
        return !value || Cell(item, record, *value);
    }
    template <typename Value>
    bool Cell(std::size_t item, long record, const Value& value)
    {
        const long itemNo = m_items.number[item];
        if (!m_cell.Encode(m_data, itemNo, value))
            return false;
        if (!m_ask) {
            // Stored with the rest of its record. What a cell's bytes refer to lasts that long:
            // the point's own values, or a buffer of the encoder that one item of a record uses.
            m_record[m_recordCells++] = {itemNo, m_cell.Data(), m_cell.Size()};
            return true;
        }
        // The host sees the table as each cell lands, as with typed writes.
        if (!m_data.OnDataChanging(kItems[item], record, m_cell.Data()))
            return false;
        m_data.StoreCell(itemNo, record, m_cell.Data(), m_cell.Size());
        return true;
    }

    TavData& m_data;
    const ItemNumbers m_items;
    long m_first;
    bool m_ask = false;
    CellEncoder m_cell;
    MoxData::CellBytes m_record[std::size(kItems)];
    std::size_t m_recordCells = 0;
};

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
    data.SetLocks(std::move(kept));
}

} // namespace

bool ParsePointNumber(std::string_view field, double& value) noexcept
{
    return ParseWhole(field, value) && IsPointNumber(value);
}

bool ParseCoordinate(std::string_view field, double& value) noexcept
{
    return ParseWhole(field, value) && IsCoordinate(value);
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

namespace {

template <typename Points>
ImportOutcome WritePoints(TavData& data, const Points& points, ImportMode mode, const std::string& stepName)
{
    const long last = data.GetLastInputRecordNo();
    const long first = mode == ImportMode::Replace ? 0 : last + 1;
    if (static_cast<long long>(first) + static_cast<long long>(points.size()) > data.GetRecordCount())
        return ImportOutcome::Overflow;
    TavUndoHistory& history = data.History();
    const bool wasModified = data.IsModified() != FALSE;
    PointWriter writer(data, first);
    bool ok = false;
    {
        const MoxDeferredViews oneRepaint(data);
        history.OpenStep(stepName);
        if (mode == ImportMode::Replace && last >= 0)
            RemoveLeadingLines(data, last + 1);
        ok = writer.Write(points);
        if (ok) {
            // The records' image, not each cell's old bytes: the lines were empty before.
            if (!points.empty())
                history.Add(std::make_unique<ImportedRecords>(data, first, static_cast<long>(points.size())));
            history.CloseStep();
        } else {
            history.CancelStep();
            // Everything was put back: the table is as it was, saved if it was saved.
            if (!wasModified)
                data.SetModifiedFlag(FALSE);
        }
    }
    if (ok)
        writer.Tell(points.size());
    return ok ? ImportOutcome::Done : ImportOutcome::Refused;
}

} // namespace

ImportOutcome ApplyPoints(TavData& data, const std::vector<ExchangePoint>& points, ImportMode mode, const std::string& stepName)
{
    return WritePoints(data, points, mode, stepName);
}

ImportOutcome ApplyPoints(TavData& data, const SimaPoints& points, ImportMode mode, const std::string& stepName)
{
    return WritePoints(data, points, mode, stepName);
}

} // namespace coordinates
