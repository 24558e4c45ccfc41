// The process's peak resident memory, for tests that a call does not take more than it should.
#pragma once

namespace tpm
{
// Peak resident set of this process so far, in KiB.
long PeakResidentKiB();

// Growth of the peak a test allows where the plug-in must not size buffers by what a host announces:
// the capped buffers take a few tens of MiB, an uncapped maximum block tens of GiB.
constexpr long kSmallMemoryKiB = 256L * 1024;
} // namespace tpm
