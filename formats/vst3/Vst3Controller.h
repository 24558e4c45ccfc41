// The edit controller face of the plug-in object: parameters with their texts, the factory program
// list behind the program-change parameter, the host's component handler, and the editor view. It
// works on the shared Vst3Model, reading and writing the product's own parameters, so there is no
// second copy to keep in step, and knows nothing of the other faces.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "formats/vst3/Vst3Model.h"

namespace tpm
{
class Vst3Controller : public vst3::IEditController, public vst3::IUnitInfo
{
  public:
    Vst3Controller(const Vst3Controller&) = delete;
    Vst3Controller& operator=(const Vst3Controller&) = delete;

    // IPluginBase through IEditController
    vst3::tresult initialize(vst3::FUnknown* context) override;
    vst3::tresult terminate() override;

    // IEditController
    vst3::tresult setComponentState(vst3::IBStream* state) override;
    vst3::tresult setState(vst3::IBStream* state) override;
    vst3::tresult getState(vst3::IBStream* state) override;
    vst3::int32 getParameterCount() override;
    vst3::tresult getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) override;
    vst3::tresult getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                        vst3::String128 string) override;
    vst3::tresult getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                        vst3::ParamValue& valueNormalized) override;
    vst3::ParamValue normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
    vst3::ParamValue plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) override;
    vst3::ParamValue getParamNormalized(vst3::ParamID id) override;
    vst3::tresult setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
    vst3::tresult setComponentHandler(vst3::IComponentHandler* handler) override;
    vst3::IPlugView* createView(vst3::FIDString name) override;

    // IUnitInfo: one root unit with the factory program list.
    vst3::int32 getUnitCount() override;
    vst3::tresult getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) override;
    vst3::int32 getProgramListCount() override;
    vst3::tresult getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info) override;
    vst3::tresult getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                 vst3::String128 name) override;
    vst3::tresult getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                 vst3::CString attributeId, vst3::String128 attributeValue) override;
    vst3::tresult hasProgramPitchNames(vst3::ProgramListID listId, vst3::int32 programIndex) override;
    vst3::tresult getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                      vst3::int16 midiPitch, vst3::String128 name) override;
    vst3::UnitID getSelectedUnit() override;
    vst3::tresult selectUnit(vst3::UnitID unitId) override;
    vst3::tresult getUnitByBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 busIndex,
                               vst3::int32 channel, vst3::UnitID& unitId) override;
    vst3::tresult setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                     vst3::IBStream* data) override;

  protected:
    explicit Vst3Controller(Vst3Model& model) : model(model) {}
    ~Vst3Controller() = default;

  private:
    const Parameter* ProductParam(vst3::ParamID id) const;

    Vst3Model& model;
    bool initialized = false;
};
} // namespace tpm
