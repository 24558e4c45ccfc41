// WAV (32-bit float) and FLAC (24-bit) files through libsndfile, written in blocks into a
// ReplacingFile so the target changes only when the file is complete.
#pragma once

#include "tools/hostkit/AudioWriter.h"
#include "tools/hostkit/ReplacingFile.h"

#include <sndfile.h>
#include <vector>

namespace tpm
{
class SndfileAudioWriter : public AudioWriter
{
  public:
    // `format` is a libsndfile major and minor format; the caller has checked it against the rate.
    static std::unique_ptr<AudioWriter> Create(const std::string& path, int format, int channels, int rate,
                                               std::string& error);
    ~SndfileAudioWriter() override;
    SndfileAudioWriter(const SndfileAudioWriter&) = delete;
    SndfileAudioWriter& operator=(const SndfileAudioWriter&) = delete;

    bool Write(const float* interleaved, long long frames, std::string& error) override;
    bool Finish(std::string& error) override;

  private:
    SndfileAudioWriter() = default;

    ReplacingFile file;
    SNDFILE* sound = nullptr;
    int channels = 1;
    bool wholeNumbers = false; // an integer format: clip to full scale first
    std::vector<float> clippedCopy;
};
} // namespace tpm
