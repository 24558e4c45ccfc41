// One program slot: whether it holds settings, its name and its stored parameter values.
#pragma once

#include "core/ByteBuffer.h"
#include "core/FixedText.h"

namespace tpm
{
class PresetRecord
{
  public:
    using Name = FixedText<256>;

    bool inUse = false;
    Name name;
    ByteBuffer data;
};
} // namespace tpm
