// Files written whole at Close, file queries, universal names from the mount table, and the
// error reports of the file library.
#include "components/support/DroFile.h"

#include "platform/io/Files.h"
#include "platform/ui/App.h"
#include "platform/ui/Constants.h"

#include <array>

namespace fs = std::filesystem;

namespace {

void SetError(std::error_code* out, std::error_code error)
{
    if (out)
        *out = error;
}

// A mount table field with its octal escapes (\040 for a blank, \134 for a backslash) undone.
std::string Unescape(std::string_view field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.size() == 3 && digits[0] >= '0' && digits[0] <= '3' && digits[1] >= '0' && digits[1] <= '7'
                && digits[2] >= '0' && digits[2] <= '7') {
                text.push_back(static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0')));
                i += 3;
                continue;
            }
        }
        text.push_back(field[i]);
    }
    return text;
}

bool IsNetworkFileSystem(std::string_view type)
{
    static constexpr std::array<std::string_view, 13> kTypes = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "ceph", "glusterfs",
        "fuse.sshfs", "fuse.glusterfs", "davfs"};
    for (const std::string_view known : kTypes) {
        if (type == known)
            return true;
    }
    return false;
}

// The part of path below mountPoint ("" when equal), or false when it is not below it.
bool Below(const std::string& path, const std::string& mountPoint, std::string& rest)
{
    if (mountPoint == "/") {
        rest = path.substr(1);
        return true;
    }
    if (path.compare(0, mountPoint.size(), mountPoint) != 0)
        return false;
    if (path.size() == mountPoint.size()) {
        rest.clear();
        return true;
    }
    if (path[mountPoint.size()] != '/')
        return false;
    rest = path.substr(mountPoint.size() + 1);
    return true;
}

std::string Field(std::string_view& line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
    const std::string field = Unescape(line.substr(0, end));
    line.remove_prefix(end);
    return field;
}

} // namespace

plat::BOOL DroFile::Open(const fs::path& path, unsigned mode, std::error_code* error)
{
    Abort();
    m_path = path;
    m_writing = (mode & (modeWrite | modeReadWrite)) != 0;
    if (!m_writing) {
        if (const std::error_code readError = plat::ReadWholeFile(path, m_bytes, kMaxReadBytes)) {
            SetError(error, readError);
            return FALSE;
        }
    } else {
        const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
        if (!plat::FolderExists(folder)) {
            SetError(error, std::make_error_code(std::errc::no_such_file_or_directory));
            return FALSE;
        }
        if (plat::PathExists(path) && !DroFindFile(path)) {
            SetError(error, plat::NotARegularFileError());
            return FALSE;
        }
        if (!(mode & modeCreate) && !plat::PathExists(path)) {
            SetError(error, std::make_error_code(std::errc::no_such_file_or_directory));
            return FALSE;
        }
    }
    m_open = true;
    return TRUE;
}

void DroFile::Write(std::span<const std::uint8_t> bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }

plat::BOOL DroFile::Close(std::error_code* error)
{
    if (!m_open)
        return FALSE;
    std::error_code written;
    if (m_writing)
        written = plat::WriteFileAtomically(m_path, m_bytes);
    Abort();
    SetError(error, written);
    return written ? FALSE : TRUE;
}

void DroFile::Abort() noexcept
{
    m_open = false;
    m_bytes.clear();
}

plat::BOOL DroFindFile(const fs::path& path, int)
{
    std::error_code error;
    return fs::is_regular_file(path, error) ? TRUE : FALSE;
}

plat::BOOL DroGetFileSize(const fs::path& path, std::uint32_t& size)
{
    size = 0;
    std::uintmax_t bytes = 0;
    if (!DroFindFile(path) || plat::GetFileSize(path, bytes) || bytes > 0xFFFFFFFFu)
        return FALSE;
    size = static_cast<std::uint32_t>(bytes);
    return TRUE;
}

plat::BOOL DroGetUniversalNameIn(std::string_view mountTable, const std::string& path, std::string& name)
{
    name = path;
    if (path.empty() || path.front() != '/')
        return FALSE;
    std::string normal = fs::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    std::size_t bestLength = 0;
    bool found = false;
    std::string universal;
    while (!mountTable.empty()) {
        const std::size_t end = std::min(mountTable.find('\n'), mountTable.size());
        std::string_view line = mountTable.substr(0, end);
        mountTable.remove_prefix(std::min(end + 1, mountTable.size()));
        const std::string source = Field(line);
        const std::string mountPoint = Field(line);
        const std::string type = Field(line);
        std::string rest;
        if (type.empty() || !Below(normal, mountPoint, rest) || mountPoint.size() < bestLength)
            continue;
        // A later mount on the same point hides the earlier one.
        bestLength = mountPoint.size();
        found = IsNetworkFileSystem(type);
        universal = source;
        while (!universal.empty() && universal.back() == '/')
            universal.pop_back();
        if (!rest.empty())
            universal += '/' + rest;
    }
    if (!found)
        return FALSE;
    name = universal;
    return TRUE;
}

plat::BOOL DroGetUniversalName(const std::string& path, std::string& name, int)
{
    std::vector<std::uint8_t> bytes;
    if (plat::ReadWholeFile("/proc/self/mounts", bytes, 16u << 20) && plat::ReadWholeFile("/etc/mtab", bytes, 16u << 20)) {
        name = path;
        return FALSE;
    }
    return DroGetUniversalNameIn(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path, name);
}

int DroFileExceptHandle(const std::error_code& error, const fs::path& path)
{
    plat::MessageBox(nullptr, path.string() + "\n" + error.message(), {}, plat::MB_OK | plat::MB_ICONEXCLAMATION);
    return 0;
}

int DroArchiveExceptHandle(const plat::ArchiveError& error, const fs::path& path)
{
    plat::MessageBox(nullptr, path.string() + "\n" + error.what(), {}, plat::MB_OK | plat::MB_ICONEXCLAMATION);
    return 0;
}
