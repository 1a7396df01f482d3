// The record table's typed cells, identifier forms, change hooks, switches and assignment.
#include "tav/data/TavData.h"

#include "platform/io/Errors.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Items: 10 int (4), 20 long/double (8), 30 text (8), 40 radius (24), 50 short (2), 60 text (4).
class TavDataTest : public ::testing::Test {
protected:
    TavDataTest() : m_manager({10, 20, 30, 40, 50, 60}, {{10, 4}, {20, 8}, {30, 8}, {40, 24}, {50, 2}, {60, 4}}, 6)
    {
        m_manager.Bind(m_data);
    }

    std::vector<std::uint8_t> Raw(long item, long record, unsigned size)
    {
        std::vector<std::uint8_t> bytes(size);
        EXPECT_TRUE(m_data.Get(item, record, bytes.data(), size));
        return bytes;
    }

    TestManager m_manager;
    TavData m_data;
};

TEST_F(TavDataTest, WholeNumbersUseTheirCellEncodings)
{
    EXPECT_TRUE(m_data.Set(0L, 0, static_cast<unsigned char>(200)));
    EXPECT_EQ(Raw(0, 0, 4), (std::vector<std::uint8_t>{200, 0, 0, 0})) << "an unsigned char takes 4 bytes";
    const std::int32_t threeHundred = 300;
    ASSERT_TRUE(m_data.Set(0L, 1, &threeHundred, 4));
    unsigned char small = 9;
    EXPECT_TRUE(m_data.Get(0L, 1, small));
    EXPECT_EQ(small, 44) << "the low byte of the stored 32-bit value";
    EXPECT_FALSE(m_data.Get(0L, 2, small));
    EXPECT_EQ(small, 0) << "an empty cell reads as 0";

    ASSERT_TRUE(m_data.Set(1L, 0, 7L));
    double seven = 0;
    std::memcpy(&seven, Raw(1, 0, 8).data(), 8);
    EXPECT_EQ(seven, 7.0) << "a long is stored as a double";
    ASSERT_TRUE(m_data.Set(1L, 1, -2.9));
    EXPECT_EQ(CellValue<long>(m_data, 1L, 1), -2) << "a double reads back as a long truncated toward zero";
    ASSERT_TRUE(m_data.Set(1L, 2, 1e300));
    EXPECT_GT(CellValue<long>(m_data, 1L, 2), 0) << "values past a long's range saturate";
}

TEST_F(TavDataTest, TextIsCutToTheCellAtACharacterBoundary)
{
    ASSERT_TRUE(m_data.Set(2L, 0, "ABCDEFGHIJ"));
    EXPECT_EQ(Raw(2, 0, 8), (std::vector<std::uint8_t>{'A', 'B', 'C', 'D', 'E', 'F', 'G', 0}));
    EXPECT_EQ(CellValue<std::string>(m_data, 2L, 0), "ABCDEFG");

    // "座標" is 4 bytes in the narrow code page; a 4-byte cell keeps 3, which would split 標.
    ASSERT_TRUE(m_data.Set(5L, 0, std::string("座標")));
    EXPECT_EQ(Raw(5, 0, 4), (std::vector<std::uint8_t>{0x8D, 0xC0, 0, 0}));
    EXPECT_EQ(CellValue<std::string>(m_data, 5L, 0), "座");

    const char damaged[8] = {'O', 'K', '\x81', 0};
    ASSERT_TRUE(m_data.Set(2L, 2, damaged, sizeof damaged));
    EXPECT_EQ(CellValue<std::string>(m_data, 2L, 2), "OK") << "a lead byte without its second byte ends the text";

    std::string text = "kept";
    EXPECT_FALSE(m_data.Get(2L, 1, text));
    EXPECT_EQ(text, "kept") << "an empty cell leaves the string alone";
    EXPECT_FALSE(m_data.Set(2L, 1, "\xF0\x9F\x98\x80")) << "an emoji has no narrow form";
    EXPECT_TRUE(m_data.QueryIsBlank(2L, 1));
    ASSERT_TRUE(m_data.Set(2L, 1, ""));
    EXPECT_FALSE(m_data.QueryIsBlank(2L, 1)) << "an empty text is still data";
}

TEST_F(TavDataTest, RadiusCellHoldsValueAndBothFlags)
{
    HixRadius radius(HixReal(12.5));
    radius.SetRight(TRUE);
    radius.SetSmall(FALSE);
    ASSERT_TRUE(m_data.Set(3L, 0, radius));
    HixRadius read;
    EXPECT_EQ(m_data.Get(3L, 0, read), 1);
    EXPECT_EQ(read.GetR().Get(), 12.5);
    EXPECT_TRUE(read.GetRight());
    EXPECT_FALSE(read.GetSmall());

    HixRadius untouched(HixReal(3.0));
    untouched.SetSmall(TRUE);
    EXPECT_EQ(m_data.Get(3L, 1, untouched), 0);
    EXPECT_EQ(untouched.GetR().Get(), 3.0) << "an empty cell leaves the caller's radius as it was";
    EXPECT_TRUE(untouched.GetSmall());
    EXPECT_TRUE(HixRadius().GetR().IsShoki());
}

