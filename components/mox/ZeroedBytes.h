// Byte blocks whose fresh storage comes zeroed from the system: large blocks are their own
// anonymous mappings, small ones come from calloc. Growing a table of a million records then
// writes nothing; a page costs only when a record on it is first used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mox_detail {

void* AllocateZeroed(std::size_t bytes);
void FreeZeroed(void* block, std::size_t bytes) noexcept;

template <class T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <class U>
    ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocateZeroed(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { FreeZeroed(block, n * sizeof(T)); }
    // Storage is zero when handed out, and kept zero past the end (ResizeZeroed): making an
    // element need not write the zero again.
    template <class U>
    void construct(U* at) noexcept
    {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args)
    {
        ::new (static_cast<void*>(at)) U(static_cast<Args&&>(args)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) noexcept { return true; }
};

} // namespace mox_detail

using ZeroedBytes = std::vector<std::uint8_t, mox_detail::ZeroedAllocator<std::uint8_t>>;

// Resizes a block; bytes given up are cleared first, so that growing again finds zeros.
void ResizeZeroed(ZeroedBytes& block, std::size_t size);
