// The coordinate-list editor on the desktop front end, offscreen: its first screen read back
// as pixels (hatched locked cells, a warning cell's red text, the selection's fill, a Japanese
// heading kept inside its column, a column border dragged), and a person's input given as Qt
// events (typing, a drag, the wheel, the right button, the clipboard both ways).
#include "frontends/qt/PixelReplay.h"
#include "frontends/qt/QtDriver.h"
#include "frontends/qt/WindowWidget.h"

#include "components/mox/MoxMessages.h"
#include "examples/coordinates/CoordinateFrame.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/SampleSurvey.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "tav/data/TavData.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace plat;

namespace {

QApplication& OffscreenApplication()
{
    static int argc = 1;
    static char name[] = "frontends_qt_tests";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Never destroyed: at exit Qt's own statics (the test's pointing device) go first.
    static QApplication* application = qApp != nullptr ? qApp : new QApplication(argc, argv);
    return *application;
}

class DesktopEditorTest : public ::testing::Test {
protected:
    DesktopEditorTest()
    {
        RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
        frame.Open(driver.ScreenSize());
        app.SetMainWnd(&frame);
        coordinates::FillSampleSurvey(data);
        coordinates::MarkSampleStates(manager, data);
        data.SetModifiedFlag(FALSE);
        driver.Refresh();
    }
    ~DesktopEditorTest() override
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
        RegSetStore(HKEY_CURRENT_USER, nullptr);
    }

    qtfe::WindowWidget& Widget() { return *driver.WidgetOf(frame); }
    MoxCellCtrl& Grid() { return frame.Grid(); }
    QImage Screen()
    {
        driver.Refresh();
        return Widget().grab().toImage();
    }
    // A cell's rectangle in the window's pixels.
    QRect Cell(long column, long row)
    {
        RECT rect;
        EXPECT_TRUE(Grid().GetCellRect(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)}, rect));
        POINT corner{rect.left, rect.top};
        Grid().ClientToScreen(&corner);
        return QRect(Widget().FromScreen(corner), QSize(rect.Width(), rect.Height()));
    }
    // The distinct colours inside a rectangle of the picture.
    static std::set<QRgb> Colors(const QImage& image, const QRect& area)
    {
        std::set<QRgb> colors;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                colors.insert(image.pixel(x, y) & 0xFFFFFF);
        return colors;
    }
    void Settle() { driver.PumpWaiting(); }

    QApplication& application = OffscreenApplication();
    qtfe::QtDriver driver{QSize(800, 560)};
    WinApp winApp{"座標一覧", "Application", &driver};
    WinApp& app = winApp;
    coordinates::CoordinateManager manager{2000};
    TavData data;
    coordinates::CoordinateFrame frame{manager, data};
};

} // namespace

TEST_F(DesktopEditorTest, FirstScreenShowsLocksWarningsAndHeadingsInPixels)
{
    const QImage screen = Screen();
    // A locked cell is hatched: two colours that repeat every 8 pixels, in its blank left part.
    const QRect locked = Cell(2, 0);
    const QRect blank(locked.left() + 1, locked.top() + 1, 8, std::min(8, locked.height() - 2));
    EXPECT_GE(Colors(screen, blank).size(), 2u) << "a locked cell must show its hatching";
    for (int y = blank.top(); y <= blank.bottom(); ++y)
        EXPECT_EQ(screen.pixel(blank.left(), y), screen.pixel(blank.left() + 8, y)) << "the hatching repeats every 8 pixels";

    // The warning cell's text is red.
    int red = 0;
    const QRect warning = Cell(2, 8);
    for (int y = warning.top(); y <= warning.bottom(); ++y)
        for (int x = warning.left(); x <= warning.right(); ++x) {
            const QColor color = screen.pixelColor(x, y);
            red += color.red() > 160 && color.green() < 90 && color.blue() < 90;
        }
    EXPECT_GT(red, 10) << "the warning cell's text must be drawn in red";

    // The name column's Japanese heading lies inside its cell: text pixels in it, none on the
    // column line that ends it.
    const QRect first = Cell(1, 0);
    const QRect heading(first.left(), first.top() - first.height() * Grid().GetFixedRowCount(), first.width(), first.height());
    const QRgb background = screen.pixel(heading.left() + 2, heading.top() + 1);
    int text = 0;
    for (int y = heading.top() + 1; y < heading.bottom(); ++y)
        for (int x = heading.left() + 1; x < heading.right() - 1; ++x)
            text += screen.pixel(x, y) != background;
    EXPECT_GT(text, 20) << "the heading's text must be drawn";
    const std::set<QRgb> line = Colors(screen, QRect(heading.right() + 1, heading.top() + 1, 1, heading.height() - 2));
    EXPECT_EQ(line.size(), 1u) << "no text may cross the column line";
}

