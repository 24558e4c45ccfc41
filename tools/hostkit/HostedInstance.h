// One hosted plug-in instance, whatever its format: what the host tool's commands ask of a plug-in
// (identity, parameters, programs, processing with a transport, state, an editor in a parent window).
// Vst2HostedPlugin answers for VST 2.4 modules, ClapHostedPlugin for CLAP ones, Vst3HostedPlugin for VST3
// bundles, Lv2HostedPlugin for LV2
// bundles; OpenHostedInstance picks by the module's file name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class Vst2HostedPlugin;

// What the host tells the plug-in about itself and its transport.
struct HostSettings
{
    double sampleRate = 44100.0;
    int blockSize = 1024;
    double tempo = 120.0;
    bool tempoValid = true;
    bool playing = false;
    bool recording = false;
    bool timeInfoAvailable = true;
    int timeSigNumerator = 4;
    int timeSigDenominator = 4;
    std::string productName = "vsthost";
    std::string vendorName = "twinPulseToneMix developers";
    int vendorVersion = 10000;
    bool logToStderr = false;
    // Keeps every callback for Calls(). Long renders and real-time hosts turn it off: the list grows
    // with every block, and keeping it locks and allocates on the audio thread.
    bool recordCalls = true;
    // The host's window takes the sizes an editor asks for (its resize grip): VST2's canDo
    // "sizeWindow". The other formats' hosts here always do.
    bool editorResizable = false;
};

// Where the transport stands, in the units the formats' time structures use.
struct TransportPosition
{
    double seconds = 0.0;
    double beats = 0.0;         // quarter notes from the start
    double barStartBeats = 0.0; // quarter notes from the start to the current bar's first beat
    int bar = 0;
};
TransportPosition PositionAt(const HostSettings& settings, double samplePosition, double sampleRate);

// A parameter's range in the plug-in's own units, where the format states one.
struct ParamRange
{
    double min = 0.0;
    double max = 1.0;
    double defaultValue = 0.0;
    bool stepped = false; // whole numbers only
    bool isList = false;  // each step has a text of its own
};

class HostedInstance
{
  public:
    virtual ~HostedInstance() = default;
    HostedInstance(const HostedInstance&) = delete;
    HostedInstance& operator=(const HostedInstance&) = delete;

    // The VST2 instance behind this one, for what only that format has (preset files of parameter
    // values, its own opcodes); else null.
    virtual Vst2HostedPlugin* Vst2() { return nullptr; }

    // Identity: the plug-in's own name, and what `info` prints about it ("key: value" lines).
    virtual std::string Name() = 0;
    virtual std::vector<std::string> DescribeIdentity() = 0;
    virtual int InputCount() = 0;
    virtual int OutputCount() = 0;

    // Life cycle: Open once after loading; Configure before Resume; Resume makes it ready to
    // process, Suspend undoes that; Close ends the instance (later calls do nothing).
    virtual void Open() = 0;
    virtual void Configure(double sampleRate, int maxBlockFrames) = 0;
    virtual bool Resume() = 0;
    virtual void Suspend() = 0;
    virtual void Close() = 0;

    virtual int ParamCount() = 0;
    virtual std::string ParamName(int index) = 0;
    virtual std::string ParamLabel(int index) = 0; // the unit, empty when the plug-in gives none
    virtual std::string ParamDisplay(int index) = 0;
    // The range in the plug-in's units; false where the format only knows normalised values.
    virtual bool Range(int index, ParamRange& range) = 0;
    // The value as 0..1 over the parameter's range.
    virtual double ParamNormalized(int index) = 0;
    virtual void SetParamNormalized(int index, double normalized) = 0;
    // Sets a parameter from its display text; false if the plug-in refused it.
    virtual bool SetParamText(int index, const std::string& text) = 0;
    // The display text of a value in the plug-in's units (only where Range is true).
    virtual std::string DisplayOfValue(int index, double value) = 0;
    // A second instance from the same module, for questions whose asking changes parameters; this
    // one is left as it is. Null if refused.
    virtual HostedInstance* Spare() = 0;

