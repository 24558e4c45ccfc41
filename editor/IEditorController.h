// What the editor asks of the plug-in it edits; the plug-in implements it. The editor calls it on the
// user-interface thread only: parameter values and their texts, the user's gestures (each change between
// a begin and an end), a command that qualifies the change it comes with, and the state the plug-in
// shows besides its parameters, read at every frame tick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tpm
{

// A user action that means more than the value it changes.
enum class EditorCommand : uint8_t
{
    kSyncClick, // a press on an LFO's sync switch: the rate carries over into the other kind of rate
};

// What the plug-in shows besides its parameter values.
struct EditorDisplayState
{
    struct LfoMarker
    {
        float position = 0.0f;
        float rangeLo = 0.0f;
        float rangeHi = 0.0f;
        bool running = false;
        bool blocked = false;
    };
    const char* bandText = ""; // lives as long as the program
    LfoMarker lfo[2];
    // Bit i set: the controls of parameter i are hidden.
    uint64_t hiddenParams = 0;
};

class IEditorController
{
  public:
    virtual int ParamCount() const = 0;
    // The parameter's current value on the host's 0..1 scale, and its default.
    virtual double NormalizedValue(int paramIdx) = 0;
    virtual double DefaultNormalized(int paramIdx) const = 0;
    // The display text of a 0..1 value, and the unit shown after it.
    virtual std::string DisplayText(int paramIdx, double normalized) const = 0;
    virtual std::string Unit(int paramIdx) const = 0;
    // A list parameter's texts in value order; empty for a parameter the user types a value for.
    virtual std::vector<std::string> ListTexts(int paramIdx) const = 0;
    // The 0..1 value a typed text stands for; false (normalized untouched) for a text that names none.
    virtual bool NormalizedFromText(int paramIdx, const char* text, double& normalized) const = 0;

    // A gesture: the host hears of its begin, each value and its end.
    virtual void BeginGesture(int paramIdx) = 0;
    // Stores a value and runs what depends on it; answers the 0..1 value the parameter now holds.
    virtual double SetValue(int paramIdx, double normalized) = 0;
    // The same, with a command the plug-in takes just before the value, in one step.
    virtual double SetValueAfterCommand(EditorCommand command, int paramIdx, double normalized) = 0;
    virtual void EndGesture(int paramIdx) = 0;

    // Never waits: safe at every frame tick.
    virtual EditorDisplayState DisplayState() const = 0;
    // At every frame tick, before the state is read: the plug-in may apply changes that wait for a
    // block the host is not calling, so the editor follows them. Never waits for the audio thread.
    virtual void ApplyWaitingChanges() {}

  protected:
    ~IEditorController() = default;
};

} // namespace tpm
