#include "lv2/Lv2TestHost.h"

#include <lv2/buf-size/buf-size.h>

#include <algorithm>

namespace
{
const char* ModulePath()
{
    return TPM_LV2_BUNDLE "/twinPulseToneMix.so";
}
} // namespace

Lv2TestHost::Lv2TestHost(double rate, int maxBlock, bool withMap)
{
    library = ModuleLibrary::Open(ModulePath(), error, "lv2_descriptor");
    if (!library)
        return;
    const auto entry = reinterpret_cast<const LV2_Descriptor* (*)(uint32_t)>(library->EntrySymbol());
    descriptor = entry ? entry(0) : nullptr;
    if (!descriptor)
    {
        error = "no descriptor";
        return;
    }
    maxBlockValue = maxBlock;
    options[0] = {
        LV2_OPTIONS_INSTANCE, 0, Urid(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t), Urid(LV2_ATOM__Int),
        &maxBlockValue};
    const LV2_Feature mapFeature{LV2_URID__map, map.Feature()};
    const LV2_Feature optionsFeature{LV2_OPTIONS__options, options.data()};
    const LV2_Feature boundedFeature{LV2_BUF_SIZE__boundedBlockLength, nullptr};
    std::vector<const LV2_Feature*> features;
    if (withMap)
        features.push_back(&mapFeature);
    if (withMap && maxBlock > 0)
    {
        features.push_back(&optionsFeature);
        features.push_back(&boundedFeature);
    }
    features.push_back(nullptr);
    handle = descriptor->instantiate(descriptor, rate, TPM_LV2_BUNDLE "/", features.data());
    if (!handle)
    {
        error = "instantiate failed";
        return;
    }
    for (uint32_t p = 0; p < kPorts; ++p)
        ports[p].assign(1, 0.0f);
    for (uint32_t p = 0; p < kPorts; ++p)
        if (p != kEvents)
            descriptor->connect_port(handle, p, ports[p].data());
    descriptor->connect_port(handle, kEvents, withMap ? events.Buffer() : nullptr);
    // The defaults the TTL gives, as a host sets them.
    const float defaults[kControls] = {200,  4,  0, 100, 0, 0, 1000, 50,   0,  0, 1, 15,
                                       2000, 90, 0, 0,   0, 1, 15,   2000, 90, 0, 0};
    for (uint32_t p = 0; p < kControls; ++p)
        ports[p][0] = defaults[p];
    descriptor->activate(handle);
}

Lv2TestHost::~Lv2TestHost()
{
    if (handle)
    {
        descriptor->deactivate(handle);
        descriptor->cleanup(handle);
    }
}

void Lv2TestHost::QueuePosition(int64_t frame, float speed, float bpm, int64_t bar, float barBeat)
{
    Lv2Position position;
    position.speed = speed;
    position.beatsPerMinute = bpm;
    position.bar = bar;
    position.barBeat = barBeat;
    events.Add(frame, position);
}

void Lv2TestHost::Run(uint32_t frames, std::vector<float>* left, std::vector<float>* right)
{
    for (uint32_t p = kAudioIn; p < kAudioOut + 2; ++p)
    {
        ports[p].assign(std::max<uint32_t>(frames, 1), p < kAudioOut ? inputValue : 0.0f);
        descriptor->connect_port(handle, p, ports[p].data());
    }
    descriptor->run(handle, frames);
    events.Clear();
    if (left)
        left->insert(left->end(), ports[kAudioOut].begin(), ports[kAudioOut].begin() + frames);
    if (right)
        right->insert(right->end(), ports[kAudioOut + 1].begin(), ports[kAudioOut + 1].begin() + frames);
}

bool Lv2TestHost::SaveState(std::vector<uint8_t>& out)
{
    const auto* state =
        static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    if (!state)
        return false;
    const auto store = [](LV2_State_Handle self, uint32_t, const void* value, size_t size, uint32_t type,
                          uint32_t) -> LV2_State_Status {
        auto* host = static_cast<Lv2TestHost*>(self);
        const auto* bytes = static_cast<const uint8_t*>(value);
        host->stored.assign(bytes, bytes + size);
        host->storedType = type;
        return LV2_STATE_SUCCESS;
    };
    if (state->save(handle, store, this, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr) !=
            LV2_STATE_SUCCESS ||
        storedType != Urid(LV2_ATOM__Chunk))
        return false;
    out = stored;
    return true;
}

LV2_State_Status Lv2TestHost::RestoreState(const std::vector<uint8_t>& data, bool asChunk)
{
    const auto* state =
        static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    stored = data;
    storedType = asChunk ? Urid(LV2_ATOM__Chunk) : Urid(LV2_ATOM__String);
    const auto retrieve = [](LV2_State_Handle self, uint32_t, size_t* size, uint32_t* type,
                             uint32_t* flags) -> const void* {
        auto* host = static_cast<Lv2TestHost*>(self);
        *size = host->stored.size();
        *type = host->storedType;
        *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
        return host->stored.data();
    };
    return state->restore(handle, retrieve, this, 0, nullptr);
}
