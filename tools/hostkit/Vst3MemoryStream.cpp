#include "tools/hostkit/Vst3MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tpm
{
vst3::tresult Vst3MemoryStream::queryInterface(const vst3::TUID iid, void** obj)
{
    if (!obj)
        return vst3::kInvalidArgument;
    if (vst3::SameUid(iid, vst3::FUnknown::iid) || vst3::SameUid(iid, vst3::IBStream::iid))
    {
        addRef();
        *obj = static_cast<vst3::IBStream*>(this);
        return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
}

vst3::tresult Vst3MemoryStream::read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead)
{
    if (numBytesRead)
        *numBytesRead = 0;
    if (numBytes < 0 || (!buffer && numBytes > 0))
        return vst3::kInvalidArgument;
    const std::size_t left = position < bytes.size() ? bytes.size() - position : 0;
    const std::size_t n = std::min(left, static_cast<std::size_t>(numBytes));
    if (n > 0)
        std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    if (numBytesRead)
        *numBytesRead = static_cast<vst3::int32>(n);
    return vst3::kResultOk;
}

vst3::tresult Vst3MemoryStream::write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten)
{
    if (numBytesWritten)
        *numBytesWritten = 0;
    if (numBytes < 0 || (!buffer && numBytes > 0))
        return vst3::kInvalidArgument;
    const auto n = static_cast<std::size_t>(numBytes);
    if (bytes.size() < position + n)
        bytes.resize(position + n);
    if (n > 0)
        std::memcpy(bytes.data() + position, buffer, n);
    position += n;
    if (numBytesWritten)
        *numBytesWritten = numBytes;
    return vst3::kResultOk;
}

vst3::tresult Vst3MemoryStream::seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result)
{
    vst3::int64 base = 0;
    if (mode == vst3::IBStream::kIBSeekCur)
        base = static_cast<vst3::int64>(position);
    else if (mode == vst3::IBStream::kIBSeekEnd)
        base = static_cast<vst3::int64>(bytes.size());
    else if (mode != vst3::IBStream::kIBSeekSet)
        return vst3::kInvalidArgument;
    // Before the start is refused; past the end is where a write would continue.
    if ((pos < 0 && base < -pos) || (pos > 0 && base > std::numeric_limits<vst3::int32>::max() - pos))
        return vst3::kInvalidArgument;
    position = static_cast<std::size_t>(base + pos);
    if (result)
        *result = static_cast<vst3::int64>(position);
    return vst3::kResultOk;
}

vst3::tresult Vst3MemoryStream::tell(vst3::int64* pos)
{
    if (!pos)
        return vst3::kInvalidArgument;
    *pos = static_cast<vst3::int64>(position);
    return vst3::kResultOk;
}
} // namespace tpm
