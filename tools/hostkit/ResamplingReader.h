// Another reader's audio at a different sample rate, converted block by block with libsoxr.
#pragma once

#include "tools/hostkit/AudioReader.h"

#include <soxr.h>
#include <vector>

namespace tpm
{
class ResamplingReader : public AudioReader
{
  public:
    static std::unique_ptr<AudioReader> Create(std::unique_ptr<AudioReader> source, double rate,
                                               std::string& error);
    ~ResamplingReader() override;
    ResamplingReader(const ResamplingReader&) = delete;
    ResamplingReader& operator=(const ResamplingReader&) = delete;

    int Channels() const override { return source->Channels(); }
    double Rate() const override { return rate; }
    long long Frames() const override;
    bool KnowsRate() const override { return true; }
    long long Read(float* out, long long frames, std::string& error) override;

  private:
    ResamplingReader() = default;

    std::unique_ptr<AudioReader> source;
    double rate = 0.0;
    soxr_t converter = nullptr;
    std::vector<float> pending; // source frames read but not yet taken by the converter
    std::size_t pendingStart = 0;
    bool sourceEnded = false;
};
} // namespace tpm
