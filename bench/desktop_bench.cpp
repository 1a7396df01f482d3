// The desktop front end's painting, offscreen, in a 1,920 × 1,080 window: the editor's whole
// picture (the update pass and the pixels) over a million records beside a hundred, beside
// Qt's own table view over a model of the same million rows of ten numbers, and what one wheel
// notch costs.
#include "examples/coordinates/CoordinateFrame.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/SampleSurvey.h"
#include "frontends/qt/BackingImage.h"
#include "frontends/qt/QtDriver.h"
#include "frontends/qt/WindowWidget.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/ui/UpdatePass.h"
#include "tav/data/TavData.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "desktop_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication application(argc, argv);
    return application;
}

struct Desktop {
    Desktop() { plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>()); }
    QApplication& application = Application(); // before the driver, which asks for the desktop's fonts
    qtfe::QtDriver driver{QSize(kWidth, kHeight)};
    plat::WinApp app{"座標一覧", "Application", &driver};
};

Desktop& TheDesktop()
{
    static Desktop desktop;
    return desktop;
}

// The editor's window over a table of so many records, each one filled.
struct Editor {
    explicit Editor(long records) : manager(records), frame(manager, data)
    {
        frame.Open(plat::SIZE{kWidth, kHeight});
        coordinates::FillSampleSurvey(data, records);
        frame.ShowWindow(plat::SW_HIDE);
    }
    coordinates::CoordinateManager manager;
    TavData data;
    coordinates::CoordinateFrame frame;
};

Editor& EditorOf(long records)
{
    TheDesktop();
    static std::unique_ptr<Editor> big;
    static std::unique_ptr<Editor> small;
    std::unique_ptr<Editor>& editor = records > 100 ? big : small;
    if (!editor)
        editor = std::make_unique<Editor>(records);
    return *editor;
}

// Everything a full repaint does: the grid draws into its device context in the update pass,
// then the window's kept picture is brought up to date in pixels, all of it.
void Repaint(Editor& editor, qtfe::BackingImage& picture)
{
    editor.frame.Grid().Invalidate();
    plat::UpdateWindows();
    qtfe::BackingImage::Changes changes = picture.Update(TheDesktop().driver.Painter(), editor.frame, 1.0, -1);
    benchmark::DoNotOptimize(changes);
}

void BM_DesktopRepaint(benchmark::State& state)
{
    Editor& editor = EditorOf(state.range(0));
    editor.frame.ShowWindow(plat::SW_SHOW);
    qtfe::BackingImage picture;
    for (auto _ : state) {
        Repaint(editor, picture);
        benchmark::DoNotOptimize(picture.Image().constBits());
    }
    editor.frame.ShowWindow(plat::SW_HIDE);
}
BENCHMARK(BM_DesktopRepaint)->Arg(100)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// One notch down, then what shows it (the rows kept are moved, the new ones painted); the
// next turn goes back up.
void BM_DesktopWheelNotch(benchmark::State& state)
{
    Editor& editor = EditorOf(1'000'000);
    editor.frame.ShowWindow(plat::SW_SHOW);
    qtfe::BackingImage picture;
    Repaint(editor, picture);
    int direction = -1;
    for (auto _ : state) {
        editor.frame.Grid().SendMessage(plat::WM_MOUSEWHEEL,
                                        static_cast<plat::WPARAM>(static_cast<plat::WORD>(direction * plat::WHEEL_DELTA)) << 16, 0);
        direction = -direction;
        plat::UpdateWindows();
        qtfe::BackingImage::Changes changes = picture.Update(TheDesktop().driver.Painter(), editor.frame, 1.0, -1);
        benchmark::DoNotOptimize(changes);
    }
    editor.frame.ShowWindow(plat::SW_HIDE);
}
BENCHMARK(BM_DesktopWheelNotch)->Unit(benchmark::kMillisecond);

// Qt's own grid over the same million rows of ten numbers.
class NumberModel final : public QAbstractTableModel {
public:
    NumberModel() : m_values(kRows * kColumns)
    {
        for (std::size_t i = 0; i < m_values.size(); ++i)
            m_values[i] = -36000.0 + static_cast<double>(i % 9973) * 0.125;
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_values[static_cast<std::size_t>(index.row()) * kColumns + static_cast<std::size_t>(index.column())];
    }

private:
    static constexpr int kRows = 1'000'000;
    static constexpr int kColumns = 10;
    std::vector<double> m_values;
};

void BM_QTableViewRepaint(benchmark::State& state)
{
    Application();
    NumberModel model;
    QTableView view;
    view.setModel(&model);
    view.resize(kWidth, kHeight);
    view.verticalHeader()->setDefaultSectionSize(TheDesktop().driver.Measure().LineHeight(plat::DefaultLogFont()));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QTableViewRepaint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
