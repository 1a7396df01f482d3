// Dialog and bitmap resources per module, and the current resource module.
#include "platform/ui/Resources.h"

#include <map>
#include <utility>

namespace plat {

namespace {

template <class T>
std::map<std::pair<ModuleHandle, UINT>, T>& Table()
{
    static std::map<std::pair<ModuleHandle, UINT>, T> table;
    return table;
}

ModuleHandle& Current()
{
    static ModuleHandle current = nullptr;
    return current;
}

} // namespace

void AddDialogResource(ModuleHandle module, UINT id, DialogTemplate dialogTemplate)
{
    Table<DialogTemplate>()[{module, id}] = std::move(dialogTemplate);
}

const DialogTemplate* FindDialogResource(ModuleHandle module, UINT id)
{
    auto& table = Table<DialogTemplate>();
    auto it = table.find({module, id});
    return it == table.end() ? nullptr : &it->second;
}

void AddBitmapResource(ModuleHandle module, UINT id, Bitmap bitmap) { Table<Bitmap>()[{module, id}] = std::move(bitmap); }

const Bitmap* FindBitmapResource(ModuleHandle module, UINT id)
{
    auto& table = Table<Bitmap>();
    auto it = table.find({module, id});
    return it == table.end() ? nullptr : &it->second;
}

ModuleHandle GetResourceHandle() noexcept { return Current(); }

ModuleHandle SetResourceHandle(ModuleHandle module) noexcept { return std::exchange(Current(), module); }

} // namespace plat
