// One parameter's changes within a block, as the host hands them to a VST3 processor (and takes
// them back from it): points in order of their sample offset, in room reserved up front, so that the
// audio thread never allocates. Owned by Vst3ParameterChanges; references only count.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <array>

namespace tpm
{
class Vst3ParamValueQueue final : public vst3::IParamValueQueue
{
  public:
    static constexpr int kCapacity = 64;

    Vst3ParamValueQueue() = default;
    ~Vst3ParamValueQueue() = default;
    Vst3ParamValueQueue(const Vst3ParamValueQueue&) = delete;
    Vst3ParamValueQueue& operator=(const Vst3ParamValueQueue&) = delete;

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }

    vst3::ParamID getParameterId() override { return id; }
    vst3::int32 getPointCount() override { return count; }
    vst3::tresult getPoint(vst3::int32 index, vst3::int32& sampleOffset, vst3::ParamValue& value) override;
    // Keeps the points in offset order; a second point at the same offset replaces the first.
    vst3::tresult addPoint(vst3::int32 sampleOffset, vst3::ParamValue value, vst3::int32& index) override;

    // Empties the queue and gives it to another parameter.
    void Reset(vst3::ParamID parameter)
    {
        id = parameter;
        count = 0;
    }

  private:
    struct Point
    {
        vst3::int32 offset;
        vst3::ParamValue value;
    };
    vst3::ParamID id = vst3::kNoParamId;
    vst3::int32 count = 0;
    std::array<Point, kCapacity> points{};
};
} // namespace tpm
