// The bank chunk's shape, and helpers to build and take apart its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tpm
{
constexpr int kParams = 23;
constexpr int kSlots = 150;
constexpr int kFactorySlots = 141;

// One slot of a bank chunk as found in the bytes.
struct BankSlot
{
    std::string name;
    bool inUse = false;
    std::vector<double> values;
};

// Little-endian numbers at a byte offset.
int32_t Int32At(const std::vector<uint8_t>& bytes, std::size_t at);
double DoubleAt(const std::vector<uint8_t>& bytes, std::size_t at);
void AppendInt32(std::vector<uint8_t>& bytes, int32_t v);
void AppendDouble(std::vector<uint8_t>& bytes, double v);

// A bank chunk's 8-byte header, and one slot after it: every value 0 but Base Freq.
std::vector<uint8_t> BankHeader();
void AppendSlot(std::vector<uint8_t>& bytes, const std::string& name, bool inUse, double baseFreq = 200);

// Walks a bank chunk after its 8-byte header. False when the bytes do not form exactly
// 150 slots with one value per parameter for each slot in use.
bool ParseBank(const std::vector<uint8_t>& chunk, std::vector<BankSlot>& slots);
} // namespace tpm
