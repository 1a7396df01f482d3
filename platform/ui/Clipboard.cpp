// The program's clipboard and its optional system backend.
#include "platform/ui/Clipboard.h"

#include "platform/ui/UiContext.h"

namespace plat {
namespace {

struct ClipboardState {
    std::string text;
    bool hasText = false;
    ClipboardBackend* backend = nullptr;
};

ClipboardState& State() { return CurrentUiContext().Get<ClipboardState>(); }

} // namespace

void SetClipboardText(std::string_view text)
{
    ClipboardState& state = State();
    state.text.assign(text);
    state.hasText = true;
    if (state.backend)
        state.backend->SetText(text);
}

std::string GetClipboardText()
{
    ClipboardState& state = State();
    if (state.backend) {
        if (std::optional<std::string> text = state.backend->GetText())
            return std::move(*text);
    }
    return state.hasText ? state.text : std::string();
}

bool IsClipboardTextAvailable() { return !GetClipboardText().empty(); }

void EmptyClipboard()
{
    ClipboardState& state = State();
    state.text.clear();
    state.hasText = false;
    if (state.backend)
        state.backend->SetText({});
}

void SetClipboardBackend(ClipboardBackend* backend) noexcept { State().backend = backend; }

} // namespace plat
