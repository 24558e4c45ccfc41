#include "formats/lv2/Lv2TtlWriter.h"

#include "formats/lv2/Lv2Ports.h"
#include "plugin/PluginInstance.h"
#include "plugin/ProductInfo.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tpm
{
namespace
{
constexpr char kPrefixes[] = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                             "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
                             "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                             "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                             "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                             "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
                             "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
                             "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                             "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                             "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                             "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                             "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
                             "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                             "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                             "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

// A Turtle string literal.
std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text)
    {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// A decimal literal that reads back as the same float (ports are single precision).
std::string Number(double value)
{
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, static_cast<float>(value));
    std::string out(text, error == std::errc() ? end : text);
    if (out.find_first_of(".e") == std::string::npos)
        out += ".0";
    return out;
}

std::string Integer(double value)
{
    return std::to_string(static_cast<long long>(std::lround(value)));
}

// The units vocabulary's term for the product's unit labels; empty for none.
const char* UnitTerm(std::string_view label)
{
    if (label == "Hz")
        return "units:hz";
    if (label == "ms")
        return "units:ms";
    if (label == "%")
        return "units:pc";
    return "";
}

std::string PresetUri(int program)
{
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "#preset%03d", program);
    return std::string("<") + lv2port::kPluginUri + suffix + ">";
}

void WriteScalePoints(std::ostream& out, const char* const* labels, int count, int first)
{
    out << " ;\n        lv2:scalePoint";
    for (int i = 0; i < count; ++i)
        out << (i == 0 ? " " : " ,\n            ") << "[ rdfs:label " << Quoted(labels[i]) << " ; rdf:value "
            << first + i << " ]";
}
} // namespace

void Lv2TtlWriter::WriteManifest(std::ostream& out) const
{
    out << kPrefixes;
    out << "<" << lv2port::kPluginUri << ">\n    a lv2:Plugin ;\n    lv2:binary <" << product::kName
        << ".so> ;\n    rdfs:seeAlso <" << product::kName << ".ttl> .\n\n";
    out << "<" << lv2port::kUiUri << ">\n    a ui:X11UI ;\n    ui:binary <" << product::kName
        << "_ui.so> ;\n    rdfs:seeAlso <" << product::kName << ".ttl> .\n";
    for (int p = 0; p < instance.Programs().Count(); ++p)
        if (instance.Programs().InUse(p))
            out << "\n"
                << PresetUri(p) << "\n    a pset:Preset ;\n    lv2:appliesTo <" << lv2port::kPluginUri
                << "> ;\n    rdfs:seeAlso <presets.ttl> .\n";
}

void Lv2TtlWriter::WritePlugin(std::ostream& out) const
{
    out << kPrefixes;
    // Every feature is optional: without a map only the transport and the state are lost, and live or
    // offline (lv2:isLive or not) the tones are the same; a block bound only saves splitting blocks.
    // lv2:Plugin alone is LV2's plain effect: a generator class would list it beside the instruments,
    // and hosts name its category after any other type it has, doap:Project included; so the maintainer
    // (a property of projects) goes on the project it belongs to, where hosts look for it too.
    out << "<" << lv2port::kPluginUri << ">\n"
        << "    a lv2:Plugin ;\n"
        << "    doap:name " << Quoted(product::kName) << " ;\n"
        << "    rdfs:comment " << Quoted(product::kDescription) << " ;\n"
        << "    lv2:project [ a doap:Project ; doap:name " << Quoted(product::kName)
        << " ;\n        doap:maintainer [ foaf:name " << Quoted(product::kVendor) << " ; foaf:homepage <"
        << product::kUrl << "> ] ] ;\n"
        << "    lv2:minorVersion " << product::kVersionMinor << " ;\n"
        << "    lv2:microVersion " << product::kVersionPatch << " ;\n"
        << "    lv2:optionalFeature urid:map , lv2:hardRTCapable , lv2:isLive , opts:options ,\n"
        << "        bufsz:boundedBlockLength ;\n"
        << "    opts:supportedOption bufsz:maxBlockLength , bufsz:nominalBlockLength ;\n"
        << "    lv2:extensionData state:interface ;\n"
        << "    ui:ui <" << lv2port::kUiUri << "> ;\n"
        << "    lv2:port ";
    for (int i = 0; i < instance.ParamCount(); ++i)
    {
        WriteControlPort(out, i);
        out << " , ";
    }
    const char* audio[4][3] = {{"InputPort", "in_l", "In L"},
                               {"InputPort", "in_r", "In R"},
                               {"OutputPort", "out_l", "Out L"},
                               {"OutputPort", "out_r", "Out R"}};
    for (uint32_t k = 0; k < 4; ++k)
        out << "[\n        a lv2:AudioPort , lv2:" << audio[k][0] << " ;\n        lv2:index "
            << lv2port::kAudioInL + k << " ;\n        lv2:symbol " << Quoted(audio[k][1])
            << " ;\n        lv2:name " << Quoted(audio[k][2]) << "\n    ] , ";
    out << "[\n        a lv2:InputPort , atom:AtomPort ;\n        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports time:Position ;\n        lv2:designation lv2:control ;\n"
        << "        lv2:portProperty lv2:connectionOptional ;\n"
        << "        lv2:index " << lv2port::kEvents << " ;\n        lv2:symbol \"events\" ;\n"
        << "        lv2:name \"Events\"\n    ] , ";
    WriteOutputPorts(out);
    out << " .\n\n";
    WriteUi(out);
}

