// Cell text and data through the items' editor controls: each class's text, the class order,
// typed and pasted text back into cell bytes, the host's hooks first, and the alignment of
// every column handed to the grid.
#include "components/support/LunArrowTypeComboBox.h"
#include "components/support/LunDMSEdit.h"
#include "components/support/LunEdit.h"
#include "components/support/LunLimitEdit.h"
#include "components/support/LunMrmDMSEdit.h"
#include "components/support/LunMrmNumEdit.h"
#include "components/support/LunNumEdit.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "components/support/TavcRadiusCtrl.h"
#include "components/support/TavcToggleButton.h"
#include "platform/io/Errors.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// Item identifiers, one per kind of editor.
enum : unsigned {
    kNumber = 1,     // QanNumEdit, 3 decimals
    kText = 2,       // QanLimitEdit, 20 characters
    kChoice = 3,     // combo box with 4 entries
    kToggle = 4,     // TavcToggleButton
    kRadius = 5,     // TavcRadiusCtrl
    kChecked = 6,    // LunNumEdit 0..1000, 2 decimals
    kLength = 7,     // LunMrmNumEdit in millimetres
    kAngle = 8,      // LunMrmDMSEdit
    kPacked = 9,     // LunDMSEdit
    kPlain = 10,     // no control
    kDrawn = 11,     // owner-drawn combo box
    kRightEdit = 12, // plain edit, right-aligned
    kName = 13,      // LunLimitEdit, 10 characters
    kArrow = 14,     // LunArrowTypeComboBox
};

