// The line commands on a million-record coordinate list, each beside the bare memory move of
// the bytes it shifts: inserting and deleting a line at the top (the attribute tables and a
// thousand lock ranges shift too), moving a block of a thousand lines from the top to the
// bottom and back, and a search of a number column that finds nothing, beside comparing the
// same cells in a plain array.
#include "bench/PointList.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/resource/Module.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/window/TavCellCtrl.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr long kRecords = 1'000'000;
constexpr long kBlock = 1000;

class PointManager : public TavManager {
public:
    explicit PointManager(long rows) : TavManager(&bench::PointModule()), m_name(10)
    {
        SetSize(static_cast<long>(m_declaration.size()), rows);
        SetTemplate(m_declaration.data());
    }
    const char* GetRegSection() override { return "LinesBench"; }
    const char* GetSoftware() override { return "Bench"; }
    int OnCreateControl(plat::Wnd* window) override
    {
        if (window != nullptr && window->GetParent() != nullptr && !m_x.IsWindow())
            for (QanNumEdit* number : {&m_x, &m_y, &m_z})
                number->Create(plat::ES_RIGHT, plat::RECT{0, 0, 80, 16}, window->GetParent(), 0);
        return TRUE;
    }
    plat::Wnd* OnGetControl(unsigned id, int&) override
    {
        switch (id) {
        case 101: return &m_name;
        case 102: return &m_x;
        case 103: return &m_y;
        case 104: return &m_z;
        default: return nullptr;
        }
    }

    QanLimitEdit m_name;
    QanNumEdit m_x;
    QanNumEdit m_y;
    QanNumEdit m_z;

private:
    std::vector<int> m_declaration{101, 102, 103, 104};
};

// The list, filled but for its last thousand records (so that lines can be inserted), with
// both attribute tables made and a thousand lock ranges spread over it.
struct LineList {
    LineList() : manager(kRecords)
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
        manager.Associate(&grid, &data);
        bench::FillPoints(data, kRecords - kBlock);
        manager.AttrWarning().Set(102u, 10, 1, 0);
        manager.AttrDisable().Set(104u, 20, 1, 0);
        for (std::int32_t lock = 0; lock < 1000; ++lock)
            data.Lock().Add({102u, lock * 900 + 5, lock * 900 + 50});
    }
    void SelectLines(long top, long bottom)
    {
        MoxRectArray lines;
        lines.Add(MoxRect(MoxPos{0, static_cast<std::int32_t>(top)}, MoxPos{3, static_cast<std::int32_t>(bottom)}),
                  MoxRectArray::kWholeLines);
        grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&lines));
    }
    // Moves the block of lines at `from` to `to` as a person would: marks it, drags it, Return.
    bool MoveBlock(long from, long to)
    {
        SelectLines(from, from + kBlock - 1);
        grid.StartLineCommand(0xC106);
        const MoxPos caret{0, static_cast<std::int32_t>(from)};
        const MoxPos target{0, static_cast<std::int32_t>(to)};
        benchmark::DoNotOptimize(grid.SelChanging(caret, target));
        return grid.ExecLineCommand() == 1;
    }

    plat::HeadlessDriver driver;
    plat::WinApp app{"LinesBench", "Bench", &driver};
    PointManager manager;
    TavData data;
    plat::Wnd host;
    TavCellCtrl grid;
};

LineList& List()
{
    static LineList* list = new LineList();
    return *list;
}

std::size_t RecordBytes() { return static_cast<std::size_t>(List().manager.GetRecordSize()); }

void BM_LineInsertDeleteAtTop(benchmark::State& state)
{
    LineList& list = List();
    list.SelectLines(0, 0);
    for (auto _ : state) {
        if (list.grid.LineInsert() != 1 || list.grid.LineDelete() != 1) {
            state.SkipWithError("the line was not inserted and deleted");
            break;
        }
    }
}
BENCHMARK(BM_LineInsertDeleteAtTop)->Unit(benchmark::kMillisecond);

// The floor: the record block moved down by a record and back, as one insert and delete.
void BM_BareMemmoveInsertDelete(benchmark::State& state)
{
    const std::size_t record = RecordBytes();
    std::vector<char> block(static_cast<std::size_t>(kRecords) * record, 'x');
    const std::size_t moved = block.size() - record;
    for (auto _ : state) {
        std::memmove(block.data() + record, block.data(), moved);
        std::memmove(block.data(), block.data() + record, moved);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BareMemmoveInsertDelete)->Unit(benchmark::kMillisecond);

void BM_LineMoveThousandTopToBottomAndBack(benchmark::State& state)
{
    LineList& list = List();
    const long bottom = kRecords - kBlock;
    for (auto _ : state) {
        if (!list.MoveBlock(0, bottom) || !list.MoveBlock(bottom, 0)) {
            state.SkipWithError("the block did not move");
            break;
        }
    }
}
BENCHMARK(BM_LineMoveThousandTopToBottomAndBack)->Unit(benchmark::kMicrosecond);

// The floor: the block's bytes copied to the bottom and the top cleared, and back.
void BM_BareMemmoveThousandLines(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(kBlock) * RecordBytes();
    std::vector<char> block(static_cast<std::size_t>(kRecords) * RecordBytes(), 'x');
    char* top = block.data();
    char* bottom = block.data() + block.size() - bytes;
    for (auto _ : state) {
        std::memmove(bottom, top, bytes);
        std::memset(top, 0, bytes);
        std::memmove(top, bottom, bytes);
        std::memset(bottom, 0, bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BareMemmoveThousandLines)->Unit(benchmark::kMicrosecond);

// The find dialog over the whole X column, for a value no record holds.
void BM_FindNothingInAMillionNumbers(benchmark::State& state)
{
    LineList& list = List();
    MoxRectArray column;
    column.Add(MoxRect(MoxPos{1, 0}, MoxPos{1, static_cast<std::int32_t>(kRecords - 1)}));
    list.driver.OnEveryDialog([](plat::DialogOperator& person) {
        person.SetText(1067, "7.125");
        person.Return();
        person.Escape();
    });
    for (auto _ : state) {
        list.grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&column));
        list.grid.Find();
        if (list.driver.MessageBoxes().size() != 1) {
            state.SkipWithError("the search did not report that it found nothing");
            break;
        }
        list.driver.ClearMessageBoxes();
    }
    list.driver.OnEveryDialog({});
}
BENCHMARK(BM_FindNothingInAMillionNumbers)->Unit(benchmark::kMillisecond);

// The peer: the same 1,000,000 eight-byte cells compared with the value, held in a plain array.
void BM_BareCompareOfAMillionCells(benchmark::State& state)
{
    std::vector<double> cells(static_cast<std::size_t>(kRecords));
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = -36000.0 + static_cast<double>(i) * 0.001;
    const double sought = 7.125;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cells.data());
        long found = -1;
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (std::memcmp(&cells[i], &sought, sizeof sought) == 0) {
                found = static_cast<long>(i);
                break;
            }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_BareCompareOfAMillionCells)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
