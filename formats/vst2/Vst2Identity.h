// Who the plug-in is to VST 2.4 hosts: the values of the effect record and the identity opcodes
// that only this format has. Hosts store the unique id and the version with their projects.
#pragma once

#include "plugin/ProductInfo.h"

#include <cstdint>

namespace tpm
{
namespace vst2identity
{
inline constexpr int32_t kUniqueId = 0x6E61686A;
// Packed as major << 16 | minor << 8 | patch; hosts get it as a decimal number.
inline constexpr int32_t kVersion =
    product::kVersionMajor << 16 | product::kVersionMinor << 8 | product::kVersionPatch;
inline constexpr int32_t kLatency = 0;
inline constexpr const char* kEffectName = product::kName;
inline constexpr const char* kVendorName = product::kVendor;
// The product string the VST2 build has always answered.
inline constexpr const char* kProductName = "";
} // namespace vst2identity
} // namespace tpm
