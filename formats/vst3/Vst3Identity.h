// Who the plug-in is to VST3 hosts, and the ids hosts store with their projects: never change them.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "plugin/ProductInfo.h"

namespace tpm
{
namespace vst3identity
{
// The audio module class: these 16 bytes on every platform, so a project moves between them. Written
// as text, Linux hosts spell the bytes in order (0E0A6D5980B8457C95C3A0174AEE1BFC) and Windows hosts
// as a COM GUID ({596D0A0E-B880-7C45-95C3-A0174AEE1BFC}); each build's moduleinfo.json follows its own.
inline constexpr vst3::Uid kClassId = {{'\x0E', '\x0A', '\x6D', '\x59', '\x80', '\xB8', '\x45', '\x7C',
                                        '\x95', '\xC3', '\xA0', '\x17', '\x4A', '\xEE', '\x1B', '\xFC'}};
inline constexpr char kClassIdText[] = "0E0A6D5980B8457C95C3A0174AEE1BFC";

// Whether text spells uid's bytes in upper-case hexadecimal, as moduleinfo.json writes class ids.
constexpr bool SpellsUid(const char (&text)[33], const vst3::Uid& uid)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < 16; ++i)
    {
        const auto byte = static_cast<unsigned char>(uid.bytes[i]);
        if (text[2 * i] != kDigits[byte >> 4] || text[2 * i + 1] != kDigits[byte & 0xF])
            return false;
    }
    return true;
}
static_assert(SpellsUid(kClassIdText, kClassId));

// An effect (the tones are mixed into the input): hosts list it with the effects, as in every format.
inline constexpr char kSubCategories[] = "Fx";
// No address is published for the product.
inline constexpr char kEmail[] = "";

// Parameters: the product's own are ids 0..22 (the product index); this one selects a program.
inline constexpr vst3::ParamID kProgramParamId = 1000;
inline constexpr vst3::ProgramListID kProgramListId = 1;
inline constexpr char kProgramListName[] = "Factory Programs";
} // namespace vst3identity
} // namespace tpm
