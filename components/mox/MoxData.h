// The base record table: items by records, each cell a byte buffer of its item's fixed size.
// The grid reads and writes cells only through this class, and the library's record table
// derives from it to translate item numbers and answer the grid's questions.
//
// Storage is laid out for tables of a million records: one contiguous block of records of
// fixed size (each item at a fixed offset) and, beside it, one presence bit per cell packed
// into a row of bytes per record. No cell owns an allocation; inserting or removing records
// is one move of the bytes after the point in each block, and the last record holding data
// is kept up to date by every write, so asking for it costs nothing.
#pragma once

#include "components/mox/ZeroedBytes.h"
#include "platform/io/Archive.h"
#include "platform/ui/Types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class MoxCellCtrl;

class MoxData {
public:
    // The flag is kept for the callers that pass it; every table starts empty.
    explicit MoxData(bool flag = true);
    virtual ~MoxData();

    // Copying a table is its assignment (a deep copy of the cells); constructing one table
    // from another is not offered, so that a derived table is never sliced by accident.
    MoxData(const MoxData&) = delete;
    MoxData& operator=(const MoxData& other);

    // View-update switch: 1 in normal work; 0 suppresses the redraw that every change of a
    // cell asks for, while a bulk change runs (it then calls Update once).
    int m_viewUpdate = 1;

    // Appends count items after the present ones, each sized by OnGetDataSize; the cells
    // already held keep their values. Returns FALSE (nothing changed) when the table would
    // not fit in memory.
    plat::BOOL AddItem(long count);
    // Sizes the table to itemCount items (each asked of OnGetDataSize) by recordCount
    // records. Cells that exist before and after keep their bytes, cut or zero-padded to
    // the new item size. FALSE (nothing changed) for negative counts or when the table would
    // not fit in memory.
    plat::BOOL SetSize(long itemCount, long recordCount);
    void GetSize(long& itemCount, long& recordCount) const noexcept;
    [[nodiscard]] long GetItemCount() const noexcept { return m_itemCount; }
    [[nodiscard]] long GetRecordCount() const noexcept { return m_recordCount; }
    // The cell size of an item as laid out now.
    [[nodiscard]] unsigned GetItemSize(long itemNo) const;

    // Copies min(count, cell size) bytes of the cell to destination (zeros for an empty
    // cell) and leaves the rest of destination alone. Non-zero when the cell holds data.
    // An item or record outside the table throws plat::InvalidArgument, as in every cell
    // operation below.
    plat::BOOL GetBuffer(long itemNo, long record, void* destination, unsigned count) const;
    // Stores count bytes (at most the cell size; a shorter source is zero-padded) after
    // OnDataChanging agrees, then tells OnDataChanged. FALSE when refused: nothing changed.
    plat::BOOL SetBuffer(long itemNo, long record, const void* source, unsigned count);
    // Stores a cell as SetBuffer does, but asks no hook and tells none: for a bulk change of
    // many records whose caller has asked the host its own questions first and records its
    // own undo part, where a hook call and an undo entry per cell would cost more than the
    // change. The view is not asked to redraw; the caller calls Update once at the end.
    void StoreCell(long itemNo, long record, const void* source, unsigned count);
    // Several cells of one record stored as StoreCell stores each: for an import of many
    // whole records, where checking the record and marking the table once a record rather
    // than once a cell is a good part of the cost. A cell outside the table throws before
    // any is stored.
    struct CellBytes {
        long itemNo;
        const void* source;
        unsigned count;
    };
    void StoreCells(long record, std::span<const CellBytes> cells);
    // Clears a cell after OnQueryRemove agrees, then tells OnDataChanged. Clearing an empty
    // cell succeeds without asking. FALSE when refused.
    plat::BOOL Remove(long itemNo, long record);
    // The record count stays the same: inserting pushes the last count records off the end,
    // removing brings count empty records in at the end. record may equal the record count
    // for an insert (which then changes nothing); count is cut to what lies after record.
    plat::BOOL InsertRecord(long record, long count);
    plat::BOOL RemoveRecord(long record, long count);
    // A raw copy of count records from record (their cells and which cells hold data), for
    // a command that must put lines back exactly as they were when a hook refuses part way:
    // neither call asks a hook or tells one. Records outside the table throw
    // plat::InvalidArgument; an image of another size than the records is refused the same way.
    [[nodiscard]] std::vector<std::uint8_t> SaveRecords(long record, long count) const;
    void RestoreRecords(long record, long count, const std::vector<std::uint8_t>& image);
    // Rearranges records first .. first + from.size() - 1: record first + i takes what record
    // from[i] held (-1: nothing), each from[i] within the same span. Asks no hook and tells
    // none: the records only change places, as in an insert or a removal.
    void ReorderRecords(long first, const std::vector<long>& from);
    // The last record that holds any data, -1 when none does.
    [[nodiscard]] long GetLastInputRecordNo() const;
    // Asks the views to refresh records first to last (-1 = to the end).
    void Update(long first, long last, plat::BOOL redraw);

