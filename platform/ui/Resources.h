// Resources of a module beyond its string table: dialog templates and bitmaps, found by the
// module and an identifier; and the module that resources load from now.
#pragma once

#include "platform/resource/Module.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Types.h"

#include <string>
#include <vector>

namespace plat {

// One control of a dialog template; its rectangle is in dialog units.
struct DialogItem {
    int id = IDC_STATIC;
    std::string className; // "BUTTON", "EDIT", ... or a class the program registered
    std::string text;
    // WS_CHILD and WS_VISIBLE are added when the control is made, and WS_TABSTOP for edits,
    // lists, combo boxes, push buttons and check boxes, as a resource script's statements do.
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD exStyle = 0;
};

// A dialog as its resource describes it: caption, size in dialog units, font, controls in
// tab and z-order.
struct DialogTemplate {
    std::string caption;
    int cx = 0;
    int cy = 0;
    std::string fontFace;
    int pointSize = 9;
    DWORD style = 0;
    std::vector<DialogItem> items;
};

// Dialog units in pixels for a dialog's font as the front end measures it: a quarter of its
// average character width across and an eighth of its line down (2 px each way in cells).
[[nodiscard]] RECT MapDialogRect(const LOGFONTA& font, int x, int y, int cx, int cy);
// The other way, rounded down: how many dialog units a length in pixels holds.
[[nodiscard]] SIZE PixelsToDialogUnits(const LOGFONTA& font, SIZE pixels);
// The font a template's dialog shows in.
[[nodiscard]] LOGFONTA DialogLogFont(const DialogTemplate& dialogTemplate);

void AddDialogResource(ModuleHandle module, UINT id, DialogTemplate dialogTemplate);
[[nodiscard]] const DialogTemplate* FindDialogResource(ModuleHandle module, UINT id);
void AddBitmapResource(ModuleHandle module, UINT id, Bitmap bitmap);
[[nodiscard]] const Bitmap* FindBitmapResource(ModuleHandle module, UINT id);

// The module that resources load from when no module is named (null: none set).
[[nodiscard]] ModuleHandle GetResourceHandle() noexcept;
// Returns the previous one.
ModuleHandle SetResourceHandle(ModuleHandle module) noexcept;

} // namespace plat
