// The edit controller side of the plug-in object: parameters with their texts, the factory program
// list behind the program-change parameter, the host's component handler, and the editor view. It
// shares the plug-in object's identity and reference count (queryInterface, addRef and release go to
// the owner), and reads and writes the product's own parameters, so there is no second copy to keep
// in step.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <atomic>
#include <cstdint>
#include <vector>

class Vst3Plugin;
class IParameter;
class Vst3View;

class Vst3Controller final : public vst3::IEditController, public vst3::IUnitInfo
{
  public:
    explicit Vst3Controller(Vst3Plugin& owner) : owner(owner) {}
    ~Vst3Controller();
    Vst3Controller(const Vst3Controller&) = delete;
    Vst3Controller& operator=(const Vst3Controller&) = delete;

    // FUnknown: the owner's
    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override;
    vst3::uint32 release() override;

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

    // Main thread: the programs in the list, counted once the instance exists.
    int ProgramListSize() const { return programCount; }
    void CountPrograms();
    // Main thread: selects program index unless it is the current one; the host hears the new values.
    void SelectProgram(int index);
    // The same from inside a call of the host's: what the product queues for the host meanwhile waits
    // for the main thread's next turn.
    void SelectProgramInHostCall(int index);
    // Main thread: hands the host what the product queued for it (edit gestures, values, display).
    void DrainHostEvents();
    // Main thread: every value may have changed (a program, a state). The host is never called back
    // from here, inside its own call, where it may hold locks of its own: the next block reports the
    // values as output changes, and the main thread's next turn asks the host to re-read them.
    void ValuesChanged();
    // Any thread: counts the calls of ValuesChanged, for the processor to report each once.
    uint32_t ValueChanges() const { return valueChanges.load(std::memory_order_acquire); }
    // Any thread: the current program, and how many times the host's choice selected one.
    int SelectedProgram() const { return selectedProgram.load(std::memory_order_acquire); }
    uint32_t ProgramSelections() const { return programSelections.load(std::memory_order_acquire); }
    // Any thread: the host has been told of the values as they are after ValuesChanged call number
    // changes; true when it had not been told of them before.
    bool HostTold(uint32_t changes) { return valueChangesTold.exchange(changes) != changes; }
    // Any thread: the host now holds this value of the parameter (it set it, or was told it).
    void HostHolds(vst3::ParamID id, double normalized);
    void ViewClosed(const Vst3View* view);
    void Terminate();

    // The program a normalised value of the program parameter names.
    int ProgramIndexOf(double normalized) const;
    // The program the program parameter shows: the current one when it is in the list, else the one it
    // showed last. A state saved on a slot beyond the list (an empty slot) leaves the parameter where
    // it was, rather than show a program that is not loaded; the host's copy of that value, sent back,
    // is then no choice of a program.
    int ShownProgram() const;

  private:
    const IParameter* ProductParam(vst3::ParamID id) const;

    Vst3Plugin& owner;
    vst3::IComponentHandler* handler = nullptr; // one reference held
    Vst3View* view = nullptr;                   // not owned: the view holds the owner
    int programCount = 0;
    bool initialized = false;
    bool draining = false;
    // Values the host is to re-read at the main thread's next turn.
    std::atomic<bool> valuesChangedPending{false};
    std::atomic<uint32_t> valueChanges{0};
    std::atomic<uint32_t> valueChangesTold{0};
    // The value the host last set or was told of for each parameter: until it hears of a program or
    // state, a host that keeps its own copy may send that value back, which is then no edit.
    std::vector<std::atomic<double>> hostValues;
    std::atomic<int> selectedProgram{0};
    mutable std::atomic<int> shownProgram{0};
    std::atomic<uint32_t> programSelections{0};
};
