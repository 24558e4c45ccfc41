// An IBStream over a byte vector, for a plug-in's state: the host lends it for one getState or
// setState call and keeps the bytes. It lives on the host's stack, so references only count.
#pragma once

#include "formats/vst3/Vst3Abi.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace tpm
{
class Vst3MemoryStream final : public vst3::IBStream
{
  public:
    // Reads and writes `bytes` from the start; writing past the end makes it longer.
    explicit Vst3MemoryStream(std::vector<uint8_t>& bytes) : bytes(bytes) {}
    ~Vst3MemoryStream() = default;
    Vst3MemoryStream(const Vst3MemoryStream&) = delete;
    Vst3MemoryStream& operator=(const Vst3MemoryStream&) = delete;

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) override;
    vst3::uint32 addRef() override { return ++references; }
    vst3::uint32 release() override { return --references; }

    vst3::tresult read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override;
    vst3::tresult write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override;
    vst3::tresult seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override;
    vst3::tresult tell(vst3::int64* pos) override;

    void Rewind() { position = 0; }

  private:
    std::vector<uint8_t>& bytes;
    std::size_t position = 0;
    std::atomic<vst3::uint32> references{1};
};
} // namespace tpm
