#include "support/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace tpm
{
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
} // namespace tpm

using namespace tpm;

// Every operator new of the program comes through here, so allocations while counting show. The
// nothrow forms too: a module that allocates with them frees through the delete below, and the pair
// must match. Kept out of line: inlined, the compiler takes its malloc and free for a mismatched pair.
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept
{
    if (counting)
        ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
[[gnu::noinline]] void* operator new(std::size_t size)
{
    if (void* memory = operator new(size, std::nothrow))
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
[[gnu::noinline]] void operator delete(void* memory, const std::nothrow_t& /*tag*/) noexcept
{
    std::free(memory);
}
