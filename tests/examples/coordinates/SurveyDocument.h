// Documents for the editor tests, built with the library as the editor saves them: a survey
// of any number of points, and the layouts other versions of the editor write. Each one is
// a seed of the document fuzz target too.
#pragma once

#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/CoordinateResources.h"
#include "platform/io/Archive.h"
#include "tav/data/TavData.h"
#include "tests/FuzzSeeds.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace coordinates_test {

// An item that a newer version of the editor shows and this one does not declare.
inline constexpr unsigned kNewerItem = 1010;

// The points P1, P2, ... with their numbers and coordinates, in a table of as many rows;
// adjust changes the table (its layout, say) before it is stored.
inline std::vector<std::uint8_t> SurveyDocument(const std::string& seedName, long points,
                                                const std::function<void(TavData&)>& adjust = {})
{
    using namespace coordinates;
    CoordinateManager manager(std::max(points, 1L));
    TavData data;
    // A named template of its own keeps the binding away from the template store.
    data.TemplateName() = "標準";
    data.Template() = {kPointNo, kPointName, kX, kY, kZ, kCode, kLineType, kRadius, kFlag};
    manager.Associate(nullptr, &data);
    for (long point = 0; point < points; ++point) {
        EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointNo), point, point + 1));
        EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointName), point, "P" + std::to_string(point + 1)));
        EXPECT_TRUE(data.Set(static_cast<unsigned>(kX), point, -36000.0 - static_cast<double>(point)));
        EXPECT_TRUE(data.Set(static_cast<unsigned>(kY), point, -8000.0 + static_cast<double>(point) / 4));
    }
    if (adjust)
        adjust(data);
    plat::Archive out = plat::Archive::ForStoring();
    data.Serialize(out);
    tavtest::WriteFuzzSeed("document", seedName, out.Bytes());
    return out.TakeBytes();
}

// The layout a newer version writes: one more column, with its width.
inline void AddNewerColumn(TavData& data)
{
    data.Template().insert(data.Template().begin() + 2, kNewerItem);
    data.Width().push_back(96);
}

} // namespace coordinates_test
