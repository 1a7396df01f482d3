// The bulk operations on selections against their bare work: an area correction adding to one
// number item over a million selected records (its dialog answered at once, the one repaint
// included) beside a plain loop adding to a million doubles; and the lock list built from
// 1,000, 10,000 and 100,000 ranges beside merely listing their entries.
#include "bench/CorrectedColumn.h"
#include "components/support/LunMrmNumEdit.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/resource/Module.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/data/TavData.h"
#include "tav/dialogs/TavInputNumDialog.h"
#include "tav/manager/TavManager.h"
#include "tav/window/TavCellCtrl.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr long kRecords = 1'000'000;

using bench::Corrected;

void BM_AreaCorrectMillionRecords(benchmark::State& state)
{
    static Corrected corrected;
    for (auto _ : state) {
        corrected.grid.SendMessage(plat::WM_COMMAND, 0xC10A);
        corrected.grid.SendMessage(plat::WM_PAINT);
        benchmark::DoNotOptimize(corrected.grid.GetDrawing().size());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRecords);
}
BENCHMARK(BM_AreaCorrectMillionRecords)->Unit(benchmark::kMillisecond);

// The floor: the same additions to a million doubles in a plain array.
void BM_BareAddMillionDoubles(benchmark::State& state)
{
    std::vector<double> values(kRecords);
    for (long record = 0; record < kRecords; ++record)
        values[static_cast<std::size_t>(record)] = 1000.0 + record;
    for (auto _ : state) {
        for (double& value : values)
            value += 0.001;
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRecords);
}
BENCHMARK(BM_BareAddMillionDoubles)->Unit(benchmark::kMillisecond);

// Ranges over three columns of a long table, a few rows each, where about a third of them
// meet another of their item.
MoxRectArray Ranges(long count)
{
    std::mt19937 random(11);
    MoxRectArray ranges;
    for (long i = 0; i < count; ++i) {
        const auto column = static_cast<std::int32_t>(random() % 3);
        const auto top = static_cast<std::int32_t>(random() % static_cast<unsigned>(count * 10));
        ranges.Add(MoxRect(MoxPos{column, top}, MoxPos{column, top + static_cast<std::int32_t>(random() % 6)}));
    }
    return ranges;
}

void BM_BuildLockList(benchmark::State& state)
{
    const MoxRectArray ranges = Ranges(state.range(0));
    const std::vector<unsigned> ids{101, 102, 103};
    std::size_t size = 0;
    for (auto _ : state) {
        TavLockArray locks;
        TavCommon::BuildLockList(ranges, ranges.GetFlagArray(), kRecords, ids, locks);
        size = locks.GetSize();
        benchmark::DoNotOptimize(size);
    }
    state.counters["entries"] = static_cast<double>(size);
}
BENCHMARK(BM_BuildLockList)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The floor: the ranges' entries listed as they are, with no merging.
void BM_BareListLockEntries(benchmark::State& state)
{
    const MoxRectArray ranges = Ranges(state.range(0));
    const std::vector<unsigned> ids{101, 102, 103};
    for (auto _ : state) {
        std::vector<TavLockData> entries;
        for (std::size_t i = 0; i < ranges.GetSize(); ++i) {
            const MoxRect& range = ranges.GetAt(i);
            for (std::int32_t column = range.Left(); column <= range.Right(); ++column)
                entries.push_back({ids[static_cast<std::size_t>(column)], range.Top(), range.Bottom()});
        }
        benchmark::DoNotOptimize(entries.data());
    }
}
BENCHMARK(BM_BareListLockEntries)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
