// The cell attribute bit matrix.
#include "tav/data/TavAttr.h"

#include "components/mox/MoxCellCtrl.h"
#include "platform/io/Errors.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {
std::size_t ToIndex(long value) noexcept { return static_cast<std::size_t>(value); }
} // namespace

TavAttr::TavAttr(const TavAttr& other)
    : m_manager(other.m_manager), m_bitColumns(other.m_bitColumns), m_rows(other.m_rows),
      m_bytesPerRow(other.m_bytesPerRow), m_totalBytes(other.m_totalBytes)
{
    if (other.m_bits) {
        m_bits = std::make_unique<std::uint8_t[]>(ToIndex(m_totalBytes));
        std::memcpy(m_bits.get(), other.m_bits.get(), ToIndex(m_totalBytes));
    }
}

TavAttr& TavAttr::operator=(const TavAttr& other)
{
    if (this == &other)
        return *this;
    TavAttr copy(other);
    m_manager = copy.m_manager;
    m_bits = std::move(copy.m_bits);
    m_bitColumns = copy.m_bitColumns;
    m_rows = copy.m_rows;
    m_bytesPerRow = copy.m_bytesPerRow;
    m_totalBytes = copy.m_totalBytes;
    return *this;
}

TavAttr::~TavAttr() = default;

int TavAttr::Create(TavManager* manager)
{
    long items = 0;
    long records = 0;
    if (manager != nullptr && manager->Data() != nullptr)
        manager->Data()->GetSize(items, records);
    const long bitColumns = items + 1;
    const long bytesPerRow = (bitColumns + 7) / 8;
    const long rows = records + 1;
    const long long total = static_cast<long long>(bytesPerRow) * rows;
    if (total > 0x7FFFFFFF)
        throw plat::InvalidArgument("attribute table of " + std::to_string(items) + " items by " +
                                    std::to_string(records) + " records is too large");
    m_bits = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(total));
    m_manager = manager;
    m_bitColumns = static_cast<std::int32_t>(bitColumns);
    m_rows = static_cast<std::int32_t>(rows);
    m_bytesPerRow = static_cast<std::int32_t>(bytesPerRow);
    m_totalBytes = static_cast<std::int32_t>(total);
    return TRUE;
}

long TavAttr::BitOf(unsigned id) const
{
    const long item = m_manager ? m_manager->IDtoItemNo(id) : -1;
    const long bit = item + 1;
    if (bit < 0 || bit >= m_bitColumns)
        throw plat::InvalidArgument("item " + std::to_string(item) + " is outside the attribute table of " +
                                    std::to_string(m_bitColumns - 1) + " items");
    return bit;
}

long TavAttr::RowOf(long record) const
{
    if (record < 0 || record >= m_rows - 1)
        throw plat::InvalidArgument("record " + std::to_string(record) + " is outside the attribute table of " +
                                    std::to_string(m_rows - 1) + " records");
    return record + 1;
}

bool TavAttr::Bit(long row, long bit) const noexcept
{
    return (m_bits[ToIndex(row) * ToIndex(m_bytesPerRow) + ToIndex(bit) / 8] >> (bit % 8)) & 1u;
}

