// What the VST3 faces of one plug-in (component, controller, view) share: the product instance, the
// factory program list behind the program-change parameter, what the host has been told of the
// values, and the host's component handler. The faces call into it; it calls none of them, so the
// order of their calls is the host's alone.
//
// Threads: the main thread is the one that made the instance; blocks run on any other. The program
// and value bookkeeping read by blocks is atomic; everything that calls the host runs on the main
// thread, outside blocks and outside the host's own calls into this plug-in.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "formats/vst3/Vst3ChangeReader.h"
#include "plugin/PluginInstance.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <thread>
#include <vector>

namespace tpm
{
class Vst3Model final : private PluginInstance::IEventListener
{
  public:
    Vst3Model() : mainThread(std::this_thread::get_id()) {}
    ~Vst3Model();
    Vst3Model(const Vst3Model&) = delete;
    Vst3Model& operator=(const Vst3Model&) = delete;

    // While a block runs on this thread: the host is then not called, and the block tells whether it
    // took output changes.
    class BlockScope
    {
      public:
        BlockScope(Vst3Model& model, bool takesOutput);
        ~BlockScope();
        BlockScope(const BlockScope&) = delete;
        BlockScope& operator=(const BlockScope&) = delete;
    };

    // Makes the product instance on the first initialize of either face, on the thread the host
    // calls for everything but audio; false when it cannot be made.
    bool EnsureInstance();
    // Null until the first initialize.
    PluginInstance* Instance() const { return instance.get(); }

    // Main thread: blocks may come from now on, or no longer.
    void StartProcessing();
    void StopProcessing();

    // The state as the product saves it; false when there is none yet.
    bool SaveState(std::vector<uint8_t>& out);
    // The component's state from the host: it replaces a program a block chose before it.
    bool LoadComponentState(std::span<const uint8_t> bytes);

    // The programs in the list, counted once the instance exists.
    int ProgramListSize() const { return programCount; }
    // The program a normalised value of the program parameter names.
    int ProgramIndexOf(double normalized) const;
    // The program the program parameter shows: the current one when it is in the list, else the one it
    // showed last. A state saved on a slot beyond the list (an empty slot) leaves the parameter where
    // it was, rather than show a program that is not loaded; the host's copy of that value, sent back,
    // is then no choice of a program.
    int ShownProgram() const;
    // Main thread, inside a call of the host's: selects program index unless it is the current one;
    // what the product queues for the host meanwhile waits for the main thread's next turn.
    void SelectProgramInHostCall(int index);
    // Main thread: selects the program a block asked for, if any. Calls nothing of the host's, so any
    // call the host makes on the main thread may take the turn: without an editor there is no other.
    void SelectRequestedProgram();
    // The main thread's turn (the view's timer): a program a block asked for, and what other threads
    // queued for the host.
    void MainThreadTick();

    // Main thread: every value may have changed (a program, a state). The host is never called back
    // from here, inside its own call, where it may hold locks of its own: the next block reports the
    // values as output changes, and the main thread's next turn asks the host to re-read them.
    void ValuesChanged();
    // Main thread: a value the host sets that is only its own copy of the value before a program or
    // state it has not yet heard of (hosts that keep one push it back now and then): no edit.
    bool IsHostsStaleCopy(vst3::ParamID id, double normalized) const;
    // Any thread: the host now holds this value of the parameter (it set it, or was told it).
    void HostHolds(vst3::ParamID id, double normalized);

    // Audio thread: the block's changes that still apply once its program point is taken. A program
    // chosen in the block alone waits for the main thread.
    std::span<const ParamChange> TakeProgram(std::span<const ParamChange> changes,
                                             const Vst3ChangeReader::ProgramPoint& program);
    // Audio thread: every value as an output change, once after each time they changed together.
    void ReportValues(vst3::IParameterChanges* out);

    // Main thread: the handler the host edits through; one reference held.
    void SetComponentHandler(vst3::IComponentHandler* handler);
    // Main thread: whether the editor's view is open (one at a time).
    bool EditorOpen() const { return editorOpen; }
    void SetEditorOpen(bool open) { editorOpen = open; }

  private:
    bool OnMainThread() const { return std::this_thread::get_id() == mainThread; }
    static bool InsideBlock();
    // Any thread: blocks are running and the last one took output changes, so the next one tells the
    // host of values that changed.
    bool BlocksReportValues() const
    {
        return processing.load() && lastBlockTookOutput.load(std::memory_order_acquire);
    }
    void CountPrograms();
    void SelectProgram(int index);
    // The host has been told of the values as they are after ValuesChanged call number changes; true
    // when it had not been told of them before.
    bool HostTold(uint32_t changes) { return valueChangesTold.exchange(changes) != changes; }
    // Main thread: hands the host what the product queued for it (edit gestures, values, display).
    void DrainHostEvents();
    void HostEventsPending() override;

    std::thread::id mainThread;
    std::unique_ptr<PluginInstance> instance;
    vst3::IComponentHandler* handler = nullptr; // one reference held
    bool editorOpen = false;
    int programCount = 0;
    bool draining = false;
    std::atomic<bool> processing{false};
    // Whether the last block came with a list for output changes.
    std::atomic<bool> lastBlockTookOutput{false};
    // Values the host is to re-read at the main thread's next turn.
    std::atomic<bool> valuesChangedPending{false};
    std::atomic<uint32_t> valueChanges{0};
    std::atomic<uint32_t> valueChangesTold{0};
    // The value the host last set or was told of for each parameter: until it hears of a program or
    // state, a host that keeps its own copy may send that value back, which is then no edit.
    std::vector<std::atomic<double>> hostValues;
    // The current program, and how many times the host's choice selected one.
    std::atomic<int> selectedProgram{0};
    mutable std::atomic<int> shownProgram{0};
    std::atomic<uint32_t> programSelections{0};
    // A program the host chose through the program parameter inside a block, for the main thread.
    std::atomic<int> requestedProgram{-1};
    // The count of program selections as the processor last took it (blocks and calls without audio
    // may come from different threads).
    std::atomic<uint32_t> programSelectionsTaken{0};
};
} // namespace tpm
