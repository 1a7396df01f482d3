// The base record table: cell storage, change hooks, record moves, the last-input record and
// the stored form.
#include "components/mox/MoxData.h"
#include "components/mox/MoxDeferredViews.h"
#include "components/mox/MoxCellCtrl.h"
#include "components/mox/MoxMessages.h"
#include "components/mox/MoxRectArray.h"

#include "platform/io/Errors.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/Wnd.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A table whose item sizes are given, which records what its hooks were asked and can
// refuse.
class TestTable : public MoxData {
public:
    explicit TestTable(std::vector<unsigned> sizes = {4, 8, 3}) : m_sizes(std::move(sizes)) {}

    unsigned OnGetDataSize(long itemNo) const override { return m_sizes.at(static_cast<std::size_t>(itemNo)); }

    plat::BOOL OnDataChanging(long itemNo, long record, const void* newBytes) override
    {
        long stored = -1;
        // What the cell held when asked, to prove the hook runs before the write.
        GetBuffer(itemNo, record, &stored, 1);
        std::memcpy(&m_lastNewByte, newBytes, 1);
        m_log += "changing " + std::to_string(itemNo) + "," + std::to_string(record) + " was " +
                 std::to_string(stored & 0xFF) + "; ";
        return m_allowChange;
    }
    void OnDataChanged(long itemNo, long record) override
    {
        unsigned char now = 0;
        GetBuffer(itemNo, record, &now, 1);
        m_log += "changed " + std::to_string(itemNo) + "," + std::to_string(record) + " now " + std::to_string(now) +
                 "; ";
    }
    plat::BOOL OnQueryRemove(long itemNo, long record) override
    {
        m_log += "remove? " + std::to_string(itemNo) + "," + std::to_string(record) + "; ";
        return m_allowRemove;
    }
    void OnEndSerialize(bool loading) override { m_log += loading ? "loaded; " : "stored; "; }

    std::vector<unsigned> m_sizes;
    std::string m_log;
    plat::BOOL m_allowChange = TRUE;
    plat::BOOL m_allowRemove = TRUE;
    unsigned char m_lastNewByte = 0;
};

void Put(MoxData& table, long item, long record, std::uint32_t value)
{
    ASSERT_TRUE(table.SetBuffer(item, record, &value, sizeof value));
}

std::pair<long, long> Size(const MoxData& table)
{
    long items = 0, records = 0;
    table.GetSize(items, records);
    return {items, records};
}

std::uint32_t Read(const MoxData& table, long item, long record)
{
    std::uint32_t value = 0xDEADBEEF;
    table.GetBuffer(item, record, &value, sizeof value);
    return value;
}

