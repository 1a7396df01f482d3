// Reading a SIMA file of 100,000 points into a coordinate list with room for them (the
// editor's own items, bound without a window), as one undo
// step, and the reading of the file alone, beside std::from_chars over the same numbers'
// texts, already found in the file.
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/CoordinateResources.h"
#include "examples/coordinates/ExchangePoints.h"
#include "examples/coordinates/SimaFile.h"
#include "tav/data/TavData.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr long kPoints = 100'000;

// A survey as field instruments write it: numbered points with short names, coordinates to
// the millimetre in a plane rectangular system, a height now and then missing.
const std::string& GeneratedSima()
{
    static const std::string file = [] {
        std::vector<coordinates::ExchangePoint> points(kPoints);
        for (long i = 0; i < kPoints; ++i) {
            coordinates::ExchangePoint& point = points[static_cast<std::size_t>(i)];
            point.number = static_cast<double>(i + 1);
            point.name = "P" + std::to_string(i + 1);
            point.x = -36000.0 - static_cast<double>(i % 9973) * 0.731 - static_cast<double>(i % 7) * 0.001;
            point.y = -8000.0 + static_cast<double>(i % 8191) * 0.457 + static_cast<double>(i % 11) * 0.001;
            if (i % 10 != 0)
                point.z = 20.0 + static_cast<double>(i % 997) * 0.013;
        }
        return coordinates::WriteSima("benchmark", points).bytes;
    }();
    return file;
}

void BM_SimaImport100000(benchmark::State& state)
{
    const std::string& file = GeneratedSima();
    for (auto _ : state) {
        state.PauseTiming();
        auto manager = std::make_unique<coordinates::CoordinateManager>(kPoints);
        auto data = std::make_unique<TavData>();
        data->TemplateName() = "標準";
        data->Template() = {coordinates::kPointNo, coordinates::kPointName, coordinates::kX, coordinates::kY, coordinates::kZ};
        manager->Associate(nullptr, data.get());
        state.ResumeTiming();
        const coordinates::SimaReadResult read = coordinates::ReadSima(file);
        if (!read.ok || coordinates::ApplyPoints(*data, read.points, coordinates::ImportMode::Replace, "読み込み") !=
                            coordinates::ImportOutcome::Done)
            state.SkipWithError("the import failed");
        benchmark::DoNotOptimize(data->GetLastInputRecordNo());
        state.PauseTiming();
        data.reset();
        manager.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_SimaImport100000)->Unit(benchmark::kMillisecond);

// The reading half of the import alone: the file checked into points, the table untouched.
void BM_SimaReadOnly100000(benchmark::State& state)
{
    const std::string& file = GeneratedSima();
    for (auto _ : state) {
        const coordinates::SimaReadResult read = coordinates::ReadSima(file);
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_SimaReadOnly100000)->Unit(benchmark::kMillisecond);

// The floor: the same numbers (point number, X, Y and the heights present), each parsed from
// its text in the file, with nothing found, checked or stored.
void BM_FromCharsOfTheSameNumbers(benchmark::State& state)
{
    const std::string_view file = GeneratedSima();
    std::vector<std::string_view> numbers;
    for (std::size_t start = 0; start < file.size();) {
        const std::size_t end = file.find('\n', start);
        const std::string_view line = file.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with("A01,"))
            continue;
        std::size_t field = 0;
        for (std::size_t from = 0; from < line.size(); ++field) {
            const std::size_t comma = std::min(line.find(',', from), line.size());
            const std::string_view text = line.substr(from, comma - from);
            if ((field == 1 || field >= 3) && field <= 5 && !text.empty())
                numbers.push_back(text);
            from = comma + 1;
        }
    }
    for (auto _ : state) {
        double sum = 0;
        for (const std::string_view text : numbers) {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
    state.counters["numbers"] = static_cast<double>(numbers.size());
}
BENCHMARK(BM_FromCharsOfTheSameNumbers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
