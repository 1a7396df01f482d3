// The process-wide application identity.
#include "platform/resource/AppIdentity.h"

namespace plat {
namespace {

AppIdentity& Identity()
{
    static AppIdentity identity{"tavcell", "Application"};
    return identity;
}

} // namespace

const AppIdentity& GetAppIdentity() noexcept { return Identity(); }

void SetAppIdentity(AppIdentity identity) { Identity() = std::move(identity); }

} // namespace plat
