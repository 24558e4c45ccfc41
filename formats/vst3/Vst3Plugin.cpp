// The plug-in object's identity, lifecycle, buses and state.
#include "formats/vst3/Vst3Plugin.h"

#include "formats/vst3/Vst3Stream.h"
#include "formats/vst3/Vst3Text.h"

#include <cstring>
#include <new>

Vst3Plugin* Vst3Plugin::Create()
{
    return new (std::nothrow) Vst3Plugin();
}

Vst3Plugin::Vst3Plugin() : mainThread(std::this_thread::get_id()), controller(*this) {}

Vst3Plugin::~Vst3Plugin()
{
    controller.Terminate();
    if (instance)
    {
        instance->SetEventListener(nullptr);
        instance->Deactivate();
    }
}

vst3::tresult Vst3Plugin::queryInterface(const vst3::TUID iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    *obj = nullptr;
    if (vst3::SameUid(iid, vst3::FUnknown::iid) || vst3::SameUid(iid, vst3::IPluginBase::iid) ||
        vst3::SameUid(iid, vst3::IComponent::iid))
        *obj = static_cast<vst3::IComponent*>(this);
    else if (vst3::SameUid(iid, vst3::IAudioProcessor::iid))
        *obj = static_cast<vst3::IAudioProcessor*>(this);
    else if (vst3::SameUid(iid, vst3::IProcessContextRequirements::iid))
        *obj = static_cast<vst3::IProcessContextRequirements*>(this);
    else if (vst3::SameUid(iid, vst3::IEditController::iid))
        *obj = static_cast<vst3::IEditController*>(&controller);
    else if (vst3::SameUid(iid, vst3::IUnitInfo::iid))
        *obj = static_cast<vst3::IUnitInfo*>(&controller);
    else
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 Vst3Plugin::addRef()
{
    return refs.fetch_add(1, std::memory_order_relaxed) + 1;
}

vst3::uint32 Vst3Plugin::release()
{
    const vst3::uint32 left = refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete this;
    return left;
}

bool Vst3Plugin::EnsureInstance()
{
    if (instance)
        return true;
    // The thread that sets the plug-in up is the one the host calls it from for everything but audio.
    mainThread = std::this_thread::get_id();
    instance = PluginInstance::Create();
    if (!instance)
        return false;
    instance->SetEventListener(this);
    controller.CountPrograms();
    return true;
}

vst3::tresult Vst3Plugin::initialize(vst3::FUnknown* context)
{
    (void)context; // the host application offers nothing this plug-in asks for
    if (componentInitialized)
        return vst3::kResultFalse;
    if (!EnsureInstance())
        return vst3::kOutOfMemory;
    componentInitialized = true;
    stage.store(Stage::kInitialized);
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::terminate()
{
    if (!componentInitialized)
        return vst3::kResultFalse;
    // Hosts may terminate an instance that still processes.
    const Stage now = stage.load();
    if (now == Stage::kProcessing)
        instance->StopProcessing();
    if (now == Stage::kProcessing || now == Stage::kActive)
        instance->Deactivate();
    stage.store(Stage::kCreated);
    setupDone = false;
    componentInitialized = false;
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::getControllerClassId(vst3::TUID classId)
{
    // No separate controller class: the host finds the controller on this object.
    if (classId)
        std::memset(classId, 0, sizeof(vst3::TUID));
    return vst3::kResultFalse;
}

vst3::tresult Vst3Plugin::setIoMode(vst3::IoMode mode)
{
    return mode >= vst3::kSimple && mode <= vst3::kOfflineProcessing ? vst3::kResultOk
                                                                     : vst3::kInvalidArgument;
}

vst3::int32 Vst3Plugin::getBusCount(vst3::MediaType type, vst3::BusDirection dir)
{
    return type == vst3::kAudio && (dir == vst3::kInput || dir == vst3::kOutput) ? 1 : 0;
}

vst3::tresult Vst3Plugin::getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                     vst3::BusInfo& bus)
{
    if (getBusCount(type, dir) == 0 || index != 0)
        return vst3::kInvalidArgument;
    bus = vst3::BusInfo{};
    bus.mediaType = vst3::kAudio;
    bus.direction = dir;
    bus.channelCount = 2;
    vst3text::ToUtf16(dir == vst3::kInput ? "Input" : "Output", bus.name, 128);
    bus.busType = vst3::kMain;
    bus.flags = vst3::BusInfo::kDefaultActive;
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::getRoutingInfo(vst3::RoutingInfo& inInfo, vst3::RoutingInfo& outInfo)
{
    (void)inInfo;
    (void)outInfo;
    return vst3::kNotImplemented; // one input bus, one output bus
}

vst3::tresult Vst3Plugin::activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                      vst3::TBool state)
{
    (void)state; // the one pair is always processed; an inactive input reads as silence
    return getBusCount(type, dir) == 1 && index == 0 ? vst3::kResultTrue : vst3::kInvalidArgument;
}

vst3::tresult Vst3Plugin::setActive(vst3::TBool state)
{
    const Stage now = stage.load();
    if (state)
    {
        if (now != Stage::kInitialized)
            return vst3::kResultFalse;
        // Some hosts (Carla's discovery) activate before any processing setup: a common one stands
        // in until the host's own comes.
        if (!setupDone)
        {
            setup.sampleRate = kFallbackSampleRate;
            setup.maxSamplesPerBlock = kFallbackMaxFrames;
            setupDone = true;
        }
        if (!instance->Activate(setup.sampleRate, setup.maxSamplesPerBlock))
            return vst3::kResultFalse;
        stage.store(Stage::kActive);
        return vst3::kResultOk;
    }
    // Switching off what is already off is harmless (a validator's teardown does it).
    if (now == Stage::kInitialized)
        return vst3::kResultOk;
    if (now != Stage::kActive && now != Stage::kProcessing)
        return vst3::kResultFalse;
    // Some hosts switch off without stopping processing first.
    stage.store(Stage::kInitialized);
    if (now == Stage::kProcessing)
        instance->StopProcessing();
    instance->Deactivate();
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::setState(vst3::IBStream* state)
{
    if (!state || !componentInitialized)
        return !state ? vst3::kInvalidArgument : vst3::kNotInitialized;
    std::vector<uint8_t> bytes;
    if (!Vst3Stream::ReadAll(*state, bytes))
        return vst3::kResultFalse;
    // A program a block chose before the state is replaced by it, not selected over it afterwards.
    const int waiting = requestedProgram.exchange(-1);
    if (!instance->LoadState(bytes))
    {
        // A refused state changes nothing: the request waits again, unless a newer one came meanwhile.
        int none = -1;
        requestedProgram.compare_exchange_strong(none, waiting);
        return vst3::kResultFalse;
    }
    controller.ValuesChanged();
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::getState(vst3::IBStream* state)
{
    if (!state || !componentInitialized)
        return !state ? vst3::kInvalidArgument : vst3::kNotInitialized;
    SelectRequestedProgram();
    std::vector<uint8_t> bytes;
    if (!SaveState(bytes))
        return vst3::kInternalError;
    return Vst3Stream::WriteAll(*state, bytes) ? vst3::kResultOk : vst3::kResultFalse;
}

bool Vst3Plugin::SaveState(std::vector<uint8_t>& out)
{
    try
    {
        return instance && instance->SaveState(out);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

void Vst3Plugin::MainThreadTick()
{
    if (!instance || !OnMainThread())
        return;
    SelectRequestedProgram();
    controller.DrainHostEvents();
}

void Vst3Plugin::SelectRequestedProgram()
{
    if (!instance || !OnMainThread() || InsideProcess())
        return;
    const int program = requestedProgram.exchange(-1);
    if (program < 0)
        return;
    controller.SelectProgramInHostCall(program);
    // The block that asked for it is past: a later one that names it again changes nothing.
    programSelectionsTaken.store(controller.ProgramSelections());
}

void Vst3Plugin::HostEventsPending()
{
    // On the main thread outside a block the host hears at once; events queued in a block or on
    // another thread wait for the main thread's next turn.
    if (OnMainThread() && !InsideProcess())
        controller.DrainHostEvents();
}
