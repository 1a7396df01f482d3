// tavreg against a temporary user store: .reg export and import of every value type, damaged
// files refused whole, the commands on single values, and a stored template saved and restored.
#include "tools/tavreg/RegFile.h"
#include "tools/tavreg/TavregCommand.h"

#include "platform/registry/Registry.h"
#include "platform/text/CodePage.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/templates/TavTemplate.h"
#include "tests/FuzzSeeds.h"
#include "tests/ScopedEnvironment.h"
#include "tests/platform/registry/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sqlite3.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace plat;

namespace {

// A key's whole content, to compare trees.
struct Tree {
    std::vector<RegValueEntry> values;
    std::map<std::string, Tree> subKeys;
    friend bool operator==(const Tree&, const Tree&) = default;
};

Tree Capture(HKEY key)
{
    Tree tree;
    char name[512];
    std::vector<BYTE> data(4096);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        DWORD dataLength = static_cast<DWORD>(data.size());
        RegValueEntry value;
        if (RegEnumValue(key, i, name, &nameLength, nullptr, &value.type, data.data(), &dataLength) != ERROR_SUCCESS)
            break;
        value.name.assign(name, nameLength);
        value.data.assign(data.begin(), data.begin() + dataLength);
        tree.values.push_back(std::move(value));
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyEx(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub = nullptr;
        EXPECT_EQ(RegOpenKeyEx(key, name, 0, KEY_READ, &sub), ERROR_SUCCESS);
        tree.subKeys[std::string(name, nameLength)] = Capture(sub);
        RegCloseKey(sub);
    }
    return tree;
}

Tree CaptureAt(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    Tree tree = Capture(key);
    RegCloseKey(key);
    return tree;
}

void Set(const char* path, const char* name, DWORD type, std::vector<BYTE> data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
    RegCloseKey(key);
}

std::vector<BYTE> Text(std::string_view text, bool terminated = true)
{
    std::vector<BYTE> data(text.begin(), text.end());
    if (terminated)
        data.push_back(0);
    return data;
}

std::string RegText(const std::string& utf8)
{
    return "\xFF\xFE" + Utf8ToUtf16Le(utf8).text;
}

class TavregTest : public testing::Test {
protected:
    int Run(std::vector<std::string> arguments)
    {
        m_out.str({});
        m_err.str({});
        return RunTavreg(arguments, m_out, m_err);
    }
    // The same, the person answering a question with answer.
    int RunAnswering(std::vector<std::string> arguments, const char* answer)
    {
        m_out.str({});
        m_err.str({});
        std::istringstream in(answer);
        return RunTavreg(arguments, m_out, m_err, in);
    }
    std::string File(const char* name) const { return (m_registry.Folder() / name).string(); }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    tavtest::TemporaryRegistry m_registry;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(TavregTest, EveryValueTypeSurvivesExportAndImport)
{
    const char* base = "Software\\Zervan Soft\\Coordinates";
    Set(base, "", REG_SZ, Text("default value"));
    Set(base, "quoted \"name\" with \\", REG_SZ, Text("C:\\path \"quoted\" 日本語"));
    Set(base, "two lines", REG_SZ, Text("first\r\nsecond"));
    Set(base, "unterminated", REG_SZ, Text("no zero", false));
    Set(base, "empty string", REG_SZ, {});
    Set(base, "expand", REG_EXPAND_SZ, Text("%HOME%/データ"));
    Set(base, "multi", REG_MULTI_SZ, {'a', 0, 'b', 'c', 0, 0});
    // What a template file may bring: an empty string inside a list, and text that is not UTF-8.
    Set(base, "multi with an empty string", REG_MULTI_SZ, {'a', 0, 0, 'b', 0, 0});
    Set(base, "empty multi", REG_MULTI_SZ, {0, 0});
    Set(base, "narrow text", REG_SZ, {0x91, 0xAA, 0x93, 0x5F, 0xFF, 0});
    Set(base, "dword", REG_DWORD, {0xFF, 0xFF, 0x80, 0x00});
    Set(base, "short dword", REG_DWORD, {1, 2, 3});
    std::vector<BYTE> longBinary(300);
    for (std::size_t i = 0; i < longBinary.size(); ++i)
        longBinary[i] = static_cast<BYTE>(i * 7);
    Set(base, "binary", REG_BINARY, longBinary);
    Set(base, "empty binary", REG_BINARY, {});
    Set(base, "qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    Set(base, "odd type", 0x1234, {0xDE, 0xAD});
    Set((std::string(base) + "\\Cell Template\\標準").c_str(), "Template", REG_SZ, Text("3,1,7,"));
    HKEY empty = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Zervan Soft\\Coordinates\\Empty", 0, "", 0, KEY_ALL_ACCESS,
                             nullptr, &empty, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(empty);
    const Tree before = CaptureAt("Software\\Zervan Soft");
    ASSERT_EQ(before.subKeys.at("Coordinates").values.size(), 16u);

    ASSERT_EQ(Run({"export", "HKCU\\Software\\Zervan Soft", File("out.reg")}), 0) << m_err.str();
    const std::string file = Read(File("out.reg"));
    tavtest::WriteFuzzSeed("reg_import", "every-type.reg", file);
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file.substr(0, 2), "\xFF\xFE") << "UTF-16LE with a byte-order mark";
    const std::string text = Utf16LeToUtf8(std::string_view(file).substr(2)).text;
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zervan Soft]\r\n", 0),
              0u);
    EXPECT_NE(text.find("\"dword\"=dword:0080ffff\r\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default value\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"expand\"=hex(2):25,00,"), std::string::npos);
    EXPECT_NE(text.find("\"multi\"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00\r\n"), std::string::npos);
    EXPECT_NE(text.find(",\\\r\n  "), std::string::npos) << "long data goes on over several lines";

