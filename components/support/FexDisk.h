// The suite's disk library: the free space where a path lies.
#pragma once

#include <cstdint>
#include <string>

// The bytes the user may still write where the path lies (at its nearest existing folder
// when the path does not exist yet), divided by unit (1: bytes); 0 when that cannot be told.
// total, when given, receives the same measure of the file system's whole size.
std::uint64_t FexGetDiskSpace(const std::string& path, std::uint64_t unit = 1, std::uint64_t* total = nullptr);
