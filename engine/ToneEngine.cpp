#include "engine/ToneEngine.h"

#include "engine/BandNames.h"
#include "engine/ParamId.h"
#include "engine/ToneEnums.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tpm
{
using enum ParamId;

namespace
{
constexpr double kTwoPi = Waveforms::kTwoPi;
constexpr float kMinLevel = 0.00001f;

// What a new sample rate recomputes.
constexpr ParamId kSampleRateDependent[] = {kBaseFreq, kBinaural, kFade, kLfo1RateMs, kLfo2RateMs};

// The parameter whose working value each LFO target drives.
constexpr ParamId kTargetParam[kLfoTargetCount] = {kNone, kBaseFreq, kBinaural, kBinauralPan, kMix};

// The ranges an LFO sweeps the tone's frequencies over, in radians per second: 2π × 20 Hz to
// 2π × 20 000 Hz for the base frequency (the parameter's range), 2π × 512 Hz for the offset.
constexpr double kTwoPiTimes20Hz = 125.66370614359172;
constexpr double kTwoPiTimes20000Hz = 125663.70614359173;
constexpr double kTwoPiTimes512Hz = 3216.990877275948;

// Half away from zero; non-finite input counts as 0 so every derived value stays finite.
double RoundHalfAway(double x)
{
    if (!std::isfinite(x))
        return 0.0;
    return x >= 0.0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
}

int ClampToInt(double a, int lo, int hi)
{
    return static_cast<int>(std::clamp(a, static_cast<double>(lo), static_cast<double>(hi)));
}

const char* BandName(float b, bool binaural)
{
    if (!(b > 0.0f))
        return kBandNames[binaural ? 0 : 1];
    // The upper edge of each band from EPSILON on, in Hz; the last band, LAMBDA, has none.
    constexpr float kUpperEdges[] = {0.5f, 4.0f, 8.0f, 14.0f, 30.0f, 100.0f};
    std::size_t band = 2;
    for (const float edge : kUpperEdges)
    {
        if (b < edge)
            break;
        ++band;
    }
    return kBandNames[band];
}
} // namespace

double ToneEngine::InverseRate() const
{
    return sampleRate > 0.0 && std::isfinite(sampleRate) ? 1.0 / sampleRate : 0.0;
}

void ToneEngine::RememberWholeNote(double wholeNote)
{
    // Kept in seconds, so that a later change of sample rate keeps the remembered tempo.
    if (wholeNote > 0.0 && sampleRate > 0.0)
        lastWholeNoteSeconds = wholeNote / sampleRate;
}

double ToneEngine::SyncWholeNote() const
{
    if (samplesPerWholeNote > 0.0)
        return samplesPerWholeNote;
    if (lastWholeNoteSeconds > 0.0)
        return lastWholeNoteSeconds * sampleRate;
    return 2.0 * sampleRate; // 120 beats per minute
}

void ToneEngine::Reset(double liveSampleRate)
{
    if (liveSampleRate != sampleRate)
    {
        sampleRate = liveSampleRate;
        for (const ParamId param : kSampleRateDependent)
            Rehandle(param);
    }
    RestartLfo(0);
    RestartLfo(1);
    PublishDisplay();
}

void ToneEngine::PublishDisplay()
{
    display.PublishBand(bandText);
    for (int k = 0; k < 2; ++k)
        display.PublishLfo(k, lfo[k].graph, lfo[k].sync);
}

void ToneEngine::PressRestart()
{
    if (restartHeld)
        return;
    restartHeld = true;
    RestartLfo(0);
    RestartLfo(1);
}

void ToneEngine::Rehandle(ParamId param)
{
    static_cast<void>(HandleParamChange(param));
}

ToneEngine::WriteBack ToneEngine::HandleParamChange(ParamId param)
{
    if (!IsParam(param))
        return {};

    const double grid = param == kBaseFreq ? 10.0 : param == kBinaural ? 100.0 : 1.0;
    const double a = RoundHalfAway(values.ParamValue(param) * grid);
    const double toPerSample = InverseRate();
    WriteBack writeBack;

    switch (param)
    {
    case kBaseFreq:
    {
        const float base = static_cast<float>(a) * 0.1f;
        lastBaseFreq = base;
        baseInc = osc1IncTarget = static_cast<double>(base) * toPerSample * kTwoPi;
        osc2IncTarget = static_cast<double>(lastBeatFreq + base) * toPerSample * kTwoPi;
        break;
    }
    case kBinaural:
    {
        const float beat = static_cast<float>(a) * 0.01f;
        lastBeatFreq = beat;
        beatInc = static_cast<double>(beat) * toPerSample * kTwoPi;
        osc2IncTarget = static_cast<double>(beat + lastBaseFreq) * toPerSample * kTwoPi;
        bandText = BandName(beat, binauralMode);
        break;
    }
    case kWave:
        waveIndex = ClampToInt(a, 0, Waveforms::kToneWaveCount - 1);
        Waveforms::GoldenCoefficients(waveIndex, goldenFraction, goldenSplit, golden);
        break;
    case kBinauralPan:
        panTarget = static_cast<float>(a) * 0.01f;
        break;
    case kBeats:
        binauralMode = a <= 0.5;
        if (lastBeatFreq == 0.0f)
            bandText = BandName(0.0f, binauralMode);
        break;
    case kPlayAnyway:
        playAnyway = a > 0.5;
        break;
    case kFade:
    {
        // L = ms × rate / 4000; an unusable rate gives 0, a glide within one block.
        const double rate = toPerSample > 0.0 ? sampleRate : 0.0;
        const double samples = RoundHalfAway(a * rate * 0.00025);
        glideSamples = static_cast<uint32_t>(
            std::clamp(samples, 0.0, static_cast<double>(std::numeric_limits<uint32_t>::max())));
        break;
    }
    case kMix:
        levelTarget = std::max(static_cast<float>(a) * 0.01f, kMinLevel);
        break;
    case kRestartLfos:
        if (a == 1.0)
            PressRestart();
        else if (a == 0.0)
        {
            restartHeld = false;
        }
        break;
    default:
    {
        // 8..14 for LFO 1, 15..21 for LFO 2, in the same order.
        const int k = param < kLfo2Target ? 0 : 1;
        Lfo& l = lfo[k];
        switch (ForLfo(param, -k))
        {
        case kLfo1Target:
        {
            l.target = static_cast<LfoTarget>(ClampToInt(a, 0, kLfoTargetCount - 1));
            UpdateLfoTargets(k);
            const ParamId driven = kTargetParam[ToIndex(l.target)];
            // The parameter the LFO let go of gets its own value back.
            if (l.targetParam != kNone && l.targetParam != driven)
                Rehandle(l.targetParam);
            l.targetParam = driven;
            break;
        }
        case kLfo1Wave:
            l.wave = static_cast<int16_t>(ClampToInt(a, 0, Waveforms::kLfoWaveCount - 1));
            break;
        case kLfo1Sync:
            writeBack = SwitchSync(k, a);
            break;
        case kLfo1RateSync:
            if (l.sync)
                l.SetSyncedRate(ClampToInt(a, 0, Lfo::kDivisionCount - 1), SyncWholeNote());
            break;
        case kLfo1RateMs:
            if (!l.sync)
                l.SetFreeRate(a, sampleRate);
            break;
        case kLfo1Depth:
            l.depth = static_cast<float>(a) * 0.01f;
            if (l.active && l.targetParam != kNone)
                Rehandle(l.targetParam);
            break;
        case kLfo1Start:
        {
            const float s = static_cast<float>(a) * 0.01f;
            if (s != l.start)
            {
                l.start = s;
                RestartLfo(k);
            }
            break;
        }
        default:
            break;
        }
        break;
    }
    }

    // Re-centre an active LFO's swing when its target, its depth or the driven parameter changed.
    if (lfo[0].active && (param == kLfo1Target || param == kLfo1Depth || param == lfo[0].targetParam))
        SetupLfoDepth(0);
    if (lfo[1].active && (param == kLfo2Target || param == kLfo2Depth || param == lfo[1].targetParam))
        SetupLfoDepth(1);
    syncClicked = false;
    if (param == kRestartLfos)
        armed = true;
    PublishDisplay();
    return writeBack;
}

ToneEngine::TargetRange ToneEngine::RangeOf(LfoTarget target) const
{
    const double inverse = InverseRate();
    switch (target)
    {
    case LfoTarget::kBaseFreq:
        return {static_cast<float>(kTwoPiTimes20Hz * inverse),
                static_cast<float>(kTwoPiTimes20000Hz * inverse), static_cast<float>(osc1IncTarget)};
    case LfoTarget::kBinaural:
        return {0.0f, static_cast<float>(kTwoPiTimes512Hz * inverse), static_cast<float>(beatInc)};
    case LfoTarget::kBinauralPan:
        return {-1.0f, 1.0f, panTarget};
    default:
        return {kMinLevel, 1.0f, levelTarget};
    }
}

void ToneEngine::SetupLfoDepth(int k)
{
    Lfo& l = lfo[k];
    if (l.target == LfoTarget::kNone)
        return;
    const TargetRange r = RangeOf(l.target);
    l.SetupDepth(r.lo, r.hi, r.centre, l.target == LfoTarget::kBaseFreq);
}

void ToneEngine::UpdateLfoTargets(int k)
{
    LfoGraphValues& second = lfo[1].graph;
    second.blocked = false;
    lfo[k].active = lfo[k].target != LfoTarget::kNone;
    lfo[k].graph.running = lfo[k].active;
    if (lfo[1].target != LfoTarget::kNone)
    {
        // Two LFOs never drive the same value: LFO 1 wins.
        if (lfo[1].target == lfo[0].target)
        {
            second.blocked = true;
            lfo[1].active = false;
            second.running = false;
        }
        else if (!lfo[1].active)
        {
            lfo[1].active = true;
            second.running = true;
        }
    }
}

ToneEngine::WriteBack ToneEngine::SwitchSync(int k, double value)
{
    Lfo& l = lfo[k];
    const bool toSynced = value == 1.0;
    if (toSynced == l.sync)
        return {};
    l.sync = toSynced;

    const ParamId syncedIdx = ForLfo(kLfo1RateSync, k);
    const ParamId freeIdx = ForLfo(kLfo1RateMs, k);

    if (started && syncClicked)
    {
        // A click carries the running rate over into the other kind of rate parameter.
        if (toSynced)
        {
            const int division =
                std::clamp(Lfo::NearestSyncDivision(l.inc, SyncWholeNote()), 0, Lfo::kDivisionCount - 1);
            return {syncedIdx, static_cast<double>(division)};
        }
        const double periodMs = (1.0 / sampleRate) / l.inc * Lfo::kTwoPiMsPerSecond;
        if (std::isfinite(periodMs) && periodMs > 0.0)
        {
            return {freeIdx, periodMs};
        }
    }
    // Without a conversion the rate parameter now in force sets the rate, so that what plays is
    // what the parameters (and a saved state) say.
    Rehandle(toSynced ? syncedIdx : freeIdx);
    return {};
}
} // namespace tpm
