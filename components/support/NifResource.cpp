// Resource strings and message boxes.
#include "components/support/NifResource.h"

#include "platform/ui/App.h"
#include "platform/ui/Resources.h"

std::string NifLoadString(plat::ModuleHandle module, plat::UINT id)
{
    const plat::Module* from = module ? module : plat::GetResourceHandle();
    return from ? from->LoadString(id) : std::string();
}

int NifMessageBox(plat::ModuleHandle module, plat::UINT stringId, plat::UINT style, plat::Wnd* owner)
{
    return plat::MessageBox(owner, NifLoadString(module, stringId), {}, style);
}

plat::ModuleHandle NifSetResourceHandle(plat::ModuleHandle module) { return plat::SetResourceHandle(module); }
