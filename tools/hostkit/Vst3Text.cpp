#include "tools/hostkit/Vst3Text.h"

#include <cstdio>

std::string Utf8FromVst3(const vst3::char16* text, int capacity)
{
    std::string out;
    for (int i = 0; i < capacity && text[i] != 0; ++i)
    {
        uint32_t c = text[i];
        // A surrogate pair is one character; a lone surrogate becomes U+FFFD.
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < capacity && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void Vst3FromUtf8(const std::string& text, vst3::char16* out, int capacity)
{
    if (capacity <= 0)
        return;
    int at = 0;
    auto put = [&](uint32_t unit) {
        if (at < capacity - 1)
            out[at++] = static_cast<vst3::char16>(unit);
    };
    for (std::size_t i = 0; i < text.size();)
    {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        uint32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1Fu
                     : length == 3 ? lead & 0x0Fu
                                   : lead & 0x07u;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k)
        {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3Fu);
        }
        i += valid ? static_cast<std::size_t>(length) : 1;
        if (!valid)
            c = 0xFFFD;
        if (c >= 0x10000)
        {
            if (at >= capacity - 2)
                break; // never half a pair
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        else
            put(c);
    }
    out[at] = 0;
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
