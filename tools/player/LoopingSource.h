// An input file as an endless stereo stream: mono goes to both ears, channels past the second are
// left out, and the file starts again at its end. A short file is kept in memory once it has been
// read through; a long one is opened again at each end, so memory stays small whatever its length.
#pragma once

#include "tools/hostkit/AudioReader.h"

#include <vector>

namespace tpm
{
class LoopingSource final : public AudioReader
{
  public:
    // Opens the file; a headerless raw file is taken to be stereo, at the rate given to AssumeRate.
    static std::unique_ptr<LoopingSource> Open(const std::string& path, std::string& error);

    // The rate of a file that does not say its own.
    void AssumeRate(double deviceRate);

    int Channels() const override { return 2; }
    double Rate() const override { return rate; }
    long long Frames() const override { return fileFrames; } // one pass through the file
    bool KnowsRate() const override { return knowsRate; }
    // Always `frames` frames, unless reading fails.
    long long Read(float* out, long long frames, std::string& error) override;

  private:
    LoopingSource() = default;
    // The next frames of the file itself into `out`, as stereo; 0 at its end.
    long long ReadFile(float* out, long long frames, std::string& error);
    bool Reopen(std::string& error);

    std::string path;
    std::unique_ptr<AudioReader> file;
    int fileChannels = 2;
    long long fileFrames = 0;
    double rate = 0.0;
    bool knowsRate = false;
    std::vector<float> block; // one read of the file, in its own channels
    bool keeping = false;     // the file is short enough to keep
    std::vector<float> kept;  // the whole file as stereo, once read through
    std::size_t keptCursor = 0;
};
} // namespace tpm
