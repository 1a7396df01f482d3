// The lot-number list editor on the desktop front end, offscreen: it opens as a desktop window
// under its name, and a lot number typed there as Qt key events reaches the table.
#include "LotData.h"
#include "LotFrame.h"
#include "LotManager.h"
#include "LotResources.h"
#include "frontends/qt/QtDriver.h"
#include "frontends/qt/WindowWidget.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(LotDesktopTest, OpensInADesktopWindowWhereATypedLotNumberReachesTheTable)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "lots_desktop_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics (the test's pointing device) go first.
    static QApplication* application = new QApplication(argc, argv);
    static_cast<void>(application);
    plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
    {
        qtfe::QtDriver driver(QSize(800, 480));
        plat::WinApp app("地番一覧", "Application", &driver);
        lots::LotManager manager(100);
        lots::LotData data;
        lots::LotFrame frame(manager, data);
        ASSERT_TRUE(frame.Open(driver.ScreenSize()));
        app.SetMainWnd(&frame);
        driver.Refresh();

        qtfe::WindowWidget* window = driver.WidgetOf(frame);
        ASSERT_NE(window, nullptr) << "the frame must be shown as a desktop window";
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("地番一覧"))) << window->windowTitle().toStdString();

        // The caret starts on the first lot's number.
        QTest::keyClicks(window, "1234-5");
        QTest::keyClick(window, Qt::Key_Return);
        driver.PumpWaiting();
        std::string lotNumber;
        EXPECT_TRUE(data.Get(static_cast<unsigned>(lots::kLotNo), 0, lotNumber));
        EXPECT_EQ(lotNumber, "1234-5");
        frame.DestroyWindow();
    }
    plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
}
