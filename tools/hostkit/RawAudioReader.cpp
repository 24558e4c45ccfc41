#include "tools/hostkit/RawAudioReader.h"

#include "tools/hostkit/HostPlatform.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

bool IsRawAudioPath(const std::string& path)
{
    auto endsWith = [&](const char* suffix) {
        const std::string s(suffix);
        return path.size() >= s.size() && path.compare(path.size() - s.size(), s.size(), s) == 0;
    };
    return endsWith(".f32") || endsWith(".raw");
}

std::unique_ptr<AudioReader> RawAudioReader::Open(const std::string& path, int channels, double rate,
                                                  std::string& error)
{
    const std::string systemPath = SystemFilePath(path);
    std::unique_ptr<RawAudioReader> reader(new RawAudioReader);
    reader->file = std::fopen(systemPath.c_str(), "rb");
    if (!reader->file)
    {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return nullptr;
    }
    std::error_code failure;
    const auto bytes = std::filesystem::file_size(systemPath, failure);
    if (failure)
    {
        error = "cannot read '" + path + "': " + failure.message();
        return nullptr;
    }
    reader->path = path;
    reader->channels = channels;
    reader->rate = rate;
    // A trailing partial frame is not audio.
    reader->frames = static_cast<long long>(bytes / sizeof(float) / static_cast<unsigned>(channels));
    reader->framesLeft = reader->frames;
    return reader;
}

RawAudioReader::~RawAudioReader()
{
    if (file)
        std::fclose(file);
}

long long RawAudioReader::Read(float* out, long long count, std::string& error)
{
    const long long want = count < framesLeft ? count : framesLeft;
    if (want <= 0)
        return 0;
    const std::size_t samples = static_cast<std::size_t>(want) * static_cast<std::size_t>(channels);
    if (std::fread(out, sizeof(float), samples, file) != samples)
    {
        error =
            "cannot read '" + path + "': " + (std::ferror(file) ? std::strerror(errno) : "it got shorter");
        return -1;
    }
    framesLeft -= want;
    return want;
}
