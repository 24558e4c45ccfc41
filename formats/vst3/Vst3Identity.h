// Who the plug-in is to VST3 hosts, and the ids hosts store with their projects: never change them.
#pragma once

#include "formats/vst3/Vst3Abi.h"
#include "plugin/ProductInfo.h"

namespace vst3identity
{
// The audio module class: 0E0A6D59-80B8-457C-95C3-A0174AEE1BFC, as these 16 bytes on every platform
// (a class id is plain bytes, so moduleinfo.json and both builds spell it alike).
inline constexpr vst3::Uid kClassId = {{'\x0E', '\x0A', '\x6D', '\x59', '\x80', '\xB8', '\x45', '\x7C',
                                        '\x95', '\xC3', '\xA0', '\x17', '\x4A', '\xEE', '\x1B', '\xFC'}};
inline constexpr char kClassIdText[] = "0E0A6D5980B8457C95C3A0174AEE1BFC";
inline constexpr char kSubCategories[] = "Fx|Generator";
// No address is published for the product.
inline constexpr char kEmail[] = "";

// Parameters: the product's own are ids 0..22 (the product index); this one selects a program.
inline constexpr vst3::ParamID kProgramParamId = 1000;
inline constexpr vst3::ProgramListID kProgramListId = 1;
inline constexpr char kProgramListName[] = "Factory Programs";
} // namespace vst3identity
