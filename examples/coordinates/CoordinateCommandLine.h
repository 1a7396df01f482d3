// The editor's commands for scripts, run without opening a window:
//   coordinates --import FILE DOC   makes the document DOC from a SIMA or CSV file
//   coordinates --export DOC FILE   writes a SIMA or CSV file (by its extension) from DOC
//   coordinates --help              says how the editor and these commands are called
#pragma once

#include <optional>

namespace coordinates {

// The exit status when the arguments are one of these commands, --help, or not arguments the
// editor takes (0 done, 1 failed with the reason on standard error, 2 wrong use, with the
// usage); nothing when they are the editor's own.
[[nodiscard]] std::optional<int> RunCommandLine(int argc, char** argv, long rows);

} // namespace coordinates
