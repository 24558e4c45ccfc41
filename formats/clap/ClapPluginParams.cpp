// The CLAP plug-in's parameters, state, audio ports, latency, render mode and preset loading.
#include "formats/clap/ClapPlugin.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace tpm
{
namespace
{
// A state larger than this is no state of ours; reading stops there.
constexpr std::size_t kMaxStateBytes = 16u << 20;

// The program a preset key names, or -1: only the keys discovery lists (a used slot's index in
// decimal, no sign, blank or leading zero) name one.
int ListedProgram(const PluginInstance& instance, const char* key)
{
    int index = 0;
    const char* end = key + std::strlen(key);
    const auto [after, error] = std::from_chars(key, end, index);
    if (error != std::errc{} || after != end || index < 0 || !instance.Programs().InUse(index))
        return -1;
    char listed[16];
    std::snprintf(listed, sizeof listed, "%d", index);
    return std::strcmp(listed, key) == 0 ? index : -1;
}

void CopyText(char* out, std::size_t capacity, const char* text)
{
    std::snprintf(out, capacity, "%s", text ? text : "");
}
} // namespace

const clap_plugin_params_t ClapPlugin::kParams = {&ParamCount,  &ParamInfo,   &ParamValue,
                                                  &ValueToText, &TextToValue, &Flush};
const clap_plugin_state_t ClapPlugin::kState = {&SaveState, &LoadState};
const clap_plugin_audio_ports_t ClapPlugin::kAudioPorts = {&AudioPortCount, &AudioPortInfo};
const clap_plugin_latency_t ClapPlugin::kLatency = {&Latency};
const clap_plugin_render_t ClapPlugin::kRender = {&HardRealtime, &SetRenderMode};
const clap_plugin_preset_load_t ClapPlugin::kPresetLoad = {&LoadPreset};

uint32_t ClapPlugin::ParamCount(const clap_plugin_t* p)
{
    ClapPlugin* self = Self(p);
    return self && self->instance ? static_cast<uint32_t>(self->instance->ParamCount()) : 0;
}

bool ClapPlugin::ParamInfo(const clap_plugin_t* p, uint32_t index, clap_param_info_t* info)
{
    ClapPlugin* self = Self(p);
    if (!self || !self->instance || !info || index >= ParamCount(p))
        return false;
    const Parameter& param = *self->instance->Param(static_cast<int>(index));
    *info = clap_param_info_t{};
    info->id = index;
    const uint32_t flags = param.Flags();
    if (flags & Parameter::kAutomatable)
        info->flags |= kClapParamIsAutomatable;
    if (param.StepCount() > 0)
        info->flags |= kClapParamIsStepped;
    if (flags & Parameter::kList)
        info->flags |= kClapParamIsEnum;
    if (flags & Parameter::kHidden)
        info->flags |= kClapParamIsHidden;
    CopyText(info->name, sizeof info->name, self->instance->ParamTitle(static_cast<int>(index)));
    CopyText(info->module, sizeof info->module, "");
    info->min_value = param.Min();
    info->max_value = param.Max();
    info->default_value = param.DefaultValue();
    return true;
}

bool ClapPlugin::ParamValue(const clap_plugin_t* p, clap_id id, double* value)
{
    ClapPlugin* self = Self(p);
    if (!self || !self->instance || !value || id >= ParamCount(p))
        return false;
    *value = self->instance->ParamValue(static_cast<int>(id));
    return true;
}

bool ClapPlugin::ValueToText(const clap_plugin_t* p, clap_id id, double value, char* out, uint32_t capacity)
{
    ClapPlugin* self = Self(p);
    if (!self || !self->instance || !out || capacity == 0 || id >= ParamCount(p))
        return false;
    char text[64];
    self->instance->FormatValue(static_cast<int>(id), value, text, sizeof text);
    const char* unit = self->instance->Param(static_cast<int>(id))->Label();
    std::snprintf(out, capacity, unit[0] != '\0' ? "%s %s" : "%s", text, unit);
    return true;
}

bool ClapPlugin::TextToValue(const clap_plugin_t* p, clap_id id, const char* text, double* value)
{
    ClapPlugin* self = Self(p);
    if (!self || !self->instance || !value || id >= ParamCount(p))
        return false;
    return self->instance->ParseValue(static_cast<int>(id), text, *value);
}

void ClapPlugin::Flush(const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out)
{
    ClapPlugin* self = Self(p);
    // The host never calls it beside a process call; between two, it is the audio thread's.
    if (!self || !self->instance)
        return;
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        const clap_event_header_t* event = in->get(in, i);
        ParamChange change;
        if (event && ReadChange(*event, change))
            self->instance->SetParamValue(change.paramIdx, change.value);
    }
    self->SendHostEvents(out);
}

