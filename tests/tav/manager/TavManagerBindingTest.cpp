// Binding tables and grids to the manager: templates from the host, the store or the
// declaration, widths measured and laid out, extra items, the row-number column, the editor
// request.
#include "tests/tav/manager/CoordinateHost.h"

#include "components/mox/MoxCellView.h"
#include "components/mox/MoxDocument.h"
#include "components/support/LunArrowTypeComboBox.h"
#include "components/support/TavcRadiusCtrl.h"
#include "components/support/TavcToggleButton.h"
#include "platform/io/Archive.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tests/platform/registry/MemoryRegistry.h"
#include "tests/tav/data/TestHost.h"
#include "tav/templates/TavTemplate.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace plat;
using tavtest::CoordinateHost;
using tavtest::HostManager;

namespace {

// Items declared by an array, 8-byte cells unless a control says otherwise; the host sets a
// 40-pixel row-number column itself when asked to.
class DeclaredManager : public HostManager {
public:
    DeclaredManager(std::vector<int> declaration, long rows = 10, long declared = -1)
        : HostManager(nullptr), m_declaration(std::move(declaration))
    {
        SetSize(declared >= 0 ? declared : static_cast<long>(m_declaration.size()), rows);
        SetTemplate(m_declaration.data());
    }
    const char* GetRegSection() override { return "Binding"; }
    const char* GetSoftware() override { return "Survey"; }
    const char* GetUseTemplate() override { return useTemplate; }
    int OnAddItemCount() override { return extra; }
    unsigned OnGetDataSize(unsigned id) const override { return controls.count(id) ? 0 : 8; }
    Wnd* OnGetControl(unsigned id, int& flag) override
    {
        flag = ownerDrawn.count(id) ? 1 : 0;
        const auto found = controls.find(id);
        return found == controls.end() ? nullptr : found->second;
    }
    int OnSetFixedCol(const TEXTMETRIC&) override
    {
        if (fixedColumn == 0)
            return FALSE;
        Cell()->SendMessage(MOXM_SETFIXEDCOLWIDTH, static_cast<WPARAM>(fixedColumn));
        return TRUE;
    }
    void OnTermChange() override { ++termChanges; }
    void OnRecordOverflow(long count) override { overflows.push_back(count); }
    void OnDrawItem(DC* dc, unsigned id, long record, const RECT* rect) override
    {
        drawn.push_back({id, record, *rect, dc != nullptr});
    }

    struct Drawn {
        unsigned id;
        long record;
        RECT rect;
        bool hasDC;
    };

    std::vector<int> m_declaration;
    const char* useTemplate = nullptr;
    int extra = 0;
    int fixedColumn = 0;
    int termChanges = 0;
    std::map<unsigned, Wnd*> controls;
    std::set<unsigned> ownerDrawn;
    std::vector<Drawn> drawn;
    std::vector<long> overflows;
};

class BindingTest : public ::testing::Test {
protected:
    tavtest::MemoryRegistry m_registry;

    // What a text measures in the grid's font, as the driver measures it.
    static unsigned Measured(const MoxCellCtrl& grid, const std::string& text)
    {
        return static_cast<unsigned>(GetTextMeasure().Width(grid.CellLogFont(), text));
    }

    std::vector<int> Widths(MoxCellCtrl& grid)
    {
        std::vector<int> widths;
        for (long c = 0; c < grid.GetColumnCount(); ++c)
            widths.push_back(grid.GetPaneWidth(c));
        return widths;
    }

