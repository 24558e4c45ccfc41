// Headerless float32 audio, the one format every build of the tool reads and writes.
#include "tools/hostkit/AudioFile.h"
#include "tools/hostkit/AudioFileCodec.h"

#include <cstdio>
#include <memory>

bool IsRawAudioPath(const std::string& path)
{
    auto endsWith = [&](const char* suffix) {
        const std::string s(suffix);
        return path.size() >= s.size() && path.compare(path.size() - s.size(), s.size(), s) == 0;
    };
    return endsWith(".f32") || endsWith(".raw");
}

bool ReadRawAudio(const std::string& path, int channels, double rate, AudioData& out, std::string& error)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
    {
        error = "cannot open '" + path + "' for reading";
        return false;
    }
    out = AudioData{};
    out.channels = channels;
    out.sampleRate = rate;
    float buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, sizeof(float), 4096, file.get())) > 0)
        out.samples.insert(out.samples.end(), buffer, buffer + n);
    out.samples.resize(out.samples.size() / static_cast<std::size_t>(channels) *
                       static_cast<std::size_t>(channels));
    return true;
}

bool WriteRawAudio(const std::string& path, const AudioData& audio, std::string& error)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file || std::fwrite(audio.samples.data(), sizeof(float), audio.samples.size(), file.get()) !=
                     audio.samples.size())
    {
        error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}