TEST(MoxDataTest, CellsKeepTheirBytesWithinTheItemSize)
{
    TestTable table;
    ASSERT_TRUE(table.SetSize(3, 5));
    EXPECT_EQ(Size(table), (std::pair<long, long>{3, 5}));

    const char wide[] = "ABCDEFGHIJ";
    ASSERT_TRUE(table.SetBuffer(2, 4, wide, sizeof wide)); // item 2 holds 3 bytes
    char out[8] = "zzzzzzz";
    EXPECT_TRUE(table.GetBuffer(2, 4, out, sizeof out));
    EXPECT_EQ(std::string(out, 7), "ABCzzzz") << "only the cell's 3 bytes are copied out";

    const char shortSource[1] = {'Q'};
    ASSERT_TRUE(table.SetBuffer(1, 0, "12345678", 8));
    ASSERT_TRUE(table.SetBuffer(1, 0, shortSource, 1));
    char cell[8];
    table.GetBuffer(1, 0, cell, 8);
    EXPECT_EQ(std::string(cell, 8), std::string("Q\0\0\0\0\0\0\0", 8)) << "a short source is zero-padded";

    char empty[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(table.GetBuffer(0, 3, empty, 4));
    EXPECT_EQ(std::string(empty, 4), std::string(4, '\0')) << "an empty cell reads as zeros";
    EXPECT_FALSE(table.GetBuffer(1, 1, empty, 4)) << "neighbouring cells are not touched by a write";
}

TEST(MoxDataTest, CellsOutsideTheTableThrowInvalidArgument)
{
    TestTable table;
    ASSERT_TRUE(table.SetSize(3, 2));
    std::uint32_t value = 1;
    EXPECT_THROW(table.SetBuffer(-1, 0, &value, 4), plat::InvalidArgument);
    EXPECT_THROW(table.SetBuffer(3, 0, &value, 4), plat::InvalidArgument);
    EXPECT_THROW(table.GetBuffer(0, 2, &value, 4), plat::InvalidArgument);
    EXPECT_THROW(table.Remove(0, -1), plat::InvalidArgument);
    EXPECT_THROW(table.InsertRecord(3, 1), plat::InvalidArgument);
    EXPECT_THROW(table.RemoveRecord(2, 1), plat::InvalidArgument);
    const MoxData::CellBytes cells[] = {{0, &value, 4}, {3, &value, 4}};
    EXPECT_THROW(table.StoreCells(0, cells), plat::InvalidArgument) << "each item is checked, not only the first";
    EXPECT_THROW(table.StoreCells(2, std::span(cells, 1)), plat::InvalidArgument);
    EXPECT_FALSE(table.GetBuffer(0, 0, &value, 4)) << "nothing is stored before the throw";
    EXPECT_EQ(table.GetLastInputRecordNo(), -1);
    EXPECT_FALSE(table.SetSize(-1, 2));
    EXPECT_FALSE(table.SetSize(1, -2));
}

TEST(MoxDataTest, WritesAskBeforeAndTellAfterAndRefusalsChangeNothing)
{
    TestTable table;
    ASSERT_TRUE(table.SetSize(3, 4));
    Put(table, 0, 1, 7);
    EXPECT_EQ(table.m_log, "changing 0,1 was 0; changed 0,1 now 7; ");
    EXPECT_EQ(table.m_lastNewByte, 7) << "the hook sees the bytes about to be stored";
    ASSERT_TRUE(table.IsModified());
    table.SetModifiedFlag(FALSE);

    table.m_log.clear();
    table.m_allowChange = FALSE;
    const std::uint32_t nine = 9;
    EXPECT_FALSE(table.SetBuffer(0, 1, &nine, 4));
    EXPECT_FALSE(table.SetBuffer(0, 3, &nine, 4));
    EXPECT_EQ(Read(table, 0, 1), 7u);
    EXPECT_FALSE(table.GetBuffer(0, 3, nullptr, 0));
    EXPECT_EQ(table.GetLastInputRecordNo(), 1) << "a refused write does not count as input";
    EXPECT_FALSE(table.IsModified());
    EXPECT_EQ(table.m_log, "changing 0,1 was 7; changing 0,3 was 0; ") << "refused writes are never told as done";

    table.m_log.clear();
    table.m_allowRemove = FALSE;
    EXPECT_FALSE(table.Remove(0, 1));
    EXPECT_TRUE(table.GetBuffer(0, 1, nullptr, 0));
    EXPECT_TRUE(table.Remove(1, 1)) << "clearing an empty cell needs no permission";
    EXPECT_EQ(table.m_log, "remove? 0,1; ");

    table.m_log.clear();
    table.m_allowRemove = TRUE;
    EXPECT_TRUE(table.Remove(0, 1));
    EXPECT_EQ(table.m_log, "remove? 0,1; changed 0,1 now 0; ");
    EXPECT_FALSE(table.GetBuffer(0, 1, nullptr, 0));
    EXPECT_EQ(table.GetLastInputRecordNo(), -1);
}

TEST(MoxDataTest, ModifiedHookRunsOnTheFirstChangeOrOnEveryChangeWhileShown)
{
    // A derived table passes the state on to a view's document, which may be saved (and so
    // marked unmodified) while the table stays modified.
    class Counting : public TestTable {
    public:
        void SetModifiedFlag(plat::BOOL modified) override
        {
            m_marks += modified ? 1 : 0;
            TestTable::SetModifiedFlag(modified);
        }
        int m_marks = 0;
    } table;
    ASSERT_TRUE(table.SetSize(3, 4));
    table.m_marks = 0;
    Put(table, 0, 0, 1);
    Put(table, 1, 1, 2);
    table.InsertRecord(0, 1);
    EXPECT_EQ(table.m_marks, 1) << "a table nobody shows is marked once";

    plat::Wnd view;
    table.SetView(&view);
    Put(table, 0, 0, 3);
    ASSERT_TRUE(table.Remove(0, 0));
    table.RemoveRecord(0, 1);
    EXPECT_EQ(table.m_marks, 4) << "every change of a shown table reaches the hook";
    table.SetView(nullptr);
}

// A single change's repaint is the grid's test; here, the guard that holds repaints back.
TEST(MoxDataTest, ABulkChangeRepaintsTheShowingGridOnceWhenTheOutermostGuardEnds)
{
    plat::HeadlessDriver driver;
    plat::WinApp app{"MoxDataTest", "Test", &driver};
    TestTable table;
    ASSERT_TRUE(table.SetSize(3, 50));
    plat::Wnd host;
    host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
    MoxCellCtrl grid;
    grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 100);
    grid.SendMessage(MOXM_SETDATA, reinterpret_cast<plat::WPARAM>(&table));

    grid.ValidateRect();
    {
        MoxDeferredViews outer(table);
        {
            MoxDeferredViews inner(table);
            Put(table, 0, 3, 1);
        }
        EXPECT_EQ(table.m_viewUpdate, 0) << "an inner guard leaves the switch to the outermost one";
        table.InsertRecord(0, 2);
        EXPECT_TRUE(grid.GetInvalidations().empty()) << "nothing repaints while a bulk change runs";
    }
    EXPECT_EQ(table.m_viewUpdate, 1);
    EXPECT_FALSE(grid.GetInvalidations().empty()) << "the outermost guard repaints the bulk change once it is done";
}