    ASSERT_EQ(Run({"delete", "HKCU\\Software\\Zervan Soft"}), 0) << m_err.str();
    EXPECT_TRUE(CaptureAt("Software\\Zervan Soft").subKeys.empty());
    ASSERT_EQ(Run({"import", File("out.reg")}), 0) << m_err.str();
    EXPECT_TRUE(CaptureAt("Software\\Zervan Soft") == before) << "every name, type and byte comes back";
    ASSERT_EQ(Run({"export", "HKCU\\Software\\Zervan Soft", File("again.reg")}), 0) << m_err.str();
    EXPECT_EQ(Read(File("again.reg")), file);
}

TEST_F(TavregTest, ADamagedFileIsRefusedWithItsLineAndChangesNothing)
{
    Set("Software\\Kept", "value", REG_DWORD, {1, 0, 0, 0});
    const Tree before = CaptureAt("Software");
    const std::string good = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[-HKEY_CURRENT_USER\\Software\\Kept]\r\n"
                             "[HKEY_CURRENT_USER\\Software\\New]\r\n"
                             "\"a\"=dword:00000001\r\n"
                             "\"b\"=hex:01,02,\\\r\n"
                             "  03,04\r\n";
    ASSERT_TRUE(ParseRegFile(RegText(good)).ok) << ParseRegFile(RegText(good)).error;
    tavtest::WriteFuzzSeed("reg_import", "delete-and-continue.reg", RegText(good));

    struct Case {
        std::string text;
        std::size_t line;
    };
    const Case cases[] = {
        {good + "\"c\"=hex:01,0g\r\n", 8},
        {good + "\"c\"=dword:123456789\r\n", 8},
        {good + "\"c\"=\"unterminated\r\n", 8},
        {good + "\"c\"=nonsense\r\n", 8},
        {good + "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n", 8},
        {good + "[HKEY_CLASSES_ROOT\\x]\r\n", 8},
        {good + "[HKEY_CURRENT_USER\\Software\r\n", 8},
        {good + "\"c\"=hex(2):41\r\n", 8}, // an odd number of bytes is no UTF-16 text
        {"Windows Registry Editor Version 5.00\r\n\"orphan\"=dword:1\r\n", 2},
        {"REGEDIT5\r\n", 1},
    };
    for (const Case& c : cases) {
        const RegImportPlan plan = ParseRegFile(RegText(c.text));
        EXPECT_FALSE(plan.ok) << c.text;
        EXPECT_EQ(plan.errorLine, c.line) << c.text << "\n" << plan.error;
        EXPECT_TRUE(plan.changes.empty());
    }

    Write(File("bad.reg"), RegText(good + "\r\n\"late\"=hex:zz\r\n"));
    EXPECT_EQ(Run({"import", File("bad.reg")}), 1);
    EXPECT_NE(m_err.str().find("bad.reg:9:"), std::string::npos) << m_err.str();
    EXPECT_TRUE(CaptureAt("Software") == before) << "a refused file leaves the registry as it was";

    Write(File("good.reg"), RegText(good + "\"a\"=-\r\n"));
    ASSERT_EQ(Run({"import", File("good.reg")}), 0) << m_err.str();
    const Tree after = CaptureAt("Software");
    EXPECT_FALSE(after.subKeys.contains("Kept")) << "[-key] deletes the key";
    ASSERT_TRUE(after.subKeys.contains("New"));
    ASSERT_EQ(after.subKeys.at("New").values.size(), 1u) << "\"a\"=- deletes the value";
    EXPECT_EQ(after.subKeys.at("New").values[0].data, (std::vector<BYTE>{1, 2, 3, 4}));
}

