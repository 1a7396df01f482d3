// A Qt program that shows a survey's points in the library's grid beside a notes pane of its
// own: the grid in a splitter of the program's main window, the program's toolbar sending the
// grid its commands, the program's own QApplication running the loop.
#include "components/support/QanWinApp.h"
#include "components/mox/MoxMessages.h"
#include "examples/coordinates/CoordinateGrid.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/SampleSurvey.h"
#include "frontends/qt/EmbeddedPane.h"
#include "frontends/qt/QtDriver.h"
#include "platform/ui/Constants.h"
#include "tav/data/TavData.h"
#include "tav/settings/TavInitCell.h"
#include "tav/window/TavCellRouting.h"

#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    qtfe::QtDriver driver;
    QanWinApp app("測量メモ", "Application", &driver, "");
    TavInitCell();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("測量メモ"));
    auto* splitter = new QSplitter(&window);
    auto* notes = new QPlainTextEdit(splitter);
    notes->setPlaceholderText(QStringLiteral("現場メモ"));
    auto* pane = new qtfe::EmbeddedPane(driver, splitter);
    splitter->setStretchFactor(1, 3);
    window.setCentralWidget(splitter);

    coordinates::CoordinateManager manager(2000);
    TavData data;
    coordinates::CoordinateGrid grid;
    plat::RECT client;
    pane->Pane().GetClientRect(&client);
    grid.Create(plat::WS_VISIBLE, client, &pane->Pane(), 1);
    manager.Associate(&grid, &data);
    coordinates::FillSampleSurvey(data);
    data.SetModifiedFlag(FALSE);

    // The toolbar's buttons are the grid's own commands, sent as a menu of ours would.
    QToolBar* toolbar = window.addToolBar(QStringLiteral("編集"));
    auto command = [&grid, &driver](unsigned id) {
        grid.SendMessage(plat::WM_COMMAND, id, 0);
        driver.Refresh();
    };
    QObject::connect(toolbar->addAction(QStringLiteral("コピー")), &QAction::triggered, [&] { command(plat::ID_EDIT_COPY); });
    QObject::connect(toolbar->addAction(QStringLiteral("貼り付け")), &QAction::triggered, [&] { command(plat::ID_EDIT_PASTE); });
    QObject::connect(toolbar->addAction(QStringLiteral("元に戻す")), &QAction::triggered, [&] { command(plat::ID_EDIT_UNDO); });

    window.resize(1000, 640);
    window.show();
    pane->setFocus();
    grid.SetFocus();
    driver.Refresh();
    const int result = application.exec();
    if (grid.IsWindow())
        grid.DestroyWindow();
    return result;
}