    // The grid window that shows this table, or null; not owned. A grid sets itself here when
    // it takes the table, and from then on every change of the table repaints it.
    void SetView(plat::Wnd* view) noexcept;
    [[nodiscard]] plat::Wnd* GetView() const noexcept { return m_view; }

    // Bytes held by the table's storage, for sizing and measurement.
    [[nodiscard]] std::size_t GetStorageBytes() const noexcept;

    // Stores or loads the table. The stored form: the signature "MOXT", the format version,
    // the item count and each item's size, the record count, the presence rows, the record
    // block. Loading validates every count against what remains of the input and replaces
    // the table only when all of it was read: a damaged input throws plat::ArchiveError and
    // leaves the table as it was.
    virtual void Serialize(plat::Archive& archive);

    // Hooks, in the order the derived tables know them.
    [[nodiscard]] virtual plat::BOOL QueryEnableTextCache() const;
    virtual void SetModifiedFlag(plat::BOOL modified);
    [[nodiscard]] virtual plat::BOOL IsModified() const;
    // Turns an item number into its column (toColumn) or back; the base shows items in
    // their own order.
    virtual plat::BOOL ChangeDispNumber(long& number, long& other, plat::BOOL toColumn) const;
    virtual plat::BOOL GetDispCellSize(long& columns, long& rows);
    // The cell size of an item, asked when the table is sized or items are added.
    [[nodiscard]] virtual unsigned OnGetDataSize(long itemNo) const;
    virtual plat::BOOL OnGetText(long itemNo, long record, std::string& text);
    virtual plat::BOOL OnGetData(long itemNo, long record, const char* text, void* buffer, unsigned& size);
    virtual plat::BOOL OnGetData(long itemNo, long record, plat::Wnd* editor, void* buffer, unsigned& size);
    // Asked before a cell is written; zero refuses the write.
    virtual plat::BOOL OnDataChanging(long itemNo, long record, const void* newBytes);
    // Told after a cell was written or cleared.
    virtual void OnDataChanged(long itemNo, long record);
    // Asked before a cell is cleared; zero refuses.
    virtual plat::BOOL OnQueryRemove(long itemNo, long record);
    // May adjust the answer of GetLastInputRecordNo.
    virtual void OnGetLastInputRecordNo(long& recordNo) const;
    virtual void OnEndSerialize(bool loading);

protected:
    // A stored table read in full but not yet applied, so that a derived table can read
    // its own part too and then apply both, or neither.
    struct StoredTable {
        std::vector<unsigned> sizes;
        long recordCount = 0;
        ZeroedBytes present;
        ZeroedBytes cells;
    };
    void StoreTable(plat::Archive& archive) const;
    [[nodiscard]] StoredTable LoadTable(plat::Archive& archive) const;
    void ApplyTable(StoredTable&& table);

private:
    struct Layout {
        std::vector<unsigned> sizes;
        std::vector<std::size_t> offsets;
        std::size_t recordSize = 0;
        std::size_t presentStride = 0;
    };
    [[nodiscard]] static bool MakeLayout(std::vector<unsigned> sizes, Layout& layout);
    plat::BOOL Relayout(std::vector<unsigned> sizes, long recordCount);
    void CheckCell(long itemNo, long record) const;
    [[nodiscard]] bool RecordHasData(long record) const noexcept;
    // The last record at or before `from` that holds data, or -1.
    [[nodiscard]] long FindLastInputFrom(long from) const noexcept;
    void MarkModified();
    // The one place that asks the grid to repaint records first..last (-1 = to the end).
    void RequestRedraw(long first, long last) const;

    long m_itemCount = 0;
    long m_recordCount = 0;
    Layout m_layout;
    ZeroedBytes m_cells;
    ZeroedBytes m_present;
    long m_lastInput = -1;
    plat::BOOL m_modified = FALSE;
    plat::Wnd* m_view = nullptr;
    MoxCellCtrl* m_grid = nullptr; // m_view when it is a grid, found once
};
