// The choices of the enumerated tone and LFO parameters, by the value the parameter holds.
#pragma once

#include <cstdint>

namespace tpm
{
// What an LFO drives ("LFO1 Target", "LFO2 Target").
enum class LfoTarget : int16_t
{
    kNone = 0,
    kBaseFreq,
    kBinaural,
    kBinauralPan,
    kVolume,
};
constexpr int kLfoTargetCount = 5;

// The tone's waveforms ("Wave"); the golden ones switch halves at the golden fraction.
enum class ToneWave : int16_t
{
    kSine = 0,
    kTriangle,
    kSaw,
    kSquare,
    kGoldenSine,
    kSineHalf,
    kGoldenTriangle,
    kGoldenSquare,
};

// The LFOs' waveforms ("LFO1 Wave", "LFO2 Wave").
enum class LfoWave : int16_t
{
    kSine = 0,
    kTriangle,
    kSaw,
    kSawFlip,
    kSquare,
    kSineHalf,
    kHalfFlip,
};

constexpr int ToIndex(LfoTarget target)
{
    return static_cast<int>(target);
}
} // namespace tpm
