#include "formats/vst2/Vst2Channels.h"

#include <algorithm>

namespace tpm
{
namespace
{
struct ChannelConfig
{
    int inputs;
    int outputs;
};
// What the effect offers hosts: mono in and out, or stereo.
constexpr ChannelConfig kChannelConfigs[] = {{1, 1}, {2, 2}};
static_assert(std::max(kChannelConfigs[0].inputs, kChannelConfigs[1].inputs) == Vst2Channels::kMaxChannels);
} // namespace

bool Vst2Channels::CanMono()
{
    return std::any_of(std::begin(kChannelConfigs), std::end(kChannelConfigs),
                       [](const ChannelConfig& config) { return config.inputs == 1; });
}

void Vst2Channels::Connect(Side side, int first, int count, bool connected)
{
    const int64_t last = std::min<int64_t>(int64_t{first} + count, kMaxChannels);
    uint32_t bits = 0;
    for (int64_t c = std::max(first, 0); c < last; ++c)
        bits |= 1u << (c + Shift(side));
    if (connected)
        wiring.fetch_or(bits);
    else
        wiring.fetch_and(~bits);
}

bool Vst2Channels::Connected(Side side, int channel) const
{
    return (wiring.load(std::memory_order_relaxed) >> (channel + Shift(side)) & 1u) != 0;
}
} // namespace tpm
