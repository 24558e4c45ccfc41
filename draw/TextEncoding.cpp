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

bool IsSurrogate(char32_t point)
{
    return point >= 0xD800 && point <= 0xDFFF;
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

} // namespace

std::size_t ReadUtf8(std::string_view text, std::size_t at, char32_t& point)
{
    const auto byte = [&](std::size_t k) { return static_cast<uint8_t>(text[k]); };
    if (at >= text.size())
        return 0;
    const uint8_t lead = byte(at);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80)
        length = 1, value = lead;
    else if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, value = lead & 0x1F, smallest = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, value = lead & 0x0F, smallest = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, value = lead & 0x07, smallest = 0x10000;
    else
        return 0;
    if (at + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
    {
        if (!IsContinuation(byte(at + k)))
            return 0;
        value = value << 6 | (byte(at + k) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || IsSurrogate(value))
        return 0;
    point = value;
    return length;
}

std::size_t EncodeUtf8(char32_t point, char out[4])
{
    const auto put = [out](std::size_t k, char32_t b) { out[k] = static_cast<char>(b); };
    if (point < 0x80)
    {
        put(0, point);
        return 1;
    }
    if (point < 0x800)
    {
        put(0, 0xC0 | (point >> 6));
        put(1, 0x80 | (point & 0x3F));
        return 2;
    }
    if (point < 0x10000)
    {
        put(0, 0xE0 | (point >> 12));
        put(1, 0x80 | ((point >> 6) & 0x3F));
        put(2, 0x80 | (point & 0x3F));
        return 3;
    }
    put(0, 0xF0 | (point >> 18));
    put(1, 0x80 | ((point >> 12) & 0x3F));
    put(2, 0x80 | ((point >> 6) & 0x3F));
    put(3, 0x80 | (point & 0x3F));
    return 4;
}

void AppendUtf8(char32_t point, std::string& out)
{
    char bytes[4];
    out.append(bytes, EncodeUtf8(point, bytes));
}

std::size_t ReadUtf16(std::u16string_view text, std::size_t at, char32_t& point)
{
    if (at >= text.size())
        return 0;
    const char32_t unit = text[at];
    if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
        text[at + 1] <= 0xDFFF)
    {
        point = 0x10000 + ((unit - 0xD800) << 10) + (text[at + 1] - 0xDC00u);
        return 2;
    }
    point = IsSurrogate(unit) ? 0xFFFD : unit;
    return 1;
}

std::size_t EncodeUtf16(char32_t point, char16_t out[2])
{
    if (point < 0x10000)
    {
        out[0] = static_cast<char16_t>(point);
        return 1;
    }
    out[0] = static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    return 2;
}

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
