// The two codecs behind AudioFile: raw float32 everywhere, libsndfile where the build has it.
#pragma once

#include "tools/hostkit/AudioFile.h"

bool ReadRawAudio(const std::string& path, int channels, double rate, AudioData& out, std::string& error);
bool WriteRawAudio(const std::string& path, const AudioData& audio, std::string& error);
