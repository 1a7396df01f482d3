// The bare operations that the benchmarks are measured against, so that a figure read on a
// faster or slower machine still says how far the library is from the floor: a copy into
// fresh memory, and a durable write to the disk that holds the temporary folder.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace bench {

// Copies `bytes` bytes from warm memory into a block allocated for the purpose, as loading
// or storing a table must: fresh pages cost the kernel's zeroing and mapping, which a copy
// into warm memory would hide.
inline void CopyIntoFreshMemory(benchmark::State& state, std::size_t bytes)
{
    const std::unique_ptr<char[]> source(new char[bytes]);
    std::memset(source.get(), 'x', bytes);
    for (auto _ : state) {
        const std::unique_ptr<char[]> target(new char[bytes]);
        std::memcpy(target.get(), source.get(), bytes);
        benchmark::DoNotOptimize(target.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// Writes 4 KiB over the start of a file in the temporary folder and waits for the disk with
// fdatasync: what any durable change costs at least, whatever the store above it does.
inline void DurableWrite4K(benchmark::State& state)
{
    const std::string path = (std::filesystem::temp_directory_path() / "tavcell-bench-durable.XXXXXX").string();
    std::string name = path;
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        state.SkipWithError("cannot make a temporary file");
        return;
    }
    char block[4096];
    std::memset(block, 'x', sizeof block);
    for (auto _ : state) {
        if (::pwrite(fd, block, sizeof block, 0) != static_cast<ssize_t>(sizeof block) || ::fdatasync(fd) != 0) {
            state.SkipWithError("write failed");
            break;
        }
    }
    ::close(fd);
    ::unlink(name.c_str());
}

} // namespace bench
