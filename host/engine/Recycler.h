#pragma once

// An allocator that keeps a few blocks of each size it hands out for the next request
// of that size. A walk over a folder makes and drops one item object per item: with
// this, each one takes the memory of the one before, without a trip through malloc.

#include <array>
#include <cstddef>
#include <new>

namespace vantorel::engine {

// Under AddressSanitizer every block goes back to the allocator, so that a use of an
// item object after its end is still reported.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr std::size_t kRecycledPerSize = 0;
#else
inline constexpr std::size_t kRecycledPerSize = 8;
#endif

template <std::size_t Size>
class RecycledBlocks {
public:
    static void* take() {
        Shelf& shelf = shelfOf();
        if (shelf.count > 0) {
            return shelf.blocks[--shelf.count];
        }
        return ::operator new(Size);
    }
    static void give(void* block) {
        Shelf& shelf = shelfOf();
        if (shelf.count < shelf.blocks.size()) {
            shelf.blocks[shelf.count++] = block;
        } else {
            ::operator delete(block);
        }
    }

private:
    struct Shelf {
        std::array<void*, kRecycledPerSize> blocks{};
        std::size_t count = 0;
        ~Shelf() {
            while (count > 0) {
                ::operator delete(blocks[--count]);
            }
        }
    };
    static Shelf& shelfOf() {
        thread_local Shelf shelf;
        return shelf;
    }
};

template <class T>
class Recycler {
public:
    using value_type = T;

    Recycler() = default;
    template <class U>
    Recycler(const Recycler<U>& /*other*/) {}  // NOLINT: rebinding, as allocators do

    T* allocate(std::size_t n) {
        if (n == 1) {
            return static_cast<T*>(RecycledBlocks<sizeof(T)>::take());
        }
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) {
        if (n == 1) {
            RecycledBlocks<sizeof(T)>::give(p);
        } else {
            ::operator delete(p);
        }
    }

    template <class U>
    bool operator==(const Recycler<U>& /*other*/) const {
        return true;
    }
};

}  // namespace vantorel::engine
