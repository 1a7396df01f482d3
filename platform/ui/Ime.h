// The input method as programs see it: each window has an input context whose open state
// says whether typed keys are composed into Japanese text. A program may open or close it
// for the user (numeric fields keep it closed); the window then hears IMN_SETOPENSTATUS.
// A terminal cannot switch the user's input method itself: the front end shows this state.
#pragma once

#include "platform/ui/Types.h"

namespace plat {

class Wnd;

struct InputContext {
    Wnd* window = nullptr;
    bool open = false;
};
using HIMC = InputContext*;

// WM_IME_NOTIFY's wParam when the open state changed.
inline constexpr UINT IMN_SETOPENSTATUS = 0x0008;

// The window's context, made closed on first use; null for a window that does not exist.
[[nodiscard]] HIMC ImmGetContext(Wnd* wnd);
BOOL ImmReleaseContext(Wnd* wnd, HIMC context) noexcept;
[[nodiscard]] BOOL ImmGetOpenStatus(HIMC context) noexcept;
// Sets the state; a change is told to the context's window (WM_IME_NOTIFY, IMN_SETOPENSTATUS)
// and shown by the driver.
BOOL ImmSetOpenStatus(HIMC context, BOOL open);
// A window's context if anyone asked for one, for showing its state; null otherwise.
[[nodiscard]] const InputContext* FindInputContext(const Wnd* wnd) noexcept;
// The window is gone: so is its context.
void ForgetInputContext(const Wnd* wnd) noexcept;

} // namespace plat
