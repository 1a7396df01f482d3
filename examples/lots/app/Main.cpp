// The lot-number list editor in the terminal: lots [document]. Opens the document when it
// exists; otherwise starts with an empty list that Ctrl+S saves under that name (or, without
// one, under a name asked for).
#include "LotData.h"
#include "LotFrame.h"
#include "LotManager.h"
#include "components/support/QanWinApp.h"
#include "frontends/tty/TtyDriver.h"
#include "platform/io/Files.h"
#include "tav/settings/TavInitCell.h"

#include <cstdio>
#include <filesystem>

// [guide:main]
int main(int argc, char** argv)
{
    const std::filesystem::path document = argc > 1 ? argv[1] : "";
    std::string error;
    std::unique_ptr<tty::TtyDriver> driver = tty::TtyDriver::Open(&error);
    if (!driver) {
        std::fprintf(stderr, "lots: %s\n", error.c_str());
        return 2;
    }
    // The program's name is its application key: its settings and templates lie under it.
    QanWinApp app("地番一覧", "Application", driver.get(), "lots.help");
    lots::LotManager manager(1000);
    lots::LotData data;
    lots::LotFrame frame(manager, data);
    if (!frame.Open(driver->ScreenSize())) {
        driver->Close();
        std::fprintf(stderr, "lots: the window could not be made\n");
        return 1;
    }
    app.SetMainWnd(&frame);
    TavInitCell(); // the grid font the person chose, for every program of the library
    if (!document.empty() && plat::PathExists(document))
        frame.OpenFile(document);
    else
        frame.SetDocumentPath(document);
    app.Run();
    driver->Close();
    return 0;
}
// [/guide:main]
