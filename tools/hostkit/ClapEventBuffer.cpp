#include "tools/hostkit/ClapEventBuffer.h"

#include <algorithm>

namespace tpm
{
ClapEventBuffer::ClapEventBuffer()
{
    queued.reserve(kCapacity);
    input.reserve(kCapacity);
    inputList.ctx = this;
    inputList.size = &ClapEventBuffer::Size;
    inputList.get = &ClapEventBuffer::Get;
    outputList.ctx = this;
    outputList.try_push = &ClapEventBuffer::TryPush;
}

void ClapEventBuffer::Queue(clap_id param, void* cookie, double value, uint32_t offset)
{
    clap_event_param_value_t event{};
    event.header.size = sizeof event;
    event.header.time = offset;
    event.header.space_id = kClapCoreEventSpaceId;
    event.header.type = kClapEventParamValue;
    event.param_id = param;
    event.cookie = cookie;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    std::lock_guard<std::mutex> guard(queueMutex);
    queued.push_back(event);
}

bool ClapEventBuffer::HasQueued()
{
    std::lock_guard<std::mutex> guard(queueMutex);
    return !queued.empty();
}

void ClapEventBuffer::TakeQueued()
{
    std::unique_lock<std::mutex> lock(queueMutex, std::try_to_lock);
    if (!lock.owns_lock())
        return;
    const std::size_t room = input.capacity() - input.size();
    const std::size_t n = std::min(room, queued.size());
    input.insert(input.end(), queued.begin(), queued.begin() + static_cast<std::ptrdiff_t>(n));
    queued.erase(queued.begin(), queued.begin() + static_cast<std::ptrdiff_t>(n));
    // The plug-in reads them in time order; equal times keep the order they were set in.
    std::stable_sort(input.begin(), input.end(),
                     [](const auto& a, const auto& b) { return a.header.time < b.header.time; });
}

bool ClapEventBuffer::NextSent(Sent& sent)
{
    return sentRing.Pop(sent);
}

uint32_t ClapEventBuffer::Size(const clap_input_events_t* list)
{
    return static_cast<uint32_t>(static_cast<ClapEventBuffer*>(list->ctx)->input.size());
}

const clap_event_header_t* ClapEventBuffer::Get(const clap_input_events_t* list, uint32_t index)
{
    const auto& events = static_cast<ClapEventBuffer*>(list->ctx)->input;
    return index < events.size() ? &events[index].header : nullptr;
}

bool ClapEventBuffer::TryPush(const clap_output_events_t* list, const clap_event_header_t* event)
{
    auto* self = static_cast<ClapEventBuffer*>(list->ctx);
    if (!event || event->space_id != kClapCoreEventSpaceId)
        return true; // not ours to report; taken and dropped
    Sent sent;
    sent.type = event->type;
    if ((event->type == kClapEventParamGestureBegin || event->type == kClapEventParamGestureEnd) &&
        event->size >= sizeof(clap_event_param_gesture_t))
        sent.param = reinterpret_cast<const clap_event_param_gesture_t*>(event)->param_id;
    else if (event->type == kClapEventParamValue && event->size >= sizeof(clap_event_param_value_t))
    {
        const auto* value = reinterpret_cast<const clap_event_param_value_t*>(event);
        sent.param = value->param_id;
        sent.value = value->value;
    }
    else
        return true;
    return self->sentRing.Push(sent);
}
} // namespace tpm
