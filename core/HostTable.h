// Recognises a host application by its product name, for the few hosts that need accommodations.
#pragma once

#include <cstdint>

int32_t LookUpHost(const char* productName);
// Packs a decimal version major*10000 + minor*100 + patch as major << 16 | minor << 8 | patch.
int32_t PackDecimalVersion(int32_t decimal);
