// The undo history of a record table: steps taken back and done again byte for byte, the
// memory limit, a refusing host, and the modified mark.
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Table {
    TestManager manager{{10, 11, 12}, {{10, 4}, {11, 8}, {12, 16}}, 40};
    RefusingRecords data;
    Table()
    {
        manager.Bind(data, StandInWindow());
        for (long r = 0; r < 30; ++r) {
            EXPECT_TRUE(data.Set(0L, r, static_cast<int>(r)));
            if (r % 3 == 0) {
                EXPECT_TRUE(data.Set(2L, r, ("text " + std::to_string(r)).c_str()));
            }
        }
        manager.AttrWarning().Set(11u, 5L, TRUE, FALSE);
        manager.AttrDisable().Set(7L, TRUE, FALSE);
        manager.AttrWarning().Set(12u, 38L, TRUE, FALSE);
        data.SetModifiedFlag(FALSE);
    }
    std::vector<std::uint8_t> Now() { return TableState(data, manager); }
};

} // namespace

TEST(TavUndoHistoryTest, OldestStepsGoPastTheLimitAndAStepLargerThanItKeepsNothing)
{
    Table t;
    TavUndoHistory& history = t.data.History();
    for (int k = 0; k < 10; ++k) {
        history.OpenStep("step " + std::to_string(k));
        EXPECT_TRUE(t.data.Set(0L, k, 1000 + k));
        history.CloseStep();
    }
    const std::size_t all = history.GetBytes();
    history.SetLimit(all / 2);
    EXPECT_LE(history.GetBytes(), all / 2);
    EXPECT_LT(history.GetStepCount(), 10u);
    EXPECT_GE(history.GetStepCount(), 3u);
    EXPECT_EQ(history.UndoName(), "step 9") << "the newest steps stay";
    while (history.Undo()) {
    }
    EXPECT_EQ(CellValue<int>(t.data, 0L, 0), 1000) << "the oldest step was dropped, so its change stays";

    history.SetLimit(1000);
    history.OpenStep("large");
    history.AddRemovedRecords(0, 30);
    t.data.RemoveRecord(0, 30);
    history.CloseStep();
    EXPECT_EQ(history.GetStepCount(), 0u);
    EXPECT_EQ(history.GetBytes(), 0u);
    EXPECT_FALSE(history.CanUndo());
}

TEST(TavUndoHistoryTest, ARefusedUndoOrRedoLeavesTheTableAsItWas)
{
    Table t;
    TavUndoHistory& history = t.data.History();
    history.OpenStep("貼り付け");
    for (long r = 0; r < 6; ++r)
        EXPECT_TRUE(t.data.Set(1L, r, 3.0 * r));
    history.AddRemovedRecords(20, 2);
    t.data.RemoveRecord(20, 2);
    t.manager.AttrWarning().RemoveRecord(20, 2, 0);
    t.manager.AttrDisable().RemoveRecord(20, 2, 0);
    EXPECT_TRUE(t.data.Delete(0L, 2));
    history.CloseStep();
    const auto after = t.Now();

    t.data.refused = {3}; // the host no longer lets record 3 change
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(t.Now(), after) << "nothing of the step is half undone";
    EXPECT_TRUE(history.CanUndo()) << "the step stays to be tried again";

    t.data.refused.clear();
    ASSERT_TRUE(history.Undo());
    const auto before = t.Now();
    t.data.refused = {2};
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(t.Now(), before);
    t.data.refused.clear();
    EXPECT_TRUE(history.Redo());
    EXPECT_EQ(t.Now(), after);

    // A command refused part way puts back what it wrote without asking and files nothing.
    history.OpenStep("一括訂正");
    EXPECT_TRUE(t.data.Set(0L, 8, 5));
    EXPECT_TRUE(t.data.Set(0L, 9, 6));
    history.CancelStep();
    EXPECT_EQ(t.Now(), after);
    EXPECT_EQ(history.UndoName(), "貼り付け");
}

TEST(TavUndoHistoryTest, TheModifiedMarkFollowsTheSavedPoint)
{
    Table t;
    TavUndoHistory& history = t.data.History();
    EXPECT_FALSE(t.data.IsModified());
    for (int k = 0; k < 2; ++k) {
        history.OpenStep("入力");
        EXPECT_TRUE(t.data.Set(0L, 0, 50 + k));
        history.CloseStep();
    }
    EXPECT_TRUE(t.data.IsModified());
    ASSERT_TRUE(history.Undo());
    EXPECT_TRUE(t.data.IsModified());
    ASSERT_TRUE(history.Undo());
    EXPECT_FALSE(t.data.IsModified()) << "back at the state last saved";
    ASSERT_TRUE(history.Redo());
    EXPECT_TRUE(t.data.IsModified());

    t.data.SetModifiedFlag(FALSE); // saved after one step
    ASSERT_TRUE(history.Redo());
    ASSERT_TRUE(history.Undo());
    EXPECT_FALSE(t.data.IsModified());
    EXPECT_TRUE(t.data.Set(0L, 5, 1)); // the host changes the table outside any step
    ASSERT_TRUE(history.Redo());
    ASSERT_TRUE(history.Undo());
    EXPECT_TRUE(t.data.IsModified()) << "no point of the history is what was saved any more";
}
