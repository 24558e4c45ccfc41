#include "tools/player/AudioSystemChoice.h"

#include <objbase.h>
#include <windows.h>
#include <wmcodecdsp.h>

namespace
{
// Makes the resampler as RtAudio's WASAPI thread does, in an apartment of the same kind.
bool ResamplerAvailable()
{
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IUnknown* resampler = nullptr;
    const HRESULT made = CoCreateInstance(CLSID_CResamplerMediaObject, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IUnknown, reinterpret_cast<void**>(&resampler));
    const bool available = SUCCEEDED(made) && resampler;
    if (resampler)
        resampler->Release();
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return available;
}
} // namespace

RtAudio::Api ChooseAudioSystem(std::string& note)
{
    if (ResamplerAvailable())
        return RtAudio::UNSPECIFIED; // WASAPI where it has devices, else DirectSound
    note = "WASAPI needs Media Foundation's audio resampler, which this system lacks; using DirectSound";
    return RtAudio::WINDOWS_DS;
}
