#include "tools/hostkit/Vst3ChangeBuffer.h"

namespace tpm
{
Vst3ChangeBuffer::Vst3ChangeBuffer()
{
    queued.reserve(kCapacity);
}

void Vst3ChangeBuffer::Queue(vst3::ParamID param, vst3::ParamValue value, vst3::int32 offset)
{
    std::lock_guard<std::mutex> guard(queueMutex);
    for (Change& change : queued)
        if (change.param == param && change.offset == offset)
        {
            change.value = value;
            return;
        }
    queued.push_back(Change{param, value, offset});
}

bool Vst3ChangeBuffer::HasQueued()
{
    std::lock_guard<std::mutex> guard(queueMutex);
    return !queued.empty();
}

void Vst3ChangeBuffer::DropQueued()
{
    std::lock_guard<std::mutex> guard(queueMutex);
    queued.clear();
}

void Vst3ChangeBuffer::TakeQueued(vst3::int32 frames)
{
    std::unique_lock<std::mutex> lock(queueMutex, std::try_to_lock);
    if (!lock.owns_lock())
        return;
    std::size_t kept = 0;
    for (const Change& change : queued)
    {
        // A change beyond this block, or one the lists have no room for, waits for the next block.
        const bool inBlock = change.offset < frames || (frames == 0 && change.offset == 0);
        if (!inBlock || !input.Add(change.param, change.offset, change.value))
        {
            Change later = change;
            later.offset = inBlock ? 0 : change.offset - frames;
            queued[kept++] = later;
        }
    }
    queued.resize(kept);
}

void Vst3ChangeBuffer::AfterProcess()
{
    input.Clear();
    for (vst3::int32 q = 0; q < output.getParameterCount(); ++q)
    {
        vst3::IParamValueQueue* queue = output.getParameterData(q);
        for (vst3::int32 p = 0; queue && p < queue->getPointCount(); ++p)
        {
            Sent sent;
            vst3::int32 offset = 0;
            sent.param = queue->getParameterId();
            if (queue->getPoint(p, offset, sent.value) != vst3::kResultOk)
                continue;
            if (!sentRing.Push(sent))
                break;
        }
    }
    output.Clear();
}

bool Vst3ChangeBuffer::NextSent(Sent& sent)
{
    return sentRing.Pop(sent);
}
} // namespace tpm
