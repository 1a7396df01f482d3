// Printing a coordinate list to a PDF file: the grid lays out its pages and the printer
// context draws each one and lets go of it, so the time grows with the pages and the memory
// stays that of one page whatever the record count.
#include "bench/PointList.h"
#include "components/mox/MoxCellCtrl.h"
#include "components/mox/MoxDeferredViews.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "platform/print/PrinterDC.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/resource/Module.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using bench::Environment;
using bench::HostWindow;
using bench::PointManager;

long PeakKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_PrintToPdf(benchmark::State& state)
{
    static Environment environment;
    const long records = state.range(0);
    PointManager manager(records);
    TavData data;
    HostWindow host(manager);
    MoxCellCtrl grid;
    host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
    grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
    manager.Associate(&grid, &data);
    {
        const MoxDeferredViews oneRepaint(data);
        for (long record = 0; record < records; ++record) {
            benchmark::DoNotOptimize(data.Set(0L, record, "点" + std::to_string(record + 1)));
            benchmark::DoNotOptimize(data.Set(1L, record, -12345.5 + record));
            benchmark::DoNotOptimize(data.Set(2L, record, 67890.25 + record));
            benchmark::DoNotOptimize(data.Set(3L, record, 12.125));
        }
    }
    const std::filesystem::path pdf = std::filesystem::temp_directory_path() / ("tavcell-print-bench-" + std::to_string(::getpid()) + ".pdf");
    const long peakBefore = PeakKilobytes();
    int pages = 0;
    for (auto _ : state) {
        plat::PrinterDC printer;
        printer.CreatePdfDC(pdf);
        printer.SetMapMode(plat::MM_LOENGLISH);
        printer.StartDoc(plat::DOCINFO{"QUORTAL Win - ｾﾙの印刷", {}});
        pages = static_cast<int>(grid.SendMessage(MOXM_PRINT, reinterpret_cast<plat::WPARAM>(&printer)));
        if (printer.EndDoc() <= 0)
            state.SkipWithError(printer.GetError().c_str());
    }
    state.counters["pages"] = pages;
    state.counters["pdf_kB"] = static_cast<double>(std::filesystem::file_size(pdf)) / 1024;
    state.counters["peak_growth_kB"] = static_cast<double>(PeakKilobytes() - peakBefore);
    std::filesystem::remove(pdf);
    host.DestroyWindow();
}
BENCHMARK(BM_PrintToPdf)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
