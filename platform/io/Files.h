// Files and folders over std::filesystem, reporting failures as error codes so that no
// exception escapes; and the atomic write that every file a user could lose goes through.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

namespace plat {

// Reads a whole file.
[[nodiscard]] std::error_code ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

// Replaces a file's content so that a crash or a failure at any point leaves either the old
// file or the new one, never a mix: the bytes go to a temporary file in the same folder,
// are flushed to the disk, and the temporary file is then renamed over the target.
[[nodiscard]] std::error_code WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
[[nodiscard]] std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace plat
