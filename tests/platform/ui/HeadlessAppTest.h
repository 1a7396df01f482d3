// A test with an application on the headless driver, as most tests of windows begin: the
// driver scripts the input, answers message boxes and dialogs, and records what they showed.
#pragma once

#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"

#include <gtest/gtest.h>

namespace tavtest {

class HeadlessAppTest : public ::testing::Test {
protected:
    plat::HeadlessDriver driver;
    plat::WinApp app{"tavtest", "Test", &driver};
};

} // namespace tavtest
