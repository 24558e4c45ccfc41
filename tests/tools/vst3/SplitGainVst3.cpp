// A small VST3 plug-in built the way many are, for testing the host side: a stereo gain whose
// component (processor) and edit controller are separate classes that know each other only through
// IConnectionPoint. The processor processes only once connected, 32-bit only; its gain arrives as
// parameter points, each applied from its frame on; the controller learns the state through
// setComponentState. The module hands out its factory only after ModuleEntry.
#include "formats/vst3/Vst3Abi.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tpm
{
namespace
{
using namespace vst3;

constexpr Uid kProcessorId = MakeUid(0x5E1D0A11, 0x6A1B4C2D, 0x8E3F9012, 0x3456789A);
constexpr Uid kControllerId = MakeUid(0x5E1D0A12, 0x6A1B4C2D, 0x8E3F9012, 0x3456789A);
constexpr ParamID kGainId = 7;
std::atomic<int> moduleEntries{0};

void CopyText(char16* out, const char* text)
{
    int i = 0;
    for (; text[i] && i < 127; ++i)
        out[i] = static_cast<char16>(text[i]);
    out[i] = 0;
}

// Reference counting shared by the classes here: each object deletes itself at its last release.
template <typename Self> struct Counted
{
    std::atomic<uint32> references{1};
    uint32 Add() { return ++references; }
    uint32 Drop(Self* self)
    {
        const uint32 left = --references;
        if (left == 0)
            delete self;
        return left;
    }
};

class Processor final : public IComponent, public IAudioProcessor, public IConnectionPoint
{
  public:
    tresult queryInterface(const TUID iid, void** obj) override
    {
        if (SameUid(iid, FUnknown::iid) || SameUid(iid, IPluginBase::iid) || SameUid(iid, IComponent::iid))
            *obj = static_cast<IComponent*>(this);
        else if (SameUid(iid, IAudioProcessor::iid))
            *obj = static_cast<IAudioProcessor*>(this);
        else if (SameUid(iid, IConnectionPoint::iid))
            *obj = static_cast<IConnectionPoint*>(this);
        else
        {
            *obj = nullptr;
            return kNoInterface;
        }
        count.Add();
        return kResultOk;
    }
    uint32 addRef() override { return count.Add(); }
    uint32 release() override { return count.Drop(this); }

    tresult initialize(FUnknown*) override { return kResultOk; }
    tresult terminate() override { return kResultOk; }
    tresult getControllerClassId(TUID classId) override
    {
        std::memcpy(classId, kControllerId.bytes, sizeof(TUID));
        return kResultOk;
    }
    tresult setIoMode(IoMode) override { return kResultOk; }
    int32 getBusCount(MediaType type, BusDirection) override { return type == kAudio ? 1 : 0; }
    tresult getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) override
    {
        if (type != kAudio || index != 0)
            return kInvalidArgument;
        bus = BusInfo{};
        bus.mediaType = kAudio;
        bus.direction = dir;
        bus.channelCount = 2;
        CopyText(bus.name, dir == kInput ? "In" : "Out");
        bus.busType = kMain;
        bus.flags = BusInfo::kDefaultActive;
        return kResultOk;
    }
    tresult getRoutingInfo(RoutingInfo&, RoutingInfo&) override { return kNotImplemented; }
    tresult activateBus(MediaType, BusDirection, int32, TBool) override { return kResultOk; }
    tresult setActive(TBool) override { return kResultOk; }
    tresult setState(IBStream* state) override
    {
        double value = 0.0;
        int32 read = 0;
        if (!state || state->read(&value, sizeof value, &read) != kResultOk || read != sizeof value ||
            !(value >= 0.0 && value <= 1.0))
            return kResultFalse;
        gain = value;
        return kResultOk;
    }
    tresult getState(IBStream* state) override
    {
        int32 written = 0;
        return state && state->write(&gain, sizeof gain, &written) == kResultOk && written == sizeof gain
                   ? kResultOk
                   : kResultFalse;
    }

    tresult setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                               int32 numOuts) override
    {
        return numIns == 1 && numOuts == 1 && inputs[0] == SpeakerArr::kStereo &&
                       outputs[0] == SpeakerArr::kStereo
                   ? kResultOk
                   : kResultFalse;
    }
    tresult getBusArrangement(BusDirection, int32 index, SpeakerArrangement& arr) override
    {
        arr = SpeakerArr::kStereo;
        return index == 0 ? kResultOk : kInvalidArgument;
    }
    tresult canProcessSampleSize(int32 size) override
    {
        return size == kSample32 ? kResultTrue : kResultFalse;
    }
    uint32 getLatencySamples() override { return 0; }
    tresult setupProcessing(ProcessSetup& setup) override
    {
        return setup.symbolicSampleSize == kSample32 ? kResultOk : kResultFalse;
    }
    tresult setProcessing(TBool) override { return kResultOk; }
    tresult process(ProcessData& data) override
    {
        if (!peer)
            return kNotInitialized; // its controller was never connected
        IParamValueQueue* queue = nullptr;
        for (int32 q = 0; data.inputParameterChanges && q < data.inputParameterChanges->getParameterCount();
             ++q)
            if (IParamValueQueue* candidate = data.inputParameterChanges->getParameterData(q);
                candidate && candidate->getParameterId() == kGainId)
                queue = candidate;
        if (data.numSamples == 0 || data.numInputs < 1 || data.numOutputs < 1)
        {
            ApplyPointsUpTo(queue, INT32_MAX);
            return kResultOk;
        }
        pointIndex = 0;
        for (int32 i = 0; i < data.numSamples; ++i)
        {
            ApplyPointsUpTo(queue, i);
            for (int c = 0; c < 2; ++c)
                data.outputs[0].channelBuffers32[c][i] =
                    static_cast<float>(data.inputs[0].channelBuffers32[c][i] * gain * 2.0);
        }
        ApplyPointsUpTo(queue, INT32_MAX);
        return kResultOk;
    }
    uint32 getTailSamples() override { return kNoTail; }

    tresult connect(IConnectionPoint* other) override
    {
        if (!other || peer)
            return kResultFalse;
        peer = other;
        return kResultOk;
    }
    tresult disconnect(IConnectionPoint* other) override
    {
        if (other != peer)
            return kResultFalse;
        peer = nullptr;
        return kResultOk;
    }
    tresult notify(IMessage*) override { return kResultOk; }

  private:
    ~Processor() = default;
    friend struct Counted<Processor>;
    void ApplyPointsUpTo(IParamValueQueue* queue, int32 frame)
    {
        int32 offset = 0;
        double value = 0.0;
        if (frame == INT32_MAX)
            pointIndex = 0;
        while (queue && pointIndex < queue->getPointCount() &&
               queue->getPoint(pointIndex, offset, value) == kResultOk && offset <= frame)
        {
            gain = value;
            ++pointIndex;
        }
    }

    Counted<Processor> count;
    IConnectionPoint* peer = nullptr;
    double gain = 0.5;
    int32 pointIndex = 0;
};

