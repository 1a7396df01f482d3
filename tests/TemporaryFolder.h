// A folder of a test's own under the temporary folder, removed with everything in it however
// the test ends.
#pragma once

#include "platform/io/Files.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tavtest {

class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix)
    {
        std::filesystem::path temporary;
        static_cast<void>(plat::GetTemporaryFolder(temporary));
        std::string pattern = (temporary / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a folder like " + pattern);
        m_path = pattern;
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder()
    {
        std::error_code error; // a test may have taken away its own rights to the folder
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(m_path, error);
    }

    [[nodiscard]] const std::filesystem::path& Path() const noexcept { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace tavtest
