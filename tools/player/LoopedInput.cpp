#include "tools/player/LoopedInput.h"

#include "tools/hostkit/AudioReader.h"

#include <vector>

#include <soxr.h>

std::unique_ptr<LoopedInput> LoopedInput::Load(const std::string& path, std::string& error)
{
    auto reader = OpenAudioReader(path, 2, 0.0, error);
    if (!reader)
        return nullptr;
    const auto channels = static_cast<std::size_t>(reader->Channels());
    std::vector<float> samples(static_cast<std::size_t>(reader->Frames()) * channels);
    long long frames = 0;
    for (long long n = 1; n > 0 && frames < reader->Frames(); frames += n)
    {
        n = reader->Read(samples.data() + static_cast<std::size_t>(frames) * channels,
                         reader->Frames() - frames, error);
        if (n < 0)
            return nullptr;
    }
    if (frames == 0)
    {
        error = "input '" + path + "' holds no audio";
        return nullptr;
    }
    std::unique_ptr<LoopedInput> input(new LoopedInput);
    input->rate = reader->KnowsRate() ? reader->Rate() : 0.0;
    input->stereo.resize(static_cast<std::size_t>(frames) * 2);
    // Mono goes to both ears; channels past the second are left out.
    for (std::size_t i = 0; i < static_cast<std::size_t>(frames); ++i)
    {
        input->stereo[2 * i] = samples[i * channels];
        input->stereo[2 * i + 1] = samples[i * channels + (channels > 1 ? 1 : 0)];
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