    virtual int ProgramCount() = 0;
    // Program names as UTF-8; a VST2 plug-in's 8-bit names are read as its code page, Windows-1252.
    virtual std::string ProgramName(int index) = 0;
    virtual int CurrentProgram() = 0; // -1 when none was chosen
    virtual std::string CurrentProgramName() = 0;
    virtual bool SelectProgram(int index) = 0;

    // Processing between Resume and Suspend; the transport comes from `settings` and Advance.
    virtual bool SupportsDouble() = 0;
    virtual void Process(float** inputs, float** outputs, int frames) = 0;
    virtual void Process(double** inputs, double** outputs, int frames) = 0;
    // Moves the transport on by a block, as a host does between process calls.
    virtual void Advance(int frames) = 0;

    // The whole state as the plug-in saves it, and back.
    virtual bool SaveState(std::vector<uint8_t>& bytes) = 0;
    virtual bool LoadState(const std::vector<uint8_t>& bytes) = 0;
    // The product's program bank (the bank chunk its VST2 build saves) and the current program, as
    // every format's state carries them: what .fxb and .fxp files move in and out. False where the
    // state holds no such bank.
    virtual bool SaveBank(std::vector<uint8_t>& bank, int& currentProgram);
    virtual bool LoadBank(const std::vector<uint8_t>& bank, int currentProgram);

    // A parameter in its own units (hertz, ms, percent), for moving it smoothly as schedule ramps do.
    // What a normalised value is in those units; false where the parameter switches rather than
    // moves (lists, two-valued ones) or the format cannot tell.
    virtual bool UnitsOfNormalized(int index, double normalized, double& value);
    virtual bool ValueInUnits(int index, double& value);
    virtual void SetValueInUnits(int index, double value);
    // Tells the plug-in how many channels the host wires on each side (1 or 2), before Resume.
    virtual void WireChannels(int channels) { (void)channels; }

    // The editor: its size (false: none), opened in a parent window (HWND, or the X11 window id),
    // ticked from the window loop about 60 times a second, and closed.
    virtual bool EditorSize(int& width, int& height) = 0;
    virtual bool OpenEditor(void* parent) = 0;
    virtual void EditorIdle() = 0;
    virtual void CloseEditor() = 0;
    // The scale the editor is to draw at, told through the format's own channel when the editor is
    // made (before EditorSize); 0 tells none, leaving the plug-in to ask the system.
    virtual void SetEditorScale(double scale) { editorScale = scale; }
    // The size the editor asked the host's window to take (its own resize grip) since last asked, once;
    // false when it asked for none.
    virtual bool TakeEditorRequest(int& width, int& height)
    {
        (void)width;
        (void)height;
        return false;
    }
    // Asks the open editor to take the size the user dragged its window to; width and height come
    // back as the size it took. False where the format gives a host no way to resize an editor.
    virtual bool ResizeEditor(int& width, int& height)
    {
        (void)width;
        (void)height;
        return false;
    }

    // Called on a real-time thread: what the plug-in sends on it is answered without printing.
    static void MarkRealTimeThread();
    static bool OnRealTimeThread();

    HostSettings settings;

  protected:
    HostedInstance() = default;

    double editorScale = 0.0;
};

// A .clap file is hosted as CLAP, a .vst3 bundle or module (or the binary inside a bundle) as VST3, a
// .lv2 bundle folder as LV2 (not in the Windows build), anything else as VST2; prints nothing, answers
// null with `error`.
std::unique_ptr<HostedInstance> OpenHostedInstance(const std::string& modulePath, std::string& error,
                                                   const HostSettings& settings);
// The format OpenHostedInstance hosts the module as: "VST2", "CLAP", "VST3" or "LV2".
const char* HostedFormatOf(const std::string& modulePath);
} // namespace tpm