    HeadlessDriver driver;
    WinApp app{"BindingTest", "Test", &driver};
};

TEST_F(BindingTest, AutomaticWidthsShareTheWindowAndTheLastColumnTakesTheRest)
{
    DeclaredManager manager({1, 2, 3});
    manager.fixedColumn = 40;
    TavData data;
    data.TemplateName() = "Mine";
    data.Template() = {1, 2, 3};
    data.Width() = {100, 100, 200};
    data.SetAutoWidthFlag(TRUE);
    CoordinateHost host(manager);
    host.Show(data, 500, 400);
    MoxCellCtrl& grid = host.Grid();
    EXPECT_EQ(grid.GetFixedColWidth(), 40);
    EXPECT_EQ(manager.GetFixedColWidth(), 40) << "the width the grid reports after the host set it";
    EXPECT_EQ(Widths(grid), (std::vector<int>{115, 115, 230}));
    EXPECT_EQ(grid.GetColumnStyle(2), 0x20002u);
    EXPECT_FALSE(grid.IsUserResize()) << "no dragging while the widths follow the window";

    data.Template() = {1, 2};
    data.Width() = {100, 0, 5};
    manager.CreateTemplateMap();
    grid.MoveWindow(0, 0, 341, 400);
    grid.SendMessage(MOXM_REBUILDCOLUMNS);
    manager.SetColWidth(FALSE);
    EXPECT_EQ(Widths(grid), (std::vector<int>{301, 0}));

    // A template that shows nothing sums to 0 even after measuring: the layout stops there.
    data.SetModifiedFlag(FALSE);
    manager.CustomizeTemplate({});
    EXPECT_EQ(data.Width(), (std::vector<unsigned>{8, 8, 8})) << "measured once more, then left alone";
    EXPECT_TRUE(data.IsModified());
}

TEST_F(BindingTest, FixedWidthsKeepTheirStoredValuesAndMarginsAndMayBeDragged)
{
    DeclaredManager manager({1, 2, 3});
    TavData data;
    data.TemplateName() = "Mine";
    data.Template() = {3, 1};
    data.Width() = {100, 120, 200};
    CoordinateHost host(manager);
    host.Show(data);
    MoxCellCtrl& grid = host.Grid();
    EXPECT_EQ(Widths(grid), (std::vector<int>{200, 100})) << "widths belong to items, not columns";
    EXPECT_EQ(std::pair(grid.GetMarginLeft(1), grid.GetMarginRight(1)), std::pair(2, 2)) << "the margins left and right";
    EXPECT_TRUE(grid.IsUserResize());

    manager.SetAutoWidth(TRUE);
    const int available = 640 - manager.GetFixedColWidth();
    EXPECT_EQ(Widths(grid), (std::vector<int>{available * 200 / 300, available - available * 200 / 300}));
    EXPECT_FALSE(grid.IsUserResize());
    grid.SetCurSel(MoxPos{1, 5}, 0);
    manager.SetAutoWidth(FALSE);
    EXPECT_EQ(grid.GetCaret(), (MoxPos{1, 5})) << "relaying the columns puts the caret back";
    EXPECT_EQ(Widths(grid), (std::vector<int>{200, 100})) << "back to the stored widths";
    EXPECT_TRUE(grid.IsUserResize());
    manager.SetAutoWidth(TRUE);
    grid.SetPaneWidth(7, 0);
    manager.SetAutoWidth(TRUE);
    EXPECT_EQ(grid.GetPaneWidth(0), 7) << "an unchanged switch lays nothing out again";
}

TEST_F(BindingTest, WithoutAStoredTemplateTheDefaultHoldsThePositiveItemsAndIsStored)
{
    DeclaredManager manager({101, -102, 103});
    TavData data;
    CoordinateHost host(manager);
    host.Show(data);
    EXPECT_EQ(data.TemplateName(), "標準");
    EXPECT_EQ(data.Template(), (std::vector<unsigned>{101, 103}));
    EXPECT_EQ(host.Grid().GetColumnCount(), 2);
    std::string name;
    manager.GetTemplateName(name);
    EXPECT_EQ(name, "標準");
    std::vector<std::string> names;
    EXPECT_TRUE(manager.GetTemplateNameArray(names));
    EXPECT_EQ(names, std::vector<std::string>{"標準"});
    EXPECT_EQ(data.Width().size(), 3u) << "a table without widths is measured";
    EXPECT_EQ(manager.IDtoCol(102), -1);
    void* extension = nullptr;
    host.Grid().SendMessage(MOXM_GETEXTDATA, reinterpret_cast<WPARAM>(&extension));
    EXPECT_EQ(extension, &manager);

    manager.Abscind();
    EXPECT_EQ(host.Grid().SendMessage(MOXM_GETEXTDATA), 0);
    EXPECT_EQ(data.Manager(), nullptr);
}

TEST_F(BindingTest, TheHostsTemplateWinsOverTheRememberedOne)
{
    DeclaredManager manager({101, 102, 103});
    TavData scratch;
    CoordinateHost host(manager);
    host.Show(scratch);
    TavTemplate store(&manager);
    scratch.Template() = {103};
    ASSERT_TRUE(store.SaveTemplate("A"));
    scratch.Template() = {102, 101};
    scratch.SetAutoWidthFlag(TRUE);
    ASSERT_TRUE(store.SaveTemplate("B"));
    store.SetCurrentName("A");

    TavData remembered;
    manager.Associate(&host.Grid(), &remembered);
    EXPECT_EQ(remembered.TemplateName(), "A");
    EXPECT_EQ(remembered.Template(), std::vector<unsigned>{103});

    manager.useTemplate = "B";
    TavData chosen;
    manager.Associate(&host.Grid(), &chosen);
    EXPECT_EQ(chosen.TemplateName(), "B");
    EXPECT_EQ(chosen.Template(), (std::vector<unsigned>{102, 101}));
    EXPECT_EQ(manager.ColtoID(0), 102u);
    EXPECT_TRUE(chosen.GetAutoWidthFlag());
    EXPECT_FALSE(chosen.IsModified()) << "a template taken on at binding changes how the table shows, not the table";

    manager.useTemplate = nullptr;
    chosen.Template() = {101};
    manager.ReloadTemplate();
    EXPECT_EQ(chosen.TemplateName(), "A") << "reloading forgets the name and takes the remembered template";
    EXPECT_EQ(chosen.Template(), std::vector<unsigned>{103});
}

TEST_F(BindingTest, ExtraItemsAreAddressableButShownMeasuredAndCountedNowhere)
{
    QanNumEdit number;
    DeclaredManager manager({1, 2, 3, 8, 9}, 10, 3);
    manager.extra = 2;
    manager.controls[9] = &number;
    TavData data;
    CoordinateHost host(manager);
    host.Show(data);
    EXPECT_EQ(data.GetItemCount(), 5);
    EXPECT_EQ(data.GetItemSize(4), 8u) << "sized from its number edit";
    EXPECT_TRUE(data.Set(8u, 2, 7));
    EXPECT_EQ(CellValue<int>(data, 8u, 2), 7);
    EXPECT_EQ(manager.IDtoCol(8), -1);
    EXPECT_EQ(data.Template(), (std::vector<unsigned>{1, 2, 3}));
    EXPECT_EQ(data.Width().size(), 3u);
    EXPECT_EQ(manager.GetRecordSize(), 24u);
}

TEST_F(BindingTest, RecordsPastTheRowCountThatHoldDataAreKeptAndReported)
{
    TavData data;
    DeclaredManager longer({1, 2}, 15);
    CoordinateHost longerHost(longer);
    longerHost.Show(data);
    ASSERT_TRUE(data.Set(1u, 12, 12.5));
    longer.Abscind();

    DeclaredManager manager({1, 2}, 10);
    EXPECT_EQ(manager.GetOverflowRecordCount(data), 3);
    CoordinateHost host(manager);
    host.Show(data);
    EXPECT_EQ(manager.overflows, std::vector<long>{3});
    EXPECT_EQ(data.GetRecordCount(), 13) << "the records that hold data stay, to be saved again";
    EXPECT_EQ(CellValue<double>(data, 1u, 12), 12.5);
    EXPECT_EQ(host.Grid().GetRowCount(), 10) << "the grid shows the host's rows";
    host.Grid().SendMessage(WM_PAINT);

    ASSERT_TRUE(data.Delete(1u, 12));
    manager.overflows.clear();
    manager.Associate(&host.Grid(), &data);
    EXPECT_EQ(data.GetRecordCount(), 10) << "empty records past the rows go";
    EXPECT_TRUE(manager.overflows.empty());
}

TEST_F(BindingTest, ALayoutThatDisagreesWithTheItemsIsRepairedAndShown)
{
    constexpr unsigned widest = MoxCellCtrl::kMaxPaneWidth;
    DeclaredManager manager({1, 2, 3});
    CoordinateHost host(manager);
    host.Open();
    // A document of a newer version: one more column (item 4) with its width, and widths
    // past any screen, which reading the document bounds already.
    TavData written;
    written.TemplateName() = "Mine";
    written.Template() = {3, 4, 1};
    written.Width() = {1u << 30, 0xFFFFFFFFu, 60, 70};
    Archive out = Archive::ForStoring();
    written.SerializeTemplate(out);
    TavData data;
    Archive in = Archive::ForLoading(out.Bytes());
    data.SerializeTemplate(in);
    EXPECT_EQ(data.Width(), (std::vector<unsigned>{widest, widest, 60, 70}));
    manager.Associate(&host.Grid(), &data);
    EXPECT_EQ(data.Template(), (std::vector<unsigned>{3, 1}));
    EXPECT_EQ(data.Width(), (std::vector<unsigned>{widest, widest, 60}));
    EXPECT_EQ(Widths(host.Grid()), (std::vector<int>{60, MoxCellCtrl::kMaxPaneWidth}));
    host.Grid().SendMessage(WM_PAINT);

    data.Template() = {1, 2, 3};
    data.Width() = {100};
    manager.Associate(&host.Grid(), &data);
    EXPECT_EQ(data.Width(), (std::vector<unsigned>{100, 8, 8})) << "the given width stays, the missing ones are measured";
    manager.CustomizeTemplate({2, 9});
    EXPECT_EQ(data.Template(), std::vector<unsigned>{2});

    // The same through the store: a newer version's template is shown without its extra
    // column and stays as it is in the store; one with nothing this host knows gives way
    // to the default.
    TavTemplate store(&manager);
    data.Template() = {2, 5};
    data.Width() = {10, 20, 30, 40, 50};
    ASSERT_TRUE(store.SaveTemplate("Newer"));
    store.SetCurrentName("Newer");
    TavData fresh;
    manager.Associate(&host.Grid(), &fresh);
    EXPECT_EQ(fresh.TemplateName(), "Newer");
    EXPECT_EQ(fresh.Template(), std::vector<unsigned>{2});
    EXPECT_EQ(fresh.Width(), (std::vector<unsigned>{10, 20, 30}));
    host.Grid().SendMessage(WM_PAINT);
    ASSERT_TRUE(store.LoadTemplate("Newer"));
    EXPECT_EQ(fresh.Template(), (std::vector<unsigned>{2, 5}));

    fresh.Template() = {7};
    ASSERT_TRUE(store.SaveTemplate("Alien"));
    store.SetCurrentName("Alien");
    TavData other;
    manager.Associate(&host.Grid(), &other);
    EXPECT_EQ(other.TemplateName(), "標準");
    EXPECT_EQ(other.Template(), (std::vector<unsigned>{1, 2, 3}));
}

TEST_F(BindingTest, RowNumberColumnFitsTheLargerOfTheHeadingAndTheLastLineNumber)
{
    for (const long rows : {25L, 123456L}) {
        DeclaredManager manager({1}, rows);
        TavData data;
        CoordinateHost host(manager);
        host.Show(data);
        const int width = static_cast<int>(std::max(Measured(host.Grid(), "No."), Measured(host.Grid(), std::to_string(rows)))) + 8;
        EXPECT_EQ(manager.GetFixedColWidth(), width) << rows << " rows";
        EXPECT_EQ(host.Grid().GetFixedColWidth(), width);
    }
}

TEST_F(BindingTest, AToggleCellStepsOnEachEditorRequestAndDisabledCellsGetNone)
{
    TavcToggleButton toggle({"左", "中", "右"});
    TavcToggleButton empty;
    DeclaredManager manager({1, 2});
    manager.controls = {{1, &toggle}, {2, &empty}};
    TavData data;
    CoordinateHost host(manager);
    host.Open();
    toggle.Create("", 0, RECT{0, 0, 40, 16}, &host, 301);
    empty.Create("", 0, RECT{0, 0, 40, 16}, &host, 302);
    manager.Associate(&host.Grid(), &data);
    EXPECT_EQ(data.GetItemSize(0), 4u);
    EXPECT_TRUE(data.Set(0L, 0, 2));
    Wnd* editor = &host;
    EXPECT_TRUE(manager.GetControl(MoxPos{0, 0}, &editor));
    EXPECT_EQ(editor, nullptr) << "no editor opens for a toggle";
    EXPECT_EQ(CellValue<int>(data, 0L, 0), 0) << "2 of 3 texts steps round to 0";
    EXPECT_TRUE(manager.GetControl(MoxPos{0, 1}, &editor));
    EXPECT_EQ(CellValue<int>(data, 0L, 1), 0) << "an empty cell starts at 0";

    host.Grid().SetCurSel(MoxPos{0, 0}, 0);
    app.SetMainWnd(&host);
    driver.PushKey(0x71); // F2
    app.Run();
    EXPECT_EQ(CellValue<int>(data, 0L, 0), 1);
    EXPECT_EQ(host.Grid().GetEditor(), nullptr);

    EXPECT_TRUE(manager.GetControl(MoxPos{1, 0}, &editor));
    EXPECT_TRUE(data.QueryIsBlank(1L, 0)) << "a toggle without texts leaves the cell alone";

    host.Grid().ValidateRect();
    manager.AttrDisable().Set(1u, 3, 1, 1);
    EXPECT_FALSE(manager.GetControl(MoxPos{0, 3}, &editor));
    RECT cell;
    ASSERT_TRUE(host.Grid().GetCellRect(MoxPos{0, 3}, cell));
    ASSERT_FALSE(host.Grid().GetInvalidations().empty());
    EXPECT_EQ(host.Grid().GetInvalidations().back().rect, cell) << "the attribute's repaint reaches the grid";
}

TEST_F(BindingTest, EachEditorIsPreparedWithItsCellsValueByItsClass)
{
    TavcRadiusCtrl radius;
    LunLineTypeComboBox lineType;
    ComboBox ownerDrawn;
    ComboBox plain;
    QanNumEdit number;
    DeclaredManager manager({1, 2, 3, 4, 5, 6});
    manager.controls = {{1, &radius}, {2, &lineType}, {3, &ownerDrawn}, {4, &plain}, {5, &number}};
    TavData data;
    CoordinateHost host(manager);
    host.Open();
    const RECT place{0, 0, 160, 16};
    radius.Create(0, place, &host, 301);
    lineType.Create(CBS_DROPDOWNLIST, place, &host, 302);
    ownerDrawn.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, place, &host, 303);
    plain.Create(CBS_DROPDOWNLIST, place, &host, 304);
    number.Create(ES_RIGHT, place, &host, 305);
    for (ComboBox* list : {&ownerDrawn, &plain})
        for (const char* text : {"a", "b", "c"})
            list->AddString(text);
    manager.Associate(&host.Grid(), &data);

