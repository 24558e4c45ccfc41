#include "formats/vst3/Vst3Text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace
{
// The code point of the UTF-8 sequence at text (advancing past it), or of its first byte as Latin-1
// when no valid sequence starts there.
uint32_t NextCodePoint(const unsigned char*& text)
{
    const unsigned char lead = *text;
    int length = 0;
    uint32_t point = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
        point = lead & 0x1Fu;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        point = lead & 0x0Fu;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        point = lead & 0x07u;
    }
    for (int i = 1; i < length; ++i)
    {
        if ((text[i] & 0xC0u) != 0x80u)
        {
            length = 0;
            break;
        }
        point = (point << 6) | (text[i] & 0x3Fu);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || point < smallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
    {
        ++text;
        return lead;
    }
    text += length;
    return point;
}

// Appends point as UTF-8 when it fits before the terminator; false when it does not.
bool AppendUtf8(uint32_t point, char* out, std::size_t outSize, std::size_t& used)
{
    unsigned char bytes[4];
    std::size_t length = 0;
    if (point < 0x80)
        bytes[length++] = static_cast<unsigned char>(point);
    else if (point < 0x800)
    {
        bytes[length++] = static_cast<unsigned char>(0xC0 | (point >> 6));
        bytes[length++] = static_cast<unsigned char>(0x80 | (point & 0x3F));
    }
    else if (point < 0x10000)
    {
        bytes[length++] = static_cast<unsigned char>(0xE0 | (point >> 12));
        bytes[length++] = static_cast<unsigned char>(0x80 | ((point >> 6) & 0x3F));
        bytes[length++] = static_cast<unsigned char>(0x80 | (point & 0x3F));
    }
    else
    {
        bytes[length++] = static_cast<unsigned char>(0xF0 | (point >> 18));
        bytes[length++] = static_cast<unsigned char>(0x80 | ((point >> 12) & 0x3F));
        bytes[length++] = static_cast<unsigned char>(0x80 | ((point >> 6) & 0x3F));
        bytes[length++] = static_cast<unsigned char>(0x80 | (point & 0x3F));
    }
    if (used + length + 1 > outSize)
        return false;
    std::memcpy(out + used, bytes, length);
    used += length;
    return true;
}
} // namespace

namespace vst3text
{
void ToUtf16(const char* text, vst3::char16* out, std::size_t capacity)
{
    if (!out || capacity == 0)
        return;
    std::size_t used = 0;
    const auto* at = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (*at != 0)
    {
        const uint32_t point = NextCodePoint(at);
        const std::size_t units = point >= 0x10000 ? 2 : 1;
        if (used + units + 1 > capacity)
            break;
        if (units == 2)
        {
            out[used++] = static_cast<vst3::char16>(0xD800 + ((point - 0x10000) >> 10));
            out[used++] = static_cast<vst3::char16>(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
        else
            out[used++] = static_cast<vst3::char16>(point);
    }
    out[used] = 0;
}

bool ToUtf8(const vst3::char16* text, char* out, std::size_t outSize)
{
    if (!text || !out || outSize == 0)
        return false;
    std::size_t used = 0;
    for (std::size_t i = 0; text[i] != 0; ++i)
    {
        uint32_t point = text[i];
        if (point >= 0xD800 && point <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        }
        else if (point >= 0xD800 && point <= 0xDFFF)
            point = 0xFFFD; // a lone surrogate
        if (!AppendUtf8(point, out, outSize, used))
            break;
    }
    out[used] = '\0';
    return true;
}

void CopyAscii(char* out, std::size_t capacity, const char* text)
{
    if (!out || capacity == 0)
        return;
    // The whole field is cleared: hosts may read fixed fields past the terminator.
    std::memset(out, 0, capacity);
    std::snprintf(out, capacity, "%s", text ? text : "");
}
} // namespace vst3text
