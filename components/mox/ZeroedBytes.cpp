// Zeroed storage: mappings for large blocks (the system hands out zero pages and writes
// nothing until a page is touched), calloc for the rest.
#include "components/mox/ZeroedBytes.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace {

// From this size a block is a mapping of its own.
constexpr std::size_t kMapFrom = std::size_t{1} << 20;

} // namespace

namespace mox_detail {

void* AllocateZeroed(std::size_t bytes)
{
    if (bytes >= kMapFrom) {
        void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
        return block;
    }
    void* block = std::calloc(bytes == 0 ? 1 : bytes, 1);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void FreeZeroed(void* block, std::size_t bytes) noexcept
{
    if (block == nullptr)
        return;
    if (bytes >= kMapFrom)
        ::munmap(block, bytes);
    else
        std::free(block);
}

} // namespace mox_detail

void ResizeZeroed(ZeroedBytes& block, std::size_t size)
{
    if (size < block.size())
        std::memset(block.data() + size, 0, block.size() - size);
    block.resize(size);
}
