// Audio files through libsndfile (WAV, FLAC, ...), chosen by the file name's extension.
#include "tools/hostkit/AudioFile.h"
#include "tools/hostkit/AudioFileCodec.h"

#include <sndfile.h>

bool ReadAudioFile(const std::string& path, int rawChannels, double rawRate, AudioData& out,
                   std::string& error)
{
    if (IsRawAudioPath(path))
        return ReadRawAudio(path, rawChannels, rawRate, out, error);
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
    {
        error = "cannot read '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    out = AudioData{};
    out.channels = info.channels;
    out.sampleRate = info.samplerate;
    out.samples.resize(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t got = sf_readf_float(file, out.samples.data(), info.frames);
    out.samples.resize(static_cast<std::size_t>(got) * static_cast<std::size_t>(info.channels));
    sf_close(file);
    return true;
}

namespace
{
// The libsndfile format a file name asks for: float WAV or 24-bit FLAC; 0 for anything else.
int FormatOfPath(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == "wav" || extension == "wave")
        return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    if (extension == "flac")
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    return 0;
}
} // namespace

bool CanWriteAudioPath(const std::string& path, std::string& error)
{
    if (IsRawAudioPath(path) || FormatOfPath(path) != 0)
        return true;
    error = "'" + path + "': write .wav, .flac, or raw float32 (.f32 or .raw)";
    return false;
}

bool WriteAudioFile(const std::string& path, const AudioData& audio, std::string& error)
{
    if (IsRawAudioPath(path))
        return WriteRawAudio(path, audio, error);
    if (!CanWriteAudioPath(path, error))
        return false;
    SF_INFO info{};
    info.channels = audio.channels;
    info.samplerate = static_cast<int>(audio.sampleRate);
    info.format = FormatOfPath(path);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
    {
        error = "cannot write '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    const sf_count_t frames = audio.Frames();
    const bool ok = sf_writef_float(file, audio.samples.data(), frames) == frames;
    sf_close(file);
    if (!ok)
        error = "cannot write all of '" + path + "'";
    return ok;
}
