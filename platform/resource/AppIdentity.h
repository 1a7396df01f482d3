// Who the running program is: its software name and its category, under which its settings
// and templates are kept in the user's registry. The application object sets them at start.
#pragma once

#include <string>

namespace plat {

struct AppIdentity {
    std::string softwareName;
    std::string category;
};

// The identity of this process; a program that never set one is "tavcell", category "Default".
[[nodiscard]] const AppIdentity& GetAppIdentity() noexcept;
void SetAppIdentity(AppIdentity identity);

} // namespace plat
