// The base record table: cell storage, the last-input record, and the stored form.
#include "components/mox/MoxData.h"

#include "components/mox/MoxCellCtrl.h"
#include "platform/io/Errors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr char kSignature[4] = {'M', 'O', 'X', 'T'};
constexpr std::uint32_t kFormatVersion = 1;
// A cell larger than this is a damaged size, not a record layout anyone declares.
constexpr unsigned kMaxItemSize = 1u << 24;
constexpr long kMaxCount = std::numeric_limits<std::int32_t>::max();

std::size_t ToIndex(long value) noexcept { return static_cast<std::size_t>(value); }

// Index of the last non-zero byte of data[0, size), or size when all are zero. Runs a word at
// a time because it crosses the empty records after a cleared last record.
std::size_t LastNonZeroByte(const std::uint8_t* data, std::size_t size) noexcept
{
    std::size_t end = size;
    while (end % sizeof(std::uint64_t) != 0) {
        if (data[end - 1] != 0)
            return end - 1;
        --end;
    }
    while (end >= sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, data + end - sizeof word, sizeof word);
        if (word != 0)
            break;
        end -= sizeof word;
    }
    while (end > 0) {
        if (data[end - 1] != 0)
            return end - 1;
        --end;
    }
    return size;
}

} // namespace

MoxData::MoxData(bool /*flag*/) {}

MoxData::~MoxData()
{
    // A grid that still shows this table must not paint from it any more.
    if (m_grid != nullptr)
        m_grid->DataDestroyed(this);
}

void MoxData::SetView(plat::Wnd* view) noexcept
{
    m_view = view;
    m_grid = dynamic_cast<MoxCellCtrl*>(view);
}

MoxData& MoxData::operator=(const MoxData& other)
{
    if (this == &other)
        return *this;
    // Copy into new storage first so that a failed allocation leaves this table whole.
    Layout layout = other.m_layout;
    ZeroedBytes cells = other.m_cells;
    ZeroedBytes present = other.m_present;
    m_layout = std::move(layout);
    m_cells = std::move(cells);
    m_present = std::move(present);
    m_itemCount = other.m_itemCount;
    m_recordCount = other.m_recordCount;
    m_lastInput = other.m_lastInput;
    RequestRedraw(0, -1);
    return *this;
}

bool MoxData::MakeLayout(std::vector<unsigned> sizes, Layout& layout)
{
    layout.offsets.clear();
    layout.offsets.reserve(sizes.size());
    std::size_t offset = 0;
    for (const unsigned size : sizes) {
        if (size > kMaxItemSize)
            return false;
        layout.offsets.push_back(offset);
        offset += size;
    }
    layout.recordSize = offset;
    layout.presentStride = (sizes.size() + 7) / 8;
    layout.sizes = std::move(sizes);
    return true;
}

plat::BOOL MoxData::Relayout(std::vector<unsigned> sizes, long recordCount)
{
    if (recordCount < 0 || recordCount > kMaxCount || sizes.size() > static_cast<std::size_t>(kMaxCount))
        return FALSE;
    Layout layout;
    if (!MakeLayout(std::move(sizes), layout))
        return FALSE;
    const std::size_t records = ToIndex(recordCount);
    if (layout.recordSize != 0 && records > std::numeric_limits<std::size_t>::max() / 2 / layout.recordSize)
        return FALSE;

    const long itemCount = static_cast<long>(layout.sizes.size());
    const bool sameItems = layout.sizes == m_layout.sizes;
    try {
        if (sameItems) {
            // Only the record count changes: the blocks grow or shrink at their ends. When the
            // second block cannot grow, the first goes back to its size, keeping its bytes.
            const std::size_t oldCells = m_cells.size();
            ResizeZeroed(m_cells, records * layout.recordSize);
            try {
                ResizeZeroed(m_present, records * layout.presentStride);
            } catch (...) {
                ResizeZeroed(m_cells, oldCells);
                throw;
            }
        } else {
            ZeroedBytes cells(records * layout.recordSize);
            ZeroedBytes present(records * layout.presentStride);
            const long keepRecords = std::min(recordCount, m_recordCount);
            const long keepItems = std::min(itemCount, m_itemCount);
            for (long record = 0; record < keepRecords; ++record) {
                const std::uint8_t* oldRecord = m_cells.data() + ToIndex(record) * m_layout.recordSize;
                std::uint8_t* newRecord = cells.data() + ToIndex(record) * layout.recordSize;
                for (long item = 0; item < keepItems; ++item) {
                    const std::size_t i = ToIndex(item);
                    const std::size_t keep = std::min(layout.sizes[i], m_layout.sizes[i]);
                    if (keep != 0)
                        std::memcpy(newRecord + layout.offsets[i], oldRecord + m_layout.offsets[i], keep);
                    const std::uint8_t bit = 1u << (i % 8);
                    if (m_present[ToIndex(record) * m_layout.presentStride + i / 8] & bit)
                        present[ToIndex(record) * layout.presentStride + i / 8] |= bit;
                }
            }
            m_cells = std::move(cells);
            m_present = std::move(present);
            m_layout = std::move(layout);
        }
    } catch (const std::bad_alloc&) {
        return FALSE;
    } catch (const std::length_error&) {
        return FALSE;
    }
    m_itemCount = itemCount;
    m_recordCount = recordCount;
    m_lastInput = FindLastInputFrom(m_recordCount - 1);
    RequestRedraw(0, -1);
    return TRUE;
}

