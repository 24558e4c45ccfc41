#include "core/ByteBuffer.h"

#include <cstring>
#include <limits>
#include <new>

namespace tpm
{
bool ByteBuffer::Reserve(std::size_t n)
{
    if (n > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return false;
    if (n <= bytes.capacity())
        return true;
    std::size_t rounded = (n + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
    try
    {
        bytes.reserve(rounded);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

bool ByteBuffer::Resize(int n)
{
    if (n < 0 || !Reserve(static_cast<std::size_t>(n)))
        return false;
    bytes.resize(static_cast<std::size_t>(n), 0);
    return true;
}

bool ByteBuffer::AppendBytes(const void* p, int n)
{
    if (n < 0 || (n > 0 && !p) || !Reserve(bytes.size() + static_cast<std::size_t>(n)))
        return false;
    const auto* from = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), from, from + n);
    return true;
}

bool ByteBuffer::AppendInt32(int32_t v)
{
    uint8_t le[4];
    for (int i = 0; i < 4; ++i)
        le[i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
    return AppendBytes(le, 4);
}

bool ByteBuffer::AppendDouble(double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, 8);
    uint8_t le[8];
    for (int i = 0; i < 8; ++i)
        le[i] = static_cast<uint8_t>(bits >> (8 * i));
    return AppendBytes(le, 8);
}

bool ByteBuffer::AppendText(const char* text)
{
    std::size_t n = text ? std::strlen(text) : 0;
    if (n > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        return false;
    return AppendInt32(static_cast<int32_t>(n)) && AppendBytes(text, static_cast<int>(n));
}

int ByteBuffer::Remaining(int pos) const
{
    if (pos < 0 || pos > Size())
        return 0;
    return Size() - pos;
}

int ByteBuffer::ReadInt32(int pos, int32_t& out) const
{
    if (Remaining(pos) < 4)
        return -1;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(bytes[static_cast<std::size_t>(pos) + static_cast<std::size_t>(i)])
             << (8 * i);
    out = static_cast<int32_t>(v);
    return pos + 4;
}

int ByteBuffer::ReadDouble(int pos, double& out) const
{
    if (Remaining(pos) < 8)
        return -1;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<uint64_t>(bytes[static_cast<std::size_t>(pos) + static_cast<std::size_t>(i)])
                << (8 * i);
    std::memcpy(&out, &bits, 8);
    return pos + 8;
}

int ByteBuffer::ReadText(int pos, char* out, std::size_t outSize) const
{
    if (out && outSize)
        out[0] = '\0';
    int32_t length = 0;
    const int start = ReadInt32(pos, length);
    // A negative length would step backwards and one past the end cannot be followed; both
    // end the read rather than be computed into a position that could overflow.
    if (start < 0 || length < 0 || length > Remaining(start))
        return -1;
    if (out && outSize)
    {
        std::size_t n = 0;
        while (n + 1 < outSize && n < static_cast<std::size_t>(length) && bytes[start + n] != 0)
            ++n;
        if (n > 0)
            std::memcpy(out, bytes.data() + start, n);
        out[n] = '\0';
    }
    return start + length;
}
} // namespace tpm
