// What a format binding hands the product with each block: the host's transport as it stands at
// the block's first frame, and the parameter changes that fall inside the block.
#pragma once

#include <array>
#include <cstdint>

namespace tpm
{
// The longest block the plug-in keeps buffers for. Hosts may announce any maximum (CLAP allows up to
// INT32_MAX, offline renderers pass large ones); longer calls are processed in pieces of this size,
// so the buffers never grow past a few tens of megabytes whatever a host announces.
inline constexpr int32_t kMaxBlockFrames = 1 << 20;

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

// The parts of the transport a block reads, so that hosts asked for them are asked no more.
struct TransportNeeds
{
    bool tempo = false;
    bool playing = false;
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

// Part of a block: `frames` frames from frame `from` on, of its first two channels, with pointer
// arrays of its own. A channel the block lacks stays null (silence in, written nowhere).
template <typename Sample> struct AudioBlockPart
{
    std::array<const Sample*, 2> inputs{};
    std::array<Sample*, 2> outputs{};
    AudioBlock<Sample> block;

    AudioBlockPart(const AudioBlock<Sample>& whole, int32_t from, int32_t frames)
    {
        for (std::size_t c = 0; c < 2; ++c)
        {
            if (static_cast<int32_t>(c) < whole.inputCount && whole.inputs && whole.inputs[c])
                inputs[c] = whole.inputs[c] + from;
            if (static_cast<int32_t>(c) < whole.outputCount && whole.outputs && whole.outputs[c])
                outputs[c] = whole.outputs[c] + from;
        }
        block = {inputs.data(), 2, outputs.data(), 2, frames};
    }
    AudioBlockPart(const AudioBlockPart&) = delete;
    AudioBlockPart& operator=(const AudioBlockPart&) = delete;
};
} // namespace tpm
