// Free space over the platform's file functions.
#include "components/support/FexDisk.h"

#include "platform/io/Files.h"

#include <filesystem>

std::uint64_t FexGetDiskSpace(const std::string& path, std::uint64_t unit, std::uint64_t* total)
{
    if (unit == 0)
        unit = 1;
    std::uintmax_t bytes = 0;
    if (total)
        *total = 0;
    if (plat::GetFreeSpace(path, bytes))
        return 0;
    if (total) {
        std::error_code error;
        std::filesystem::path probe = path.empty() ? "." : path;
        while (!std::filesystem::exists(probe, error) && probe.has_parent_path() && probe.parent_path() != probe)
            probe = probe.parent_path();
        const std::filesystem::space_info info = std::filesystem::space(probe, error);
        if (!error)
            *total = info.capacity / unit;
    }
    return bytes / unit;
}