TEST(MoxDataTest, InsertAndRemoveRecordsKeepTheRecordCount)
{
    TestTable table({4});
    ASSERT_TRUE(table.SetSize(1, 6));
    for (long record = 0; record < 6; ++record)
        Put(table, 0, record, static_cast<std::uint32_t>(100 + record));

    ASSERT_TRUE(table.InsertRecord(2, 2));
    std::vector<std::uint32_t> values;
    std::vector<bool> filled;
    for (long record = 0; record < 6; ++record) {
        values.push_back(Read(table, 0, record));
        filled.push_back(table.GetBuffer(0, record, nullptr, 0) != 0);
    }
    EXPECT_EQ(values, (std::vector<std::uint32_t>{100, 101, 0, 0, 102, 103})) << "104 and 105 are pushed off the end";
    EXPECT_EQ(filled, (std::vector<bool>{true, true, false, false, true, true}));
    EXPECT_EQ(table.GetLastInputRecordNo(), 5);

    ASSERT_TRUE(table.RemoveRecord(0, 3));
    values.clear();
    for (long record = 0; record < 6; ++record)
        values.push_back(Read(table, 0, record));
    EXPECT_EQ(values, (std::vector<std::uint32_t>{0, 102, 103, 0, 0, 0}));
    EXPECT_EQ(table.GetLastInputRecordNo(), 2);

    ASSERT_TRUE(table.InsertRecord(0, 100)) << "a count past the end clears the rest";
    EXPECT_EQ(table.GetLastInputRecordNo(), -1);
    EXPECT_EQ(Size(table).second, 6);
}

