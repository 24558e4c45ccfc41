#include "formats/vst3/Vst3Stream.h"

#include <algorithm>
#include <new>

namespace tpm
{
bool Vst3Stream::ReadAll(vst3::IBStream& stream, std::vector<uint8_t>& out)
{
    out.clear();
    try
    {
        uint8_t buffer[4096];
        for (;;)
        {
            vst3::int32 got = 0;
            const vst3::tresult result = stream.read(buffer, static_cast<vst3::int32>(sizeof buffer), &got);
            // Streams end with a short read, a read of nothing, or kResultFalse with nothing read.
            if (got < 0 || got > static_cast<vst3::int32>(sizeof buffer))
                return false;
            if (got == 0)
                return result == vst3::kResultOk || result == vst3::kResultFalse;
            if (out.size() + static_cast<std::size_t>(got) > kMaxBytes)
                return false;
            out.insert(out.end(), buffer, buffer + got);
            if (result != vst3::kResultOk)
                return result == vst3::kResultFalse;
        }
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

bool Vst3Stream::WriteAll(vst3::IBStream& stream, std::span<const uint8_t> data)
{
    std::size_t done = 0;
    while (done < data.size())
    {
        const auto chunk = static_cast<vst3::int32>(std::min<std::size_t>(data.size() - done, 1u << 20));
        vst3::int32 wrote = 0;
        // write takes a non-const pointer but only reads from it.
        const vst3::tresult result = stream.write(const_cast<uint8_t*>(data.data() + done), chunk, &wrote);
        if (result != vst3::kResultOk || wrote <= 0 || wrote > chunk)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}
} // namespace tpm
