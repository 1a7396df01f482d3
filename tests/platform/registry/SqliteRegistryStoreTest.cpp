// The SQLite store as the user's real registry: durable, shared between programs at once,
// and never touching a file that is not its own.
#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "tests/ScopedEnvironment.h"
#include "tests/platform/registry/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace plat;

namespace {

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::span<const BYTE> Bytes(const char* text) { return {reinterpret_cast<const BYTE*>(text), std::strlen(text) + 1}; }

std::unique_ptr<SqliteRegistryStore> OpenStore(const std::filesystem::path& path,
                                               SqliteRegistryStore::Mode mode = SqliteRegistryStore::Mode::ReadWrite)
{
    auto opened = SqliteRegistryStore::Open(path, mode);
    EXPECT_TRUE(opened.store) << opened.error;
    return std::move(opened.store);
}

// A key made through the store itself, as a program that holds the file open makes it.
RegKeyId MakeKey(RegistryStore& store, std::initializer_list<std::string_view> path)
{
    RegKeyId key = 0;
    bool created = false;
    EXPECT_EQ(store.CreateKeyPath(store.RootKey(), std::span(path.begin(), path.size()), "", key, created), ERROR_SUCCESS);
    return key;
}

TEST(SqliteRegistryStoreTest, ChangesAreKeptAndSeenByAnotherProgramAtOnce)
{
    tavtest::TemporaryRegistry registry;
    const auto path = registry.Folder() / "deeper" / "registry.sqlite3";
    auto writer = OpenStore(path);
    auto reader = OpenStore(path);
    ASSERT_TRUE(writer && reader);

    RegKeyId key = MakeKey(*writer, {"Software", "Test"});
    ASSERT_EQ(writer->SetValue(key, "first", REG_SZ, Bytes("1")), ERROR_SUCCESS);

    std::vector<RegValueEntry> values;
    const std::uint64_t before = reader->Generation();
    ASSERT_EQ(reader->ListValues(key, values), ERROR_SUCCESS);
    ASSERT_EQ(values.size(), 1u);
    ASSERT_EQ(writer->SetValue(key, "second", REG_SZ, Bytes("2")), ERROR_SUCCESS);
    EXPECT_NE(reader->Generation(), before) << "a listing kept by the reader must be known stale";
    ASSERT_EQ(reader->ListValues(key, values), ERROR_SUCCESS);
    EXPECT_EQ(values.size(), 2u);

    writer.reset();
    reader.reset();
    auto reopened = OpenStore(path);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(reopened->FindKey(reopened->RootKey(), "SOFTWARE", key), ERROR_SUCCESS);
    ASSERT_EQ(reopened->FindKey(key, "test", key), ERROR_SUCCESS);
    ASSERT_EQ(reopened->GetValue(key, "Second", type, data), ERROR_SUCCESS);
    EXPECT_EQ(std::string(data.begin(), data.end()), std::string("2", 2));
}

TEST(SqliteRegistryStoreTest, AFileDeletedUnderRunningProgramsIsMadeAgainByTheirNextChange)
{
    tavtest::TemporaryRegistry registry;
    const auto path = registry.Folder() / "tavcell" / "registry.sqlite3";
    auto editor = OpenStore(path);
    auto other = OpenStore(path);
    ASSERT_TRUE(editor && other);
    const RegKeyId key = MakeKey(*editor, {"Software", "Colors"});
    ASSERT_EQ(editor->SetValue(key, "before", REG_SZ, Bytes("1")), ERROR_SUCCESS);

    std::filesystem::remove_all(path.parent_path());
    ASSERT_EQ(editor->SetValue(key, "after", REG_SZ, Bytes("2")), ERROR_SUCCESS);
    ASSERT_EQ(other->SetValue(key, "other", REG_SZ, Bytes("3")), ERROR_SUCCESS)
        << "a program that had the old file open writes into the new one";

    auto reader = OpenStore(path);
    ASSERT_TRUE(reader);
    std::vector<RegValueEntry> values;
    ASSERT_EQ(reader->ListValues(key, values), ERROR_SUCCESS);
    std::vector<std::string> kept;
    for (const RegValueEntry& value : values)
        kept.push_back(value.name);
    EXPECT_EQ(kept, (std::vector<std::string>{"before", "after", "other"}))
        << "the change is kept, and so is what the running program held";
}

// A sound SQLite database of another program (a file of noise is the registry tool's test).
TEST(SqliteRegistryStoreTest, AFileThatIsNotARegistryIsRefusedAndLeftAsItIs)
{
    tavtest::TemporaryRegistry registry;
    const auto foreign = registry.Folder() / "foreign.sqlite3";
    ASSERT_TRUE(OpenStore(foreign));
    // The application id sits at offset 68 of the header: another program's marker.
    WriteBytes(foreign, ReadBytes(foreign).replace(68, 4, std::string("\0\0\0\1", 4)));
    const std::string before = ReadBytes(foreign);
    const auto opened = SqliteRegistryStore::Open(foreign, SqliteRegistryStore::Mode::ReadWrite);
    EXPECT_FALSE(opened.store);
    EXPECT_NE(opened.error.find("not a registry database"), std::string::npos) << opened.error;
    EXPECT_EQ(ReadBytes(foreign), before);
}

TEST(SqliteRegistryStoreTest, AnUnusableUserDatabaseFallsBackToMemoryForTheRun)
{
    tavtest::TemporaryRegistry registry;
    const std::string damaged = "SQLite format 3" + std::string(200, 'x');
    WriteBytes(registry.UserPath(), damaged);
    RegSetStore(HKEY_CURRENT_USER, nullptr);

    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "kept", 0, REG_SZ, Bytes("for this run").data(), 13), ERROR_SUCCESS);
    DWORD length = 0;
    EXPECT_EQ(RegQueryValueEx(key, "kept", nullptr, nullptr, nullptr, &length), ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(registry.UserPath().string()), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(registry.UserPath()), damaged) << "the damaged file is never overwritten";
}

