/// @file
/// A yes/no attribute of the cells of a record table (disabled, or in warning), kept at four
/// granularities at once: one cell, a whole record, a whole item, the whole table.
///
/// Storage is a bit matrix of (record count + 1) rows by (item count + 1) bits. Row 0 holds
/// the all-records flags, row r + 1 belongs to record r; in every row bit 0 is the whole-row
/// flag and bit i + 1 belongs to item number i, least significant bit first, rows packed
/// without gaps. So bit 0 of row 0 is the whole-table flag and bit i + 1 of row 0 the
/// whole-item flag of item i. Items are named by identifier and mapped to item numbers by the
/// manager; an identifier it does not know maps to -1 and so addresses bit 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class TavManager;

/// A mark on cells (disabled, or in warning) by cell, record, item or the whole table. The
/// manager keeps one table of each (TavManager::AttrWarning, AttrDisable), created after the
/// bound record table; the grid shows the marks in their looks and they travel with their
/// lines through the line commands.
class TavAttr {
public:
    TavAttr() = default;
    /// Copies the marks and the manager they belong to.
    TavAttr(const TavAttr& other);
    /// Copies the marks and the manager they belong to.
    TavAttr& operator=(const TavAttr& other);
    virtual ~TavAttr();

    ///@{
    /// Sizes the table after the manager's record table as it is now and clears every mark.
    [[nodiscard]] int Create(TavManager* manager);
    [[nodiscard]] int IsCreate() const noexcept { return m_bits != nullptr; }
    ///@}

    ///@{
    /// Every Get answers FALSE while the table is not created. Records outside the table
    /// throw plat::InvalidArgument.
    [[nodiscard]] int Get() const;                        ///< the whole-table flag
    [[nodiscard]] int Get(unsigned id) const;             ///< the item's whole-item flag
    [[nodiscard]] int Get(long record) const;             ///< the record's whole-row flag
    ///@}
    /// TRUE when the cell, the table, the item or the record is marked.
    [[nodiscard]] int Get(unsigned id, long record) const;

    /// Every change does nothing at all while the table is not created, and asks the grid to
    /// repaint what it changed when redraw is non-zero.
    /// Marks the cell; clearing it also clears the record's whole-row flag.
    void Set(unsigned id, long record, int on, int redraw);
    /// The same for records first to last inclusive (nothing when first > last).
    void Set(unsigned id, long first, long last, int on, int redraw);
    /// The item's whole-item flag only.
    void Set(unsigned id, int on, int redraw);
    /// The record's whole row: its flag and every cell.
    void Set(long record, int on, int redraw);
    /// Every bit of the table.
    void Set(int on, int redraw);
    /// Moves the rows of the records at and after `record` down by count (rows pushed past
    /// the end are dropped) and clears the count rows opened; count is cut to what lies after
    /// record.
    void InsertRecord(long record, long count, int redraw);
    /// Moves the rows after the removed ones up and clears the last count rows.
    void RemoveRecord(long record, long count, int redraw);
    /// Clears every mark, keeping the table's size.
    void Reset(int redraw);
    /// The same as Reset.
    void ResetContent(int redraw);

    /// The manager whose record table the marks were sized after, or null before Create.
    [[nodiscard]] TavManager* GetManager() const noexcept { return m_manager; }
    /// Bits in a row: the item count plus the whole-row bit.
    [[nodiscard]] std::int32_t GetBitColumns() const noexcept { return m_bitColumns; }
    /// Rows: the record count plus the all-records row.
    [[nodiscard]] std::int32_t GetRows() const noexcept { return m_rows; }
    /// Bytes that one row's bits take.
    [[nodiscard]] std::int32_t GetBytesPerRow() const noexcept { return m_bytesPerRow; }
    /// Bytes of all rows together (what GetBits points at).
    [[nodiscard]] std::int32_t GetTotalBytes() const noexcept { return m_totalBytes; }
    /// The packed rows, or null while the table is not created.
    [[nodiscard]] const std::uint8_t* GetBits() const noexcept { return m_bits.get(); }

private:
    enum class Area { Cell, Records, Item, Record, Table, Window };
    [[nodiscard]] long BitOf(unsigned id) const;
    [[nodiscard]] long RowOf(long record) const;
    [[nodiscard]] bool Bit(long row, long bit) const noexcept;
    void SetBit(long row, long bit, bool on) noexcept;
    void FillRow(long row, bool on) noexcept;
    /// The one place that asks the grid to repaint a changed area.
    void RequestRedraw(Area area, unsigned id, long first, long last, int redraw) const;

    TavManager* m_manager = nullptr;
    std::unique_ptr<std::uint8_t[]> m_bits;
    std::int32_t m_bitColumns = 0;
    std::int32_t m_rows = 0;
    std::int32_t m_bytesPerRow = 0;
    std::int32_t m_totalBytes = 0;
};
