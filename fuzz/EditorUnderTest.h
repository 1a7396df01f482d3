// The coordinate-list editor as the fuzz targets run it: the program's frame, manager and
// table on the headless driver, with a registry of its own for each input, painted and
// walked over as a person would look and move.
#pragma once

#include "examples/coordinates/CoordinateFrame.h"
#include "examples/coordinates/CoordinateManager.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/Renderer.h"
#include "tav/data/TavData.h"

#include <memory>

namespace tavfuzz {

inline constexpr int kColumns = 100;
inline constexpr int kLines = 20;

// The driver and the application live for the whole run; everything else is made anew for
// each input, so that one input cannot change what the next one finds.
struct Session {
    Session()
    {
        driver.SetScreenSize(plat::SIZE{kColumns * 8, kLines * 16});
        // A message box takes its default button: the fuzzed editor goes on as a person who
        // presses Return would.
    }
    plat::HeadlessDriver driver;
    plat::WinApp app{"座標一覧", "Application", &driver};
};

inline Session& TheSession()
{
    static Session* session = new Session();
    return *session;
}

class Editor {
public:
    Editor()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        TheSession().driver.ClearMessageBoxes();
    }
    ~Editor()
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
    }
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Creates the frame and binds the table, as the program does at its start.
    bool Open()
    {
        if (!frame.Open(TheSession().driver.ScreenSize()))
            return false;
        TheSession().app.SetMainWnd(&frame);
        return true;
    }

    void Paint()
    {
        plat::Canvas canvas(kColumns, kLines);
        plat::Renderer renderer;
        renderer.Paint(canvas);
    }

    // To the last point and back, across every column, opening and leaving each cell's
    // editor on the way (a toggle cell steps its value), paging and scrolling sideways.
    void Walk()
    {
        plat::HeadlessDriver& driver = TheSession().driver;
        driver.PushKey(plat::VK_END, false, true);
        driver.PushKey(plat::VK_NEXT);
        for (int column = 0; column < 12; ++column) {
            driver.PushKey(0x71); // F2
            driver.PushKey(plat::VK_ESCAPE);
            driver.PushKey(plat::VK_LEFT);
        }
        driver.PushKey(plat::VK_PRIOR);
        driver.PushKey(plat::VK_HOME, false, true);
        for (int column = 0; column < 12; ++column) {
            driver.PushKey(plat::VK_RIGHT);
            driver.PushKey(plat::VK_DOWN);
        }
        driver.PushKey(plat::VK_END);
        driver.PushKey(plat::VK_HOME);
        TheSession().app.Run();
        Paint();
    }

    coordinates::CoordinateManager manager{2000};
    TavData data;
    coordinates::CoordinateFrame frame{manager, data};
};

} // namespace tavfuzz
