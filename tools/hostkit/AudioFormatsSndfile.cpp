// Audio files where the build has libsndfile: WAV and FLAC (and whatever else libsndfile reads)
// besides raw float32, with input rates converted through libsoxr.
#include "tools/hostkit/RawAudioReader.h"
#include "tools/hostkit/RawAudioWriter.h"
#include "tools/hostkit/ResamplingReader.h"
#include "tools/hostkit/SndfileAudioReader.h"
#include "tools/hostkit/SndfileAudioWriter.h"

#include <cmath>

namespace tpm
{
namespace
{
constexpr double kFlacMaxRate = 655350.0;
constexpr int kFlacMaxChannels = 8;
// A RIFF file counts its bytes in 32 bits; leave room for the header.
constexpr long long kWavMaxDataBytes = 0xFFFFFFFFLL - 4096;

std::string ExtensionOf(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    std::string extension =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension;
}
} // namespace

std::unique_ptr<AudioReader> OpenAudioReader(const std::string& path, int rawChannels, double rawRate,
                                             std::string& error)
{
    if (IsRawAudioPath(path))
        return RawAudioReader::Open(path, rawChannels, rawRate, error);
    return SndfileAudioReader::Open(path, error);
}

std::unique_ptr<AudioReader> ConvertRate(std::unique_ptr<AudioReader> reader, double rate, std::string& error)
{
    if (reader->Rate() == rate)
        return reader;
    return ResamplingReader::Create(std::move(reader), rate, error);
}

std::unique_ptr<AudioWriter> CreateAudioWriter(const std::string& path, int channels, double rate,
                                               long long frames, std::string& notice, std::string& error)
{
    if (IsRawAudioPath(path))
        return RawAudioWriter::Create(path, channels, error);
    const std::string extension = ExtensionOf(path);
    const std::string cannot = "cannot write '" + path + "': ";
    int format = 0;
    if (extension == "wav" || extension == "wave")
    {
        format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        if (frames * channels * static_cast<long long>(sizeof(float)) > kWavMaxDataBytes)
        {
            format = SF_FORMAT_RF64 | SF_FORMAT_FLOAT;
            notice = "'" + path + "' is written as RF64: a WAV file holds at most 4 GiB";
        }
    }
    else if (extension == "flac")
    {
        format = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
        if (rate > kFlacMaxRate || channels > kFlacMaxChannels)
        {
            error = cannot + "FLAC holds at most 8 channels at up to 655350 Hz";
            return nullptr;
        }
    }
    else
    {
        error = cannot + "write .wav, .flac, or raw float32 (.f32 or .raw)";
        return nullptr;
    }
    if (rate != std::floor(rate))
    {
        error = cannot + "the rate must be a whole number of Hz for this format";
        return nullptr;
    }
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = static_cast<int>(rate);
    info.format = format;
    if (!sf_format_check(&info))
    {
        error = cannot + "the format cannot hold " + std::to_string(channels) + " channel(s) at " +
                std::to_string(info.samplerate) + " Hz";
        return nullptr;
    }
    return SndfileAudioWriter::Create(path, format, channels, info.samplerate, error);
}
} // namespace tpm
