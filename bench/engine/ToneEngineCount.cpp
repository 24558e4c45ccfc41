// Renders a fixed number of 48 kHz frames through the module's processDoubleReplacing, for
// instruction counts under callgrind (deterministic, unlike timings on a shared machine).
// Usage: engine_count default|worst FRAMES. Renders 20 s first, past the default glide's
// approach to its target; count-instructions.sh runs it twice and divides the difference by the
// extra frames, so loading, setup and that lead-in cancel out.
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace tpm
{
namespace
{
constexpr int kFrames = 512;
constexpr long long kLeadIn = 20 * 48000;

// Golden Sine; LFO 1 on "Base Freq" at full depth, free-running; LFO 2 on "Volume".
void ApplyWorstCase(AEffect* e)
{
    constexpr int kWave = 2, kLfo1Target = 8, kLfo1Sync = 10, kLfo1Depth = 13, kLfo2Target = 15;
    e->setParameter(e, kWave, 4.0f / 7.0f);
    e->setParameter(e, kLfo1Target, 0.25f);
    e->setParameter(e, kLfo1Depth, 1.0f);
    e->setParameter(e, kLfo1Sync, 0.0f);
    e->setParameter(e, kLfo2Target, 1.0f);
}
} // namespace
} // namespace tpm

using namespace tpm;

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "default") != 0 && std::strcmp(argv[1], "worst") != 0))
    {
        std::fprintf(stderr, "usage: engine_count default|worst FRAMES\n");
        return 2;
    }
    const long long frames = std::atoll(argv[2]);
    HostSettings host;
    host.sampleRate = 48000.0;
    host.blockSize = kFrames;
    host.playing = true;
    std::string error;
    auto plugin = Vst2HostedPlugin::Load(TPM_MODULE_PATH, error, host);
    if (!plugin)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    plugin->Start();
    AEffect* e = plugin->Effect();
    if (std::strcmp(argv[1], "worst") == 0)
        ApplyWorstCase(e);

    std::vector<double> inL(kFrames, 0.1), inR(kFrames, -0.1), outL(kFrames), outR(kFrames);
    double* in[] = {inL.data(), inR.data()};
    double* out[] = {outL.data(), outR.data()};
    double sum = 0.0;
    for (long long done = 0; done < kLeadIn + frames; done += kFrames)
    {
        e->processDoubleReplacing(e, in, out, kFrames);
        sum += outL[0];
    }
    std::printf("%.17g\n", sum); // keeps the work observable
    return 0;
}
