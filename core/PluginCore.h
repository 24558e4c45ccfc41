// The core of one plug-in instance, free of any plug-in format: identity, parameters (ParameterSet),
// program slots and state chunks (ProgramBank), the host's buffers (BlockProcessor), the plug-in lock, and
// the messages to the host (its HostMessenger, sending through IHostLink once the lock is released). A format
// binding owns an instance and turns the host's requests into the operations below; the plug-in derives from
// it.
//
// Threads. The audio thread runs the process calls and nothing else here waits for it or makes it
// wait: it takes no lock, and holds the processor (ProcessorOwnership) for each block. Parameter
// values are atomics any thread may read and write; a change to what the processor does (a
// parameter's handler, a reset) is marked in PendingChanges by the thread that makes it and applied,
// coalesced, by the processor's holder: the next block, or at once on the changing thread (or at the
// editor's next tick) while no block is running, the plug-in switched off or the host not calling.
// Everything else (programs, chunks, the editor's gestures, identity) belongs to the host's other
// threads, which keep it consistent under the plug-in lock.
#pragma once

#include "core/BlockProcessor.h"
#include "core/ByteBuffer.h"
#include "core/FixedText.h"
#include "core/HostMessenger.h"
#include "core/IHostLink.h"
#include "core/Parameter.h"
#include "core/ParameterSet.h"
#include "core/PendingChanges.h"
#include "core/PluginLock.h"
#include "core/ProcessorOwnership.h"
#include "core/ProgramBank.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace tpm
{
// The shape handed to the base construction: how many parameters, channels on either side and
// program slots.
struct EffectIdentity
{
    int32_t paramCount = 0;
    int32_t inputs = 0;
    int32_t outputs = 0;
    int32_t presetCount = 0;
};

class PluginCore : private BlockProcessor::IRenderer, private ParameterSet::IChangeHandler
{
  public:
    using Name = FixedText<128>;

    explicit PluginCore(const EffectIdentity& identity);
    virtual ~PluginCore();
    PluginCore(const PluginCore&) = delete;
    PluginCore& operator=(const PluginCore&) = delete;

    // Overridden by the plug-in. ResetEngine and HandleParamChange may be called on any thread; the
    // plug-in marks their work in `pending` unless the caller holds the processor. ApplyQueuedChanges
    // runs on the thread that holds it.
    virtual void ResetEngine() {}
    virtual void HandleParamChange(int paramIdx) { (void)paramIdx; }
    virtual void ApplyQueuedChanges() {}
    void ProcessBlock(double** inputs, double** outputs, int nFrames) override;
    virtual void OnActivate(bool active);

    // Messages to the host, and its transport (see HostMessenger for when they go out).
    HostMessenger& Host() { return messenger; }

    // Requests from the host, each taking the plug-in lock for as long as it must.
    void Open();
    void SetSampleRate(double rate);
    void SetHostBlockSize(int frames);
    void SetActive(bool active);
    // For formats that say when blocks may come (between start and stop of processing): outside,
    // changes apply at once on the thread that makes them.
    void SetAudioRunning(bool running);
    void ProcessReplacing(float** inputs, float** outputs, int frames);
    void ProcessDoubleReplacing(double** inputs, double** outputs, int frames);

    // The parameters (each value set runs HandleParamChange), and the program slots with the
    // state chunks.
    ParameterSet& Params() { return params; }
    const ParameterSet& Params() const { return params; }
    ProgramBank& Programs() { return programs; }
    const ProgramBank& Programs() const { return programs; }

    // Applies the waiting changes on this thread if no block can come to apply them soon: switched
    // off (waits for a block in progress), or blocks have stopped coming (ApplyIfBlocksStopped). Any
    // thread outside the audio thread's blocks.
    void ApplyWhenIdle();
    // For the host's other threads at their ticks: applies the waiting changes if blocks have
    // stopped coming, taking the processor only if it is free, so the audio thread never waits for it.
    void ApplyIfBlocksStopped();

    PluginLock& Lock() { return lock; }
    double SampleRate() const { return sampleRate.load(std::memory_order_relaxed); }
    // Any thread may ask; it changes only while the processor is held.
    int BlockSize() const { return blocks.BlockSize(); }

  protected:
    // The lock tells the messenger of its releases; both are made before any request comes.
    PluginLock lock{&messenger};
    ProcessorOwnership processor;
    PendingChanges pending;
    std::atomic<double> sampleRate{44100.0};

  private:
    void ParameterChanged(int paramIdx) override { HandleParamChange(paramIdx); }
    class AudioBlockScope;

    HostMessenger messenger{lock, processor};
    // Between switching on and off: blocks may come at any time to apply queued changes.
    std::atomic<bool> audioRunning{false};
    // When the last block began (steady clock, ns; 0: none yet) and its length in frames: blocks that
    // stay away for several of their own lengths have stopped coming.
    std::atomic<int64_t> lastBlockStart{0};
    std::atomic<int32_t> lastBlockFrames{0};
    bool BlocksStopped() const;
    void ApplyIfProcessorFree();
    static int64_t SteadyNanoseconds();

    ParameterSet params;
    ProgramBank programs;
    BlockProcessor blocks;
};
} // namespace tpm
