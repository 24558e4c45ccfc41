// The controller's unit information: one root unit whose program list is the factory bank, the
// list the program-change parameter selects from.
#include "formats/vst3/Vst3Controller.h"

#include "formats/vst3/Vst3Identity.h"
#include "formats/vst3/Vst3Text.h"

namespace tpm
{
namespace
{
constexpr int kTextSize = 128;
} // namespace

vst3::int32 Vst3Controller::getUnitCount()
{
    return 1;
}

vst3::tresult Vst3Controller::getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info)
{
    if (unitIndex != 0)
        return vst3::kInvalidArgument;
    info = vst3::UnitInfo{};
    info.id = vst3::kRootUnitId;
    info.parentUnitId = vst3::kNoParentUnitId;
    vst3text::ToUtf16("Root", info.name, kTextSize);
    info.programListId = vst3identity::kProgramListId;
    return vst3::kResultOk;
}

vst3::int32 Vst3Controller::getProgramListCount()
{
    return 1;
}

vst3::tresult Vst3Controller::getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info)
{
    if (listIndex != 0)
        return vst3::kInvalidArgument;
    info = vst3::ProgramListInfo{};
    info.id = vst3identity::kProgramListId;
    vst3text::ToUtf16(vst3identity::kProgramListName, info.name, kTextSize);
    info.programCount = model.ProgramListSize();
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                             vst3::String128 name)
{
    const PluginInstance* instance = model.Instance();
    if (!instance || !name || listId != vst3identity::kProgramListId || programIndex < 0 ||
        programIndex >= model.ProgramListSize())
        return vst3::kInvalidArgument;
    vst3text::ToUtf16(instance->Programs().NameUtf8(programIndex).c_str(), name, kTextSize);
    return vst3::kResultOk;
}

vst3::tresult Vst3Controller::getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                             vst3::CString attributeId, vst3::String128 attributeValue)
{
    (void)listId;
    (void)programIndex;
    (void)attributeId;
    (void)attributeValue;
    return vst3::kResultFalse; // programs carry no attributes beyond their names
}

vst3::tresult Vst3Controller::hasProgramPitchNames(vst3::ProgramListID listId, vst3::int32 programIndex)
{
    (void)listId;
    (void)programIndex;
    return vst3::kResultFalse;
}

vst3::tresult Vst3Controller::getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                                  vst3::int16 midiPitch, vst3::String128 name)
{
    (void)listId;
    (void)programIndex;
    (void)midiPitch;
    (void)name;
    return vst3::kResultFalse;
}

vst3::UnitID Vst3Controller::getSelectedUnit()
{
    return vst3::kRootUnitId;
}

vst3::tresult Vst3Controller::selectUnit(vst3::UnitID unitId)
{
    return unitId == vst3::kRootUnitId ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult Vst3Controller::getUnitByBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 busIndex,
                                           vst3::int32 channel, vst3::UnitID& unitId)
{
    (void)type;
    (void)dir;
    (void)busIndex;
    (void)channel;
    (void)unitId;
    return vst3::kResultFalse; // no event buses to relate
}

vst3::tresult Vst3Controller::setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                                 vst3::IBStream* data)
{
    (void)listOrUnitId;
    (void)programIndex;
    (void)data;
    return vst3::kNotImplemented;
}
} // namespace tpm
