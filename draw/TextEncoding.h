#pragma once

#include <string>
#include <string_view>

namespace tpm
{

// Whether the text holds at least one UTF-8 multi-byte sequence; such text is read as UTF-8, any
// other as the Windows-1252 code page that plain 8-bit texts of the plug-in use.
bool ContainsUtf8Sequence(std::string_view text);

// The text as code points, read as UTF-8 or as Windows-1252 by the rule above. Bytes that do not form
// valid UTF-8 in a UTF-8 text are read as Windows-1252 on their own.
std::u32string DecodeText(std::string_view text);

} // namespace tpm
