// A destination for interleaved float audio, written block by block. Nothing replaces the target
// until Finish succeeds; a writer destroyed before that leaves the old file untouched.
#pragma once

#include <memory>
#include <string>

namespace tpm
{
class AudioWriter
{
  public:
    virtual ~AudioWriter() = default;
    virtual bool Write(const float* interleaved, long long frames, std::string& error) = 0;
    // Completes the file and puts it in place of the target.
    virtual bool Finish(std::string& error) = 0;
    // Formats of whole numbers cannot hold samples beyond full scale: those are clipped and counted.
    long long ClippedSamples() const { return clipped; }
    float Peak() const { return peak; }

  protected:
    long long clipped = 0;
    float peak = 0.0f;
};

// Checks the name, format, rate and channel count and opens the file, before any rendering. `frames`
// is the expected length, so a format can be chosen that holds it; `notice` says when one was.
std::unique_ptr<AudioWriter> CreateAudioWriter(const std::string& path, int channels, double rate,
                                               long long frames, std::string& notice, std::string& error);
} // namespace tpm
