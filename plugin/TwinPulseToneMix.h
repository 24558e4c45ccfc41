// twinPulseToneMix itself: the plug-in core with this plug-in's identity, parameters, presets and
// tone engine, free of any plug-in format. The engine sees it only through IEngineHost, and only
// from the thread holding the processor: other threads queue what the engine must do.
#pragma once

#include "core/BoundedQueue.h"
#include "core/IEffectBase.h"
#include "engine/IEngineHost.h"
#include "engine/ToneEngine.h"
#include "plugin/EditorLayout.h"

#include <memory>

class TwinPulseToneMix : public IEffectBase, private IEngineHost
{
  public:
    TwinPulseToneMix();
    ~TwinPulseToneMix() override;

    void ResetEngine() override;
    void HandleParamChange(int paramIdx) override;
    void ApplyQueuedChanges() override;
    void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
    // One answer for both the core and the engine.
    double GetSamplesPerBeat() override { return IEffectBase::GetSamplesPerBeat(); }
    int GetTransportState() override { return IEffectBase::GetTransportState(); }

    const ToneEngine& Engine() const { return engine; }
    ToneEngine& Engine() { return engine; }

  private:
    // What the engine must do, in the order the other threads asked for it.
    struct EngineChange
    {
        enum class Kind : uint8_t
        {
            kHandle,
            kReset,
        };
        Kind kind = Kind::kHandle;
        int16_t paramIdx = 0;
    };
    static constexpr std::size_t kQueuedChanges = 4096;

    void Post(EngineChange change);
    void Handle(ParamId param);
    double ParamValue(ParamId param) const override;
    double LiveSampleRate() const override { return sampleRate; }
    void HandleParamChange(ParamId param) override { Handle(param); }
    void SetParamFromEngine(ParamId param, double value) override;
    void HideControls(ParamId param, bool hide) override;

    ToneEngine engine;
    EditorLayout editorLayout;
    BoundedQueue<EngineChange, kQueuedChanges> changes;
    // Set when the queue was full: the processor then resets and/or runs every handler, so that
    // the newest value of each parameter wins.
    std::atomic<bool> resetDropped{false};
    std::atomic<bool> handleDropped{false};
};
