// The frame around a list control: which controls have one and what it leaves for the rows,
// so that a front end draws rows and the control hit-tests clicks in the same place.
#pragma once

#include "platform/ui/Types.h"

namespace plat {

class Wnd;

// A dialog's lists are framed, so that they show as lists, focused or not; elsewhere a
// control is framed when WS_BORDER or WS_EX_CLIENTEDGE asks for it.
[[nodiscard]] bool HasControlFrame(const Wnd& wnd);
// The client area less the frame, in client coordinates: where the rows lie.
[[nodiscard]] RECT ControlInterior(const Wnd& wnd);

} // namespace plat
