// libFuzzer target for the state every format but VST2 loads: arbitrary bytes go to
// PluginInstance::LoadState. A refused block must leave the state as it was; an accepted one must
// save to bytes that load again and save the same.
#include "plugin/PluginInstance.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tpm
{
namespace
{
void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "state_fuzzer: %s\n", what);
        std::abort();
    }
}

std::vector<uint8_t> Saved(PluginInstance& instance)
{
    std::vector<uint8_t> state;
    Check(instance.SaveState(state), "the instance cannot save its state");
    return state;
}
} // namespace
} // namespace tpm

using namespace tpm;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::unique_ptr<PluginInstance> instance = PluginInstance::Create();
    Check(instance != nullptr, "no instance");
    // Away from the defaults first, so that a load that half happens shows.
    instance->Programs().Select(7);
    instance->SetParamValue(0, 321.5);
    const std::vector<uint8_t> before = Saved(*instance);
    // An exact-size copy, so any read past the end is caught.
    const std::vector<uint8_t> input(data, data + size);
    if (!instance->LoadState(input))
    {
        Check(Saved(*instance) == before, "a refused state changed the instance");
        return 0;
    }
    const std::vector<uint8_t> loaded = Saved(*instance);
    Check(instance->LoadState(loaded), "the instance refused its own state");
    Check(Saved(*instance) == loaded, "the state changed on a round trip");
    return 0;
}
