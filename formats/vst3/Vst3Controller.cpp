// The controller's lifecycle, state, parameters, host handler and view.
#include "formats/vst3/Vst3Controller.h"

#include "formats/vst3/Vst3Identity.h"
#include "formats/vst3/Vst3Plugin.h"
#include "formats/vst3/Vst3Stream.h"
#include "formats/vst3/Vst3Text.h"
#include "formats/vst3/Vst3View.h"
#include "plugin/PluginInstance.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace
{
constexpr char kProgramParamName[] = "Program";
constexpr int kTextSize = 128;
} // namespace

Vst3Controller::~Vst3Controller()
{
    Terminate();
}

vst3::tresult Vst3Controller::queryInterface(const vst3::TUID iid, void** obj)
{
    return owner.queryInterface(iid, obj);
}

vst3::uint32 Vst3Controller::addRef()
{
    return owner.addRef();
}

vst3::uint32 Vst3Controller::release()
{
    return owner.release();
}

vst3::tresult Vst3Controller::initialize(vst3::FUnknown* context)
{
    (void)context;
    if (initialized)
        return vst3::kResultFalse;
    if (!owner.EnsureInstance())
        return vst3::kOutOfMemory;
    initialized = true;
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::terminate()
{
    if (!initialized)
        return vst3::kResultFalse;
    Terminate();
    initialized = false;
    return vst3::kResultOk;
}

void Vst3Controller::Terminate()
{
    vst3::IComponentHandler* old = handler;
    handler = nullptr;
    if (old)
        old->release();
}

vst3::tresult Vst3Controller::setComponentState(vst3::IBStream* state)
{
    PluginInstance* instance = owner.Instance();
    if (!state || !instance)
        return !state ? vst3::kInvalidArgument : vst3::kNotInitialized;
    // The component is this object: the state it was just given is usually the one it holds.
    std::vector<uint8_t> given;
    std::vector<uint8_t> held;
    if (!Vst3Stream::ReadAll(*state, given))
        return vst3::kResultFalse;
    if (owner.SaveState(held) && held == given)
        return vst3::kResultOk;
    if (!instance->LoadState(given))
        return vst3::kResultFalse;
    ValuesChanged();
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::setState(vst3::IBStream* state)
{
    // Everything lives in the component's state; the controller keeps nothing of its own.
    return state ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult Vst3Controller::getState(vst3::IBStream* state)
{
    return state ? vst3::kResultOk : vst3::kInvalidArgument;
}

const IParameter* Vst3Controller::ProductParam(vst3::ParamID id) const
{
    const PluginInstance* instance = owner.Instance();
    if (!instance || id >= static_cast<vst3::ParamID>(instance->ParamCount()))
        return nullptr;
    return instance->Param(static_cast<int>(id));
}

void Vst3Controller::CountPrograms()
{
    const PluginInstance* instance = owner.Instance();
    programCount = 0;
    while (instance && programCount < instance->ProgramCount() && instance->ProgramInUse(programCount))
        ++programCount;
    programCount = std::max(programCount, 1);
    selectedProgram.store(instance ? instance->CurrentProgram() : 0, std::memory_order_release);
    hostValues =
        std::vector<std::atomic<double>>(instance ? static_cast<std::size_t>(instance->ParamCount()) : 0);
    for (std::size_t i = 0; i < hostValues.size(); ++i)
        HostHolds(static_cast<vst3::ParamID>(i), instance->ParamNormalized(static_cast<int>(i)));
}

void Vst3Controller::HostHolds(vst3::ParamID id, double normalized)
{
    if (id < hostValues.size())
        hostValues[id].store(normalized);
}

int Vst3Controller::ProgramIndexOf(double normalized) const
{
    if (programCount <= 1 || std::isnan(normalized))
        return 0;
    return static_cast<int>(std::lround(std::clamp(normalized, 0.0, 1.0) * (programCount - 1)));
}

vst3::int32 Vst3Controller::getParameterCount()
{
    const PluginInstance* instance = owner.Instance();
    return instance ? instance->ParamCount() + 1 : 0;
}

vst3::tresult Vst3Controller::getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info)
{
    const PluginInstance* instance = owner.Instance();
    if (!instance || paramIndex < 0 || paramIndex > instance->ParamCount())
        return vst3::kInvalidArgument;
    info = vst3::ParameterInfo{};
    info.unitId = vst3::kRootUnitId;
    if (paramIndex == instance->ParamCount())
    {
        info.id = vst3identity::kProgramParamId;
        vst3text::ToUtf16(kProgramParamName, info.title, kTextSize);
        vst3text::ToUtf16(kProgramParamName, info.shortTitle, kTextSize);
        info.stepCount = programCount - 1;
        info.defaultNormalizedValue = 0.0;
        info.flags = vst3::ParameterInfo::kIsProgramChange | vst3::ParameterInfo::kIsList;
        return vst3::kResultOk;
    }
    const IParameter& param = *instance->Param(paramIndex);
    info.id = static_cast<vst3::ParamID>(paramIndex);
    vst3text::ToUtf16(instance->ParamTitle(paramIndex), info.title, kTextSize);
    vst3text::ToUtf16(instance->ParamTitle(paramIndex), info.shortTitle, kTextSize);
    vst3text::ToUtf16(param.Label(), info.units, kTextSize);
    const uint32_t flags = param.Flags();
    // Only lists are stepped for the host: the whole-number ranges follow curves a host's even
    // steps would not.
    info.stepCount = (flags & IParameter::kList) ? param.StepCount() : 0;
    info.defaultNormalizedValue = param.ToNormalized(param.DefaultValue());
    if (flags & IParameter::kHidden)
        info.flags = vst3::ParameterInfo::kIsHidden | vst3::ParameterInfo::kIsReadOnly;
    else
    {
        if (flags & IParameter::kAutomatable)
            info.flags |= vst3::ParameterInfo::kCanAutomate;
        if (flags & IParameter::kList)
            info.flags |= vst3::ParameterInfo::kIsList;
    }
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                    vst3::String128 string)
{
    const PluginInstance* instance = owner.Instance();
    if (!instance || !string)
        return vst3::kInvalidArgument;
    if (id == vst3identity::kProgramParamId)
    {
        vst3text::ToUtf16(instance->ProgramNameUtf8(ProgramIndexOf(valueNormalized)).c_str(), string,
                          kTextSize);
        return vst3::kResultOk;
    }
    const IParameter* param = ProductParam(id);
    if (!param)
        return vst3::kInvalidArgument;
    const double normalized = std::isnan(valueNormalized) ? 0.0 : std::clamp(valueNormalized, 0.0, 1.0);
    char text[64];
    instance->FormatValue(static_cast<int>(id), param->StoredValue(normalized), text, sizeof text);
    vst3text::ToUtf16(text, string, kTextSize);
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                    vst3::ParamValue& valueNormalized)
{
    const PluginInstance* instance = owner.Instance();
    char text[4 * kTextSize];
    if (!instance || !vst3text::ToUtf8(string, text, sizeof text))
        return vst3::kInvalidArgument;
    if (id == vst3identity::kProgramParamId)
    {
        for (int i = 0; i < programCount; ++i)
            if (instance->ProgramNameUtf8(i) == text)
            {
                valueNormalized = programCount > 1 ? static_cast<double>(i) / (programCount - 1) : 0.0;
                return vst3::kResultOk;
            }
        return vst3::kResultFalse;
    }
    const IParameter* param = ProductParam(id);
    double value = 0.0;
    if (!param)
        return vst3::kInvalidArgument;
    if (!instance->ParseValue(static_cast<int>(id), text, value))
        return vst3::kResultFalse;
    valueNormalized = param->ToNormalized(value);
    return vst3::kResultOk;
}

vst3::ParamValue Vst3Controller::normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue valueNormalized)
{
    if (id == vst3identity::kProgramParamId)
        return ProgramIndexOf(valueNormalized);
    // Not-a-number reads as 0, as in every other conversion: a host's arithmetic must not meet NaN.
    const double normalized = std::isnan(valueNormalized) ? 0.0 : valueNormalized;
    const IParameter* param = ProductParam(id);
    if (!param)
        return normalized;
    return param->StoredValue(std::clamp(normalized, 0.0, 1.0));
}

vst3::ParamValue Vst3Controller::plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue)
{
    if (id == vst3identity::kProgramParamId)
        return programCount > 1 && !std::isnan(plainValue)
                   ? std::clamp(plainValue / (programCount - 1), 0.0, 1.0)
                   : 0.0;
    const IParameter* param = ProductParam(id);
    if (!param)
        return std::isnan(plainValue) ? 0.0 : plainValue;
    return param->ToNormalized(plainValue);
}