plat::BOOL MoxData::SetSize(long itemCount, long recordCount)
{
    if (itemCount < 0 || itemCount > kMaxCount)
        return FALSE;
    std::vector<unsigned> sizes(ToIndex(itemCount));
    for (long item = 0; item < itemCount; ++item)
        sizes[ToIndex(item)] = OnGetDataSize(item);
    return Relayout(std::move(sizes), recordCount);
}

plat::BOOL MoxData::AddItem(long count)
{
    if (count < 0 || count > kMaxCount - m_itemCount)
        return FALSE;
    std::vector<unsigned> sizes = m_layout.sizes;
    for (long item = m_itemCount; item < m_itemCount + count; ++item)
        sizes.push_back(OnGetDataSize(item));
    return Relayout(std::move(sizes), m_recordCount);
}

void MoxData::GetSize(long& itemCount, long& recordCount) const noexcept
{
    itemCount = m_itemCount;
    recordCount = m_recordCount;
}

unsigned MoxData::GetItemSize(long itemNo) const
{
    if (itemNo < 0 || itemNo >= m_itemCount)
        throw plat::InvalidArgument("item " + std::to_string(itemNo) + " is not in the table (" +
                                    std::to_string(m_itemCount) + " items)");
    return m_layout.sizes[ToIndex(itemNo)];
}

void MoxData::CheckCell(long itemNo, long record) const
{
    if (itemNo < 0 || itemNo >= m_itemCount || record < 0 || record >= m_recordCount)
        throw plat::InvalidArgument("cell (item " + std::to_string(itemNo) + ", record " + std::to_string(record) +
                                    ") is outside the table of " + std::to_string(m_itemCount) + " items by " +
                                    std::to_string(m_recordCount) + " records");
}

plat::BOOL MoxData::GetBuffer(long itemNo, long record, void* destination, unsigned count) const
{
    CheckCell(itemNo, record);
    const std::size_t item = ToIndex(itemNo);
    const std::size_t size = std::min<std::size_t>(count, m_layout.sizes[item]);
    const bool present = (m_present[ToIndex(record) * m_layout.presentStride + item / 8] >> (item % 8)) & 1u;
    if (size == 0)
        return present ? TRUE : FALSE;
    // An empty cell reads as zeros whatever bytes a loaded document left in it.
    if (present)
        std::memcpy(destination, m_cells.data() + ToIndex(record) * m_layout.recordSize + m_layout.offsets[item], size);
    else
        std::memset(destination, 0, size);
    return present ? TRUE : FALSE;
}

plat::BOOL MoxData::SetBuffer(long itemNo, long record, const void* source, unsigned count)
{
    CheckCell(itemNo, record);
    if (!OnDataChanging(itemNo, record, source))
        return FALSE;
    StoreCell(itemNo, record, source, count); // checks the cell again: the hook may have resized the table
    RequestRedraw(record, record);
    OnDataChanged(itemNo, record);
    return TRUE;
}

