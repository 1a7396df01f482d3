// Undo and redo beside the changes they take back: a delete of a thousand lines at the top of
// a million-record coordinate list, and an area correction adding to a million numbers. The
// bytes the history holds after the delete are reported beside the removed records' bytes,
// and after a thousand block pastes beside its limit and the heap the program took.
#include "bench/CorrectedColumn.h"
#include "bench/PasteBlock.h"
#include "bench/PointList.h"
#include "components/support/LunMrmNumEdit.h"
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tav/dialogs/TavInputNumDialog.h"
#include "tav/window/TavCellCtrl.h"

#include <benchmark/benchmark.h>

#include "platform/ui/Clipboard.h"

#include <cstdio>
#include <unistd.h>
#include <memory>
#include <vector>

namespace {

constexpr long kRecords = 1'000'000;
constexpr long kBlock = 1000;

struct LineList {
    LineList() : manager(kRecords)
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
        manager.Associate(&grid, &data);
        bench::FillPoints(data, kRecords - kBlock);
        manager.AttrWarning().Set(102u, 10, 1, 0);
        manager.AttrDisable().Set(104u, 20, 1, 0);
        MoxRectArray lines;
        lines.Add(MoxRect(MoxPos{0, 0}, MoxPos{3, static_cast<std::int32_t>(kBlock - 1)}), MoxRectArray::kWholeLines);
        grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&lines));
    }
    bool Delete() { return grid.LineDelete() == 1; }

    plat::HeadlessDriver driver;
    plat::WinApp app{"UndoBench", "Bench", &driver};
    bench::PointManager manager;
    TavData data;
    plat::Wnd host;
    TavCellCtrl grid;
};

LineList& List()
{
    static LineList* list = new LineList();
    return *list;
}

void BM_DeleteThousandLinesAtTop(benchmark::State& state)
{
    LineList& list = List();
    for (auto _ : state) {
        if (!list.Delete()) {
            state.SkipWithError("the lines were not deleted");
            break;
        }
        state.PauseTiming();
        benchmark::DoNotOptimize(list.data.History().Undo());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteThousandLinesAtTop)->Unit(benchmark::kMillisecond);

void BM_UndoDeleteThousandLines(benchmark::State& state)
{
    LineList& list = List();
    for (auto _ : state) {
        state.PauseTiming();
        list.Delete();
        state.ResumeTiming();
        if (!list.data.History().Undo()) {
            state.SkipWithError("the delete was not taken back");
            break;
        }
    }
}
BENCHMARK(BM_UndoDeleteThousandLines)->Unit(benchmark::kMillisecond);

void BM_RedoDeleteThousandLines(benchmark::State& state)
{
    LineList& list = List();
    list.Delete();
    benchmark::DoNotOptimize(list.data.History().Undo());
    for (auto _ : state) {
        if (!list.data.History().Redo()) {
            state.SkipWithError("the delete was not done again");
            break;
        }
        state.PauseTiming();
        benchmark::DoNotOptimize(list.data.History().Undo());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RedoDeleteThousandLines)->Unit(benchmark::kMillisecond);

// What the history holds after the delete, beside the bytes of the records it removed.
void BM_HistoryBytesAfterDelete(benchmark::State& state)
{
    LineList& list = List();
    TavUndoHistory& history = list.data.History();
    for (auto _ : state) {
        history.Clear();
        list.Delete();
        const double held = static_cast<double>(history.GetBytes());
        const double removed = static_cast<double>(list.data.SaveRecords(0, kBlock).size());
        state.counters["held"] = held;
        state.counters["removed"] = removed;
        state.counters["over_percent"] = (held - removed) / removed * 100.0;
        benchmark::DoNotOptimize(history.Undo());
    }
}
BENCHMARK(BM_HistoryBytesAfterDelete)->Iterations(1)->Unit(benchmark::kMillisecond);

using bench::Corrected;

Corrected& Correction()
{
    static Corrected* corrected = new Corrected();
    return *corrected;
}

void BM_AreaCorrectMillionRecords(benchmark::State& state)
{
    Corrected& corrected = Correction();
    for (auto _ : state) {
        corrected.Correct();
        state.PauseTiming();
        if (!corrected.data.History().Undo())
            state.SkipWithError("the correction was not recorded");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AreaCorrectMillionRecords)->Unit(benchmark::kMillisecond);

void BM_UndoAreaCorrectMillionRecords(benchmark::State& state)
{
    Corrected& corrected = Correction();
    for (auto _ : state) {
        state.PauseTiming();
        corrected.Correct();
        state.ResumeTiming();
        if (!corrected.data.History().Undo()) {
            state.SkipWithError("the correction was not taken back");
            break;
        }
    }
}
BENCHMARK(BM_UndoAreaCorrectMillionRecords)->Unit(benchmark::kMillisecond);

// The program's resident memory, from the kernel's own count of its pages.
double ResidentBytes()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// A thousand pastes of a 2,000 x 9 block, two texts taking turns so that every paste changes
// every cell: the bytes the history counts beside its limit, and beside them how much the
// program really grew, which the limit must hold too.
void BM_HistoryBytesAfterThousandPastes(benchmark::State& state)
{
    static bench::PasteBlock* block = new bench::PasteBlock();
    TavUndoHistory& history = block->data.History();
    const std::string texts[] = {bench::BlockText("甲乙丙"), bench::BlockText("丁戊")};
    const MoxPos origin{0, 0};
    for (auto _ : state) {
        history.Clear();
        const double before = ResidentBytes();
        std::size_t stepBytes = 0;
        for (int paste = 0; paste < 1000; ++paste) {
            plat::SetClipboardText(texts[paste % 2]);
            block->grid.SendMessage(MOXM_SETCARET, reinterpret_cast<plat::WPARAM>(&origin));
            block->grid.SendMessage(MOXM_PASTE);
            if (paste == 0)
                stepBytes = history.GetBytes();
        }
        state.counters["held"] = static_cast<double>(history.GetBytes());
        state.counters["limit"] = static_cast<double>(history.GetLimit());
        state.counters["grown"] = ResidentBytes() - before;
        state.counters["steps"] = static_cast<double>(history.GetStepCount());
        state.counters["step"] = static_cast<double>(stepBytes);
        // The bare figure: the old bytes of the cells the kept steps changed.
        state.counters["cells"] = static_cast<double>(history.GetStepCount() * bench::BlockManager::kRows * 9 *
                                                      bench::BlockManager::kTextBytes);
    }
}
BENCHMARK(BM_HistoryBytesAfterThousandPastes)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
