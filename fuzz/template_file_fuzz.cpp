// Template files from other people's disks: any bytes are either refused with an ArchiveError
// or restored whole into an in-memory registry, and what was restored reads back.
#include "platform/io/Errors.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "tav/data/TavUserData.h"
#include "tav/templates/RegKeyFile.h"
#include "tav/templates/SolsRegKey.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

using namespace plat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
        return true;
    }();
    (void)ready;
    HKEY group = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, "Group", 0, "", 0, KEY_ALL_ACCESS, nullptr, &group, nullptr) != ERROR_SUCCESS)
        std::abort();
    TavUserData header;
    // A damaged input is a refusal, never an exception: one escaping here is a fault.
    if (RestoreKeyFromBytes(group, "Template", std::span(data, size), header, true)) {
        HKEY restored = nullptr;
        if (RegOpenKeyEx(group, "Template", 0, KEY_READ, &restored) != ERROR_SUCCESS)
            std::abort(); // reported as restored, yet missing
        SolsRegKey tree;
        if (!tree.ReadFrom(restored))
            std::abort();
        RegCloseKey(restored);
    }
    RegCloseKey(group);
    return 0;
}
