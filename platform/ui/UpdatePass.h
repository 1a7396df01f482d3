// The update pass that comes before any painting: windows that draw themselves are sent
// WM_PAINT while nothing is being drawn, so that a handler may change the window tree (open,
// move or close windows) freely. Painting afterwards only reads the tree and the recorded
// drawings, whichever front end does it.
#pragma once

namespace plat {

class Wnd;

// Whether a window draws itself through its device contexts; the standard controls, frames
// and dialogs are drawn by the front end from the state they hold.
[[nodiscard]] bool DrawsItself(Wnd& wnd);

// Sends WM_PAINT to every visible window that draws itself and needs it (invalidated, or
// never drawn), again while handlers invalidate or create windows, a few rounds at most.
void UpdateWindows();

} // namespace plat
