#include "formats/lv2/Lv2Plugin.h"

#include "formats/lv2/Lv2Features.h"

#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace tpm
{
namespace
{

// The longest block the host promises (or, failing that, its usual one); 0 when it says nothing.
int BlockBound(const LV2_Options_Option* options, const LV2_URID_Map& map)
{
    if (!options)
        return 0;
    const LV2_URID intType = map.map(map.handle, LV2_ATOM__Int);
    const LV2_URID maxKey = map.map(map.handle, LV2_BUF_SIZE__maxBlockLength);
    const LV2_URID nominalKey = map.map(map.handle, LV2_BUF_SIZE__nominalBlockLength);
    int maxLength = 0;
    int nominal = 0;
    for (const LV2_Options_Option* o = options; o->key != 0; ++o)
    {
        if (o->type != intType || o->size < sizeof(int32_t) || !o->value)
            continue;
        const int32_t value = *static_cast<const int32_t*>(o->value);
        if (o->key == maxKey)
            maxLength = value;
        else if (o->key == nominalKey)
            nominal = value;
    }
    return maxLength > 0 ? maxLength : std::max(nominal, 0);
}
} // namespace

Lv2Plugin::Lv2Plugin(std::unique_ptr<PluginInstance> product, const LV2_URID_Map* map, double rate,
                     int frames)
    : instance(std::move(product)), transport(map), sampleRate(rate), maxFrames(frames)
{
    if (map)
    {
        chunkType = map->map(map->handle, LV2_ATOM__Chunk);
        bankKey = map->map(map->handle, lv2port::kBankUri);
        objectType = map->map(map->handle, LV2_ATOM__Object);
        floatType = map->map(map->handle, LV2_ATOM__Float);
        editorScaleKey = map->map(map->handle, lv2port::kEditorScaleUri);
    }
}

LV2_Handle Lv2Plugin::Instantiate(const LV2_Descriptor* descriptor, double rate, const char* bundlePath,
                                  const LV2_Feature* const* features)
{
    (void)descriptor;
    (void)bundlePath;
    // Hosts that offer no map (offline tools) still get the sound; only events and state need it.
    const auto* map = static_cast<const LV2_URID_Map*>(Lv2Features::Find(features, LV2_URID__map));
    if (map && !map->map)
        map = nullptr;
    if (!(rate > 0.0) || !std::isfinite(rate))
        return nullptr;
    const auto* options =
        static_cast<const LV2_Options_Option*>(Lv2Features::Find(features, LV2_OPTIONS__options));
    const int bound = map ? std::clamp(BlockBound(options, *map), 0, kMaxBlockFrames) : 0;
    std::unique_ptr<PluginInstance> product = PluginInstance::Create();
    if (!product)
        return nullptr;
    return new (std::nothrow) Lv2Plugin(std::move(product), map, rate, bound > 0 ? bound : kDefaultMaxFrames);
}

void Lv2Plugin::ConnectPort(LV2_Handle handle, uint32_t port, void* data)
{
    Lv2Plugin* self = Self(handle);
    using namespace lv2port;
    if (port < kParams)
        self->controls[port] = static_cast<const float*>(data);
    else if (port == kAudioInL || port == kAudioInR)
        self->audioIn[port - kAudioInL] = static_cast<const float*>(data);
    else if (port == kAudioOutL || port == kAudioOutR)
        self->audioOut[port - kAudioOutL] = static_cast<float*>(data);
    else if (port == kEvents)
        self->events = static_cast<const LV2_Atom_Sequence*>(data);
    else if (port == kBand)
        self->band = static_cast<float*>(data);
    else if (port == kEditorScale)
        self->editorScale = static_cast<float*>(data);
    for (int k = 0; k < 2; ++k)
    {
        if (port == kLfoMarker[k])
            self->lfoMarker[k] = static_cast<float*>(data);
        if (port == kLfoState[k])
            self->lfoState[k] = static_cast<float*>(data);
    }
}

void Lv2Plugin::Activate(LV2_Handle handle)
{
    Lv2Plugin* self = Self(handle);
    if (self->active || !self->instance->Activate(self->sampleRate, self->maxFrames))
        return;
    self->instance->StartProcessing();
    self->active = true;
}

void Lv2Plugin::Deactivate(LV2_Handle handle)
{
    Lv2Plugin* self = Self(handle);
    if (!self->active)
        return;
    self->instance->StopProcessing();
    self->instance->Deactivate();
    self->active = false;
}

void Lv2Plugin::Cleanup(LV2_Handle handle)
{
    Deactivate(handle);
    delete Self(handle);
}

std::size_t Lv2Plugin::ReadControls()
{
    // Every port is compared with the product once (at the start, after a restore), then with itself:
    // a port that says what the product already holds changes nothing, as in the other formats.
    const bool all = compareWithProduct.exchange(false);
    std::size_t count = 0;
    for (uint32_t i = 0; i < lv2port::kParams; ++i)
    {
        if (!controls[i])
            continue;
        const float value = *controls[i];
        if (!std::isfinite(value))
            continue;
        const float held = all ? static_cast<float>(instance->ParamValue(static_cast<int>(i))) : applied[i];
        applied[i] = value;
        if (value != held)
            changes[count++] = ParamChange{0, static_cast<int32_t>(i), static_cast<double>(value)};
    }
    return count;
}

void Lv2Plugin::ProcessFrames(int from, int frames, std::size_t changeCount)
{
    // A block of 0 frames still takes its changes.
    int done = 0;
    do
    {
        const int piece = std::min(frames - done, maxFrames);
        const float* inputs[2] = {audioIn[0] ? audioIn[0] + from + done : nullptr,
                                  audioIn[1] ? audioIn[1] + from + done : nullptr};
        float* outputs[2] = {audioOut[0] ? audioOut[0] + from + done : nullptr,
                             audioOut[1] ? audioOut[1] + from + done : nullptr};
        const AudioBlock<float> block{inputs, 2, outputs, 2, piece};
        instance->Process(block, transport.Now(), std::span(changes.data(), done == 0 ? changeCount : 0));
        transport.Advance(piece, sampleRate);
        done += piece;
    } while (done < frames);
}

void Lv2Plugin::Run(LV2_Handle handle, uint32_t frameCount)
{
    Lv2Plugin* self = Self(handle);
    if (!self->active || frameCount > static_cast<uint32_t>(INT32_MAX))
        return;
    const int frames = static_cast<int>(frameCount);
    std::size_t changeCount = self->ReadControls();
    int done = 0;
    if (self->events)
    {
        LV2_ATOM_SEQUENCE_FOREACH(self->events, event)
        {
            // The frames before an event play with the transport as it was.
            const int at = static_cast<int>(std::clamp<int64_t>(event->time.frames, done, frames));
            if (at > done)
            {
                self->ProcessFrames(done, at - done, changeCount);
                changeCount = 0;
                done = at;
            }
            if (!self->ReadEditorScale(event->body))
                self->transport.Read(event->body);
        }
    }
    if (done < frames || frames == 0 || changeCount > 0)
        self->ProcessFrames(done, frames - done, changeCount);
    // The host reads control ports only: what the product would tell it besides has no place here.
    HostEvent ignored;
    while (self->instance->PopHostEvent(ignored))
    {
    }
    self->WriteDisplay();
}

bool Lv2Plugin::ReadEditorScale(const LV2_Atom& atom)
{
    if (editorScaleKey == 0 || atom.type != objectType)
        return false;
    const auto& object = reinterpret_cast<const LV2_Atom_Object&>(atom);
    if (object.body.otype != editorScaleKey)
        return false;
    LV2_ATOM_OBJECT_FOREACH(&object, property)
    {
        if (property->key != editorScaleKey || property->value.type != floatType ||
            property->value.size < sizeof(float))
            continue;
        const float scale = reinterpret_cast<const LV2_Atom_Float&>(property->value).body;
        if (std::isfinite(scale) && scale > 0.0f)
            instance->SetEditorScale(scale);
    }
    return true;
}

void Lv2Plugin::WriteDisplay()
{
    if (editorScale)
        *editorScale = static_cast<float>(instance->EditorScale());
    const tpm::EditorDisplayState shown = instance->DisplayState();
    if (band)
    {
        std::size_t index = 0;
        // The engine shows these very texts: their addresses match before any text is compared.
        while (index < kBandNames.size() && kBandNames[index] != shown.bandText &&
               std::strcmp(kBandNames[index], shown.bandText) != 0)
            ++index;
        *band = index < kBandNames.size() ? static_cast<float>(index) : 0.0f;
    }
    for (int k = 0; k < 2; ++k)
    {
        const tpm::EditorDisplayState::LfoMarker& m = shown.lfo[k];
        const double span = static_cast<double>(m.rangeHi) - m.rangeLo;
        const double at =
            span > 0.0 && std::isfinite(span) ? (m.position - static_cast<double>(m.rangeLo)) / span : 0.0;
        if (lfoMarker[k])
            *lfoMarker[k] = std::isfinite(at) ? static_cast<float>(std::clamp(at, 0.0, 1.0)) : 0.0f;
        if (lfoState[k])
            *lfoState[k] = static_cast<float>(m.running   ? lv2port::kLfoRunning
                                              : m.blocked ? lv2port::kLfoBlocked
                                                          : lv2port::kLfoStill);
    }
}

LV2_State_Status Lv2Plugin::Save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state,
                                 uint32_t flags, const LV2_Feature* const* features)
{
    (void)flags;
    (void)features;
    Lv2Plugin* self = Self(handle);
    std::vector<uint8_t> bank;
    if (self->bankKey == 0)
        return LV2_STATE_ERR_NO_FEATURE;
    if (!store || !self->instance->SaveState(bank) || bank.size() > UINT32_MAX)
        return LV2_STATE_ERR_UNKNOWN;
    return store(state, self->bankKey, bank.data(), bank.size(), self->chunkType,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Lv2Plugin::Restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                                    LV2_State_Handle state, uint32_t flags,
                                    const LV2_Feature* const* features)
{
    (void)flags;
    (void)features;
    Lv2Plugin* self = Self(handle);
    if (self->bankKey == 0)
        return LV2_STATE_ERR_NO_FEATURE;
    std::size_t size = 0;
    uint32_t type = 0;
    uint32_t valueFlags = 0;
    const void* data = retrieve ? retrieve(state, self->bankKey, &size, &type, &valueFlags) : nullptr;
    if (!data)
        return LV2_STATE_ERR_NO_PROPERTY;
    if (type != self->chunkType)
        return LV2_STATE_ERR_BAD_TYPE;
    if (!self->instance->LoadState(std::span(static_cast<const uint8_t*>(data), size)))
        return LV2_STATE_ERR_UNKNOWN;
    // The bank came back with the sound it was saved with; the ports, restored by the host with it,
    // still say what plays, so each that differs from the restored sound applies at the next run.
    self->compareWithProduct.store(true);
    return LV2_STATE_SUCCESS;
}

bool Lv2Plugin::FormatValue(LV2_Handle handle, uint32_t port, float value, char* out, uint32_t size)
{
    return handle && port < lv2port::kParams && out && size > 0 &&
           Self(handle)->instance->FormatValue(static_cast<int>(port), value, out, size);
}

const void* Lv2Plugin::ExtensionData(const char* uri)
{
    static const LV2_State_Interface kState = {&Save, &Restore};
    static const lv2valuetext::Interface kValueText = {&FormatValue};
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0)
        return &kState;
    if (uri && std::strcmp(uri, lv2valuetext::kUri) == 0)
        return &kValueText;
    return nullptr;
}

const LV2_Descriptor Lv2Plugin::kDescriptor = {
    lv2port::kPluginUri, &Instantiate, &ConnectPort, &Activate, &Run, &Deactivate, &Cleanup, &ExtensionData};
} // namespace tpm
