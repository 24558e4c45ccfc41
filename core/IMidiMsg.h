// MIDI messages as the plug-in core passes them around: a three-byte message or a system-exclusive
// dump, each with its frame offset inside the current block.
#pragma once

#include <cstdint>

struct IMidiMsg
{
    int32_t offset = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

struct ISysExMsg
{
    int32_t offset = 0;
    const uint8_t* data = nullptr;
    int32_t size = 0;
};
