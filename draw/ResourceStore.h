#pragma once

#include <cstdint>
#include <span>

namespace tpm
{

// The bytes of the module's PNG resource with this integer id, or an empty span when there is none.
// Windows reads the resource section of the module holding this code; Linux builds embed the pictures.
std::span<const uint8_t> FindPngResource(int id);

} // namespace tpm
