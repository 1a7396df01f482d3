// Fuzzes .reg import: no bytes may crash, leak or hang the parser, and whatever it accepts must
// apply to a registry whole and export to a file that reads back to the same tree.
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "tools/tavreg/RegFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace plat;

namespace {

[[noreturn]] void Broken(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "reg_import_fuzz: %s: %s\n", what, detail.c_str());
    std::abort();
}

// Applies a parsed file to an empty registry in memory and exports all of it.
std::string ApplyAndExport(const RegImportPlan& plan)
{
    RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
    if (const LONG status = RegApplyChanges(HKEY_CURRENT_USER, plan.changes); status != ERROR_SUCCESS)
        Broken("the registry refused what the parser accepted", "status " + std::to_string(status));
    RegKeyName root;
    if (!ParseKeyName("HKEY_CURRENT_USER", root))
        Broken("no current user's root", "");
    RegExportResult exported = ExportRegFile(root);
    if (!exported.ok)
        Broken("an imported tree cannot be exported", exported.error);
    return std::move(exported.bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const RegImportPlan plan = ParseRegFile(std::string(reinterpret_cast<const char*>(data), size));
    if (!plan.ok)
        return 0;
    const std::string exported = ApplyAndExport(plan);
    const RegImportPlan again = ParseRegFile(exported);
    if (!again.ok)
        Broken("an exported file does not read back", std::to_string(again.errorLine) + ": " + again.error);
    if (ApplyAndExport(again) != exported)
        Broken("an exported file reads back to another tree", "");
    return 0;
}
