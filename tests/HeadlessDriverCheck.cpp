// Linked into every test program on the user interface layer: a headless driver that goes
// with queued answers or dialog handlers nothing used fails the test that queued them.
#include "platform/ui/HeadlessDriver.h"

#include <gtest/gtest.h>

namespace {

const bool installed = [] {
    plat::HeadlessDriver::SetUnusedReporter([](const std::string& what) { ADD_FAILURE() << what; });
    return true;
}();

} // namespace
