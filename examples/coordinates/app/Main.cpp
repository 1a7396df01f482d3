// The coordinate-list editor: coordinates [--tty | --desktop] [--sample] [document]. In a
// desktop window when there is a desktop (or --desktop says so), else in the terminal. Opens
// the document when it exists; a name of nothing yet starts an empty list that Ctrl+S saves
// under it. Without a document, or with --sample, a sample survey is there to look at. With
// --import or --export it converts a coordinate file without opening a window.
#include "components/support/QanWinApp.h"
#include "examples/coordinates/CoordinateCommandLine.h"
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
#include <filesystem>
#include <string_view>

int main(int argc, char** argv)
{
    constexpr long kRows = 2000;
    if (const std::optional<int> status = coordinates::RunCommandLine(argc, argv, kRows))
        return *status;
    std::filesystem::path document;
    enum class Front { Either, Terminal, Desktop } front = Front::Either;
    bool sample = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--tty")
            front = Front::Terminal;
        else if (argument == "--desktop")
            front = Front::Desktop;
        else if (argument == "--sample")
            sample = true;
        else
            document = argv[i];
    }
    if (document.empty())
        sample = true;
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
    coordinates::CoordinateManager manager(kRows);
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
        if (sample) {
            coordinates::FillSampleSurvey(data);
            coordinates::MarkSampleStates(manager, data);
        }
        data.SetModifiedFlag(FALSE);
        frame.SetDocumentPath(document);
        frame.OfferRecovery();
    }
    app.Run();
    closeTerminal();
    return 0;
}
