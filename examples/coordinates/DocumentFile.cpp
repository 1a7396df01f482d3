// The document's disk stamp and its lock file. A lock is a small text: the program, the user,
// the host, the process and the editor within it; a lock of a process that no longer runs on
// this host was left by a crash or a kill and counts for nothing.
#include "examples/coordinates/DocumentFile.h"

#include "platform/io/Files.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace coordinates {

namespace {

constexpr const char* kLockMagic = "tavcell-coordinates-lock";

std::string HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return "localhost";
    return name;
}

std::string UserName()
{
    const char* user = std::getenv("USER");
    return user != nullptr && *user != '\0' ? user : std::to_string(::getuid());
}

struct LockHolder {
    std::string user;
    std::string host;
    long pid = 0;
    unsigned instance = 0;
};

bool ReadLock(const std::filesystem::path& lock, LockHolder& holder)
{
    std::vector<std::uint8_t> bytes;
    if (plat::ReadWholeFile(lock, bytes, 4096))
        return false;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string magic;
    return std::getline(in, magic) && magic == kLockMagic && std::getline(in, holder.user) &&
           std::getline(in, holder.host) && (in >> holder.pid >> holder.instance) && holder.pid > 0;
}

// A holder on another host cannot be asked, so it counts as running.
bool IsRunning(const LockHolder& holder)
{
    if (holder.host != HostName())
        return true;
    return ::kill(static_cast<pid_t>(holder.pid), 0) == 0 || errno != ESRCH;
}

} // namespace

DocumentFile::DocumentFile()
{
    static std::atomic<unsigned> instances{0};
    m_instance = ++instances;
}

std::filesystem::path DocumentFile::LockPath(const std::filesystem::path& document)
{
    return document.parent_path() / ("." + document.filename().string() + ".lock");
}

std::string DocumentFile::LockText() const
{
    return std::string(kLockMagic) + "\n" + UserName() + "\n" + HostName() + "\n" + std::to_string(::getpid()) + " " +
           std::to_string(m_instance) + "\n";
}

std::string DocumentFile::Attach(const std::filesystem::path& path)
{
    if (path == m_path && (m_locked || path.empty())) {
        Remember();
        return {};
    }
    Detach();
    m_path = path;
    Remember();
    if (m_path.empty())
        return {};
    const std::filesystem::path lock = LockPath(m_path);
    LockHolder holder;
    if (ReadLock(lock, holder) && IsRunning(holder) &&
        !(holder.host == HostName() && holder.pid == ::getpid() && holder.instance == m_instance))
        return holder.user + "@" + holder.host + ", プロセス " + std::to_string(holder.pid);
    // A folder that takes no lock (read-only, say) still lets the document be edited.
    m_locked = !plat::WriteFileAtomically(lock, LockText());
    return {};
}

void DocumentFile::Detach() noexcept
{
    if (m_locked) {
        try {
            const std::filesystem::path lock = LockPath(m_path);
            std::vector<std::uint8_t> bytes;
            // Only our own: another editor may have taken the lock over after a stale one.
            if (!plat::ReadWholeFile(lock, bytes, 4096) && std::string(bytes.begin(), bytes.end()) == LockText())
                static_cast<void>(plat::RemovePath(lock));
        } catch (...) {
        }
    }
    m_locked = false;
    m_path.clear();
    m_stamp = {};
}

DocumentFile::Stamp DocumentFile::StampOf(const std::filesystem::path& path)
{
    Stamp stamp;
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.seconds = info.st_mtim.tv_sec;
    stamp.nanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}

void DocumentFile::Remember() { m_stamp = StampOf(m_path); }

bool DocumentFile::ChangedOnDisk() const
{
    const Stamp now = StampOf(m_path);
    return now.exists && now != m_stamp;
}

} // namespace coordinates
