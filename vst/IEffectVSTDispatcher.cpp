// The dispatcher: every request a host makes of the plug-in through the effect record.
#include "core/IEditorLink.h"
#include "vst/IEffectVST.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
constexpr VstIntPtr kVendorAnswer = 0xBEEF;
constexpr VstIntPtr kIdentifyAnswer = 0x4E764566; // 'NvEf'
constexpr VstInt32 kWheelRequest = 0x73744341;
constexpr VstIntPtr kWheelValue = 0x57686565;
constexpr int kHostTextLimit = 256;

// Texts to the host are copied whole with their terminator; ours always fit their own fields.
void CopyToHost(void* ptr, const char* text)
{
    std::memcpy(ptr, text, std::strlen(text) + 1);
}

// A text from the host, read no further than the field it is meant for.
template <std::size_t N> FixedText<N> FromHost(const void* ptr)
{
    char bounded[N] = {};
    const char* text = static_cast<const char*>(ptr);
    for (std::size_t i = 0; i + 1 < N && text[i] != '\0'; ++i)
        bounded[i] = text[i];
    return FixedText<N>(bounded);
}

int ToIndex(VstIntPtr value)
{
    return value >= INT_MIN && value <= INT_MAX ? static_cast<int>(value) : -1;
}
} // namespace

VstIntPtr IEffectVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    using namespace vst;
    IParameter* param = GetParam(index);
    switch (opcode)
    {
    case effOpen:
        PrepareForHost();
        for (int i = 0; i < ParamCount(); ++i)
            HandleParamChange(i);
        return 0;
    case effSetProgram:
        ModifyCurrentPreset(nullptr);
        RestorePreset(ToIndex(value));
        return 0;
    case effGetProgram:
        return currentPreset;
    case effSetProgramName:
        if (ptr)
            ModifyCurrentPreset(FromHost<IPresetRecord::Name::kCapacity + 1>(ptr).Get());
        return 0;
    case effGetProgramName:
        if (ptr)
            CopyToHost(ptr, GetPresetName(currentPreset));
        return 0;
    case effGetParamLabel:
        if (param && ptr)
            CopyToHost(ptr, param->Label());
        return 0;
    case effGetParamDisplay:
        if (param && ptr)
            CopyToHost(ptr, param->FormatDisplay(param->Value(), false).c_str());
        return 0;
    case effGetParamName:
        if (param && ptr)
            CopyToHost(ptr, param->Name());
        return 0;
    case effSetSampleRate:
        // A rate that is not finite and positive would poison every increment: keep the last.
        if (std::isfinite(opt) && opt > 0.0f)
        {
            sampleRate = opt;
            ResetEngine();
        }
        return 0;
    case effSetBlockSize:
        if (value > 0 && value <= INT_MAX)
        {
            SetBlockSize(static_cast<int>(value));
            ResetEngine();
        }
        return 0;
    case effMainsChanged:
        OnActivate(value != 0);
        if (value == 0)
            ResetEngine();
        return 0;
    case effEditGetRect:
        if (!ptr || !editor)
            return 0;
        *static_cast<ERect**>(ptr) = &editorRect;
        return 1;
    case effEditOpen:
        if (!editor || !editor->OpenWindow(ptr))
            return 0;
        OnEditorOpened();
        return 1;
    case effEditClose:
        if (!editor)
            return 0;
        OnEditorClosed();
        editor->CloseWindow();
        return 1;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        return GetChunk(static_cast<void**>(ptr), index == 0);
    case effSetChunk:
        return SetChunk(ptr, value, index == 0);
    case effProcessEvents:
        return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated:
        return 1;
    case effString2Parameter:
        return StringToParameter(index, static_cast<const char*>(ptr));
    case effGetProgramNameIndexed:
        if (!ptr)
            return 0;
        CopyToHost(ptr, GetPresetName(index));
        return GetPresetName(index)[0] != '\0' ? 1 : 0;
    case effGetInputProperties:
        return PinProperties(true, index, ptr);
    case effGetOutputProperties:
        return PinProperties(false, index, ptr);
    case effGetPlugCategory:
        return isInstrument ? kPlugCategSynth : kPlugCategEffect;
    case effSetSpeakerArrangement:
        SetSpeakerArrangement(Side::Input, reinterpret_cast<const VstSpeakerArrangement*>(value));
        SetSpeakerArrangement(Side::Output, static_cast<const VstSpeakerArrangement*>(ptr));
        return 1;
    case effGetEffectName:
        if (!ptr)
            return 0;
        CopyToHost(ptr, effectName.Get());
        return 1;
    case effGetVendorString:
        if (!ptr)
            return 0;
        CopyToHost(ptr, vendorName.Get());
        return 1;
    case effGetProductString:
        if (!ptr)
            return 0;
        CopyToHost(ptr, productName.Get());
        return 1;
    case effGetVendorVersion:
        return effect.version;
    case effVendorSpecific:
        return DispatchVendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return CanDo(static_cast<const char*>(ptr));
    case effGetVstVersion:
        return 2400;
    case effGetMidiKeyName:
    {
        if (!ptr)
            return 0;
        auto* keyName = static_cast<MidiKeyName*>(ptr);
        keyName->keyName[0] = '\0';
        return GetMidiKeyName(keyName->thisKeyNumber, keyName->keyName) ? 1 : 0;
    }
    case effGetSpeakerArrangement:
        if (value)
            *reinterpret_cast<VstSpeakerArrangement**>(value) = &inputArrangement;
        if (ptr)
            *static_cast<VstSpeakerArrangement**>(ptr) = &outputArrangement;
        return 1;
    default:
        return 0;
    }
}

