// Listings walk the registry calls by index, so they see a key as those calls do. Another
// program may lengthen a name or a value between the measuring and the reading: such an entry
// is read again with room enough, and the walk ends only at the registry's last item.
#include "platform/registry/RegistryListing.h"

#include "platform/registry/Registry.h"

#include <algorithm>

namespace plat {

LONG RegListSubKeyNames(HKEY key, std::vector<std::string>& names)
{
    names.clear();
    DWORD longestName = 0;
    if (const LONG status = RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, &longestName, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr);
        status != ERROR_SUCCESS)
        return status;
    std::vector<char> name(longestName + 1);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG status = RegEnumKeyEx(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status == ERROR_MORE_DATA) {
            name.resize(std::max<std::size_t>(name.size() * 2, length + 1));
            continue;
        }
        if (status != ERROR_SUCCESS)
            return status;
        names.emplace_back(name.data(), length);
        ++index;
    }
}

LONG RegListValues(HKEY key, std::vector<RegValueEntry>& values)
{
    values.clear();
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (const LONG status = RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            &longestName, &longestData, nullptr, nullptr);
        status != ERROR_SUCCESS)
        return status;
    std::vector<char> name(longestName + 1);
    // Never empty: a null buffer would ask for the data's size instead of the data.
    std::vector<BYTE> data(std::max<DWORD>(longestData, 1));
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LONG status =
            RegEnumValue(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status == ERROR_MORE_DATA) {
            // Either the name or the data did not fit; the registry says only the data's size.
            name.resize(std::max<std::size_t>(name.size() * 2, nameLength + 1));
            data.resize(std::max<std::size_t>(data.size(), dataLength));
            continue;
        }
        if (status != ERROR_SUCCESS)
            return status;
        values.push_back({std::string(name.data(), nameLength), type, {data.begin(), data.begin() + dataLength}});
        ++index;
    }
}

} // namespace plat