void Lv2TtlWriter::WriteControlPort(std::ostream& out, int paramIdx) const
{
    const Parameter& param = *instance.Param(paramIdx);
    const uint32_t flags = param.Flags();
    const bool whole = param.GetKind() != Parameter::kDouble;
    const auto value = [whole](double v) { return whole ? Integer(v) : Number(v); };
    const std::string name = instance.ParamTitle(paramIdx);
    out << "[\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << paramIdx
        << " ;\n        lv2:symbol " << Quoted(param.StringId()) << " ;\n        lv2:name " << Quoted(name)
        << " ;\n        lv2:default " << value(param.DefaultValue()) << " ;\n        lv2:minimum "
        << value(param.Min()) << " ;\n        lv2:maximum " << value(param.Max());
    if (const char* unit = UnitTerm(param.Label()); unit[0] != '\0')
        out << " ;\n        units:unit " << unit;
    std::string properties;
    const auto add = [&properties](const char* property) {
        properties += properties.empty() ? "" : " , ";
        properties += property;
    };
    if (whole)
        add("lv2:integer");
    if (flags & Parameter::kList)
        add("lv2:enumeration");
    if (flags & Parameter::kTrigger)
        add("pprops:trigger");
    if (flags & Parameter::kHidden)
        add("pprops:notOnGUI");
    if (!properties.empty())
        out << " ;\n        lv2:portProperty " << properties;
    if (flags & Parameter::kList)
    {
        const int first = static_cast<int>(param.Min());
        std::vector<const char*> labels;
        labels.reserve(static_cast<std::size_t>(param.DisplayTextCount()));
        for (int i = 0; i < param.DisplayTextCount(); ++i)
            labels.push_back(param.GetDisplayText(first + i));
        WriteScalePoints(out, labels.data(), static_cast<int>(labels.size()), first);
    }
    out << "\n    ]";
}

void Lv2TtlWriter::WriteOutputPorts(std::ostream& out) const
{
    const auto port = [&out](uint32_t index, const char* symbol, const char* name, int maximum) {
        out << "[\n        a lv2:OutputPort , lv2:ControlPort ;\n        lv2:index " << index
            << " ;\n        lv2:symbol " << Quoted(symbol) << " ;\n        lv2:name " << Quoted(name)
            << " ;\n        lv2:default 0 ;\n        lv2:minimum 0 ;\n        lv2:maximum " << maximum;
    };
    port(lv2port::kBand, "band", "Band", static_cast<int>(kBandNames.size()) - 1);
    out << " ;\n        lv2:portProperty lv2:integer , lv2:enumeration";
    WriteScalePoints(out, kBandNames.data(), static_cast<int>(kBandNames.size()), 0);
    out << "\n    ]";
    const char* const states[] = {"Still", "Running", "Blocked"};
    for (int k = 0; k < 2; ++k)
    {
        const std::string which = std::to_string(k + 1);
        out << " , ";
        port(lv2port::kLfoMarker[k], ("lfo" + which + "Marker").c_str(), ("LFO" + which + " Marker").c_str(),
             1);
        out << "\n    ] , ";
        port(lv2port::kLfoState[k], ("lfo" + which + "State").c_str(), ("LFO" + which + " State").c_str(), 2);
        out << " ;\n        lv2:portProperty lv2:integer , lv2:enumeration";
        WriteScalePoints(out, states, 3, 0);
        out << "\n    ]";
    }
    out << " , ";
    port(lv2port::kEditorScale, "editorScale", "Editor Scale", 3);
    out << " ;\n        lv2:portProperty pprops:notOnGUI\n    ]";
}

void Lv2TtlWriter::WriteUi(std::ostream& out) const
{
    out << "<" << lv2port::kUiUri << ">\n"
        << "    a ui:X11UI ;\n"
        << "    lv2:requiredFeature ui:idleInterface , ui:parent ;\n"
        << "    lv2:optionalFeature ui:resize , ui:touch , urid:map , opts:options ;\n"
        << "    opts:supportedOption ui:scaleFactor ;\n"
        << "    lv2:extensionData ui:idleInterface , ui:resize , opts:interface";
    const char* const shown[] = {"band", "lfo1Marker", "lfo1State", "lfo2Marker", "lfo2State", "editorScale"};
    for (const char* symbol : shown)
        out << " ;\n    ui:portNotification [ ui:plugin <" << lv2port::kPluginUri << "> ; lv2:symbol "
            << Quoted(symbol) << " ; ui:protocol ui:floatProtocol ]";
    out << " .\n";
}

void Lv2TtlWriter::WritePresets(std::ostream& out) const
{
    out << kPrefixes;
    for (int p = 0; p < instance.Programs().Count(); ++p)
    {
        if (!instance.Programs().InUse(p) || !instance.Programs().Select(p))
            continue;
        out << PresetUri(p) << "\n    a pset:Preset ;\n    lv2:appliesTo <" << lv2port::kPluginUri
            << "> ;\n    rdfs:label " << Quoted(instance.Programs().NameUtf8(p)) << " ;\n    lv2:port ";
        bool first = true;
        for (int i = 0; i < instance.ParamCount(); ++i)
        {
            const Parameter& param = *instance.Param(i);
            if (param.Flags() & Parameter::kTrigger)
                continue; // an action, not part of a sound
            out << (first ? "" : " , ") << "[ lv2:symbol " << Quoted(param.StringId()) << " ; pset:value "
                << Number(instance.ParamValue(i)) << " ]";
            first = false;
        }
        out << " .\n\n";
    }
}
} // namespace tpm
