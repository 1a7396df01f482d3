// Keeping the windows on a screen that changed size: a terminal resized, a desktop's display
// changed. Every front end calls it when its screen changes.
#pragma once

#include "platform/ui/Types.h"

namespace plat {

// The main window fills the screen, and every other shown top-level window (a dialog, a
// sheet) moves as little as it must to lie inside it, its top left corner kept in sight when
// it is larger, so that what was open stays reachable. dialogFrame is what the front end
// draws round a dialog or sheet outside its rectangle on each side (a terminal's box and
// caption), which must stay on the screen too.
void FitWindowsToScreen(SIZE screen, SIZE dialogFrame = {});

} // namespace plat