    HixRadius curve{HixReal(120.0)};
    curve.SetRight(TRUE);
    ASSERT_TRUE(data.Set(0L, 0, curve));
    ASSERT_TRUE(data.Set(1L, 0, 3));
    ASSERT_TRUE(data.Set(2L, 0, 2));
    ASSERT_TRUE(data.Set(3L, 0, 1));
    ASSERT_TRUE(data.Set(4L, 0, 12.5));
    plain.SetCurSel(0);
    const std::vector<Wnd*> editors{&radius, &lineType, &ownerDrawn, &plain, &number};
    auto prepare = [&](int row) {
        for (int column = 0; column < 5; ++column) {
            Wnd* editor = nullptr;
            EXPECT_TRUE(manager.GetControl(MoxPos{column, row}, &editor)) << "column " << column;
            EXPECT_EQ(editor, editors[static_cast<std::size_t>(column)]) << "column " << column;
        }
    };

    prepare(0);
    HixRadius shown;
    ASSERT_TRUE(radius.GetData(shown));
    EXPECT_EQ(shown.GetR().Get(), 120.0);
    EXPECT_TRUE(shown.GetRight());
    EXPECT_EQ(lineType.Get(), 3);
    EXPECT_EQ(ownerDrawn.GetCurSel(), 2) << "an owner-drawn list shows the stored index";
    EXPECT_EQ(plain.GetCurSel(), 0) << "a plain list is left as it was";
    std::string text;
    ASSERT_TRUE(manager.GetText(4, 0, text));
    EXPECT_EQ(number.GetWindowText(), text) << "an edit starts from the cell's display text";

