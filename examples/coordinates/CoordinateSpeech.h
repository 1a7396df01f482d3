// Reading a cell aloud through the espeak-ng program, when the machine has it: the editor
// greys its read-aloud command otherwise, rather than offering a command that says nothing.
#pragma once

#include <string>

namespace coordinates {

// Whether an espeak-ng program is on the PATH.
[[nodiscard]] bool SpeechAvailable();
// Starts reading the text in a Japanese voice and returns at once, so the editor goes on while
// it speaks; false when the program could not be started.
bool Speak(const std::string& text);

} // namespace coordinates
