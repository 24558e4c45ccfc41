// The product's way to its host: edit gestures, values and display changes, and the questions about
// the transport, through the IHostLink the binding sets. Messages are never sent under the plug-in
// lock: made inside a request that holds it (or on a thread that takes it to queue), they go out
// after its outermost release, in order; made inside an audio block, they wait in a queue of their
// own for the block's end, when the audio thread sends them (SendBlockMessages).
//
// Threads: any thread may queue; the audio thread queues only inside its block, holding the
// processor, and never takes the lock. The link is set once, before the host's first request.
#pragma once

#include "core/HostMessageQueue.h"
#include "core/IHostLink.h"
#include "core/PluginLock.h"
#include "core/ProcessorOwnership.h"

namespace tpm
{
class HostMessenger final : public PluginLock::IReleaseListener
{
  public:
    HostMessenger(PluginLock& pluginLock, const ProcessorOwnership& blockProcessor)
        : lock(pluginLock), processor(blockProcessor)
    {
    }
    HostMessenger(const HostMessenger&) = delete;
    HostMessenger& operator=(const HostMessenger&) = delete;

    void SetLink(IHostLink* link) { host = link; }

    void BeginEdit(int paramIdx);
    void Automate(int paramIdx, double normalized);
    void EndEdit(int paramIdx);
    void UpdateDisplay();
    // The host's transport, for the audio thread inside a block: what it says of the asked parts
    // (unavailable without a host).
    TransportSnapshot Transport(TransportNeeds needs);
    // The audio thread at the end of its block, still holding the processor.
    void SendBlockMessages();

  private:
    void Queue(HostMessageQueue::Kind kind, int paramIdx, double value = 0.0);
    bool ReleasingLock() override;
    void LockReleased() override;

    PluginLock& lock;
    const ProcessorOwnership& processor;
    IHostLink* host = nullptr;
    // Messages from the host's other threads (queued under the plug-in lock, sent after it), and
    // the audio blocks' own (queued and sent by the audio thread at the end of its block).
    HostMessageQueue messages;
    HostMessageQueue audioMessages;
};
} // namespace tpm
