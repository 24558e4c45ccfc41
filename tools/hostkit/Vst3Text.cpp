#include "tools/hostkit/Vst3Text.h"

#include "draw/TextEncoding.h"

#include <cstdio>
#include <string_view>

namespace tpm
{
std::string Utf8FromVst3(const vst3::char16* text, int capacity)
{
    std::size_t length = 0;
    while (static_cast<int>(length) < capacity && text[length] != 0)
        ++length;
    const std::u16string_view view(text, length);
    std::string out;
    char32_t point = 0;
    for (std::size_t at = 0, units = 0; (units = tpm::ReadUtf16(view, at, point)) > 0; at += units)
        tpm::AppendUtf8(point, out);
    return out;
}

void Vst3FromUtf8(const std::string& text, vst3::char16* out, int capacity)
{
    if (capacity <= 0)
        return;
    const auto room = static_cast<std::size_t>(capacity);
    std::size_t used = 0;
    for (std::size_t at = 0; at < text.size();)
    {
        char32_t point = 0;
        std::size_t length = tpm::ReadUtf8(text, at, point);
        if (length == 0)
        {
            point = 0xFFFD;
            length = 1;
        }
        char16_t units[2];
        const std::size_t count = tpm::EncodeUtf16(point, units);
        if (used + count + 1 > room)
            break; // never half a pair
        for (std::size_t k = 0; k < count; ++k)
            out[used++] = units[k];
        at += length;
    }
    out[used] = 0;
}

std::string Vst3ClassIdText(const char* id)
{
    const auto* b = reinterpret_cast<const unsigned char*>(id);
    // Windows reads the first eight bytes as a COM GUID's little-endian fields.
    static constexpr int kComOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string text;
    char digits[3];
    for (int i = 0; i < 16; ++i)
    {
        std::snprintf(digits, sizeof digits, "%02X", b[vst3::kComCompatible ? kComOrder[i] : i]);
        text += digits;
    }
    return text;
}
} // namespace tpm
