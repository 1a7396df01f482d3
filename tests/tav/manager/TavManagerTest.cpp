// The manager's numbering between items, identifiers and columns, and its hooks' defaults.
#include "tav/manager/TavManager.h"

#include "platform/io/Errors.h"
#include "platform/resource/Module.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TavManagerTest, NumberingUsesTheAbsoluteIdentifierAndTheTemplate)
{
    TestManager manager({10, -11, 12}, {{10, 4}, {11, 8}, {12, 2}}, 5);
    TavData data;
    manager.Bind(data);
    EXPECT_EQ(manager.ItemNotoID(1), 11u);
    EXPECT_EQ(manager.IDtoItemNo(11), 1);
    EXPECT_EQ(manager.IDtoItemNo(99), -1);
    EXPECT_EQ(manager.IDtoCol(10), -1) << "no column shows an item before there is a template";
    EXPECT_EQ(manager.ColtoID(1), 11u) << "an unmapped column is taken as an item number";

    data.Template() = {12, 10};
    manager.CreateTemplateMap();
    EXPECT_EQ(manager.ColtoID(0), 12u);
    EXPECT_EQ(manager.ColtoID(1), 10u);
    EXPECT_EQ(manager.IDtoCol(10), 1);
    EXPECT_EQ(manager.IDtoCol(11), -1);
    EXPECT_EQ(manager.IDtoCol(99), -1);

    long number = 2;
    long unused = 0;
    EXPECT_TRUE(data.ChangeDispNumber(number, unused, TRUE));
    EXPECT_EQ(number, 0) << "item 2 (identifier 12) is shown in column 0";
    EXPECT_TRUE(data.ChangeDispNumber(number, unused, FALSE));
    EXPECT_EQ(number, 2);
    number = 1;
    EXPECT_FALSE(data.ChangeDispNumber(number, unused, TRUE));
    EXPECT_EQ(number, 1) << "an item that is not shown keeps its number";

    long columns = 0, rows = 0;
    EXPECT_TRUE(data.GetDispCellSize(columns, rows));
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(rows, 5);
    data.Template().clear();
    data.GetDispCellSize(columns, rows);
    EXPECT_EQ(columns, 3) << "without a template every item is a column";

    EXPECT_EQ(manager.GetRecordSize(), 14u);
    EXPECT_EQ(data.OnGetDataSize(1), 8u);
    EXPECT_THROW(static_cast<void>(data.OnGetDataSize(3)), plat::InvalidArgument);
    EXPECT_THROW(static_cast<void>(manager.ItemNotoID(-1)), plat::InvalidArgument);
}

TEST(TavManagerTest, RepeatedIdentifiersFollowTheirOwnRules)
{
    // Identifier 7 is declared twice: the identifier map keeps the later item, the template
    // maps the first item and the first column.
    TestManager manager({7, 8, -7}, {}, 2);
    TavData data;
    manager.Bind(data);
    data.Template() = {8, 7, 7};
    manager.CreateTemplateMap();
    EXPECT_EQ(manager.IDtoItemNo(7), 2);
    EXPECT_EQ(manager.ColtoID(2), 7u);
    long number = 0;
    long unused = 0;
    EXPECT_TRUE(data.ChangeDispNumber(number, unused, TRUE));
    EXPECT_EQ(number, 1);
    number = 2;
    EXPECT_TRUE(data.ChangeDispNumber(number, unused, FALSE));
    EXPECT_EQ(number, 0) << "column 2 shows identifier 7, first declared as item 0";
    EXPECT_EQ(manager.IDtoCol(7), 1) << "the later item 2 also finds the first column of 7";
}

TEST(TavManagerTest, HeadingsLineNumbersAndActiveCellsByDefault)
{
    plat::Module module("host");
    module.AddString(10, "Northing coordinate\nN");
    module.AddString(12, "Remarks\nNote\nextra");
    module.AddString(14, "No heading");
    TestManager manager({10, 12, 14, 16}, {}, 3, &module);
    TavData data;
    manager.Bind(data);
    data.Template() = {12, 10, 16, 14};

    std::string text = "before";
    MoxPos pos{0, 41};
    EXPECT_TRUE(manager.OnSetFixedColText(pos, text));
    EXPECT_EQ(text, "42") << "row headings are line numbers from 1";
    // The heading of a column, given this text to start from.
    const auto heading = [&](std::int32_t column, std::string shown) {
        EXPECT_TRUE(manager.OnSetFixedRowText(MoxPos{column, 41}, shown));
        return shown;
    };
    EXPECT_EQ(heading(0, ""), "Note") << "the second field of the column's identifier string";
    EXPECT_EQ(heading(1, ""), "N");
    EXPECT_EQ(heading(2, "unchanged"), "unchanged") << "a missing string leaves the text as it was";
    EXPECT_EQ(heading(3, "x"), "") << "a string without a second field gives an empty heading";
    pos.column = 4;
    EXPECT_THROW((void)manager.OnSetFixedRowText(pos, text), plat::InvalidArgument);

    EXPECT_STREQ(manager.GetTemplateGroup(), "Test") << "the template group defaults to the host's section";

    EXPECT_TRUE(manager.OnActiveControl(10, 1)) << "without a disable table every cell is active";
    manager.AttrDisable().Set(1L, TRUE, FALSE);
    EXPECT_FALSE(manager.OnActiveControl(10, 1));
    EXPECT_TRUE(manager.OnActiveControl(10, 2));
    EXPECT_FALSE(manager.AttrWarning().Get(10u, 1L)) << "the two tables are separate";
    EXPECT_EQ(manager.AttrWarning().GetRows(), 4) << "sized after the bound table: 3 records + 1";
}

TEST(TavManagerTest, NumbersOutsideTheDeclarationAreRefused)
{
    // Three items declared, one more added by the host: the array holds four entries.
    class ExtraManager : public TestManager {
    public:
        ExtraManager() : TestManager({5, 6, 7, 8}, {}, 2) { SetSize(3, 2); }
        int OnAddItemCount() override { return 1; }
    } manager;
    EXPECT_THROW(static_cast<void>(manager.ItemNotoID(3)), plat::InvalidArgument)
        << "before binding only the declared items are known";
    TavData data;
    manager.Bind(data);
    EXPECT_EQ(manager.ItemNotoID(3), 8u) << "binding collects the extra item";
    EXPECT_EQ(manager.IDtoItemNo(8), 3);
    EXPECT_THROW(static_cast<void>(manager.ItemNotoID(4)), plat::InvalidArgument)
        << "an entry past the host's array is never read";
    EXPECT_THROW(static_cast<void>(manager.ColtoID(7)), plat::InvalidArgument)
        << "an unmapped column is an item number, and this one is not declared";
}

} // namespace
