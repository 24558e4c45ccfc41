#pragma once

#include <string>
#include <string_view>

namespace tpm
{

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
