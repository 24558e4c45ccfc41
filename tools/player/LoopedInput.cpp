#include "tools/player/LoopedInput.h"

#include <chrono>

namespace tpm
{
namespace
{
constexpr double kRingSeconds = 1.0;
constexpr std::size_t kMinRingFrames = 4 * 8192; // several of the largest device buffers
constexpr std::size_t kBlockFrames = 4096;
constexpr auto kReaderNap = std::chrono::milliseconds(10);
} // namespace

std::unique_ptr<LoopedInput> LoopedInput::Open(const std::string& path, std::string& error)
{
    std::unique_ptr<LoopedInput> input(new LoopedInput);
    input->source = LoopingSource::Open(path, error);
    if (!input->source)
        return nullptr;
    return input;
}

LoopedInput::~LoopedInput()
{
    Stop();
}

bool LoopedInput::Start(double deviceRate, std::string& error)
{
    source->AssumeRate(deviceRate);
    stream = ConvertRate(std::move(source), deviceRate, error);
    if (!stream)
        return false;
    ring = std::make_unique<SampleRing>(
        std::max(kMinRingFrames, static_cast<std::size_t>(deviceRate * kRingSeconds)));
    block.resize(2 * kBlockFrames);
    if (!Fill())
    {
        error = failure;
        return false;
    }
    reader = std::thread([this] { ReadAhead(); });
    return true;
}

void LoopedInput::Stop()
{
    quit.store(true);
    if (reader.joinable())
        reader.join();
}

bool LoopedInput::Fill()
{
    while (ring->FreeFrames() >= kBlockFrames && !quit.load(std::memory_order_relaxed))
    {
        const long long got = stream->Read(block.data(), kBlockFrames, failure);
        if (got <= 0)
        {
            if (failure.empty())
                failure = "the input ended";
            return false;
        }
        ring->Write(block.data(), static_cast<std::size_t>(got));
    }
    return true;
}

void LoopedInput::ReadAhead()
{
    while (!quit.load(std::memory_order_relaxed) && Fill())
        std::this_thread::sleep_for(kReaderNap);
}
} // namespace tpm
