// What a format binding hands the product with each block: the host's transport as it stands at
// the block's first frame, and the parameter changes that fall inside the block.
#pragma once

#include <cstdint>

struct TransportSnapshot
{
    bool available = false; // false: the host said nothing about its transport
    bool playing = false;
    bool recording = false;
    bool tempoValid = false;
    double tempo = 0.0;         // beats per minute
    double positionBeats = 0.0; // quarter notes from the song's start
    bool timeSignatureValid = false;
    int32_t timeSigNumerator = 4;
    int32_t timeSigDenominator = 4;
};

// A parameter's new value (in its own units, as the editor shows it) from a frame of the block on.
struct ParamChange
{
    int32_t offset = 0;
    int32_t paramIdx = 0;
    double value = 0.0;
};

// One block of stereo audio in either precision; a missing input reads as silence.
template <typename Sample> struct AudioBlock
{
    const Sample* const* inputs = nullptr;
    int32_t inputCount = 0;
    Sample* const* outputs = nullptr;
    int32_t outputCount = 0;
    int32_t frames = 0;
};