void TavAttr::SetBit(long row, long bit, bool on) noexcept
{
    std::uint8_t& byte = m_bits[ToIndex(row) * ToIndex(m_bytesPerRow) + ToIndex(bit) / 8];
    const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
    byte = on ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

void TavAttr::FillRow(long row, bool on) noexcept
{
    std::memset(m_bits.get() + ToIndex(row) * ToIndex(m_bytesPerRow), on ? 0xFF : 0, ToIndex(m_bytesPerRow));
}

int TavAttr::Get() const { return IsCreate() && Bit(0, 0) ? TRUE : FALSE; }

int TavAttr::Get(unsigned id) const { return IsCreate() && Bit(0, BitOf(id)) ? TRUE : FALSE; }

int TavAttr::Get(long record) const { return IsCreate() && Bit(RowOf(record), 0) ? TRUE : FALSE; }

int TavAttr::Get(unsigned id, long record) const
{
    if (!IsCreate())
        return FALSE;
    const long bit = BitOf(id);
    const long row = RowOf(record);
    return Bit(row, bit) || Bit(0, 0) || Bit(0, bit) || Bit(row, 0) ? TRUE : FALSE;
}

void TavAttr::Set(unsigned id, long record, int on, int redraw)
{
    if (!IsCreate())
        return;
    const long bit = BitOf(id);
    const long row = RowOf(record);
    SetBit(row, bit, on != 0);
    if (!on)
        SetBit(row, 0, false);
    RequestRedraw(Area::Cell, id, record, record, redraw);
}

void TavAttr::Set(unsigned id, long first, long last, int on, int redraw)
{
    if (!IsCreate() || first > last)
        return;
    const long bit = BitOf(id);
    // Both ends are checked before any bit changes, so a bad range changes nothing.
    static_cast<void>(RowOf(first));
    static_cast<void>(RowOf(last));
    for (long record = first; record <= last; ++record) {
        SetBit(record + 1, bit, on != 0);
        if (!on)
            SetBit(record + 1, 0, false);
    }
    RequestRedraw(Area::Records, id, first, last, redraw);
}

void TavAttr::Set(unsigned id, int on, int redraw)
{
    if (!IsCreate())
        return;
    SetBit(0, BitOf(id), on != 0);
    RequestRedraw(Area::Item, id, 0, -1, redraw);
}

void TavAttr::Set(long record, int on, int redraw)
{
    if (!IsCreate())
        return;
    FillRow(RowOf(record), on != 0);
    RequestRedraw(Area::Record, 0, record, record, redraw);
}

void TavAttr::Set(int on, int redraw)
{
    if (!IsCreate())
        return;
    std::memset(m_bits.get(), on ? 0xFF : 0, ToIndex(m_totalBytes));
    RequestRedraw(Area::Table, 0, 0, -1, redraw);
}

void TavAttr::InsertRecord(long record, long count, int redraw)
{
    if (!IsCreate())
        return;
    const long records = m_rows - 1;
    if (record < 0 || record > records || count < 0)
        throw plat::InvalidArgument("cannot insert " + std::to_string(count) + " attribute rows at record " +
                                    std::to_string(record) + " of " + std::to_string(records));
    count = std::min(count, records - record);
    const std::size_t stride = ToIndex(m_bytesPerRow);
    std::uint8_t* at = m_bits.get() + (ToIndex(record) + 1) * stride;
    const std::size_t moved = ToIndex(records - record - count);
    std::memmove(at + ToIndex(count) * stride, at, moved * stride);
    std::memset(at, 0, ToIndex(count) * stride);
    RequestRedraw(Area::Window, 0, record, -1, redraw);
}

void TavAttr::RemoveRecord(long record, long count, int redraw)
{
    if (!IsCreate())
        return;
    const long records = m_rows - 1;
    if (record < 0 || record > records || count < 0)
        throw plat::InvalidArgument("cannot remove " + std::to_string(count) + " attribute rows at record " +
                                    std::to_string(record) + " of " + std::to_string(records));
    count = std::min(count, records - record);
    const std::size_t stride = ToIndex(m_bytesPerRow);
    std::uint8_t* at = m_bits.get() + (ToIndex(record) + 1) * stride;
    const std::size_t moved = ToIndex(records - record - count);
    std::memmove(at, at + ToIndex(count) * stride, moved * stride);
    std::memset(at + moved * stride, 0, ToIndex(count) * stride);
    RequestRedraw(Area::Window, 0, record, -1, redraw);
}

void TavAttr::Reset(int redraw)
{
    if (!IsCreate())
        return;
    std::memset(m_bits.get(), 0, ToIndex(m_totalBytes));
    RequestRedraw(Area::Window, 0, 0, -1, redraw);
}

void TavAttr::ResetContent(int redraw) { Reset(redraw); }

void TavAttr::RequestRedraw(Area area, unsigned id, long first, long last, int redraw) const
{
    if (!redraw || m_manager == nullptr)
        return;
    // Only a grid on screen is asked: a bound window need not have been created yet, and a
    // hidden one paints everything when it is shown.
    plat::Wnd* cell = m_manager->Cell();
    auto* grid = plat::IsWindow(cell) ? dynamic_cast<MoxCellCtrl*>(cell) : nullptr;
    if (grid == nullptr || !grid->IsWindowVisible())
        return;
    // The grid repaints without erasing: a cell or a run of records of one item, an item to
    // the window's edge, a record across the grid, or the whole window.
    switch (area) {
    case Area::Cell:
    case Area::Records:
    case Area::Item: {
        const long column = m_manager->IDtoCol(id);
        if (column >= 0)
            grid->RedrawCells(column, column, first, last);
        return;
    }
    case Area::Record:
        grid->RedrawRecords(first, last);
        return;
    case Area::Table:
    case Area::Window:
        grid->Invalidate(FALSE);
        return;
    }
}