void MoxData::StoreCell(long itemNo, long record, const void* source, unsigned count)
{
    CheckCell(itemNo, record);
    const std::size_t item = ToIndex(itemNo);
    const std::size_t cellSize = m_layout.sizes[item];
    const std::size_t size = std::min<std::size_t>(count, cellSize);
    std::uint8_t* cell = m_cells.data() + ToIndex(record) * m_layout.recordSize + m_layout.offsets[item];
    if (size != 0)
        std::memcpy(cell, source, size);
    if (size < cellSize)
        std::memset(cell + size, 0, cellSize - size);
    m_present[ToIndex(record) * m_layout.presentStride + item / 8] |= static_cast<std::uint8_t>(1u << (item % 8));
    if (record > m_lastInput)
        m_lastInput = record;
    MarkModified();
}

void MoxData::StoreCells(long record, std::span<const CellBytes> cells)
{
    // Every cell is checked before any is stored, so that a throw leaves the record as it was.
    for (const CellBytes& cell : cells)
        if (cell.itemNo < 0 || cell.itemNo >= m_itemCount || record < 0 || record >= m_recordCount)
            CheckCell(cell.itemNo, record); // throws, saying which cell
    if (cells.empty())
        return;
    std::uint8_t* const cellsOfRecord = m_cells.data() + ToIndex(record) * m_layout.recordSize;
    std::uint8_t* const present = m_present.data() + ToIndex(record) * m_layout.presentStride;
    for (const CellBytes& cell : cells) {
        const std::size_t item = ToIndex(cell.itemNo);
        const std::size_t cellSize = m_layout.sizes[item];
        const std::size_t size = std::min<std::size_t>(cell.count, cellSize);
        std::uint8_t* const bytes = cellsOfRecord + m_layout.offsets[item];
        // Numbers, most cells of such records, are copied as one word rather than by a call.
        if (size == sizeof(double))
            std::memcpy(bytes, cell.source, sizeof(double));
        else if (size != 0)
            std::memcpy(bytes, cell.source, size);
        if (size < cellSize)
            std::memset(bytes + size, 0, cellSize - size);
        present[item / 8] |= static_cast<std::uint8_t>(1u << (item % 8));
    }
    if (record > m_lastInput)
        m_lastInput = record;
    MarkModified();
}

plat::BOOL MoxData::Remove(long itemNo, long record)
{
    CheckCell(itemNo, record);
    const std::size_t item = ToIndex(itemNo);
    const auto bit = static_cast<std::uint8_t>(1u << (item % 8));
    if (!(m_present[ToIndex(record) * m_layout.presentStride + item / 8] & bit))
        return TRUE;
    if (!OnQueryRemove(itemNo, record))
        return FALSE;
    // The hook may have changed the table; find the cell afresh.
    CheckCell(itemNo, record);
    m_present[ToIndex(record) * m_layout.presentStride + item / 8] &= static_cast<std::uint8_t>(~bit);
    std::memset(m_cells.data() + ToIndex(record) * m_layout.recordSize + m_layout.offsets[item], 0,
                m_layout.sizes[item]);
    if (record == m_lastInput && !RecordHasData(record))
        m_lastInput = FindLastInputFrom(record - 1);
    MarkModified();
    RequestRedraw(record, record);
    OnDataChanged(itemNo, record);
    return TRUE;
}

namespace {

// Opens n empty rows of a block at row `at`: the `moved` rows after them shift down in one
// move and the rows pushed past the end fall off.
void OpenRows(ZeroedBytes& block, std::size_t stride, std::size_t at, std::size_t n, std::size_t moved)
{
    if (stride == 0)
        return;
    std::memmove(block.data() + (at + n) * stride, block.data() + at * stride, moved * stride);
    std::memset(block.data() + at * stride, 0, n * stride);
}

// Closes n rows of a block at row `at`: the `moved` rows after them shift up in one move and
// n empty rows come in at the end.
void CloseRows(ZeroedBytes& block, std::size_t stride, std::size_t at, std::size_t n, std::size_t moved)
{
    if (stride == 0)
        return;
    std::memmove(block.data() + at * stride, block.data() + (at + n) * stride, moved * stride);
    std::memset(block.data() + (at + moved) * stride, 0, n * stride);
}

} // namespace

