// The tone engine: two oscillators (one per ear, or summed) mixed into the passing audio, gliding
// towards their target frequencies and modulated by two LFOs. It turns parameter values into
// working values and renders blocks; the plug-in class owns it and calls it only from the thread
// holding the processor. It reads parameter values and nothing else of the plug-in: a value it
// wants written back comes back as data, and the host's transport is handed in with each block.
#pragma once

#include "engine/EngineDisplay.h"
#include "engine/IParamValues.h"
#include "engine/Lfo.h"
#include "engine/ToneEngineFields.h"

namespace tpm
{
class ToneEngine : private ToneEngineFields
{
  public:
    using LfoGraphValues = tpm::LfoGraphValues;

    // The host's transport for one block.
    struct BlockTransport
    {
        double sampleRate = 0.0;
        // Samples per beat at the host tempo; 0 when the host reports no valid tempo.
        double samplesPerBeat = 0.0;
        // Playing or recording.
        bool playing = false;
    };
    // A value the engine chose for one of its own parameters: the plug-in stores and announces it,
    // then hands the parameter's change back. param is kNone when there is nothing to write.
    struct WriteBack
    {
        ParamId param = ParamId::kNone;
        double value = 0.0;
    };

    explicit ToneEngine(const IParamValues& paramValues) : values(paramValues) { PublishDisplay(); }
    ToneEngine(const ToneEngine&) = delete;
    ToneEngine& operator=(const ToneEngine&) = delete;

    // Renders nFrames of tone mixed into inputs[0..1] into outputs[0..1] (in place allowed).
    // Inline, so that the plug-in's block call reaches the render without a call of its own between.
    void ProcessBlock(double** inputs, double** outputs, int nFrames, const BlockTransport& transport)
    {
        RenderBlock(inputs, outputs, nFrames, transport);
        PublishDisplay();
    }
    // What the next block reads of the transport, so that the host is asked for no more: the tempo
    // once the engine is armed, whether the host plays only while "Play Anyway" is off.
    bool ReadsTempo() const { return armed; }
    bool ReadsPlaying() const { return armed && !playAnyway; }
    // After a new sample rate or block size, or when the host switches the plug-in off.
    void Reset(double liveSampleRate);
    // Reacts to a parameter whose value the plug-in already holds; answers what to write back.
    [[nodiscard]] WriteBack HandleParamChange(ParamId param);

    // The band name under "Beats" and the two LFO markers, as the engine holds them.
    const char* BandText() const { return bandText; }
    const LfoGraphValues& Graph(int k) const { return lfo[k == 0 ? 0 : 1].graph; }
    // The same, with the rate kinds, published for readers on other threads.
    const EngineDisplay& Display() const { return display; }
    // The user clicked an LFO's sync switch: the sync change handled next converts the running rate
    // into the other kind of rate parameter. Any change handled clears it.
    void NoteSyncClick() { syncClicked = true; }
    // The restart button pressed (once per press: holding it restarts nothing more).
    void PressRestart();
    // Read-only view of every working value.
    const ToneEngineFields& Fields() const { return *this; }

  private:
    struct BlockPlan
    {
        float goal;
        double step1;
        double step2;
        float panStep;
        float levelStep;
        bool driven[kLfoTargetCount]; // driven[t]: an LFO has target t
    };
    struct TargetRange
    {
        float lo;
        float hi;
        float centre;
    };
    // How a block's frames are rendered, chosen once per block so that the common case carries
    // nothing it does not need.
    enum class Pass
    {
        Steady,    // sounding throughout; level, pan and increments fixed, no LFO
        Moving,    // sounding throughout; glides, ramps or LFOs move something every frame
        FadingOut, // sounding while the level lasts, then the input passes through
    };
    static constexpr int kPassCount = 3;
    // Renders sounding frames from the first on and answers how many it rendered.
    using Renderer = int (ToneEngine::*)(const BlockPlan&, double**, double**, int);

    template <int Wave, Pass P>
    int RenderTone(const BlockPlan& plan, double** inputs, double** outputs, int nFrames);
    template <int Wave>
    int RenderMoving(const BlockPlan& plan, double** inputs, double** outputs, int nFrames);
    void RenderBlock(double** inputs, double** outputs, int nFrames, const BlockTransport& transport);
    // Handles a parameter again after something it depends on moved. Never a sync switch, the one
    // change that writes back.
    void Rehandle(ParamId param);
    void RenderSilence(double** inputs, double** outputs, int from, int nFrames) const;
    // Writes back what the LFO copies a pass ran on have moved on to.
    void KeepLfoProgress(const Lfo& lfo1, const Lfo& lfo2);
    static const Renderer kRenderers[kPassCount][Waveforms::kToneWaveCount];

    // The moving pass renders stretches of frames; each stretch first sets out the working
    // values frame by frame, so that the choices of what moves are made per stretch, not per frame.
    static constexpr int kStretch = 64;
    // Aligned so that two-frame loads and stores never straddle a cache line.
    struct alignas(64) Track
    {
        double inc1[kStretch];
        double inc2[kStretch];
        float level[kStretch];
        float pan[kStretch];
        // Frame j's output: gain × (away × the far tone + toward × the near one) + dry × input.
        double gain[kStretch];
        double away[kStretch];
        double toward[kStretch];
        double dry[kStretch];
    };
    // The values a stretch starts from; it leaves them as its last frame has them.
    struct Running
    {
        double inc1;
        double inc2;
        float level;
        float pan;
    };
    void SetOutTrack(const BlockPlan& plan, bool binaural, Lfo& lfo1, Lfo& lfo2, int n, Running& running,
                     Track& track) const;
    // Renders frames at..at+n−1 from the track; answers the phases after them.
    template <int Wave>
    static Waveforms::Pair MixStretch(const Track& track, Waveforms::Pair phases, Waveforms::Golden shape,
                                      double** inputs, double** outputs, int at, int n);

    void StepLfo(Lfo& l, double& inc1, double& inc2, float& curPan, float& curLevel) const;
    // Writes an LFO output into the value its target names; false when the LFO drives nothing.
    bool ApplyLfo(LfoTarget target, double out, double& inc1, double& inc2, float& curPan,
                  float& curLevel) const;
    void RestartLfo(int k) { lfo[k].Restart(); }
    void SetupLfoDepth(int k);
    void UpdateLfoTargets(int k);
    WriteBack SwitchSync(int k, double value);
    TargetRange RangeOf(LfoTarget target) const;
    // 1 / sampleRate, or 0 while the rate is unusable, so that nothing derived from it is infinite.
    double InverseRate() const;
    // The whole-note length synced rates use: the host's, else the last valid one, else 120 BPM.
    double SyncWholeNote() const;
    void RememberWholeNote(double wholeNote);
    void PublishDisplay();

    const IParamValues& values;
    EngineDisplay display;
};
} // namespace tpm
