// Resource strings and message boxes of the support library: texts of a module's string
// table shown to the user, and the switch of the module that resources load from.
#pragma once

#include "platform/resource/Module.h"
#include "platform/ui/Types.h"

#include <string>

// A string of the module's table (null: the current resource module); empty when missing.
[[nodiscard]] std::string NifLoadString(plat::ModuleHandle module, plat::UINT id);

// Shows string stringId of the module in a message box of the given MB_* style, captioned
// with the application's name, and returns the button pressed (0 when nothing could be
// shown). owner null: the window taking input now.
int NifMessageBox(plat::ModuleHandle module, plat::UINT stringId, plat::UINT style, plat::Wnd* owner = nullptr);

// Makes resources load from the module; returns the module they loaded from before.
plat::ModuleHandle NifSetResourceHandle(plat::ModuleHandle module);
