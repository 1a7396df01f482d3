// Files and folders over std::filesystem, reporting failures as error codes so that no
// exception escapes; and the atomic write that every file a user could lose goes through.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace plat {

// Reads a whole regular file of at most maxBytes. Anything else at the path (a folder, a
// device such as /dev/zero, a FIFO that would wait for a writer) is refused with
// not_a_regular_file before a byte is read, and a file past the limit with file_too_large,
// so that no caller can be made to wait forever or to allocate without bound.
inline constexpr std::uintmax_t kDefaultReadLimit = std::uintmax_t{1} << 30;
[[nodiscard]] std::error_code ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                                            std::uintmax_t maxBytes = kDefaultReadLimit);

// The error of a path that names something other than a regular file; its message says so.
[[nodiscard]] std::error_code NotARegularFileError() noexcept;

// Replaces a file's content so that a crash or a failure at any point leaves either the old
// file or the new one, never a mix: the bytes go to a temporary file in the same folder,
// are flushed to the disk, and the temporary file is then renamed over the target. A
// replaced file keeps its permissions; on failure the temporary file is removed. A path that
// is a symbolic link (or a chain of them) writes the file it points to, and the links stay.
// Only a regular file is ever replaced: a path naming a folder (is_a_directory), a device or
// a FIFO (NotARegularFileError) is refused before anything is written.
[[nodiscard]] std::error_code WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
[[nodiscard]] std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The same replacement for a content that is produced piece by piece (a printed document):
// Open checks the target and makes the temporary file, Write adds to it, Commit puts it in
// place. A writer destroyed or abandoned before Commit leaves the target as it was.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter() { Abandon(); }

    [[nodiscard]] std::error_code Open(const std::filesystem::path& path);
    [[nodiscard]] std::error_code Write(const void* data, std::size_t size);
    [[nodiscard]] std::error_code Commit();
    void Abandon() noexcept;
    [[nodiscard]] bool IsOpen() const noexcept { return m_fd >= 0; }

private:
    std::filesystem::path m_target; // the file the path's links end at
    std::filesystem::path m_temporary;
    int m_fd = -1;
};

// Whether a file may be written at the path: nothing there yet, or a regular file at the end
// of its links. The error says why not (see WriteFileAtomically).
[[nodiscard]] std::error_code CheckWritableFile(const std::filesystem::path& path);

// Whether anything (file, folder, ...) is at the path; false also when that cannot be told.
[[nodiscard]] bool PathExists(const std::filesystem::path& path) noexcept;
[[nodiscard]] bool FolderExists(const std::filesystem::path& path) noexcept;

// Size in bytes of a file (following links); a folder is an error.
[[nodiscard]] std::error_code GetFileSize(const std::filesystem::path& path, std::uintmax_t& size);

// Makes one folder whose parent exists. A folder already there counts as made; anything
// else already there gives file_exists, a missing parent no_such_file_or_directory.
[[nodiscard]] std::error_code MakeFolder(const std::filesystem::path& path);
// Makes a folder and every missing folder above it.
[[nodiscard]] std::error_code MakeFolders(const std::filesystem::path& path);

// Removes a file or an empty folder. Nothing at the path is an error
// (no_such_file_or_directory): callers remove what they listed or made, so a missing entry
// means something else changed the folder.
[[nodiscard]] std::error_code RemovePath(const std::filesystem::path& path);

// Copies a file to target, replacing what is there the way WriteFileAtomically does, so a
// failed copy leaves the old target as it was.
[[nodiscard]] std::error_code CopyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& target);

// Whether a file name matches a pattern in which '*' stands for any run of characters and
// '?' for exactly one; letters match without regard to case (NameCompare's folding), as
// names typed by people or written by other systems vary in case. "*.*" matches every name.
[[nodiscard]] bool MatchesPattern(std::string_view name, std::string_view pattern) noexcept;

// Names (without folder) of the files in a folder that match a pattern, sorted by name
// without regard to case. Folders are left out, as are entries that vanish while listing.
[[nodiscard]] std::error_code ListFiles(const std::filesystem::path& folder, std::string_view pattern,
                                        std::vector<std::string>& names);

// Bytes the user may still write on the file system that holds the path. A path that does
// not exist yet is measured at its nearest existing folder, since that is where it would be
// made.
[[nodiscard]] std::error_code GetFreeSpace(const std::filesystem::path& path, std::uintmax_t& bytes);

// The user's folders, without a trailing separator. Documents and desktop come from
// user-dirs.dirs in $XDG_CONFIG_HOME (else ~/.config), falling back to the home folder;
// the temporary folder is $TMPDIR, else /tmp. They are not made when missing.
[[nodiscard]] std::error_code GetDocumentsFolder(std::filesystem::path& folder);
[[nodiscard]] std::error_code GetDesktopFolder(std::filesystem::path& folder);
[[nodiscard]] std::error_code GetTemporaryFolder(std::filesystem::path& folder);
// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
[[nodiscard]] std::error_code GetDataFolder(std::filesystem::path& folder);

} // namespace plat
