// twinPulseToneMix itself: the VST binding with this plug-in's identity, parameters, presets
// and tone engine. The engine sees the plug-in only through IEngineHost.
#pragma once

#include "engine/IEngineHost.h"
#include "engine/ToneEngine.h"
#include "plugin/EditorLayout.h"
#include "vst/IEffectVST.h"

class VSTCLASS : public IEffectVST, private IEngineHost
{
  public:
    explicit VSTCLASS(audioMasterCallback host);
    ~VSTCLASS() override;

    void ResetEngine() override;
    void HandleParamChange(int paramIdx) override;
    void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
    // One answer for both the host binding and the engine.
    double GetSamplesPerBeat() override { return IEffectVST::GetSamplesPerBeat(); }
    int GetTransportState() override { return IEffectVST::GetTransportState(); }

    const ToneEngine& Engine() const { return engine; }
    ToneEngine& Engine() { return engine; }

  private:
    double ParamValue(int paramIdx) const override;
    double LiveSampleRate() const override { return sampleRate; }
    void SetParamFromEngine(int paramIdx, double value) override;
    void HideControls(int paramIdx, bool hide) override;

    ToneEngine engine;
    EditorLayout editorLayout;
};
