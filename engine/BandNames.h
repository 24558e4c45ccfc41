// The names of the brainwave bands the engine shows under "Beats", in a fixed order: the two texts
// for no beat, then the bands from the slowest up. Bindings that carry a band as a number use its
// place in this list, so the order is stored in hosts' sessions and must not change.
#pragma once

#include <array>

namespace tpm
{
inline constexpr std::array<const char*, 9> kBandNames = {
    "Binaural Off", "Monaural Off", "EPSILON", "DELTA", "THETA", "ALPHA", "BETA", "GAMMA", "LAMBDA"};
} // namespace tpm
