// Tests of the file helpers: atomic replacement that never loses the old file, folder and
// file operations that report errors, listing by pattern, and the user's folders.
#include "platform/io/Files.h"

#include "tests/FileSizeLimit.h"
#include "tests/ScopedEnvironment.h"
#include "tests/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace plat;
namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
protected:
    static std::string Read(const fs::path& path)
    {
        std::vector<std::uint8_t> bytes;
        EXPECT_FALSE(ReadWholeFile(path, bytes)) << path;
        return std::string(bytes.begin(), bytes.end());
    }

    // Every entry of a folder, so a test can see that nothing was left behind.
    static std::vector<std::string> Entries(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    tavtest::TemporaryFolder m_temporary{"tavcell-files"};
    const fs::path m_folder = m_temporary.Path();
};

} // namespace

TEST_F(FilesTest, AtomicWriteReplacesContentAndKeepsPermissions)
{
    const fs::path file = m_folder / "table.dat";
    ASSERT_FALSE(WriteFileAtomically(file, "old"));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    const std::string big(200000, 'x'); // several read chunks
    ASSERT_FALSE(WriteFileAtomically(file, big));
    EXPECT_EQ(Read(file), big);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "a private file must not become readable by others when saved";
    ASSERT_FALSE(WriteFileAtomically(file, ""));
    EXPECT_EQ(Read(file), "");
    EXPECT_EQ(Entries(m_folder), std::vector<std::string>{"table.dat"}) << "no temporary file is left";

    std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_EQ(ReadWholeFile(m_folder / "missing", bytes), std::errc::no_such_file_or_directory);
    EXPECT_TRUE(bytes.empty());
}

TEST_F(FilesTest, AWriteThroughLinksReplacesTheirTargetAndKeepsTheLinks)
{
    fs::create_directories(m_folder / "real");
    fs::create_directories(m_folder / "links");
    const fs::path target = m_folder / "real" / "doc.dat";
    ASSERT_FALSE(WriteFileAtomically(target, "old"));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("../real/doc.dat", m_folder / "links" / "relative");
    fs::create_symlink(m_folder / "links" / "relative", m_folder / "chain");
    ASSERT_FALSE(WriteFileAtomically(m_folder / "chain", "new"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "chain"));
    EXPECT_TRUE(fs::is_symlink(m_folder / "links" / "relative"));
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(m_folder / "real"), std::vector<std::string>{"doc.dat"}) << "the temporary file was renamed";

    fs::create_symlink("missing.dat", m_folder / "real" / "dangling");
    ASSERT_FALSE(WriteFileAtomically(m_folder / "real" / "dangling", "made"));
    EXPECT_EQ(Read(m_folder / "real" / "missing.dat"), "made") << "a link to nothing yet makes its target";
    fs::create_symlink("loop", m_folder / "loop");
    EXPECT_EQ(WriteFileAtomically(m_folder / "loop", "x"), std::errc::too_many_symbolic_link_levels);
    EXPECT_TRUE(fs::is_symlink(m_folder / "loop"));
}

TEST_F(FilesTest, OnlyARegularFileIsEverReplacedAndTheRefusalComesBeforeAByteIsWritten)
{
    const fs::path fifo = m_folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, m_folder / "to-fifo");
    fs::create_symlink("/dev/null", m_folder / "to-null");
    fs::create_directory(m_folder / "folder");
    EXPECT_EQ(WriteFileAtomically(fifo, "x"), NotARegularFileError());
    EXPECT_EQ(WriteFileAtomically(m_folder / "to-fifo", "x"), NotARegularFileError()) << "nor through a link";
    EXPECT_EQ(WriteFileAtomically(m_folder / "to-null", "x"), NotARegularFileError());
    EXPECT_EQ(WriteFileAtomically(m_folder / "folder", "x"), std::errc::is_a_directory);
    EXPECT_EQ(CheckWritableFile(m_folder / "to-fifo"), NotARegularFileError());
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(Entries(m_folder), (std::vector<std::string>{"fifo", "folder", "to-fifo", "to-null"})) << "no temporary file was made";

    // Something put in the file's place while its content was written is not replaced either.
    const fs::path file = m_folder / "doc.dat";
    ASSERT_FALSE(WriteFileAtomically(file, "old"));
    AtomicFileWriter writer;
    ASSERT_FALSE(writer.Open(file));
    ASSERT_FALSE(writer.Write("new", 3));
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(writer.Commit(), NotARegularFileError());
    EXPECT_TRUE(fs::is_fifo(file));
    EXPECT_EQ(Entries(m_folder), (std::vector<std::string>{"doc.dat", "fifo", "folder", "to-fifo", "to-null"}));
}

