// Printing a coordinate list to a PDF file: the grid lays out its pages and the printer
// context draws each one and lets go of it, so the time grows with the pages and the memory
// stays that of one page whatever the record count; beside it, cairo alone showing the same
// texts.
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
#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <fontconfig/fontconfig.h>

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

// The peer: cairo alone showing the same texts (a heading line and each record's number, name
// and three coordinates) in the face the printer context picks, 63 records a page as the
// grid prints them, with no layout, rules or clipping of its own.
void BM_CairoShowsTheSameTexts(benchmark::State& state)
{
    constexpr long kRowsPerPage = 63;
    const long records = state.range(0);
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(records) * 5);
    char number[32];
    for (long record = 0; record < records; ++record) {
        texts.push_back(std::to_string(record + 1));
        texts.push_back("点" + std::to_string(record + 1));
        for (const double value : {-12345.5 + static_cast<double>(record), 67890.25 + static_cast<double>(record), 12.125}) {
            std::snprintf(number, sizeof number, "%.3f", value);
            texts.emplace_back(number);
        }
    }
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("monospace:lang=ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match != nullptr ? match : pattern);
    const std::filesystem::path pdf = std::filesystem::temp_directory_path() / ("tavcell-cairo-bench-" + std::to_string(::getpid()) + ".pdf");
    for (auto _ : state) {
        cairo_surface_t* surface = cairo_pdf_surface_create(pdf.c_str(), 595, 842);
        cairo_t* cr = cairo_create(surface);
        cairo_set_font_face(cr, face);
        cairo_set_font_size(cr, 9);
        static constexpr double kColumns[] = {40, 80, 170, 260, 350};
        static constexpr const char* kHeadings[] = {"No.", "点名", "X座標", "Y座標", "標高"};
        for (long record = 0; record < records; ++record) {
            const long line = record % kRowsPerPage;
            if (line == 0) {
                if (record != 0)
                    cairo_show_page(cr);
                for (std::size_t column = 0; column < 5; ++column) {
                    cairo_move_to(cr, kColumns[column], 40);
                    cairo_show_text(cr, kHeadings[column]);
                }
            }
            for (std::size_t column = 0; column < 5; ++column) {
                cairo_move_to(cr, kColumns[column], 52 + 12 * static_cast<double>(line));
                cairo_show_text(cr, texts[static_cast<std::size_t>(record) * 5 + column].c_str());
            }
        }
        cairo_destroy(cr);
        cairo_surface_finish(surface);
        cairo_surface_destroy(surface);
    }
    state.counters["pages"] = static_cast<double>((records + kRowsPerPage - 1) / kRowsPerPage);
    cairo_font_face_destroy(face);
    if (match != nullptr)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    std::filesystem::remove(pdf);
}
BENCHMARK(BM_CairoShowsTheSameTexts)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
