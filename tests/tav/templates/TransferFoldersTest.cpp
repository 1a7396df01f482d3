// The transfer's folders and index file: the index byte for byte and its refusals, the folder
// macros, the temporary folder setting and its buffer protocol, folder trees, the space check
// and universal names of paths on network shares.
#include "tav/templates/QzTavTransferFolders.h"
#include "tav/templates/TransferFolders.h"

#include "components/support/DroFile.h"
#include "platform/io/Files.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/manager/TavManager.h"
#include "tests/FuzzSeeds.h"
#include "tests/ScopedEnvironment.h"
#include "tests/TemporaryFolder.h"
#include "tests/platform/registry/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace plat;
namespace fs = std::filesystem;

namespace {

class PointManager : public TavManager {
public:
    PointManager() : TavManager(nullptr) {}
    const char* GetRegSection() override { return "Point"; }
};

// A home, XDG folders, $TMPDIR and registries of its own, all put back afterwards.
class TransferFoldersTest : public ::testing::Test {
protected:
    TransferFoldersTest()
    {
        fs::create_directories(m_root / "home/.config");
        fs::create_directories(m_root / "tmp");
        std::ofstream(m_root / "home/.config/user-dirs.dirs")
            << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n";
    }

    static void SetTemp(HKEY root, const std::string& text, DWORD type = REG_EXPAND_SZ)
    {
        SolKey key;
        ASSERT_TRUE(key.Create(root, kEnvironmentKey));
        ASSERT_EQ(RegSetValueEx(key, kTempSettingName, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
    }

    tavtest::MemoryRegistry m_registry{tavtest::MemoryRegistry::Roots::UserAndMachine};
    tavtest::TemporaryFolder m_folder{"tavtransfer"};
    const fs::path m_root = m_folder.Path();
    tavtest::ScopedEnvironment m_home{"HOME", (m_root / "home").string()};
    tavtest::ScopedEnvironment m_config{"XDG_CONFIG_HOME", std::nullopt};
    tavtest::ScopedEnvironment m_temporary{"TMPDIR", (m_root / "tmp/").string()};
    HeadlessDriver driver;
    WinApp app{"transfertest", "Test", &driver};
    PointManager manager;
    QzTavTransferFolders folders{&manager};
};

TEST_F(TransferFoldersTest, IndexFileIsWrittenByteForByteAndReadBack)
{
    std::string path = m_root.string();
    ASSERT_EQ(folders.WriteIndexFile({"A", "標準", "50%"}, path), 1);
    EXPECT_EQ(path, (m_root / "CELL00.mbf").string());
    std::vector<std::uint8_t> bytes;
    ASSERT_FALSE(ReadWholeFile(path, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "3\r\nA\r\n\x95\x57\x8F\x80\r\n50%\r\nPoint, 14.00, 17204")
        << "count, names in the narrow code page, CR LF, a trailer without a line end";
    tavtest::WriteFuzzSeed("index_file", "three", bytes);

    ASSERT_EQ(folders.ReadIndexFile(m_root.string()), 1);
    EXPECT_EQ(folders.IndexNames(), (std::vector<std::string>{"A", "標準", "50%"}));
    EXPECT_EQ(folders.TrailerFields(), (std::array<std::string, 3>{"Point", " 14.00", " 17204"}));

    int seed = 0;
    auto read = [&](std::string_view content) {
        EXPECT_FALSE(WriteFileAtomically(m_root / "CELL00.mbf", content));
        tavtest::WriteFuzzSeed("index_file", "case" + std::to_string(++seed), content);
        return folders.ReadIndexFile(m_root.string());
    };
    EXPECT_EQ(read("1\nOne\n"), 1) << "lone LF ends a line; no trailer is accepted";
    EXPECT_EQ(folders.IndexNames(), std::vector<std::string>{"One"});
    EXPECT_EQ(read("1\r\nOne\r\npoint, 1, 2\r\n"), 1) << "the record kind is compared without regard to case";
    EXPECT_EQ(read("1\r\nOne\r\nLot, 14.00, 17204"), 0) << "an index of another record kind";
    EXPECT_TRUE(driver.MessageBoxes().empty());
    for (const char* damaged : {"5\r\nA\r\nB", "x\r\nA", "-1\r\n", "", "1\r\n\x81\x20\r\n", "1\r\n\r\nPoint",
                                "1\r\nA\r\nPoint, 14.00, 17204\r\nmore", "99999999999999999999\r\n"}) {
        EXPECT_EQ(read(damaged), 0) << damaged;
        EXPECT_FALSE(folders.LastError().empty());
    }
    EXPECT_EQ(driver.MessageBoxes().size(), 8u) << "each damaged index is reported with its path";
    EXPECT_EQ(TemplateFileName(3), "CELL03.mbf");
    EXPECT_EQ(TemplateFileName(100), "CELL100.mbf");
    std::string rejected = m_root.string();
    EXPECT_EQ(folders.WriteIndexFile({"a\r\nb"}, rejected), 0) << "a name that would break the lines";
}

TEST_F(TransferFoldersTest, MacrosSettingAndTheBufferProtocolGiveTheStagingFolder)
{
    std::string text = "$(WinDrive)/x|$(PersonalDocument)|$(PersonalDeskTop)|$(PersonalTemp)|$(PersonalTemp)";
    ExpandPathMacros(text);
    const std::string home = (m_root / "home").string();
    const std::string temp = (m_root / "tmp").string();
    EXPECT_EQ(text, "/x|" + home + "/Docs|" + home + "/Desk|" + temp + "|" + temp);

    std::string folder;
    EXPECT_FALSE(ReadTempSetting(HKEY_CURRENT_USER, folder)) << "no setting";
    SetTemp(HKEY_CURRENT_USER, "x");
    EXPECT_FALSE(ReadTempSetting(HKEY_CURRENT_USER, folder)) << "a single character counts as absent";
    SetTemp(HKEY_CURRENT_USER, "$(PersonalTemp)", REG_BINARY);
    EXPECT_FALSE(ReadTempSetting(HKEY_CURRENT_USER, folder)) << "neither string nor expandable string";
    SetTemp(HKEY_CURRENT_USER, "$(PersonalTemp)/", REG_SZ);
    ASSERT_TRUE(ReadTempSetting(HKEY_CURRENT_USER, folder));
    EXPECT_EQ(folder, temp);

    const std::string product = temp + "/QzTemp/ORBIVAL/";
    EXPECT_EQ(GetProductTempFolder(0, nullptr), product.size() + 1) << "too small: the size needed, nothing written";
    std::vector<char> buffer(product.size() + 1, '#');
    EXPECT_EQ(GetProductTempFolder(product.size(), buffer.data()), product.size() + 1);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(GetProductTempFolder(buffer.size(), buffer.data()), product.size());
    EXPECT_EQ(std::string(buffer.data()), product);

    EXPECT_EQ(folders.MakeTempFolder(), 0) << "only the last level is made";
    fs::create_directories(product);
    ASSERT_EQ(folders.MakeTempFolder(), 1);
    EXPECT_EQ(folders.StagingFolder(), product + "Cell Template");
    std::ofstream(folders.StagingFolder() + "/CELL01.mbf") << "x";
    EXPECT_EQ(folders.RemoveTempFolder(), 1);
    EXPECT_FALSE(PathExists(product + "Cell Template"));

    // Only the machine has a setting: it is copied to the user, macros already replaced.
    RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
    SetTemp(HKEY_LOCAL_MACHINE, "$(PersonalDocument)");
    std::string base = "unchanged";
    ASSERT_TRUE(GetTempBaseFolder(base));
    EXPECT_EQ(base, home + "/Docs/QzTemp");
    SolKey user;
    ASSERT_TRUE(user.Open(HKEY_CURRENT_USER, kEnvironmentKey));
    DWORD type = 0;
    std::vector<BYTE> data(64);
    DWORD size = static_cast<DWORD>(data.size());
    ASSERT_EQ(RegQueryValueEx(user, kTempSettingName, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(std::string(data.begin(), data.begin() + size), home + "/Docs" + std::string(1, '\0'));

    RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
    RegSetStore(HKEY_LOCAL_MACHINE, std::make_shared<MemoryRegistryStore>());
    ASSERT_TRUE(GetTempBaseFolder(base));
    EXPECT_EQ(base, home + "/Docs/QzTemp") << "without any setting: the documents folder";
}

TEST_F(TransferFoldersTest, DestinationFoldersSpaceCheckAndRememberedPath)
{
    EXPECT_EQ(folders.MakeFolderTree((m_root / "a/b/c").string()), 1);
    EXPECT_TRUE(FolderExists(m_root / "a/b/c"));
    std::ofstream(m_root / "file") << "x";
    EXPECT_EQ(folders.MakeFolderTree((m_root / "file/sub").string()), 0);
    EXPECT_EQ(folders.MakeFolderTree((m_root / std::string(300, 'n')).string()), 0);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u) << "a name too long is explained";
    EXPECT_EQ(driver.MessageBoxes()[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_NE(driver.MessageBoxes()[0].text.find(std::string(300, 'n') + ": File name too long"), std::string::npos);
    // Folders whose parent is there and still cannot hold them: each attempt must end.
    EXPECT_EQ(folders.MakeFolderTree("/proc/QuWinSet/Cell Template"), 0);
    EXPECT_EQ(folders.LastError(), "/proc/QuWinSet: No such file or directory");
    fs::create_directory_symlink(m_root / "unmounted/share", m_root / "share");
    EXPECT_EQ(folders.MakeFolderTree((m_root / "share/QuWinSet").string()), 0);
    EXPECT_EQ(folders.LastError(), (m_root / "share").string() + ": File exists");
    EXPECT_FALSE(fs::exists(m_root / "unmounted")) << "a link to nowhere is not followed into making its target";

    folders.DestinationPath() = (m_root / "dest").string();
    std::string made;
    ASSERT_EQ(folders.MakeDestinationFolder(made), 1);
    EXPECT_EQ(made, (m_root / "dest/QuWinSet/Cell Template/Point").string());
    EXPECT_EQ(folders.TemplateFolderOf(folders.DestinationPath()), made);

    driver.ClearMessageBoxes();
    EXPECT_EQ(folders.CheckDiskSpace(), 2) << "nothing staged";
    EXPECT_EQ(driver.MessageBoxes().back().text, "ﾃﾝﾌﾟﾚｰﾄの抜出に失敗しました。\n\n処理を中断します。");
    auto staged = [&](std::size_t size) {
        const std::string file = (m_root / "staged.mbf").string();
        std::ofstream(file, std::ios::trunc) << std::string(size, 'x');
        folders.StagedFiles() = {file};
    };
    staged(1023);
    driver.AnswerMessageBox(IDYES);
    EXPECT_EQ(folders.CheckDiskSpace(), 1);
    EXPECT_EQ(driver.MessageBoxes().back().text, "必要な容量は、約 1023 Byteです。\n\n処理を続行しますか？");
    EXPECT_EQ(driver.MessageBoxes().back().style, MB_YESNO | MB_ICONQUESTION);
    staged(2047);
    driver.AnswerMessageBox(IDNO);
    EXPECT_EQ(folders.CheckDiskSpace(), 4);
    EXPECT_EQ(driver.MessageBoxes().back().text, "必要な容量は、約 1 KByteです。\n\n処理を続行しますか？");
    folders.DestinationPath() = "//server/share";
    driver.AnswerMessageBox(IDYES);
    EXPECT_EQ(folders.CheckDiskSpace(), 1) << "a network path is asked about without measuring";

    folders.DestinationPath() = "/srv/dest";
    EXPECT_EQ(folders.SaveDestinationPath(), 1);
    EXPECT_EQ(folders.LoadDestinationPath(), "/srv/dest");

    std::string name;
    const char* mounts = "/dev/sda1 / ext4 rw 0 0\n"
                         "//nas/team\\040files /mnt/team cifs rw 0 0\n"
                         "nas:/export /mnt/nfs nfs4 rw 0 0\n"
                         "/dev/sdb1 /mnt/nfs/local ext4 rw 0 0\n";
    EXPECT_TRUE(DroGetUniversalNameIn(mounts, "/mnt/team/Plans/./x", name));
    EXPECT_EQ(name, "//nas/team files/Plans/x");
    EXPECT_TRUE(DroGetUniversalNameIn(mounts, "/mnt/nfs", name));
    EXPECT_EQ(name, "nas:/export");
    EXPECT_FALSE(DroGetUniversalNameIn(mounts, "/mnt/nfs/local/a", name)) << "a local disk mounted inside a share";
    EXPECT_EQ(name, "/mnt/nfs/local/a");
    EXPECT_FALSE(DroGetUniversalNameIn(mounts, "/mnt/teamwork", name));
}

} // namespace