vst3::ParamValue Vst3Controller::getParamNormalized(vst3::ParamID id)
{
    // Hosts read values back on the main thread to show them: the turn for a program a block chose.
    owner.SelectRequestedProgram();
    const PluginInstance* instance = owner.Instance();
    if (!instance)
        return 0.0;
    if (id == vst3identity::kProgramParamId)
        return plainParamToNormalized(id, ShownProgram());
    return ProductParam(id) ? instance->ParamNormalized(static_cast<int>(id)) : 0.0;
}

vst3::tresult Vst3Controller::setParamNormalized(vst3::ParamID id, vst3::ParamValue value)
{
    PluginInstance* instance = owner.Instance();
    if (!instance || std::isnan(value))
        return vst3::kInvalidArgument;
    // A program a block chose came before this call: it applies first, so it cannot undo this value.
    owner.SelectRequestedProgram();
    if (id == vst3identity::kProgramParamId)
    {
        SelectProgramInHostCall(ProgramIndexOf(value));
        return vst3::kResultOk;
    }
    const IParameter* param = ProductParam(id);
    if (!param)
        return vst3::kInvalidArgument;
    if (param->Flags() & IParameter::kHidden)
        return vst3::kResultFalse;
    // A host that keeps its own copy of the values pushes that copy back now and then (Ardour, as it
    // reads a value); before it heard of a program or state, that is its old value, no edit.
    if (valueChangesTold.load() != valueChanges.load() && id < hostValues.size() &&
        hostValues[id].load() == value)
        return vst3::kResultOk;
    HostHolds(id, value);
    // Hosts echo values back; only a new one is applied, so an echo cannot undo a later change.
    const double plain = param->StoredValue(std::clamp(value, 0.0, 1.0));
    if (plain != instance->ParamValue(static_cast<int>(id)))
        instance->SetParamValue(static_cast<int>(id), plain);
    return vst3::kResultOk;
}

