// The controller's lifecycle, state, parameters, host handler and view.
#include "formats/vst3/Vst3Controller.h"

#include "formats/vst3/Vst3Identity.h"
#include "formats/vst3/Vst3Stream.h"
#include "formats/vst3/Vst3Text.h"
#include "formats/vst3/Vst3View.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tpm
{
namespace
{
constexpr char kProgramParamName[] = "Program";
constexpr int kTextSize = 128;
} // namespace

vst3::tresult Vst3Controller::initialize(vst3::FUnknown* context)
{
    (void)context;
    if (initialized)
        return vst3::kResultFalse;
    if (!model.EnsureInstance())
        return vst3::kOutOfMemory;
    initialized = true;
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::terminate()
{
    if (!initialized)
        return vst3::kResultFalse;
    model.SetComponentHandler(nullptr);
    initialized = false;
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::setComponentState(vst3::IBStream* state)
{
    PluginInstance* instance = model.Instance();
    if (!state || !instance)
        return !state ? vst3::kInvalidArgument : vst3::kNotInitialized;
    // The component is this object: the state it was just given is usually the one it holds.
    std::vector<uint8_t> given;
    std::vector<uint8_t> held;
    if (!Vst3Stream::ReadAll(*state, given))
        return vst3::kResultFalse;
    if (model.SaveState(held) && held == given)
        return vst3::kResultOk;
    if (!instance->LoadState(given))
        return vst3::kResultFalse;
    model.ValuesChanged();
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

const Parameter* Vst3Controller::ProductParam(vst3::ParamID id) const
{
    const PluginInstance* instance = model.Instance();
    if (!instance || id >= static_cast<vst3::ParamID>(instance->ParamCount()))
        return nullptr;
    return instance->Param(static_cast<int>(id));
}

vst3::int32 Vst3Controller::getParameterCount()
{
    const PluginInstance* instance = model.Instance();
    return instance ? instance->ParamCount() + 1 : 0;
}

vst3::tresult Vst3Controller::getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info)
{
    const PluginInstance* instance = model.Instance();
    if (!instance || paramIndex < 0 || paramIndex > instance->ParamCount())
        return vst3::kInvalidArgument;
    info = vst3::ParameterInfo{};
    info.unitId = vst3::kRootUnitId;
    if (paramIndex == instance->ParamCount())
    {
        info.id = vst3identity::kProgramParamId;
        vst3text::ToUtf16(kProgramParamName, info.title, kTextSize);
        vst3text::ToUtf16(kProgramParamName, info.shortTitle, kTextSize);
        info.stepCount = model.ProgramListSize() - 1;
        info.defaultNormalizedValue = 0.0;
        info.flags = vst3::ParameterInfo::kIsProgramChange | vst3::ParameterInfo::kIsList;
        return vst3::kResultOk;
    }
    const Parameter& param = *instance->Param(paramIndex);
    info.id = static_cast<vst3::ParamID>(paramIndex);
    vst3text::ToUtf16(instance->ParamTitle(paramIndex), info.title, kTextSize);
    vst3text::ToUtf16(instance->ParamTitle(paramIndex), info.shortTitle, kTextSize);
    vst3text::ToUtf16(param.Label(), info.units, kTextSize);
    const uint32_t flags = param.Flags();
    // Only lists are stepped for the host: the whole-number ranges follow curves a host's even
    // steps would not.
    info.stepCount = (flags & Parameter::kList) ? param.StepCount() : 0;
    info.defaultNormalizedValue = param.ToNormalized(param.DefaultValue());
    if (flags & Parameter::kHidden)
        info.flags = vst3::ParameterInfo::kIsHidden | vst3::ParameterInfo::kIsReadOnly;
    else
    {
        if (flags & Parameter::kAutomatable)
            info.flags |= vst3::ParameterInfo::kCanAutomate;
        if (flags & Parameter::kList)
            info.flags |= vst3::ParameterInfo::kIsList;
    }
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                    vst3::String128 string)
{
    const PluginInstance* instance = model.Instance();
    if (!instance || !string)
        return vst3::kInvalidArgument;
    if (id == vst3identity::kProgramParamId)
    {
        vst3text::ToUtf16(instance->Programs().NameUtf8(model.ProgramIndexOf(valueNormalized)).c_str(),
                          string, kTextSize);
        return vst3::kResultOk;
    }
    const Parameter* param = ProductParam(id);
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
    const PluginInstance* instance = model.Instance();
    char text[4 * kTextSize];
    if (!instance || !vst3text::ToUtf8(string, text, sizeof text))
        return vst3::kInvalidArgument;
    if (id == vst3identity::kProgramParamId)
    {
        const int programCount = model.ProgramListSize();
        for (int i = 0; i < programCount; ++i)
            if (instance->Programs().NameUtf8(i) == text)
            {
                valueNormalized = programCount > 1 ? static_cast<double>(i) / (programCount - 1) : 0.0;
                return vst3::kResultOk;
            }
        return vst3::kResultFalse;
    }
    const Parameter* param = ProductParam(id);
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
        return model.ProgramIndexOf(valueNormalized);
    // Not-a-number reads as 0, as in every other conversion: a host's arithmetic must not meet NaN.
    const double normalized = std::isnan(valueNormalized) ? 0.0 : valueNormalized;
    const Parameter* param = ProductParam(id);
    if (!param)
        return normalized;
    return param->StoredValue(std::clamp(normalized, 0.0, 1.0));
}

vst3::ParamValue Vst3Controller::plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue)
{
    const int programCount = model.ProgramListSize();
    if (id == vst3identity::kProgramParamId)
        return programCount > 1 && !std::isnan(plainValue)
                   ? std::clamp(plainValue / (programCount - 1), 0.0, 1.0)
                   : 0.0;
    const Parameter* param = ProductParam(id);
    if (!param)
        return std::isnan(plainValue) ? 0.0 : plainValue;
    return param->ToNormalized(plainValue);
}

vst3::ParamValue Vst3Controller::getParamNormalized(vst3::ParamID id)
{
    // Hosts read values back on the main thread to show them: the turn for a program a block chose.
    model.SelectRequestedProgram();
    const PluginInstance* instance = model.Instance();
    if (!instance)
        return 0.0;
    if (id == vst3identity::kProgramParamId)
        return plainParamToNormalized(id, model.ShownProgram());
    return ProductParam(id) ? instance->ParamNormalized(static_cast<int>(id)) : 0.0;
}

vst3::tresult Vst3Controller::setParamNormalized(vst3::ParamID id, vst3::ParamValue value)
{
    PluginInstance* instance = model.Instance();
    if (!instance || std::isnan(value))
        return vst3::kInvalidArgument;
    // A program a block chose came before this call: it applies first, so it cannot undo this value.
    model.SelectRequestedProgram();
    if (id == vst3identity::kProgramParamId)
    {
        model.SelectProgramInHostCall(model.ProgramIndexOf(value));
        return vst3::kResultOk;
    }
    const Parameter* param = ProductParam(id);
    if (!param)
        return vst3::kInvalidArgument;
    if (param->Flags() & Parameter::kHidden)
        return vst3::kResultFalse;
    // A host that keeps its own copy of the values pushes that copy back now and then (Ardour, as it
    // reads a value); before it heard of a program or state, that is its old value, no edit.
    if (model.IsHostsStaleCopy(id, value))
        return vst3::kResultOk;
    model.HostHolds(id, value);
    // Hosts echo values back; only a new one is applied, so an echo cannot undo a later change.
    const double plain = param->StoredValue(std::clamp(value, 0.0, 1.0));
    if (plain != instance->ParamValue(static_cast<int>(id)))
        instance->SetParamValue(static_cast<int>(id), plain);
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::setComponentHandler(vst3::IComponentHandler* handler)
{
    model.SetComponentHandler(handler);
    return vst3::kResultOk;
}

vst3::IPlugView* Vst3Controller::createView(vst3::FIDString name)
{
    PluginInstance* instance = model.Instance();
    // One editor at a time.
    if (!instance || !name || std::strcmp(name, vst3::kViewTypeEditor) != 0 || model.EditorOpen())
        return nullptr;
    std::unique_ptr<IEditorLink> editor = instance->CreateEditor();
    if (!editor)
        return nullptr;
    // The view keeps this object, the one it edits, for as long as it lives.
    vst3::IPlugView* view =
        Vst3ViewObject::Create(static_cast<vst3::IEditController&>(*this), model, std::move(editor));
    if (view)
        model.SetEditorOpen(true);
    return view;
}
} // namespace tpm
