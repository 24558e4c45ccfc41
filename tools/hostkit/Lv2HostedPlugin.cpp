#include "tools/hostkit/Lv2HostedPlugin.h"

#include "formats/lv2/Lv2ValueText.h"
#include "tools/hostkit/Lv2StateCalls.h"
#include "tools/hostkit/ProductBank.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/port-props/port-props.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <lv2/units/units.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <set>
#include <strings.h>

namespace tpm
{
namespace
{
constexpr std::size_t kEventBytes = 8192;

// lilv's nodes are freed by whoever asked for them.
struct NodeDeleter
{
    void operator()(LilvNode* node) const { lilv_node_free(node); }
};
using Node = std::unique_ptr<LilvNode, NodeDeleter>;

std::string Text(const LilvNode* node)
{
    return node && (lilv_node_is_string(node) || lilv_node_is_literal(node)) ? lilv_node_as_string(node) : "";
}

// The unit label the other formats show for the units vocabulary's terms we meet.
std::string UnitLabel(const LilvNode* unit)
{
    const std::string uri = unit && lilv_node_is_uri(unit) ? lilv_node_as_uri(unit) : "";
    if (uri == LV2_UNITS__hz)
        return "Hz";
    if (uri == LV2_UNITS__ms)
        return "ms";
    if (uri == LV2_UNITS__pc)
        return "%";
    return "";
}
} // namespace

std::unique_ptr<Lv2HostedPlugin> Lv2HostedPlugin::Load(const std::string& bundlePath, std::string& error,
                                                       const HostSettings& settings)
{
    std::unique_ptr<Lv2HostedPlugin> self(new (std::nothrow) Lv2HostedPlugin(bundlePath, settings));
    if (!self)
    {
        error = "out of memory";
        return nullptr;
    }
    if (!self->Read(error) || !self->Instantiate(error))
        return nullptr;
    return self;
}

Lv2HostedPlugin::Lv2HostedPlugin(const std::string& bundlePath, const HostSettings& hostSettings)
    : bundle(bundlePath)
{
    settings = hostSettings;
    while (bundle.size() > 1 && bundle.back() == '/')
        bundle.pop_back();
}

Lv2HostedPlugin::~Lv2HostedPlugin()
{
    Close();
}

void Lv2HostedPlugin::WorldDeleter::operator()(LilvWorld* world) const
{
    if (world)
        lilv_world_free(world);
}

bool Lv2HostedPlugin::Read(std::string& error)
{
    // lilv reports a bundle it cannot read on stderr in lines of its own; ours says it in one.
    std::error_code unreadable;
    if (!std::filesystem::is_regular_file(bundle + "/manifest.ttl", unreadable))
    {
        error = "cannot load LV2 bundle '" + bundle + "': " +
                (std::filesystem::exists(bundle, unreadable) ? "it holds no manifest.ttl" : "no such folder");
        return false;
    }
    world.reset(lilv_world_new(), WorldDeleter{});
    if (!world)
    {
        error = "lilv: no world";
        return false;
    }
    // The bundle alone, so that another copy of the plug-in elsewhere on LV2_PATH plays no part.
    const Node bundleUri(lilv_new_file_uri(world.get(), nullptr, (bundle + "/").c_str()));
    lilv_world_load_bundle(world.get(), bundleUri.get());
    const LilvPlugins* all = lilv_world_get_all_plugins(world.get());
    LILV_FOREACH(plugins, i, all)
    {
        const LilvPlugin* candidate = lilv_plugins_get(all, i);
        if (lilv_node_equals(lilv_plugin_get_bundle_uri(candidate), bundleUri.get()))
        {
            plugin = candidate;
            break;
        }
    }
    if (!plugin)
    {
        error = "no LV2 plug-in in '" + bundle + "'";
        return false;
    }
    const Node audioClass(lilv_new_uri(world.get(), LV2_CORE__AudioPort));
    const Node controlClass(lilv_new_uri(world.get(), LV2_CORE__ControlPort));
    const Node atomClass(lilv_new_uri(world.get(), LV2_ATOM__AtomPort));
    const Node inputClass(lilv_new_uri(world.get(), LV2_CORE__InputPort));
    const Node integer(lilv_new_uri(world.get(), LV2_CORE__integer));
    const Node enumeration(lilv_new_uri(world.get(), LV2_CORE__enumeration));
    const Node toggled(lilv_new_uri(world.get(), LV2_CORE__toggled));
    const Node unitKey(lilv_new_uri(world.get(), LV2_UNITS__unit));
    for (uint32_t p = 0; p < lilv_plugin_get_num_ports(plugin); ++p)
    {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
        const bool input = lilv_port_is_a(plugin, port, inputClass.get());
        if (lilv_port_is_a(plugin, port, audioClass.get()))
            (input ? audioIn : audioOut).push_back(p);
        else if (lilv_port_is_a(plugin, port, atomClass.get()) && input)
            eventIns.push_back(p);
        else if (lilv_port_is_a(plugin, port, controlClass.get()) && input)
        {
            Control c;
            c.port = p;
            const Node name(lilv_port_get_name(plugin, port));
            c.name = Text(name.get());
            c.symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
            LilvNode* def = nullptr;
            LilvNode* min = nullptr;
            LilvNode* max = nullptr;
            lilv_port_get_range(plugin, port, &def, &min, &max);
            c.range.defaultValue = def ? lilv_node_as_float(def) : 0.0;
            c.range.min = min ? lilv_node_as_float(min) : 0.0;
            c.range.max = max ? lilv_node_as_float(max) : 1.0;
            lilv_node_free(def);
            lilv_node_free(min);
            lilv_node_free(max);
            c.range.stepped = lilv_port_has_property(plugin, port, integer.get()) ||
                              lilv_port_has_property(plugin, port, toggled.get());
            c.range.isList = lilv_port_has_property(plugin, port, enumeration.get());
            if (LilvNodes* units = lilv_port_get_value(plugin, port, unitKey.get()))
            {
                c.unit = UnitLabel(lilv_nodes_get_first(units));
                lilv_nodes_free(units);
            }
            if (LilvScalePoints* points = lilv_port_get_scale_points(plugin, port))
            {
                LILV_FOREACH(scale_points, k, points)
                {
                    const LilvScalePoint* point = lilv_scale_points_get(points, k);
                    c.points.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                                          lilv_node_as_string(lilv_scale_point_get_label(point)));
                }
                lilv_scale_points_free(points);
                std::sort(c.points.begin(), c.points.end());
            }
            c.value = static_cast<float>(c.range.defaultValue);
            controls.push_back(std::move(c));
        }
        else
        {
            if (lilv_port_is_a(plugin, port, controlClass.get()))
                controlOutputs.emplace_back(p, otherOutputPorts.size());
            otherOutputPorts.emplace_back(p, otherOutputPorts.size());
        }
    }
    ResetOutputValues();
    const Node presetClass(lilv_new_uri(world.get(), LV2_PRESETS__Preset));
    if (LilvNodes* related = lilv_plugin_get_related(plugin, presetClass.get()))
    {
        LILV_FOREACH(nodes, i, related)
        {
            presets.push_back({lilv_node_as_uri(lilv_nodes_get(related, i)), ""});
        }
        lilv_nodes_free(related);
    }
    // lilv lists them in no particular order; their URIs number them in the bank's order.
    std::sort(presets.begin(), presets.end(), [](const Preset& a, const Preset& b) { return a.uri < b.uri; });
    return true;
}

