// File helpers: whole-file reads and atomic replacement.
#include "platform/io/Files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace plat {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

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

std::filesystem::path TemporarySibling(const std::filesystem::path& path)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
    std::filesystem::path temporary = path;
    temporary += suffix;
    return temporary;
}

} // namespace

std::error_code ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return LastError();
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        if (got == 0)
            return {};
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path temporary = TemporarySibling(path);
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (file.Get() < 0)
        return LastError();
    std::error_code error = WriteAll(file.Get(), bytes.data(), bytes.size());
    if (!error && ::fsync(file.Get()) != 0)
        error = LastError();
    if (const std::error_code closeError = file.Close(); !error)
        error = closeError;
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = LastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename is durable only once the folder that holds the name is flushed too.
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0)
        ::fsync(directory.Get());
    return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    return WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace plat
