// The event lists a CLAP host hands a plug-in: parameter values queued by the main thread go in at
// the next process call (or params.flush), and what the plug-in sends back (gestures and values) is
// kept in a fixed ring for the main thread to report. The audio thread never waits or allocates
// here: it takes the queue only when the lock is free, and a full ring drops the newest events.
#pragma once

#include "formats/clap/ClapAbi.h"
#include "tools/hostkit/SentRing.h"

#include <cstddef>
#include <mutex>
#include <vector>

namespace tpm
{
class ClapEventBuffer
{
  public:
    // An event the plug-in sent: a gesture begin or end, or a value in the plug-in's units.
    struct Sent
    {
        uint16_t type = 0;
        clap_id param = kClapInvalidId;
        double value = 0.0;
    };

    ClapEventBuffer();
    ClapEventBuffer(const ClapEventBuffer&) = delete;
    ClapEventBuffer& operator=(const ClapEventBuffer&) = delete;

    // Any thread but the audio one: a value for the next call, at `offset` frames into its block.
    void Queue(clap_id param, void* cookie, double value, uint32_t offset);
    bool HasQueued();
    // Before a call: moves what is queued into the input list (left for later when the lock is busy).
    void TakeQueued();
    // After a call: the input list is spent.
    void ClearInput() { input.clear(); }

    const clap_input_events_t* Input() const { return &inputList; }
    const clap_output_events_t* Output() const { return &outputList; }

    // The main thread: the oldest event the plug-in sent, false when there is none.
    bool NextSent(Sent& sent);

  private:
    static constexpr std::size_t kCapacity = 1024;
    static uint32_t Size(const clap_input_events_t* list);
    static const clap_event_header_t* Get(const clap_input_events_t* list, uint32_t index);
    static bool TryPush(const clap_output_events_t* list, const clap_event_header_t* event);

    std::mutex queueMutex;
    std::vector<clap_event_param_value_t> queued;
    std::vector<clap_event_param_value_t> input;
    clap_input_events_t inputList{};
    clap_output_events_t outputList{};
    SentRing<Sent, kCapacity> sentRing;
};
} // namespace tpm
