// The parameter changes of one block for a VST3 processor, in either direction: one queue per
// parameter, all made up front (a fixed number), so that the audio thread never allocates.
// The host owns it and lends it for a process call; references only count.
#pragma once

#include "tools/hostkit/Vst3ParamValueQueue.h"

#include <array>

namespace tpm
{
class Vst3ParameterChanges final : public vst3::IParameterChanges
{
  public:
    static constexpr int kCapacity = 64; // parameters changed in one block

    Vst3ParameterChanges() = default;
    ~Vst3ParameterChanges() = default;
    Vst3ParameterChanges(const Vst3ParameterChanges&) = delete;
    Vst3ParameterChanges& operator=(const Vst3ParameterChanges&) = delete;

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }

    vst3::int32 getParameterCount() override { return used; }
    vst3::IParamValueQueue* getParameterData(vst3::int32 index) override;
    // The parameter's queue, made on its first change; null when every queue is taken.
    vst3::IParamValueQueue* addParameterData(const vst3::ParamID& id, vst3::int32& index) override;

    // A point for `id` at `offset`; false when there is no room left.
    bool Add(vst3::ParamID id, vst3::int32 offset, vst3::ParamValue value);
    void Clear() { used = 0; }

  private:
    std::array<Vst3ParamValueQueue, kCapacity> queues{};
    vst3::int32 used = 0;
};
} // namespace tpm
