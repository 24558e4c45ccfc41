// twinPulseToneMix itself: the plug-in core with this plug-in's identity, parameters, presets and
// tone engine, free of any plug-in format. The engine sees it only through IEngineHost.
#pragma once

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
    void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
    // One answer for both the core and the engine.
    double GetSamplesPerBeat() override { return IEffectBase::GetSamplesPerBeat(); }
    int GetTransportState() override { return IEffectBase::GetTransportState(); }

    const ToneEngine& Engine() const { return engine; }
    ToneEngine& Engine() { return engine; }

  private:
    double ParamValue(ParamId param) const override;
    double LiveSampleRate() const override { return sampleRate; }
    void HandleParamChange(ParamId param) override { HandleParamChange(ToIndex(param)); }
    void SetParamFromEngine(ParamId param, double value) override;
    void HideControls(ParamId param, bool hide) override;

    ToneEngine engine;
    EditorLayout editorLayout;
};
