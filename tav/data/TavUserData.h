// One text that the template transfer writes into and reads from its files, as an archive
// string.
#pragma once

#include "platform/io/Archive.h"

#include <string>

class TavUserData {
public:
    TavUserData() = default;
    virtual ~TavUserData();

    [[nodiscard]] const std::string& GetString() const noexcept { return m_string; }
    void SetString(std::string text) { m_string = std::move(text); }

    // Stores the text in the narrow code page, or loads it.
    virtual void Serialize(plat::Archive& archive);

private:
    std::string m_string;
};
