// Reading and writing audio for the host tool: interleaved float samples. Files ending in .f32 or
// .raw are headerless little-endian float32; other names go through libsndfile where it exists.
#pragma once

#include <string>
#include <vector>

struct AudioData
{
    int channels = 0;
    double sampleRate = 0.0;
    std::vector<float> samples; // interleaved
    long long Frames() const { return channels > 0 ? static_cast<long long>(samples.size()) / channels : 0; }
};

bool IsRawAudioPath(const std::string& path);
// Raw files need the channel count and rate from the caller.
bool ReadAudioFile(const std::string& path, int rawChannels, double rawRate, AudioData& out,
                   std::string& error);
// Whether this build can write a file of that name's format; the reason in `error` when not.
bool CanWriteAudioPath(const std::string& path, std::string& error);
bool WriteAudioFile(const std::string& path, const AudioData& audio, std::string& error);
