// libFuzzer target for the state chunks: arbitrary bytes go to effSetChunk as a program or a
// bank (the first input byte chooses), then the state is read back with effGetChunk and what
// the plug-in wrote is handed to it again, which must always be accepted.
#include "formats/vst2/VstAbi.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <vector>

namespace tpm
{
namespace
{
using Entry = AEffect* (*)(audioMasterCallback);

intptr_t Host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

Entry LoadEntry()
{
    // The plug-in lives in its own instrumented module, loaded as a host loads it; its exported
    // "main" alias would otherwise clash with the fuzzer's.
    void* module = dlopen(TPM_FUZZ_MODULE, RTLD_NOW | RTLD_LOCAL);
    void* entry = module ? dlsym(module, "VSTPluginMain") : nullptr;
    if (!entry)
    {
        std::fprintf(stderr, "chunk_fuzzer: cannot load %s: %s\n", TPM_FUZZ_MODULE, dlerror());
        std::abort();
    }
    return reinterpret_cast<Entry>(entry);
}

intptr_t Dispatch(AEffect* e, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr)
{
    return e->dispatcher(e, opcode, index, value, ptr, 0.0f);
}

std::vector<uint8_t> GetChunk(AEffect* e, bool bank)
{
    void* data = nullptr;
    const intptr_t size = Dispatch(e, vst::effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || !data)
        std::abort(); // the plug-in can always describe its state
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

void Check(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "chunk_fuzzer: %s\n", what);
        std::abort();
    }
}
} // namespace
} // namespace tpm

using namespace tpm;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Entry entry = LoadEntry();
    if (size == 0)
        return 0;
    uint8_t selector = data[0];
    const bool bank = (selector & 1) != 0;
    // An exact-size copy, so any read past the end is caught.
    std::vector<uint8_t> input(data + 1, data + size);

    AEffect* e = entry(&Host);
    Check(e != nullptr, "no effect");
    Dispatch(e, vst::effOpen);
    Dispatch(e, vst::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(input.size()),
             input.empty() ? static_cast<void*>(&selector) : static_cast<void*>(input.data()));

    // Optionally move to another program (0 to 150, the last one outside the bank), which may
    // turn a free slot into a user preset.
    if (selector & 2)
        Dispatch(e, vst::effSetProgram, 0, (selector >> 2) * 150 / 63);

    std::vector<uint8_t> ownBank = GetChunk(e, true);
    std::vector<uint8_t> ownProgram = GetChunk(e, false);
    Check(ownProgram.size() == 8 + 23 * 8, "program chunk size");
    Check(Dispatch(e, vst::effSetChunk, 0, static_cast<intptr_t>(ownBank.size()), ownBank.data()) == 1,
          "own bank chunk refused");
    Check(Dispatch(e, vst::effSetChunk, 1, static_cast<intptr_t>(ownProgram.size()), ownProgram.data()) == 1,
          "own program chunk refused");
    // Once the current slot is in use, the bank reads back to the same bytes.
    const std::vector<uint8_t> again = GetChunk(e, true);
    Check(Dispatch(e, vst::effSetChunk, 0, static_cast<intptr_t>(again.size()),
                   const_cast<uint8_t*>(again.data())) == 1,
          "own bank chunk refused the second time");
    Check(GetChunk(e, true) == again, "bank chunk changed on a round trip");

    char name[512];
    for (int i = 0; i < e->numPrograms; ++i)
        Dispatch(e, vst::effGetProgramNameIndexed, i, 0, name);
    Dispatch(e, vst::effClose);
    return 0;
}
