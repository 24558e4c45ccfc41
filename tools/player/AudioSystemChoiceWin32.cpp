#include "tools/player/AudioSystemChoice.h"

// The codec header first: after the audio client's headers its media types clash with theirs.
#include <windows.h>
#include <wmcodecdsp.h>

#include <audioclient.h>
#include <mmdeviceapi.h>

namespace tpm
{
namespace
{
template <typename Interface> void Release(Interface*& pointer)
{
    if (pointer)
        pointer->Release();
    pointer = nullptr;
}

// Makes the resampler as RtAudio's WASAPI thread does.
bool ResamplerAvailable()
{
    IUnknown* resampler = nullptr;
    const HRESULT made = CoCreateInstance(CLSID_CResamplerMediaObject, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IUnknown, reinterpret_cast<void**>(&resampler));
    const bool available = SUCCEEDED(made) && resampler;
    Release(resampler);
    return available;
}

// RtAudio's WASAPI thread sizes its stream from the shared-mode engine period of any client that
// offers IAudioClient3, and gives up when asking fails (Wine offers the interface without the call).
// Asked of the default output; true where there is none to ask.
bool EnginePeriodAvailable()
{
    IMMDeviceEnumerator* devices = nullptr;
    IMMDevice* device = nullptr;
    IAudioClient* client = nullptr;
    IAudioClient3* client3 = nullptr;
    WAVEFORMATEX* format = nullptr;
    bool available = true;
    if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                   __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&devices))) &&
        SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device)) &&
        SUCCEEDED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                   reinterpret_cast<void**>(&client))) &&
        SUCCEEDED(client->QueryInterface(__uuidof(IAudioClient3), reinterpret_cast<void**>(&client3))) &&
        SUCCEEDED(client->GetMixFormat(&format)))
    {
        UINT32 defaultPeriod = 0, fundamentalPeriod = 0, minimumPeriod = 0, maximumPeriod = 0;
        available = SUCCEEDED(client3->GetSharedModeEnginePeriod(format, &defaultPeriod, &fundamentalPeriod,
                                                                 &minimumPeriod, &maximumPeriod));
    }
    CoTaskMemFree(format);
    Release(client3);
    Release(client);
    Release(device);
    Release(devices);
    return available;
}
} // namespace

RtAudio::Api ChooseAudioSystem(std::string& note)
{
    // In an apartment of the kind RtAudio's threads use.
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!ResamplerAvailable())
        note = "WASAPI needs Media Foundation's audio resampler, which this system lacks; using DirectSound";
    else if (!EnginePeriodAvailable())
        note = "this system's WASAPI does not tell its engine period, which RtAudio needs; using DirectSound";
    if (SUCCEEDED(initialised))
        CoUninitialize();
    // Else WASAPI where it has devices, else DirectSound.
    return note.empty() ? RtAudio::UNSPECIFIED : RtAudio::WINDOWS_DS;
}
} // namespace tpm
