// The record table's hot paths side by side with what they cannot beat: cell access, record
// insertion and removal against a plain memmove of the same bytes, storing and loading
// through a memory archive, and memory per record against the raw record size.
#include "bench/Baselines.h"
#include "components/mox/MoxData.h"
#include "platform/io/Archive.h"
#include "tav/data/TavData.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// A table of `items` items of `size` bytes each.
class FixedTable : public MoxData {
public:
    FixedTable(long items, unsigned size, long records) : m_size(size)
    {
        if (!SetSize(items, records))
            throw std::bad_alloc();
    }
    unsigned OnGetDataSize(long /*itemNo*/) const override { return m_size; }

private:
    unsigned m_size;
};

constexpr long kBigRecords = 1'000'000;
constexpr long kBigItems = 10;
constexpr unsigned kBigItemSize = 10; // 100-byte records

FixedTable& FilledBigTable()
{
    static FixedTable* table = [] {
        auto* t = new FixedTable(kBigItems, kBigItemSize, kBigRecords);
        char cell[kBigItemSize] = "cell";
        for (long record = 0; record < kBigRecords; ++record)
            for (long item = 0; item < kBigItems; ++item) {
                cell[5] = static_cast<char>(record);
                t->SetBuffer(item, record, cell, sizeof cell);
            }
        return t;
    }();
    return *table;
}

void BM_SetBuffer8(benchmark::State& state)
{
    FixedTable table(4, 8, 4096);
    double value = 1.5;
    long record = 0;
    for (auto _ : state) {
        table.SetBuffer(2, record, &value, sizeof value);
        record = (record + 1) & 4095;
        value += 1.0;
    }
    benchmark::DoNotOptimize(table.GetLastInputRecordNo());
}
BENCHMARK(BM_SetBuffer8);

void BM_GetBuffer8(benchmark::State& state)
{
    FixedTable table(4, 8, 4096);
    double value = 2.5;
    for (long record = 0; record < 4096; record += 2)
        table.SetBuffer(2, record, &value, sizeof value);
    long record = 0;
    double sum = 0;
    for (auto _ : state) {
        double out;
        sum += table.GetBuffer(2, record, &out, sizeof out) ? out : 0.0;
        record = (record + 1) & 4095;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_GetBuffer8);

// The floor for both: copying 8 bytes in and out of a warm block.
void BM_Memcpy8(benchmark::State& state)
{
    std::vector<double> block(4096, 2.5);
    long record = 0;
    double value = 1.5;
    for (auto _ : state) {
        std::memcpy(&block[static_cast<std::size_t>(record)], &value, sizeof value);
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
        record = (record + 1) & 4095;
        value += 1.0;
    }
}
BENCHMARK(BM_Memcpy8);

void BM_TavDataSetGetDouble(benchmark::State& state)
{
    // The typed accessor on an unbound table: what a host pays per value it fills in.
    class Sized : public TavData {
    public:
        unsigned OnGetDataSize(long) const override { return 8; }
    } table;
    table.SetSize(4, 4096);
    long record = 0;
    double sum = 0;
    for (auto _ : state) {
        const double value = static_cast<double>(record);
        benchmark::DoNotOptimize(table.Set(1L, record, value));
        double out = 0;
        benchmark::DoNotOptimize(table.Get(1L, record, out));
        sum += out;
        record = (record + 1) & 4095;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_TavDataSetGetDouble);

void BM_InsertRecordAt0(benchmark::State& state)
{
    FixedTable& table = FilledBigTable();
    for (auto _ : state)
        table.InsertRecord(0, 1);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (kBigRecords - 1) * kBigItems * kBigItemSize);
}
BENCHMARK(BM_InsertRecordAt0)->Unit(benchmark::kMillisecond);

void BM_RemoveRecordAt0(benchmark::State& state)
{
    FixedTable& table = FilledBigTable();
    for (auto _ : state)
        table.RemoveRecord(0, 1);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (kBigRecords - 1) * kBigItems * kBigItemSize);
}
BENCHMARK(BM_RemoveRecordAt0)->Unit(benchmark::kMillisecond);

// The floor for both: moving the records after the point by one record, nothing else.
void BM_MemmoveSameBytes(benchmark::State& state)
{
    const std::size_t recordSize = kBigItems * kBigItemSize;
    std::vector<char> block(static_cast<std::size_t>(kBigRecords) * recordSize, 'x');
    for (auto _ : state) {
        std::memmove(block.data() + recordSize, block.data(), block.size() - recordSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(block.size() - recordSize));
}
BENCHMARK(BM_MemmoveSameBytes)->Unit(benchmark::kMillisecond);

void BM_StoreToMemoryArchive(benchmark::State& state)
{
    FixedTable& table = FilledBigTable();
    std::size_t stored = 0;
    for (auto _ : state) {
        plat::Archive archive = plat::Archive::ForStoring();
        table.Serialize(archive);
        stored = archive.Bytes().size();
        benchmark::DoNotOptimize(stored);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stored));
}
BENCHMARK(BM_StoreToMemoryArchive)->Unit(benchmark::kMillisecond);

void BM_LoadFromMemoryArchive(benchmark::State& state)
{
    plat::Archive storing = plat::Archive::ForStoring();
    FilledBigTable().Serialize(storing);
    const std::vector<std::uint8_t> bytes = storing.TakeBytes();
    FixedTable table(1, 1, 1);
    for (auto _ : state) {
        state.PauseTiming();
        plat::Archive archive = plat::Archive::ForLoading(std::vector<std::uint8_t>(bytes));
        state.ResumeTiming();
        table.Serialize(archive);
        benchmark::DoNotOptimize(table.GetLastInputRecordNo());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadFromMemoryArchive)->Unit(benchmark::kMillisecond);

// The floor for storing and loading: the table's bytes copied once into fresh memory.
void BM_CopyIntoFreshMemory(benchmark::State& state)
{
    bench::CopyIntoFreshMemory(state, static_cast<std::size_t>(kBigRecords) * kBigItems * kBigItemSize);
}
BENCHMARK(BM_CopyIntoFreshMemory)->Unit(benchmark::kMillisecond);

// Not a timing: the storage a 1,000,000-record table of 100-byte records holds, per record,
// against the raw record and against the aim of raw + 1 bit per cell + 1%.
void BM_MemoryPerRecord(benchmark::State& state)
{
    FixedTable table(kBigItems, kBigItemSize, kBigRecords);
    for (auto _ : state)
        benchmark::DoNotOptimize(table.GetStorageBytes());
    const double raw = kBigItems * kBigItemSize;
    const double perRecord = static_cast<double>(table.GetStorageBytes()) / kBigRecords;
    state.counters["bytes_per_record"] = perRecord;
    state.counters["raw_record_bytes"] = raw;
    state.counters["aim_bytes"] = (raw + kBigItems / 8.0) * 1.01;
    state.counters["overhead_pct"] = (perRecord / raw - 1.0) * 100.0;
}
BENCHMARK(BM_MemoryPerRecord)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
