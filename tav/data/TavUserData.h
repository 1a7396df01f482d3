/// @file
/// One text that the template transfer writes into and reads from its files, as an archive
/// string.
#pragma once

#include "platform/io/Archive.h"

#include <string>

/// One text written into a template transfer file and read back from it.
class TavUserData {
public:
    TavUserData() = default;
    virtual ~TavUserData();

    /// The text, UTF-8.
    [[nodiscard]] const std::string& GetString() const noexcept { return m_string; }
    /// Sets the text (UTF-8); Serialize writes it in the narrow code page.
    void SetString(std::string text) { m_string = std::move(text); }

    /// Stores the text in the narrow code page, or loads it.
    virtual void Serialize(plat::Archive& archive);

private:
    std::string m_string;
};
