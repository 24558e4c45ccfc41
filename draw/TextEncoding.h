#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tpm
{

// The one Unicode codec of the product and its tools: UTF-8 and UTF-16 read and written a code point at
// a time, and the product's 8-bit texts read as UTF-8 or Windows-1252.

// The UTF-8 sequence that starts at text[at]: its length, with its code point in `point`; 0 where no
// well-formed sequence starts there (overlong forms, surrogates and points past U+10FFFF included).
std::size_t ReadUtf8(std::string_view text, std::size_t at, char32_t& point);
// The code point as UTF-8 in out (at most four bytes); the bytes written.
std::size_t EncodeUtf8(char32_t point, char out[4]);
void AppendUtf8(char32_t point, std::string& out);

// The code point at text[at] of a UTF-16 text and the units it takes: a surrogate pair is one point, a
// lone surrogate reads as U+FFFD.
std::size_t ReadUtf16(std::u16string_view text, std::size_t at, char32_t& point);
// The code point as UTF-16 in out (one unit, or a surrogate pair); the units written.
std::size_t EncodeUtf16(char32_t point, char16_t out[2]);

// Whether the text holds at least one UTF-8 multi-byte sequence; such text is read as UTF-8, any
// other as the Windows-1252 code page that plain 8-bit texts of the plug-in use.
bool ContainsUtf8Sequence(std::string_view text);

// The text as code points, read as UTF-8 or as Windows-1252 by the rule above. Bytes that do not form
// valid UTF-8 in a UTF-8 text, and the C1 controls U+0080..U+009F it encodes, are read as Windows-1252.
std::u32string DecodeText(std::string_view text);

// The text, read as DecodeText reads it, as UTF-8: the form in which the product's 8-bit names (the
// stored bytes the VST2 build hands out) leave through formats and tools that speak Unicode.
std::string Utf8FromProductText(std::string_view text);

} // namespace tpm
