// File helpers: whole-file reads, atomic replacement, folder and file operations that
// report errors, and the user's folders.
#include "platform/io/Files.h"

#include "platform/text/NameCompare.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace plat {
namespace fs = std::filesystem;

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

std::error_code ErrorOf(std::errc value) { return std::make_error_code(value); }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) noexcept : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const noexcept { return m_fd; }
    // Closes now, reporting what close reports (the last chance to see a write error).
    std::error_code Close() noexcept
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? std::error_code{} : LastError();
    }

private:
    int m_fd;
};

std::error_code WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

fs::path TemporarySibling(const fs::path& path)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
    fs::path temporary = path;
    temporary += suffix;
    return temporary;
}

// Creates a fresh temporary file beside path; a name already taken (by a crashed writer,
// say) is never reused, so another one is drawn.
int CreateTemporarySibling(const fs::path& path, fs::path& temporary)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        temporary = TemporarySibling(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The file a path finally names, following symbolic links one by one: renaming over a link
// would put a file in its place and leave what it points to as it was. A link whose target is
// relative is read from the link's folder. As the system does, a chain longer than 40 links
// is taken for a loop.
std::error_code ResolveLinks(const fs::path& path, fs::path& resolved)
{
    resolved = path;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(resolved.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return {}; // nothing there yet (made there) or not a link: this is the file
        if (links == 40)
            return ErrorOf(std::errc::too_many_symbolic_link_levels);
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(resolved.c_str(), target.data(), target.size());
        if (length < 0)
            return LastError();
        if (static_cast<std::size_t>(length) >= target.size())
            return ErrorOf(std::errc::filename_too_long); // the link changed while it was read
        target.resize(static_cast<std::size_t>(length));
        const fs::path next(target);
        resolved = next.is_absolute() ? next : resolved.parent_path() / next;
    }
}

// What is at a resolved path: nothing (made there), a regular file (replaced), or something a
// rename would destroy or that no document can be (refused).
std::error_code CheckTarget(const fs::path& path, struct stat& info, bool& exists)
{
    exists = false;
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::error_code{} : LastError();
    exists = true;
    if (S_ISDIR(info.st_mode))
        return ErrorOf(std::errc::is_a_directory);
    if (!S_ISREG(info.st_mode))
        return NotARegularFileError();
    return {};
}

template <class Fill>
std::error_code ReplaceAtomically(const fs::path& named, Fill&& fill)
{
    AtomicFileWriter writer;
    if (const std::error_code error = writer.Open(named))
        return error;
    if (const std::error_code error = fill(writer))
        return error;
    return writer.Commit();
}

// The next character of a name, folded; a malformed byte stands for itself, above every
// code point, so that it matches only the same byte.
char32_t NextFolded(std::string_view text, std::size_t& pos) noexcept
{
    const std::size_t start = pos;
    const char32_t codePoint = DecodeUtf8(text, pos);
    return codePoint == kInvalidCodePoint ? 0x110000 + static_cast<unsigned char>(text[start]) : FoldCodePoint(codePoint);
}

std::string WithoutTrailingSeparator(std::string text)
{
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::string EnvironmentText(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::error_code GetHomeFolder(std::string& home)
{
    home = EnvironmentText("HOME");
    if (home.empty()) {
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
            home = found->pw_dir;
    }
    if (home.empty() || home.front() != '/')
        return ErrorOf(std::errc::no_such_file_or_directory);
    home = WithoutTrailingSeparator(std::move(home));
    return {};
}

// The value of the last "key=value" line of a user-dirs.dirs file. The file is shell
// syntax: values are in double quotes, with backslash escapes.
std::optional<std::string> UserDirsValue(std::string_view content, std::string_view key)
{
    std::optional<std::string> found;
    while (!content.empty()) {
        const std::size_t end = std::min(content.find('\n'), content.size());
        std::string_view line = content.substr(0, end);
        content.remove_prefix(std::min(end + 1, content.size()));
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != '=')
            continue;
        line.remove_prefix(key.size() + 1);
        std::string value;
        bool quoted = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"') {
                quoted = !quoted;
            } else if (c == '\\' && i + 1 < line.size()) {
                value.push_back(line[++i]);
            } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '#')) {
                break;
            } else {
                value.push_back(c);
            }
        }
        found = std::move(value);
    }
    return found;
}

