// Stored template values as the template store reads them from the registry. The input's
// fields, separated by NUL characters, are a template's "Template", "Width" and "Lock" texts
// and its automatic-width switch (the first byte of the fourth field, odd for on). The
// coordinate-list editor then starts with that template as its current one, binds, paints
// and walks; and a layout loaded and saved again must load back the same.
#include "fuzz/EditorUnderTest.h"

#include "components/support/SolKey.h"
#include "tav/templates/TavTemplate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// The template store's base key for the editor, as the store builds it.
std::string BasePath(coordinates::CoordinateManager& manager)
{
    return std::string("Software\\Zervan Soft\\") + manager.GetSoftware() + '\\' + manager.GetRegCategory() + '\\' +
           manager.GetRegSection() + "\\Cell Template";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(bytes), size);
    std::string_view fields[4];
    for (std::string_view& field : fields) {
        const std::size_t end = input.find('\0');
        field = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    }

    tavfuzz::Editor editor;
    {
        const std::string base = BasePath(editor.manager);
        const std::string group = editor.manager.GetTemplateGroup();
        SolKey key(plat::HKEY_CURRENT_USER, base + '\\' + group + "\\Fuzz");
        const char* names[] = {"Template", "Width", "Lock"};
        for (int i = 0; i < 3; ++i)
            if (!fields[i].empty())
                key.SetString(names[i], std::string(fields[i]));
        key.SetBool("AutoWidth", !fields[3].empty() && (fields[3][0] & 1) != 0);
        SolKey current(plat::HKEY_CURRENT_USER, base + "\\Cell Template");
        current.SetString(group, "Fuzz");
    }
    if (!editor.Open())
        return 0;
    editor.Paint();
    editor.Walk();

    // Loaded, saved under another name and loaded again: the same layout.
    TavTemplate store(&editor.manager);
    if (store.LoadTemplate("Fuzz") != 1)
        return 0;
    const std::vector<unsigned> columns = editor.data.Template();
    if (columns.empty())
        return 0; // a template of no items is unusable: saved, it cannot be loaded again
    const std::vector<unsigned> widths = editor.data.Width();
    const TavLockArray locks = editor.data.Lock();
    const plat::BOOL locked = editor.data.GetCellLockFlag();
    if (store.SaveTemplate("Copy") != 1)
        return 0;
    editor.data.Template().clear();
    editor.data.Width().clear();
    if (store.LoadTemplate("Copy") != 1 || editor.data.Template() != columns || editor.data.Width() != widths)
        std::abort();
    if (locked && !locks.IsEmpty() && !(editor.data.Lock() == locks))
        std::abort();
    return 0;
}
