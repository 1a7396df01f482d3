// Seeds for the fuzz targets: tests that build valid inputs hand them here too, so that the fuzzers
// start deep in the readers. Nothing is written unless TAVCELL_FUZZ_SEEDS names a folder.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

namespace tavtest {

// Writes one seed as TAVCELL_FUZZ_SEEDS/<target>/<name>, target being the fuzz program's name
// without "_fuzz" (the same input under another name is a second seed, which does no harm).
inline void WriteFuzzSeed(std::string_view target, std::string_view name, std::span<const std::uint8_t> bytes)
{
    const char* root = std::getenv("TAVCELL_FUZZ_SEEDS");
    if (root == nullptr || *root == '\0')
        return;
    const std::filesystem::path folder = std::filesystem::path(root) / std::string(target);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::ofstream out(folder / std::string(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteFuzzSeed(std::string_view target, std::string_view name, std::string_view bytes)
{
    WriteFuzzSeed(target, name, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace tavtest