std::error_code GetUserFolder(std::string_view key, fs::path& folder)
{
    std::string home;
    if (const std::error_code error = GetHomeFolder(home))
        return error;
    fs::path config = EnvironmentText("XDG_CONFIG_HOME");
    if (!config.is_absolute())
        config = fs::path(home) / ".config";
    folder = home;
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(config / "user-dirs.dirs", bytes))
        return {};
    const std::optional<std::string> value =
        UserDirsValue(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), key);
    if (!value)
        return {};
    // Only "$HOME/..." and absolute paths are valid values; "$HOME/" alone disables the
    // folder, which leaves the home folder in its place.
    if (value->starts_with("$HOME") && (value->size() == 5 || (*value)[5] == '/'))
        folder = WithoutTrailingSeparator(home + value->substr(5));
    else if (value->starts_with('/'))
        folder = WithoutTrailingSeparator(*value);
    return {};
}

} // namespace

std::error_code CheckWritableFile(const fs::path& path)
{
    fs::path resolved;
    if (const std::error_code error = ResolveLinks(path, resolved))
        return error;
    struct stat info {};
    bool exists = false;
    return CheckTarget(resolved, info, exists);
}

std::error_code AtomicFileWriter::Open(const fs::path& path)
{
    Abandon();
    if (const std::error_code error = ResolveLinks(path, m_target))
        return error;
    struct stat info {};
    bool exists = false;
    if (const std::error_code error = CheckTarget(m_target, info, exists))
        return error;
    m_fd = CreateTemporarySibling(m_target, m_temporary);
    if (m_fd < 0)
        return LastError();
    // A document someone made read-only for others stays so after it is saved.
    if (exists && ::fchmod(m_fd, info.st_mode & 07777) != 0) {
        const std::error_code error = LastError();
        Abandon();
        return error;
    }
    return {};
}

std::error_code AtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (m_fd < 0)
        return ErrorOf(std::errc::bad_file_descriptor);
    return WriteAll(m_fd, static_cast<const std::uint8_t*>(data), size);
}

std::error_code AtomicFileWriter::Commit()
{
    if (m_fd < 0)
        return ErrorOf(std::errc::bad_file_descriptor);
    std::error_code error;
    if (::fsync(m_fd) != 0)
        error = LastError();
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && !error)
        error = LastError(); // the last chance to hear of a write error
    // Whatever took the target's place while the content was written (a FIFO made there, a
    // device linked to) is not replaced either.
    struct stat info {};
    bool exists = false;
    if (!error)
        error = CheckTarget(m_target, info, exists);
    if (!error && ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        error = LastError();
    if (error) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        return error;
    }
    m_temporary.clear();
    // The rename is durable only once the folder that holds the name is flushed too.
    const fs::path folder = m_target.has_parent_path() ? m_target.parent_path() : fs::path(".");
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0)
        ::fsync(directory.Get());
    return {};
}

void AtomicFileWriter::Abandon() noexcept
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

std::error_code NotARegularFileError() noexcept
{
    class Category : public std::error_category {
    public:
        const char* name() const noexcept override { return "tavcell.files"; }
        std::string message(int) const override { return "not a regular file"; }
    };
    static const Category category;
    return {1, category};
}

std::error_code ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes, std::uintmax_t maxBytes)
{
    bytes.clear();
    // O_NONBLOCK keeps open() of a FIFO from waiting for a writer; the type is checked
    // before anything is read.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0)
        return LastError();
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        return LastError();
    if (S_ISDIR(info.st_mode))
        return ErrorOf(std::errc::is_a_directory);
    if (!S_ISREG(info.st_mode))
        return NotARegularFileError();
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        return ErrorOf(std::errc::file_too_large);
    // The size is a hint only: the file may grow or shrink while it is read.
    const std::size_t hint = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.resize(std::max<std::size_t>(hint + 1, 4096));
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxBytes) {
                bytes.clear();
                return ErrorOf(std::errc::file_too_large);
            }
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = ::read(file.Get(), bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const std::error_code error = LastError();
            bytes.clear();
            return error;
        }
        if (got == 0) {
            if (used > maxBytes) {
                bytes.clear();
                return ErrorOf(std::errc::file_too_large);
            }
            bytes.resize(used);
            return {};
        }
        used += static_cast<std::size_t>(got);
    }
}

std::error_code WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    return ReplaceAtomically(path, [bytes](AtomicFileWriter& writer) { return writer.Write(bytes.data(), bytes.size()); });
}