TEST_F(FilesTest, ReadRefusesWhatIsNotARegularFileAndWhatIsTooLarge)
{
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadWholeFile("/dev/zero", bytes), NotARegularFileError()) << "a device would be read without end";
    EXPECT_EQ(ReadWholeFile(m_folder, bytes), std::errc::is_a_directory);
    const fs::path fifo = m_folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(fifo, bytes), NotARegularFileError()) << "a FIFO with no writer must not hang the reader";

    ASSERT_FALSE(WriteFileAtomically(m_folder / "ten", "0123456789"));
    EXPECT_EQ(ReadWholeFile(m_folder / "ten", bytes, 9), std::errc::file_too_large);
    EXPECT_TRUE(bytes.empty());
    ASSERT_FALSE(ReadWholeFile(m_folder / "ten", bytes, 10));
    EXPECT_EQ(bytes.size(), 10u);
}

TEST_F(FilesTest, FailedAtomicWriteLeavesOldFileAndNoTemporary)
{
    // Into a folder that does not exist.
    EXPECT_EQ(WriteFileAtomically(m_folder / "missing" / "a.dat", "new"), std::errc::no_such_file_or_directory);
    EXPECT_TRUE(Entries(m_folder).empty());

    SCOPED_TRACE("over a folder");
    fs::create_directory(m_folder / "taken");
    EXPECT_TRUE(WriteFileAtomically(m_folder / "taken", "new"));
    EXPECT_EQ(Entries(m_folder), std::vector<std::string>{"taken"});
    EXPECT_TRUE(fs::is_directory(m_folder / "taken"));

    SCOPED_TRACE("the disk fills up (here: the file size limit is reached) in the middle of the write");
    const fs::path file = m_folder / "table.dat";
    ASSERT_FALSE(WriteFileAtomically(file, "old content"));
    {
        const tavtest::FileSizeLimit limit(4096);
        EXPECT_TRUE(WriteFileAtomically(file, std::string(100000, 'n')));
        EXPECT_FALSE(CopyFileReplacing(file, file)) << "a copy of a file that fits the limit still works";
    }
    EXPECT_EQ(Read(file), "old content");
    EXPECT_EQ(Entries(m_folder), (std::vector<std::string>{"table.dat", "taken"}));
}

