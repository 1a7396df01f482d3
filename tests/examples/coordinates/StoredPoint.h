// What the editor tests read back from a saved document: the document loaded with the
// library, and a point's name and coordinates as stored.
#pragma once

#include "platform/io/Archive.h"
#include "tav/data/TavData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace coordinates_test {

inline void LoadDocument(const std::filesystem::path& document, TavData& data)
{
    plat::Archive archive = plat::Archive::LoadFile(document);
    data.Serialize(archive);
}

// Items 1 to 4 of a record: point name, X, Y and Z.
inline void ExpectStoredPoint(const TavData& data, long record, const std::string& name, double x, double y, double z)
{
    std::string storedName;
    double stored[3] = {};
    ASSERT_TRUE(data.Get(1L, record, storedName));
    EXPECT_EQ(storedName, name);
    for (long item = 2; item <= 4; ++item)
        ASSERT_TRUE(data.Get(item, record, stored[item - 2])) << "item " << item;
    EXPECT_DOUBLE_EQ(stored[0], x);
    EXPECT_DOUBLE_EQ(stored[1], y);
    EXPECT_DOUBLE_EQ(stored[2], z);
}

} // namespace coordinates_test
