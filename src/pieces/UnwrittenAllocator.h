#pragma once

#include <memory>
#include <new>
#include <utility>

namespace zg {

/// An allocator whose vectors leave the elements that resize() adds
/// unwritten (default-initialised), for large tables that are filled right
/// after, possibly by several threads: no page is touched twice.
template <class T> struct UnwrittenAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UnwrittenAllocator<U>; };
    UnwrittenAllocator() = default;
    template <class U> UnwrittenAllocator(const UnwrittenAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

} // namespace zg
