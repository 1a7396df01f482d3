// The cost of the registry on the SQLite store (a temporary file): writing one value the way
// settings are saved (open, set, close: one durable transaction) and reading one back.
#include "bench/Baselines.h"
#include "components/support/SolKey.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace plat;

namespace {

// One temporary database for the whole run, removed at exit.
class BenchRegistry {
public:
    BenchRegistry()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavreg-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_folder = pattern;
        auto opened = SqliteRegistryStore::Open(m_folder / "registry.sqlite3", SqliteRegistryStore::Mode::ReadWrite);
        if (!opened.store)
            std::abort();
        RegSetStore(HKEY_CURRENT_USER, std::move(opened.store));
    }
    ~BenchRegistry()
    {
        RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

private:
    std::filesystem::path m_folder;
};

BenchRegistry& Registry()
{
    static BenchRegistry registry;
    return registry;
}

constexpr const char* kKeyPath = "Software\\Zervan Soft\\System\\Pallete\\QzTav";

void BM_OpenSetClose(benchmark::State& state)
{
    Registry();
    DWORD value = 0;
    for (auto _ : state) {
        HKEY key = nullptr;
        if (RegCreateKeyEx(HKEY_CURRENT_USER, kKeyPath, 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            state.SkipWithError("create failed");
        ++value;
        RegSetValueEx(key, "TAV_LOCK_BACK_COLOR", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        RegCloseKey(key);
    }
}
BENCHMARK(BM_OpenSetClose)->UseRealTime(); // a durable change waits for the disk, not the CPU

void BM_ReadValue(benchmark::State& state)
{
    Registry();
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kKeyPath, 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        state.SkipWithError("create failed");
    const DWORD stored = 0x80FFFF;
    RegSetValueEx(key, "TAV_WARNING_TEXT_COLOR", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), 4);
    for (auto _ : state) {
        DWORD value = 0;
        DWORD length = sizeof value;
        benchmark::DoNotOptimize(
            RegQueryValueEx(key, "TAV_WARNING_TEXT_COLOR", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &length));
        benchmark::DoNotOptimize(value);
    }
    RegCloseKey(key);
}
BENCHMARK(BM_ReadValue);

// What a settings load pays per value: open the key, read, close.
void BM_OpenReadClose(benchmark::State& state)
{
    Registry();
    SolKey(HKEY_CURRENT_USER, kKeyPath).SetDWord("TAV_USE_FONT", 1);
    for (auto _ : state) {
        SolKey key;
        key.Open(HKEY_CURRENT_USER, kKeyPath);
        benchmark::DoNotOptimize(key.GetBool("TAV_USE_FONT", FALSE));
    }
}
BENCHMARK(BM_OpenReadClose);

// The floor of a read: one prepared point query on a small SQLite table in the same folder,
// which is what the store runs for a value once its key is known.
void BM_SqlitePointQuery(benchmark::State& state)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tavcell-bench-point.sqlite3";
    sqlite3* db = nullptr;
    sqlite3_stmt* query = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK
        || sqlite3_exec(db, "CREATE TABLE IF NOT EXISTS t(k INTEGER PRIMARY KEY, v BLOB);"
                            "INSERT OR REPLACE INTO t VALUES(1, x'FFFF8000');", nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(db, "SELECT v FROM t WHERE k = 1", -1, &query, nullptr) != SQLITE_OK) {
        state.SkipWithError("cannot set up the query");
    } else {
        for (auto _ : state) {
            if (sqlite3_step(query) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_bytes(query, 0));
            sqlite3_reset(query);
        }
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    std::filesystem::remove(path);
}
BENCHMARK(BM_SqlitePointQuery);

// The floor of every durable change: 4 KiB written and flushed to the same disk.
void BM_DurableWrite4K(benchmark::State& state) { bench::DurableWrite4K(state); }
BENCHMARK(BM_DurableWrite4K)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