// The last input record is kept incrementally; a random run of every operation that moves it
// is checked against a scan of the whole table after each step.
TEST(MoxDataTest, LastInputRecordFollowsEveryChange)
{
    TestTable table({1, 2, 1, 1, 1, 1, 1, 1, 1, 1}); // ten items: two presence bytes a record
    constexpr long kRecords = 40;
    ASSERT_TRUE(table.SetSize(10, kRecords));
    std::mt19937 random(12345);
    auto pick = [&](long bound) { return static_cast<long>(random() % static_cast<unsigned>(bound)); };
    auto scan = [&] {
        for (long record = kRecords - 1; record >= 0; --record)
            for (long item = 0; item < 10; ++item)
                if (table.GetBuffer(item, record, nullptr, 0))
                    return record;
        return -1L;
    };
    for (int step = 0; step < 3000; ++step) {
        const long item = pick(10);
        const long record = pick(kRecords);
        switch (pick(10)) {
        case 0: table.InsertRecord(record, pick(4)); break;
        case 1: table.RemoveRecord(record, pick(4)); break;
        case 2: case 3: case 4: case 5: {
            const char byte = 1;
            table.SetBuffer(item, record, &byte, 1);
            break;
        }
        default: {
            // Clear the last record's cells more often than others, as that is where the
            // answer has to move down.
            const long last = table.GetLastInputRecordNo();
            table.Remove(item, last >= 0 && pick(2) ? last : record);
        }
        }
        ASSERT_EQ(table.GetLastInputRecordNo(), scan()) << "after step " << step;
    }
}

TEST(MoxDataTest, ResizingAndAddingItemsKeepsTheCells)
{
    TestTable table({4, 4});
    ASSERT_TRUE(table.SetSize(2, 3));
    Put(table, 0, 2, 0x11223344);
    Put(table, 1, 0, 0x55667788);

    table.m_sizes = {2, 4, 8};
    ASSERT_TRUE(table.AddItem(1));
    EXPECT_EQ(table.GetItemCount(), 3);
    EXPECT_EQ(Read(table, 0, 2), 0x11223344u) << "adding an item does not touch the cells";
    EXPECT_EQ(table.GetItemSize(2), 8u);

    ASSERT_TRUE(table.SetSize(3, 2)); // item 0 shrinks to 2 bytes, record 2 goes
    EXPECT_EQ(Read(table, 1, 0), 0x55667788u);
    EXPECT_EQ(table.GetLastInputRecordNo(), 0);
    ASSERT_TRUE(table.SetSize(3, 4));
    EXPECT_FALSE(table.GetBuffer(0, 2, nullptr, 0)) << "records that come back are empty";
}

TEST(MoxDataTest, AssignmentCopiesCellsDeeply)
{
    TestTable source;
    ASSERT_TRUE(source.SetSize(3, 3));
    Put(source, 0, 2, 42);
    TestTable target({8});
    ASSERT_TRUE(target.SetSize(1, 10));
    target = source;
    EXPECT_EQ(Size(target), (std::pair<long, long>{3, 3}));
    EXPECT_EQ(Read(target, 0, 2), 42u);
    EXPECT_EQ(target.GetLastInputRecordNo(), 2);
    Put(source, 0, 2, 43);
    EXPECT_EQ(Read(target, 0, 2), 42u) << "the copy shares nothing with its source";
}

std::vector<std::uint8_t> Stored(MoxData& table)
{
    plat::Archive archive = plat::Archive::ForStoring();
    table.Serialize(archive);
    return archive.TakeBytes();
}

TEST(MoxDataTest, StoredTableLoadsBackWithPresence)
{
    TestTable table;
    ASSERT_TRUE(table.SetSize(3, 4));
    Put(table, 0, 1, 5);
    const std::uint32_t zero = 0;
    ASSERT_TRUE(table.SetBuffer(0, 2, &zero, 4)); // a stored zero is data, not an empty cell
    table.m_log.clear();
    const std::vector<std::uint8_t> bytes = Stored(table);
    EXPECT_EQ(table.m_log, "stored; ");
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "MOXT");

    TestTable loaded({1});
    plat::Archive archive = plat::Archive::ForLoading(bytes);
    loaded.Serialize(archive);
    EXPECT_EQ(archive.Remaining(), 0u);
    EXPECT_EQ(loaded.m_log, "loaded; ");
    EXPECT_EQ(loaded.GetItemCount(), 3);
    EXPECT_EQ(loaded.GetItemSize(1), 8u);
    EXPECT_EQ(Read(loaded, 0, 1), 5u);
    EXPECT_TRUE(loaded.GetBuffer(0, 2, nullptr, 0));
    EXPECT_FALSE(loaded.GetBuffer(1, 2, nullptr, 0));
    EXPECT_EQ(loaded.GetLastInputRecordNo(), 2);
    EXPECT_FALSE(loaded.IsModified());
}

