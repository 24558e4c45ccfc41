#include "tools/player/AudioDevice.h"

#include "tools/player/AudioSystemChoice.h"
#include "tools/player/PlaybackRenderer.h"
#include "tools/player/StderrSilencer.h"

#include <RtAudio.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace tpm
{
namespace
{
constexpr unsigned kFallbackRate = 48000;
constexpr long long kMaxPlayOutMs = 250; // the longest a stop waits for queued sound to be heard

// RtAudio reports stream failures (a JACK server going away) from its own threads.
std::atomic<bool> backendFailed{false};

void OnBackendError(RtAudioError::Type type, const std::string& /*text*/)
{
    if (type != RtAudioError::WARNING && type != RtAudioError::DEBUG_WARNING)
        backendFailed.store(true);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Info(RtAudio& audio, unsigned index, RtAudio::DeviceInfo& info)
{
    try
    {
        info = audio.getDeviceInfo(index);
        return info.probed;
    }
    catch (const RtAudioError&)
    {
        return false;
    }
}
} // namespace

std::unique_ptr<AudioDevice> AudioDevice::Create(std::string& error)
{
    std::unique_ptr<AudioDevice> device(new AudioDevice);
    StderrSilencer quiet;
    try
    {
        device->audio = std::make_unique<RtAudio>(ChooseAudioSystem(device->systemNote));
        device->audio->showWarnings(false);
    }
    catch (const RtAudioError& e)
    {
        error = std::string("no audio system: ") + e.what();
        return nullptr;
    }
    return device;
}

AudioDevice::~AudioDevice()
{
    Stop();
    StderrSilencer quiet;
    if (audio && audio->isStreamOpen())
        audio->closeStream();
    audio.reset();
}

std::string AudioDevice::System() const
{
    return RtAudio::getApiDisplayName(audio->getCurrentApi());
}

bool AudioDevice::Describe(std::vector<std::string>& lines, std::string& error)
{
    StderrSilencer quiet;
    const unsigned count = audio->getDeviceCount();
    if (count == 0)
    {
        error = "no audio device found";
        return false;
    }
    for (unsigned i = 0; i < count; ++i)
    {
        RtAudio::DeviceInfo info;
        if (!Info(*audio, i, info))
        {
            lines.push_back(std::to_string(i) + ": (cannot be probed)");
            continue;
        }
        std::string line = std::to_string(i) + ": " + info.name + " (" + std::to_string(info.outputChannels) +
                           " out, " + std::to_string(info.inputChannels) + " in, " +
                           std::to_string(info.preferredSampleRate) + " Hz)";
        if (info.isDefaultOutput)
            line += " default output";
        if (info.isDefaultInput)
            line += " default input";
        lines.push_back(line);
    }
    return true;
}

bool AudioDevice::FindDevice(const std::string& wanted, unsigned& index, std::string& error)
{
    const unsigned count = audio->getDeviceCount();
    if (count == 0)
    {
        error = "no audio device found";
        return false;
    }
    if (wanted.empty())
    {
        index = std::min(audio->getDefaultOutputDevice(), count - 1);
        return true;
    }
    char* end = nullptr;
    const long number = std::strtol(wanted.c_str(), &end, 10);
    if (*end == '\0')
    {
        if (number < 0 || number >= static_cast<long>(count))
        {
            error = "no audio device " + wanted + " (there are " + std::to_string(count) +
                    "; see --list-devices)";
            return false;
        }
        index = static_cast<unsigned>(number);
        return true;
    }
    // The exact name first, else the one device whose name contains the text in any case.
    int found = -1, matches = 0;
    for (unsigned i = 0; i < count; ++i)
    {
        RtAudio::DeviceInfo info;
        if (!Info(*audio, i, info))
            continue;
        if (info.name == wanted)
        {
            index = i;
            return true;
        }
        if (Lower(info.name).find(Lower(wanted)) != std::string::npos)
        {
            found = static_cast<int>(i);
            ++matches;
        }
    }
    if (matches == 1)
    {
        index = static_cast<unsigned>(found);
        return true;
    }
    error = (matches == 0 ? "no audio device named '" : "more than one audio device matches '") + wanted +
            "' (see --list-devices)";
    return false;
}

bool AudioDevice::Open(const DeviceRequest& request, std::string& error)
{
    StderrSilencer quiet;
    unsigned index = 0;
    if (!FindDevice(request.device, index, error))
        return false;
    RtAudio::DeviceInfo info;
    if (!Info(*audio, index, info))
    {
        error = "audio device " + std::to_string(index) + " cannot be opened";
        return false;
    }
    name = info.name;
    if (info.outputChannels < 2)
    {
        error = "audio device '" + name + "' has no stereo output";
        return false;
    }
    RtAudio::StreamParameters output;
    output.deviceId = index;
    output.nChannels = 2;
    RtAudio::StreamParameters input;
    if (request.liveInput)
    {
        // The output device's own input where it has one, else the system's default input.
        RtAudio::DeviceInfo inputInfo = info;
        input.deviceId = index;
        if (info.inputChannels == 0)
        {
            input.deviceId = audio->getDefaultInputDevice();
            if (!Info(*audio, input.deviceId, inputInfo) || inputInfo.inputChannels == 0)
            {
                error = "no audio input for --live-input";
                return false;
            }
        }
        input.nChannels = std::min(2U, inputInfo.inputChannels);
        inputChannels = static_cast<int>(input.nChannels);
    }
    rate = request.rate ? request.rate : info.preferredSampleRate ? info.preferredSampleRate : kFallbackRate;
    bufferFrames = request.bufferFrames;
    RtAudio::StreamOptions options;
    options.streamName = "vsthost";
    options.flags = RTAUDIO_SCHEDULE_REALTIME;
    try
    {
        audio->openStream(&output, request.liveInput ? &input : nullptr, RTAUDIO_FLOAT32, rate, &bufferFrames,
                          &AudioDevice::Callback, this, &options, &OnBackendError);
    }
    catch (const RtAudioError& e)
    {
        error = "cannot open audio device '" + name + "': " + e.what();
        return false;
    }
    if (!audio->isStreamOpen())
    {
        error = "cannot open audio device '" + name + "'";
        return false;
    }
    rate = audio->getStreamSampleRate();
    return true;
}

bool AudioDevice::Start(PlaybackRenderer& target, std::string& error)
{
    StderrSilencer quiet;
    renderer = &target;
    backendFailed.store(false);
    try
    {
        audio->startStream();
    }
    catch (const RtAudioError& e)
    {
        error = "cannot start audio device '" + name + "': " + e.what();
        return false;
    }
    return true;
}

void AudioDevice::Stop()
{
    StderrSilencer quiet;
    try
    {
        if (!audio || !audio->isStreamRunning())
            return;
        // The renderer has faded to silence by now: let what the device still holds play out, then
        // drop the rest. Not stopStream: its JACK drain waits for one wake-up from the callback,
        // which is lost when it comes before the wait, and then never returns.
        const long long queued = std::max(0L, audio->getStreamLatency()) + 2LL * bufferFrames;
        const long long playOutMs = std::min(kMaxPlayOutMs, 1000LL * queued / static_cast<long long>(rate));
        std::this_thread::sleep_for(std::chrono::milliseconds(playOutMs));
        audio->abortStream();
    }
    catch (const RtAudioError&)
    {
        // Stopping a stream whose backend already went away: nothing more to do.
    }
}

bool AudioDevice::Running()
{
    return !backendFailed.load() && audio->isStreamRunning();
}

int AudioDevice::Callback(void* output, void* input, unsigned frames, double /*streamTime*/, unsigned status,
                          void* user)
{
    auto* self = static_cast<AudioDevice*>(user);
    auto* out = static_cast<float*>(output);
    if (!self->renderer)
    {
        std::memset(out, 0, sizeof(float) * 2 * frames);
        return 0;
    }
    self->renderer->Render(out, static_cast<const float*>(input), static_cast<int>(frames),
                           (status & RTAUDIO_OUTPUT_UNDERFLOW) != 0);
    return 0;
}
} // namespace tpm
