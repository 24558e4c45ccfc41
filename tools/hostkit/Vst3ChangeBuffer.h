// The parameter changes a VST3 host passes its processor: values set on the main thread (by the
// command line or by the editor through performEdit) go in at the next process call, and what the
// processor sends back is kept in a fixed ring for the main thread to report. The audio thread never
// waits or allocates here: it takes the queue only when the lock is free, and a full ring drops the
// newest changes.
#pragma once

#include "tools/hostkit/SentRing.h"
#include "tools/hostkit/Vst3ParameterChanges.h"

#include <cstddef>
#include <mutex>
#include <vector>

namespace tpm
{
class Vst3ChangeBuffer
{
  public:
    // A value the processor sent back.
    struct Sent
    {
        vst3::ParamID param = vst3::kNoParamId;
        vst3::ParamValue value = 0.0;
    };

    Vst3ChangeBuffer();
    Vst3ChangeBuffer(const Vst3ChangeBuffer&) = delete;
    Vst3ChangeBuffer& operator=(const Vst3ChangeBuffer&) = delete;

    // Any thread but the audio one: a normalised value for the next call, `offset` frames into its
    // block. A later value for the same parameter and frame replaces an earlier one still waiting.
    void Queue(vst3::ParamID param, vst3::ParamValue value, vst3::int32 offset);
    bool HasQueued();
    // Forgets what waits (a loaded state replaces it).
    void DropQueued();
    // Before a call: moves what is queued into the input changes (left for later when the lock is busy,
    // or when a change falls beyond `frames`).
    void TakeQueued(vst3::int32 frames);
    // After a call: the input is spent, the output goes to the ring.
    void AfterProcess();

    vst3::IParameterChanges* Input() { return &input; }
    vst3::IParameterChanges* Output() { return &output; }

    // The main thread: the oldest change the processor sent, false when there is none.
    bool NextSent(Sent& sent);

  private:
    static constexpr std::size_t kCapacity = 1024;
    struct Change
    {
        vst3::ParamID param;
        vst3::ParamValue value;
        vst3::int32 offset;
    };

    std::mutex queueMutex;
    std::vector<Change> queued;
    Vst3ParameterChanges input;
    Vst3ParameterChanges output;
    SentRing<Sent, kCapacity> sentRing;
};
} // namespace tpm
