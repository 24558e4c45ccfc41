// The factory bank as tables: each setting starts from the common row kRow and names only what
// it changes. Slot numbers (counted from 1) are in the comments. Names are byte strings; the
// bytes C2 96 between a name's words and its frequency are part of them, and so are the typos
// and the values that differ from their names.
#include "plugin/FactoryPresets.h"

#include "core/ProgramBank.h"
#include "engine/ParamId.h"
#include "engine/ToneEnums.h"

#include <array>
#include <initializer_list>
#include <iterator>

namespace tpm
{
using enum ParamId;

namespace
{
using Values = std::array<double, kParamCount>;

struct Change
{
    ParamId param;
    double value;
};

constexpr Values Apply(Values values, std::initializer_list<Change> changes)
{
    for (const Change& c : changes)
        values[static_cast<std::size_t>(ToIndex(c.param))] = c.value;
    return values;
}

// Values of the enum parameters used below.
template <typename Choice> constexpr double ValueOf(Choice choice)
{
    return static_cast<double>(choice);
}
constexpr double kSine = ValueOf(ToneWave::kSine);
constexpr double kTriangle = ValueOf(ToneWave::kTriangle);
constexpr double kSaw = ValueOf(ToneWave::kSaw);
constexpr double kSquare = ValueOf(ToneWave::kSquare);
constexpr double kGoldenSine = ValueOf(ToneWave::kGoldenSine);
constexpr double kSineHalf = ValueOf(ToneWave::kSineHalf);
constexpr double kGoldenTriangle = ValueOf(ToneWave::kGoldenTriangle);
constexpr double kGoldenSquare = ValueOf(ToneWave::kGoldenSquare);
constexpr double kLfoSine = ValueOf(LfoWave::kSine);
constexpr double kTargetBaseFreq = ValueOf(LfoTarget::kBaseFreq);
constexpr double kTargetBinaural = ValueOf(LfoTarget::kBinaural);
constexpr double kTargetPan = ValueOf(LfoTarget::kBinauralPan);
constexpr double kTargetVolume = ValueOf(LfoTarget::kVolume);
constexpr double kYes = 1;
constexpr double kRate2of1 = 18;
constexpr double kRate4of1 = 21;

// The common row: 200 Hz, 4 Hz binaural, sine, pan 100 %, binaural beats, plays anyway, fade
// 1000 ms, mix 90 %, both LFOs unassigned (sine, synced at 1/1 or 2000 ms, depth 90 %, start 0 %).
// clang-format off
constexpr Values kRow = {200, 4, 0, 100, 0, 1, 1000, 90, 0, 0, 1, 15, 2000, 90, 0, 0, 0, 1, 15, 2000, 90, 0, 0};
// clang-format on

// M1: LFO2 on the volume at 2/1, depth 40 %.
constexpr Values M1(Values v)
{
    return Apply(v, {{kLfo2Target, kTargetVolume},
                     {kLfo2Wave, kLfoSine},
                     {kLfo2Sync, kYes},
                     {kLfo2RateSync, kRate2of1},
                     {kLfo2RateMs, 2000},
                     {kLfo2Depth, 40},
                     {kLfo2Start, 0}});
}

// S1: the Solfeggio "LFO" variant, mix 80 % and LFO1 on the volume at 2/1, depth 40 %.
constexpr Values S1(Values v)
{
    return Apply(v, {{kMix, 80},
                     {kLfo1Target, kTargetVolume},
                     {kLfo1Wave, kLfoSine},
                     {kLfo1Sync, kYes},
                     {kLfo1RateSync, kRate2of1},
                     {kLfo1RateMs, 2000},
                     {kLfo1Depth, 40},
                     {kLfo1Start, 0}});
}

struct Example
{
    const char* name;
    Values values;
};

// clang-format off
// Slots 2 to 13: waveform and LFO examples.
constexpr Example kExamples[] = {
    {"Higher frequencies",        Apply(kRow, {{kBaseFreq, 400}})},                                          // 2
    {"Modulated Binaural",        M1(Apply(kRow, {{kLfo1Target, kTargetBinaural}, {kLfo1RateSync, kRate4of1},
                                                  {kLfo1Depth, 20}}))},                                      // 3
    {"Modulated Binaural Golden", M1(Apply(kRow, {{kWave, kGoldenSine}, {kLfo1Target, kTargetBinaural},
                                                  {kLfo1RateSync, kRate4of1}, {kLfo1Depth, 20}}))},          // 4
    {"Shift Between Ears",        M1(Apply(kRow, {{kBinaural, 55}, {kWave, kGoldenSine}, {kBinauralPan, 0},
                                                  {kLfo1Target, kTargetPan}, {kLfo1RateSync, kRate4of1},
                                                  {kLfo1Depth, 100}}))},                                     // 5
    {"Modulated Base Freq",       M1(Apply(kRow, {{kBaseFreq, 300}, {kBinaural, 5}, {kLfo1Target, kTargetBaseFreq},
                                                  {kLfo1RateSync, kRate4of1}, {kLfo1Depth, 30}}))},          // 6
    {"Triangle waves",            Apply(kRow, {{kWave, kTriangle}, {kMix, 80}})},                                    // 7
    {"Saw waves",                 Apply(kRow, {{kWave, kSaw}, {kMix, 70}})},                                    // 8
    {"Square waves",              Apply(kRow, {{kWave, kSquare}, {kMix, 60}})},                                    // 9
    {"Golden Sine",               Apply(kRow, {{kWave, kGoldenSine}})},                                                // 10
    {"Golden Sine Half",          Apply(kRow, {{kWave, kSineHalf}})},                                                // 11
    {"Golden Triangle",           Apply(kRow, {{kWave, kGoldenTriangle}, {kMix, 80}})},                                    // 12
    {"Golden Square",             Apply(kRow, {{kWave, kGoldenSquare}, {kMix, 60}})},                                    // 13
};
// clang-format on

// Slots 14 to 103: binaural rates, Base Freq 200. Binaural 63 for "63.5" is factory data.
struct Rate
{
    const char* name;
    double binaural;
    double wave = kSine;
};

// clang-format off
constexpr Rate kRates[] = {
    // Brainwave list
    {"Binaural - 0.2 (Dental pain)", 0.2}, // 14
    {"Binaural - 0.28 (Arthritis)", 0.28}, // 15
    {"Binaural - 0.3 (Depression)", 0.3}, // 16
    {"Binaural - 0.37 (Drug addiction)", 0.37}, // 17
    {"Binaural - 0.4 (Confusion)", 0.4}, // 18
    {"Binaural - 0.5 (Post traumatics)", 0.5}, // 19
    {"Binaural - 0.9 (Euphoria)", 0.9}, // 20
    {"Binaural - 1 (Feeling of well-being, pituitary stimulation)", 1}, // 21
    {"Binaural - 1.45 (Tri-thalamic entrainment, Alzheimer)", 1.45}, // 22
    {"Binaural - 1.5 (Abrahams universal healing rate)", 1.5}, // 23
    {"Binaural - 1.8 (Sinus congestion)", 1.8}, // 24
    {"Binaural - 2.0 (Nerve regeneration)", 2.0}, // 25
    {"Binaural - 2.06 (Associated with coccyx)", 2.06}, // 26
    {"Binaural - 2.2 (Dreamless sleep, trance state)", 2.2}, // 27
    {"Binaural - 2.3 (Associated with genitals)", 2.3}, // 28
    {"Binaural - 2.57 (Associated with bladder)", 2.57}, // 29
    {"Binaural - 2.67 (Associated with intestines)", 2.67}, // 30
    {"Binaural - 3.0 (Increased Reaction Time)", 3.0}, // 31
    {"Binaural - 3.4 (Sound sleep)", 3.4}, // 32
    {"Binaural - 3.44 (Associated with ovaries)", 3.44}, // 33
    {"Binaural - 3.5 (Feeling of unity with everythin)", 3.5}, // 34
    {"Binaural - 3.6 (Remedy for anger & irritability)", 3.6}, // 35
    {"Binaural - 3.84 (Associated with the liver/pancreas)", 3.84}, // 36
    {"Binaural - 4.0 (Extrasensory perception, astral Projection)", 4.0}, // 37
    {"Binaural - 4.11 (Associated with kidneys)", 4.11}, // 38
    {"Binaural - 4.5 (Shamanic & Tibetan state of consciousness)", 4.5}, // 39
    {"Binaural - 4.6 (Associated with spleen & blood)", 4.6}, // 40
    {"Binaural - 4.9 (Relaxation & meditation)", 4.9}, // 41
    {"Binaural - 5.0 (Relaxed states, pain-relief)", 5.0}, // 42
    {"Binaural - 5.14 (Associated with stomach)", 5.14}, // 43
    {"Binaural - 5.35 (Associated with lungs)", 5.35}, // 44
    {"Binaural - 5.5 (Beyond knowledge to knowing)", 5.5}, // 45
    {"Binaural - 5.8 (Reduce fear, absent-mindedness)", 5.8}, // 46
    {"Binaural - 6.0 (Creative visualization)", 6.0}, // 47
    {"Binaural - 6.15 (Associated with heart)", 6.15}, // 48
    {"Binaural - 6.3 (Mental & astral projection)", 6.3}, // 49
    {"Binaural - 7.0 (Mental & astral projection 2)", 7.0}, // 50
    {"Binaural - 7.5 (Inter-awareness of self)", 7.5}, // 51
    {"Binaural - 7.8 (Stimulates ESP, paranormal)", 7.8}, // 52
    {"Binaural - 8.0 (Learning new information)", 8.0}, // 53
    {"Binaural - 8.6 (Induces sleep, tingling sensations)", 8.6}, // 54
    {"Binaural - 9.0 (Awareness of causes of body imbalance)", 9.0}, // 55
    {"Binaural - 9.41 (Pyramid frequency)", 9.41}, // 56
    {"Binaural - 9.6 (Earth's magnetic field)", 9.6}, // 57
    {"Binaural - 10.6 (Relaxed & alert)", 10.6}, // 58
    {"Binaural - 11.0 (Focused alertness)", 11.0}, // 59
    {"Binaural - 14.1 (Earth Resonance)", 14.1}, // 60
    {"Binaural - 15.0 (Euphoria)", 15.0}, // 61
    {"Binaural - 20.3 (Earth Resonance)", 20.3}, // 62
    {"Binaural - 22.02 (Serotonin)", 22.02}, // 63
    {"Binaural - 26.4 (Earth Resonance)", 26.4}, // 64
    {"Binaural - 30.0 (Associated with marijuana)", 30.0, kGoldenSine}, // 65
    {"Binaural - 31.32 (Pituitary stimulation to release growth hormone)", 31.32}, // 66
    {"Binaural - 32.0 (Desensitizer; enhanced vigour & alertnes)", 32.0}, // 67
    {"Binaural - 33.0 (Christ consciousness)", 33.0}, // 68
    {"Binaural - 35.0 (Awakening of mid-chakras, balance of chakras)", 35.0}, // 69
    {"Binaural - 38.0 (Endorphin release)", 38.0}, // 70
    {"Binaural - 46.98 (Useful for weird effects)", 46.98}, // 71
    {"Binaural - 55.0 (Tantric yoga, stimulates the kundalini)", 55.0}, // 72
    {"Binaural - 63.5 (Astral projection)", 63}, // 73
    {"Binaural - 70.0 (Mental & astral projection)", 70.0, kGoldenSine}, // 74
    {"Binaural - 83.0 (Third eye opening)", 83.0}, // 75
    {"Binaural - 90.0 (Pleasure, producing beta-endorphins)", 90.0, kGoldenSine}, // 76
    {"Binaural - 105.0 (Overall view of complete situation)", 105.0}, // 77
    {"Binaural - 108.0 (Total knowing)", 108.0}, // 78
    {"Binaural - 111.0 (Beta endorphins)", 111.0}, // 79
    {"Binaural - 176.0 (Associated with colon)", 176.0}, // 80
    // Chakras
    {"Binaural - 8.0 (Muladhara chakra)", 8.0}, // 81
    {"Binaural - 9.0 (Svadhisthana chakra)", 9.0}, // 82
    {"Binaural - 10.0 (Manipura chakra)", 10.0, kGoldenSine}, // 83
    {"Binaural - 10.5 (Anahata chakra)", 10.5}, // 84
    {"Binaural - 12.0 (Vishuddha chakra)", 12.0}, // 85
    {"Binaural - 13.0 (Ajna chakra)", 13.0}, // 86
    {"Binaural - 15.0 (Sahasrara chakra)", 15.0}, // 87
    // Schumann resonances
    {"Binaural - 7.83 (Schumann Resonance)", 7.83}, // 88
    {"Binaural - 14.3 (Schumann Resonance)", 14.3}, // 89
    {"Binaural - 20.8 (Schumann Resonance)", 20.8}, // 90
    {"Binaural - 27.3 (Schumann Resonance)", 27.3}, // 91
    {"Binaural - 33.8 (Schumann Resonance)", 33.8}, // 92
    // Planetary tones
    {"Binaural - 126.22 (Sun: light, warmth, joy, animus)", 126.22}, // 93
    {"Binaural - 136.1 (Earth: resonates with the earth year)", 136.1}, // 94
    {"Binaural - 140.25 (Pluto: power, crisis & changes)", 140.25}, // 95
    {"Binaural - 141.27 (Mercury: intellectuality, mobility)", 141.27}, // 96
    {"Binaural - 144.72 (Mars: activity, energy, freedom, humor)", 144.72}, // 97
    {"Binaural - 147.85 (Saturn: separation, sorrow, death)", 147.85}, // 98
    {"Binaural - 183.58 (Jupiter: growth, success, justice, spirituality)", 183.58}, // 99
    {"Binaural - 194.71 (Earth: stability, grounding)", 194.71}, // 100
    {"Binaural - 207.36 (Uranus: spontaneity, independence, originality)", 207.36}, // 101
    {"Binaural - 211.44 (Neptune: the unconscious, secrets, imagination, spiritual love)", 211.44}, // 102
    {"Binaural - 221.23 (Venus: beauty, love, sexuality, sensuality, harmony)", 221.23}, // 103
};
// clang-format on

// Slots 104 to 141: tones without beat, Binaural 0, Golden Sine; the "LFO" variants add S1.
// "Healing ... 220 Hz (Lungs)" playing 200 Hz is factory data.
constexpr bool kS1 = true;
struct Tone
{
    const char* name;
    double baseFreq;
    bool withS1 = false;
};

// clang-format off
constexpr Tone kTones[] = {
    // Healing tones
    {"Healing \xC2\x96 110 Hz (Stomach)", 110}, // 104
    {"Healing \xC2\x96 117.3 Hz (Pancreas)", 117.3}, // 105
    {"Healing \xC2\x96 164.3 Hz (Gall Bladder)", 164.3}, // 106
    {"Healing \xC2\x96 176 Hz (Colon)", 176}, // 107
    {"Healing \xC2\x96 220 Hz (Lungs)", 200}, // 108
    {"Healing \xC2\x96 264 Hz (Personality)", 264}, // 109
    {"Healing \xC2\x96 281.6 Hz (Small Intestine)", 281.6}, // 110
    {"Healing \xC2\x96 295.8 Hz (Fat Cells)", 295.8}, // 111
    {"Healing \xC2\x96 317.8 Hz (Liver)", 317.8}, // 112
    {"Healing \xC2\x96 319.9 Hz (Kidneys)", 319.9}, // 113
    {"Healing \xC2\x96 321.9 Hz (Blood)", 321.9}, // 114
    {"Healing \xC2\x96 324 Hz (Muscles)", 324}, // 115
    {"Healing \xC2\x96 352 Hz (Bladder)", 352}, // 116
    {"Healing \xC2\x96 418.3 Hz (Bones)", 418.3}, // 117
    {"Healing \xC2\x96 432 Hz (Natural, harmonic intonation of nature)", 432}, // 118
    {"Healing \xC2\x96 492 Hz (Spleen)", 492}, // 119
    {"Healing \xC2\x96 492.8 Hz (Adrenals, thyroid & parathyroid)", 492.8}, // 120
    {"Healing \xC2\x96 586 Hz (Circulation  & sex)", 586}, // 121
    // Solfeggio tones, each followed by its LFO variant
    {"Solfeggio UT \xC2\x96 396 Hz (Turning grief into joy, liberating Guilt and Fear)", 396}, // 122
    {"Solfeggio UT \xC2\x96 396 Hz LFO", 396, kS1}, // 123
    {"Solfeggio RE \xC2\x96 417 Hz (Undoing Situations and Facilitating Change)", 417}, // 124
    {"Solfeggio RE \xC2\x96 417 Hz LFO", 417, kS1}, // 125
    {"Solfeggio MI \xC2\x96 528 Hz (Transformation and Miracles, DNA Repair)", 528}, // 126
    {"Solfeggio MI \xC2\x96 528 Hz LFO", 528, kS1}, // 127
    {"Solfeggio FA \xC2\x96 639 Hz (Relationship, connecting with spiritual family)", 639}, // 128
    {"Solfeggio FA \xC2\x96 639 Hz LFO", 639, kS1}, // 129
    {"Solfeggio SOL \xC2\x96 741 Hz (Solving problems, expressions/solutions)", 741}, // 130
    {"Solfeggio SOL \xC2\x96 741 Hz LFO", 741, kS1}, // 131
    {"Solfeggio LA \xC2\x96 852 Hz (Awakening Intuition, returning to Spiritual Order)", 852}, // 132
    {"Solfeggio LA \xC2\x96 852 Hz LFO", 852, kS1}, // 133
    {"Solfeggio SI \xC2\x96 963 Hz (Awakens any system to its original, perfect state)", 963}, // 134
    {"Solfeggio SI \xC2\x96 963 Hz LFO", 963, kS1}, // 135
    {"Solfeggio - 174 Hz (Natural anaesthetic, reduce pain physically and energetically)", 174}, // 136
    {"Solfeggio - 174 Hz LFO", 174, kS1}, // 137
    {"Solfeggio \xC2\x96 285 Hz (Return tissue into its original form, influences energy fields)", 285}, // 138
    {"Solfeggio \xC2\x96 285 Hz LFO", 285, kS1}, // 139
    {"Solfeggio \xC2\x96 936 Hz (Pineal Gland Activator)", 936}, // 140
    {"Solfeggio \xC2\x96 936 Hz Hz LFO", 936, kS1}, // 141
};
// clang-format on

static_assert(std::size(kExamples) + std::size(kRates) + std::size(kTones) == 140);

void Add(ProgramBank& bank, const char* name, const Values& values)
{
    bank.AddFactory(name, values.data(), static_cast<int>(values.size()));
}
} // namespace

void AddFactoryPresets(ProgramBank& bank)
{
    bank.AddDefaults("---- default ----", 1);
    for (const Example& e : kExamples)
        Add(bank, e.name, e.values);
    for (const Rate& r : kRates)
        Add(bank, r.name, Apply(kRow, {{kBaseFreq, 200}, {kBinaural, r.binaural}, {kWave, r.wave}}));
    for (const Tone& t : kTones)
    {
        const Values plain = Apply(kRow, {{kBaseFreq, t.baseFreq}, {kBinaural, 0}, {kWave, kGoldenSine}});
        Add(bank, t.name, t.withS1 ? S1(plain) : plain);
    }
}
} // namespace tpm
