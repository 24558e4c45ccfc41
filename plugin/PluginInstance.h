// One instance of the product as every format binding sees it, free of any format: parameters with
// their metadata and text conversions, programs, state as bytes, a processor that takes the host's
// transport and timed parameter changes with each block, and the events the host should hear.
//
// Threads: the value getters (ParamValue, ParamNormalized, FormatValue, ParseValue) and PopHostEvent's
// producer side may run on any thread. Process runs on the audio thread; everything else on the
// host's main thread, never at the same time as another main-thread call.
#pragma once

// The core types of this API (host events, the editor link, parameters, blocks) reach the bindings
// through this header: they include it, never core/ itself.
#include "core/BoundedQueue.h"
#include "core/HostEvent.h"
#include "core/IHostLink.h"
#include "core/Parameter.h"
#include "core/PluginLock.h"
#include "core/ProcessTypes.h"
#include "editor/IEditorController.h"
#include "editor/IEditorLink.h"
#include "plugin/ProgramList.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tpm
{
class TwinPulseToneMix;

class PluginInstance final : private IHostLink
{
  public:
    // Told, on the thread that queued them, that host events wait to be drained.
    class IEventListener
    {
      public:
        virtual void HostEventsPending() = 0;

      protected:
        ~IEventListener() = default;
    };

    // For hosts that are asked for their transport inside the block rather than handing it over with
    // it: asked on the audio thread, after the block's queued changes are applied, for what the
    // product reads in that block only.
    class ITransportSource
    {
      public:
        using Needs = TransportNeeds;
        virtual TransportSnapshot ReadTransport(Needs needs) = 0;

      protected:
        ~ITransportSource() = default;
    };
    // A new instance, opened and ready to activate; null when it cannot be made.
    static std::unique_ptr<PluginInstance> Create();
    // The same over a product made by the caller (tests that watch the product from inside).
    static std::unique_ptr<PluginInstance> Adopt(std::unique_ptr<TwinPulseToneMix> product);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    // Parameters: index = stable id. Values in the parameter's own units.
    int ParamCount() const;
    const Parameter* Param(int paramIdx) const;
    // The title formats with Unicode parameter lists show (VST3, CLAP, LV2): one of its own for every
    // parameter. VST2 shows Param()->Name(). Empty when paramIdx is no parameter.
    const char* ParamTitle(int paramIdx) const;
    double ParamValue(int paramIdx) const;
    double ParamNormalized(int paramIdx) const;
    // Writes the display text of value (own units) into out; false when paramIdx is no parameter.
    bool FormatValue(int paramIdx, double value, char* out, std::size_t outSize) const;
    // Reads a display text; false (out untouched) for a text that names no value.
    bool ParseValue(int paramIdx, const char* text, double& out) const;
    // From the host, outside a block: applied at once, the host hears nothing back.
    void SetParamValue(int paramIdx, double value);
    // The same on the host's 0..1 scale, from any thread, the audio thread included: never waits,
    // and a block running meanwhile leaves it to the next.
    void SetParamNormalized(int paramIdx, double normalized);

    // Programs: the factory bank's slots, and the stored chunks for formats that hand them to the
    // host bare.
    ProgramList& Programs() { return programs; }
    const ProgramList& Programs() const { return programs; }

    // The whole state (every slot and its name, the current program and values) in a versioned
    // container. Load is all or nothing; it also takes a bare bank chunk of the VST2 build.
    bool SaveState(std::vector<uint8_t>& out);
    bool LoadState(std::span<const uint8_t> data);
    // The editor's scale the state keeps (the size the user left it at); 0 while none is remembered.
    // A loaded state brings its own back. Any thread (the LV2 binding sets it from its audio thread).
    double EditorScale() const { return editorScale.load(std::memory_order_relaxed); }
    void SetEditorScale(double scale) { editorScale.store(scale, std::memory_order_relaxed); }

    // Processing. Activate allocates; Process neither allocates nor waits on the host.
    bool Activate(double sampleRate, int maxFrames);
    void Deactivate();
    // Blocks come only between these; while active but not processing, changes apply at once.
    void StartProcessing();
    void StopProcessing();
    // Silences the tones and restarts the LFOs, as switching off and on again does.
    void Reset();
    // For formats that set the rate, the longest block and the switch one at a time, in any order and
    // as often as they like (each resets the tones as Reset does). A rate that is not finite and
    // positive, or a size of 0 or less, keeps the last.
    void SetSampleRate(double rate);
    void SetMaxFrames(int frames);
    void SetSwitchedOn(bool on);
    // The frames the product renders at a time: a block of the length set, up to kMaxBlockFrames.
    int BlockFrames() const;
    // Changes must be in offset order; each applies from its frame on. Either precision (float or double).
    template <typename Sample>
    void Process(const AudioBlock<Sample>& block, const TransportSnapshot& transport,
                 std::span<const ParamChange> changes);
    // The same for hosts asked for their transport inside the block; no timed changes.
    template <typename Sample> void Process(const AudioBlock<Sample>& block, ITransportSource& transport);

    // Events for the host, oldest first; the binding drains them where its format wants them.
    bool PopHostEvent(HostEvent& out) { return events.Pop(out); }
    bool HostEventsWaiting() const { return !events.Empty(); }
    void SetEventListener(IEventListener* newListener) { listener.store(newListener); }

    // The product's editor, for the binding to own, open and drive; null where there is none.
    std::unique_ptr<IEditorLink> CreateEditor();
    // What the editor shows besides the parameter values (band name, LFO markers), for formats that
    // carry it to an editor of their own; any thread, never waits.
    tpm::EditorDisplayState DisplayState() const;
    // The editor's face of this instance (values, texts, gestures), for an editor built over another
    // controller that borrows its parameter texts; null where there is none.
    tpm::IEditorController* Controller();

    // For formats whose hosts make requests from several threads at once: held around reads of
    // program names and parameter texts so that no other request changes them meanwhile. Not
    // re-entrant: no other call of this class may be made while holding it. Never on the audio thread.
    PluginLock& Lock();

  private:
    explicit PluginInstance(std::unique_ptr<TwinPulseToneMix> plugin);
    template <typename Sample> void ProcessPiece(const AudioBlock<Sample>& block, int from, int frames);
    // The core's call on a stereo pair of each side.
    template <typename Sample>
    void Render(const Sample* const* stereoIn, Sample* const* stereoOut, int frames);
    void ApplyChange(const ParamChange& change);
    void Push(const HostEvent& event);

    // IHostLink: what the core asks of its host, answered from the block's snapshot.
    void Automate(int paramIdx, double normalized) override;
    void BeginEdit(int paramIdx) override;
    void EndEdit(int paramIdx) override;
    void UpdateDisplay() override;
    TransportSnapshot Transport(TransportNeeds needs) override;

    std::unique_ptr<TwinPulseToneMix> core;
    ProgramList programs;
    TransportSnapshot transportNow;
    // Set for the length of a block whose host is asked for its transport inside it.
    ITransportSource* transportSource = nullptr;
    // Full, it drops the newest event: the host still reads every value back.
    BoundedQueue<HostEvent, 1024> events;
    std::atomic<IEventListener*> listener{nullptr};
    std::atomic<double> editorScale{0.0};
    bool active = false;
};
} // namespace tpm