void Lv2HostedPlugin::ResetOutputValues()
{
    // NaN until a block has run: the editor is told nothing the plug-in has not computed.
    outputValues = std::vector<std::atomic<float>>(controlOutputs.size());
    for (auto& value : outputValues)
        value.store(std::numeric_limits<float>::quiet_NaN(), std::memory_order_relaxed);
}

bool Lv2HostedPlugin::Instantiate(std::string& error)
{
    options[0] = {LV2_OPTIONS_INSTANCE,
                  0,
                  map.Map(LV2_BUF_SIZE__maxBlockLength),
                  sizeof(int32_t),
                  map.Map(LV2_ATOM__Int),
                  &maxBlockValue};
    static const LV2_Feature bounded{LV2_BUF_SIZE__boundedBlockLength, nullptr};
    const LV2_Feature mapFeature{LV2_URID__map, map.Feature()};
    const LV2_Feature optionsFeature{LV2_OPTIONS__options, options.data()};
    const LV2_Feature* features[] = {&mapFeature, &optionsFeature, &bounded, nullptr};
    instance = lilv_plugin_instantiate(plugin, sampleRate, features);
    if (!instance)
    {
        error = "the LV2 plug-in refused to start";
        return false;
    }
    events = std::make_unique<Lv2PositionWriter>(map, kEventBytes);
    positionTold = false; // a new instance has heard of no position yet
    for (const uint32_t p : eventIns)
        lilv_instance_connect_port(instance, p, events->Buffer());
    for (Control& c : controls)
        lilv_instance_connect_port(instance, c.port, &c.portValue);
    // Sized for the longest block up front, so that the audio thread allocates only for longer ones.
    const auto longest = static_cast<std::size_t>(std::max(maxBlockValue, 1));
    otherOutputs.assign(otherOutputPorts.size(), std::vector<float>(longest, 0.0f));
    silence.assign(longest, 0.0f);
    scratch.assign(longest, 0.0f);
    for (const auto& [port, slot] : otherOutputPorts)
        lilv_instance_connect_port(instance, port, otherOutputs[slot].data());
    return true;
}

