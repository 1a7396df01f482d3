// Who the running program is: its software name and its category, under which its settings
// and templates are kept in the user's registry. The application object sets them at start.
#pragma once

#include <string>

namespace plat {

struct AppIdentity {
    std::string softwareName;
    std::string category;
};

// The identity of this process; a program that never set one is "tavcell", category
// "Application". That category is also what a record manager names when its host does not
// say otherwise, so that the application key and the template store lie in one place.
[[nodiscard]] const AppIdentity& GetAppIdentity() noexcept;
void SetAppIdentity(AppIdentity identity);

} // namespace plat
