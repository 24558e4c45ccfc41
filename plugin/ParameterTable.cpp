#include "plugin/ParameterTable.h"

#include <iterator>

namespace tpm
{
namespace
{
constexpr const char* kWaveTexts[] = {"Sine",      "Triangle",       "Saw",         "Square", "Golden Sine",
                                      "Sine Half", "Gold. Triangle", "Gold. Square"};
constexpr const char* kBeatsTexts[] = {"Binaural", "Monaural"};
constexpr const char* kNoYesTexts[] = {"No", "Yes"};
constexpr const char* kTargetTexts[] = {"No Assign", "Base Freq", "Binaural", "Binaural Pan", "Volume"};
constexpr const char* kLfoWaveTexts[] = {"Sine",   "Triangle",  "Saw",      "Saw Flip",
                                         "Square", "Sine Half", "Half Flip"};
// Shortest to longest in groups of three: plain, triplet of the next longer note, dotted.
constexpr const char* kSyncTexts[] = {"1/32", "1/16T", "1/32D", "1/16", "1/8T",  "1/16D", "1/8",  "1/4T",
                                      "1/8D", "1/4",   "1/2T",  "1/4D", "1/2",   "1/1T",  "1/2D", "1/1",
                                      "2/1T", "1/1D",  "2/1",   "4/1T", "2/1D",  "4/1",   "8/1T", "4/1D",
                                      "8/1",  "16/1T", "8/1D",  "16/1", "32/1T", "16/1D", "32/1"};
constexpr int kDefaultSyncDivision = 15; // "1/1"
// Names that formats identifying parameters by text keep for good, in index order.
constexpr const char* kStringIds[] = {
    "baseFreq",     "binaural",   "wave",       "binauralPan", "beats",      "playAnyway",
    "fade",         "mix",        "lfo1Target", "lfo1Wave",    "lfo1Sync",   "lfo1RateSync",
    "lfo1RateMs",   "lfo1Depth",  "lfo1Start",  "lfo2Target",  "lfo2Wave",   "lfo2Sync",
    "lfo2RateSync", "lfo2RateMs", "lfo2Depth",  "lfo2Start",   "restartLfos"};

struct Title
{
    ParamId param;
    const char* title;
};
// The two rates of each LFO share a name; the restart has none.
constexpr Title kTitles[] = {{ParamId::kLfo1RateSync, "LFO1 Rate (sync)"},
                             {ParamId::kLfo1RateMs, "LFO1 Rate (ms)"},
                             {ParamId::kLfo2RateSync, "LFO2 Rate (sync)"},
                             {ParamId::kLfo2RateMs, "LFO2 Rate (ms)"},
                             {ParamId::kRestartLfos, "Restart LFOs"}};

template <std::size_t N>
void DefineEnum(PluginCore& plugin, ParamId index, const char* name, int defaultValue,
                const char* const (&texts)[N])
{
    Parameter* param = plugin.Params().Get(ToIndex(index));
    if (!param)
        return;
    param->DefineEnum(name, defaultValue, static_cast<int>(N), "");
    for (std::size_t i = 0; i < N; ++i)
        param->AddValueText(static_cast<int>(i), texts[i]);
}

void DefineInt(PluginCore& plugin, ParamId index, const char* name, int defaultValue, int min, int max,
               const char* label, double curve = 1.0)
{
    Parameter* param = plugin.Params().Get(ToIndex(index));
    if (!param)
        return;
    param->DefineInt(name, defaultValue, min, max, label);
    if (curve != 1.0)
        param->SetCurve(curve);
}

// LFO k's seven parameters, in the order LFO 1's are listed.
void DefineLfo(PluginCore& plugin, int k, const char* target, const char* wave, const char* sync,
               const char* rate, const char* depth, const char* start)
{
    using enum ParamId;
    DefineEnum(plugin, ForLfo(kLfo1Target, k), target, 0, kTargetTexts);
    DefineEnum(plugin, ForLfo(kLfo1Wave, k), wave, 0, kLfoWaveTexts);
    DefineEnum(plugin, ForLfo(kLfo1Sync, k), sync, 1, kNoYesTexts);
    DefineEnum(plugin, ForLfo(kLfo1RateSync, k), rate, kDefaultSyncDivision, kSyncTexts);
    DefineInt(plugin, ForLfo(kLfo1RateMs, k), rate, 2000, 60, 64000, "ms", 2.0);
    DefineInt(plugin, ForLfo(kLfo1Depth, k), depth, 90, 0, 100, "%");
    DefineInt(plugin, ForLfo(kLfo1Start, k), start, 0, 0, 100, "%");
}
} // namespace

EffectIdentity PluginIdentity()
{
    EffectIdentity identity;
    identity.paramCount = kParamCount;
    identity.inputs = 2;
    identity.outputs = 2;
    identity.presetCount = 150;
    return identity;
}

void DefineParameters(PluginCore& plugin)
{
    using enum ParamId;
    if (Parameter* param = plugin.Params().Get(ToIndex(kBaseFreq)))
    {
        param->DefineDouble("Base Freq", 200.0, 20.0, 20000.0, 0.1, "Hz");
        param->SetCurve(2.0);
    }
    if (Parameter* param = plugin.Params().Get(ToIndex(kBinaural)))
        param->DefineDouble("Binaural", 4.0, 0.0, 512.0, 0.01, "Hz");
    DefineEnum(plugin, kWave, "Wave", 0, kWaveTexts);
    DefineInt(plugin, kBinauralPan, "Binaural Pan", 100, -100, 100, "%");
    DefineEnum(plugin, kBeats, "Beats", 0, kBeatsTexts);
    DefineEnum(plugin, kPlayAnyway, "Play Anyway", 0, kNoYesTexts);
    DefineInt(plugin, kFade, "Fade", 1000, 1, 90000, "ms");
    DefineInt(plugin, kMix, "Mix", 50, 0, 100, "%");
    DefineLfo(plugin, 0, "LFO1 Target", "LFO1 Wave", "LFO1 Sync", "LFO1 Rate", "LFO1 Depth", "LFO1 Start");
    DefineLfo(plugin, 1, "LFO2 Target", "LFO2 Wave", "LFO2 Sync", "LFO2 Rate", "LFO2 Depth", "LFO2 Start");
    static_assert(std::size(kSyncTexts) == 31);
    static_assert(std::size(kStringIds) == kParamCount);
    for (int i = 0; i < kParamCount; ++i)
        if (Parameter* param = plugin.Params().Get(i))
            param->SetStringId(kStringIds[i]);
}

const char* ParameterTitle(int paramIdx)
{
    for (const Title& entry : kTitles)
        if (ToIndex(entry.param) == paramIdx)
            return entry.title;
    return nullptr;
}
} // namespace tpm
