// The system's audio device through RtAudio (JACK, ALSA or PulseAudio, whichever has devices; WASAPI
// or DirectSound on Windows):
// lists the devices, opens a stereo output stream (with the device's input for live input) and
// drives a PlaybackRenderer from its callback. Failures come back as one-line texts.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class RtAudio;

namespace tpm
{
class PlaybackRenderer;
struct DeviceRequest
{
    std::string device; // name or index; empty for the default output
    unsigned rate = 0;  // 0: the device's preferred rate
    unsigned bufferFrames = 256;
    bool liveInput = false;
};

class AudioDevice
{
  public:
    static std::unique_ptr<AudioDevice> Create(std::string& error);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // One line per device: index, name, channels, preferred rate, default marks.
    bool Describe(std::vector<std::string>& lines, std::string& error);
    bool Open(const DeviceRequest& request, std::string& error);
    // The renderer must outlive the stream; Stop (or destruction) ends the calls into it.
    bool Start(PlaybackRenderer& renderer, std::string& error);
    void Stop();
    // False once the stream stopped or the backend reported an error.
    bool Running();

    const std::string& Name() const { return name; }
    std::string System() const;
    // Why the system is not the one RtAudio would pick itself; empty when it is.
    const std::string& SystemNote() const { return systemNote; }
    unsigned Rate() const { return rate; }
    unsigned BufferFrames() const { return bufferFrames; }
    int InputChannels() const { return inputChannels; }

  private:
    AudioDevice() = default;
    bool FindDevice(const std::string& wanted, unsigned& index, std::string& error);
    static int Callback(void* output, void* input, unsigned frames, double streamTime, unsigned status,
                        void* user);

    std::unique_ptr<RtAudio> audio;
    PlaybackRenderer* renderer = nullptr;
    std::string name;
    std::string systemNote;
    unsigned rate = 0;
    unsigned bufferFrames = 0;
    int inputChannels = 0;
};
} // namespace tpm
