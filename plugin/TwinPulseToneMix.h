// twinPulseToneMix itself: the plug-in core with this plug-in's identity, parameters, presets and
// tone engine, free of any plug-in format. Only the thread holding the processor calls the engine,
// which reads the parameter values and calls nothing else here: the transport goes to it with each
// block, and a value it writes back comes back as data. Other threads mark what the engine must do
// (PendingChanges).
// The editor sees it only through its controller.
#pragma once

#include "core/PluginCore.h"
#include "editor/IEditorLink.h"
#include "engine/IParamValues.h"
#include "engine/ToneEngine.h"
#include "plugin/EditorController.h"

#include <memory>

namespace tpm
{
class TwinPulseToneMix : public PluginCore, private IParamValues
{
  public:
    TwinPulseToneMix();
    ~TwinPulseToneMix() override;

    void ResetEngine() override;
    void HandleParamChange(int paramIdx) override;
    void ApplyQueuedChanges() override;
    void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
    // A new editor for this instance; the binding owns it and destroys it before the instance.
    std::unique_ptr<IEditorLink> CreateEditor();

    const ToneEngine& Engine() const { return engine; }
    ToneEngine& Engine() { return engine; }
    tpm::IEditorController& EditorControl() { return editorController; }
    // The change handler for a sync switch the user clicked: the engine hears of the click just
    // before it handles the change, with nothing in between.
    void HandleSyncClick(int paramIdx);

  private:
    void Handle(ParamId param);
    double ParamValue(ParamId param) const override;
    // Stores and announces a value the engine chose, then hands the engine its change.
    void WriteBack(const ToneEngine::WriteBack& back);

    ToneEngine engine;
    EditorController editorController{*this};
};
} // namespace tpm
