// Linked into every test program of the user interface layer: unused queued answers or dialog
// handlers fail their test, and TAVCELL_TEXT_MEASURE=proportional runs all under that measure.
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
