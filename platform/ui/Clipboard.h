// The program's text clipboard. It holds its text itself; a driver that reaches a system
// clipboard (the terminal's) installs a backend, through which every copy and paste then goes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plat {

class ClipboardBackend {
public:
    virtual ~ClipboardBackend() = default;
    virtual void SetText(std::string_view text) = 0;
    // The system clipboard's text, or nothing when it cannot be read (the program's own copy
    // is then used).
    [[nodiscard]] virtual std::optional<std::string> GetText() = 0;
};

void SetClipboardText(std::string_view text);
[[nodiscard]] std::string GetClipboardText();
[[nodiscard]] bool IsClipboardTextAvailable();
void EmptyClipboard();

// Null returns to the program's own clipboard. The backend must outlive its installation.
void SetClipboardBackend(ClipboardBackend* backend) noexcept;

} // namespace plat
