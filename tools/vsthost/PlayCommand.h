// vsthost play: the plug-in in real time through the system's audio, with its editor.
#pragma once

#include "tools/vsthost/Commands.h"

#include <string>
#include <vector>

namespace CLI
{
class App;
}

namespace tpm
{
struct PlayOptions
{
    std::string module;
    bool listDevices = false;
    std::string device;
    unsigned rate = 0; // 0: the device's own
    unsigned bufferFrames = 256;
    double tempo = 120.0;
    std::vector<std::string> params;
    int program = -1;
    std::string load;
    std::string input;
    bool liveInput = false;
    double sleepMinutes = -1.0; // < 0: until stopped
    bool noEditor = false;
    std::string schedule; // timed programs and ramps; its end ends playback
    double scale = 0.0;   // the editor's scale as the host gives it (0: the plug-in's choice)
};

// Adds the sub-command and its options to the tool's command line.
CLI::App* AddPlayCommand(CLI::App& app, PlayOptions& options);
int RunPlay(const PlayOptions& options, const CommonHostOptions& host);
} // namespace tpm