TEST(MoxDataTest, DamagedInputIsRefusedAndChangesNothing)
{
    TestTable table;
    ASSERT_TRUE(table.SetSize(3, 4));
    Put(table, 2, 3, 0xABCDEF);
    const std::vector<std::uint8_t> good = Stored(table);

    TestTable target({4});
    ASSERT_TRUE(target.SetSize(1, 2));
    Put(target, 0, 1, 77);
    auto refused = [&](std::vector<std::uint8_t> bytes, const char* why) {
        plat::Archive archive = plat::Archive::ForLoading(std::move(bytes));
        EXPECT_THROW(target.Serialize(archive), plat::ArchiveError) << why;
        EXPECT_EQ(target.GetItemCount(), 1) << why;
        EXPECT_EQ(Read(target, 0, 1), 77u) << why;
    };
    for (std::size_t length = 0; length < good.size(); ++length)
        refused(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)),
                "truncated input");

    std::vector<std::uint8_t> bytes = good;
    bytes[0] = 'X';
    refused(bytes, "another kind of file");
    bytes = good;
    bytes[4] = 2;
    refused(bytes, "a later format version");
    bytes = good;
    bytes[8] = 0xFF; // item count
    bytes[11] = 0x7F;
    refused(bytes, "an item count larger than the input");
    bytes = good;
    const std::size_t recordCountAt = 12 + 3 * 4;
    bytes[recordCountAt + 3] = 0x10;
    refused(bytes, "a record count larger than the input");
    bytes = good;
    bytes[recordCountAt + 4] = 0x80; // record 0 marks item 7 of 3
    refused(bytes, "presence of items that do not exist");
}

TEST(MoxRectArrayTest, RangesAreNormalisedAndKeepTheirFlags)
{
    MoxRectArray ranges;
    ranges.Add(MoxRect({0, 5}, {3, 2}), MoxRectArray::kWholeLines);
    ranges.Add(MoxRect({1, 1}, {1, 1}));
    EXPECT_EQ(ranges.GetAt(0).Top(), 2) << "corners may be given in either order";
    EXPECT_EQ(ranges.GetAt(0).RowCount(), 4);
    EXPECT_FALSE(ranges.GetAt(0).Contains({4, 3}));
    EXPECT_FALSE(MoxRect().Contains({0, 0}));
    EXPECT_EQ(ranges.GetFlagArray(), (std::vector<std::uint8_t>{MoxRectArray::kWholeLines, 0}));
    EXPECT_THROW(static_cast<void>(ranges.GetAt(2)), plat::InvalidArgument);
}

} // namespace

TEST(ZeroedBytesTest, StorageGivenUpAndTakenAgainComesBackZero)
{
    for (const std::size_t size : {std::size_t{64}, std::size_t{3} << 20}) { // calloc, and a mapping
        ZeroedBytes block(size);
        EXPECT_EQ(std::count(block.begin(), block.end(), 0), static_cast<std::ptrdiff_t>(size)) << size;
        std::fill(block.begin(), block.end(), 0xAB);
        ResizeZeroed(block, size / 2);
        ResizeZeroed(block, size);
        EXPECT_EQ(block[size / 2], 0) << "grown within its capacity, " << size;
        EXPECT_EQ(block[size - 1], 0);
        EXPECT_EQ(block[size / 2 - 1], 0xAB) << "what was kept stays";
    }
}