class Controller final : public IEditController, public IConnectionPoint
{
  public:
    tresult queryInterface(const TUID iid, void** obj) override
    {
        if (SameUid(iid, FUnknown::iid) || SameUid(iid, IPluginBase::iid) ||
            SameUid(iid, IEditController::iid))
            *obj = static_cast<IEditController*>(this);
        else if (SameUid(iid, IConnectionPoint::iid))
            *obj = static_cast<IConnectionPoint*>(this);
        else
        {
            *obj = nullptr;
            return kNoInterface;
        }
        count.Add();
        return kResultOk;
    }
    uint32 addRef() override { return count.Add(); }
    uint32 release() override { return count.Drop(this); }

    tresult initialize(FUnknown*) override { return kResultOk; }
    tresult terminate() override
    {
        setComponentHandler(nullptr);
        return kResultOk;
    }
    tresult setComponentState(IBStream* state) override
    {
        double value = 0.0;
        int32 read = 0;
        if (!state || state->read(&value, sizeof value, &read) != kResultOk || read != sizeof value)
            return kResultFalse;
        gain = value;
        return kResultOk;
    }
    tresult setState(IBStream*) override { return kResultOk; }
    tresult getState(IBStream*) override { return kResultOk; }
    int32 getParameterCount() override { return 1; }
    tresult getParameterInfo(int32 index, ParameterInfo& info) override
    {
        if (index != 0)
            return kInvalidArgument;
        info = ParameterInfo{};
        info.id = kGainId;
        CopyText(info.title, "Gain");
        CopyText(info.shortTitle, "Gain");
        CopyText(info.units, "x");
        info.defaultNormalizedValue = 0.5;
        info.flags = ParameterInfo::kCanAutomate;
        return kResultOk;
    }
    tresult getParamStringByValue(ParamID id, ParamValue value, String128 text) override
    {
        if (id != kGainId)
            return kInvalidArgument;
        char plain[32];
        std::snprintf(plain, sizeof plain, "%.2f", value * 2.0);
        CopyText(text, plain);
        return kResultOk;
    }
    tresult getParamValueByString(ParamID id, TChar* text, ParamValue& value) override
    {
        char plain[32] = {};
        for (int i = 0; i < 31 && text[i]; ++i)
            plain[i] = static_cast<char>(text[i]);
        char* end = nullptr;
        const double number = std::strtod(plain, &end);
        if (id != kGainId || end == plain || number < 0.0 || number > 2.0)
            return kResultFalse;
        value = number / 2.0;
        return kResultOk;
    }
    ParamValue normalizedParamToPlain(ParamID, ParamValue value) override { return value * 2.0; }
    ParamValue plainParamToNormalized(ParamID, ParamValue plain) override { return plain / 2.0; }
    ParamValue getParamNormalized(ParamID id) override { return id == kGainId ? gain : 0.0; }
    tresult setParamNormalized(ParamID id, ParamValue value) override
    {
        if (id != kGainId)
            return kInvalidArgument;
        gain = value;
        return kResultOk;
    }
    tresult setComponentHandler(IComponentHandler* newHandler) override
    {
        if (newHandler)
            newHandler->addRef();
        if (handler)
            handler->release();
        handler = newHandler;
        return kResultOk;
    }
    IPlugView* createView(FIDString) override { return nullptr; }

