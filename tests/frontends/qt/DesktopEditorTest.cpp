// The coordinate-list editor on the desktop front end, offscreen: what its first screen shows,
// read back as pixels, and a person's input (keys, mouse, wheel, clipboard, dialogs) as Qt events.
#include "frontends/qt/BackingImage.h"
#include "frontends/qt/DropListPopup.h"
#include "frontends/qt/EmbeddedPane.h"
#include "frontends/qt/PixelReplay.h"

#include "components/mox/MoxMessages.h"
#include "components/support/NifCommonMenu.h"
#include "examples/coordinates/CoordinateFrame.h"
#include "platform/ui/Controls.h"
#include "platform/ui/UpdatePass.h"
#include "tests/frontends/qt/SampleSurveyFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

using namespace plat;
using tavtest::OffscreenApplication;

namespace {

class DesktopEditorTest : public tavtest::SampleSurveyFixture {
protected:
    QImage Screen()
    {
        driver.Refresh();
        return Widget().grab().toImage();
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
    driver.PumpWaiting();
    Screen();
    EXPECT_NEAR(Cell(1, 0).right() + 1, border + 37, 1);
}

TEST_F(DesktopEditorTest, TypingDraggingWheelContextMenuAndClipboardWorkThroughQtEvents)
{
    // Typing into a cell, then copying it: the clipboard holds what was typed.
    Click(1, 2);
    QTest::keyClicks(&Widget(), "Q7");
    Key(Qt::Key_Return);
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(1, 2).center());
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral("Q7"));

    // A spreadsheet's copy of two cells pastes as two cells, and copies back as it came.
    QGuiApplication::clipboard()->setText(QStringLiteral("Q8\t-36000.125\r\n"));
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(1, 20).center());
    Key(Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(1, 20).center());
    QTest::keyClick(&Widget(), Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral("Q8\t-36000.125"));

    // A drag selects the cells it passes over, which show the selection colour.
    QTest::mousePress(&Widget(), Qt::LeftButton, {}, Cell(0, 3).center());
    QTest::mouseMove(&Widget(), Cell(2, 5).center());
    QTest::mouseRelease(&Widget(), Qt::LeftButton, {}, Cell(2, 5).center());
    driver.PumpWaiting();
    const QImage screen = Screen();
    const QColor selection = qtfe::ToQColor(Grid().GetColor(MOXC_SELECTION));
    EXPECT_EQ(screen.pixelColor(Cell(1, 4).left() + 1, Cell(1, 4).center().y()), selection);
    EXPECT_NE(screen.pixelColor(Cell(1, 6).left() + 1, Cell(1, 6).center().y()), selection);

    // One wheel notch towards the person scrolls three lines.
    const long top = Grid().GetTopLeft().row;
    const QPointF at = Cell(1, 4).center();
    QWheelEvent wheel(at, Widget().mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Widget(), &wheel);
    driver.PumpWaiting();
    EXPECT_EQ(Grid().GetTopLeft().row, top + 3);
    qtfe::BackingImage whole;
    whole.Update(driver.Painter(), frame, 1.0, -1);
    EXPECT_EQ(Screen().convertToFormat(QImage::Format_RGB32), whole.Image()) << "the window shows what a full repaint paints";

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
    driver.PumpWaiting();
    EXPECT_LE((menuAt - Widget().mapToGlobal(click)).manhattanLength(), 4)
        << "the menu opens at the mouse: " << menuAt.x() << "," << menuAt.y() << " for " << Widget().mapToGlobal(click).x() << ","
        << Widget().mapToGlobal(click).y();
}

TEST_F(DesktopEditorTest, WheelNotchMovesTheRowsKeptAndPaintsOnlyTheNewOnes)
{
    Screen();
    qtfe::BackingImage picture;
    picture.Update(driver.Painter(), frame, 1.0, -1);
    Grid().SendMessage(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-WHEEL_DELTA)) << 16, 0);
    UpdateWindows();
    const qtfe::BackingImage::Changes changes = picture.Update(driver.Painter(), frame, 1.0, -1);
    qtfe::BackingImage whole;
    whole.Update(driver.Painter(), frame, 1.0, -1);
    EXPECT_EQ(picture.Image(), whole.Image()) << "moved rows and the new ones make the picture a full repaint makes";

    RECT client;
    Grid().GetClientRect(&client);
    POINT corner{0, 0};
    Grid().ClientToScreen(&corner);
    const QRect grid(Widget().FromScreen(corner), QSize(client.Width(), client.Height()));
    const QRegion paintedInGrid = changes.painted.intersected(grid);
    long pixels = 0;
    for (const QRect& rect : paintedInGrid)
        pixels += static_cast<long>(rect.width()) * rect.height();
    EXPECT_LE(pixels, 3L * Grid().LineHeight() * grid.width()) << "only the three rows that came into view are painted";
    EXPECT_FALSE(changes.moved.isEmpty());
}

