// twinPulseToneMix itself: the plug-in core with this plug-in's identity, parameters, presets and
// tone engine, free of any plug-in format. The engine sees it only through IEngineHost, and only
// from the thread holding the processor: other threads mark what the engine must do (PendingChanges).
// The editor sees it only through its controller.
#pragma once

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
    void Handle(ParamId param);
    double ParamValue(ParamId param) const override;
    double LiveSampleRate() const override { return sampleRate; }
    void HandleParamChange(ParamId param) override { Handle(param); }
    void SetParamFromEngine(ParamId param, double value) override;

    ToneEngine engine;
    EditorController editorController{*this};
};