TEST_F(DesktopEditorTest, ColumnBorderDraggedEndsWhereTheMouseIsReleased)
{
    const QRect column = Cell(1, 0);
    const int border = column.right() + 1;
    const int y = column.top() - column.height() / 2;
    QTest::mousePress(&Widget(), Qt::LeftButton, {}, QPoint(border, y));
    QTest::mouseMove(&Widget(), QPoint(border + 37, y));
    QTest::mouseRelease(&Widget(), Qt::LeftButton, {}, QPoint(border + 37, y));
    Settle();
    Screen();
    EXPECT_NEAR(Cell(1, 0).right() + 1, border + 37, 1);
}

TEST_F(DesktopEditorTest, TypingDraggingWheelContextMenuAndClipboardWorkThroughQtEvents)
{
    // Typing into a cell, then copying it: the clipboard holds what was typed.
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(1, 2).center());
    Settle();
    QTest::keyClicks(&Widget(), "Q7");
    QTest::keyClick(&Widget(), Qt::Key_Return);
    Settle();
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(1, 2).center());
    QTest::keyClick(&Widget(), Qt::Key_C, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral("Q7"));

    // A spreadsheet's copy of two cells pastes as two cells, and copies back as it came.
    QGuiApplication::clipboard()->setText(QStringLiteral("Q8\t-36000.125\r\n"));
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(1, 20).center());
    QTest::keyClick(&Widget(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(1, 20).center());
    QTest::keyClick(&Widget(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&Widget(), Qt::Key_C, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral("Q8\t-36000.125"));

    // A drag selects the cells it passes over, which show the selection colour.
    QTest::mousePress(&Widget(), Qt::LeftButton, {}, Cell(0, 3).center());
    QTest::mouseMove(&Widget(), Cell(2, 5).center());
    QTest::mouseRelease(&Widget(), Qt::LeftButton, {}, Cell(2, 5).center());
    Settle();
    const QImage screen = Screen();
    const QColor selection = qtfe::ToQColor(Grid().GetColor(MOXC_SELECTION));
    EXPECT_EQ(screen.pixelColor(Cell(1, 4).left() + 1, Cell(1, 4).center().y()), selection);
    EXPECT_NE(screen.pixelColor(Cell(1, 6).left() + 1, Cell(1, 6).center().y()), selection);

    // One wheel notch towards the person scrolls three lines.
    const long top = Grid().GetTopLeft().row;
    const QPointF at = Cell(1, 4).center();
    QWheelEvent wheel(at, Widget().mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Widget(), &wheel);
    Settle();
    EXPECT_EQ(Grid().GetTopLeft().row, top + 3);

    // The right button opens the context menu where the mouse is.
    QPoint menuAt;
    QTimer::singleShot(100, [&menuAt] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuAt = popup->pos();
            popup->close();
        }
    });
    const QPoint click = Cell(1, top + 5).center();
    QTest::mouseClick(&Widget(), Qt::RightButton, {}, click);
    Settle();
    EXPECT_LE((menuAt - Widget().mapToGlobal(click)).manhattanLength(), 4)
        << "the menu opens at the mouse: " << menuAt.x() << "," << menuAt.y() << " for " << Widget().mapToGlobal(click).x() << ","
        << Widget().mapToGlobal(click).y();
}
