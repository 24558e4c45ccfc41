// The bank's shape, the program names as the product lists them (tests/product/product.golden
// holds them for review), and helpers to take state chunks apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Every slot's name, from the product itself.
std::vector<std::string> ProductProgramNames();

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

// Walks a bank chunk after its 8-byte header. False when the bytes do not form exactly
// 150 slots with one value per parameter for each slot in use.
bool ParseBank(const std::vector<uint8_t>& chunk, std::vector<BankSlot>& slots);
