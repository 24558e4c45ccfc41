// The component's lifecycle, buses and state.
#include "formats/vst3/Vst3Component.h"

#include "formats/vst3/Vst3Stream.h"
#include "formats/vst3/Vst3Text.h"

#include <cstring>

namespace tpm
{
vst3::tresult Vst3Component::initialize(vst3::FUnknown* context)
{
    (void)context; // the host application offers nothing this plug-in asks for
    if (initialized)
        return vst3::kResultFalse;
    if (!model.EnsureInstance())
        return vst3::kOutOfMemory;
    initialized = true;
    stage.store(Stage::kInitialized);
    return vst3::kResultOk;
}

vst3::tresult Vst3Component::terminate()
{
    if (!initialized)
        return vst3::kResultFalse;
    // Hosts may terminate an instance that still processes.
    const Stage now = stage.load();
    if (now == Stage::kProcessing)
        model.StopProcessing();
    if (now == Stage::kProcessing || now == Stage::kActive)
        model.Instance()->Deactivate();
    stage.store(Stage::kCreated);
    setupDone = false;
    initialized = false;
    return vst3::kResultOk;
}

vst3::tresult Vst3Component::getControllerClassId(vst3::TUID classId)
{
    // No separate controller class: the host finds the controller on this object.
    if (classId)
        std::memset(classId, 0, sizeof(vst3::TUID));
    return vst3::kResultFalse;
}

vst3::tresult Vst3Component::setIoMode(vst3::IoMode mode)
{
    return mode >= vst3::kSimple && mode <= vst3::kOfflineProcessing ? vst3::kResultOk
                                                                     : vst3::kInvalidArgument;
}

vst3::int32 Vst3Component::getBusCount(vst3::MediaType type, vst3::BusDirection dir)
{
    return type == vst3::kAudio && (dir == vst3::kInput || dir == vst3::kOutput) ? 1 : 0;
}

vst3::tresult Vst3Component::getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
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

vst3::tresult Vst3Component::getRoutingInfo(vst3::RoutingInfo& inInfo, vst3::RoutingInfo& outInfo)
{
    (void)inInfo;
    (void)outInfo;
    return vst3::kNotImplemented; // one input bus, one output bus
}

vst3::tresult Vst3Component::activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                         vst3::TBool state)
{
    (void)state; // the one pair is always processed; an inactive input reads as silence
    return getBusCount(type, dir) == 1 && index == 0 ? vst3::kResultTrue : vst3::kInvalidArgument;
}

vst3::tresult Vst3Component::setActive(vst3::TBool state)
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
        if (!model.Instance()->Activate(setup.sampleRate, setup.maxSamplesPerBlock))
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
        model.StopProcessing();
    model.Instance()->Deactivate();
    return vst3::kResultOk;
}

vst3::tresult Vst3Component::setState(vst3::IBStream* state)
{
    if (!state || !initialized)
        return !state ? vst3::kInvalidArgument : vst3::kNotInitialized;
    std::vector<uint8_t> bytes;
    if (!Vst3Stream::ReadAll(*state, bytes))
        return vst3::kResultFalse;
    return model.LoadComponentState(bytes) ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult Vst3Component::getState(vst3::IBStream* state)
{
    if (!state || !initialized)
        return !state ? vst3::kInvalidArgument : vst3::kNotInitialized;
    model.SelectRequestedProgram();
    std::vector<uint8_t> bytes;
    if (!model.SaveState(bytes))
        return vst3::kInternalError;
    return Vst3Stream::WriteAll(*state, bytes) ? vst3::kResultOk : vst3::kResultFalse;
}
} // namespace tpm
