// Builds without libsndfile read and write raw float32 only, and so never need to convert rates:
// a raw file's rate is whatever the caller says it is.
#include "tools/hostkit/RawAudioReader.h"
#include "tools/hostkit/RawAudioWriter.h"

namespace tpm
{
std::unique_ptr<AudioReader> OpenAudioReader(const std::string& path, int rawChannels, double rawRate,
                                             std::string& error)
{
    if (!IsRawAudioPath(path))
    {
        error = "cannot read '" + path + "': this build reads raw float32 files only (.f32 or .raw)";
        return nullptr;
    }
    return RawAudioReader::Open(path, rawChannels, rawRate, error);
}

std::unique_ptr<AudioReader> ConvertRate(std::unique_ptr<AudioReader> reader, double rate, std::string& error)
{
    if (reader->Rate() == rate)
        return reader;
    error = "this build cannot convert sample rates";
    return nullptr;
}

std::unique_ptr<AudioWriter> CreateAudioWriter(const std::string& path, int channels, double, long long,
                                               std::string&, std::string& error)
{
    if (!IsRawAudioPath(path))
    {
        error = "cannot write '" + path + "': this build writes raw float32 files only (.f32 or .raw)";
        return nullptr;
    }
    return RawAudioWriter::Create(path, channels, error);
}
} // namespace tpm
