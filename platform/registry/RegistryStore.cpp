// What every registry store shares: the reading of key paths.
#include "platform/registry/RegistryStore.h"

namespace plat {

std::vector<std::string_view> SplitKeyPath(std::string_view path)
{
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

} // namespace plat