void Lv2HostedPlugin::Configure(double rate, int maxBlockFrames)
{
    // The rate is fixed when an LV2 instance is made: a new one takes over the values.
    if (active || !(rate > 0.0) || maxBlockFrames <= 0 || !plugin)
        return;
    if (rate == sampleRate && maxBlockFrames <= maxBlockValue && instance)
        return;
    std::vector<uint8_t> state;
    const bool kept = instance && SaveState(state);
    if (instance)
        lilv_instance_free(instance);
    instance = nullptr;
    sampleRate = rate;
    maxBlockValue = std::max(maxBlockFrames, 1);
    std::string error;
    if (Instantiate(error) && kept)
        LoadState(state);
}

bool Lv2HostedPlugin::Resume()
{
    if (!instance)
        return false;
    if (!active)
        lilv_instance_activate(instance);
    active = true;
    return true;
}

void Lv2HostedPlugin::Suspend()
{
    if (instance && active)
        lilv_instance_deactivate(instance);
    active = false;
}

void Lv2HostedPlugin::Close()
{
    editor.reset();
    Suspend();
    spare.reset();
    if (instance)
        lilv_instance_free(instance);
    instance = nullptr;
}

std::string Lv2HostedPlugin::Name()
{
    const Node name(plugin ? lilv_plugin_get_name(plugin) : nullptr);
    return Text(name.get());
}

std::vector<std::string> Lv2HostedPlugin::DescribeIdentity()
{
    std::vector<std::string> lines;
    if (!plugin)
        return lines;
    const Node author(lilv_plugin_get_author_name(plugin));
    lines.push_back("format: LV2");
    lines.push_back("uri: " + std::string(lilv_node_as_uri(lilv_plugin_get_uri(plugin))));
    lines.push_back("name: " + Name());
    lines.push_back("vendor: " + Text(author.get()));
    lines.push_back("inputs: " + std::to_string(InputCount()));
    lines.push_back("outputs: " + std::to_string(OutputCount()));
    lines.push_back("64-bit processing: no");
    lines.push_back("programs: " + std::to_string(ProgramCount()));
    lines.push_back("parameters: " + std::to_string(ParamCount()));
    return lines;
}

