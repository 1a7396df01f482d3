// The suite's string: a std::string that also converts whole numbers, as the transfer index
// file writes its counts.
#pragma once

#include <string>

class YatString : public std::string {
public:
    using std::string::string;
    YatString() = default;
    YatString(std::string text) : std::string(std::move(text)) {}

    // Replaces the text with the decimal form of the value ("-42").
    YatString& StrSignedInteger(long value);
    // The whole text, blanks around it allowed, as a signed decimal number within long;
    // false, value unchanged, for anything else (an empty text, "12a", an overflow).
    [[nodiscard]] bool ValSignedInteger(long& value) const noexcept;
    // The same, 0 when the text is not such a number.
    [[nodiscard]] long ValSignedInteger() const noexcept;
};
