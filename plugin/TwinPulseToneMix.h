// twinPulseToneMix itself: the plug-in core with this plug-in's identity, parameters, presets and
// tone engine, free of any plug-in format. The engine sees it only through IEngineHost, and only
// from the thread holding the processor: other threads queue what the engine must do. The editor sees
// it only through its controller.
#pragma once

#include "core/BoundedQueue.h"
#include "core/IEffectBase.h"
#include "engine/IEngineHost.h"
#include "engine/ToneEngine.h"
#include "plugin/EditorController.h"

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
    std::unique_ptr<IEditorLink> CreateEditor() override;
    tpm::IEditorController* Controller() override { return &editorController; }
    // One answer for both the core and the engine.
    double GetSamplesPerBeat() override { return IEffectBase::GetSamplesPerBeat(); }
    int GetTransportState() override { return IEffectBase::GetTransportState(); }

    const ToneEngine& Engine() const { return engine; }
    ToneEngine& Engine() { return engine; }
    tpm::IEditorController& EditorControl() { return editorController; }
    // The change handler for a sync switch the user clicked: the engine hears of the click just
    // before it handles the change, with nothing in between.
    void HandleSyncClick(int paramIdx);

  private:
    // What the engine must do, in the order the other threads asked for it.
    struct EngineChange
    {
        enum class Kind : uint8_t
        {
            kHandle,
            kReset,
            kSyncClickThenHandle, // a click on a sync switch, and the change it made
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

    ToneEngine engine;
    BoundedQueue<EngineChange, kQueuedChanges> changes;
    // Set when the queue was full: the processor then resets and/or runs every handler, so that
    // the newest value of each parameter wins.
    std::atomic<bool> resetDropped{false};
    std::atomic<bool> handleDropped{false};
    EditorController editorController{*this};
};