    tresult connect(IConnectionPoint* other) override { return other ? kResultOk : kInvalidArgument; }
    tresult disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult notify(IMessage*) override { return kResultOk; }

  private:
    ~Controller() { setComponentHandler(nullptr); }
    friend struct Counted<Controller>;
    Counted<Controller> count;
    IComponentHandler* handler = nullptr;
    double gain = 0.5;
};

class Factory final : public IPluginFactory
{
  public:
    tresult queryInterface(const TUID iid, void** obj) override
    {
        if (!SameUid(iid, FUnknown::iid) && !SameUid(iid, IPluginFactory::iid))
        {
            *obj = nullptr;
            return kNoInterface;
        }
        *obj = this;
        return kResultOk;
    }
    uint32 addRef() override { return 1; }
    uint32 release() override { return 1; }
    tresult getFactoryInfo(PFactoryInfo* info) override
    {
        *info = PFactoryInfo{};
        std::strcpy(info->vendor, "twinPulseToneMix developers");
        return kResultOk;
    }
    int32 countClasses() override { return 2; }
    tresult getClassInfo(int32 index, PClassInfo* info) override
    {
        if (index < 0 || index > 1)
            return kInvalidArgument;
        *info = PClassInfo{};
        std::memcpy(info->cid, (index == 0 ? kProcessorId : kControllerId).bytes, sizeof(TUID));
        info->cardinality = PClassInfo::kManyInstances;
        std::strcpy(info->category, index == 0 ? kVstAudioEffectClass : kVstComponentControllerClass);
        std::strcpy(info->name, index == 0 ? "Split Gain" : "Split Gain Controller");
        return kResultOk;
    }
    tresult createInstance(FIDString cid, FIDString iid, void** obj) override
    {
        *obj = nullptr;
        FUnknown* made = nullptr;
        if (SameUid(cid, kProcessorId))
            made = static_cast<IComponent*>(new Processor);
        else if (SameUid(cid, kControllerId))
            made = static_cast<IEditController*>(new Controller);
        else
            return kInvalidArgument;
        const tresult result = made->queryInterface(iid, obj);
        made->release();
        return result;
    }
};

Factory factory;
} // namespace
} // namespace tpm

using namespace tpm;

extern "C" {
__attribute__((visibility("default"))) IPluginFactory* GetPluginFactory()
{
    return moduleEntries.load() > 0 ? &factory : nullptr;
}
__attribute__((visibility("default"))) bool ModuleEntry(void* handle)
{
    ++moduleEntries;
    return handle != nullptr;
}
__attribute__((visibility("default"))) bool ModuleExit()
{
    return --moduleEntries >= 0;
}
}
