#include "engine/ToneEngine.h"

#include "engine/ParamId.h"
#include "engine/ToneEnums.h"

#include <algorithm>
#include <cmath>
#include <limits>

using enum ParamId;

namespace
{
constexpr double kTwoPi = Waveforms::kTwoPi;
constexpr double kSilence = 1e-24;
constexpr float kMinLevel = 0.00001f;

// What the first block recomputes (everything that depends on the sample rate or the tempo), and
// what a new sample rate recomputes.
constexpr ParamId kRateDependent[] = {kBaseFreq,   kBinaural,     kFade,      kLfo1RateSync,
                                      kLfo1RateMs, kLfo2RateSync, kLfo2RateMs};
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

// The step itself, or 0 when adding it does not change the value.
template <typename T> T EffectiveStep(T value, T step)
{
    return value + step == value ? T{0} : step;
}

int ClampToInt(double a, int lo, int hi)
{
    return static_cast<int>(std::clamp(a, static_cast<double>(lo), static_cast<double>(hi)));
}

const char* BandName(float b, bool binaural)
{
    if (!(b > 0.0f))
        return binaural ? "Binaural Off" : "Monaural Off";
    if (b < 0.5f)
        return "EPSILON";
    if (b < 4.0f)
        return "DELTA";
    if (b < 8.0f)
        return "THETA";
    if (b < 14.0f)
        return "ALPHA";
    if (b < 30.0f)
        return "BETA";
    if (b < 100.0f)
        return "GAMMA";
    return "LAMBDA";
}
} // namespace

const ToneEngine::Renderer ToneEngine::kRenderers[kPassCount][Waveforms::kToneWaveCount] = {
    {&ToneEngine::RenderTone<0, Pass::Steady>, &ToneEngine::RenderTone<1, Pass::Steady>,
     &ToneEngine::RenderTone<2, Pass::Steady>, &ToneEngine::RenderTone<3, Pass::Steady>,
     &ToneEngine::RenderTone<4, Pass::Steady>, &ToneEngine::RenderTone<5, Pass::Steady>,
     &ToneEngine::RenderTone<6, Pass::Steady>, &ToneEngine::RenderTone<7, Pass::Steady>},
    {&ToneEngine::RenderTone<0, Pass::Moving>, &ToneEngine::RenderTone<1, Pass::Moving>,
     &ToneEngine::RenderTone<2, Pass::Moving>, &ToneEngine::RenderTone<3, Pass::Moving>,
     &ToneEngine::RenderTone<4, Pass::Moving>, &ToneEngine::RenderTone<5, Pass::Moving>,
     &ToneEngine::RenderTone<6, Pass::Moving>, &ToneEngine::RenderTone<7, Pass::Moving>},
    {&ToneEngine::RenderTone<0, Pass::FadingOut>, &ToneEngine::RenderTone<1, Pass::FadingOut>,
     &ToneEngine::RenderTone<2, Pass::FadingOut>, &ToneEngine::RenderTone<3, Pass::FadingOut>,
     &ToneEngine::RenderTone<4, Pass::FadingOut>, &ToneEngine::RenderTone<5, Pass::FadingOut>,
     &ToneEngine::RenderTone<6, Pass::FadingOut>, &ToneEngine::RenderTone<7, Pass::FadingOut>},
};

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

