#include "formats/vst3/Vst3ChangeReader.h"

#include "formats/vst3/Vst3Identity.h"
#include "plugin/PluginInstance.h"

#include <algorithm>
#include <cmath>

namespace tpm
{
std::span<const ParamChange> Vst3ChangeReader::Read(vst3::IParameterChanges* changes,
                                                    const PluginInstance& instance, int frames,
                                                    ProgramPoint& program)
{
    count = 0;
    const vst3::int32 queues = changes ? changes->getParameterCount() : 0;
    if (queues <= 0)
        return {};
    // Each queue's share when the block has more points than fit.
    int total = 0;
    for (vst3::int32 q = 0; q < queues; ++q)
        if (vst3::IParamValueQueue* queue = changes->getParameterData(q))
            total += std::max(queue->getPointCount(), 0);
    const int share = total > kCapacity ? std::max(kCapacity / static_cast<int>(queues), 1) : kCapacity;

    for (vst3::int32 q = 0; q < queues; ++q)
    {
        vst3::IParamValueQueue* queue = changes->getParameterData(q);
        if (!queue)
            continue;
        const vst3::int32 pointCount = queue->getPointCount();
        if (pointCount <= 0)
            continue;
        const vst3::ParamID id = queue->getParameterId();
        if (id == vst3identity::kProgramParamId)
        {
            vst3::int32 offset = 0;
            double value = 0.0;
            if (queue->getPoint(pointCount - 1, offset, value) == vst3::kResultOk && !std::isnan(value))
                program = {true, value, std::clamp(offset, 0, frames)};
            continue;
        }
        const int taken = std::min(pointCount, share);
        for (int k = 0; k < taken && count < kCapacity; ++k)
        {
            // Evenly spread over the queue, first and last included.
            const int index =
                taken == pointCount ? k : (taken == 1 ? pointCount - 1 : k * (pointCount - 1) / (taken - 1));
            Add(instance, *queue, index, frames);
        }
    }
    std::sort(points.begin(), points.begin() + count, [](const Point& a, const Point& b) {
        return a.change.offset != b.change.offset ? a.change.offset < b.change.offset : a.order < b.order;
    });
    for (int i = 0; i < count; ++i)
        sorted[static_cast<std::size_t>(i)] = points[static_cast<std::size_t>(i)].change;
    return std::span<const ParamChange>(sorted.data(), static_cast<std::size_t>(count));
}

void Vst3ChangeReader::Add(const PluginInstance& instance, vst3::IParamValueQueue& queue, int index,
                           int frames)
{
    const vst3::ParamID id = queue.getParameterId();
    if (id >= static_cast<vst3::ParamID>(instance.ParamCount()))
        return;
    const auto paramIdx = static_cast<int>(id);
    const Parameter* param = instance.Param(paramIdx);
    // Hidden parameters are the product's own business.
    if (!param || (param->Flags() & Parameter::kHidden))
        return;
    vst3::int32 offset = 0;
    double value = 0.0;
    if (queue.getPoint(index, offset, value) != vst3::kResultOk || std::isnan(value))
        return;
    const double normalized = std::clamp(value, 0.0, 1.0);
    points[static_cast<std::size_t>(count)] = {
        {std::clamp(offset, 0, frames), paramIdx, param->StoredValue(normalized)}, count};
    ++count;
}
} // namespace tpm
