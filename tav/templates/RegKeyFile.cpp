// Template files over the archive and the registry's all-or-nothing change list.
#include "tav/templates/RegKeyFile.h"

#include "platform/io/Archive.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/App.h"
#include "tav/data/TavUserData.h"
#include "tav/templates/SolsRegKey.h"

#include <vector>

using namespace plat;

namespace {

// The class the restored key and the key deleted by DeleteKeyTree are created with.
constexpr const char* kRestoreClass = "SeRestorePrivilege";

int Refuse(std::string* why, std::string text)
{
    if (why)
        *why = std::move(text);
    return 0;
}

std::string StatusText(LONG status)
{
    switch (status) {
    case ERROR_FILE_NOT_FOUND: return "the key does not exist";
    case ERROR_ACCESS_DENIED: return "the registry may not be changed here";
    case ERROR_KEY_DELETED: return "the key was deleted meanwhile";
    case ERROR_INVALID_PARAMETER: return "a name is not valid in the registry";
    default: return "the registry answered " + std::to_string(status);
    }
}

// The one change that replaces the key name of a parent by the tree; the check before a
// restore and the restore itself hold the store to the same list.
std::vector<RegChange> RestoreChanges(const std::string& name, const SolsRegKey& tree)
{
    std::vector<RegChange> changes;
    changes.push_back({RegChange::Kind::DeleteTree, name, {}, REG_NONE, {}, {}});
    changes.push_back({RegChange::Kind::CreateKey, name, {}, REG_NONE, {}, kRestoreClass});
    tree.AppendChanges(name, changes);
    return changes;
}

std::string RefusalText(LONG status)
{
    if (status == ERROR_INVALID_PARAMETER)
        return "the store does not take its key names or keys nested this deep (at most " +
               std::to_string(kMaxKeyDepth) + " levels in all)";
    return StatusText(status);
}

} // namespace

int DeleteKeyTree(HKEY parent, const std::string& name)
{
    if (SplitKeyPath(name).empty())
        return 0; // the parent itself is never meant
    HKEY key = nullptr;
    const SECURITY_ATTRIBUTES security{};
    if (RegCreateKeyEx(parent, name.c_str(), 0, kRestoreClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, &security,
                       &key, nullptr)
        != ERROR_SUCCESS)
        return 0;
    RegCloseKey(key);
    return RegDeleteTree(parent, name.c_str()) == ERROR_SUCCESS;
}

int SaveKeyToFile(HKEY key, const std::filesystem::path& path, TavUserData& header, std::string* why)
{
    WaitCursor wait;
    SolsRegKey tree;
    if (!tree.ReadFrom(key))
        return Refuse(why, "the key cannot be read");
    try {
        Archive archive = Archive::ForStoring();
        header.Serialize(archive);
        tree.Serialize(archive);
        archive.SaveFile(path);
    } catch (const ArchiveError& error) {
        return Refuse(why, path.string() + ": " + error.what());
    }
    return 1;
}

void LoadTemplateBytes(std::span<const std::uint8_t> bytes, TavUserData& header, SolsRegKey& tree)
{
    Archive archive = Archive::ForLoading(bytes);
    header.Serialize(archive);
    tree.Serialize(archive);
    if (archive.Remaining() != 0)
        throw ArchiveError(std::to_string(archive.Remaining()) + " bytes follow the end of the template");
}

int RestoreKeyFromFile(HKEY parent, const std::string& name, const std::filesystem::path& path, TavUserData& header,
                       bool write, std::string* why)
{
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = ReadWholeFile(path, bytes, kMaxTemplateFileBytes))
        return Refuse(why, path.string() + ": " + error.message());
    std::string reason;
    if (RestoreKeyFromBytes(parent, name, bytes, header, write, &reason))
        return 1;
    return Refuse(why, path.string() + ": " + reason);
}

int CheckKeyRestore(HKEY parent, const std::string& name, const std::filesystem::path& path, std::string* why)
{
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = ReadWholeFile(path, bytes, kMaxTemplateFileBytes))
        return Refuse(why, path.string() + ": " + error.message());
    TavUserData header;
    SolsRegKey tree;
    try {
        LoadTemplateBytes(bytes, header, tree);
    } catch (const ArchiveError& error) {
        return Refuse(why, path.string() + ": not a readable template file: " + error.what());
    }
    if (SplitKeyPath(name).empty())
        return Refuse(why, "no key name to restore into");
    if (const LONG status = RegCheckApplyChanges(parent, RestoreChanges(name, tree)); status != ERROR_SUCCESS)
        return Refuse(why, path.string() + ": " + RefusalText(status));
    return 1;
}

int RestoreKeyFromBytes(HKEY parent, const std::string& name, std::span<const std::uint8_t> bytes,
                        TavUserData& header, bool write, std::string* why)
{
    SolsRegKey tree;
    try {
        LoadTemplateBytes(bytes, header, tree);
    } catch (const ArchiveError& error) {
        return Refuse(why, std::string("not a readable template file: ") + error.what());
    }
    if (!write)
        return 1;
    if (SplitKeyPath(name).empty())
        return Refuse(why, "no key name to restore into");
    const std::vector<RegChange> changes = RestoreChanges(name, tree);
    if (const LONG status = RegApplyChanges(parent, changes); status != ERROR_SUCCESS) {
        std::string text = name + ": " + RefusalText(status);
        if (const std::string detail = RegLastStoreError(parent); status == ERROR_WRITE_FAULT && !detail.empty())
            text += " (" + detail + ")";
        return Refuse(why, text + "; the key was left as it was");
    }
    return 1;
}
