#include "tools/hostkit/RawAudioReader.h"

#include "tools/hostkit/HostPlatform.h"

#include <cerrno>
#include <cstring>

namespace tpm
{
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
    std::unique_ptr<RawAudioReader> reader(new RawAudioReader);
    reader->file = OpenSystemFile(path, "rb");
    if (!reader->file)
    {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return nullptr;
    }
    const long long bytes = PlainFileSize(reader->file);
    if (bytes < 0)
    {
        error =
            "cannot read '" + path + "': " + (IsFolder(path) ? "it is a folder" : "it is not a plain file");
        return nullptr;
    }
    // Raw audio holds whole 4-byte samples; anything else is a damaged or a different file.
    if (bytes % static_cast<long long>(sizeof(float)) != 0)
    {
        error = "'" + path + "' is " + std::to_string(bytes) +
                " bytes long, not a whole number of 4-byte float samples";
        return nullptr;
    }
    reader->path = path;
    reader->channels = channels;
    reader->rate = rate;
    // A trailing partial frame is not audio.
    reader->frames = bytes / static_cast<long long>(sizeof(float)) / channels;
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
} // namespace tpm
