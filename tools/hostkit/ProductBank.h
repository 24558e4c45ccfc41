// The product's program bank as its builds store it, read and written on the host side: the bank
// chunk (every slot's name, in-use flag and values behind "tffp" and a version), the program chunk
// (the live values alone) and the small container the CLAP, VST3 and LV2 states put around the bank.
// It lets .fxp and .fxb files, which hold these chunks, move in and out of every format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tpm
{
class ProductBank
{
  public:
    struct Slot
    {
        std::string name; // the stored bytes, kept as they are
        bool inUse = false;
        std::vector<double> values; // one per parameter when in use, else empty
    };

    // The bank inside a state (container or bare bank chunk) and the current program (-1 where the
    // state names none); false when the state holds no bank for `paramCount` parameters.
    static bool FromState(const std::vector<uint8_t>& state, int paramCount, std::vector<uint8_t>& bank,
                          int& currentProgram);
    static std::vector<uint8_t> ToState(const std::vector<uint8_t>& bank, int paramCount, int currentProgram);

    // Every slot of a bank chunk; false for bytes that are not a whole one.
    static bool Decode(const std::vector<uint8_t>& bank, int paramCount, std::vector<Slot>& slots);
    static std::vector<uint8_t> Encode(const std::vector<Slot>& slots);

    // A program chunk's values (a block without the header is bare values, as the plug-in reads it).
    static bool DecodeProgram(const std::vector<uint8_t>& chunk, int paramCount, std::vector<double>& values);
    static std::vector<uint8_t> EncodeProgram(const std::vector<double>& values);
};
} // namespace tpm