TEST_F(TavregTest, CommandsForSingleValues)
{
    EXPECT_EQ(Run({"set", "HKCU\\Software\\T", "count", "REG_DWORD", "0x10"}), 0) << m_err.str();
    EXPECT_EQ(Run({"set", "Software\\T", "name", "sz", "日本"}), 0) << m_err.str();
    EXPECT_EQ(Run({"set", "Software\\T", "list", "REG_MULTI_SZ", "a", "b"}), 0);
    EXPECT_EQ(Run({"set", "Software\\T", "bytes", "REG_BINARY", "01,FF"}), 0);
    EXPECT_EQ(Run({"set", "Software\\T", "bad", "REG_BINARY", "0"}), 1);
    EXPECT_EQ(Run({"set", "HKLM\\SOFTWARE", "x", "REG_SZ", "y"}), 1) << "the machine root is read only";

    EXPECT_EQ(Run({"get", "software\\t", "COUNT"}), 0);
    EXPECT_EQ(m_out.str(), "0x00000010 (16)\n");
    EXPECT_EQ(Run({"get", "Software\\T", "name"}), 0);
    EXPECT_EQ(m_out.str(), "日本\n");
    EXPECT_EQ(Run({"list", "HKEY_CURRENT_USER\\Software"}), 0);
    EXPECT_EQ(m_out.str(), "HKEY_CURRENT_USER\\Software\n  T\\\n");
    EXPECT_EQ(Run({"list", "Software\\T"}), 0);
    EXPECT_NE(m_out.str().find("\"bytes\" REG_BINARY 01 ff\n"), std::string::npos) << m_out.str();

    EXPECT_EQ(Run({"delete", "Software\\T", "count"}), 0);
    EXPECT_EQ(Run({"get", "Software\\T", "count"}), 1);
    EXPECT_NE(m_err.str().find("not found"), std::string::npos);
    EXPECT_EQ(Run({"list", "HKEY_USERS\\x"}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(Run({"export", "Software\\Missing", File("none.reg")}), 1);
    EXPECT_FALSE(std::filesystem::exists(File("none.reg"))) << "no file is written for a missing key";
}

// A name with NUL could be imported but never named again, and exporting it recursed without
// end; the registry stops at 512 levels. Both are refused with the line, and export walks a
// tree without recursion, refusing (not crashing on) a NUL name an older version left.
TEST_F(TavregTest, NulNamesAndKeysDeeperThan512LevelsAreRefused)
{
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n";
    const std::string nul(1, '\0');
    for (const std::string& line : {"[HKEY_CURRENT_USER\\Software\\" + nul + "]", "\"a" + nul + "b\"=dword:1"}) {
        const RegImportPlan plan = ParseRegFile(RegText(head + line + "\r\n"));
        EXPECT_FALSE(plan.ok);
        EXPECT_EQ(plan.errorLine, 4u);
        EXPECT_NE(plan.error.find("NUL"), std::string::npos) << plan.error;
    }

    std::string deep = "HKEY_CURRENT_USER";
    for (int level = 0; level < 512; ++level)
        deep += "\\L";
    const std::string tree = head + "[" + deep + "]\r\n\"leaf\"=dword:1\r\n";
    Write(File("deep.reg"), RegText(tree));
    ASSERT_EQ(Run({"import", File("deep.reg")}), 0) << m_err.str();
    ASSERT_EQ(Run({"export", "HKCU\\L", File("back.reg")}), 0) << m_err.str();
    const RegImportPlan back = ParseRegFile(Read(File("back.reg")));
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.changes.size(), 513u) << "512 keys and the value";
    const RegImportPlan tooDeep = ParseRegFile(RegText(head + "[" + deep + "\\M]\r\n"));
    EXPECT_FALSE(tooDeep.ok);
    EXPECT_EQ(tooDeep.errorLine, 4u);
    EXPECT_EQ(Run({"set", deep + "\\M", "v", "REG_SZ", "x"}), 1);
    EXPECT_NE(m_err.str().find("512"), std::string::npos) << m_err.str();

    // A key and a value named with NUL, as an older version stored them, straight into the
    // database.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_registry.UserPath().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "INSERT INTO reg_key(parent, name, folded) SELECT id, char(0), char(0) FROM reg_key "
                           "WHERE folded = 'software';"
                           "INSERT INTO reg_value(key_id, name, folded, type, data) SELECT id, 'a' || char(0), "
                           "'a' || char(0), 1, x'00' FROM reg_key WHERE folded = 'l' AND parent = 1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    for (const char* key : {"HKCU\\Software", "HKCU\\L"}) {
        EXPECT_EQ(Run({"export", key, File("nul.reg")}), 1) << key;
        EXPECT_NE(m_err.str().find("NUL"), std::string::npos) << m_err.str();
        EXPECT_FALSE(std::filesystem::exists(File("nul.reg")));
    }
}