void Vst3Controller::SelectProgram(int index)
{
    PluginInstance* instance = owner.Instance();
    if (!instance || index < 0 || index >= programCount || index == ShownProgram())
        return;
    if (!instance->SelectProgram(index))
        return;
    ValuesChanged();
    programSelections.fetch_add(1, std::memory_order_acq_rel);
}

int Vst3Controller::ShownProgram() const
{
    const PluginInstance* instance = owner.Instance();
    const int current = instance ? instance->CurrentProgram() : 0;
    if (current >= 0 && current < programCount)
        shownProgram.store(current);
    return shownProgram.load();
}

void Vst3Controller::SelectProgramInHostCall(int index)
{
    const bool wasDraining = draining;
    draining = true;
    SelectProgram(index);
    draining = wasDraining;
}

vst3::tresult Vst3Controller::setComponentHandler(vst3::IComponentHandler* newHandler)
{
    if (newHandler == handler)
        return vst3::kResultOk;
    if (newHandler)
        newHandler->addRef();
    vst3::IComponentHandler* old = handler;
    handler = newHandler;
    if (old)
        old->release();
    return vst3::kResultOk;
}

vst3::IPlugView* Vst3Controller::createView(vst3::FIDString name)
{
    PluginInstance* instance = owner.Instance();
    // One editor at a time.
    if (!instance || !name || std::strcmp(name, vst3::kViewTypeEditor) != 0 || view)
        return nullptr;
    std::unique_ptr<IEditorLink> editor = instance->CreateEditor();
    if (!editor)
        return nullptr;
    view = new (std::nothrow) Vst3View(owner, std::move(editor));
    return view;
}

void Vst3Controller::ViewClosed(const Vst3View* closed)
{
    if (view == closed)
        view = nullptr;
}

void Vst3Controller::ValuesChanged()
{
    ShownProgram(); // the program in force before a state on an unlisted slot stays shown
    if (const PluginInstance* instance = owner.Instance())
        selectedProgram.store(instance->CurrentProgram(), std::memory_order_release);
    valueChanges.fetch_add(1, std::memory_order_acq_rel);
    valuesChangedPending.store(true);
}

void Vst3Controller::DrainHostEvents()
{
    PluginInstance* instance = owner.Instance();
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
    else if (to && !owner.BlocksReportValues() && valuesChangedPending.exchange(false))
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
        const IParameter* param = instance->Param(event.paramIdx);
        if (!to || (event.kind != HostEvent::Kind::kDisplayChanged &&
                    (!param || (param->Flags() & IParameter::kHidden))))
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
