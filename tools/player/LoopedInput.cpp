#include "tools/player/LoopedInput.h"

#include "tools/hostkit/AudioFile.h"

#include <soxr.h>

std::unique_ptr<LoopedInput> LoopedInput::Load(const std::string& path, std::string& error)
{
    AudioData audio;
    if (!ReadAudioFile(path, 2, 0.0, audio, error))
        return nullptr;
    if (audio.Frames() == 0)
    {
        error = "input '" + path + "' holds no audio";
        return nullptr;
    }
    std::unique_ptr<LoopedInput> input(new LoopedInput);
    input->rate = audio.sampleRate;
    const auto frames = static_cast<std::size_t>(audio.Frames());
    const auto channels = static_cast<std::size_t>(audio.channels);
    input->stereo.resize(frames * 2);
    // Mono goes to both ears; channels past the second are left out.
    for (std::size_t i = 0; i < frames; ++i)
    {
        input->stereo[2 * i] = audio.samples[i * channels];
        input->stereo[2 * i + 1] = audio.samples[i * channels + (channels > 1 ? 1 : 0)];
    }
    return input;
}

bool LoopedInput::PrepareFor(double deviceRate, std::string& error)
{
    if (rate <= 0.0 || rate == deviceRate)
    {
        rate = deviceRate;
        return true;
    }
    const std::size_t inFrames = stereo.size() / 2;
    const auto outFrames = static_cast<std::size_t>(static_cast<double>(inFrames) * deviceRate / rate + 1.0);
    std::vector<float> converted(outFrames * 2);
    std::size_t done = 0;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    if (soxr_error_t failure = soxr_oneshot(rate, deviceRate, 2, stereo.data(), inFrames, nullptr,
                                            converted.data(), outFrames, &done, nullptr, &quality, nullptr))
    {
        error = std::string("cannot resample the input: ") + failure;
        return false;
    }
    if (done == 0)
    {
        error = "the input is too short to resample";
        return false;
    }
    converted.resize(done * 2);
    stereo = std::move(converted);
    rate = deviceRate;
    return true;
}
