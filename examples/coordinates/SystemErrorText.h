// The editor's own words for what the system reports: a person reading Japanese messages
// should not meet "No such file or directory" in the middle of one.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace coordinates {

// The reason in Japanese; a reason the editor has no words for keeps the system's text.
[[nodiscard]] std::string SystemErrorText(const std::error_code& error);

// "path: reason", the form every file message of the editor uses.
[[nodiscard]] std::string PathErrorText(const std::filesystem::path& path, const std::error_code& error);

} // namespace coordinates
