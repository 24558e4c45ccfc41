// Text the host exchanges with a VST3 plug-in: UTF-16 strings (String128 and the like) to and from the
// UTF-8 the host tool uses, and class ids as text.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <string>

namespace tpm
{
// The UTF-8 text of a zero-terminated UTF-16 string of at most `capacity` units.
std::string Utf8FromVst3(const vst3::char16* text, int capacity = 128);
// `text` as zero-terminated UTF-16 in `out`, cut to `capacity` units including the terminator.
void Vst3FromUtf8(const std::string& text, vst3::char16* out, int capacity = 128);
// A class id as this platform's hosts spell it (moduleinfo.json too): its 16 bytes as hex digits in
// order on Linux, read as a COM GUID on Windows.
std::string Vst3ClassIdText(const char* id);
} // namespace tpm
