// The input method as programs see it: each window has an input context whose open state
// says whether typed keys are composed into Japanese text. A program may open or close it
// for the user (numeric fields keep it closed); the window then hears IMN_SETOPENSTATUS.
// A terminal cannot switch the user's input method itself: the front end shows this state.
// A desktop front end composes: the text being composed reaches the window with the keys as
// WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION and WM_IME_ENDCOMPOSITION.
#pragma once

#include "platform/ui/Types.h"

#include <string>
#include <vector>

namespace plat {

class Wnd;

// Attributes of the characters being composed, one byte each.
inline constexpr BYTE ATTR_INPUT = 0;            // typed, not converted yet
inline constexpr BYTE ATTR_TARGET_CONVERTED = 1; // the segment being converted now
inline constexpr BYTE ATTR_CONVERTED = 2;        // converted, not the one being worked on

// One change of a composition: what is being composed (empty when it ended), where its caret
// is, and the text the input method gave up for good with this change.
struct CompositionString {
    std::string text;
    int caret = 0; // in characters from the start of text
    std::vector<BYTE> attributes;
    std::string result;
};

struct InputContext {
    Wnd* window = nullptr;
    bool open = false;
    // Whether the window takes composed text where its caret is now: a grid takes it only
    // in cells whose editor takes text.
    bool allowed = true;
    // What is being composed, until the input method takes it or drops it.
    CompositionString composition;
};
using HIMC = InputContext*;

// WM_IME_NOTIFY's wParam when the open state changed.
inline constexpr UINT IMN_SETOPENSTATUS = 0x0008;

inline constexpr UINT WM_IME_STARTCOMPOSITION = 0x010D;
inline constexpr UINT WM_IME_ENDCOMPOSITION = 0x010E;
// wParam points to the CompositionString of the change (so that a window handing its keys to
// another hands the composition with them); lParam holds GCS_* flags of what changed.
inline constexpr UINT WM_IME_COMPOSITION = 0x010F;
inline constexpr LPARAM GCS_COMPSTR = 0x0008;
inline constexpr LPARAM GCS_RESULTSTR = 0x0800;
// The input method asks where the typing goes: wParam IMR_QUERYCHARPOSITION, lParam points to
// a CompositionPlace to fill; non-zero when the window answered.
inline constexpr UINT WM_IME_REQUEST = 0x0288;
inline constexpr WPARAM IMR_QUERYCHARPOSITION = 0x0006;

struct CompositionPlace {
    RECT caret;              // in screen coordinates, a line high
    std::string surrounding; // the text around the caret, and the caret and anchor in it
    int cursor = 0;
    int anchor = 0;
};

// ImmNotifyIME's actions: end the composition, taking what it holds or dropping it.
inline constexpr DWORD NI_COMPOSITIONSTR = 0x0015;
inline constexpr DWORD CPS_COMPLETE = 0x0001;
inline constexpr DWORD CPS_CANCEL = 0x0004;

// The window's context, made on first use closed (open where the driver's input method is
// open from the start); null for a window that does not exist.
[[nodiscard]] HIMC ImmGetContext(Wnd* wnd);
BOOL ImmReleaseContext(Wnd* wnd, HIMC context) noexcept;
[[nodiscard]] BOOL ImmGetOpenStatus(HIMC context) noexcept;
// Sets the state; a change is told to the context's window (WM_IME_NOTIFY, IMN_SETOPENSTATUS)
// and shown by the driver.
BOOL ImmSetOpenStatus(HIMC context, BOOL open);
// Whether composed text may reach the window now; a composition under way where it no longer
// may is dropped.
void ImmAllowComposition(HIMC context, BOOL allowed);
// Ends the composition under way (NI_COMPOSITIONSTR with CPS_COMPLETE or CPS_CANCEL): its
// window hears the end at once, and the driver's input method forgets what it composed.
BOOL ImmNotifyIME(HIMC context, DWORD action, DWORD index, DWORD value);
// A window's context if anyone asked for one, for showing its state; null otherwise.
[[nodiscard]] const InputContext* FindInputContext(const Wnd* wnd) noexcept;
// The window is gone: so is its context.
void ForgetInputContext(const Wnd* wnd) noexcept;

// What the dispatcher and a front end ask of the window with the keys.
// Whether the input method may compose for it: its context is open and allows it; a window
// without a context takes composed text when it is an edit that can be typed into.
[[nodiscard]] bool TakesComposition(Wnd* wnd);
// Whether a composition is under way in it.
[[nodiscard]] bool IsComposing(const Wnd* wnd) noexcept;
// Hands it one change of the composition, in the order the messages come on the platform.
void DeliverComposition(Wnd& wnd, const CompositionString& change);
// Ends a composition under way in the window with the focus, taking its text: what comes
// next (a click, a menu) must find the text where it was typed.
void CompleteComposition();
// Where typing into the window goes; without an answer of its own, its top left corner.
[[nodiscard]] CompositionPlace QueryCompositionPlace(Wnd& wnd);

} // namespace plat
