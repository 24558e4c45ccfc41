#include "lv2/Lv2TestHost.h"

#include "tools/hostkit/Lv2StateCalls.h"

#include <lv2/buf-size/buf-size.h>

#include <algorithm>

namespace tpm
{
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

void Lv2TestHost::QueueEditorScale(float scale)
{
    const LV2_URID key = Urid("https://www.twinpulsetonemix.org/plugins/twinPulseToneMix#editorScale");
    struct Message
    {
        LV2_Atom_Object object;
        LV2_Atom_Property_Body property;
        float scale;
    } message{{{sizeof(Message) - sizeof(LV2_Atom), Urid(LV2_ATOM__Object)}, {0, key}},
              {key, 0, {sizeof(float), Urid(LV2_ATOM__Float)}},
              scale};
    events.AddAtom(0, message.object.atom);
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
    uint32_t type = 0;
    return Lv2StateCalls::Save(StateInterface(), handle, out, type) && type == Urid(LV2_ATOM__Chunk);
}

LV2_State_Status Lv2TestHost::RestoreState(const std::vector<uint8_t>& data, bool asChunk)
{
    return Lv2StateCalls::Restore(StateInterface(), handle, data,
                                  Urid(asChunk ? LV2_ATOM__Chunk : LV2_ATOM__String));
}

const LV2_State_Interface* Lv2TestHost::StateInterface() const
{
    return static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
}
} // namespace tpm
