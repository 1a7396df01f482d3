/// @file
/// The named column layouts of one kind of record table, kept in the user's registry: moves a
/// layout between the registry and the manager's record table, lists and deletes the stored
/// names, and remembers which one was chosen last.
///
/// @verbatim
/// Below HKEY_CURRENT_USER, at "Software\Zervan Soft\<software>\<category>\<section>\Cell Template"
/// (the manager's GetSoftware, GetRegCategory and GetRegSection):
///   Cell Template\        value <group> = name of the template last chosen for that group
///   <group>\<name>\       "Template" item identifiers in column order, "%d," each
///                         "Width"    column widths, "%d," each (only when there are widths)
///                         "Lock"     "<id>.<first>.<last>," per locked range (only while the
///                                    cell lock is on and there are ranges)
///                         "AutoWidth" the automatic-width switch, a 0/1 DWORD
/// @endverbatim
/// A key without a non-empty "Template" is no usable template.
#pragma once

#include "components/support/SolKey.h"
#include "platform/ui/Types.h"
#include "tav/data/TavData.h"
#include "tav/data/TavLockData.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TavManager;

/// A template as stored, read without any table taking it.
struct TavStoredTemplate {
    /// Item identifiers in column order.
    std::vector<unsigned> items;
    /// Column widths by item number; empty when the template was stored without them.
    std::vector<unsigned> widths;
    /// The lock ranges that could be read.
    TavLockArray locks;
    /// On when a lock text was stored, whatever could be read from it.
    plat::BOOL cellLock = FALSE;
    /// The automatic-width switch.
    plat::BOOL autoWidth = FALSE;
};

/// The stored column layouts (templates) of one kind of record table, under the manager's
/// application key, category and section: save the bound table's layout under a name, load
/// one into it, list, check and delete names, and remember the last one chosen.
class TavTemplate {
public:
    /// One stored text ("Template", "Width", "Lock") holds at most this many characters; a
    /// layout whose text would be longer is not saved.
    static constexpr std::size_t kMaxTextLength = 65535;

    /// Creates the base key path when it is missing. The manager (not null) must outlive this
    /// object; its bound record table is the one saved from and loaded into.
    explicit TavTemplate(TavManager* manager);
    TavTemplate(const TavTemplate&) = delete;
    TavTemplate& operator=(const TavTemplate&) = delete;
    virtual ~TavTemplate();

    /// Whether a name can name a template: not empty and without a backslash, which the
    /// registry takes as a separator of keys. Every operation below refuses other names
    /// (saving, loading and checking answer 0, deleting deletes nothing).
    [[nodiscard]] static bool IsUsableName(std::string_view name);

    /// The stored template names, in the registry's order (by name without regard to case);
    /// non-zero when the group could be read.
    int GetNameArray(std::vector<std::string>& names);
    /// The template last chosen for the group; empty when none was.
    [[nodiscard]] std::string GetCurrentName();
    /// An unusable name changes nothing.
    void SetCurrentName(const std::string& name);
    /// Removes the template with everything below it. An unusable name deletes nothing.
    void DeleteTemplate(const std::string& name);
    /// 1 when a usable template of that name exists; otherwise removes whatever key has that
    /// name and returns 0, so asking leaves no trace.
    [[nodiscard]] int CheckTemplate(const std::string& name);
    /// Replaces the template of that name by the table's layout, as a whole. 0, with nothing
    /// written and any earlier template of that name kept whole, when the name is not usable, no
    /// table is bound, a text would pass kMaxTextLength or the store refused the change.
    [[nodiscard]] int SaveTemplate(const std::string& name);
    /// Reads the template into the table through its layout setters (`how` says whether
    /// that is a person's edit or a layout adopted at binding): 1 when loaded, 0 when it is
    /// missing or unusable or the name is not usable (the table is then untouched).
    [[nodiscard]] int LoadTemplate(const std::string& name, TavLayoutChange how = TavLayoutChange::Edit);
    /// Reads the template without changing any table: true when there is a usable one.
    [[nodiscard]] bool ReadTemplate(const std::string& name, TavStoredTemplate& stored);

private:
    /// The registry path of a template, relative to HKEY_CURRENT_USER.
    [[nodiscard]] std::string TemplatePath(const std::string& name) const;
    [[nodiscard]] TavData* Table() const;

    TavManager* m_manager;
    SolKey m_baseKey;
    std::string m_group;
    std::string m_basePath;
};
