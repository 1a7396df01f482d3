// Linked into every test program on the user interface layer: a headless driver that goes
// with queued answers or dialog handlers nothing used fails the test that queued them, and
// TAVCELL_TEXT_MEASURE=proportional runs the whole program under the proportional measure.
#include "platform/ui/HeadlessDriver.h"
#include "tests/platform/ui/ProportionalMeasure.h"

#include <gtest/gtest.h>

namespace {

const bool installed = [] {
    plat::HeadlessDriver::SetUnusedReporter([](const std::string& what) { ADD_FAILURE() << what; });
    if (tavtest::UnderProportionalMeasure()) {
        static const tavtest::ProportionalMeasure measure;
        plat::HeadlessDriver::SetDefaultTextMeasure(&measure);
    }
    return true;
}();

} // namespace
