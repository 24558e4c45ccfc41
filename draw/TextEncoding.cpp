#include "draw/TextEncoding.h"

#include <array>
#include <cstdint>

namespace tpm
{

namespace
{

bool IsContinuation(uint8_t b)
{
    return b >= 0x80 && b <= 0xBF;
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it leaves unassigned become
// U+FFFD: as C1 controls they would show as boxes of hex digits, and no text of ours means them.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char32_t FromCp1252(uint32_t b)
{
    return b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char32_t{b};
}

void AppendUtf8(char32_t cp, std::string& out)
{
    const auto byte = [&out](char32_t b) { out.push_back(static_cast<char>(b)); };
    if (cp < 0x80)
    {
        byte(cp);
        return;
    }
    if (cp < 0x800)
        byte(0xC0 | (cp >> 6));
    else if (cp < 0x10000)
        byte(0xE0 | (cp >> 12));
    else
    {
        byte(0xF0 | (cp >> 18));
        byte(0x80 | ((cp >> 12) & 0x3F));
    }
    if (cp >= 0x800)
        byte(0x80 | ((cp >> 6) & 0x3F));
    byte(0x80 | (cp & 0x3F));
}

// Length of a well-formed UTF-8 sequence at s[i] and its code point, or 0.
size_t ReadUtf8(std::string_view s, size_t i, char32_t& cp)
{
    const auto at = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t b0 = at(i);
    size_t len = 0;
    char32_t v = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        len = 2, v = b0 & 0x1F, min = 0x80;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
        len = 3, v = b0 & 0x0F, min = 0x800;
    else if (b0 >= 0xF0 && b0 <= 0xF4)
        len = 4, v = b0 & 0x07, min = 0x10000;
    else
        return 0;
    if (i + len > s.size())
        return 0;
    for (size_t k = 1; k < len; ++k)
    {
        if (!IsContinuation(at(i + k)))
            return 0;
        v = v << 6 | (at(i + k) & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    cp = v;
    return len;
}

} // namespace

bool ContainsUtf8Sequence(std::string_view text)
{
    const auto at = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    for (size_t i = 0; i < text.size(); ++i)
    {
        const uint8_t b = at(i);
        if (b >= 0xC2 && b <= 0xDF && i + 1 < text.size() && IsContinuation(at(i + 1)))
            return true;
        if (b >= 0xC2 && b <= 0xF4 && i + 2 < text.size() && IsContinuation(at(i + 1)) &&
            IsContinuation(at(i + 2)))
            return true;
    }
    return false;
}

std::u32string DecodeText(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    const bool utf8 = ContainsUtf8Sequence(text);
    for (size_t i = 0; i < text.size();)
    {
        char32_t cp = 0;
        const size_t len = utf8 ? ReadUtf8(text, i, cp) : 0;
        if (len > 0)
        {
            // A C1 control in UTF-8 is a Windows-1252 byte that was once read as Latin-1 (the
            // factory names' dashes came to us that way): it means the Windows-1252 character.
            out.push_back(FromCp1252(cp));
            i += len;
        }
        else
        {
            out.push_back(FromCp1252(static_cast<uint8_t>(text[i])));
            ++i;
        }
    }
    return out;
}

std::string Utf8FromProductText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char32_t cp : DecodeText(text))
        AppendUtf8(cp, out);
    return out;
}

} // namespace tpm
