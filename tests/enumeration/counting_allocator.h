// Replaces the global allocation functions of one test program, so that its tests can count the
// live non-throwing allocations (all the enumeration layer makes) and make the Nth of them fail.
// Include it in exactly one source file per test program: the replacements are not inline.
#pragma once

#include <cstdlib>
#include <new>

namespace counting_allocator {

// Non-throwing allocations not yet freed, and how many have been made.
inline long liveNothrow = 0;
inline long nothrowMade = 0;
inline long nothrowRefused = 0;
// Non-throwing allocations still allowed before one fails; negative: never fail.
inline long nothrowAllowed = -1;
// Whether only that one fails (a passing shortage) or every one after it too.
inline bool failOnce = false;

// Arms a failure for the scope of a test and disarms it whatever the test's outcome.
struct FailAfter {
    explicit FailAfter(long allowed, bool once = false) {
        nothrowAllowed = allowed;
        failOnce = once;
    }
    ~FailAfter() { nothrowAllowed = -1; }
    FailAfter(const FailAfter&) = delete;
    FailAfter& operator=(const FailAfter&) = delete;
};

namespace detail {

// Each block carries a header saying which kind of call made it; 16 bytes keep the alignment.
constexpr std::size_t kHeader = 16;
constexpr unsigned kPlain = 0x504C4E21;
constexpr unsigned kNothrow = 0x4E545721;

inline void* Allocate(std::size_t size, unsigned kind) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) return nullptr;
    *static_cast<unsigned*>(block) = kind;
    return static_cast<char*>(block) + kHeader;
}

inline void* AllocateNothrow(std::size_t size) {
    if (nothrowAllowed == 0) {
        if (failOnce) nothrowAllowed = -1;
        ++nothrowRefused;
        return nullptr;
    }
    if (nothrowAllowed > 0) --nothrowAllowed;
    void* memory = Allocate(size, kNothrow);
    if (memory != nullptr) {
        ++liveNothrow;
        ++nothrowMade;
    }
    return memory;
}

inline void* AllocatePlain(std::size_t size) {
    void* memory = Allocate(size, kPlain);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

inline void Free(void* memory) {
    if (memory == nullptr) return;
    void* block = static_cast<char*>(memory) - kHeader;
    if (*static_cast<unsigned*>(block) == kNothrow) --liveNothrow;
    std::free(block);
}

}  // namespace detail
}  // namespace counting_allocator

void* operator new(std::size_t size) { return counting_allocator::detail::AllocatePlain(size); }
void* operator new[](std::size_t size) { return counting_allocator::detail::AllocatePlain(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counting_allocator::detail::AllocateNothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return counting_allocator::detail::AllocateNothrow(size);
}
void operator delete(void* memory) noexcept { counting_allocator::detail::Free(memory); }
void operator delete[](void* memory) noexcept { counting_allocator::detail::Free(memory); }
void operator delete(void* memory, std::size_t) noexcept { counting_allocator::detail::Free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { counting_allocator::detail::Free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { counting_allocator::detail::Free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { counting_allocator::detail::Free(memory); }
