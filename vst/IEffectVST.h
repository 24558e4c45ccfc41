// The VST 2.4 binding of a plug-in instance: the effect record the host holds, the dispatcher,
// the process and parameter callbacks, and the messages the plug-in sends back to the host.
#pragma once

#include "core/IEffectBase.h"
#include "vst/VstAbi.h"

class IEffectVST : public IEffectBase
{
  public:
    IEffectVST(audioMasterCallback host, const IEffectIdentity& identity);
    ~IEffectVST() override;

    AEffect* GetEffect() { return &effect; }
    static IEffectVST* FromEffect(AEffect* e);

    // Host messages and time queries.
    void HostBeginEdit(int paramIdx) override;
    void HostBeginEditIfNew(int paramIdx) override;
    void HostAutomate(int paramIdx, double normalized) override;
    void HostEndEdit(int paramIdx) override;
    void HostEndEditDelayed(int paramIdx) override;
    void FlushDelayedEndEdit() override;
    void HostUpdateDisplay() override;
    int GetSamplePosition() override;
    double GetTempo() override;
    double GetSamplesPerBeat() override;
    int GetTransportState() override;
    void GetTimeSignature(int& numerator, int& denominator) override;
    int GetHostId() override;
    virtual void RefreshEditorRect();
    virtual void PrepareForHost();
    void AttachEditor(IEditorLink* newEditor) override;
    virtual void SetLatency(int samples);
    virtual bool SendMidiMessage(const IMidiMsg& msg);
    virtual bool SendMidiMessages(const IMidiMsg* list, int count);
    virtual bool SendSysEx(const ISysExMsg& msg);

    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    void SetParameter(VstInt32 index, float value);
    float GetParameter(VstInt32 index);
    // Single precision in and out; accumulate adds to the host's output instead of overwriting it.
    void ProcessFloat(float** inputs, float** outputs, VstInt32 frames, bool accumulate);
    void ProcessDouble(double** inputs, double** outputs, VstInt32 frames);

    // State data for the host (index 0 of the chunk requests is the bank).
    VstIntPtr GetChunk(void** ptr, bool isBank);
    VstIntPtr SetChunk(const void* data, VstIntPtr size, bool isBank);

  protected:
    VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    const VstTimeInfo* GetTimeInfo(VstInt32 filter);

    audioMasterCallback hostCallback = nullptr;
    bool hostPrepared = false;
    IByteBuffer programChunk;
    IByteBuffer bankChunk;
    AEffect effect{};
    VstSpeakerArrangement inputArrangement{};
    VstSpeakerArrangement outputArrangement{};
    ERect editorRect{};

  private:
    VstIntPtr DispatchVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    VstIntPtr CanDo(const char* text) const;
    VstIntPtr PinProperties(bool input, VstInt32 index, void* ptr) const;
    VstIntPtr ProcessEvents(const VstEvents* events);
    VstIntPtr StringToParameter(VstInt32 index, const char* text);
    // Wraps one event in a list of one and answers whether the host took it.
    bool SendOneEvent(VstEvent* event);
    void SetSpeakerArrangement(Side side, const VstSpeakerArrangement* arrangement);
    void ProcessFloatPiece(float** inputs, float** outputs, int offset, int frames, bool accumulate);
};
