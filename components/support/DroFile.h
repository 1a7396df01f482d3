// The suite's file library: a file opened in a framework mode whose written content reaches
// the disk whole at Close (or not at all), file queries, the universal form of a path on a
// network share, and the handlers that report file and archive errors to the user.
#pragma once

#include "platform/io/Errors.h"
#include "platform/ui/Types.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

class DroFile {
public:
    // The framework's open modes.
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        modeCreate = 0x1000,
    };

    DroFile() = default;
    DroFile(const DroFile&) = delete;
    DroFile& operator=(const DroFile&) = delete;
    // A file written to and never closed is abandoned: the old file stays as it was.
    ~DroFile() = default;

    // Reading takes the whole file now (a regular file of at most maxReadBytes); writing
    // (modeWrite with modeCreate) needs the folder to exist and nothing but a file at the
    // path, and creates or replaces the file at Close. Non-zero on success; error says why not.
    plat::BOOL Open(const std::filesystem::path& path, unsigned mode, std::error_code* error = nullptr);
    // What the file held when it was opened for reading.
    [[nodiscard]] std::span<const std::uint8_t> Content() const noexcept { return m_bytes; }
    // Adds to what Close will write.
    void Write(std::span<const std::uint8_t> bytes);
    // Ends the file; a file opened for writing is replaced whole by what was written, so a
    // full disk or any other failure leaves the old file. Non-zero on success.
    plat::BOOL Close(std::error_code* error = nullptr);
    // Ends the file without writing anything.
    void Abort() noexcept;

    [[nodiscard]] bool IsOpen() const noexcept { return m_open; }
    [[nodiscard]] const std::filesystem::path& GetFilePath() const noexcept { return m_path; }

    // The largest file opened for reading.
    static constexpr std::uintmax_t kMaxReadBytes = std::uintmax_t{64} << 20;

private:
    std::filesystem::path m_path;
    std::vector<std::uint8_t> m_bytes;
    bool m_open = false;
    bool m_writing = false;
};

// Non-zero when a regular file is at the path. The flag is the library's and not used.
plat::BOOL DroFindFile(const std::filesystem::path& path, int flag = 0);
// The size of a file that fits 32 bits; zero when there is no such file.
plat::BOOL DroGetFileSize(const std::filesystem::path& path, std::uint32_t& size);

// The universal form of a path on a mounted network file system: the share's source in
// place of its mount point ("//server/share/dir" for an SMB share mounted at /mnt/s and the
// path /mnt/s/dir; "server:/export/dir" for NFS). The mount table is /proc/self/mounts, else
// /etc/mtab. Non-zero when the path lies on a network share; name is the path unchanged
// otherwise. The flag is the library's and not used.
plat::BOOL DroGetUniversalName(const std::string& path, std::string& name, int flag = 1);
// The same against a mount table's text (the format of /proc/self/mounts).
plat::BOOL DroGetUniversalNameIn(std::string_view mountTable, const std::string& path, std::string& name);

// Report a file or archive error on the file at path to the user (a warning box naming the
// file and the error) and answer whether the failed step is to be tried again: never, as a
// damaged file stays damaged and a missing one stays missing within one step.
int DroFileExceptHandle(const std::error_code& error, const std::filesystem::path& path);
int DroArchiveExceptHandle(const plat::ArchiveError& error, const std::filesystem::path& path);
