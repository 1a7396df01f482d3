// The template store on the SQLite registry in a temporary file, with 1,000 templates in the
// group: what saving, loading and listing cost a user who keeps many layouts. Timed by the
// clock on the wall: a save waits for the store to reach the disk, which costs no CPU time.
#include "bench/Baselines.h"
#include "bench/StoredTemplates.h"
#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/templates/TavTemplate.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::kTemplates;
using bench::StoredTemplates;

std::string NameOf(int index) { return bench::TemplateNameOf(index); }

StoredTemplates& Stored()
{
    static StoredTemplates stored;
    return stored;
}

void BM_SaveTemplate(benchmark::State& state)
{
    TavTemplate templates(&Stored().m_manager);
    const std::string name = NameOf(kTemplates / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(templates.SaveTemplate(name));
}
BENCHMARK(BM_SaveTemplate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadTemplate(benchmark::State& state)
{
    TavTemplate templates(&Stored().m_manager);
    const std::string name = NameOf(kTemplates / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(templates.LoadTemplate(name));
}
BENCHMARK(BM_LoadTemplate)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the manager does when it binds a table: a fresh store object, the remembered name, a load.
void BM_OpenAndLoadCurrent(benchmark::State& state)
{
    TavTemplate(&Stored().m_manager).SetCurrentName(NameOf(kTemplates / 2));
    for (auto _ : state) {
        TavTemplate templates(&Stored().m_manager);
        benchmark::DoNotOptimize(templates.LoadTemplate(templates.GetCurrentName()));
    }
}
BENCHMARK(BM_OpenAndLoadCurrent)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GetNameArray(benchmark::State& state)
{
    TavTemplate templates(&Stored().m_manager);
    std::vector<std::string> names;
    for (auto _ : state) {
        templates.GetNameArray(names);
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["names"] = static_cast<double>(names.size());
}
BENCHMARK(BM_GetNameArray)->Unit(benchmark::kMillisecond)->UseRealTime();

// A listing right after another program's save, when nothing cached can be used.
void BM_SaveThenGetNameArray(benchmark::State& state)
{
    TavTemplate templates(&Stored().m_manager);
    const std::string name = NameOf(kTemplates / 2);
    std::vector<std::string> names;
    for (auto _ : state) {
        benchmark::DoNotOptimize(templates.SaveTemplate(name));
        templates.GetNameArray(names);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_SaveThenGetNameArray)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of every durable change: 4 KiB written and flushed to the same disk.
void BM_DurableWrite4K(benchmark::State& state) { bench::DurableWrite4K(state); }
BENCHMARK(BM_DurableWrite4K)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
