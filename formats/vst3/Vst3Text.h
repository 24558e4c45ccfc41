// Text between the product's 8-bit strings and VST3's UTF-16 fields.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <cstddef>

namespace tpm
{
namespace vst3text
{
// Copies text (UTF-8; a byte that starts no valid sequence reads as Latin-1) into out, truncated to
// capacity units with the terminator.
void ToUtf16(const char* text, vst3::char16* out, std::size_t capacity);
// Copies a terminated UTF-16 text into out as UTF-8, truncated to outSize bytes with the terminator;
// false when text is null.
bool ToUtf8(const vst3::char16* text, char* out, std::size_t outSize);
// Copies text into a fixed 8-bit field, truncated and terminated.
void CopyAscii(char* out, std::size_t capacity, const char* text);
} // namespace vst3text
} // namespace tpm
