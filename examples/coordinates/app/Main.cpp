// The coordinate-list editor in the terminal: coordinates [document]. Opens the document
// when it exists; otherwise starts with a sample survey that Ctrl+S saves under that name
// (or, without one, under a name asked for). With --import or --export it converts a
// coordinate file without opening a window.
#include "components/support/QanWinApp.h"
#include "examples/coordinates/CoordinateCommandLine.h"
#include "examples/coordinates/CoordinateFrame.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/SampleSurvey.h"
#include "frontends/tty/TtyDriver.h"
#include "platform/io/Files.h"
#include "platform/ui/App.h"
#include "tav/settings/TavInitCell.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    constexpr long kRows = 2000;
    if (const std::optional<int> status = coordinates::RunCommandLine(argc, argv, kRows))
        return *status;
    std::filesystem::path document;
    if (argc > 1)
        document = argv[1];
    std::string error;
    std::unique_ptr<tty::TtyDriver> driver = tty::TtyDriver::Open(&error);
    if (!driver) {
        std::fprintf(stderr, "coordinates: %s\n", error.c_str());
        return 2;
    }
    // The category is the one the record managers name by default, so the program's own
    // settings key and its templates lie under one application key.
    QanWinApp app("座標一覧", "Application", driver.get(), "coordinates.help");
    coordinates::CoordinateManager manager(kRows);
    TavData data;
    coordinates::CoordinateFrame frame(manager, data);
    if (!frame.Open(driver->ScreenSize())) {
        driver->Close();
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
    driver->Close();
    return 0;
}
