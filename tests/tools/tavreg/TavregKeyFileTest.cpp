// tavreg save-key and restore-key: a stored template carried through a template file and back
// into a fresh registry, and a damaged file refused.
#include "tools/tavreg/TavregCommand.h"

#include "platform/io/Files.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/templates/TavTemplate.h"
#include "tests/FuzzSeeds.h"
#include "tests/platform/registry/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class PointManager : public TavManager {
public:
    explicit PointManager(TavData& data) : TavManager(nullptr) { AttachTable(&data); }
    const char* GetRegSection() override { return "Point"; }
    const char* GetSoftware() override { return "Survey"; }
};

const std::string kGroup = "HKCU\\Software\\Zervan Soft\\Survey\\Application\\Point\\Cell Template\\Point";

int Tavreg(std::vector<std::string> arguments, std::string* out = nullptr, std::string* err = nullptr)
{
    std::ostringstream o, e;
    const int status = RunTavreg(arguments, o, e);
    if (out)
        *out = o.str();
    if (err)
        *err = e.str();
    return status;
}

TEST(TavregKeyFileTest, SavedTemplateRestoresIntoAFreshRegistryAndADamagedFileIsRefused)
{
    tavtest::TemporaryRegistry registry;
    const std::filesystem::path file = registry.Folder() / "CELL01.mbf";
    {
        TavData data;
        PointManager manager(data);
        data.Template() = {3, 1, 7};
        data.Width() = {80, 60, 40};
        TavTemplate store(&manager);
        ASSERT_EQ(store.SaveTemplate("標準"), 1);
    }
    std::string out, err;
    ASSERT_EQ(Tavreg({"save-key", kGroup + "\\標準", file.string()}, &out, &err), 0) << err;
    std::vector<std::uint8_t> bytes;
    ASSERT_FALSE(plat::ReadWholeFile(file, bytes));
    tavtest::WriteFuzzSeed("template_file", "tavreg", bytes);
    ASSERT_EQ(Tavreg({"delete", kGroup + "\\標準"}), 0);

    ASSERT_EQ(Tavreg({"restore-key", kGroup + "\\Copy", file.string()}, &out, &err), 0) << err;
    EXPECT_EQ(out, "restored \"標準\" into HKEY_CURRENT_USER" + kGroup.substr(4) + "\\Copy\n");
    {
        TavData data;
        PointManager manager(data);
        TavTemplate store(&manager);
        ASSERT_EQ(store.LoadTemplate("Copy"), 1) << "the copy is a template again";
        EXPECT_EQ(data.Template(), (std::vector<unsigned>{3, 1, 7}));
    }

    // The registry side of a refused file is the library's; the command says so and fails.
    bytes.resize(bytes.size() - 3);
    ASSERT_FALSE(plat::WriteFileAtomically(file, bytes));
    EXPECT_EQ(Tavreg({"restore-key", kGroup + "\\Copy", file.string()}, &out, &err), 1);
    EXPECT_NE(err.find("nothing was restored"), std::string::npos) << err;
}

} // namespace
