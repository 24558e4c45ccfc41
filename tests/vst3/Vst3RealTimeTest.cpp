// Blocks through the VST3 host and bundle allocate nothing: not with parameter points inside them, a
// program change, values the controller was told, nor values coming back from the processor. A
// program of its own: it replaces operator new to count.
#include "support/AllocationCounter.h"
#include "vst3/Vst3TestSupport.h"

namespace tpm
{
TEST(Vst3RealTime, BlocksWithParameterPointsAllocateNothing)
{
    auto plugin = LoadVst3(true);
    ASSERT_TRUE(plugin);
    plugin->Configure(48000.0, kTestBlock);
    ASSERT_TRUE(plugin->Resume());
    std::vector<double> l(kTestBlock, 0.1), r(kTestBlock, -0.1), outL(kTestBlock), outR(kTestBlock);
    double* ins[2] = {l.data(), r.data()};
    double* outs[2] = {outL.data(), outR.data()};
    plugin->Process(ins, outs, kTestBlock); // the first block may set things up
    HostedInstance::MarkRealTimeThread();
    long allocations = 0;
    for (int block = 0; block < 50; ++block)
    {
        // Queued on the main thread (which may allocate), taken in by the block (which may not).
        plugin->SetNormalizedAt(1, (block % 10) / 512.0, 17 + block);
        plugin->SetNormalizedAt(0, (block % 7) / 7.0, 0);
        if (block % 10 == 0)
            plugin->SelectProgram(block / 10);
        AllocationCounter::Reset();
        AllocationCounter::Count(true);
        plugin->Process(ins, outs, kTestBlock);
        plugin->Advance(kTestBlock);
        AllocationCounter::Count(false);
        allocations += AllocationCounter::Counted();
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_NE(outL[kTestBlock - 1], 0.1) << "the blocks were processed, the tone mixed in";
    plugin->Suspend();
}
} // namespace tpm