    prepare(1);
    ASSERT_TRUE(radius.GetData(shown));
    EXPECT_TRUE(shown.GetR().IsShoki()) << "an empty cell gives an unset radius, not the last one";
    EXPECT_EQ(lineType.Get(), -1);
    EXPECT_EQ(ownerDrawn.GetCurSel(), -1);
    EXPECT_EQ(number.GetWindowText(), "");

    Wnd* editor = nullptr;
    EXPECT_FALSE(manager.GetControl(MoxPos{5, 0}, &editor)) << "an item without a control has no editor";
    number.DestroyWindow();
    EXPECT_FALSE(manager.GetControl(MoxPos{4, 0}, &editor)) << "a control without a window is no editor";
    QanNumEdit unmade;
    manager.controls[6] = &unmade;
    manager.TermChange();
    EXPECT_FALSE(manager.GetControl(MoxPos{5, 0}, &editor)) << "nor one whose window was never created";
}

TEST_F(BindingTest, OwnerDrawnColumnsAreDrawnByTheHostForEachLineInView)
{
    DeclaredManager manager({1, 2});
    manager.ownerDrawn = {2};
    TavData data;
    data.TemplateName() = "Mine";
    data.Template() = {2, 1};
    data.Width() = {80, 80};
    CoordinateHost host(manager);
    host.Show(data);
    host.Grid().SendMessage(WM_PAINT);
    ASSERT_EQ(manager.drawn.size(), 10u) << "the ten lines of the drawn column, and nothing of the other";
    RECT cell;
    ASSERT_TRUE(host.Grid().GetCellRect(MoxPos{0, 4}, cell));
    EXPECT_EQ(manager.drawn[4].id, 2u);
    EXPECT_EQ(manager.drawn[4].record, 4);
    EXPECT_EQ(manager.drawn[4].rect, cell);
    EXPECT_TRUE(manager.drawn[4].hasDC);
}

