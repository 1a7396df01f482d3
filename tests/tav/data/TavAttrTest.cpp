// The attribute bit matrix: its row layout, the four granularities and the row moves.
#include "tav/data/TavAttr.h"

#include "platform/io/Errors.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

std::vector<int> Declaration(int items)
{
    std::vector<int> ids(static_cast<std::size_t>(items));
    std::iota(ids.begin(), ids.end(), 1); // identifiers 1..items are items 0..items-1
    return ids;
}

struct Fixture {
    explicit Fixture(int items, long records = 10) : manager(Declaration(items), {}, records) { manager.Bind(data); }
    TestManager manager;
    TavData data;
};

TEST(TavAttrTest, CellRecordItemAndTableMarksCombine)
{
    Fixture fixture(4);
    TavAttr& attr = fixture.manager.AttrDisable();
    attr.Set(2u, 5L, TRUE, FALSE);
    EXPECT_TRUE(attr.Get(2u, 5L));
    EXPECT_FALSE(attr.Get(2u, 4L));
    EXPECT_FALSE(attr.Get(5L)) << "a cell mark is not a record mark";

    attr.Set(7L, TRUE, FALSE);
    EXPECT_TRUE(attr.Get(1u, 7L));
    EXPECT_TRUE(attr.Get(4u, 7L));
    attr.Set(3u, 7L, FALSE, FALSE);
    EXPECT_FALSE(attr.Get(3u, 7L)) << "clearing a cell also clears the whole-row flag";
    EXPECT_TRUE(attr.Get(1u, 7L)) << "the other cells of the record keep their own bits";
    EXPECT_FALSE(attr.Get(7L));

    attr.Set(4u, TRUE, FALSE);
    for (long record = 0; record < 10; ++record)
        EXPECT_TRUE(attr.Get(4u, record)) << record;
    EXPECT_FALSE(attr.Get(1u, 0L)) << "a whole-item mark does not spread to other items";
    EXPECT_TRUE(attr.Get(4u));
    attr.Set(4u, FALSE, FALSE);
    EXPECT_FALSE(attr.Get(4u, 0L));

    attr.Set(1u, 2L, 4L, TRUE, FALSE);
    EXPECT_TRUE(attr.Get(1u, 2L) && attr.Get(1u, 4L));
    EXPECT_FALSE(attr.Get(1u, 5L));
    attr.Set(1u, 6L, 5L, TRUE, FALSE);
    EXPECT_FALSE(attr.Get(1u, 6L)) << "first > last marks nothing";

    EXPECT_FALSE(attr.Get(99u, 0L));
    attr.Set(99u, 0L, TRUE, FALSE);
    EXPECT_TRUE(attr.Get(0L)) << "an unknown identifier addresses the whole-row flag";

    attr.Set(TRUE, FALSE);
    EXPECT_TRUE(attr.Get());
    EXPECT_TRUE(attr.Get(2u, 9L));
    attr.Reset(FALSE);
    EXPECT_FALSE(attr.Get());
    EXPECT_FALSE(attr.Get(2u, 5L));
    EXPECT_THROW(static_cast<void>(attr.Get(1u, 10L)), plat::InvalidArgument);
}

TEST(TavAttrTest, InsertAndRemoveMoveRowsWithinTheSameCount)
{
    Fixture fixture(3);
    TavAttr& attr = fixture.manager.AttrWarning();
    for (long record = 0; record < 10; ++record)
        attr.Set(static_cast<unsigned>(record % 3 + 1), record, TRUE, FALSE);
    auto marks = [&] {
        std::vector<unsigned> ids;
        for (long record = 0; record < 10; ++record) {
            unsigned found = 0;
            for (unsigned id = 1; id <= 3; ++id)
                if (attr.Get(id, record))
                    found = found * 10 + id;
            ids.push_back(found);
        }
        return ids;
    };
    ASSERT_EQ(marks(), (std::vector<unsigned>{1, 2, 3, 1, 2, 3, 1, 2, 3, 1}));
    attr.InsertRecord(3, 2, FALSE);
    EXPECT_EQ(marks(), (std::vector<unsigned>{1, 2, 3, 0, 0, 1, 2, 3, 1, 2}));
    attr.RemoveRecord(3, 2, FALSE);
    EXPECT_EQ(marks(), (std::vector<unsigned>{1, 2, 3, 1, 2, 3, 1, 2, 0, 0}));
    attr.RemoveRecord(0, 20, FALSE);
    EXPECT_EQ(marks(), std::vector<unsigned>(10, 0)) << "a count past the end clears the rest";
}

TEST(TavAttrTest, UncreatedTableAnswersFalseAndCopiesAreIndependent)
{
    TavAttr empty;
    EXPECT_FALSE(empty.IsCreate());
    empty.Set(TRUE, FALSE);
    empty.InsertRecord(0, 1, FALSE);
    EXPECT_FALSE(empty.Get());
    EXPECT_FALSE(empty.Get(1u, 0L));

    Fixture fixture(2);
    TavAttr& attr = fixture.manager.AttrDisable();
    EXPECT_EQ(&attr, &fixture.manager.AttrDisable());
    attr.Set(1u, 3L, TRUE, FALSE);
    attr.Set(2u, 4L, TRUE, FALSE);
    // AttrDisable() asked again must not create afresh (which would clear the marks).
    EXPECT_TRUE(fixture.manager.AttrDisable().Get(1u, 3L));

    TavAttr copy(attr);
    attr.Set(1u, 3L, FALSE, FALSE);
    EXPECT_TRUE(copy.Get(1u, 3L)) << "a copy owns its own bits";
    EXPECT_EQ(copy.GetManager(), &fixture.manager);
    copy = empty;
    EXPECT_FALSE(copy.IsCreate()) << "assigning an uncreated table releases the storage";
    copy = attr;
    EXPECT_TRUE(copy.Get(2u, 4L));
}

} // namespace
