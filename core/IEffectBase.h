// The host-independent core of one plug-in instance: identity, parameters, presets, channel
// routing with its scratch buffers, the editor pointer and the plug-in lock. The host binding
// derives from it and supplies the messages that go back to the host.
#pragma once

#include "core/FixedText.h"
#include "core/IByteBuffer.h"
#include "core/IMidiMsg.h"
#include "core/IParameter.h"
#include "core/IPresetRecord.h"
#include "core/IRecursiveLock.h"

#include <cstdint>
#include <memory>
#include <vector>

class IEditorLink;

// Identity and shape handed to the base construction.
struct IEffectIdentity
{
    int32_t paramCount = 0;
    const char* channelConfigs = "";
    int32_t presetCount = 0;
    const char* effectName = "";
    const char* productName = "";
    const char* vendorName = "";
    int32_t version = 0;
    int32_t uniqueId = 0;
    int32_t manufacturerCode = 0;
    int32_t latency = 0;
    int32_t midiMode = 0;
    bool stateChunks = false;
    bool isInstrument = false;
};

class IEffectBase
{
  public:
    using Name = FixedText<128>;

    struct ChannelConfig
    {
        int32_t inputs;
        int32_t outputs;
    };
    enum class Side
    {
        Input,
        Output
    };
    // One input or output channel: whether the host wires it, the slot it fills in the pointer
    // array handed to ProcessBlock, and its own scratch buffer of block-size samples.
    struct Channel
    {
        bool connected = true;
        double** slot = nullptr;
        float* hostBuffer = nullptr;
        std::vector<double> scratch;
    };

    explicit IEffectBase(const IEffectIdentity& identity);
    virtual ~IEffectBase();
    IEffectBase(const IEffectBase&) = delete;
    IEffectBase& operator=(const IEffectBase&) = delete;

    // Overridden by the plug-in.
    virtual void ResetEngine() {}
    virtual void HandleParamChange(int paramIdx) { (void)paramIdx; }
    virtual void ProcessBlock(double** inputs, double** outputs, int nFrames);
    virtual void OnEditorOpened() {}
    virtual void OnEditorClosed() {}
    virtual void OnActivate(bool active);
    virtual void ProcessMidiMessage(const IMidiMsg& msg) { (void)msg; }
    virtual void ProcessSysEx(const ISysExMsg& msg) { (void)msg; }
    virtual bool GetMidiKeyName(int key, char* text);
    virtual bool WriteState(IByteBuffer& buffer) { return WriteParamState(buffer); }
    virtual int ReadState(const IByteBuffer& buffer, int pos) { return ReadParamState(buffer, pos); }

    // Messages to the host, supplied by the host binding.
    virtual void HostBeginEdit(int paramIdx) = 0;
    virtual void HostBeginEditIfNew(int paramIdx) = 0;
    virtual void HostAutomate(int paramIdx, double normalized) = 0;
    virtual void HostEndEdit(int paramIdx) = 0;
    virtual void HostEndEditDelayed(int paramIdx) = 0;
    virtual void FlushDelayedEndEdit() = 0;
    virtual void HostUpdateDisplay() = 0;
    virtual int GetSamplePosition() = 0;
    virtual double GetTempo() = 0;
    virtual double GetSamplesPerBeat() = 0;
    virtual int GetTransportState() = 0;
    virtual void GetTimeSignature(int& numerator, int& denominator) = 0;
    virtual int GetHostId() = 0;

    // Channel routing and block size.
    void SetBlockSize(int frames);
    void SetChannelConnections(Side side, int first, int count, bool connected);

    // Parameters.
    int ParamCount() const { return static_cast<int>(parameters.size()); }
    IParameter* GetParam(int paramIdx);
    const IParameter* GetParam(int paramIdx) const;
    void SetParameterFromEditor(int paramIdx, double normalized);
    // Takes ownership of the editor.
    virtual void AttachEditor(IEditorLink* newEditor);
    IEditorLink* GetEditor() const { return editor; }

    // Presets and state data.
    int PresetCount() const { return static_cast<int>(presets.size()); }
    int CurrentPreset() const { return currentPreset; }
    const char* GetPresetName(int index) const;
    IPresetRecord* GetPreset(int index);
    void AddFactoryPreset(const char* name, const double* values, int count);
    void AddDefaultPresets(const char* name, int count);
    void EnsureOnePreset();
    void ModifyCurrentPreset(const char* name);
    bool RestorePreset(int index);
    void MakeUserPresetName(char* out, std::size_t outSize) const;
    bool WriteParamState(IByteBuffer& buffer);
    int ReadParamState(const IByteBuffer& buffer, int pos);
    bool WritePresetBank(IByteBuffer& buffer);
    int ReadPresetBank(const IByteBuffer& buffer, int pos);
    // Shows every parameter's real value in the editor, when there is one.
    void ShowAllValuesInEditor();

    IRecursiveLock& Lock() { return lock; }
    double SampleRate() const { return sampleRate; }
    int BlockSize() const { return blockSize; }

  protected:
    std::vector<std::unique_ptr<ChannelConfig>> channelConfigs;
    std::vector<std::unique_ptr<IParameter>> parameters;
    std::vector<std::unique_ptr<IPresetRecord>> presets;
    int32_t currentPreset = 0;
    int32_t pendingEndEdit = -1;
    IRecursiveLock lock;
    Name effectName;
    Name productName;
    Name vendorName;
    int32_t uniqueId = 0;
    int32_t manufacturerCode = 0;
    int32_t version = 0;
    int32_t hostId = -1;
    int32_t hostVersion = 0;
    bool stateChunks = false;
    bool isInstrument = false;
    int32_t midiMode = 0;
    double sampleRate = 44100.0;
    int32_t blockSize = 0;
    int32_t latency = 0;
    IEditorLink* editor = nullptr;
    std::vector<double*> inputPointers;
    std::vector<double*> outputPointers;
    std::vector<std::unique_ptr<Channel>> inputChannels;
    std::vector<std::unique_ptr<Channel>> outputChannels;
    int32_t maxInputs = 0;
    int32_t maxOutputs = 0;

  private:
    void ParseChannelConfigs(const char* text);
    IPresetRecord* FirstFreePreset();
};
