// Headerless little-endian float32 audio, read in blocks.
#pragma once

#include "tools/hostkit/AudioReader.h"

#include <cstdio>

namespace tpm
{
class RawAudioReader : public AudioReader
{
  public:
    static std::unique_ptr<AudioReader> Open(const std::string& path, int channels, double rate,
                                             std::string& error);
    ~RawAudioReader() override;
    RawAudioReader(const RawAudioReader&) = delete;
    RawAudioReader& operator=(const RawAudioReader&) = delete;

    int Channels() const override { return channels; }
    double Rate() const override { return rate; }
    long long Frames() const override { return frames; }
    bool KnowsRate() const override { return false; }
    long long Read(float* out, long long count, std::string& error) override;

  private:
    RawAudioReader() = default;
    std::string path;
    std::FILE* file = nullptr;
    int channels = 1;
    double rate = 0.0;
    long long frames = 0;
    long long framesLeft = 0;
};
} // namespace tpm
