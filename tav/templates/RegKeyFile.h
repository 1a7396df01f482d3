/// @file
/// Template files: a header record (the template's name) followed by a captured key tree, and
/// the recursive key delete that a restore replaces a key with. A file is written whole or not
/// at all, and a key is restored whole or not at all.
#pragma once

#include "platform/registry/RegistryTypes.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

class SolsRegKey;
class TavUserData;

/// The largest template file read; real ones hold a few hundred bytes.
inline constexpr std::uintmax_t kMaxTemplateFileBytes = std::uintmax_t{64} << 20;

/// Deletes the sub key of parent with everything below it; a sub key that does not exist
/// counts as deleted. Non-zero on success.
[[nodiscard]] int DeleteKeyTree(plat::HKEY parent, const std::string& name);

/// Captures the key and writes the header and the tree to the file, replacing it whole. 1 on
/// success; 0, the file as it was and the reason in why, when the key cannot be read, a name
/// cannot be held in the narrow code page or the file cannot be written.
[[nodiscard]] int SaveKeyToFile(plat::HKEY key, const std::filesystem::path& path, TavUserData& header,
                                std::string* why = nullptr);

/// Reads the header and the tree from the file. With write clear only the header is filled
/// and the registry is left alone; with write set the sub key name of parent is replaced by
/// the tree in one store transaction, so the old key stays whole unless the new one was
/// written completely. 0, the reason in why, when the file cannot be read, is damaged or the
/// store refuses the change.
[[nodiscard]] int RestoreKeyFromFile(plat::HKEY parent, const std::string& name, const std::filesystem::path& path,
                                     TavUserData& header, bool write, std::string* why = nullptr);

/// Whether RestoreKeyFromFile with write set would take the file, without changing anything:
/// the file is read whole and the tree held against the store's own rules (names, depth
/// below the parent, the right to write). 1 when it would; 0, the reason in why, when not, a
/// damaged file included. Only a failure of the storage itself (a full disk) can still make
/// the restore fail.
[[nodiscard]] int CheckKeyRestore(plat::HKEY parent, const std::string& name, const std::filesystem::path& path,
                                  std::string* why = nullptr);

/// RestoreKeyFromFile on the file's bytes already in memory.
[[nodiscard]] int RestoreKeyFromBytes(plat::HKEY parent, const std::string& name, std::span<const std::uint8_t> bytes,
                                      TavUserData& header, bool write, std::string* why = nullptr);

/// The reading half of RestoreKeyFromFile on bytes already in memory: the header, then the
/// tree, then nothing. Raises plat::ArchiveError on damaged input.
void LoadTemplateBytes(std::span<const std::uint8_t> bytes, TavUserData& header, SolsRegKey& tree);
