#include "support/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
bool counting = false;
long allocations = 0;
} // namespace

void AllocationCounter::Count(bool on)
{
    counting = on;
}

long AllocationCounter::Counted()
{
    return allocations;
}

void AllocationCounter::Reset()
{
    allocations = 0;
}

// Every operator new of the program comes through here, so allocations while counting show.
// Kept out of line: inlined, the compiler takes its malloc and free for a mismatched pair.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* memory) noexcept
{
    std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t /*size*/) noexcept
{
    std::free(memory);
}