std::error_code WriteFileAtomically(const fs::path& path, std::string_view bytes)
{
    return WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

bool PathExists(const fs::path& path) noexcept
{
    std::error_code error;
    return fs::exists(path, error);
}

bool FolderExists(const fs::path& path) noexcept
{
    std::error_code error;
    return fs::is_directory(path, error);
}

std::error_code GetFileSize(const fs::path& path, std::uintmax_t& size)
{
    std::error_code error;
    size = fs::file_size(path, error);
    if (error)
        size = 0;
    return error;
}

std::error_code MakeFolder(const fs::path& path)
{
    if (path.empty())
        return ErrorOf(std::errc::no_such_file_or_directory);
    if (::mkdir(path.c_str(), 0777) == 0)
        return {};
    const std::error_code error = LastError();
    if (error == std::errc::file_exists && FolderExists(path))
        return {};
    return error;
}

std::error_code MakeFolders(const fs::path& path)
{
    if (path.empty())
        return ErrorOf(std::errc::no_such_file_or_directory);
    std::error_code error;
    fs::create_directories(path, error);
    if (!error && !FolderExists(path))
        error = ErrorOf(std::errc::file_exists);
    return error;
}

std::error_code RemovePath(const fs::path& path)
{
    std::error_code error;
    if (!fs::remove(path, error) && !error)
        error = ErrorOf(std::errc::no_such_file_or_directory);
    return error;
}

std::error_code CopyFileReplacing(const fs::path& source, const fs::path& target)
{
    FileDescriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (input.Get() < 0)
        return LastError();
    struct stat info {};
    if (::fstat(input.Get(), &info) != 0)
        return LastError();
    if (S_ISDIR(info.st_mode))
        return ErrorOf(std::errc::is_a_directory);
    return ReplaceAtomically(target, [&input](AtomicFileWriter& writer) -> std::error_code {
        std::vector<std::uint8_t> buffer(1 << 16);
        for (;;) {
            const ssize_t got = ::read(input.Get(), buffer.data(), buffer.size());
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return LastError();
            }
            if (got == 0)
                return {};
            if (const std::error_code error = writer.Write(buffer.data(), static_cast<std::size_t>(got)))
                return error;
        }
    });
}

bool MatchesPattern(std::string_view name, std::string_view pattern) noexcept
{
    if (pattern == "*.*")
        return true;
    // Greedy matching with one backtrack point: the last '*' seen takes one more character
    // of the name whenever the rest fails, which keeps the work at most name x pattern.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size()) {
            std::size_t nextP = p;
            const char32_t pc = NextFolded(pattern, nextP);
            if (pc == U'*') {
                starPattern = nextP;
                starName = n;
                p = nextP;
                continue;
            }
            std::size_t nextN = n;
            const char32_t nc = NextFolded(name, nextN);
            if (pc == U'?' || pc == nc) {
                p = nextP;
                n = nextN;
                continue;
            }
        }
        if (starPattern == std::string_view::npos)
            return false;
        NextFolded(name, starName);
        n = starName;
        p = starPattern;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::error_code ListFiles(const fs::path& folder, std::string_view pattern, std::vector<std::string>& names)
{
    names.clear();
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (MatchesPattern(name, pattern))
            names.push_back(std::move(name));
    }
    if (error) {
        names.clear();
        return error;
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int order = CompareNoCase(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return {};
}

std::error_code GetFreeSpace(const fs::path& path, std::uintmax_t& bytes)
{
    bytes = 0;
    fs::path probe = path.empty() ? fs::path(".") : path;
    for (;;) {
        std::error_code error;
        const fs::space_info info = fs::space(probe, error);
        if (!error) {
            bytes = info.available;
            return {};
        }
        if (error != std::errc::no_such_file_or_directory)
            return error;
        fs::path parent = probe.parent_path();
        if (parent.empty() && probe.is_relative() && probe != ".")
            parent = ".";
        if (parent.empty() || parent == probe)
            return error;
        probe = std::move(parent);
    }
}

std::error_code GetDocumentsFolder(fs::path& folder) { return GetUserFolder("XDG_DOCUMENTS_DIR", folder); }

std::error_code GetDesktopFolder(fs::path& folder) { return GetUserFolder("XDG_DESKTOP_DIR", folder); }

std::error_code GetTemporaryFolder(fs::path& folder)
{
    const std::string temporary = EnvironmentText("TMPDIR");
    folder = temporary.starts_with('/') ? WithoutTrailingSeparator(temporary) : std::string("/tmp");
    return {};
}

std::error_code GetDataFolder(fs::path& folder)
{
    const std::string data = EnvironmentText("XDG_DATA_HOME");
    if (data.starts_with('/')) {
        folder = WithoutTrailingSeparator(data);
        return {};
    }
    std::string home;
    if (const std::error_code error = GetHomeFolder(home))
        return error;
    folder = fs::path(home) / ".local" / "share";
    return {};
}

} // namespace plat
