#include "tools/hostkit/Vst3ParameterChanges.h"

namespace tpm
{
vst3::tresult Vst3ParameterChanges::queryInterface(const vst3::TUID iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    if (vst3::SameUid(iid, vst3::FUnknown::iid) || vst3::SameUid(iid, vst3::IParameterChanges::iid))
    {
        *obj = static_cast<vst3::IParameterChanges*>(this);
        return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
}

vst3::IParamValueQueue* Vst3ParameterChanges::getParameterData(vst3::int32 index)
{
    return index >= 0 && index < used ? &queues[static_cast<std::size_t>(index)] : nullptr;
}

vst3::IParamValueQueue* Vst3ParameterChanges::addParameterData(const vst3::ParamID& id, vst3::int32& index)
{
    for (vst3::int32 i = 0; i < used; ++i)
        if (queues[static_cast<std::size_t>(i)].getParameterId() == id)
        {
            index = i;
            return &queues[static_cast<std::size_t>(i)];
        }
    if (used >= kCapacity)
        return nullptr;
    index = used;
    queues[static_cast<std::size_t>(used)].Reset(id);
    return &queues[static_cast<std::size_t>(used++)];
}

bool Vst3ParameterChanges::Add(vst3::ParamID id, vst3::int32 offset, vst3::ParamValue value)
{
    vst3::int32 index = 0;
    vst3::IParamValueQueue* queue = addParameterData(id, index);
    vst3::int32 point = 0;
    return queue && queue->addPoint(offset, value, point) == vst3::kResultOk;
}
} // namespace tpm
