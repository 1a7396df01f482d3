// TavTemplate over SolKey and the registry's all-or-nothing change list.
#include "tav/templates/TavTemplate.h"

#include "platform/registry/Registry.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using plat::BOOL;
using plat::BYTE;
using plat::DWORD;
using plat::RegChange;

namespace {

constexpr const char* kCurrentNamesKey = "Cell Template";
constexpr const char* kItemsValue = "Template";
constexpr const char* kWidthsValue = "Width";
constexpr const char* kLocksValue = "Lock";
constexpr const char* kAutoWidthValue = "AutoWidth";

std::string TextOf(const char* hookResult) { return hookResult ? std::string(hookResult) : std::string(); }


// Calls visit for each field of text up to the first empty one: "1,2,,3" gives 1 and 2, and
// the trailing separator every stored list ends with stops the walk too.
template <typename Visit>
void ForEachField(std::string_view text, char separator, Visit&& visit)
{
    for (;;) {
        const std::size_t end = text.find(separator);
        const std::string_view field = text.substr(0, end);
        if (field.empty())
            return;
        visit(field);
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

// Appends "%d" followed by the terminator.
void AppendNumber(std::string& text, std::int32_t value, char terminator)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
    text.push_back(terminator);
}

// The C library's atoi: leading blanks, an optional sign, then digits up to the first other
// character; no digits gives 0. Out of range saturates instead of being undefined.
int Atoi(std::string_view text) noexcept
{
    std::size_t at = 0;
    while (at < text.size()
           && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\v' || text[at] == '\f'
               || text[at] == '\r'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

// A stored number list: "%d," per value, so identifiers of 2^31 and more read as negative
// numbers. false when the text would pass the store's limit.
bool FormatNumbers(const std::vector<unsigned>& values, std::string& text)
{
    text.clear();
    text.reserve(values.size() * 4);
    for (const unsigned value : values) {
        AppendNumber(text, static_cast<std::int32_t>(value), ',');
        if (text.size() > TavTemplate::kMaxTextLength)
            return false;
    }
    return true;
}

// The values of a stored list: fields up to the first empty one, each converted by Atoi.
std::vector<unsigned> ParseNumbers(std::string_view text)
{
    std::vector<unsigned> values;
    ForEachField(text, ',', [&values](std::string_view field) { values.push_back(static_cast<unsigned>(Atoi(field))); });
    return values;
}

bool FormatLocks(const TavLockArray& locks, std::string& text)
{
    text.clear();
    for (const TavLockData& lock : locks) {
        AppendNumber(text, static_cast<std::int32_t>(lock.id), '.');
        AppendNumber(text, lock.first, '.');
        AppendNumber(text, lock.last, ',');
        if (text.size() > TavTemplate::kMaxTextLength)
            return false;
    }
    return true;
}

// Entries "<id>.<first>.<last>"; an entry with one of the three parts missing or empty is
// skipped, parts after the third are ignored.
TavLockArray ParseLocks(std::string_view text)
{
    TavLockArray locks;
    ForEachField(text, ',', [&locks](std::string_view entry) {
        std::string_view parts[3];
        for (std::string_view& part : parts) {
            const std::size_t end = entry.find('.');
            part = entry.substr(0, end);
            entry = end == std::string_view::npos ? std::string_view() : entry.substr(end + 1);
        }
        if (parts[0].empty() || parts[1].empty() || parts[2].empty())
            return;
        locks.Add({static_cast<std::uint32_t>(Atoi(parts[0])), Atoi(parts[1]), Atoi(parts[2])});
    });
    return locks;
}

// The same bytes SolKey::SetString and SolKey::SetBool write, so that SolKey reads them back.
RegChange StringValue(const std::string& path, const char* name, const std::string& text)
{
    RegChange change{RegChange::Kind::SetValue, path, name, plat::REG_SZ, {}};
    change.data.reserve(text.size() + 1);
    change.data.assign(text.begin(), text.end());
    change.data.push_back(0);
    return change;
}

RegChange BoolValue(const std::string& path, const char* name, BOOL value)
{
    return {RegChange::Kind::SetValue, path, name, plat::REG_DWORD, {static_cast<BYTE>(value ? 1 : 0), 0, 0, 0}};
}

} // namespace

TavTemplate::TavTemplate(TavManager* manager) : m_manager(manager)
{
    const std::string software = TextOf(manager->GetSoftware());
    const std::string category = TextOf(manager->GetRegCategory());
    m_group = TextOf(manager->GetTemplateGroup());
    const std::string section = TextOf(manager->GetRegSection());
    m_basePath = "Software\\Zervan Soft\\" + software + '\\' + category + '\\' + section + "\\Cell Template";
    // Not checked: when the path cannot be made, the operations below find nothing to read,
    // and a save reports its own result.
    m_baseKey.Create(plat::HKEY_CURRENT_USER, m_basePath);
}

TavTemplate::~TavTemplate() = default;

bool TavTemplate::IsUsableName(std::string_view name)
{
    // A separator would make the name a path: "A\B" would be stored as a key B below a key
    // A, listed as A and then deleted by the check as a template without items. A name of
    // nothing would address the group key itself, and replacing or deleting "it" would take
    // every template of the group along.
    return !name.empty() && name.find('\\') == std::string_view::npos;
}

int TavTemplate::GetNameArray(std::vector<std::string>& names)
{
    const SolKey group(m_baseKey, m_group);
    return group.EnumKey(names);
}

std::string TavTemplate::GetCurrentName()
{
    const SolKey currentNames(m_baseKey, kCurrentNamesKey);
    return currentNames.GetString(m_group);
}

void TavTemplate::SetCurrentName(const std::string& name)
{
    if (!IsUsableName(name))
        return;
    SolKey currentNames(m_baseKey, kCurrentNamesKey);
    currentNames.SetString(m_group, name);
}

void TavTemplate::DeleteTemplate(const std::string& name)
{
    if (!IsUsableName(name))
        return;
    SolKey group(m_baseKey, m_group);
    group.DeleteKey(name);
}

int TavTemplate::CheckTemplate(const std::string& name)
{
    if (!IsUsableName(name))
        return 0;
    SolKey group(m_baseKey, m_group);
    {
        SolKey key;
        if (key.Open(group, name) && !key.GetString(kItemsValue).empty())
            return 1;
    }
    group.DeleteKey(name);
    return 0;
}

int TavTemplate::SaveTemplate(const std::string& name)
{
    const TavData* table = Table();
    if (table == nullptr || !IsUsableName(name))
        return 0;

    // Every text is built before anything is written, so a layout beyond the store's limit
    // is refused without touching the template it would have replaced.
    std::string items;
    std::string widths;
    std::string locks;
    if (!FormatNumbers(table->Template(), items) || !FormatNumbers(table->Width(), widths))
        return 0;
    const bool storeLocks = table->GetCellLockFlag() && !table->Lock().IsEmpty();
    if (storeLocks && !FormatLocks(table->Lock(), locks))
        return 0;

    // The old key goes and the new one is written in one change list, which the store applies
    // in a single transaction: a crash or a failed write rolls all of it back, so the
    // registry holds either the old template or the new one, never values of both, and the
    // key cannot be left deleted. Deleting first is what drops values the new layout lacks.
    const std::string path = TemplatePath(name);
    std::vector<RegChange> changes;
    changes.reserve(6);
    changes.push_back({RegChange::Kind::DeleteTree, path, {}, plat::REG_NONE, {}});
    changes.push_back({RegChange::Kind::CreateKey, path, {}, plat::REG_NONE, {}});
    if (!items.empty())
        changes.push_back(StringValue(path, kItemsValue, items));
    if (!widths.empty())
        changes.push_back(StringValue(path, kWidthsValue, widths));
    if (storeLocks)
        changes.push_back(StringValue(path, kLocksValue, locks));
    changes.push_back(BoolValue(path, kAutoWidthValue, table->GetAutoWidthFlag()));
    return plat::RegApplyChanges(plat::HKEY_CURRENT_USER, changes) == plat::ERROR_SUCCESS ? 1 : 0;
}

bool TavTemplate::ReadTemplate(const std::string& name, TavStoredTemplate& stored)
{
    if (!IsUsableName(name))
        return false;
    const SolKey group(m_baseKey, m_group);
    // Opening creates a missing key, as every operation here does; a remembered name whose
    // template was deleted thus shows in the list until CheckTemplate clears it away.
    const SolKey key(group, name);
    const std::string items = key.GetString(kItemsValue);
    if (items.empty())
        return false;
    stored.items = ParseNumbers(items);
    const std::string widths = key.GetString(kWidthsValue);
    stored.widths = widths.empty() ? std::vector<unsigned>{} : ParseNumbers(widths);
    const std::string lockText = key.GetString(kLocksValue);
    stored.locks = ParseLocks(lockText);
    // The lock switch follows the text, not what could be parsed from it: "," turns it on.
    stored.cellLock = lockText.empty() ? FALSE : TRUE;
    stored.autoWidth = key.GetBool(kAutoWidthValue, FALSE);
    return true;
}

int TavTemplate::LoadTemplate(const std::string& name, TavLayoutChange how)
{
    TavData* table = Table();
    TavStoredTemplate stored;
    // Everything is read and parsed before the table changes.
    if (table == nullptr || !ReadTemplate(name, stored))
        return 0;
    table->SetTemplate(std::move(stored.items), how);
    // A template stored without widths keeps the widths the table has.
    if (!stored.widths.empty())
        table->SetWidths(std::move(stored.widths), how);
    table->SetLocks(std::move(stored.locks), how);
    // FALSE only says the switch already had that value.
    static_cast<void>(table->SetCellLockFlag(stored.cellLock, how));
    static_cast<void>(table->SetAutoWidthFlag(stored.autoWidth, how));
    return 1;
}

std::string TavTemplate::TemplatePath(const std::string& name) const
{
    return m_basePath + '\\' + m_group + '\\' + name;
}

TavData* TavTemplate::Table() const { return m_manager->Data(); }