void ToneEngine::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    if (!armed)
        return;

    double wholeNote = 4.0 * host.GetSamplesPerBeat();
    if (!(wholeNote > 0.0 && std::isfinite(wholeNote)))
        wholeNote = 0.0;
    if (!started)
    {
        started = true;
        sampleRate = host.LiveSampleRate();
        samplesPerWholeNote = wholeNote;
        RememberWholeNote(wholeNote);
        for (const ParamId param : kRateDependent)
            host.HandleParamChange(param);
    }
    else if (wholeNote != samplesPerWholeNote)
    {
        samplesPerWholeNote = wholeNote;
        RememberWholeNote(wholeNote);
        host.HandleParamChange(kLfo1RateSync);
        host.HandleParamChange(kLfo2RateSync);
    }

    const float goal = playAnyway || host.GetTransportState() != 0 ? levelTarget : 0.0f;

    if (nFrames > 0)
    {
        BlockPlan plan{goal, 0.0, 0.0, 0.0f, 0.0f, {}};
        for (int t = 1; t < kLfoTargetCount; ++t)
            plan.driven[t] = ToIndex(lfo[0].target) == t || ToIndex(lfo[1].target) == t;

        const double d1 = osc1IncTarget - osc1Inc;
        const double d2 = osc2IncTarget - osc2Inc;
        if (std::fabs(d1) > kSilence || std::fabs(d2) > kSilence)
        {
            const double m = std::max(glideSamples, static_cast<uint32_t>(nFrames));
            plan.step1 = plan.driven[1] ? 0.0 : d1 / m;
            // An LFO on the base frequency rewrites oscillator 2 every sample as its output plus
            // the binaural offset; a glide step on top would only skew the beat.
            plan.step2 = plan.driven[1] || plan.driven[2] ? 0.0 : d2 / m;
        }
        const float frames = static_cast<float>(nFrames);
        plan.panStep = plan.driven[3] ? 0.0f : (panTarget - pan) / frames;
        plan.levelStep = plan.driven[4] ? 0.0f : (goal - level) / frames;
        // No LFO writes a value that has a step, so a step too small to move its value leaves
        // it unchanged all block: a glide's last few ulps, which it never quite covers.
        plan.step1 = EffectiveStep(osc1Inc, plan.step1);
        plan.step2 = EffectiveStep(osc2Inc, plan.step2);
        plan.panStep = EffectiveStep(pan, plan.panStep);
        plan.levelStep = EffectiveStep(level, plan.levelStep);

        const int wave = std::clamp(waveIndex, 0, Waveforms::kToneWaveCount - 1);
        // A frame sounds while the goal or the current level is above silence. A goal above it
        // holds for the whole block; below it, the level can only fall to silence and then
        // stays there, since silent frames leave it alone.
        int sounded = 0;
        if (static_cast<double>(goal) > kSilence)
        {
            const bool steady = !lfo[0].active && !lfo[1].active && plan.step1 == 0.0 && plan.step2 == 0.0 &&
                                plan.panStep == 0.0f && plan.levelStep == 0.0f && osc1Inc >= 0.0 &&
                                osc1Inc < kTwoPi && osc2Inc >= 0.0 && osc2Inc < kTwoPi;
            const Pass pass = steady ? Pass::Steady : Pass::Moving;
            sounded = (this->*kRenderers[static_cast<int>(pass)][wave])(plan, inputs, outputs, nFrames);
        }
        else if (static_cast<double>(level) > kSilence)
        {
            sounded =
                (this->*kRenderers[static_cast<int>(Pass::FadingOut)][wave])(plan, inputs, outputs, nFrames);
        }
        RenderSilence(inputs, outputs, sounded, nFrames);
    }

    pan = panTarget;
    level = goal;
}

// Inlined by force: as calls they cost as much as the work and push the render loop's values out
// of registers.
[[gnu::always_inline]] inline bool ToneEngine::ApplyLfo(LfoTarget target, double out, double& inc1,
                                                        double& inc2, float& curPan, float& curLevel) const
{
    switch (target)
    {
    case LfoTarget::kBaseFreq:
        inc1 = out;
        inc2 = out + beatInc;
        break;
    case LfoTarget::kBinaural:
        inc2 = out + baseInc;
        break;
    case LfoTarget::kBinauralPan:
        curPan = static_cast<float>(out);
        break;
    case LfoTarget::kVolume:
        curLevel = static_cast<float>(out);
        break;
    default:
        return false;
    }
    return true;
}

[[gnu::always_inline]] inline void ToneEngine::StepLfo(Lfo& l, double& inc1, double& inc2, float& curPan,
                                                       float& curLevel) const
{
    const double out = l.Step();
    if (ApplyLfo(l.target, out, inc1, inc2, curPan, curLevel))
        l.graph.position = static_cast<float>(out);
}

