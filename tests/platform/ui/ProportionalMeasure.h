// A text measure unlike the terminal's cells (proportional glyphs averaging 7 px, lines 13 px), for
// tests that layouts and hit-tests follow the front end's measure; installed on a headless driver.
#pragma once

#include "platform/text/DisplayWidth.h"
#include "platform/ui/TextMeasure.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace tavtest {

// True when the test program runs whole under the proportional measure (a second run of the
// dialog, grid and list tests does).
inline bool UnderProportionalMeasure()
{
    const char* name = std::getenv("TAVCELL_TEXT_MEASURE");
    return name != nullptr && std::string_view(name) == "proportional";
}

// Skips a test whose expectations are the terminal's own (a text canvas of cells) when the
// program runs under the proportional measure.
#define TAV_SKIP_UNDER_PROPORTIONAL_MEASURE(why)                                                                    \
    do {                                                                                                            \
        if (::tavtest::UnderProportionalMeasure())                                                                  \
            GTEST_SKIP() << (why);                                                                                  \
    } while (false)

class ProportionalMeasure final : public plat::TextMeasure {
public:
    static constexpr int kAverage = 7;
    static constexpr int kLine = 13;

    int Advance(const plat::LOGFONTA&, char32_t ch) const override
    {
        if (plat::CodePointWidth(ch) == 2)
            return 13;
        if (std::u32string_view(U"il.,:;'!|1 ").find(ch) != std::u32string_view::npos)
            return 4;
        if (std::u32string_view(U"MW@mw").find(ch) != std::u32string_view::npos)
            return 11;
        return kAverage;
    }
    plat::FontMetrics Metrics(const plat::LOGFONTA&) const override { return {kLine, 10, kAverage, 13}; }
};

} // namespace tavtest