// The machine's database lies in a folder that only the administrator writes, where a user
// cannot make the shared-memory file that reading a WAL database usually takes.
TEST(SqliteRegistryStoreTest, TheMachineRootIsEmptyWithoutItsFileAndReadOnlyFromAFolderTheUserCannotWrite)
{
    tavtest::TemporaryRegistry registry;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, "", 0, KEY_READ, nullptr, &key, nullptr),
              ERROR_ACCESS_DENIED);
    {
        auto machine = OpenStore(registry.MachinePath());
        ASSERT_TRUE(machine);
        const RegKeyId id = MakeKey(*machine, {"SOFTWARE", "Zervan Soft", "QzEnviron"});
        ASSERT_EQ(machine->SetValue(id, "QzTemp", REG_EXPAND_SZ, Bytes("/var/tmp")), ERROR_SUCCESS);
    }
    ASSERT_FALSE(std::filesystem::exists(registry.MachinePath().string() + "-shm"));
    // Root writes anywhere, so the reader runs as nobody; anyone else reads from a folder
    // made read-only.
    const bool asRoot = geteuid() == 0;
    using std::filesystem::perms;
    std::filesystem::permissions(registry.Folder(), asRoot ? perms(0755) : perms(0555));
    std::filesystem::permissions(registry.MachinePath(), perms(0644));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        RegSetStore(HKEY_LOCAL_MACHINE, nullptr);
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\zervan soft\\qzenviron", 0, KEY_READ, &key) != ERROR_SUCCESS)
            _exit(1);
        char text[32] = {};
        DWORD length = sizeof text;
        DWORD type = 0;
        const LONG status = RegQueryValueEx(key, "QzTemp", nullptr, &type, reinterpret_cast<BYTE*>(text), &length);
        _exit(status == ERROR_SUCCESS && type == REG_EXPAND_SZ && std::string(text) == "/var/tmp" ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    std::filesystem::permissions(registry.Folder(), perms(0700));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the key was not found, 2: the value was not read, 3: no user to run as";

    RegSetStore(HKEY_LOCAL_MACHINE, nullptr);
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Zervan Soft\\QzEnviron", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueEx(key, "QzTemp", 0, REG_SZ, nullptr, 0), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE"), ERROR_ACCESS_DENIED);
}

TEST(SqliteRegistryStoreTest, TheUserDatabaseIsFoundByTheEnvironment)
{
    tavtest::TemporaryRegistry registry;
    EXPECT_EQ(DefaultUserRegistryPath(), registry.UserPath());
    const tavtest::ScopedEnvironment noRegistry("TAVCELL_REGISTRY", std::nullopt);
    std::optional<tavtest::ScopedEnvironment> config(std::in_place, "XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(DefaultUserRegistryPath(), std::filesystem::path("/somewhere/config/tavcell/registry.sqlite3"));
    config.emplace("XDG_CONFIG_HOME", "relative/is/ignored");
    const std::filesystem::path home = getenv("HOME") ? getenv("HOME") : "";
    if (!home.empty()) {
        EXPECT_EQ(DefaultUserRegistryPath(), home / ".config/tavcell/registry.sqlite3");
    }
    const tavtest::ScopedEnvironment relativeHome("HOME", "relative/home");
    EXPECT_EQ(DefaultUserRegistryPath(), std::filesystem::path()) << "no settings beside wherever the program starts";
    RegSetStore(HKEY_CURRENT_USER, nullptr);
    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS) << "the program goes on with settings in memory";
    RegCloseKey(key);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no home folder"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("relative"));
    RegSetStore(HKEY_CURRENT_USER, nullptr);
}

TEST(SqliteRegistryStoreTest, TwoProcessesWritingAtOnceLoseNoWrite)
{
    tavtest::TemporaryRegistry registry;
    constexpr int kWrites = 1000;
    pid_t children[2] = {};
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            // A child opens its own connection: nothing opened before the fork is used.
            RegSetStore(HKEY_CURRENT_USER, nullptr);
            HKEY key = nullptr;
            int failures = 0;
            if (RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Shared", 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
                != ERROR_SUCCESS)
                _exit(2);
            for (int i = 0; i < kWrites; ++i) {
                const std::string name = "writer" + std::to_string(child) + "-" + std::to_string(i);
                const DWORD value = static_cast<DWORD>(i);
                if (RegSetValueEx(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4)
                    != ERROR_SUCCESS)
                    ++failures;
            }
            RegCloseKey(key);
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed: status " << status;
    }

    RegSetStore(HKEY_CURRENT_USER, nullptr);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                              nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u * kWrites);
    for (int child = 0; child < 2; ++child) {
        const std::string name = "writer" + std::to_string(child) + "-" + std::to_string(kWrites - 1);
        DWORD value = 0;
        DWORD length = sizeof value;
        ASSERT_EQ(RegQueryValueEx(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &length),
                  ERROR_SUCCESS);
        EXPECT_EQ(value, static_cast<DWORD>(kWrites - 1));
    }
    RegCloseKey(key);
}

} // namespace
