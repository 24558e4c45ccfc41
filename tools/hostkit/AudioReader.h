// A source of interleaved float audio, read block by block so that no render holds a whole file.
#pragma once

#include <memory>
#include <string>

namespace tpm
{
class AudioReader
{
  public:
    virtual ~AudioReader() = default;
    virtual int Channels() const = 0;
    virtual double Rate() const = 0;
    // How many frames the source holds.
    virtual long long Frames() const = 0;
    // Whether the file itself says its rate (headerless raw files do not).
    virtual bool KnowsRate() const = 0;
    // Reads up to `frames` frames into `out`; answers how many, 0 at the end, -1 with `error`.
    virtual long long Read(float* out, long long frames, std::string& error) = 0;
};

bool IsRawAudioPath(const std::string& path);
// Opens a file for reading; raw float32 files take their channel count and rate from the caller.
std::unique_ptr<AudioReader> OpenAudioReader(const std::string& path, int rawChannels, double rawRate,
                                             std::string& error);
// The same audio at `rate`: the reader itself when the rates agree, else a converting reader.
// Null with a reason where this build cannot convert rates.
std::unique_ptr<AudioReader> ConvertRate(std::unique_ptr<AudioReader> reader, double rate,
                                         std::string& error);
} // namespace tpm
