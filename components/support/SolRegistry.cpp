// The suite's key naming. Template keys (below the application key) and the transfer's group
// key are both reached through SolGetApplicationKeyName, so they can never disagree.
#include "components/support/SolRegistry.h"

#include "platform/registry/Registry.h"
#include "platform/resource/AppIdentity.h"

namespace {

plat::HKEY RootOr(plat::HKEY parent) { return parent ? parent : plat::HKEY_CURRENT_USER; }

} // namespace

std::string SolGetApplicationKeyName()
{
    const plat::AppIdentity& identity = plat::GetAppIdentity();
    return std::string(kSolMakerKeyName) + '\\' + identity.softwareName + '\\' + identity.category;
}

plat::BOOL SolGetApplicationKey(SolKey& key, plat::HKEY parent)
{
    return key.Create(RootOr(parent), SolGetApplicationKeyName());
}

plat::BOOL SolGetCommonSubKey(SolKey& key, const std::string& name)
{
    return key.Create(plat::HKEY_CURRENT_USER, std::string(kSolMakerKeyName) + "\\Common\\" + name);
}

std::string SolGetSystemKeyName() { return std::string(kSolMakerKeyName) + "\\System"; }

plat::BOOL SolGetSystemSubKey(SolKey& key, const std::string& name, plat::HKEY parent)
{
    return key.Open(RootOr(parent), SolGetSystemKeyName() + '\\' + name);
}
