#pragma once

#include <cstdint>

namespace tpm
{

// A colour as four 0..255 channels, packed alpha-red-green-blue from the top byte down.
struct Rgba
{
    int A = 255;
    int R = 0;
    int G = 0;
    int B = 0;

    constexpr Rgba() = default;
    constexpr Rgba(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

    constexpr uint32_t Packed() const
    {
        return static_cast<uint32_t>(A & 0xFF) << 24 | static_cast<uint32_t>(R & 0xFF) << 16 |
               static_cast<uint32_t>(G & 0xFF) << 8 | static_cast<uint32_t>(B & 0xFF);
    }

    bool operator==(const Rgba&) const = default;
};

} // namespace tpm