plat::BOOL MoxData::InsertRecord(long record, long count)
{
    if (record < 0 || record > m_recordCount || count < 0)
        throw plat::InvalidArgument("cannot insert " + std::to_string(count) + " records at " + std::to_string(record) +
                                    " of " + std::to_string(m_recordCount));
    count = std::min(count, m_recordCount - record);
    if (count == 0)
        return TRUE;
    const std::size_t at = ToIndex(record);
    const std::size_t n = ToIndex(count);
    const std::size_t moved = ToIndex(m_recordCount) - at - n;
    OpenRows(m_cells, m_layout.recordSize, at, n, moved);
    OpenRows(m_present, m_layout.presentStride, at, n, moved);
    if (m_lastInput >= record) {
        if (m_lastInput + count < m_recordCount)
            m_lastInput += count;
        else // the last filled records were pushed off the end
            m_lastInput = FindLastInputFrom(m_recordCount - 1);
    }
    MarkModified();
    RequestRedraw(record, -1);
    return TRUE;
}

plat::BOOL MoxData::RemoveRecord(long record, long count)
{
    if (record < 0 || record >= m_recordCount || count < 0)
        throw plat::InvalidArgument("cannot remove " + std::to_string(count) + " records at " + std::to_string(record) +
                                    " of " + std::to_string(m_recordCount));
    count = std::min(count, m_recordCount - record);
    if (count == 0)
        return TRUE;
    const std::size_t at = ToIndex(record);
    const std::size_t n = ToIndex(count);
    const std::size_t moved = ToIndex(m_recordCount) - at - n;
    CloseRows(m_cells, m_layout.recordSize, at, n, moved);
    CloseRows(m_present, m_layout.presentStride, at, n, moved);
    if (m_lastInput >= record + count)
        m_lastInput -= count;
    else if (m_lastInput >= record)
        m_lastInput = FindLastInputFrom(record - 1);
    MarkModified();
    RequestRedraw(record, -1);
    return TRUE;
}

std::vector<std::uint8_t> MoxData::SaveRecords(long record, long count) const
{
    if (record < 0 || count < 0 || count > m_recordCount - record)
        throw plat::InvalidArgument("cannot save " + std::to_string(count) + " records at " + std::to_string(record) +
                                    " of " + std::to_string(m_recordCount));
    const std::size_t cells = ToIndex(count) * m_layout.recordSize;
    const std::size_t present = ToIndex(count) * m_layout.presentStride;
    std::vector<std::uint8_t> image(cells + present);
    if (cells != 0)
        std::memcpy(image.data(), m_cells.data() + ToIndex(record) * m_layout.recordSize, cells);
    if (present != 0)
        std::memcpy(image.data() + cells, m_present.data() + ToIndex(record) * m_layout.presentStride, present);
    return image;
}

void MoxData::RestoreRecords(long record, long count, const std::vector<std::uint8_t>& image)
{
    const std::size_t cells = ToIndex(std::max(count, 0L)) * m_layout.recordSize;
    const std::size_t present = ToIndex(std::max(count, 0L)) * m_layout.presentStride;
    if (record < 0 || count < 0 || count > m_recordCount - record || image.size() != cells + present)
        throw plat::InvalidArgument("cannot restore " + std::to_string(count) + " records at " + std::to_string(record) +
                                    " of " + std::to_string(m_recordCount) + " from an image of " +
                                    std::to_string(image.size()) + " bytes");
    if (cells != 0)
        std::memcpy(m_cells.data() + ToIndex(record) * m_layout.recordSize, image.data(), cells);
    if (present != 0)
        std::memcpy(m_present.data() + ToIndex(record) * m_layout.presentStride, image.data() + cells, present);
    m_lastInput = FindLastInputFrom(m_recordCount - 1);
    MarkModified();
    RequestRedraw(record, record + count - 1);
}