VstIntPtr IEffectVST::DispatchVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    const int paramIdx = ToIndex(value);
    const IParameter* param = GetParam(paramIdx);
    switch (index)
    {
    case vst::effGetParamDisplay:
        if (!ptr)
            return 0;
        if (param)
            CopyToHost(ptr, param->FormatDisplay(opt, true).c_str());
        return kVendorAnswer;
    case 8:
    {
        if (!param)
            return 0;
        const IParameter::Kind kind = param->GetKind();
        const bool twoValued =
            kind == IParameter::kBool ||
            ((kind == IParameter::kInt || kind == IParameter::kEnum) && param->Max() - param->Min() < 1.5);
        return twoValued ? kVendorAnswer : 0;
    }
    case vst::effString2Parameter:
    {
        if (!ptr || !param)
            return 0;
        const auto text = FromHost<kHostTextLimit>(ptr);
        if (!text.Empty())
        {
            const double normalized = param->ToNormalized(param->ParseDisplay(text.Get()));
            std::snprintf(static_cast<char*>(ptr), 32, "%.17f", normalized);
        }
        return kVendorAnswer;
    }
    case kWheelRequest:
        return (value == kWheelValue && editor) ? editor->WheelAtCursor(opt) : 0;
    default:
        return 0;
    }
}

VstIntPtr IEffectVST::CanDo(const char* text) const
{
    if (!text)
        return 0;
    if (std::strcmp(text, "receiveVstTimeInfo") == 0)
        return 1;
    if (midiMode != 0)
    {
        const bool sends = (midiMode & 1) != 0;
        const bool receives = midiMode <= 2;
        if (sends && (std::strcmp(text, "sendVstEvents") == 0 || std::strcmp(text, "sendVstMidiEvent") == 0))
            return 1;
        if (receives &&
            (std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0))
            return 1;
    }
    return 0;
}

VstIntPtr IEffectVST::PinProperties(bool input, VstInt32 index, void* ptr) const
{
    const int count = static_cast<int>(input ? inputChannels.size() : outputChannels.size());
    if (!ptr || index < 0 || index >= count)
        return 0;
    auto* pin = static_cast<VstPinProperties*>(ptr);
    pin->flags = vst::kVstPinIsActive;
    if (index % 2 == 0 && index < count - 1)
        pin->flags |= vst::kVstPinIsStereo;
    std::snprintf(pin->label, sizeof pin->label, input ? "Input %d" : "Output %d", index + 1);
    return 1;
}

VstIntPtr IEffectVST::ProcessEvents(const VstEvents* events)
{
    if (!events)
        return 0;
    for (VstInt32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* event = events->events[i];
        if (!event)
            continue;
        if (event->type == vst::kVstMidiType)
        {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            IMidiMsg msg;
            msg.offset = midi->deltaFrames;
            msg.status = static_cast<uint8_t>(midi->midiData[0]);
            msg.data1 = static_cast<uint8_t>(midi->midiData[1]);
            msg.data2 = static_cast<uint8_t>(midi->midiData[2]);
            ProcessMidiMessage(msg);
        }
        else if (event->type == vst::kVstSysExType)
        {
            const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
            ISysExMsg msg;
            msg.offset = sysex->deltaFrames;
            msg.size = sysex->dumpBytes;
            msg.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
            ProcessSysEx(msg);
        }
    }
    return 1;
}

VstIntPtr IEffectVST::StringToParameter(VstInt32 index, const char* text)
{
    IParameter* param = GetParam(index);
    if (!param)
        return 0;
    if (text)
    {
        const double parsed = param->ParseDisplay(FromHost<kHostTextLimit>(text).Get());
        if (editor)
            editor->SetControlsFromPlug(index, parsed, false);
        param->SetValue(param->Limit(parsed));
    }
    HandleParamChange(index);
    return 1;
}

void IEffectVST::SetSpeakerArrangement(Side side, const VstSpeakerArrangement* arrangement)
{
    if (!arrangement)
        return;
    const int count = static_cast<int>(side == Side::Input ? inputChannels.size() : outputChannels.size());
    // A count outside 0..channels would reach channels that do not exist.
    const int wired = arrangement->numChannels < 0 ? 0 : std::min(arrangement->numChannels, count);
    SetChannelConnections(side, 0, wired, true);
    SetChannelConnections(side, wired, count - wired, false);
}