TEST_F(DesktopEditorTest, RulesRunAlongEveryCellsRightAndBottomEdge)
{
    Click(3, 4);
    const QImage screen = Screen();
    const QRgb rule = screen.pixel(Cell(1, 2).right(), Cell(1, 2).center().y());
    // Plain cells, the caret's and a hatched one: each ends in the same one-pixel rule.
    for (const auto& [column, row] : {std::pair{1, 2}, {3, 4}, {2, 0}, {4, 6}}) {
        const QRect cell = Cell(column, row);
        EXPECT_EQ(screen.pixel(cell.right(), cell.center().y()), rule) << column << "," << row;
        EXPECT_EQ(screen.pixel(cell.center().x(), cell.bottom()), rule) << column << "," << row;
        EXPECT_NE(screen.pixel(cell.right() - 1, cell.top() + 1), rule) << "one pixel wide: " << column << "," << row;
    }
    EXPECT_NE(rule, screen.pixel(Cell(1, 2).left() + 1, Cell(1, 2).top() + 1)) << "a rule stands out from the cell";
}

TEST_F(DesktopEditorTest, CursorTurnsToResizeOverAColumnBorderOnly)
{
    const QRect column = Cell(1, 0);
    const int y = column.top() - column.height() / 2;
    QTest::mouseMove(&Widget(), QPoint(column.right() + 1, y));
    driver.PumpWaiting();
    EXPECT_EQ(Widget().cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(&Widget(), QPoint(column.center().x(), y));
    driver.PumpWaiting();
    EXPECT_EQ(Widget().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(DesktopEditorTest, ComboListOpensWholePastItsDialogsEdgeAndAClickPicksARow)
{
    // The bulk correction of a point code: a small modal dialog whose list reaches below it.
    Click(5, 12);
    QObject guard; // the steps below go with the test
    ComboBox* combo = nullptr;
    QRect dialog;
    QRect list;
    int rowsShown = 0;
    int picked = -1;
    int chosen = -1;
    bool stillOpen = true;
    QTimer::singleShot(200, &guard, [&] {
        Wnd* box = GetActiveWindow();
        qtfe::WindowWidget* widget = driver.WidgetOf(*box);
        ASSERT_NE(widget, nullptr);
        box->ForEachDescendant([&combo](Wnd& wnd) {
            if (!combo)
                combo = dynamic_cast<ComboBox*>(&wnd);
        });
        ASSERT_NE(combo, nullptr);
        dialog = widget->geometry();
        QTest::keyClick(widget, Qt::Key_F4);
        QTimer::singleShot(200, &guard, [&, widget] {
            if (qtfe::DropListPopup* popup = driver.DropListOf(*combo)) {
                list = popup->geometry();
                rowsShown = popup->RowAt(QPoint(4, popup->height() - 2)) + 1;
                picked = combo->GetCurSel() == 2 ? 3 : 2;
                QPoint at(4, 1);
                while (popup->RowAt(at) != picked && at.y() < popup->height())
                    ++at.ry();
                QTest::mouseClick(popup, Qt::LeftButton, {}, at);
            }
            QTimer::singleShot(200, &guard, [&, widget] {
                chosen = combo->GetCurSel();
                stillOpen = combo->GetDroppedState() || driver.DropListOf(*combo) != nullptr;
                QTest::keyClick(widget, Qt::Key_Escape);
            });
        });
    });
    // Whatever is left open after that is closed, so that the test ends either way.
    QTimer::singleShot(5000, &guard, [&] {
        for (int i = 0; i < 3 && GetActiveWindow() != &frame; ++i)
            QTest::keyClick(driver.WidgetOf(*GetActiveWindow()), Qt::Key_Escape);
    });
    Grid().PostMessage(WM_COMMAND, NifCommand::AreaCorrect);
    driver.PumpWaiting();
    ASSERT_NE(combo, nullptr);
    ASSERT_FALSE(list.isEmpty()) << "the list opened as a pop-up";
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(list));
    EXPECT_GT(list.bottom(), dialog.bottom()) << "the list reaches past the dialog's edge";
    EXPECT_EQ(rowsShown, std::min(combo->GetCount(), 8)) << "every row the list holds is shown";
    EXPECT_EQ(chosen, picked) << "a click on a row picks it";
    EXPECT_FALSE(stillOpen);
}

TEST_F(DesktopEditorTest, DialogsAndMenusUseTheDesktopsFontWithAJapaneseFallback)
{
    const QString desktop = QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
    const LOGFONTA gui = DefaultLogFont();
    EXPECT_EQ(QString::fromUtf8(gui.lfFaceName), desktop);
    const QStringList faces = qtfe::FontFromLogFont(gui).families();
    ASSERT_FALSE(faces.isEmpty());
    EXPECT_EQ(faces.front(), desktop);
    EXPECT_TRUE(QFontDatabase::writingSystems(faces.back()).contains(QFontDatabase::Japanese)) << faces.back().toStdString();
}

TEST_F(DesktopEditorTest, ColourPageFontChoiceChangesTheGridsTextInPixels)
{
    // The height of the text drawn in a cell.
    const auto textHeight = [this](long column, long row) {
        const QImage screen = Screen();
        const QRect cell = Cell(column, row);
        const QRgb background = screen.pixel(cell.left() + 1, cell.top() + 1);
        int top = cell.bottom();
        int bottom = cell.top();
        for (int y = cell.top(); y < cell.bottom(); ++y)
            for (int x = cell.left() + 1; x < cell.right(); ++x)
                if (screen.pixel(x, y) != background) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return bottom - top + 1;
    };
    const int before = textHeight(4, 3);

    // As a person does it: ツール > オプション, "use a font", ﾌｫﾝﾄ..., a size of 20, OK twice.
    const auto keys = [this](std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> strokes) {
        qtfe::WindowWidget* widget = driver.WidgetOf(*GetActiveWindow());
        ASSERT_NE(widget, nullptr);
        for (const auto& [key, modifiers] : strokes)
            QTest::keyClick(widget, key, modifiers);
    };
    QObject guard; // the steps below go with the test
    QTimer::singleShot(200, &guard, [&] {
        keys({{Qt::Key_U, Qt::AltModifier}, {Qt::Key_F, Qt::AltModifier}});
        QTimer::singleShot(300, &guard, [&] {
            keys({{Qt::Key_S, Qt::AltModifier}, {Qt::Key_End, {}}, {Qt::Key_Backspace, {}}, {Qt::Key_Backspace, {}},
                  {Qt::Key_Backspace, {}}, {Qt::Key_2, {}}, {Qt::Key_0, {}}, {Qt::Key_Return, {}}});
            QTimer::singleShot(300, &guard, [&] { keys({{Qt::Key_Return, {}}}); });
        });
    });
    // Whatever is left open after that is closed, so that the test ends either way.
    QTimer::singleShot(5000, &guard, [&] {
        for (int i = 0; i < 3 && GetActiveWindow() != &frame; ++i)
            keys({{Qt::Key_Escape, {}}});
    });
    frame.PostMessage(WM_COMMAND, coordinates::CoordinateFrame::ID_TOOLS_OPTIONS);
    driver.PumpWaiting();
    ASSERT_EQ(GetActiveWindow(), &frame);
    const int after = textHeight(4, 3);
    EXPECT_GT(after, before * 3 / 2) << "a 20-point font draws taller text: " << before << " px, then " << after << " px";
}

TEST(EmbeddedPaneTest, GivesUpTheFocusToAHostsWidgetAndTakesItBackWhereItWas)
{
    OffscreenApplication();
    qtfe::QtDriver driver;
    WinApp app("測量メモ", "Application", &driver);
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    auto* notes = new QLineEdit(&host);
    auto* pane = new qtfe::EmbeddedPane(driver, &host);
    layout->addWidget(notes);
    layout->addWidget(pane);
    RECT client;
    pane->Pane().GetClientRect(&client);
    Edit second;
    Edit first;
    ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE, RECT{0, 20, 80, 36}, &pane->Pane(), 2));
    ASSERT_TRUE(first.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 80, 16}, &pane->Pane(), 1));
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));

    pane->setFocus();
    driver.PumpWaiting();
    second.SetFocus();
    QTest::keyClicks(pane, "xy");
    driver.PumpWaiting();
    EXPECT_EQ(second.GetWindowText(), "xy");

    notes->setFocus();
    driver.PumpWaiting();
    EXPECT_EQ(Wnd::GetFocus(), nullptr) << "none of ours has the keys while the host's widget has them";
    QTest::keyClicks(notes, "abc");
    driver.PumpWaiting();
    EXPECT_EQ(notes->text(), QStringLiteral("abc"));
    EXPECT_EQ(second.GetWindowText(), "xy");

    pane->setFocus();
    driver.PumpWaiting();
    EXPECT_EQ(Wnd::GetFocus(), &second) << "the focus comes back to the window that had it";
}