template <int Wave, ToneEngine::Pass P>
int ToneEngine::RenderTone(const BlockPlan& plan, double** inputs, double** outputs, int nFrames)
{
    // Locals, because the output buffers could alias any member as far as the compiler knows;
    // they are written back after the loop. The LFOs run on copies for the same reason.
    double phase1 = osc1Phase;
    double phase2 = osc2Phase;
    double inc1 = osc1Inc;
    double inc2 = osc2Inc;
    float curLevel = level;
    float curPan = pan;
    Lfo lfo1 = lfo[0];
    Lfo lfo2 = lfo[1];
    const bool binaural = binauralMode;
    const Waveforms::Golden shape = golden;
    const double* inL = inputs[0];
    const double* inR = inputs[1];
    double* outL = outputs[0];
    double* outR = outputs[1];

    // Steady: the mix weights in double once per block. Monaural is the binaural formula with
    // gain = level and both sides weighted 1, which gives the same sums bit for bit.
    const double gain = binaural ? 0.5 * curLevel : curLevel;
    const double away = binaural ? 1.0f - curPan : 1.0f;
    const double toward = binaural ? 1.0f + curPan : 1.0f;
    const double dry = 1.0f - curLevel;

    // The moving pass runs the LFOs ahead in short stretches, each with its wave picked once.
    constexpr int kLfoStretch = 64;
    double lfoOut[2][kLfoStretch];
    int stretchAt = kLfoStretch;

    int i = 0;
    for (; i < nFrames; ++i)
    {
        if constexpr (P == Pass::FadingOut)
        {
            if (!(static_cast<double>(curLevel) > kSilence))
                break;
        }
        const double left = inL[i];
        const double right = inR[i];
        if constexpr (P == Pass::Steady)
        {
            double w = 0.0;
            double v = 0.0;
            Waveforms::TonePair<Wave>(phase1, phase2, goldenSplit, shape, w, v);
            outL[i] = gain * (away * v + toward * w) + dry * left;
            outR[i] = gain * (away * w + toward * v) + dry * right;
            // Increments in [0, 2π) here, so one subtraction always wraps.
            phase1 = Waveforms::WrapOnce(phase1 + inc1);
            phase2 = Waveforms::WrapOnce(phase2 + inc2);
        }
        else
        {
            if constexpr (P == Pass::Moving)
            {
                // Every frame of this pass sounds, so the LFOs may run ahead of the frames.
                if (stretchAt == kLfoStretch)
                {
                    const int n = std::min(kLfoStretch, nFrames - i);
                    if (lfo1.active)
                        lfo1.Run(lfoOut[0], n);
                    if (lfo2.active)
                        lfo2.Run(lfoOut[1], n);
                    stretchAt = 0;
                }
                if (lfo1.active)
                    ApplyLfo(lfo1.target, lfoOut[0][stretchAt], inc1, inc2, curPan, curLevel);
                if (lfo2.active)
                    ApplyLfo(lfo2.target, lfoOut[1][stretchAt], inc1, inc2, curPan, curLevel);
                ++stretchAt;
            }
            else
            {
                if (lfo1.active)
                    StepLfo(lfo1, inc1, inc2, curPan, curLevel);
                if (lfo2.active)
                    StepLfo(lfo2, inc1, inc2, curPan, curLevel);
            }
            inc1 += plan.step1;
            inc2 += plan.step2;
            curLevel += plan.levelStep;
            curPan += plan.panStep;

            double w = 0.0;
            double v = 0.0;
            Waveforms::TonePair<Wave>(phase1, phase2, goldenSplit, shape, w, v);
            const float frameDry = 1.0f - curLevel;
            if (binaural)
            {
                const float frameAway = 1.0f - curPan;
                const float frameToward = 1.0f + curPan;
                outL[i] = 0.5 * curLevel * (frameAway * v + frameToward * w) + frameDry * left;
                outR[i] = 0.5 * curLevel * (frameAway * w + frameToward * v) + frameDry * right;
            }
            else
            {
                const double tone = curLevel * (v + w);
                outL[i] = frameDry * left + tone;
                outR[i] = frameDry * right + tone;
            }
            phase1 = Waveforms::WrapPhase(phase1 + inc1);
            phase2 = Waveforms::WrapPhase(phase2 + inc2);
        }
    }

    osc1Phase = phase1;
    osc2Phase = phase2;
    osc1Inc = inc1;
    osc2Inc = inc2;
    level = curLevel;
    pan = curPan;
    if constexpr (P != Pass::Steady)
    {
        for (int k = 0; k < 2; ++k)
        {
            const Lfo& ran = k == 0 ? lfo1 : lfo2;
            lfo[k].phase = ran.phase;
            lfo[k].squareState = ran.squareState;
            lfo[k].graph.position = ran.graph.position;
        }
    }
    return i;
}

