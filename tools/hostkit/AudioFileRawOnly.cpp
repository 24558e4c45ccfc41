// Builds without libsndfile read and write raw float32 only.
#include "tools/hostkit/AudioFile.h"
#include "tools/hostkit/AudioFileCodec.h"

bool ReadAudioFile(const std::string& path, int rawChannels, double rawRate, AudioData& out,
                   std::string& error)
{
    if (!IsRawAudioPath(path))
    {
        error = "'" + path + "': this build reads raw float32 files only (.f32 or .raw)";
        return false;
    }
    return ReadRawAudio(path, rawChannels, rawRate, out, error);
}

bool CanWriteAudioPath(const std::string& path, std::string& error)
{
    if (IsRawAudioPath(path))
        return true;
    error = "'" + path + "': this build writes raw float32 files only (.f32 or .raw)";
    return false;
}

bool WriteAudioFile(const std::string& path, const AudioData& audio, std::string& error)
{
    return CanWriteAudioPath(path, error) && WriteRawAudio(path, audio, error);
}
