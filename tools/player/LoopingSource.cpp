#include "tools/player/LoopingSource.h"

#include <algorithm>

namespace tpm
{
namespace
{
constexpr long long kKeepFrames = 1 << 18; // about 6 s at 44.1 kHz, 2 MB as stereo floats
constexpr long long kBlockFrames = 4096;
} // namespace

std::unique_ptr<LoopingSource> LoopingSource::Open(const std::string& path, std::string& error)
{
    std::unique_ptr<LoopingSource> source(new LoopingSource);
    source->file = OpenAudioReader(path, 2, 0.0, error);
    if (!source->file)
        return nullptr;
    if (source->file->Frames() <= 0)
    {
        error = "input '" + path + "' holds no audio";
        return nullptr;
    }
    source->path = path;
    source->fileChannels = source->file->Channels();
    source->fileFrames = source->file->Frames();
    source->knowsRate = source->file->KnowsRate();
    source->rate = source->knowsRate ? source->file->Rate() : 0.0;
    source->block.resize(static_cast<std::size_t>(kBlockFrames * source->fileChannels));
    source->keeping = source->fileFrames <= kKeepFrames;
    if (source->keeping)
        source->kept.reserve(static_cast<std::size_t>(source->fileFrames) * 2);
    return source;
}

void LoopingSource::AssumeRate(double deviceRate)
{
    if (!knowsRate)
        rate = deviceRate;
}

long long LoopingSource::Read(float* out, long long frames, std::string& error)
{
    long long done = 0;
    bool endedEmpty = false; // an end with nothing read since the last: the file is empty now
    while (done < frames)
    {
        if (!file)
        {
            const std::size_t take =
                std::min(static_cast<std::size_t>(frames - done), kept.size() / 2 - keptCursor);
            std::copy_n(kept.begin() + static_cast<std::ptrdiff_t>(2 * keptCursor), 2 * take, out + 2 * done);
            keptCursor = (keptCursor + take) % (kept.size() / 2);
            done += static_cast<long long>(take);
            continue;
        }
        const long long got = ReadFile(out + 2 * done, frames - done, error);
        if (got < 0)
            return -1;
        if (got > 0)
        {
            if (keeping && kept.size() / 2 + static_cast<std::size_t>(got) > kKeepFrames)
            {
                keeping = false; // the file grew since it was opened
                kept = std::vector<float>();
            }
            if (keeping)
                kept.insert(kept.end(), out + 2 * done, out + 2 * (done + got));
            done += got;
            endedEmpty = false;
            continue;
        }
        if (endedEmpty)
        {
            error = "input '" + path + "' holds no audio any more";
            return -1;
        }
        endedEmpty = true;
        if (keeping && !kept.empty())
            file.reset();
        else if (!Reopen(error))
            return -1;
    }
    return done;
}

long long LoopingSource::ReadFile(float* out, long long frames, std::string& error)
{
    const long long got = file->Read(block.data(), std::min(frames, kBlockFrames), error);
    const auto channels = static_cast<std::size_t>(fileChannels);
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::max(got, 0LL)); ++i)
    {
        out[2 * i] = block[i * channels];
        out[2 * i + 1] = block[i * channels + (channels > 1 ? 1 : 0)];
    }
    return got;
}

bool LoopingSource::Reopen(std::string& error)
{
    file = OpenAudioReader(path, 2, rate, error);
    if (file && file->Channels() != fileChannels)
    {
        error = "input '" + path + "' changed while playing";
        file.reset();
    }
    return file != nullptr;
}
} // namespace tpm