TEST_F(TavDataTest, IdentifierFormsAddressTheDeclaredItem)
{
    ASSERT_TRUE(m_data.Set(20u, 4, 1.25));
    double value = 0;
    EXPECT_EQ(CellValue<double>(m_data, 1L, 4), 1.25) << "identifier 20 is item 1";
    EXPECT_TRUE(m_data.Get(20u, 4, value));
    EXPECT_FALSE(m_data.QueryIsBlank(20u, 4));
    EXPECT_TRUE(m_data.Delete(20u, 4));
    EXPECT_TRUE(m_data.QueryIsBlank(1L, 4));
    EXPECT_THROW((void)m_data.Set(99u, 0, 1), plat::InvalidArgument) << "an undeclared identifier is no item";
    EXPECT_THROW((void)m_data.Get(99u, 0, value), plat::InvalidArgument);
}

// A host table that records its identifier hooks.
class HostData : public TavData {
public:
    using TavData::OnDataChanged;
    using TavData::OnDataChanging;
    using TavData::OnQueryRemove;

    plat::BOOL OnDataChanging(unsigned id, long record, const void* newBytes) override
    {
        std::int32_t value = 0;
        std::memcpy(&value, newBytes, sizeof value);
        m_log += "changing " + std::to_string(id) + "," + std::to_string(record) + "=" + std::to_string(value) + "; ";
        return m_allow;
    }
    void OnDataChanged(unsigned id, long record) override
    {
        m_log += "changed " + std::to_string(id) + "," + std::to_string(record) + "; ";
    }
    plat::BOOL OnQueryRemove(unsigned id, long record) override
    {
        m_log += "remove? " + std::to_string(id) + "," + std::to_string(record) + "; ";
        return m_allow;
    }

    std::string m_log;
    plat::BOOL m_allow = TRUE;
};

TEST(TavDataHooksTest, HostIsAskedAndToldByIdentifierOnlyWhileAGridShowsTheTable)
{
    TestManager manager({10, -11}, {{10, 4}, {11, 4}}, 3);
    HostData data;
    manager.Bind(data);
    ASSERT_TRUE(data.Set(1L, 0, 5));
    EXPECT_EQ(data.m_log, "") << "a table that no grid shows is filled without asking";

    manager.Bind(data, StandInWindow());
    ASSERT_TRUE(data.Set(1L, 1, 6));
    EXPECT_EQ(data.m_log, "changing 11,1=6; changed 11,1; ") << "asked before, told after, by |entry|";

    data.m_log.clear();
    data.SetChangePaneCall(false);
    ASSERT_TRUE(data.Set(0L, 1, 7));
    EXPECT_EQ(data.m_log, "changing 10,1=7; ") << "the switch stops the telling, not the asking";
    data.SetChangePaneCall(true);

    data.m_log.clear();
    data.m_allow = FALSE;
    EXPECT_FALSE(data.Set(0L, 1, 8));
    EXPECT_EQ(CellValue<int>(data, 0L, 1), 7) << "a refused write changes nothing";
    EXPECT_FALSE(data.Delete(0L, 1));
    EXPECT_FALSE(data.QueryIsBlank(0L, 1));
    EXPECT_EQ(data.m_log, "changing 10,1=8; remove? 10,1; ");

    data.m_log.clear();
    data.m_allow = TRUE;
    manager.AttrDisable().Set(10u, 1L, TRUE, FALSE);
    EXPECT_FALSE(data.Delete(0L, 1)) << "a disabled cell may not be cleared";
    EXPECT_EQ(data.m_log, "") << "the manager refuses before the host is asked";
    manager.AttrDisable().Set(10u, 1L, FALSE, FALSE);
    EXPECT_TRUE(data.Delete(0L, 1));
    EXPECT_EQ(data.m_log, "remove? 10,1; changed 10,1; ");
    EXPECT_EQ(data.Cell(), StandInWindow());
}

TEST_F(TavDataTest, SwitchesMarkTheTableModifiedOnlyWhenTheyChange)
{
    m_data.SetModifiedFlag(FALSE);
    EXPECT_TRUE(m_data.SetAutoWidthFlag(TRUE));
    EXPECT_TRUE(m_data.IsModified());
    m_data.SetModifiedFlag(FALSE);
    EXPECT_FALSE(m_data.SetAutoWidthFlag(5)) << "any non-zero is the same setting";
    EXPECT_FALSE(m_data.IsModified());
    EXPECT_TRUE(m_data.SetCellLockFlag(TRUE));
    EXPECT_FALSE(m_data.SetCellLockFlag(TRUE));
    EXPECT_TRUE(m_manager.QueryCellLock());
    m_manager.SetCellLock(FALSE);
    EXPECT_FALSE(m_data.GetCellLockFlag());
}

TEST_F(TavDataTest, AssignmentCopiesRecordsAndTemplateButKeepsTheTargetsLayout)
{
    m_data.TemplateName() = "標準";
    m_data.Template() = {30, 10};
    m_data.Width() = {80, 60};
    ASSERT_TRUE(m_data.Set(2L, 5, "copied"));

    TavData target;
    target.Width() = {1, 2, 3};
    target.Lock().Add({10, 0, 4});
    target.SetAutoWidthFlag(TRUE);
    target = m_data;
    EXPECT_EQ(CellValue<std::string>(target, 2L, 5), "copied");
    EXPECT_EQ(target.TemplateName(), "標準");
    EXPECT_EQ(target.Template(), (std::vector<unsigned>{30, 10}));
    EXPECT_EQ(target.Width(), (std::vector<unsigned>{1, 2, 3}));
    ASSERT_EQ(target.Lock().GetSize(), 1u);
    EXPECT_EQ(target.Lock().GetAt(0), (TavLockData{10, 0, 4}));
    EXPECT_TRUE(target.GetAutoWidthFlag());
    EXPECT_EQ(target.Manager(), nullptr) << "the manager is not copied";
}

} // namespace