bool ClapPlugin::SaveState(const clap_plugin_t* p, const clap_ostream_t* stream)
{
    ClapPlugin* self = Self(p);
    if (!self || !self->instance || !stream || !stream->write || !self->OnMainThread())
        return false;
    std::vector<uint8_t> state;
    if (!self->instance->SaveState(state))
        return false;
    std::size_t done = 0;
    while (done < state.size())
    {
        const int64_t wrote = stream->write(stream, state.data() + done, state.size() - done);
        // More than it was given is a broken stream, not progress.
        if (wrote <= 0 || static_cast<uint64_t>(wrote) > state.size() - done)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool ClapPlugin::LoadState(const clap_plugin_t* p, const clap_istream_t* stream)
{
    ClapPlugin* self = Self(p);
    if (!self || !self->instance || !stream || !stream->read || !self->OnMainThread())
        return false;
    std::vector<uint8_t> state;
    try
    {
        uint8_t buffer[4096];
        for (;;)
        {
            const int64_t got = stream->read(stream, buffer, sizeof buffer);
            // More than was asked for would read past the buffer: a broken stream loads nothing.
            if (got < 0 || static_cast<uint64_t>(got) > sizeof buffer)
                return false;
            if (got == 0)
                break;
            if (state.size() + static_cast<std::size_t>(got) > kMaxStateBytes)
                return false;
            state.insert(state.end(), buffer, buffer + got);
        }
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return self->instance->LoadState(state);
}

uint32_t ClapPlugin::AudioPortCount(const clap_plugin_t* p, bool isInput)
{
    (void)isInput;
    return Self(p) ? 1 : 0;
}

bool ClapPlugin::AudioPortInfo(const clap_plugin_t* p, uint32_t index, bool isInput,
                               clap_audio_port_info_t* info)
{
    if (!Self(p) || !info || index != 0)
        return false;
    *info = clap_audio_port_info_t{};
    info->id = 0;
    CopyText(info->name, sizeof info->name, isInput ? "Input" : "Output");
    info->flags = kClapAudioPortIsMain | kClapAudioPortSupports64Bits;
    info->channel_count = 2;
    info->port_type = kClapPortStereo;
    info->in_place_pair = 0;
    return true;
}

uint32_t ClapPlugin::Latency(const clap_plugin_t* p)
{
    (void)p;
    return 0;
}

bool ClapPlugin::HardRealtime(const clap_plugin_t* p)
{
    (void)p;
    return false;
}

bool ClapPlugin::SetRenderMode(const clap_plugin_t* p, clap_plugin_render_mode mode)
{
    // The tones are the same either way.
    return Self(p) && (mode == kClapRenderRealtime || mode == kClapRenderOffline);
}

bool ClapPlugin::LoadPreset(const clap_plugin_t* p, uint32_t kind, const char* location, const char* key)
{
    ClapPlugin* self = Self(p);
    if (!self || !self->instance || !self->OnMainThread() || kind != kClapPresetDiscoveryLocationPlugin ||
        !key)
        return false;
    const int index = ListedProgram(*self->instance, key);
    const bool ok = index >= 0 && self->instance->Programs().Select(index);
    if (self->hostPresetLoad)
    {
        if (ok && self->hostPresetLoad->loaded)
            self->hostPresetLoad->loaded(self->host, kind, location, key);
        else if (!ok && self->hostPresetLoad->on_error)
            self->hostPresetLoad->on_error(self->host, kind, location, key, 0, "no such factory program");
    }
    // The host shows the loaded values anew.
    if (ok && self->hostParams && self->hostParams->rescan)
        self->hostParams->rescan(self->host, kClapParamRescanValues);
    return ok;
}
} // namespace tpm
