// The VST 2.4 build's channels: the configurations it offers hosts, which of the product's channels
// the host wires (by speaker arrangement, or as its quirks demand), and the host's buffer arrays, which
// list the wired channels only, laid onto the product's stereo pair. An unwired input reads as silence
// and an unwired output is written nowhere. The host's other threads rewire; the audio thread reads
// the wiring, one atomic word per side, so neither waits for the other.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace tpm
{
class Vst2Channels
{
  public:
    enum class Side
    {
        kInput,
        kOutput,
    };
    // The product's channels on either side: its widest configuration.
    static constexpr int kMaxChannels = 2;

    // Whether some configuration has exactly one input.
    static bool CanMono();
    static constexpr int Count() { return kMaxChannels; }

    // Channels first..first+count-1 of a side (clipped to the ones there are).
    void Connect(Side side, int first, int count, bool connected);
    bool Connected(Side side, int channel) const;
    // Whether the host wires every channel on both sides: then its arrays are the product's own.
    bool AllWired() const { return wiring.load(std::memory_order_relaxed) == kAllWired; }
    // The host's buffers from frame `offset` on, one per wired channel of the side, in channel order.
    template <typename Sample>
    std::array<Sample*, kMaxChannels> Route(Side side, Sample* const* host, int offset) const
    {
        std::array<Sample*, kMaxChannels> routed{};
        const uint32_t wired = wiring.load(std::memory_order_relaxed) >> Shift(side);
        if (!host)
            return routed;
        int hostIndex = 0;
        for (int c = 0; c < kMaxChannels; ++c)
        {
            if ((wired >> c & 1u) == 0)
                continue;
            Sample* buffer = host[hostIndex];
            ++hostIndex;
            routed[static_cast<std::size_t>(c)] = buffer ? buffer + offset : nullptr;
        }
        return routed;
    }

  private:
    static constexpr int Shift(Side side) { return side == Side::kInput ? 0 : kMaxChannels; }

    // One bit per channel, set while the host wires it: the inputs', then the outputs'.
    static constexpr uint32_t kAllWired = (1u << 2 * kMaxChannels) - 1;
    std::atomic<uint32_t> wiring{kAllWired};
};
} // namespace tpm
