#include "core/HostTable.h"

#include <cstring>
#include <string>

namespace
{
struct HostEntry
{
    const char* text;
    int32_t code;
};

// Searched in order: the first text found anywhere in the lower-cased name decides.
constexpr HostEntry kHosts[] = {
    {"cubase", 3},      {"reaper", 1},   {"nuendo", 4},      {"cakewalk", 5},   {"samplitude", 8},
    {"fruity", 7},      {"live", 9},     {"melodyne", 12},   {"vstmanlib", 13}, {"aulab", 14},
    {"forte", 15},      {"chainer", 16}, {"audition", 17},   {"orion", 18},     {"sawstudio", 20},
    {"logic", 21},      {"digital", 22}, {"audiomulch", 23}, {"presonus", 24},  {"acoustica", 25},
    {"garageband", 26}, {"ardour", 27},
};
} // namespace

int32_t LookUpHost(const char* productName)
{
    std::string lower = productName ? productName : "";
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (const HostEntry& entry : kHosts)
        if (lower.find(entry.text) != std::string::npos)
            return entry.code;
    return 0;
}

int32_t PackDecimalVersion(int32_t decimal)
{
    return ((decimal / 10000) << 16) + (((decimal % 10000) / 100) << 8) + (decimal % 100);
}
