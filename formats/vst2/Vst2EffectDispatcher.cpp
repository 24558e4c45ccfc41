// The dispatcher: every request a host makes of the plug-in through the effect record.
#include "formats/vst2/Vst2Effect.h"
#include "formats/vst2/Vst2Identity.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tpm
{
namespace
{
constexpr VstIntPtr kVendorAnswer = 0xBEEF;
constexpr VstIntPtr kIdentifyAnswer = 0x4E764566; // 'NvEf'
constexpr VstIntPtr kVstVersion = 2400;
// effVendorSpecific requests: a mouse-wheel step forwarded by the host ('stCA' with 'Whee'), and
// the question whether a parameter has only two values.
constexpr VstInt32 kWheelRequest = 0x73744341;
constexpr VstIntPtr kWheelValue = 0x57686565;
constexpr VstInt32 kTwoValuedQuery = 8;
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

VstIntPtr Vst2Effect::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    using namespace vst;
    PluginInstance& p = *instance;
    // The editor's window work, the chunks, opening and the core's requests that change state take
    // the plug-in lock themselves, only where and as long as they must (it is not re-entrant);
    // everything else is quick and runs under it whole.
    switch (opcode)
    {
    case effOpen:
        Open();
        return 0;
    case effEditGetRect:
        if (!ptr || !editor)
            return 0;
        // Hosts ask before they open the window they give the editor: the system's scale counts
        // from here (and the rect follows a scale set since).
        TakeSystemScale();
        *static_cast<ERect**>(ptr) = &editorRect;
        return 1;
    case effEditOpen:
        return OpenEditor(ptr) ? 1 : 0;
    case effEditClose:
        return CloseEditor() ? 1 : 0;
    case effEditIdle:
        if (editor)
            editor->Idle();
        return 0;
    case effVendorSpecific:
        if (index == kWheelRequest)
            return value == kWheelValue && editor ? editor->WheelAtCursor(opt) : 0;
        break;
    case effSetBlockSize: // new scratch buffers are made outside the lock
        if (value > 0 && value <= INT_MAX)
            p.SetMaxFrames(static_cast<int>(value));
        return 0;
    case effSetProgram:
        p.Programs().Select(ToIndex(value));
        return 0;
    case effSetProgramName:
        if (ptr)
            p.Programs().RenameCurrent(FromHost<ProgramList::kNameCapacity + 1>(ptr).Get());
        return 0;
    case effSetSampleRate:
        p.SetSampleRate(opt);
        return 0;
    case effMainsChanged:
        p.SetSwitchedOn(value != 0);
        return 0;
    case effString2Parameter:
    {
        if (!p.Param(index))
            return 0;
        // A text that names no value is refused and changes nothing; no text at all sets the
        // parameter again as it stands.
        double value = p.ParamValue(index);
        if (ptr && !p.ParseValue(index, FromHost<kHostTextLimit>(ptr).Get(), value))
            return 0;
        p.SetParamValue(index, value);
        return 1;
    }
    case effGetChunk:
        return GetChunk(index == 0, ptr);
    case effSetChunk:
        return p.Programs().LoadChunk(
                   index == 0 ? ProgramList::ChunkKind::kBank : ProgramList::ChunkKind::kProgram, ptr, value)
                   ? 1
                   : 0;
    default:
        break;
    }
    ScopedLock guard(p.Lock());
    return DispatchLocked(opcode, index, value, ptr, opt);
}

VstIntPtr Vst2Effect::DispatchLocked(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    using namespace vst;
    PluginInstance& p = *instance;
    const Parameter* param = p.Param(index);
    char display[Parameter::kTextField];
    switch (opcode)
    {
    case effGetProgram:
        return p.Programs().Current();
    case effGetProgramName:
        if (ptr)
            CopyToHost(ptr, p.Programs().Name(p.Programs().Current()));
        return 0;
    case effGetParamLabel:
        if (param && ptr)
            CopyToHost(ptr, param->Label());
        return 0;
    case effGetParamDisplay:
        if (param && ptr)
        {
            param->FormatDisplay(param->Value(), false, display, sizeof display);
            CopyToHost(ptr, display);
        }
        return 0;
    case effGetParamName:
        if (param && ptr)
            CopyToHost(ptr, param->Name());
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effProcessEvents: // taken, and left unread: the effect has no use for MIDI
        return ptr ? 1 : 0;
    case effCanBeAutomated:
        return 1;
    case effGetProgramNameIndexed:
        if (!ptr)
            return 0;
        CopyToHost(ptr, p.Programs().Name(index));
        return p.Programs().Name(index)[0] != '\0' ? 1 : 0;
    case effGetInputProperties:
        return PinProperties(true, index, ptr);
    case effGetOutputProperties:
        return PinProperties(false, index, ptr);
    case effGetPlugCategory:
        return kPlugCategEffect;
    case effSetSpeakerArrangement:
        SetSpeakerArrangement(Vst2Channels::Side::kInput,
                              reinterpret_cast<const VstSpeakerArrangement*>(value));
        SetSpeakerArrangement(Vst2Channels::Side::kOutput, static_cast<const VstSpeakerArrangement*>(ptr));
        return 1;
    case effGetEffectName:
        if (!ptr)
            return 0;
        CopyToHost(ptr, vst2identity::kEffectName);
        return 1;
    case effGetVendorString:
        if (!ptr)
            return 0;
        CopyToHost(ptr, vst2identity::kVendorName);
        return 1;
    case effGetProductString:
        if (!ptr)
            return 0;
        CopyToHost(ptr, vst2identity::kProductName);
        return 1;
    case effGetVendorVersion:
        return effect.version;
    case effVendorSpecific:
        return DispatchVendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return CanDo(static_cast<const char*>(ptr));
    case effGetVstVersion:
        return kVstVersion;
    case effGetMidiKeyName:
    {
        if (!ptr)
            return 0;
        // No key has a name of its own.
        static_cast<MidiKeyName*>(ptr)->keyName[0] = '\0';
        return 0;
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

VstIntPtr Vst2Effect::DispatchVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    const int paramIdx = ToIndex(value);
    const Parameter* param = instance->Param(paramIdx);
    switch (index)
    {
    case vst::effGetParamDisplay:
        if (!ptr)
            return 0;
        if (param)
        {
            char display[Parameter::kTextField];
            param->FormatDisplay(opt, true, display, sizeof display);
            CopyToHost(ptr, display);
        }
        return kVendorAnswer;
    case kTwoValuedQuery:
    {
        if (!param)
            return 0;
        const Parameter::Kind kind = param->GetKind();
        const bool twoValued =
            kind == Parameter::kBool ||
            ((kind == Parameter::kInt || kind == Parameter::kEnum) && param->Max() - param->Min() < 1.5);
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
    default:
        return 0;
    }
}

VstIntPtr Vst2Effect::CanDo(const char* text) const
{
    if (!text)
        return 0;
    if (std::strcmp(text, "receiveVstTimeInfo") == 0)
        return 1;
    return 0; // no MIDI either way
}

VstIntPtr Vst2Effect::PinProperties(bool input, VstInt32 index, void* ptr) const
{
    const int count = Vst2Channels::Count();
    if (!ptr || index < 0 || index >= count)
        return 0;
    auto* pin = static_cast<VstPinProperties*>(ptr);
    pin->flags = vst::kVstPinIsActive;
    if (index % 2 == 0 && index < count - 1)
        pin->flags |= vst::kVstPinIsStereo;
    std::snprintf(pin->label, sizeof pin->label, input ? "Input %d" : "Output %d", index + 1);
    return 1;
}

VstIntPtr Vst2Effect::GetChunk(bool isBank, void* ptr)
{
    if (!ptr)
        return 0;
    const std::span<const uint8_t> chunk = instance->Programs().SaveChunk(
        isBank ? ProgramList::ChunkKind::kBank : ProgramList::ChunkKind::kProgram);
    if (chunk.empty())
        return 0;
    *static_cast<const void**>(ptr) = chunk.data();
    return static_cast<VstIntPtr>(chunk.size());
}

void Vst2Effect::SetSpeakerArrangement(Vst2Channels::Side side, const VstSpeakerArrangement* arrangement)
{
    if (!arrangement)
        return;
    const int count = Vst2Channels::Count();
    // A count outside 0..channels would reach channels that do not exist.
    const int wired = arrangement->numChannels < 0 ? 0 : std::min(arrangement->numChannels, count);
    channels.Connect(side, 0, wired, true);
    channels.Connect(side, wired, count - wired, false);
}
} // namespace tpm
