// The tone engine's rendering: a block is planned once (which values move, by how much), then
// rendered by the pass that fits it, specialised per tone wave.
#include "engine/ToneEngine.h"

#include "engine/ParamId.h"
#include "engine/ToneEnums.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tpm
{
using enum ParamId;

namespace
{
constexpr double kTwoPi = Waveforms::kTwoPi;
constexpr double kSilence = 1e-24;

// What the first block recomputes: everything that depends on the sample rate or the tempo.
constexpr ParamId kRateDependent[] = {kBaseFreq,   kBinaural,     kFade,      kLfo1RateSync,
                                      kLfo1RateMs, kLfo2RateSync, kLfo2RateMs};

// The step itself, or 0 when adding it does not change the value.
template <typename T> T EffectiveStep(T value, T step)
{
    return value + step == value ? T{0} : step;
}

// One working value frame by frame: an LFO's output plus `offset` where an LFO drives it, else
// the value moved by its step. Steps are 0 for driven values, so both forms add the step.
template <typename T> void Follow(T* track, const double* lfoOut, double offset, T step, T& value, int n)
{
    if (lfoOut != nullptr)
    {
        for (int j = 0; j < n; ++j)
            track[j] = static_cast<T>(lfoOut[j] + offset) + step;
        value = track[n - 1];
    }
    else if (step == T{0})
    {
        std::fill(track, track + n, value);
    }
    else
    {
        for (int j = 0; j < n; ++j)
        {
            value += step;
            track[j] = value;
        }
    }
}

// One frame's mix of the two tone values w (oscillator 1) and v (oscillator 2) into the input, at
// a level and pan that move from frame to frame. Monaural sums both tones at the level.
template <bool Binaural>
[[gnu::always_inline]] inline void MixFrame(double w, double v, float level, float pan, double left,
                                            double right, double& outLeft, double& outRight)
{
    const float dry = 1.0f - level;
    if constexpr (Binaural)
    {
        const float away = 1.0f - pan;
        const float toward = 1.0f + pan;
        outLeft = 0.5 * level * (away * v + toward * w) + dry * left;
        outRight = 0.5 * level * (away * w + toward * v) + dry * right;
    }
    else
    {
        const double tone = level * (v + w);
        outLeft = dry * left + tone;
        outRight = dry * right + tone;
    }
}
} // namespace

const ToneEngine::Renderer ToneEngine::kRenderers[kPassCount][Waveforms::kToneWaveCount] = {
    {&ToneEngine::RenderTone<0, Pass::Steady>, &ToneEngine::RenderTone<1, Pass::Steady>,
     &ToneEngine::RenderTone<2, Pass::Steady>, &ToneEngine::RenderTone<3, Pass::Steady>,
     &ToneEngine::RenderTone<4, Pass::Steady>, &ToneEngine::RenderTone<5, Pass::Steady>,
     &ToneEngine::RenderTone<6, Pass::Steady>, &ToneEngine::RenderTone<7, Pass::Steady>},
    {&ToneEngine::RenderMoving<0>, &ToneEngine::RenderMoving<1>, &ToneEngine::RenderMoving<2>,
     &ToneEngine::RenderMoving<3>, &ToneEngine::RenderMoving<4>, &ToneEngine::RenderMoving<5>,
     &ToneEngine::RenderMoving<6>, &ToneEngine::RenderMoving<7>},
    {&ToneEngine::RenderTone<0, Pass::FadingOut>, &ToneEngine::RenderTone<1, Pass::FadingOut>,
     &ToneEngine::RenderTone<2, Pass::FadingOut>, &ToneEngine::RenderTone<3, Pass::FadingOut>,
     &ToneEngine::RenderTone<4, Pass::FadingOut>, &ToneEngine::RenderTone<5, Pass::FadingOut>,
     &ToneEngine::RenderTone<6, Pass::FadingOut>, &ToneEngine::RenderTone<7, Pass::FadingOut>},
};

void ToneEngine::RenderBlock(double** inputs, double** outputs, int nFrames, const BlockTransport& transport)
{
    if (!armed)
        return;

    double wholeNote = 4.0 * transport.samplesPerBeat;
    if (!(wholeNote > 0.0 && std::isfinite(wholeNote)))
        wholeNote = 0.0;
    if (!started)
    {
        started = true;
        sampleRate = transport.sampleRate;
        samplesPerWholeNote = wholeNote;
        RememberWholeNote(wholeNote);
        for (const ParamId param : kRateDependent)
            Rehandle(param);
    }
    else if (wholeNote != samplesPerWholeNote)
    {
        samplesPerWholeNote = wholeNote;
        RememberWholeNote(wholeNote);
        Rehandle(kLfo1RateSync);
        Rehandle(kLfo2RateSync);
    }

    const float goal = playAnyway || transport.playing ? levelTarget : 0.0f;

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
        if (sounded < nFrames) // a sounding block's call would find nothing to do
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
            const Waveforms::Pair y =
                Waveforms::TonePair<Wave>(Waveforms::Pair{phase1, phase2}, goldenSplit, shape);
            const double w = y[0];
            const double v = y[1];
            outL[i] = gain * (away * v + toward * w) + dry * left;
            outR[i] = gain * (away * w + toward * v) + dry * right;
            // Increments in [0, 2π) here, so one subtraction always wraps.
            phase1 = Waveforms::WrapOnce(phase1 + inc1);
            phase2 = Waveforms::WrapOnce(phase2 + inc2);
        }
        else
        {
            if (lfo1.active)
                StepLfo(lfo1, inc1, inc2, curPan, curLevel);
            if (lfo2.active)
                StepLfo(lfo2, inc1, inc2, curPan, curLevel);
            inc1 += plan.step1;
            inc2 += plan.step2;
            curLevel += plan.levelStep;
            curPan += plan.panStep;

            const Waveforms::Pair y =
                Waveforms::TonePair<Wave>(Waveforms::Pair{phase1, phase2}, goldenSplit, shape);
            if (binaural)
                MixFrame<true>(y[0], y[1], curLevel, curPan, left, right, outL[i], outR[i]);
            else
                MixFrame<false>(y[0], y[1], curLevel, curPan, left, right, outL[i], outR[i]);
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
        KeepLfoProgress(lfo1, lfo2);
    return i;
}

template <int Wave>
int ToneEngine::RenderMoving(const BlockPlan& plan, double** inputs, double** outputs, int nFrames)
{
    // Locals and copies, as in RenderTone: the output buffers could alias any member.
    Running running{osc1Inc, osc2Inc, level, pan};
    Waveforms::Pair phases = {osc1Phase, osc2Phase};
    Lfo lfo1 = lfo[0];
    Lfo lfo2 = lfo[1];
    const bool binaural = binauralMode;
    const Waveforms::Golden shape = golden;
    Track track;
    for (int at = 0; at < nFrames; at += kStretch)
    {
        const int n = std::min(kStretch, nFrames - at);
        SetOutTrack(plan, binaural, lfo1, lfo2, n, running, track);
        phases = MixStretch<Wave>(track, phases, shape, inputs, outputs, at, n);
    }

    osc1Phase = phases[0];
    osc2Phase = phases[1];
    osc1Inc = running.inc1;
    osc2Inc = running.inc2;
    level = running.level;
    pan = running.pan;
    KeepLfoProgress(lfo1, lfo2);
    return nFrames;
}

void ToneEngine::KeepLfoProgress(const Lfo& lfo1, const Lfo& lfo2)
{
    for (int k = 0; k < 2; ++k)
    {
        const Lfo& ran = k == 0 ? lfo1 : lfo2;
        lfo[k].phase = ran.phase;
        lfo[k].squareState = ran.squareState;
        lfo[k].graph.position = ran.graph.position;
    }
}

void ToneEngine::SetOutTrack(const BlockPlan& plan, bool binaural, Lfo& lfo1, Lfo& lfo2, int n,
                             Running& running, Track& track) const
{
    // The LFOs in order, so that where both write a value (one on "Base Freq", one on the beat
    // offset: both set oscillator 2), the second one's output stands, as it did frame by frame.
    alignas(64) double lfoOut[2][kStretch];
    const double* inc1From = nullptr;
    const double* inc2From = nullptr;
    const double* panFrom = nullptr;
    const double* levelFrom = nullptr;
    double inc2Offset = 0.0;
    Lfo* const lfos[2] = {&lfo1, &lfo2};
    for (int k = 0; k < 2; ++k)
    {
        Lfo& l = *lfos[k];
        if (!l.active)
            continue;
        l.Run(lfoOut[k], n);
        switch (l.target)
        {
        case LfoTarget::kBaseFreq:
            inc1From = inc2From = lfoOut[k];
            inc2Offset = beatInc;
            break;
        case LfoTarget::kBinaural:
            inc2From = lfoOut[k];
            inc2Offset = baseInc;
            break;
        case LfoTarget::kBinauralPan:
            panFrom = lfoOut[k];
            break;
        case LfoTarget::kVolume:
            levelFrom = lfoOut[k];
            break;
        default:
            break;
        }
    }
    Follow(track.inc1, inc1From, 0.0, plan.step1, running.inc1, n);
    Follow(track.inc2, inc2From, inc2Offset, plan.step2, running.inc2, n);
    Follow(track.level, levelFrom, 0.0, plan.levelStep, running.level, n);
    Follow(track.pan, panFrom, 0.0, plan.panStep, running.pan, n);

    // The weights in double, from the single-precision level and pan. Monaural is the binaural
    // formula with gain = level and both tones weighted 1, which gives the same sums bit for bit.
    for (int j = 0; j < n; ++j)
    {
        track.gain[j] = binaural ? 0.5 * track.level[j] : track.level[j];
        track.dry[j] = 1.0f - track.level[j];
    }
    if (binaural)
        for (int j = 0; j < n; ++j)
        {
            track.away[j] = 1.0f - track.pan[j];
            track.toward[j] = 1.0f + track.pan[j];
        }
    else
    {
        std::fill(track.away, track.away + n, 1.0);
        std::fill(track.toward, track.toward + n, 1.0);
    }
}

template <int Wave>
Waveforms::Pair ToneEngine::MixStretch(const Track& track, Waveforms::Pair phases, Waveforms::Golden shape,
                                       double** inputs, double** outputs, int at, int n)
{
    using Pair = Waveforms::Pair;
    const auto load = [](const double* from) {
        Pair p;
        std::memcpy(&p, from, sizeof p);
        return p;
    };
    const double* inL = inputs[0] + at;
    const double* inR = inputs[1] + at;
    double* outL = outputs[0] + at;
    double* outR = outputs[1] + at;
    // Two frames at a time, so that the mix runs with a frame in each lane. Both inputs are read
    // before either output is written: the host may render in place.
    int j = 0;
    for (; j + 2 <= n; j += 2)
    {
        const Pair first = Waveforms::TonePair<Wave>(phases, goldenSplit, shape);
        phases = Waveforms::WrapPhases(phases + Pair{track.inc1[j], track.inc2[j]});
        const Pair second = Waveforms::TonePair<Wave>(phases, goldenSplit, shape);
        phases = Waveforms::WrapPhases(phases + Pair{track.inc1[j + 1], track.inc2[j + 1]});
        const Pair w = {first[0], second[0]};
        const Pair v = {first[1], second[1]};
        const Pair gain = load(track.gain + j);
        const Pair away = load(track.away + j);
        const Pair toward = load(track.toward + j);
        const Pair dry = load(track.dry + j);
        const Pair left = load(inL + j);
        const Pair right = load(inR + j);
        const Pair mixedLeft = gain * (away * v + toward * w) + dry * left;
        const Pair mixedRight = gain * (away * w + toward * v) + dry * right;
        std::memcpy(outL + j, &mixedLeft, sizeof mixedLeft);
        std::memcpy(outR + j, &mixedRight, sizeof mixedRight);
    }
    if (j < n)
    {
        const Pair y = Waveforms::TonePair<Wave>(phases, goldenSplit, shape);
        phases = Waveforms::WrapPhases(phases + Pair{track.inc1[j], track.inc2[j]});
        const double left = inL[j];
        const double right = inR[j];
        outL[j] = track.gain[j] * (track.away[j] * y[1] + track.toward[j] * y[0]) + track.dry[j] * left;
        outR[j] = track.gain[j] * (track.away[j] * y[0] + track.toward[j] * y[1]) + track.dry[j] * right;
    }
    return phases;
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
} // namespace tpm
