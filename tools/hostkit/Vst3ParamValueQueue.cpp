#include "tools/hostkit/Vst3ParamValueQueue.h"

namespace tpm
{
vst3::tresult Vst3ParamValueQueue::queryInterface(const vst3::TUID iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    if (vst3::SameUid(iid, vst3::FUnknown::iid) || vst3::SameUid(iid, vst3::IParamValueQueue::iid))
    {
        *obj = static_cast<vst3::IParamValueQueue*>(this);
        return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
}

vst3::tresult Vst3ParamValueQueue::getPoint(vst3::int32 index, vst3::int32& sampleOffset,
                                            vst3::ParamValue& value)
{
    if (index < 0 || index >= count)
        return vst3::kInvalidArgument;
    sampleOffset = points[static_cast<std::size_t>(index)].offset;
    value = points[static_cast<std::size_t>(index)].value;
    return vst3::kResultOk;
}

vst3::tresult Vst3ParamValueQueue::addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                                            vst3::int32& index)
{
    if (sampleOffset < 0)
        return vst3::kInvalidArgument;
    vst3::int32 at = count;
    while (at > 0 && points[static_cast<std::size_t>(at - 1)].offset > sampleOffset)
        --at;
    if (at > 0 && points[static_cast<std::size_t>(at - 1)].offset == sampleOffset)
    {
        points[static_cast<std::size_t>(at - 1)].value = value;
        index = at - 1;
        return vst3::kResultOk;
    }
    if (count >= kCapacity)
        return vst3::kResultFalse;
    for (vst3::int32 i = count; i > at; --i)
        points[static_cast<std::size_t>(i)] = points[static_cast<std::size_t>(i - 1)];
    points[static_cast<std::size_t>(at)] = Point{sampleOffset, value};
    ++count;
    index = at;
    return vst3::kResultOk;
}
} // namespace tpm
