#include "formats/vst3/Vst3Model.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace tpm
{
namespace
{
// While a block runs on this thread: the host is then not to be called.
thread_local bool insideBlock = false;
} // namespace

Vst3Model::BlockScope::BlockScope(Vst3Model& model, bool takesOutput)
{
    insideBlock = true;
    model.lastBlockTookOutput.store(takesOutput, std::memory_order_release);
}

Vst3Model::BlockScope::~BlockScope()
{
    insideBlock = false;
}

bool Vst3Model::InsideBlock()
{
    return insideBlock;
}

Vst3Model::~Vst3Model()
{
    SetComponentHandler(nullptr);
    if (instance)
    {
        instance->SetEventListener(nullptr);
        instance->Deactivate();
    }
}

bool Vst3Model::EnsureInstance()
{
    if (instance)
        return true;
    // The thread that sets the plug-in up is the one the host calls it from for everything but audio.
    mainThread = std::this_thread::get_id();
    instance = PluginInstance::Create();
    if (!instance)
        return false;
    instance->SetEventListener(this);
    CountPrograms();
    return true;
}

void Vst3Model::StartProcessing()
{
    instance->StartProcessing();
    processing.store(true);
}

void Vst3Model::StopProcessing()
{
    processing.store(false);
    instance->StopProcessing();
}

bool Vst3Model::SaveState(std::vector<uint8_t>& out)
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

bool Vst3Model::LoadComponentState(std::span<const uint8_t> bytes)
{
    // A program a block chose before the state is replaced by it, not selected over it afterwards.
    const int waiting = requestedProgram.exchange(-1);
    if (!instance->LoadState(bytes))
    {
        // A refused state changes nothing: the request waits again, unless a newer one came meanwhile.
        int none = -1;
        requestedProgram.compare_exchange_strong(none, waiting);
        return false;
    }
    ValuesChanged();
    return true;
}

void Vst3Model::CountPrograms()
{
    programCount = 0;
    while (programCount < instance->Programs().Count() && instance->Programs().InUse(programCount))
        ++programCount;
    programCount = std::max(programCount, 1);
    selectedProgram.store(instance->Programs().Current(), std::memory_order_release);
    hostValues = std::vector<std::atomic<double>>(static_cast<std::size_t>(instance->ParamCount()));
    for (std::size_t i = 0; i < hostValues.size(); ++i)
        HostHolds(static_cast<vst3::ParamID>(i), instance->ParamNormalized(static_cast<int>(i)));
}

int Vst3Model::ProgramIndexOf(double normalized) const
{
    if (programCount <= 1 || std::isnan(normalized))
        return 0;
    return static_cast<int>(std::lround(std::clamp(normalized, 0.0, 1.0) * (programCount - 1)));
}

int Vst3Model::ShownProgram() const
{
    const int current = instance ? instance->Programs().Current() : 0;
    if (current >= 0 && current < programCount)
        shownProgram.store(current);
    return shownProgram.load();
}

void Vst3Model::SelectProgram(int index)
{
    if (!instance || index < 0 || index >= programCount || index == ShownProgram())
        return;
    if (!instance->Programs().Select(index))
        return;
    ValuesChanged();
    programSelections.fetch_add(1, std::memory_order_acq_rel);
}

void Vst3Model::SelectProgramInHostCall(int index)
{
    const bool wasDraining = draining;
    draining = true;
    SelectProgram(index);
    draining = wasDraining;
}

void Vst3Model::SelectRequestedProgram()
{
    if (!instance || !OnMainThread() || InsideBlock())
        return;
    const int program = requestedProgram.exchange(-1);
    if (program < 0)
        return;
    SelectProgramInHostCall(program);
    // The block that asked for it is past: a later one that names it again changes nothing.
    programSelectionsTaken.store(programSelections.load(std::memory_order_acquire));
}

void Vst3Model::MainThreadTick()
{
    if (!instance || !OnMainThread())
        return;
    SelectRequestedProgram();
    DrainHostEvents();
}

void Vst3Model::ValuesChanged()
{
    ShownProgram(); // the program in force before a state on an unlisted slot stays shown
    if (instance)
        selectedProgram.store(instance->Programs().Current(), std::memory_order_release);
    valueChanges.fetch_add(1, std::memory_order_acq_rel);
    valuesChangedPending.store(true);
}

bool Vst3Model::IsHostsStaleCopy(vst3::ParamID id, double normalized) const
{
    return valueChangesTold.load() != valueChanges.load() && id < hostValues.size() &&
           hostValues[id].load() == normalized;
}

void Vst3Model::HostHolds(vst3::ParamID id, double normalized)
{
    if (id < hostValues.size())
        hostValues[id].store(normalized);
}

std::span<const ParamChange> Vst3Model::TakeProgram(std::span<const ParamChange> changes,
                                                    const Vst3ChangeReader::ProgramPoint& program)
{
    if (!program.present)
        return changes;
    const int index = ProgramIndexOf(program.normalized);
    const uint32_t selections = programSelections.load(std::memory_order_acquire);
    if (index != selectedProgram.load(std::memory_order_acquire))
    {
        // Chosen in the block only: selecting a program is main-thread work.
        requestedProgram.store(index);
        return changes;
    }
    if (programSelectionsTaken.exchange(selections) == selections)
        return changes; // the program in force, sent again: no change
    // The block's copy of the program the host just chose on the main thread. Hosts send the values
    // they held before it in the same block: up to its frame they are older than the program.
    const auto later = std::find_if(changes.begin(), changes.end(), [&](const ParamChange& change) {
        return change.offset > program.offset;
    });
    return changes.subspan(static_cast<std::size_t>(later - changes.begin()));
}

void Vst3Model::ReportValues(vst3::IParameterChanges* out)
{
    const uint32_t changes = valueChanges.load(std::memory_order_acquire);
    if (!out || !HostTold(changes))
        return;
    // A host whose controller and processor are apart in its own model (Ardour keeps a copy of every
    // value) learns a program's values here; hosts that echo them back find them unchanged.
    for (int i = 0; i < instance->ParamCount(); ++i)
    {
        const Parameter* param = instance->Param(i);
        if (!param || (param->Flags() & Parameter::kHidden))
            continue;
        vst3::int32 queueIndex = 0;
        vst3::int32 pointIndex = 0;
        const auto id = static_cast<vst3::ParamID>(i);
        const double normalized = instance->ParamNormalized(i);
        vst3::IParamValueQueue* queue = out->addParameterData(id, queueIndex);
        if (queue && queue->addPoint(0, normalized, pointIndex) == vst3::kResultOk)
            HostHolds(id, normalized);
    }
}

void Vst3Model::SetComponentHandler(vst3::IComponentHandler* newHandler)
{
    if (newHandler == handler)
        return;
    if (newHandler)
        newHandler->addRef();
    vst3::IComponentHandler* old = handler;
    handler = newHandler;
    if (old)
        old->release();
}

void Vst3Model::HostEventsPending()
{
    // On the main thread outside a block the host hears at once; events queued in a block or on
    // another thread wait for the main thread's next turn.
    if (OnMainThread() && !InsideBlock())
        DrainHostEvents();
}

void Vst3Model::DrainHostEvents()
{
    if (!instance || draining)
        return;
    // The host may call back, even release its handler, while it hears an event.
    draining = true;
    vst3::IComponentHandler* to = handler;
    if (to)
        to->addRef();
    // A host that keeps its own copy of the values (Ardour, in single precision) counts whatever a
    // re-read finds different from that copy as the user's change since the program it loaded. So
    // the host re-reads only values no block told it of: while blocks run and report them, the next
    // one does, and the re-read is left out.
    const uint32_t changes = valueChanges.load();
    if (valueChangesTold.load() == changes)
        valuesChangedPending.store(false);
    else if (to && !BlocksReportValues() && valuesChangedPending.exchange(false))
    {
        to->restartComponent(vst3::kParamValuesChanged);
        HostTold(changes);
        for (int i = 0; i < instance->ParamCount(); ++i)
            HostHolds(static_cast<vst3::ParamID>(i), instance->ParamNormalized(i));
    }
    HostEvent event;
    while (instance->PopHostEvent(event))
    {
        // The hidden trigger is the product's own; the host has no use for its gestures.
        const Parameter* param = instance->Param(event.paramIdx);
        if (!to || (event.kind != HostEvent::Kind::kDisplayChanged &&
                    (!param || (param->Flags() & Parameter::kHidden))))
            continue;
        const auto id = static_cast<vst3::ParamID>(event.paramIdx);
        switch (event.kind)
        {
        case HostEvent::Kind::kBeginEdit:
            to->beginEdit(id);
            break;
        case HostEvent::Kind::kValue:
            HostHolds(id, event.normalized);
            to->performEdit(id, event.normalized);
            break;
        case HostEvent::Kind::kEndEdit:
            to->endEdit(id);
            break;
        case HostEvent::Kind::kDisplayChanged:
            to->restartComponent(vst3::kParamValuesChanged);
            break;
        }
    }
    if (to)
        to->release();
    draining = false;
}
} // namespace tpm
