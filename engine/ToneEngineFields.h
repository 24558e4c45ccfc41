// The tone engine's working values. Increments are phase increments in radians per sample and
// phases radians in [0, 2π), both double so that long tones keep their pitch; levels and pans are
// single precision. Everything here is derived from the parameters when they change.
#pragma once

#include "engine/Lfo.h"
#include "engine/Waveforms.h"

#include <cstdint>

namespace tpm
{
struct ToneEngineFields
{
    static constexpr float goldenFraction = 0.618f;
    // 2π × goldenFraction: the phase at which the golden waves switch halves.
    static constexpr double goldenSplit = 3.8830083370775546;

    double sampleRate = 0.0;
    // 4 × samples per beat at the host tempo; 0 while the host reports no valid tempo.
    double samplesPerWholeNote = 0.0;
    uint32_t glideSamples = 0;
    int32_t waveIndex = 0;
    float panTarget = 0.0f;
    float levelTarget = 0.0f;
    float level = 0.0f;
    float pan = 0.0f;
    double osc1IncTarget = 0.0;
    double osc1Inc = 0.0;
    double osc2IncTarget = 0.0;
    double osc2Inc = 0.0;
    double osc1Phase = 0.0;
    double osc2Phase = 0.0;
    double baseInc = 0.0;
    double beatInc = 0.0;
    // goldenA1, goldenA2, goldenC2 of the golden waves.
    Waveforms::Golden golden;
    Lfo lfo[2];
    bool started = false;
    bool armed = false;
    bool binauralMode = false;
    bool playAnyway = false;
    bool restartHeld = false;
    // Set by a click on a sync switch; only a click converts the running rate on a sync switch.
    bool syncClicked = false;
    const char* bandText = "";
    float lastBaseFreq = 0.0f;
    float lastBeatFreq = 0.0f;
    // The last valid whole-note length the host's tempo gave, in seconds; synced LFOs keep using
    // it while the host reports no tempo (0 until the host has reported one).
    double lastWholeNoteSeconds = 0.0;
};
} // namespace tpm
