// Runs one block after a number of changes made between blocks, so that callgrind can count what
// that block costs (block-cost.sh). The block before the changes is long (8 s at 8 kHz), so that
// the changes wait for the measured block, as from a host whose blocks keep coming.
//   block_cost_count CHANGES
#include "support/LinkedPlugin.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tpm
{
namespace
{
constexpr int kLongBlock = 1 << 16;
constexpr int kMeasuredBlock = 64;

void Process(AEffect* e, int frames)
{
    static std::vector<float> left(kLongBlock), right(kLongBlock);
    float* io[] = {left.data(), right.data()};
    e->processReplacing(e, io, io, frames);
}

// What callgrind counts: the block that takes up the changes.
__attribute__((noinline)) void MeasuredBlock(AEffect* e)
{
    Process(e, kMeasuredBlock);
}
} // namespace
} // namespace tpm

using namespace tpm;

int main(int argc, char** argv)
{
    const int changes = argc > 1 ? std::atoi(argv[1]) : 0;
    HostSettings settings;
    settings.sampleRate = 8000.0;
    settings.blockSize = kLongBlock;
    settings.recordCalls = false;
    std::string error;
    auto host = Vst2HostedPlugin::Create(&MakeLinkedPlugin, error, settings);
    if (!host)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    host->Start();
    AEffect* e = host->Effect();
    Process(e, kLongBlock);
    // Every parameter but the restart button, over and over, each time to another value.
    for (int n = 0; n < changes; ++n)
        e->setParameter(e, n % 22, static_cast<float>(n % 89) / 89.0f);
    MeasuredBlock(e);
    return 0;
}
