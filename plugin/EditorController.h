// The plug-in as its editor sees it: parameter values and texts, the user's gestures turned into host
// messages and value changes under the plug-in lock, the sync-click command handed to the engine, and
// the engine's display state turned into what the editor shows.
#pragma once

#include "editor/IEditorController.h"

namespace tpm
{
class Parameter;
class TwinPulseToneMix;

class EditorController final : public tpm::IEditorController
{
  public:
    explicit EditorController(TwinPulseToneMix& owner) : plugin(owner) {}

    int ParamCount() const override;
    double NormalizedValue(int paramIdx) override;
    double DefaultNormalized(int paramIdx) const override;
    std::string DisplayText(int paramIdx, double normalized) const override;
    std::string Unit(int paramIdx) const override;
    std::vector<std::string> ListTexts(int paramIdx) const override;
    bool NormalizedFromText(int paramIdx, const char* text, double& normalized) const override;

    void BeginGesture(int paramIdx) override;
    double SetValue(int paramIdx, double normalized) override;
    double SetValueAfterCommand(tpm::EditorCommand command, int paramIdx, double normalized) override;
    void EndGesture(int paramIdx) override;

    tpm::EditorDisplayState DisplayState() const override;
    void ApplyWaitingChanges() override;

  private:
    // Stores a value from the editor under the plug-in lock and tells the host; the handler is the caller's.
    Parameter* Store(int paramIdx, double normalized);

    TwinPulseToneMix& plugin;
};
} // namespace tpm
