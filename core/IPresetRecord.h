// One program slot: whether it holds settings, its name and its stored parameter values.
#pragma once

#include "core/FixedText.h"
#include "core/IByteBuffer.h"

class IPresetRecord
{
  public:
    using Name = FixedText<256>;

    bool inUse = false;
    Name name;
    IByteBuffer data;
};
