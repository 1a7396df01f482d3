// The coordinate-list editor: coordinates [--tty | --desktop] [document]. In a desktop window
// when there is a desktop (or --desktop says so), else in the terminal. Opens the document
// when it exists; otherwise starts with a sample survey that Ctrl+S saves under that name
// (or, without one, under a name asked for).
#include "components/support/QanWinApp.h"
#include "examples/coordinates/CoordinateFrame.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/SampleSurvey.h"
#include "frontends/tty/TtyDriver.h"
#ifdef TAVCELL_DESKTOP
#include "frontends/qt/DesktopSession.h"
#endif
#include "platform/io/Files.h"
#include "platform/ui/App.h"
#include "tav/settings/TavInitCell.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

int main(int argc, char** argv)
{
    std::filesystem::path document;
    enum class Front { Either, Terminal, Desktop } front = Front::Either;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tty") == 0)
            front = Front::Terminal;
        else if (std::strcmp(argv[i], "--desktop") == 0)
            front = Front::Desktop;
        else
            document = argv[i];
    }
    std::string error;
    std::unique_ptr<tty::TtyDriver> terminal;
    plat::Driver* driver = nullptr;
#ifdef TAVCELL_DESKTOP
    std::unique_ptr<qtfe::DesktopSession> desktop;
    if (front == Front::Desktop || (front == Front::Either && qtfe::DesktopAvailable())) {
        desktop = qtfe::DesktopSession::Open(argc, argv, &error);
        if (desktop)
            driver = &desktop->GetDriver();
        else if (front == Front::Desktop) {
            std::fprintf(stderr, "coordinates: %s\n", error.c_str());
            return 2;
        }
    }
#else
    if (front == Front::Desktop) {
        std::fprintf(stderr, "coordinates: this build has no desktop front end (Qt 6 was not found)\n");
        return 2;
    }
#endif
    if (!driver) {
        terminal = tty::TtyDriver::Open(&error);
        if (!terminal) {
            std::fprintf(stderr, "coordinates: %s\n", error.c_str());
            return 2;
        }
        driver = terminal.get();
    }
    auto closeTerminal = [&terminal] {
        if (terminal)
            terminal->Close();
    };
    // The category is the one the record managers name by default, so the program's own
    // settings key and its templates lie under one application key.
    QanWinApp app("座標一覧", "Application", driver, "coordinates.help");
    coordinates::CoordinateManager manager(2000);
    TavData data;
    coordinates::CoordinateFrame frame(manager, data);
    if (!frame.Open(driver->ScreenSize())) {
        closeTerminal();
        std::fprintf(stderr, "coordinates: the window could not be made\n");
        return 1;
    }
    app.SetMainWnd(&frame);
    TavInitCell();
    app.SetRecoveryWriter([&frame] { return frame.WriteRecovery(); });
    if (!document.empty() && plat::PathExists(document)) {
        frame.OpenFile(document);
    } else {
        coordinates::FillSampleSurvey(data);
        coordinates::MarkSampleStates(manager, data);
        data.SetModifiedFlag(FALSE);
        frame.SetDocumentPath(document);
        frame.OfferRecovery();
    }
    app.Run();
    closeTerminal();
    return 0;
}
