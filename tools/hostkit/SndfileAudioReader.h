// Audio files libsndfile reads (WAV, FLAC, AIFF, Ogg ...), read in blocks.
#pragma once

#include "tools/hostkit/AudioReader.h"

#include <sndfile.h>

namespace tpm
{
class SndfileAudioReader : public AudioReader
{
  public:
    static std::unique_ptr<AudioReader> Open(const std::string& path, std::string& error);
    ~SndfileAudioReader() override;
    SndfileAudioReader(const SndfileAudioReader&) = delete;
    SndfileAudioReader& operator=(const SndfileAudioReader&) = delete;

    int Channels() const override { return info.channels; }
    double Rate() const override { return info.samplerate; }
    long long Frames() const override { return info.frames; }
    bool KnowsRate() const override { return true; }
    long long Read(float* out, long long frames, std::string& error) override;

  private:
    SndfileAudioReader() = default;
    std::string path;
    SNDFILE* file = nullptr;
    SF_INFO info{};
};
} // namespace tpm
