#include "tools/hostkit/RawAudioWriter.h"

#include <cstring>

namespace tpm
{
namespace
{
constexpr std::size_t kBufferBytes = std::size_t{1} << 18;
}

std::unique_ptr<AudioWriter> RawAudioWriter::Create(const std::string& path, int channels, std::string& error)
{
    std::unique_ptr<RawAudioWriter> writer(new RawAudioWriter);
    if (!writer->file.Open(path, error))
        return nullptr;
    writer->channels = channels;
    writer->buffer.reserve(kBufferBytes);
    return writer;
}

bool RawAudioWriter::Write(const float* interleaved, long long frames, std::string& error)
{
    const std::size_t bytes =
        static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels) * sizeof(float);
    if (buffer.size() + bytes > kBufferBytes && !Flush(error))
        return false;
    if (bytes > kBufferBytes)
        return file.Write(interleaved, bytes, error);
    const std::size_t at = buffer.size();
    buffer.resize(at + bytes);
    std::memcpy(buffer.data() + at, interleaved, bytes);
    return true;
}

bool RawAudioWriter::Flush(std::string& error)
{
    const bool ok = buffer.empty() || file.Write(buffer.data(), buffer.size(), error);
    buffer.clear();
    return ok;
}

bool RawAudioWriter::Finish(std::string& error)
{
    return Flush(error) && file.Commit(error);
}
} // namespace tpm
