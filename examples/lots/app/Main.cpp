// The lot-number list editor: lots [--tty | --desktop] [document]. In a desktop window when
// there is a desktop (or --desktop says so) and tavcell was installed with its desktop front
// end, else in the terminal. Opens the document when it exists; otherwise starts with an empty
// list that Ctrl+S saves under that name (or, without one, under a name asked for).
#include "LotData.h"
#include "LotFrame.h"
#include "LotManager.h"
#include "components/support/QanWinApp.h"
#include "frontends/tty/TtyDriver.h"
#ifdef LOTS_DESKTOP
#include "frontends/qt/DesktopSession.h"
#endif
#include "platform/io/Files.h"
#include "tav/settings/TavInitCell.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace {

enum class Front { Either, Terminal, Desktop };

// [guide:front]
// Where the windows are shown: the desktop or the terminal, whichever opened.
struct Screen {
#ifdef LOTS_DESKTOP
    std::unique_ptr<qtfe::DesktopSession> desktop;
#endif
    std::unique_ptr<tty::TtyDriver> terminal;
    plat::Driver* driver = nullptr;

    // The desktop when there is one or it is asked for, else the terminal. Qt keeps argc and
    // argv, which must outlive the screen.
    bool Open(Front front, int& argc, char** argv, std::string& error)
    {
#ifdef LOTS_DESKTOP
        if (front == Front::Desktop || (front == Front::Either && qtfe::DesktopAvailable())) {
            desktop = qtfe::DesktopSession::Open(argc, argv, &error);
            if (desktop)
                driver = &desktop->GetDriver();
            if (desktop || front == Front::Desktop)
                return desktop != nullptr;
        }
#else
        if (front == Front::Desktop) {
            error = "tavcell was installed without its desktop front end";
            return false;
        }
#endif
        terminal = tty::TtyDriver::Open(&error);
        driver = terminal.get();
        return driver != nullptr;
    }
    // Gives the terminal back as it was; a desktop needs nothing of the kind.
    void Close()
    {
        if (terminal)
            terminal->Close();
    }
};
// [/guide:front]

} // namespace

// [guide:main]
int main(int argc, char** argv)
{
    std::filesystem::path document;
    Front front = Front::Either;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--tty")
            front = Front::Terminal;
        else if (argument == "--desktop")
            front = Front::Desktop;
        else if (argument.starts_with('-') || !document.empty()) {
            // --help, or a mistake: never a document named after a mistyped option.
            const bool help = argument == "--help";
            std::fputs("usage: lots [--tty | --desktop] [DOCUMENT]\n", help ? stdout : stderr);
            return help ? 0 : 2;
        } else
            document = argv[i];
    }
    std::string error;
    Screen screen;
    if (!screen.Open(front, argc, argv, error)) {
        std::fprintf(stderr, "lots: %s\n", error.c_str());
        return 2;
    }
    // The program's name is its application key: its settings and templates lie under it.
    QanWinApp app("地番一覧", "Application", screen.driver, "lots.help");
    lots::LotManager manager(1000);
    lots::LotData data;
    lots::LotFrame frame(manager, data);
    if (!frame.Open(screen.driver->ScreenSize())) {
        screen.Close();
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
    screen.Close();
    return 0;
}
// [/guide:main]
