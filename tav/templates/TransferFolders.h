/// @file
/// Where template transfers put their files: the local temporary folders (from the "QzTemp"
/// setting, with its folder macros), the names of template and index files, and the index
/// file "CELL00.mbf" itself (a count line, one name per line, a trailer; CR LF line ends, the
/// narrow code page). Paths join with '/'; the names of files and folders are the suite's.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kTransferRootFolder = "QuWinSet";
inline constexpr const char* kTransferTemplateFolder = "Cell Template";
inline constexpr const char* kIndexFileName = "CELL00.mbf";
inline constexpr const char* kEnvironmentKey = "SOFTWARE\\Zervan Soft\\QzEnviron";
inline constexpr const char* kTempSettingName = "QzTemp";
inline constexpr const char* kProductFolderName = "ORBIVAL";

/// The buffer a folder path is asked into: the longest path the system takes.
inline constexpr std::size_t kPathBufferSize = 4096;

/// "CELL01.mbf", ..., "CELL100.mbf": the file of template number n (from 1).
[[nodiscard]] std::string TemplateFileName(int number);
/// The path with a '/' added unless it ends with one.
[[nodiscard]] std::string WithSeparator(std::string path);

/// Replaces "$(WinDrive)" (the system drive: nothing, as every path starts at the one root),
/// "$(PersonalDocument)", "$(PersonalDeskTop)" (the XDG documents and desktop folders) and
/// "$(PersonalTemp)" ($TMPDIR, else /tmp), in this order, each without a trailing '/'.
void ExpandPathMacros(std::string& text);

/// The "QzTemp" setting under root's environment key, macros replaced, without a trailing
/// '/'; false when it is missing, not a string, longer than the setting's 275 characters, or
/// shorter than 2 characters.
[[nodiscard]] bool ReadTempSetting(plat::HKEY root, std::string& text);

/// The temporary base folder: the user's "QzTemp" setting (copied from the machine's when
/// only that one exists), else the documents folder, followed by "QzTemp". On entry folder
/// holds what is kept when a copied setting names a folder that cannot be made.
[[nodiscard]] bool GetTempBaseFolder(std::string& folder);

/// The product's temporary folder (the base folder, "ORBIVAL", a trailing '/') into a buffer
/// of size bytes: its length; the size needed, writing nothing, when the buffer is smaller
/// than that; 0 when the folder cannot be determined.
std::size_t GetProductTempFolder(std::size_t size, char* buffer);

/// The names of the ".mbf" files in a folder (the index among them), sorted by name; 0 when
/// there is none.
int ListTemplateFiles(const std::string& folder, std::vector<std::string>& names);

/// What an index file holds: the template names, and the three comma-separated fields of its
/// trailer (the second and third with their leading blank), empty without a trailer.
struct TransferIndex {
    std::vector<std::string> names;
    std::array<std::string, 3> trailer;
};

/// The index file's bytes for the names and the record kind (section). false, error saying
/// why, when a name is empty, holds a line break or cannot be held in the narrow code page.
[[nodiscard]] bool FormatIndexFile(std::span<const std::string> names, const std::string& section, std::string& bytes,
                     std::string& error);
/// Reads an index file. false, error saying why, when the count is not a number or disagrees
/// with the lines that follow, a name is empty or not valid in the narrow code page, or text
/// follows the trailer.
[[nodiscard]] bool ParseIndexFile(std::string_view bytes, TransferIndex& index, std::string& error);