void MoxData::ReorderRecords(long first, const std::vector<long>& from)
{
    const auto count = static_cast<long>(from.size());
    if (first < 0 || count > m_recordCount - first)
        throw plat::InvalidArgument("cannot reorder " + std::to_string(count) + " records at " + std::to_string(first) +
                                    " of " + std::to_string(m_recordCount));
    for (const long record : from)
        if (record != -1 && (record < first || record >= first + count))
            throw plat::InvalidArgument("record " + std::to_string(record) + " lies outside the records reordered");
    const std::vector<std::uint8_t> before = SaveRecords(first, count);
    const std::size_t cells = ToIndex(count) * m_layout.recordSize;
    for (long i = 0; i < count; ++i) {
        std::uint8_t* cell = m_cells.data() + ToIndex(first + i) * m_layout.recordSize;
        std::uint8_t* present = m_present.data() + ToIndex(first + i) * m_layout.presentStride;
        const long source = from[ToIndex(i)];
        if (m_layout.recordSize == 0 || m_layout.presentStride == 0)
            continue;
        if (source < 0) {
            std::memset(cell, 0, m_layout.recordSize);
            std::memset(present, 0, m_layout.presentStride);
            continue;
        }
        const std::size_t at = ToIndex(source - first);
        std::memcpy(cell, before.data() + at * m_layout.recordSize, m_layout.recordSize);
        std::memcpy(present, before.data() + cells + at * m_layout.presentStride, m_layout.presentStride);
    }
    m_lastInput = FindLastInputFrom(m_recordCount - 1);
    MarkModified();
    RequestRedraw(first, first + count - 1);
}

bool MoxData::RecordHasData(long record) const noexcept
{
    const std::uint8_t* row = m_present.data() + ToIndex(record) * m_layout.presentStride;
    for (std::size_t i = 0; i < m_layout.presentStride; ++i)
        if (row[i] != 0)
            return true;
    return false;
}

long MoxData::FindLastInputFrom(long from) const noexcept
{
    if (from < 0 || m_layout.presentStride == 0)
        return -1;
    const std::size_t size = (ToIndex(from) + 1) * m_layout.presentStride;
    const std::size_t last = LastNonZeroByte(m_present.data(), size);
    return last == size ? -1 : static_cast<long>(last / m_layout.presentStride);
}

long MoxData::GetLastInputRecordNo() const
{
    long recordNo = m_lastInput;
    OnGetLastInputRecordNo(recordNo);
    return recordNo;
}

void MoxData::Update(long first, long last, plat::BOOL redraw)
{
    if (redraw)
        RequestRedraw(first, last);
}

void MoxData::MarkModified()
{
    // A table no view shows calls the hook on its first change only. While a view shows it,
    // every change does: the view's document may have been saved, and so marked unmodified,
    // since the table was last marked, and a derived table passes the state on to it.
    if (!m_modified || m_view != nullptr)
        SetModifiedFlag(TRUE);
}

void MoxData::RequestRedraw(long first, long last) const
{
    if (m_grid == nullptr || m_viewUpdate == 0)
        return;
    m_grid->RedrawRecords(first, last);
}

std::size_t MoxData::GetStorageBytes() const noexcept
{
    return m_cells.capacity() + m_present.capacity() + m_layout.sizes.capacity() * sizeof(unsigned) +
           m_layout.offsets.capacity() * sizeof(std::size_t) + sizeof(*this);
}

plat::BOOL MoxData::QueryEnableTextCache() const { return FALSE; }

void MoxData::SetModifiedFlag(plat::BOOL modified) { m_modified = modified ? TRUE : FALSE; }

plat::BOOL MoxData::IsModified() const { return m_modified; }

plat::BOOL MoxData::ChangeDispNumber(long& /*number*/, long& /*other*/, plat::BOOL /*toColumn*/) const { return TRUE; }

plat::BOOL MoxData::GetDispCellSize(long& columns, long& rows)
{
    columns = m_itemCount;
    rows = m_recordCount;
    return TRUE;
}

unsigned MoxData::OnGetDataSize(long /*itemNo*/) const { return 0; }

plat::BOOL MoxData::OnGetText(long /*itemNo*/, long /*record*/, std::string& /*text*/) { return FALSE; }

plat::BOOL MoxData::OnGetData(long /*itemNo*/, long /*record*/, const char* /*text*/, void* /*buffer*/,
                              unsigned& /*size*/)
{
    return FALSE;
}

plat::BOOL MoxData::OnGetData(long /*itemNo*/, long /*record*/, plat::Wnd* /*editor*/, void* /*buffer*/,
                              unsigned& /*size*/)
{
    return FALSE;
}

plat::BOOL MoxData::OnDataChanging(long /*itemNo*/, long /*record*/, const void* /*newBytes*/) { return TRUE; }

