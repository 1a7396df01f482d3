// The smallest Qt program that puts the grid into a window of its own, as the host guide shows
// it: the program keeps its QApplication and event loop. The install check builds it from
// pkg-config's flags alone.
#include "components/support/QanLimitEdit.h"
#include "frontends/qt/EmbeddedPane.h"
#include "frontends/qt/QtDriver.h"
#include "platform/ui/App.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/window/TavCellCtrl.h"

#include <QApplication>
#include <QMainWindow>

plat::Module names("names"); // string 1: the item's long name and heading
struct NameList : TavManager {
    QanLimitEdit edit{20};
    int declaration[1] = {1};
    NameList() : TavManager(&names) { SetSize(1, 100), SetTemplate(declaration); }
    const char* GetRegSection() override { return "Names"; }
    int OnCreateControl(plat::Wnd* grid) override { return edit.Create(plat::WS_CHILD, {0, 0, 160, 16}, grid->GetParent(), 1); }
    plat::Wnd* OnGetControl(unsigned, int&) override { return &edit; }
};

// [guide:qt]
int main(int argc, char** argv)
{
    QApplication application(argc, argv); // first: the driver draws with Qt
    qtfe::QtDriver driver;
    plat::WinApp app("名前一覧", "Application", &driver);
    names.AddString(1, "名前\n名前");

    QMainWindow window;
    auto* pane = new qtfe::EmbeddedPane(driver); // a widget like any other of the window
    window.setCentralWidget(pane);
    NameList manager;
    TavData data;
    TavCellCtrl grid;
    plat::RECT client;
    pane->Pane().GetClientRect(&client);
    grid.Create(plat::WS_VISIBLE, client, &pane->Pane(), 100); // the pane keeps it filling the widget
    manager.Associate(&grid, &data);

    window.show();
    grid.SetFocus();
    driver.Refresh();
    const int result = application.exec(); // the grid's input is dispatched from Qt's loop
    grid.DestroyWindow();                  // while the grid is whole, so its own teardown runs
    return result;
}
// [/guide:qt]
