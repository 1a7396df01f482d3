// Whole numbers to and from the suite's strings.
#include "components/support/YatString.h"

#include "components/support/HixNumber.h"

#include <charconv>

YatString& YatString::StrSignedInteger(long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    assign(buffer, result.ptr);
    return *this;
}

bool YatString::ValSignedInteger(long& value) const noexcept
{
    std::string_view text = HixTrim(*this);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            return false;
    }
    if (text.empty())
        return false;
    long parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

long YatString::ValSignedInteger() const noexcept
{
    long value = 0;
    return ValSignedInteger(value) ? value : 0;
}
