// The bulk operations on selections against their bare work: an area correction adding to one
// number item over a million selected records (its dialog answered at once, the one repaint
// included) beside a plain loop adding to a million doubles; and the lock list built from
// 1,000, 10,000 and 100,000 ranges beside merely listing their entries.
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
constexpr unsigned kX = 102;

const plat::Module& BenchModule()
{
    static const plat::Module* module = [] {
        static plat::Module m("lock bench");
        m.AddStrings({{kX, "X座標\nX"}});
        return &m;
    }();
    return *module;
}

class HeightManager : public TavManager {
public:
    HeightManager() : TavManager(&BenchModule())
    {
        SetSize(1, kRecords);
        SetTemplate(m_declaration.data());
        const HixMrm measure(5, 0, 3);
        m_x.SetNumAttr(&measure, 1, 3);
    }
    const char* GetRegSection() override { return "LockBench"; }
    int OnCreateControl(plat::Wnd* window) override
    {
        if (window != nullptr && window->GetParent() != nullptr && !m_x.IsWindow())
            m_x.Create(plat::ES_RIGHT, plat::RECT{0, 0, 80, 16}, window->GetParent(), 200);
        return TRUE;
    }
    plat::Wnd* OnGetControl(unsigned id, int&) override { return id == kX ? &m_x : nullptr; }

private:
    LunMrmNumEdit m_x{5};
    std::vector<int> m_declaration{static_cast<int>(kX)};
};

struct Corrected {
    Corrected()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
        manager.Associate(&grid, &data);
        app.SetMainWnd(&host);
        data.m_viewUpdate = 0;
        for (long record = 0; record < kRecords; ++record)
            data.Set(0L, record, 1000.0 + record);
        data.m_viewUpdate = 1;
        MoxRectArray selection;
        selection.Add(MoxRect(MoxPos{0, 0}, MoxPos{0, static_cast<std::int32_t>(kRecords - 1)}));
        grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&selection));
        // Each correction adds a millimetre.
        driver.OnEveryDialog([](plat::DialogOperator& dialog) {
            if (dialog.Caption() != "数値補正")
                return;
            dialog.SetText(TAV_IDC_INPUTNUM_VALUE, "0.001");
            dialog.Return();
        });
    }

    plat::HeadlessDriver driver;
    plat::WinApp app{"LockBench", "Bench", &driver};
    HeightManager manager;
    TavData data;
    plat::Wnd host;
    TavCellCtrl grid;
};

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