void ToneEngine::RenderSilence(double** inputs, double** outputs, int from, int nFrames) const
{
    const double dry = 1.0f - level;
    const double* inL = inputs[0];
    const double* inR = inputs[1];
    double* outL = outputs[0];
    double* outR = outputs[1];
    for (int i = from; i < nFrames; ++i)
    {
        const double left = inL[i];
        const double right = inR[i];
        outL[i] = dry * left;
        outR[i] = dry * right;
    }
}

void ToneEngine::Reset()
{
    const double live = host.LiveSampleRate();
    if (live != sampleRate)
    {
        sampleRate = live;
        for (const ParamId param : kSampleRateDependent)
            host.HandleParamChange(param);
    }
    RestartLfo(0);
    RestartLfo(1);
}

void ToneEngine::HandleParamChange(ParamId param)
{
    if (!IsParam(param))
        return;

    const double grid = param == kBaseFreq ? 10.0 : param == kBinaural ? 100.0 : 1.0;
    const double a = RoundHalfAway(host.ParamValue(param) * grid);
    const double toPerSample = InverseRate();

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
        {
            if (!restartHeld)
            {
                restartHeld = true;
                RestartLfo(0);
                RestartLfo(1);
            }
        }
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
                host.HandleParamChange(l.targetParam);
            l.targetParam = driven;
            break;
        }
        case kLfo1Wave:
            l.wave = static_cast<int16_t>(ClampToInt(a, 0, Waveforms::kLfoWaveCount - 1));
            break;
        case kLfo1Sync:
            SwitchSync(k, a);
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
                host.HandleParamChange(l.targetParam);
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

void ToneEngine::SwitchSync(int k, double value)
{
    Lfo& l = lfo[k];
    const bool toSynced = value == 1.0;
    if (toSynced == l.sync)
        return;
    l.sync = toSynced;

    const ParamId syncedIdx = ForLfo(kLfo1RateSync, k);
    const ParamId freeIdx = ForLfo(kLfo1RateMs, k);
    host.HideControls(syncedIdx, !toSynced);
    host.HideControls(freeIdx, toSynced);

    if (started && syncClicked)
    {
        // A click carries the running rate over into the other kind of rate parameter.
        if (toSynced)
        {
            const int division =
                std::clamp(Lfo::NearestSyncDivision(l.inc, SyncWholeNote()), 0, Lfo::kDivisionCount - 1);
            host.SetParamFromEngine(syncedIdx, division);
            return;
        }
        const double periodMs = (1.0 / sampleRate) / l.inc * Lfo::kTwoPiMsPerSecond;
        if (std::isfinite(periodMs) && periodMs > 0.0)
        {
            host.SetParamFromEngine(freeIdx, periodMs);
            return;
        }
    }
    // Without a conversion the rate parameter now in force sets the rate, so that what plays is
    // what the parameters (and a saved state) say.
    host.HandleParamChange(toSynced ? syncedIdx : freeIdx);
}
