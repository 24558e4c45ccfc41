// A growable block of bytes for state data: little-endian appends and bounds-checked reads.
// Positions are signed; -1 means "nothing more can be read".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tpm
{
class ByteBuffer
{
  public:
    static constexpr std::size_t kGrowthStep = 4096;

    int Size() const { return static_cast<int>(bytes.size()); }
    const uint8_t* Data() const { return bytes.empty() ? nullptr : bytes.data(); }
    uint8_t* Data() { return bytes.empty() ? nullptr : bytes.data(); }
    // New bytes are zero. Answers false when the memory cannot be had.
    bool Resize(int n);
    void Clear() { bytes.clear(); }

    bool AppendBytes(const void* p, int n);
    bool AppendInt32(int32_t v);
    bool AppendDouble(double v);
    bool AppendText(const char* text);

    // Each answers the position after what was read, or -1 when it does not fit.
    int ReadInt32(int pos, int32_t& out) const;
    int ReadDouble(int pos, double& out) const;
    // A 32-bit length L and L bytes. out receives the bytes up to the first zero, cut to
    // outSize - 1 and terminated; it is empty when L is 0 or the bytes do not fit. Answers
    // pos + 4 + L, or -1 when the length is missing, negative or runs past the end.
    int ReadText(int pos, char* out, std::size_t outSize) const;
    // Bytes remaining from pos; 0 for a position outside the buffer.
    int Remaining(int pos) const;

  private:
    bool Reserve(std::size_t n);
    std::vector<uint8_t> bytes;
};
} // namespace tpm