TEST_F(BindingTest, DefaultWidthsFitTheEditorsWidestCharactersOrItsWiderHeadingAsTheFrontEndMeasures)
{
    tavtest::CoordinateManager manager;
    TavData data;
    CoordinateHost host(manager);
    host.Show(data);
    ASSERT_EQ(data.Width().size(), 5u);
    EXPECT_EQ(data.Width()[0], Measured(host.Grid(), std::string(10, 'M')) + 8)
        << "ten of the widest character for the name, wider than its heading";
    EXPECT_EQ(data.Width()[4], Measured(host.Grid(), "コード") + 8) << "a list has no characters: its heading sets the width";
}

TEST_F(BindingTest, TermChangeCollectsTheNewControlsAndMeasuresAgain)
{
    QanLimitEdit shortText(4);
    QanLimitEdit longText(20);
    DeclaredManager manager({1});
    manager.controls[1] = &shortText;
    TavData data;
    CoordinateHost host(manager);
    host.Show(data);
    EXPECT_EQ(data.Width(), std::vector<unsigned>{Measured(host.Grid(), std::string(4, 'M')) + 8});
    manager.controls[1] = &longText;
    manager.TermChange();
    const unsigned wide = Measured(host.Grid(), std::string(20, 'M')) + 8;
    EXPECT_EQ(data.Width(), std::vector<unsigned>{wide});
    EXPECT_EQ(host.Grid().GetPaneWidth(0), static_cast<int>(wide));
    EXPECT_EQ(manager.termChanges, 1);
}

TEST_F(BindingTest, ATableShownInAViewMarksTheViewsDocument)
{
    DeclaredManager manager({1, 2});
    TavData data;
    MoxDocument document;
    document.SetTable(&data);
    CoordinateHost frame(manager);
    frame.Open();
    MoxCellView view;
    view.SetDocument(&document);
    view.Create(WS_VISIBLE, RECT{0, 0, 640, 400}, &frame, 2);
    manager.Associate(&view, &data);
    document.SetModifiedFlag(FALSE);
    EXPECT_TRUE(data.Set(0L, 3, 1.5));
    EXPECT_TRUE(document.IsModified()) << "the first change of a cell reaches the document";
    data.SetModifiedFlag(FALSE);
    EXPECT_FALSE(document.IsModified());
}

} // namespace
