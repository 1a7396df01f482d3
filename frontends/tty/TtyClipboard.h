// The system clipboard as a terminal program reaches it: through a clipboard command of the
// desktop when one is there (wl-copy/wl-paste, xclip, xsel, pbcopy/pbpaste), else by asking
// the terminal to set it (OSC 52), which works over ssh and inside tmux but cannot be read
// back; pasting then uses the program's own copy.
#pragma once

#include "platform/ui/Clipboard.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tty {

// How to reach the clipboard: the commands that copy (reading the text on their input) and
// paste (writing it on their output); empty when there is none.
struct ClipboardCommands {
    std::vector<std::string> copy;
    std::vector<std::string> paste;
};

// The commands for this environment: getenv and a search of PATH are passed in, so that the
// choice can be tested.
[[nodiscard]] ClipboardCommands ChooseClipboardCommands(const std::function<const char*(const char*)>& getEnv,
                                                         const std::function<bool(const std::string&)>& onPath);
// The same with the process's environment.
[[nodiscard]] ClipboardCommands ChooseClipboardCommands();

[[nodiscard]] std::string Base64(std::string_view bytes);
// The terminal's "set the clipboard" request for the text.
[[nodiscard]] std::string Osc52(std::string_view text);

class TtyClipboard : public plat::ClipboardBackend {
public:
    // writeTerminal sends bytes to the terminal (for OSC 52).
    TtyClipboard(ClipboardCommands commands, std::function<void(std::string_view)> writeTerminal);
    void SetText(std::string_view text) override;
    [[nodiscard]] std::optional<std::string> GetText() override;

private:
    ClipboardCommands m_commands;
    std::function<void(std::string_view)> m_writeTerminal;
};

} // namespace tty