// A host with one item of every kind, the controls its own members.
class FormatManager : public TestManager {
public:
    FormatManager()
        : TestManager({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
                      {{kNumber, 8}, {kText, 21}, {kChoice, 4}, {kToggle, 4}, {kRadius, 24}, {kChecked, 8},
                       {kLength, 8}, {kAngle, 8}, {kPacked, 8}, {kPlain, 4}, {kDrawn, 4}, {kRightEdit, 8},
                       {kName, 11}, {kArrow, 4}},
                      10)
    {
        m_number.SetFractionFigure(3);
        for (const char* entry : {"Alpha", "Beta", "Gamma", "Delta"})
            m_choice.AddString(entry);
        m_checked.SetFigure(1, 8, 2);
        m_checked.SetMinMax(0.0, 1000.0);
        const HixMrm millimetres(5, 2, 4);
        m_length.SetNumAttr(&millimetres, 1, 0x0001);
        m_drawn.ModifyStyle(0, plat::CBS_OWNERDRAWFIXED);
        m_drawn.AddString("x");
        m_rightEdit.ModifyStyle(0, plat::ES_RIGHT);
        m_controls = {{kNumber, &m_number}, {kText, &m_text},         {kChoice, &m_choice}, {kToggle, &m_toggle},
                      {kRadius, &m_radius}, {kChecked, &m_checked},   {kLength, &m_length}, {kAngle, &m_angle},
                      {kPacked, &m_packed}, {kDrawn, &m_drawn},       {kRightEdit, &m_rightEdit},
                      {kName, &m_name},     {kArrow, &m_arrow}};
    }

    plat::Wnd* OnGetControl(unsigned id, int& flag) override
    {
        flag = id == kToggle || id == kRadius ? 1 : 0;
        const auto found = m_controls.find(id);
        return found == m_controls.end() ? nullptr : found->second;
    }
    int OnGetText(unsigned id, long record, std::string& text) override
    {
        ++m_textAsked;
        if (id != m_answerId)
            return FALSE;
        text = "host " + std::to_string(record);
        return TRUE;
    }
    int OnGetData(unsigned id, long /*record*/, const char* /*text*/, void* buffer, unsigned& size) override
    {
        if (id != m_answerId)
            return FALSE;
        std::memset(buffer, 0x5A, size);
        return TRUE;
    }
    int OnGetData(unsigned id, long /*record*/, plat::Wnd* /*control*/, void* buffer, unsigned& size) override
    {
        if (id != m_answerId)
            return FALSE;
        std::memset(buffer, 0x6B, size);
        return TRUE;
    }
    int OnSetTextAlign(unsigned id, unsigned& align) override
    {
        if (id != m_alignId)
            return FALSE;
        align = 1;
        return TRUE;
    }

    QanNumEdit m_number;
    QanLimitEdit m_text{20};
    plat::ComboBox m_choice;
    TavcToggleButton m_toggle{{"A", "B", "C"}};
    TavcRadiusCtrl m_radius;
    LunNumEdit m_checked{5};
    LunMrmNumEdit m_length{5};
    LunMrmDMSEdit m_angle{5};
    LunDMSEdit m_packed{5};
    plat::ComboBox m_drawn;
    plat::Edit m_rightEdit;
    LunLimitEdit m_name{10};
    LunArrowTypeComboBox m_arrow;
    std::map<unsigned, plat::Wnd*> m_controls;
    unsigned m_answerId = 0;
    unsigned m_alignId = 0;
    int m_textAsked = 0;
};

long Item(unsigned id) { return static_cast<long>(id) - 1; }

std::string TextOf(TavData& data, unsigned id, long record, std::string text = "kept")
{
    return data.OnGetText(Item(id), record, text) ? text : "FALSE(" + text + ")";
}

// Converts a text as the grid does on paste, returning the bytes and the size.
struct Converted {
    plat::BOOL result = FALSE;
    unsigned size = 0;
    std::vector<unsigned char> bytes;
};

Converted Paste(TavData& data, unsigned id, const char* text, long record = 0)
{
    Converted out;
    out.size = data.OnGetDataSize(Item(id));
    out.bytes.assign(out.size, 0xEE);
    out.result = data.OnGetData(Item(id), record, text, out.bytes.data(), out.size);
    return out;
}

// The converted cell's value; a refused conversion fails the test.
template <class T>
T ValueOf(const Converted& converted)
{
    EXPECT_TRUE(converted.result) << "the text was refused";
    T value{};
    std::memcpy(&value, converted.bytes.data(), sizeof value);
    return value;
}

TEST(TavManagerFormatTest, EachControlClassShowsItsCellText)
{
    FormatManager manager;
    TavData data;
    manager.Bind(data);
    ASSERT_TRUE(data.Set(Item(kNumber), 0, 12.5));
    EXPECT_EQ(TextOf(data, kNumber, 0), "12.500") << "three fraction digits";
    EXPECT_EQ(TextOf(data, kNumber, 1), "FALSE(kept)") << "rows after the last filled record show nothing";
    manager.m_answerId = kNumber;
    EXPECT_EQ(TextOf(data, kNumber, 0), "host 0") << "the host answers first";
    const int asked = manager.m_textAsked;
    EXPECT_EQ(TextOf(data, kNumber, 1), "FALSE(kept)");
    EXPECT_EQ(manager.m_textAsked, asked) << "even a host that would answer is not asked past the last record";
    manager.m_answerId = 0;

    ASSERT_TRUE(data.Set(Item(kText), 0, std::string("境界杭 No.3")));
    EXPECT_EQ(TextOf(data, kText, 0), "境界杭 No.3");
    ASSERT_TRUE(data.Set(Item(kChoice), 0, 2));
    EXPECT_EQ(TextOf(data, kChoice, 0), "Gamma");
    ASSERT_TRUE(data.Set(Item(kChoice), 0, 7));
    EXPECT_EQ(TextOf(data, kChoice, 0), "kept") << "an index past the list's 4 entries: TRUE, text untouched";
    ASSERT_TRUE(data.Set(Item(kDrawn), 0, 0));
    EXPECT_EQ(TextOf(data, kDrawn, 0), "FALSE(kept)") << "an owner-drawn list draws its own cells";
    ASSERT_TRUE(data.Set(Item(kToggle), 0, 2));
    EXPECT_EQ(TextOf(data, kToggle, 0), "C");
    ASSERT_TRUE(data.Set(Item(kLength), 0, 1.23456));
    EXPECT_EQ(TextOf(data, kLength, 0), "1234.6") << "metres shown by the edit's rule in millimetres";
    const double angle = 123.0 + 45.0 / 60.0 + 6.7 / 3600.0;
    ASSERT_TRUE(data.Set(Item(kAngle), 0, angle));
    EXPECT_EQ(TextOf(data, kAngle, 0), "123°45′06.7″")
        << "an angle-rule edit is also a ddd.mmss edit, and its own class comes first";
    ASSERT_TRUE(data.Set(Item(kPacked), 0, 123.45067));
    EXPECT_EQ(TextOf(data, kPacked, 0), "123.45067");
    ASSERT_TRUE(data.Set(Item(kPlain), 0, 5));
    EXPECT_EQ(TextOf(data, kPlain, 0), "FALSE(kept)") << "no control, no text";
    EXPECT_EQ(TextOf(data, kRightEdit, 0), "FALSE(kept)") << "a plain edit has no format of its own";
    EXPECT_EQ(TextOf(data, kRadius, 0), "FALSE(kept)") << "an empty cell";
    std::string unused;
    EXPECT_THROW(static_cast<void>(manager.GetText(-1, 0, unused)), plat::InvalidArgument);
}

TEST(TavManagerFormatTest, PastedTextBecomesCellBytesThroughTheControl)
{
    FormatManager manager;
    TavData data;
    manager.Bind(data);

    EXPECT_DOUBLE_EQ(ValueOf<double>(Paste(data, kNumber, " 3.25 ")), 3.25) << "the text is trimmed before the control reads it";

    EXPECT_FALSE(Paste(data, kNumber, "abc").result) << "a plain number edit reads no value from it either";
    EXPECT_FALSE(Paste(data, kNumber, "100000000000000000000000000").result) << "more than its 8 figures";
    EXPECT_DOUBLE_EQ(ValueOf<double>(Paste(data, kNumber, "-99999999.5")), -99999999.5);
    manager.m_number.SetSigned(false);
    EXPECT_FALSE(Paste(data, kNumber, "-1").result) << "no sign can be typed into it";
    manager.m_number.SetSigned(true);
    manager.m_number.SetWindowText("-");
    double kept = 0;
    unsigned size = 8;
    EXPECT_FALSE(data.OnGetData(Item(kNumber), 0, &manager.m_number, &kept, size))
        << "an editor left holding a lone sign stores no unset marker as a number";

    EXPECT_DOUBLE_EQ(ValueOf<double>(Paste(data, kChecked, "12.5")), 12.5)
        << "a checking number edit is handled as a number, not as a plain edit that copies nothing";
    EXPECT_FALSE(Paste(data, kChecked, "abc").result) << "the edit refuses it";
    EXPECT_FALSE(Paste(data, kChecked, "1000.5").result) << "outside the edit's bounds";

    EXPECT_DOUBLE_EQ(ValueOf<double>(Paste(data, kLength, "250")), 0.25) << "typed in millimetres, stored in metres";

    Converted text = Paste(data, kText, "北 12");
    ASSERT_TRUE(text.result);
    EXPECT_EQ(text.size, 21u);
    EXPECT_EQ(std::string(text.bytes.begin(), text.bytes.begin() + 6), "\x96\x6B 12\xEE")
        << "the narrow code page's bytes, and nothing past them: the grid clears its buffer itself";
    Converted emptied = Paste(data, kText, "");
    ASSERT_TRUE(emptied.result);
    EXPECT_EQ(emptied.size, 0u) << "an emptied limit edit clears the cell";

    EXPECT_FALSE(Paste(data, kText, "北 12 ✓").result) << "a limit edit's cell would lose the text from ✓ on";
    EXPECT_FALSE(Paste(data, kName, "Ünïcödé ✓").result) << "the narrow code page cannot hold it";
    EXPECT_EQ(manager.m_name.SendMessage(LunGetEditMessages().check), 0)
        << "and the editor's own check fails on the same text";

    EXPECT_EQ(ValueOf<int>(Paste(data, kChoice, "beta")), 1) << "the entry that matches, as the list compares";
    EXPECT_EQ(ValueOf<int>(Paste(data, kToggle, "B")), 1);
    // A text no entry holds is refused, so the cell keeps what it had; an empty one clears.
    for (const unsigned id : {kChoice, kToggle, kArrow})
        for (const char* foreign : {"Omega", "nan", "実線", "+"})
            EXPECT_FALSE(Paste(data, id, foreign).result) << id << " " << foreign;
    EXPECT_EQ(Paste(data, kChoice, "").size, 0u);
    EXPECT_EQ(Paste(data, kToggle, "").size, 0u);
    manager.m_arrow.Set(3);
    size = 4;
    int arrow = -1;
    ASSERT_TRUE(data.OnGetData(Item(kArrow), 0, static_cast<plat::Wnd*>(nullptr), &arrow, size));
    EXPECT_EQ(arrow, 3);
    EXPECT_FALSE(Paste(data, kPlain, "5").result) << "an item without a control takes no text";

    SCOPED_TRACE("a radius goes through its 24-byte cell and comes back as the same text");
    Converted radius = Paste(data, kRadius, "80.25 R S");
    ASSERT_TRUE(radius.result);
    ASSERT_EQ(radius.size, 24u);
    ASSERT_TRUE(data.Set(Item(kRadius), 3, radius.bytes.data(), radius.size));
    manager.m_radius.SetText("12");
    EXPECT_EQ(TextOf(data, kRadius, 3), "80.250 右 小") << "the value and both flags";
    EXPECT_EQ(manager.m_radius.GetEdit().GetWindowText(), "12")
        << "drawing a radius cell leaves the control, which may be open as another cell's editor, as it was";
    EXPECT_FALSE(Paste(data, kRadius, "wide").result);
    manager.m_radius.SetText("-80 R");
    std::vector<unsigned char> cell(24, 0xEE);
    size = 24;
    EXPECT_FALSE(data.OnGetData(Item(kRadius), 3, &manager.m_radius, cell.data(), size))
        << "an editor holding no valid radius gives no cell";
}

TEST(TavManagerFormatTest, HostHooksAnswerBeforeTheControl)
{
    FormatManager manager;
    TavData data;
    manager.Bind(data);
    manager.m_answerId = kNumber;
    Converted pasted = Paste(data, kNumber, "not a number");
    ASSERT_TRUE(pasted.result);
    EXPECT_EQ(pasted.bytes[0], 0x5A) << "the text hook answered";

    manager.m_number.SetWindowText("7");
    double value = 0;
    unsigned size = 8;
    ASSERT_TRUE(data.OnGetData(Item(kNumber), 2, &manager.m_number, &value, size));
    unsigned char first = 0;
    std::memcpy(&first, &value, 1);
    EXPECT_EQ(first, 0x6B) << "the editor hook answered";
    ASSERT_TRUE(manager.GetData(Item(kNumber), -1, &manager.m_number, &value, size));
    EXPECT_DOUBLE_EQ(value, 7.0) << "a search value (record -1) is converted without the host";
}

// A grid window that records the requests it gets.
class RecordingGrid : public plat::Wnd {
public:
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        if (message == 1081 || message == 1060)
            requests.emplace_back(message, wParam);
        return plat::Wnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::pair<plat::UINT, plat::WPARAM>> requests;
};

TEST(TavManagerFormatTest, ColumnAlignmentFollowsTheControl)
{
    FormatManager manager;
    TavData data;
    manager.SetTextFormat(); // nothing bound: nothing to send, nothing to fail
    RecordingGrid grid;
    grid.Create("Grid", "", 0, plat::RECT{0, 0, 80, 16}, nullptr, 0);
    manager.Bind(data, &grid);
    data.Template() = {kRightEdit, kChoice, kPlain, kRadius, kToggle, kText, kNumber, 99};
    manager.CreateTemplateMap();
    manager.m_alignId = kNumber;
    manager.m_angle.ModifyStyle(0, plat::ES_CENTER);
    manager.SetTextFormat();

    ASSERT_FALSE(grid.requests.empty());
    EXPECT_EQ(grid.requests.front(), std::make_pair(1081u, plat::WPARAM{1})) << "the format update is begun first";
    const std::vector<std::pair<plat::UINT, plat::WPARAM>> flagged{{1060u, 3}, {1060u, 4}};
    EXPECT_EQ(std::vector(grid.requests.begin() + 1, grid.requests.end()), flagged)
        << "the columns of the flagged items (radius, toggle) are re-formatted";

    // Right for a right-aligned edit and a radius, centred for a combo box, a button and the
    // host's choice, left for no control and a left-aligned edit; an identifier the declaration
    // lacks takes its column as item 7, a centred edit; past the columns nothing.
    std::vector<unsigned> aligns;
    for (long column = 0; column < 9; ++column)
        aligns.push_back(manager.GetTextAlign(column));
    EXPECT_EQ(aligns, (std::vector<unsigned>{0x26, 0x25, 0x24, 0x26, 0x25, 0x24, 0x25, 0x25, 0}));
}

} // namespace