void MoxData::OnDataChanged(long /*itemNo*/, long /*record*/) {}

plat::BOOL MoxData::OnQueryRemove(long /*itemNo*/, long /*record*/) { return TRUE; }

void MoxData::OnGetLastInputRecordNo(long& /*recordNo*/) const {}

void MoxData::OnEndSerialize(bool /*loading*/) {}

void MoxData::StoreTable(plat::Archive& archive) const
{
    archive.WriteBytes(kSignature, sizeof kSignature);
    archive.WriteUInt32(kFormatVersion);
    archive.WriteUInt32(static_cast<std::uint32_t>(m_itemCount));
    for (const unsigned size : m_layout.sizes)
        archive.WriteUInt32(size);
    archive.WriteUInt32(static_cast<std::uint32_t>(m_recordCount));
    archive.WriteBytes(m_present.data(), m_present.size());
    archive.WriteBytes(m_cells.data(), m_cells.size());
}

MoxData::StoredTable MoxData::LoadTable(plat::Archive& archive) const
{
    char signature[sizeof kSignature];
    archive.ReadBytes(signature, sizeof signature);
    if (std::memcmp(signature, kSignature, sizeof signature) != 0)
        throw plat::ArchiveError("not a record table: the input does not start with a record table's signature");
    const std::uint32_t version = archive.ReadUInt32();
    if (version != kFormatVersion)
        throw plat::ArchiveError("record table format version " + std::to_string(version) +
                                 " is not supported (this program reads version " + std::to_string(kFormatVersion) +
                                 ")");
    const std::uint32_t itemCount = archive.ReadUInt32();
    archive.RequireRemaining(itemCount, sizeof(std::uint32_t));
    if (itemCount > static_cast<std::uint32_t>(kMaxCount))
        throw plat::ArchiveError("record table is damaged: item count " + std::to_string(itemCount));
    StoredTable table;
    table.sizes.resize(itemCount);
    for (unsigned& size : table.sizes) {
        size = archive.ReadUInt32();
        if (size > kMaxItemSize)
            throw plat::ArchiveError("record table is damaged: an item size of " + std::to_string(size) + " bytes");
    }
    Layout layout;
    static_cast<void>(MakeLayout(table.sizes, layout)); // every size was checked above
    const std::uint32_t recordCount = archive.ReadUInt32();
    if (recordCount > static_cast<std::uint32_t>(kMaxCount))
        throw plat::ArchiveError("record table is damaged: record count " + std::to_string(recordCount));
    archive.RequireRemaining(recordCount, layout.presentStride + layout.recordSize);
    table.recordCount = static_cast<long>(recordCount);
    table.present.resize(std::size_t{recordCount} * layout.presentStride);
    archive.ReadBytes(table.present.data(), table.present.size());
    // Presence bits past the last item would make an empty record look filled.
    if (const unsigned spare = itemCount % 8; spare != 0) {
        const auto mask = static_cast<std::uint8_t>(0xFFu << spare);
        for (std::size_t record = 0; record < recordCount; ++record)
            if (table.present[(record + 1) * layout.presentStride - 1] & mask)
                throw plat::ArchiveError("record table is damaged: record " + std::to_string(record) +
                                         " marks items that do not exist");
    }
    table.cells.resize(std::size_t{recordCount} * layout.recordSize);
    archive.ReadBytes(table.cells.data(), table.cells.size());
    return table;
}

void MoxData::ApplyTable(StoredTable&& table)
{
    Layout layout;
    static_cast<void>(MakeLayout(std::move(table.sizes), layout)); // checked by LoadTable
    m_layout = std::move(layout);
    m_itemCount = static_cast<long>(m_layout.sizes.size());
    m_recordCount = table.recordCount;
    m_present = std::move(table.present);
    m_cells = std::move(table.cells);
    m_lastInput = FindLastInputFrom(m_recordCount - 1);
    m_modified = FALSE;
    RequestRedraw(0, -1);
}

void MoxData::Serialize(plat::Archive& archive)
{
    if (archive.IsStoring()) {
        StoreTable(archive);
        OnEndSerialize(false);
        return;
    }
    ApplyTable(LoadTable(archive));
    OnEndSerialize(true);
}
