#include "tools/hostkit/ResamplingReader.h"

#include <cmath>

namespace tpm
{
namespace
{
constexpr long long kSourceBlock = 4096;
}

std::unique_ptr<AudioReader> ResamplingReader::Create(std::unique_ptr<AudioReader> source, double rate,
                                                      std::string& error)
{
    std::unique_ptr<ResamplingReader> reader(new ResamplingReader);
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t failure = nullptr;
    reader->converter = soxr_create(source->Rate(), rate, static_cast<unsigned>(source->Channels()), &failure,
                                    &io, &quality, nullptr);
    if (!reader->converter || failure)
    {
        error = std::string("cannot convert the input's rate: ") + (failure ? failure : "unknown error");
        return nullptr;
    }
    reader->rate = rate;
    reader->source = std::move(source);
    return reader;
}

ResamplingReader::~ResamplingReader()
{
    if (converter)
        soxr_delete(converter);
}

long long ResamplingReader::Frames() const
{
    return std::llround(static_cast<double>(source->Frames()) * rate / source->Rate());
}

long long ResamplingReader::Read(float* out, long long frames, std::string& error)
{
    const auto channels = static_cast<std::size_t>(Channels());
    long long produced = 0;
    while (produced < frames)
    {
        if (pendingStart * channels >= pending.size() && !sourceEnded)
        {
            pending.resize(static_cast<std::size_t>(kSourceBlock) * channels);
            const long long got = source->Read(pending.data(), kSourceBlock, error);
            if (got < 0)
                return -1;
            pending.resize(static_cast<std::size_t>(got) * channels);
            pendingStart = 0;
            sourceEnded = got == 0;
        }
        const std::size_t available = pending.size() / channels - pendingStart;
        std::size_t taken = 0, made = 0;
        // After the source's end, a null input drains what the converter still holds.
        const soxr_error_t failure = soxr_process(
            converter, sourceEnded ? nullptr : pending.data() + pendingStart * channels,
            sourceEnded ? 0 : available, &taken, out + static_cast<std::size_t>(produced) * channels,
            static_cast<std::size_t>(frames - produced), &made);
        if (failure)
        {
            error = std::string("cannot convert the input's rate: ") + failure;
            return -1;
        }
        pendingStart += taken;
        produced += static_cast<long long>(made);
        if (sourceEnded && made == 0)
            break;
    }
    return produced;
}
} // namespace tpm
