// The grid against the size of its table: binding a coordinate list of a million records to
// a grid, and repainting an 80 by 24 character screen of it, side by side with the same
// repaint of a hundred-record list. Both should cost the same: the grid only asks for what
// is in view, and binding does no work per record.
#include "bench/PointList.h"
#include "components/mox/MoxCellCtrl.h"
#include "components/mox/ZeroedBytes.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/resource/Module.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/window/TavCellCtrl.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench::Environment;
using bench::HostWindow;
using bench::PointManager;

// A bound coordinate list of `records` records, every one filled.
struct BoundList {
    explicit BoundList(long records) : manager(records), host(manager)
    {
        host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
        manager.Associate(&grid, &data);
        bench::FillPoints(data, records);
    }

    PointManager manager;
    TavData data;
    HostWindow host;
    MoxCellCtrl grid;
};

Environment& Env()
{
    static Environment environment;
    return environment;
}

BoundList& List(long records)
{
    Env();
    static BoundList* big = nullptr;
    static BoundList* small = nullptr;
    BoundList*& list = records > 100 ? big : small;
    if (list == nullptr)
        list = new BoundList(records);
    return *list;
}

void BM_Associate(benchmark::State& state)
{
    BoundList& list = List(state.range(0));
    for (auto _ : state) {
        list.manager.Abscind();
        list.manager.Associate(&list.grid, &list.data);
    }
    benchmark::DoNotOptimize(list.grid.GetColumnCount());
}
BENCHMARK(BM_Associate)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// A table that holds no records yet: binding sizes it, which allocates its zeroed storage.
void BM_AssociateEmptyTable(benchmark::State& state)
{
    BoundList& list = List(state.range(0));
    PointManager manager(state.range(0));
    for (auto _ : state) {
        TavData data;
        data.TemplateName() = list.data.TemplateName();
        data.Template() = list.data.Template();
        data.Width() = list.data.Width();
        manager.Associate(&list.grid, &data);
        benchmark::DoNotOptimize(data.GetRecordCount());
        manager.Abscind();
    }
    list.manager.Associate(&list.grid, &list.data);
}
BENCHMARK(BM_AssociateEmptyTable)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The bare operation beside it: taking and giving back zeroed storage of the size that the
// table's two blocks have, without binding anything.
void BM_BareTableAllocation(benchmark::State& state)
{
    BoundList& list = List(state.range(0));
    const std::size_t records = static_cast<std::size_t>(state.range(0));
    const std::size_t cellBytes = records * list.manager.GetRecordSize();
    const std::size_t presentBytes = records * ((static_cast<std::size_t>(list.manager.GetItemCount()) + 7) / 8);
    for (auto _ : state) {
        ZeroedBytes cells(cellBytes);
        ZeroedBytes present(presentBytes);
        benchmark::DoNotOptimize(cells.data());
        benchmark::DoNotOptimize(present.data());
    }
}
BENCHMARK(BM_BareTableAllocation)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_RepaintScreen(benchmark::State& state)
{
    BoundList& list = List(state.range(0));
    // The same screen in both tables: the caret in the middle of the first 24 lines.
    list.grid.SetCurSel(MoxPos{1, 12}, 0);
    for (auto _ : state) {
        list.grid.SendMessage(plat::WM_PAINT);
        benchmark::DoNotOptimize(list.grid.GetDrawing().size());
    }
}
BENCHMARK(BM_RepaintScreen)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// The same million records in the library's grid control, with cell lock on over a thousand
// lock ranges, a disabled item and warning cells in view: each shown cell asks its colours.
struct StatefulList {
    StatefulList() : manager(kRecords)
    {
        host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
        manager.Associate(&grid, &data);
        bench::FillPoints(data, kRecords);
        manager.SetCellLock(TRUE);
        for (std::int32_t range = 0; range < 1000; ++range)
            data.Lock().Add({102, range * 1000 + 500, range * 1000 + 600});
        data.Lock().Add({101, 0, 5});
        manager.AttrDisable().Set(104u, 1, 0);
        for (long record = 0; record < 24; record += 3)
            manager.AttrWarning().Set(103u, record, 1, 0);
    }
    static constexpr long kRecords = 1'000'000;
    PointManager manager;
    TavData data;
    plat::Wnd host;
    TavCellCtrl grid;
};

void BM_RepaintScreenWithCellStates(benchmark::State& state)
{
    Env();
    static StatefulList* list = new StatefulList;
    list->grid.SetCurSel(MoxPos{1, 12}, 0);
    for (auto _ : state) {
        list->grid.SendMessage(plat::WM_PAINT);
        benchmark::DoNotOptimize(list->grid.GetDrawing().size());
    }
}
BENCHMARK(BM_RepaintScreenWithCellStates)->Unit(benchmark::kMicrosecond);

void BM_RepaintScreenFarDown(benchmark::State& state)
{
    BoundList& list = List(1'000'000);
    list.grid.SetCurSel(MoxPos{1, 900'000}, 0);
    for (auto _ : state) {
        list.grid.SendMessage(plat::WM_PAINT);
        benchmark::DoNotOptimize(list.grid.GetDrawing().size());
    }
    list.grid.SetCurSel(MoxPos{1, 12}, 0);
}
BENCHMARK(BM_RepaintScreenFarDown)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
