// Whole byte blocks through a host's IBStream, which may read or write less than asked at a time.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tpm
{
class Vst3Stream
{
  public:
    // A state larger than this is no state of ours; reading stops there with a failure.
    static constexpr std::size_t kMaxBytes = 16u << 20;

    // Everything from the stream's position to its end; false on a stream error, on too much data
    // or when memory runs out (out is then unspecified).
    static bool ReadAll(vst3::IBStream& stream, std::vector<uint8_t>& out);
    // All of data at the stream's position; false when the stream takes less.
    static bool WriteAll(vst3::IBStream& stream, std::span<const uint8_t> data);
};
} // namespace tpm
