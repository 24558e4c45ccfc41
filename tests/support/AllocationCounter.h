// Counts the program's operator new calls while counting is on, for tests that show a piece of code
// allocates nothing. A test program that links AllocationCounter.cpp has its global operator new
// replaced by the counting one; each such program links it once.
#pragma once

namespace tpm
{
class AllocationCounter
{
  public:
    static void Count(bool on);
    // Allocations counted since the program started or the last Reset.
    static long Counted();
    static void Reset();
};
} // namespace tpm
