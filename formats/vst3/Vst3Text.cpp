#include "formats/vst3/Vst3Text.h"

#include "draw/TextEncoding.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace tpm
{
namespace vst3text
{
void ToUtf16(const char* text, vst3::char16* out, std::size_t capacity)
{
    if (!out || capacity == 0)
        return;
    const std::string_view view(text ? text : "");
    std::size_t used = 0;
    for (std::size_t at = 0; at < view.size();)
    {
        char32_t point = 0;
        std::size_t length = tpm::ReadUtf8(view, at, point);
        if (length == 0) // a byte that starts no valid sequence reads as Latin-1
        {
            point = static_cast<unsigned char>(view[at]);
            length = 1;
        }
        char16_t units[2];
        const std::size_t count = tpm::EncodeUtf16(point, units);
        if (used + count + 1 > capacity)
            break;
        for (std::size_t k = 0; k < count; ++k)
            out[used++] = units[k];
        at += length;
    }
    out[used] = 0;
}

bool ToUtf8(const vst3::char16* text, char* out, std::size_t outSize)
{
    if (!text || !out || outSize == 0)
        return false;
    const std::u16string_view view(text);
    std::size_t used = 0;
    char32_t point = 0;
    for (std::size_t at = 0, units = 0; (units = tpm::ReadUtf16(view, at, point)) > 0; at += units)
    {
        char bytes[4];
        const std::size_t length = tpm::EncodeUtf8(point, bytes);
        if (used + length + 1 > outSize)
            break;
        std::memcpy(out + used, bytes, length);
        used += length;
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
} // namespace tpm
