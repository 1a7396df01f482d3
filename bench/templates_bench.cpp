// The template store on the SQLite registry in a temporary file, with 1,000 templates in the
// group: what saving, loading and listing cost a user who keeps many layouts. Timed by the
// clock on the wall: a save waits for the store to reach the disk, which costs no CPU time.
#include "bench/Baselines.h"
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

constexpr int kTemplates = 1000;
constexpr unsigned kItems = 40;

class BenchManager : public TavManager {
public:
    explicit BenchManager(TavData& data) : TavManager(nullptr) { AttachTable(&data); }
    const char* GetRegSection() override { return "Points"; }
    const char* GetSoftware() override { return "Bench"; }
};

std::string NameOf(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "Layout %04d", index);
    return name;
}

// One registry file for the whole run, filled once, removed at exit.
class StoredTemplates {
public:
    StoredTemplates()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavtemplates-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_folder = pattern;
        auto opened = plat::SqliteRegistryStore::Open(m_folder / "user.sqlite3", plat::SqliteRegistryStore::Mode::ReadWrite);
        if (!opened.store)
            throw std::runtime_error("cannot open the registry file: " + opened.error);
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::move(opened.store));

        for (unsigned item = 0; item < kItems; ++item) {
            m_data.Template().push_back(1000 + item);
            m_data.Width().push_back(64 + item);
        }
        for (int lock = 0; lock < 8; ++lock)
            m_data.Lock().Add({1000u + static_cast<unsigned>(lock), lock * 100, lock * 100 + 99});
        m_data.SetCellLockFlag(TRUE);
        TavTemplate templates(&m_manager);
        for (int index = 0; index < kTemplates; ++index)
            templates.SaveTemplate(NameOf(index));
    }
    ~StoredTemplates()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    TavData m_data;
    BenchManager m_manager{m_data};

private:
    std::filesystem::path m_folder;
};

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
        templates.SaveTemplate(name);
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