// The library stands in for an unusable store with one in memory; tavreg must not take a
// change there and report it done. A store the user may only read is read.
TEST_F(TavregTest, AWriteThatCannotBeKeptFailsAndAReadOnlyStoreIsRead)
{
    Write(File("change.reg"), RegText("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\New]\r\n"));
    const auto refusesEveryChange = [&](const std::string& what, const std::string& because) {
        EXPECT_EQ(Run({"set", "Software\\T", "v", "REG_SZ", "x"}), 1) << what;
        EXPECT_NE(m_err.str().find(because), std::string::npos) << what << ": " << m_err.str();
        EXPECT_EQ(Run({"import", File("change.reg")}), 1) << what;
        EXPECT_EQ(Run({"delete", "Software\\T"}), 1) << what;
    };

    std::string noise(5000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>(i * 131 + 7);
    Write(m_registry.UserPath(), noise);
    refusesEveryChange("a file of noise", "not a registry database");
    EXPECT_EQ(Run({"list", "Software"}), 1) << "nothing is shown as stored when nothing could be read";
    EXPECT_EQ(Read(m_registry.UserPath()), noise);

    std::filesystem::remove(m_registry.UserPath());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_registry.UserPath().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE other(x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    refusesEveryChange("another program's database", "not a registry database");

    {
        const tavtest::ScopedEnvironment noRegistry("TAVCELL_REGISTRY", std::nullopt);
        const tavtest::ScopedEnvironment relativeHome("HOME", "relative");
        const tavtest::ScopedEnvironment noConfigHome("XDG_CONFIG_HOME", "");
        refusesEveryChange("no home folder", "no home folder");
    }

    std::filesystem::remove(m_registry.UserPath());
    ASSERT_EQ(Run({"set", "Software\\T", "v", "REG_SZ", "kept"}), 0) << m_err.str();
    RegSetStore(HKEY_CURRENT_USER, nullptr); // closes the database, leaving no files beside it
    // Root writes anything, so the reader runs as nobody; anyone else meets the modes.
    const bool asRoot = geteuid() == 0;
    chmod(m_registry.UserPath().c_str(), 0444);
    chmod(m_registry.Folder().c_str(), 0555);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(64);
        int faults = 0;
        if (Run({"get", "Software\\T", "v"}) != 0 || m_out.str() != "kept\n")
            faults |= 1;
        if (Run({"list", "Software\\T"}) != 0
            || !ExportRegFile({HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Software"}).ok)
            faults |= 2;
        if (Run({"set", "Software\\T", "v", "REG_SZ", "lost"}) != 1
            || m_err.str().find("read-only") == std::string::npos)
            faults |= 4;
        if (Run({"import", File("change.reg")}) != 1 || Run({"delete", "Software\\T"}) != 1)
            faults |= 8;
        _exit(faults);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(m_registry.Folder().c_str(), 0700);
    chmod(m_registry.UserPath().c_str(), 0600);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "went wrong: 1 get, 2 list or export, 4 set, 8 import or delete; 64 no user";
    ASSERT_EQ(Run({"get", "Software\\T", "v"}), 0);
    EXPECT_EQ(m_out.str(), "kept\n");
}

TEST_F(TavregTest, ValuesThatCouldNotBeShownAsWrittenAndFilesPastTheLimitAreRefused)
{
    EXPECT_EQ(Run({"set", "K", "m", "REG_MULTI_SZ", "a", "", "b"}), 1) << "an empty string would end the list";
    for (const char* number : {" 5", "5 ", "+5", "-1", "5x", "0x", "0x-1", "1e3", "4294967296", "0x100000000"})
        EXPECT_EQ(Run({"set", "K", "d", "REG_DWORD", number}), 1) << number;
    const std::pair<const char*, const char*> numbers[] = {
        {"010", "0x0000000a (10)\n"}, {"0x1F", "0x0000001f (31)\n"}, {"4294967295", "0xffffffff (4294967295)\n"}};
    for (const auto& [number, shown] : numbers) {
        ASSERT_EQ(Run({"set", "K", "d", "REG_DWORD", number}), 0) << number;
        Run({"get", "K", "d"});
        EXPECT_EQ(m_out.str(), shown) << number;
    }

    std::ofstream(File("huge.reg")).close();
    std::filesystem::resize_file(File("huge.reg"), (std::uintmax_t{64} << 20) + 1);
    EXPECT_EQ(Run({"import", File("huge.reg")}), 1);
    EXPECT_NE(m_err.str().find("64 MiB"), std::string::npos) << m_err.str();
}

TEST_F(TavregTest, AFileIsWrittenOverOnlyWhenThePersonSaysYesOrForceIsGiven)
{
    Set("Software\\K", "v", REG_SZ, Text("value"));
    const std::string file = File("kept.reg");
    Write(file, "someone's file");
    EXPECT_EQ(Run({"export", "Software\\K", file}), 1) << "no one to ask: nothing is written over";
    EXPECT_EQ(RunAnswering({"save-key", "Software\\K", file}, "\n"), 1) << "the default answer is no";
    EXPECT_NE(m_err.str().find("replace it? [y/N]"), std::string::npos) << m_err.str();
    EXPECT_EQ(Read(file), "someone's file");
    EXPECT_EQ(RunAnswering({"export", "Software\\K", file}, "y\n"), 0) << m_err.str();
    EXPECT_EQ(Read(file).rfind("\xFF\xFE", 0), 0u) << "the export, in UTF-16";
    EXPECT_EQ(Run({"save-key", "--force", "Software\\K", file}), 0) << m_err.str();
}

// Files as administrators type them: comments, defaults, escapes, continued hex lines,
// trailing blanks and keys in another case, saved by an editor in whatever encoding it uses.
TEST_F(TavregTest, HandWrittenFilesImportInEveryEncodingAndExportBackEqual)
{
    const std::string body = "\r\n; the survey office's settings   \r\n"
                             "[-HKEY_CURRENT_USER\\Software\\Office]\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Office]   \r\n"
                             "@=\"既定\"\r\n"
                             "\"Path\" = \"C:\\\\Data\\\\\\\"new\\\"\"  \r\n"
                             "\"Blob\"=hex:01,02,03,\\   \r\n"
                             "    04,05\r\n"
                             "\"Count\"=dword:0000000a\r\n"
                             "\r\n"
                             "[hkey_current_user\\SOFTWARE\\office\\Sub]\r\n"
                             "\"名前\"=\"測点\"\n";
    const std::string text = "Windows Registry Editor Version 5.00\r\n" + body;
    const std::string files[] = {RegText(text), text, "\xEF\xBB\xBF" + text, Utf8ToNarrow(text).text,
                                 "REGEDIT4\r\n" + Utf8ToNarrow(body).text};
    std::string first;
    for (const std::string& file : files) {
        Write(File("hand.reg"), file);
        ASSERT_EQ(Run({"import", File("hand.reg")}), 0) << m_err.str();
        ASSERT_EQ(Run({"export", "--force", "HKCU\\Software\\Office", File("out.reg")}), 0) << m_err.str();
        const std::string exported = Read(File("out.reg"));
        if (first.empty())
            first = exported;
        EXPECT_EQ(exported, first) << "every encoding reads to the same keys and values";
    }
    const std::string exported = Utf16LeToUtf8(std::string_view(first).substr(2)).text;
    EXPECT_NE(exported.find("[HKEY_CURRENT_USER\\Software\\Office\\Sub]\r\n\"名前\"=\"測点\""), std::string::npos)
        << "keys of another case are one key, kept in the case first written:\n" << exported;
    EXPECT_NE(exported.find("\"Path\"=\"C:\\\\Data\\\\\\\"new\\\"\""), std::string::npos) << exported;
    EXPECT_NE(exported.find("\"Blob\"=hex:01,02,03,04,05\r\n"), std::string::npos) << exported;
    EXPECT_EQ(exported.find("office"), std::string::npos) << exported;

    SCOPED_TRACE("the narrow strings of a REGEDIT4 file: \"%測%\" as an expandable string");
    Write(File("old.reg"), "REGEDIT4\r\n[HKEY_CURRENT_USER\\Old]\r\n\"e\"=hex(2):25,91,aa,25,00\r\n");
    ASSERT_EQ(Run({"import", File("old.reg")}), 0) << m_err.str();
    EXPECT_EQ(CaptureAt("Old").values.at(0).data, Text("%測%"));

    SCOPED_TRACE("a byte that is no character of the file's encoding is refused at its line");
    const std::pair<std::string, std::size_t> bad[] = {
        {"\xEF\xBB\xBF" + text.substr(0, 38) + "\r\n\"x\"=\"\xFF\"\r\n", 3}, // marked UTF-8
        {Utf8ToNarrow(text).text + "\"x\"=\"\x81\x7F\"\r\n", 14},          // neither UTF-8 nor CP932
    };
    for (const auto& [file, line] : bad) {
        const RegImportPlan plan = ParseRegFile(file);
        EXPECT_FALSE(plan.ok);
        EXPECT_EQ(plan.errorLine, line) << plan.error;
    }
}

// A table whose templates lie where a surveying program's point list keeps them.
class PointManager : public TavManager {
public:
    explicit PointManager(TavData& data) : TavManager(nullptr) { AttachTable(&data); }
    const char* GetRegSection() override { return "Point"; }
    const char* GetSoftware() override { return "Survey"; }
};

const std::string kPointTemplates = "HKCU\\Software\\Zervan Soft\\Survey\\Application\\Point\\Cell Template\\Point";

TEST_F(TavregTest, ASavedTemplateRestoresIntoAFreshRegistryAndADamagedFileIsRefused)
{
    const std::string file = File("CELL01.mbf");
    {
        TavData data;
        PointManager manager(data);
        data.Template() = {3, 1, 7};
        data.Width() = {80, 60, 40};
        TavTemplate store(&manager);
        ASSERT_EQ(store.SaveTemplate("標準"), 1);
    }
    ASSERT_EQ(Run({"save-key", kPointTemplates + "\\標準", file}), 0) << m_err.str();
    const std::string bytes = Read(file);
    tavtest::WriteFuzzSeed("template_file", "tavreg", bytes);
    ASSERT_EQ(Run({"delete", kPointTemplates + "\\標準"}), 0);

    ASSERT_EQ(Run({"restore-key", kPointTemplates + "\\Copy", file}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "restored \"標準\" into HKEY_CURRENT_USER" + kPointTemplates.substr(4) + "\\Copy\n");
    {
        TavData data;
        PointManager manager(data);
        TavTemplate store(&manager);
        ASSERT_EQ(store.LoadTemplate("Copy"), 1) << "the copy is a template again";
        EXPECT_EQ(data.Template(), (std::vector<unsigned>{3, 1, 7}));
    }

    // The registry side of a refused file is the library's; the command says so and fails.
    Write(file, bytes.substr(0, bytes.size() - 3));
    EXPECT_EQ(Run({"restore-key", kPointTemplates + "\\Copy", file}), 1);
    EXPECT_NE(m_err.str().find("nothing was restored"), std::string::npos) << m_err.str();
}

} // namespace
