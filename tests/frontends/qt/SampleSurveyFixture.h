// The coordinate-list editor open offscreen on the sample survey, as the desktop tests that
// drive it with Qt events start from: one set-up, so that they all see the same first screen.
#pragma once

#include "frontends/qt/QtDriver.h"
#include "frontends/qt/WindowWidget.h"

#include "components/mox/MoxCellFont.h"
#include "examples/coordinates/CoordinateFrame.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/SampleSurvey.h"
#include "tav/data/TavData.h"
#include "tests/frontends/qt/DesktopTestSupport.h"
#include "tests/platform/registry/MemoryRegistry.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace tavtest {

class SampleSurveyFixture : public ::testing::Test {
protected:
    SampleSurveyFixture()
    {
        frame.Open(driver.ScreenSize());
        app.SetMainWnd(&frame);
        coordinates::FillSampleSurvey(data);
        coordinates::MarkSampleStates(manager, data);
        data.SetModifiedFlag(FALSE);
        driver.Refresh();
    }
    ~SampleSurveyFixture() override
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
        MoxSetCellFont(nullptr); // every grid of the program shares it: a font chosen here stays here
    }

    qtfe::WindowWidget& Widget() { return *driver.WidgetOf(frame); }
    MoxCellCtrl& Grid() { return frame.Grid(); }
    // A cell's rectangle in the window's pixels.
    QRect Cell(long column, long row)
    {
        plat::RECT rect;
        EXPECT_TRUE(Grid().GetCellRect(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)}, rect));
        plat::POINT corner{rect.left, rect.top};
        Grid().ClientToScreen(&corner);
        return QRect(Widget().FromScreen(corner), QSize(rect.Width(), rect.Height()));
    }
    void Click(long column, long row)
    {
        QTest::mouseClick(&Widget(), Qt::LeftButton, {}, Cell(column, row).center());
        driver.PumpWaiting();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(&Widget(), key, modifiers);
        driver.PumpWaiting();
    }

    // First, so that the windows read their layout from it and are gone before it goes.
    MemoryRegistry registry;
    QApplication& application = OffscreenApplication();
    qtfe::QtDriver driver{QSize(800, 560)};
    plat::WinApp app{"座標一覧", "Application", &driver};
    coordinates::CoordinateManager manager{2000};
    TavData data;
    coordinates::CoordinateFrame frame{manager, data};
};

} // namespace tavtest
