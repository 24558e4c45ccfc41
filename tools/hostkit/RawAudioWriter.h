// Headerless little-endian float32 audio, the one format every build of the tool writes.
#pragma once

#include "tools/hostkit/AudioWriter.h"
#include "tools/hostkit/ReplacingFile.h"

#include <vector>

namespace tpm
{
class RawAudioWriter : public AudioWriter
{
  public:
    static std::unique_ptr<AudioWriter> Create(const std::string& path, int channels, std::string& error);

    bool Write(const float* interleaved, long long frames, std::string& error) override;
    bool Finish(std::string& error) override;

  private:
    RawAudioWriter() = default;
    bool Flush(std::string& error);

    ReplacingFile file;
    int channels = 1;
    std::vector<char> buffer; // collects small blocks into fewer, larger writes
};
} // namespace tpm