TEST_F(FilesTest, WriteIntoReadOnlyFolderFailsAndKeepsOldFile)
{
    const fs::path file = m_folder / "table.dat";
    ASSERT_FALSE(WriteFileAtomically(file, "old"));
    // Root writes anywhere, so the writer is a child that has given root up (to nobody);
    // anyone else finds the folder made read-only.
    const bool asRoot = ::geteuid() == 0;
    fs::permissions(m_folder, asRoot ? fs::perms(0755) : fs::perms(0555));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (asRoot && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        ::_exit(WriteFileAtomically(file, "new") == std::errc::permission_denied ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(m_folder, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write did not fail with permission_denied, 3: no user to run as";
    EXPECT_EQ(Read(file), "old");
    EXPECT_EQ(Entries(m_folder), std::vector<std::string>{"table.dat"});
}

TEST_F(FilesTest, ExistenceSizeFoldersAndRemoval)
{
    const fs::path file = m_folder / "a.dat";
    ASSERT_FALSE(WriteFileAtomically(file, "12345"));
    EXPECT_TRUE(PathExists(file));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_TRUE(FolderExists(m_folder));
    EXPECT_FALSE(PathExists(m_folder / "b.dat"));

    std::uintmax_t size = 99;
    EXPECT_FALSE(GetFileSize(file, size));
    EXPECT_EQ(size, 5u);
    EXPECT_TRUE(GetFileSize(m_folder, size)) << "a folder has no file size";
    EXPECT_EQ(GetFileSize(m_folder / "b.dat", size), std::errc::no_such_file_or_directory);

    // One level at a time: the parent must exist; an existing folder counts as made.
    EXPECT_EQ(MakeFolder(m_folder / "x" / "y"), std::errc::no_such_file_or_directory);
    EXPECT_FALSE(MakeFolder(m_folder / "x"));
    EXPECT_FALSE(MakeFolder(m_folder / "x"));
    EXPECT_EQ(MakeFolder(file), std::errc::file_exists) << "a file in the way is not a folder";
    EXPECT_FALSE(MakeFolders(m_folder / "p" / "q" / "r"));
    EXPECT_TRUE(FolderExists(m_folder / "p" / "q" / "r"));
    EXPECT_FALSE(MakeFolders(m_folder / "p" / "q"));
    EXPECT_TRUE(MakeFolders(file / "sub"));

    EXPECT_EQ(RemovePath(m_folder / "p"), std::errc::directory_not_empty);
    EXPECT_FALSE(RemovePath(m_folder / "p" / "q" / "r"));
    EXPECT_FALSE(RemovePath(file));
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(RemovePath(file), std::errc::no_such_file_or_directory);
}

TEST_F(FilesTest, CopyReplacesTargetOnlyWhenItSucceeds)
{
    const fs::path source = m_folder / "CELL01.mbf";
    const fs::path target = m_folder / "copy.mbf";
    ASSERT_FALSE(WriteFileAtomically(source, std::string(150000, 's')));
    EXPECT_FALSE(CopyFileReplacing(source, target));
    EXPECT_EQ(Read(target), std::string(150000, 's'));

    ASSERT_FALSE(WriteFileAtomically(source, "second"));
    EXPECT_FALSE(CopyFileReplacing(source, target)) << "an existing target is replaced";
    EXPECT_EQ(Read(target), "second");

    EXPECT_EQ(CopyFileReplacing(m_folder / "missing", target), std::errc::no_such_file_or_directory);
    EXPECT_EQ(CopyFileReplacing(m_folder, target), std::errc::is_a_directory);
    EXPECT_TRUE(CopyFileReplacing(source, m_folder / "no" / "copy.mbf"));
    EXPECT_EQ(Read(target), "second");
    EXPECT_EQ(Entries(m_folder), (std::vector<std::string>{"CELL01.mbf", "copy.mbf"}));
}

TEST(FilePattern, WildcardsMatchCharactersWithoutRegardToCase)
{
    EXPECT_TRUE(MatchesPattern("CELL01.mbf", "CELL*.mbf"));
    EXPECT_TRUE(MatchesPattern("cell01.MBF", "CELL*.mbf"));
    EXPECT_TRUE(MatchesPattern("CELL.mbf", "CELL*.mbf")) << "'*' may stand for nothing";
    EXPECT_FALSE(MatchesPattern("CELL01.mbf.tmp", "CELL*.mbf"));
    EXPECT_FALSE(MatchesPattern("XCELL01.mbf", "CELL*.mbf"));
    EXPECT_TRUE(MatchesPattern("a.mbf.mbf", "*.mbf")) << "'*' backs off to let the rest match";
    EXPECT_TRUE(MatchesPattern("aXbYbZc", "a*b*c"));
    EXPECT_FALSE(MatchesPattern("aXbYbZ", "a*b*c"));
    EXPECT_TRUE(MatchesPattern("a標c", "a?c")) << "'?' stands for one character, not one byte";
    EXPECT_FALSE(MatchesPattern("ac", "a?c"));
    EXPECT_TRUE(MatchesPattern("ＣＥＬＬ", "ｃｅｌｌ"));
    EXPECT_TRUE(MatchesPattern("no-extension", "*.*"));
    EXPECT_TRUE(MatchesPattern("", "*"));
    EXPECT_FALSE(MatchesPattern("", "?"));
    EXPECT_FALSE(MatchesPattern(std::string(2000, 'a'), std::string(20, '*') + "a*a*a*a*b"));
}

TEST_F(FilesTest, ListFilesMatchingAPatternInNameOrder)
{
    for (const char* name : {"CELL02.mbf", "cell01.MBF", "CELL00.mbf", "CELL03.txt", "other.mbf"})
        ASSERT_FALSE(WriteFileAtomically(m_folder / name, "x"));
    fs::create_directory(m_folder / "CELL04.mbf");

    std::vector<std::string> names{"stale"};
    EXPECT_FALSE(ListFiles(m_folder, "CELL*.mbf", names));
    EXPECT_EQ(names, (std::vector<std::string>{"CELL00.mbf", "cell01.MBF", "CELL02.mbf"})) << "folders are not files";
    EXPECT_FALSE(ListFiles(m_folder, "*.mbf", names));
    EXPECT_EQ(names.size(), 4u);
    EXPECT_FALSE(ListFiles(m_folder, "*.csv", names));
    EXPECT_TRUE(names.empty());
    names = {"stale"};
    EXPECT_EQ(ListFiles(m_folder / "missing", "*", names), std::errc::no_such_file_or_directory);
    EXPECT_TRUE(names.empty());
}

TEST_F(FilesTest, FreeSpaceIsMeasuredWhereAPathWouldBeMade)
{
    std::uintmax_t here = 0;
    ASSERT_FALSE(GetFreeSpace(m_folder, here));
    EXPECT_GT(here, 0u);
    std::uintmax_t below = 0;
    EXPECT_FALSE(GetFreeSpace(m_folder / "not" / "made" / "yet", below));
    EXPECT_GT(below, 0u);
    ASSERT_FALSE(WriteFileAtomically(m_folder / "file", "x"));
    EXPECT_EQ(GetFreeSpace(m_folder / "file" / "sub", below), std::errc::not_a_directory)
        << "a file in the path is an error, not a reason to look further up";
}

TEST_F(FilesTest, UserFoldersFollowUserDirsAndFallBackToHome)
{
    const std::string home = (m_folder / "home").string();
    const std::string config = (m_folder / "config").string();
    tavtest::ScopedEnvironment homeGuard("HOME", home + "/");
    tavtest::ScopedEnvironment configGuard("XDG_CONFIG_HOME", config);
    using Folders = std::pair<fs::path, fs::path>; // documents, desktop
    const auto folders = [] {
        Folders found;
        EXPECT_FALSE(GetDocumentsFolder(found.first));
        EXPECT_FALSE(GetDesktopFolder(found.second));
        return found;
    };

    SCOPED_TRACE("no user-dirs.dirs: both are the home folder");
    EXPECT_EQ(folders(), Folders(home, home));

    fs::create_directory(config);
    ASSERT_FALSE(WriteFileAtomically(config + "/user-dirs.dirs",
                                     "# written by a tool\n"
                                     "XDG_DESKTOP_DIR=\"$HOME/Old\"\n"
                                     "XDG_DOCUMENTS_DIR=\"$HOME/文書\"\n"
                                     "XDG_DESKTOP_DIR=\"/data/My \\\"Desk\\\"/\"\r\n"
                                     "XDG_DOCUMENTS_DIR_EXTRA=\"/wrong\"\n"));
    EXPECT_EQ(folders(), Folders(home + "/文書", "/data/My \"Desk\""))
        << "the last line wins; quotes and escapes are shell syntax";

    SCOPED_TRACE("relative values are not valid; \"$HOME/\" alone means the home folder");
    ASSERT_FALSE(WriteFileAtomically(config + "/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"Documents\"\n"
                                                                  "XDG_DESKTOP_DIR=\"$HOME/\"\n"));
    EXPECT_EQ(folders(), Folders(home, home));

    SCOPED_TRACE("without XDG_CONFIG_HOME the file is looked for in ~/.config");
    tavtest::ScopedEnvironment noConfig("XDG_CONFIG_HOME", std::nullopt);
    fs::create_directories(home + "/.config");
    ASSERT_FALSE(WriteFileAtomically(home + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"));
    EXPECT_EQ(folders().first, home + "/Docs");
}

TEST(UserFolders, TemporaryFolderIsTmpdirElseTmp)
{
    fs::path folder;
    {
        tavtest::ScopedEnvironment tmpdir("TMPDIR", "/var/tmp/mine/");
        EXPECT_FALSE(GetTemporaryFolder(folder));
        EXPECT_EQ(folder, "/var/tmp/mine");
    }
    for (const std::optional<std::string>& unusable : {std::optional<std::string>(), std::optional<std::string>("")}) {
        tavtest::ScopedEnvironment tmpdir("TMPDIR", unusable);
        EXPECT_FALSE(GetTemporaryFolder(folder));
        EXPECT_EQ(folder, "/tmp");
    }
}