std::string Lv2HostedPlugin::ParamName(int index)
{
    return index >= 0 && index < ParamCount() ? controls[static_cast<std::size_t>(index)].name : "";
}

std::string Lv2HostedPlugin::ParamLabel(int index)
{
    return index >= 0 && index < ParamCount() ? controls[static_cast<std::size_t>(index)].unit : "";
}

std::string Lv2HostedPlugin::ParamDisplay(int index)
{
    return index >= 0 && index < ParamCount()
               ? DisplayOfValue(index, controls[static_cast<std::size_t>(index)].value)
               : "";
}

std::string Lv2HostedPlugin::DisplayOfValue(int index, double value)
{
    if (index < 0 || index >= ParamCount())
        return "";
    const Control& c = controls[static_cast<std::size_t>(index)];
    char text[64];
    // The plug-in's own text where it offers one, as the other formats show it; else the bundle's data.
    const auto* ownTexts = instance ? static_cast<const lv2valuetext::Interface*>(
                                          lilv_instance_get_extension_data(instance, lv2valuetext::kUri))
                                    : nullptr;
    if (ownTexts && ownTexts->format &&
        ownTexts->format(lilv_instance_get_handle(instance), c.port, static_cast<float>(value), text,
                         sizeof text))
        return text;
    for (const auto& [pointValue, pointLabel] : c.points)
        if (static_cast<double>(pointValue) == value)
            return pointLabel;
    if (c.range.stepped)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool Lv2HostedPlugin::Range(int index, ParamRange& range)
{
    if (index < 0 || index >= ParamCount())
        return false;
    range = controls[static_cast<std::size_t>(index)].range;
    return true;
}

double Lv2HostedPlugin::ParamNormalized(int index)
{
    if (index < 0 || index >= ParamCount())
        return 0.0;
    const Control& c = controls[static_cast<std::size_t>(index)];
    const double span = c.range.max - c.range.min;
    return span > 0.0 ? (c.value - c.range.min) / span : 0.0;
}

void Lv2HostedPlugin::SetParamNormalized(int index, double normalized)
{
    if (index < 0 || index >= ParamCount())
        return;
    Control& c = controls[static_cast<std::size_t>(index)];
    double value = c.range.min + std::clamp(normalized, 0.0, 1.0) * (c.range.max - c.range.min);
    if (c.range.stepped)
        value = std::round(value);
    c.value = static_cast<float>(value);
}

bool Lv2HostedPlugin::SetParamText(int index, const std::string& text)
{
    if (index < 0 || index >= ParamCount())
        return false;
    Control& c = controls[static_cast<std::size_t>(index)];
    for (const auto& [pointValue, pointLabel] : c.points)
        if (strcasecmp(pointLabel.c_str(), text.c_str()) == 0)
        {
            c.value = pointValue;
            return true;
        }
    // A number, with anything after it (a unit) left aside; lists take only their texts.
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (!c.range.isList && end != text.c_str() && std::isfinite(value))
    {
        c.value = static_cast<float>(std::clamp(value, c.range.min, c.range.max));
        return true;
    }
    return false;
}

// The presets' files hold every port value of every preset, which takes more to parse than a whole render
// takes to run: they are read when a program is first asked for, not when the bundle is loaded.
void Lv2HostedPlugin::ReadPresets()
{
    if (presetsRead)
        return;
    presetsRead = true;
    const Node label(lilv_new_uri(world.get(), LILV_NS_RDFS "label"));
    const Node seeAlso(lilv_new_uri(world.get(), LILV_NS_RDFS "seeAlso"));
    std::set<std::string> readFiles;
    for (Preset& preset : presets)
    {
        const Node uri(lilv_new_uri(world.get(), preset.uri.c_str()));
        // Presets usually share one file: it is read for the first of them only.
        bool unread = false;
        if (LilvNodes* files = lilv_world_find_nodes(world.get(), uri.get(), seeAlso.get(), nullptr))
        {
            LILV_FOREACH(nodes, f, files)
            {
                unread |= readFiles.insert(lilv_node_as_string(lilv_nodes_get(files, f))).second;
            }
            lilv_nodes_free(files);
        }
        if (unread)
            lilv_world_load_resource(world.get(), uri.get());
        const Node name(lilv_world_get(world.get(), uri.get(), label.get(), nullptr));
        preset.name = Text(name.get());
    }
}

HostedInstance* Lv2HostedPlugin::Spare()
{
    if (spare)
        return spare.get();
    // The bundle as this instance read it: reading it again would cost far more than the instance.
    std::unique_ptr<Lv2HostedPlugin> twin(new (std::nothrow) Lv2HostedPlugin(bundle, settings));
    if (!twin)
        return nullptr;
    twin->world = world;
    twin->plugin = plugin;
    twin->controls = controls;
    for (Control& c : twin->controls)
        c.value = static_cast<float>(c.range.defaultValue);
    twin->audioIn = audioIn;
    twin->audioOut = audioOut;
    twin->eventIns = eventIns;
    twin->otherOutputPorts = otherOutputPorts;
    twin->controlOutputs = controlOutputs;
    twin->presets = presets;
    twin->presetsRead = presetsRead;
    twin->ResetOutputValues();
    std::string error;
    if (twin->Instantiate(error))
        spare = std::move(twin);
    return spare.get();
}

std::string Lv2HostedPlugin::ProgramName(int index)
{
    if (index < 0 || index >= ProgramCount())
        return "";
    ReadPresets();
    return presets[static_cast<std::size_t>(index)].name;
}

void Lv2HostedPlugin::SetPortValue(const char* symbol, void* self, const void* value, uint32_t size,
                                   uint32_t type)
{
    auto* host = static_cast<Lv2HostedPlugin*>(self);
    if (size != sizeof(float) || type != host->map.Map(LV2_ATOM__Float))
        return;
    float newValue = 0.0f;
    std::memcpy(&newValue, value, sizeof(float));
    for (Control& c : host->controls)
        if (c.symbol == symbol)
            c.value = newValue;
}

bool Lv2HostedPlugin::SelectProgram(int index)
{
    if (index < 0 || index >= ProgramCount())
        return false;
    ReadPresets();
    const Node uri(lilv_new_uri(world.get(), presets[static_cast<std::size_t>(index)].uri.c_str()));
    LilvState* state = lilv_state_new_from_world(world.get(), map.Feature(), uri.get());
    if (!state)
        return false;
    // A preset holds port values only: they go to the ports, the plug-in's own state stays.
    lilv_state_restore(state, nullptr, &SetPortValue, this, 0, nullptr);
    lilv_state_free(state);
    currentProgram = index;
    return true;
}

Lv2Position Lv2HostedPlugin::PositionNow() const
{
    Lv2Position at;
    at.frame = static_cast<int64_t>(samplePosition);
    at.speed = settings.playing || settings.recording ? 1.0f : 0.0f;
    at.beatsPerMinute = static_cast<float>(settings.tempo);
    at.beatsPerBar = static_cast<float>(std::max(settings.timeSigNumerator, 1));
    at.beatUnit = std::max(settings.timeSigDenominator, 1);
    const double beats = samplePosition / sampleRate * settings.tempo / 60.0;
    at.bar = static_cast<int64_t>(std::floor(beats / at.beatsPerBar));
    at.barBeat = static_cast<float>(beats - static_cast<double>(at.bar) * at.beatsPerBar);
    return at;
}

bool Lv2HostedPlugin::PositionMoved(const Lv2Position& now) const
{
    const int64_t rolledTo = told.frame + (told.speed != 0.0f ? framesSinceTold : 0);
    return !positionTold || now.frame != rolledTo || now.speed != told.speed ||
           now.beatsPerMinute != told.beatsPerMinute || now.beatsPerBar != told.beatsPerBar ||
           now.beatUnit != told.beatUnit;
}

void Lv2HostedPlugin::Process(float** inputs, float** outputs, int frames)
{
    if (!instance || !active || frames < 0)
        return;
    const auto length = static_cast<std::size_t>(frames);
    if (silence.size() < length)
    {
        silence.assign(length, 0.0f);
        scratch.assign(length, 0.0f);
    }
    for (std::size_t c = 0; c < audioIn.size(); ++c)
        lilv_instance_connect_port(instance, audioIn[c], inputs && inputs[c] ? inputs[c] : silence.data());
    for (std::size_t c = 0; c < audioOut.size(); ++c)
        lilv_instance_connect_port(instance, audioOut[c],
                                   outputs && outputs[c] ? outputs[c] : scratch.data());
    for (auto& buffer : otherOutputs)
        if (buffer.size() < length)
            buffer.resize(length);
    for (const auto& [port, slot] : otherOutputPorts)
        lilv_instance_connect_port(instance, port, otherOutputs[slot].data());
    // As LV2 hosts do, the transport is told when it differs from what the plug-in works out by rolling
    // on from the last position told (at the start, on a change of tempo, speed or metre, on a jump),
    // which spares it reading a position object every block; a host without one tells nothing.
    events->Clear();
    if (settings.timeInfoAvailable && settings.tempoValid)
    {
        const Lv2Position now = PositionNow();
        if (PositionMoved(now))
        {
            events->Add(0, now);
            told = now;
            framesSinceTold = 0;
            positionTold = true;
        }
    }
    else
        positionTold = false;
    // The editor's atoms when the user-interface thread is not adding one: else at the next block.
    if (editorEventsMutex.try_lock())
    {
        for (std::size_t at = 0; at + sizeof(LV2_Atom) <= editorEvents.size();)
        {
            const auto& atom = *reinterpret_cast<const LV2_Atom*>(editorEvents.data() + at);
            events->AddAtom(0, atom);
            at += (sizeof(LV2_Atom) + atom.size + 7) & ~std::size_t{7};
        }
        editorEvents.clear();
        editorEventsMutex.unlock();
    }
    for (Control& c : controls)
        c.portValue = c.value;
    lilv_instance_run(instance, static_cast<uint32_t>(frames));
    framesSinceTold += frames;
    // For the editor, which the user-interface thread tells from EditorIdle.
    for (std::size_t k = 0; k < controlOutputs.size(); ++k)
        outputValues[k].store(otherOutputs[controlOutputs[k].second][0], std::memory_order_relaxed);
}

void Lv2HostedPlugin::Process(double** inputs, double** outputs, int frames)
{
    const std::size_t channels = std::max(audioIn.size(), audioOut.size());
    const auto length = static_cast<std::size_t>(std::max(frames, 0));
    floatBuffers.resize(channels * 2);
    std::vector<float*> in(channels, nullptr), out(channels, nullptr);
    for (std::size_t c = 0; c < channels; ++c)
    {
        floatBuffers[c].assign(length, 0.0f);
        floatBuffers[channels + c].assign(length, 0.0f);
        if (inputs && inputs[c])
            std::transform(inputs[c], inputs[c] + length, floatBuffers[c].begin(),
                           [](double s) { return static_cast<float>(s); });
        in[c] = floatBuffers[c].data();
        out[c] = floatBuffers[channels + c].data();
    }
    Process(in.data(), out.data(), frames);
    for (std::size_t c = 0; c < channels; ++c)
        if (outputs && outputs[c])
            std::copy(out[c], out[c] + length, outputs[c]);
}

const LV2_State_Interface* Lv2HostedPlugin::StateInterface() const
{
    return instance ? static_cast<const LV2_State_Interface*>(
                          lilv_instance_get_extension_data(instance, LV2_STATE__interface))
                    : nullptr;
}

bool Lv2HostedPlugin::SavePluginState(std::vector<uint8_t>& bytes)
{
    uint32_t type = 0;
    return Lv2StateCalls::Save(StateInterface(), instance ? lilv_instance_get_handle(instance) : nullptr,
                               bytes, type) &&
           type == map.Map(LV2_ATOM__Chunk);
}

bool Lv2HostedPlugin::LoadPluginState(const std::vector<uint8_t>& bytes)
{
    return Lv2StateCalls::Restore(StateInterface(), instance ? lilv_instance_get_handle(instance) : nullptr,
                                  bytes, map.Map(LV2_ATOM__Chunk)) == LV2_STATE_SUCCESS;
}

bool Lv2HostedPlugin::SaveState(std::vector<uint8_t>& bytes)
{
    if (!SavePluginState(bytes))
        return false;
    // The control ports are the host's, and a host's state holds them beside the plug-in's own, as
    // lilv's does: after the plug-in's value, one float per control port.
    for (const Control& c : controls)
    {
        const float value = c.value;
        const auto* raw = reinterpret_cast<const uint8_t*>(&value);
        bytes.insert(bytes.end(), raw, raw + sizeof value);
    }
    return true;
}

bool Lv2HostedPlugin::LoadState(const std::vector<uint8_t>& bytes)
{
    const std::size_t ports = controls.size() * sizeof(float);
    if (bytes.size() < ports)
        return false;
    const std::vector<uint8_t> own(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(ports));
    if (!LoadPluginState(own))
        return false;
    const uint8_t* at = bytes.data() + own.size();
    for (Control& c : controls)
    {
        float value = 0.0f;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        c.value = value;
    }
    return true;
}

bool Lv2HostedPlugin::SaveBank(std::vector<uint8_t>& bank, int& program)
{
    // The bank is the plug-in's own state; the ports, which the host keeps beside it, are written
    // over the slot they play below.
    std::vector<uint8_t> state;
    std::vector<ProductBank::Slot> slots;
    if (!SavePluginState(state) || !ProductBank::FromState(state, ParamCount(), bank, program) ||
        !ProductBank::Decode(bank, ParamCount(), slots))
        return false;
    if (currentProgram >= 0)
        program = currentProgram;
    if (program < 0 || program >= static_cast<int>(slots.size()) ||
        !slots[static_cast<std::size_t>(program)].inUse)
        return true;
    // Only a port that differs from the slot changes it, as in the plug-in: the slot keeps its
    // values' full precision elsewhere.
    std::vector<double>& values = slots[static_cast<std::size_t>(program)].values;
    for (std::size_t i = 0; i < values.size() && i < controls.size(); ++i)
        if (static_cast<float>(values[i]) != static_cast<float>(controls[i].value))
            values[i] = static_cast<float>(controls[i].value);
    bank = ProductBank::Encode(slots);
    return true;
}

bool Lv2HostedPlugin::LoadBank(const std::vector<uint8_t>& bank, int program)
{
    std::vector<ProductBank::Slot> slots;
    if (!ProductBank::Decode(bank, ParamCount(), slots) ||
        !LoadPluginState(ProductBank::ToState(bank, ParamCount(), program)))
        return false;
    if (program >= 0 && program < static_cast<int>(slots.size()) &&
        slots[static_cast<std::size_t>(program)].inUse)
    {
        const std::vector<double>& values = slots[static_cast<std::size_t>(program)].values;
        for (std::size_t i = 0; i < values.size() && i < controls.size(); ++i)
            controls[i].value = static_cast<float>(values[i]);
    }
    currentProgram = program;
    return true;
}

// The editor tells its size only once it exists, in a window already made: until it has, a
// provisional size the host window takes back when OpenEditor has learnt the real one.
bool Lv2HostedPlugin::EditorSize(int& width, int& height)
{
    width = height = 0;
    if (!Lv2EditorHost::Available(world.get(), plugin))
        return false;
    // An open editor may have changed its size since (the size its state keeps comes in later).
    if (editor && editor->Width() > 0 && editor->Height() > 0)
    {
        editorWidth = editor->Width();
        editorHeight = editor->Height();
    }
    width = std::max(editorWidth, 1);
    height = std::max(editorHeight, 1);
    return true;
}

bool Lv2HostedPlugin::OpenEditor(void* parent)
{
    editor.reset();
    editor = Lv2EditorHost::Open(world.get(), plugin, map, parent, editorScale,
                                 {[this](uint32_t port, float value) { EditorWrite(port, value); },
                                  [this](uint32_t port, bool grabbed) { EditorTouch(port, grabbed); },
                                  [this](uint32_t, const LV2_Atom& atom) { EditorEvent(atom); }});
    if (!editor)
        return false;
    if (editor->Width() > 0 && editor->Height() > 0)
    {
        editorWidth = editor->Width();
        editorHeight = editor->Height();
    }
    const float untold = std::numeric_limits<float>::quiet_NaN();
    toldInputs.assign(controls.size(), untold);
    toldOutputs.assign(controlOutputs.size(), untold);
    EditorIdle(); // every port's value before the editor first draws
    return true;
}

bool Lv2HostedPlugin::ResizeEditor(int& width, int& height)
{
    if (!editor || !editor->ResizeTo(width, height))
        return false;
    width = editorWidth = editor->Width();
    height = editorHeight = editor->Height();
    return true;
}

bool Lv2HostedPlugin::TakeEditorRequest(int& width, int& height)
{
    return editor && editor->TakeResize(width, height);
}

// Values that changed since the editor was last told, then the editor's own idle work.
void Lv2HostedPlugin::EditorIdle()
{
    if (!editor)
        return;
    for (std::size_t k = 0; k < controls.size(); ++k)
        if (!(toldInputs[k] == controls[k].value))
        {
            toldInputs[k] = controls[k].value;
            editor->Tell(controls[k].port, controls[k].value);
        }
    for (std::size_t k = 0; k < controlOutputs.size(); ++k)
    {
        const float value = outputValues[k].load(std::memory_order_relaxed);
        if (!std::isnan(value) && !(toldOutputs[k] == value))
        {
            toldOutputs[k] = value;
            editor->Tell(controlOutputs[k].first, value);
        }
    }
    editor->Idle();
}

// The editor set a control input: the same value a parameter setting would give the port.
void Lv2HostedPlugin::EditorWrite(uint32_t port, float value)
{
    for (std::size_t k = 0; k < controls.size(); ++k)
        if (controls[k].port == port && std::isfinite(value))
        {
            Control& c = controls[k];
            c.value = static_cast<float>(std::clamp(static_cast<double>(value), c.range.min, c.range.max));
            toldInputs[k] = c.value; // the editor has it already
            if (settings.logToStderr)
                std::fprintf(stderr, "host: automate parameter %zu = %.6f\n", k,
                             ParamNormalized(static_cast<int>(k)));
        }
}

void Lv2HostedPlugin::EditorEvent(const LV2_Atom& atom)
{
    // 8-byte steps, as in a sequence, so that each atom's header stays aligned.
    const std::size_t bytes = sizeof(LV2_Atom) + atom.size;
    const std::lock_guard<std::mutex> lock(editorEventsMutex);
    const std::size_t at = editorEvents.size();
    editorEvents.resize(at + ((bytes + 7) & ~std::size_t{7}), 0);
    std::memcpy(editorEvents.data() + at, &atom, bytes);
}

void Lv2HostedPlugin::EditorTouch(uint32_t port, bool grabbed) const
{
    for (std::size_t k = 0; k < controls.size(); ++k)
        if (controls[k].port == port && settings.logToStderr)
            std::fprintf(stderr, "host: %s parameter %zu\n", grabbed ? "begin-edit" : "end-edit", k);
}
} // namespace tpm
