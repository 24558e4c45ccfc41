// The player's input file on the audio callback's side: it loops without a seam whether the file is
// kept in memory or opened again at its end, the callback's reads never allocate, and a reader that
// falls behind gives silence, counted.
#include "tools/player/LoopedInput.h"

#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace tpm
{
namespace
{
constexpr double kRate = 48000.0;
constexpr int kBlock = 256;

// A raw stereo file whose frame i holds i on the left and -i on the right.
std::string CountingFile(const char* name, int frames)
{
    std::string path = testing::TempDir() + name;
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i)
        samples.insert(samples.end(), {static_cast<float>(i), -static_cast<float>(i)});
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(samples.data(), sizeof(float), samples.size(), file);
    std::fclose(file);
    return path;
}

// Reads `total` frames as the callback would, pacing the reads so the reader thread keeps up, and
// checks that frame k is frame k % fileFrames of the file. Counts allocations meanwhile.
void ExpectLoop(LoopedInput& input, int fileFrames, int total, bool pace)
{
    std::vector<float> left(kBlock), right(kBlock);
    AllocationCounter::Reset();
    for (int done = 0; done < total; done += kBlock)
    {
        AllocationCounter::Count(true);
        input.Read(left.data(), right.data(), kBlock);
        AllocationCounter::Count(false);
        for (int i = 0; i < kBlock; ++i)
        {
            const auto expected = static_cast<float>((done + i) % fileFrames);
            ASSERT_EQ(left[i], expected) << "frame " << done + i;
            ASSERT_EQ(right[i], -expected) << "frame " << done + i;
        }
        if (pace && done % 1024 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(AllocationCounter::Counted(), 0);
    EXPECT_EQ(input.Underruns(), 0);
}
} // namespace

TEST(LoopedInput, ShortFileLoopsFromMemory)
{
    std::string error;
    auto input = LoopedInput::Open(CountingFile("short.f32", 1000), error);
    ASSERT_TRUE(input) << error;
    ASSERT_TRUE(input->Start(kRate, error)) << error;
    ExpectLoop(*input, 1000, 20000, false); // within what Start read ahead
}

TEST(LoopedInput, LongFileLoopsByOpeningItAgain)
{
    constexpr int kFrames = 300000; // more than is kept in memory
    std::string error;
    auto input = LoopedInput::Open(CountingFile("long.f32", kFrames), error);
    ASSERT_TRUE(input) << error;
    ASSERT_TRUE(input->Start(kRate, error)) << error;
    ExpectLoop(*input, kFrames, kFrames + 50000, true);
    input->Stop();
    EXPECT_EQ(input->Failure(), "");
}

TEST(LoopedInput, AnEmptyRingGivesSilenceCounted)
{
    std::string error;
    auto input = LoopedInput::Open(CountingFile("drained.f32", 100000), error);
    ASSERT_TRUE(input) << error;
    ASSERT_TRUE(input->Start(kRate, error)) << error;
    input->Stop(); // the reader reads no more: what Start read ahead is all there is
    std::vector<float> left(kBlock, 1.0f), right(kBlock, 1.0f);
    int frames = 0;
    AllocationCounter::Reset();
    AllocationCounter::Count(true);
    while (input->Underruns() == 0 && frames < 1000000)
    {
        input->Read(left.data(), right.data(), kBlock);
        frames += kBlock;
    }
    input->Read(left.data(), right.data(), kBlock);
    AllocationCounter::Count(false);
    EXPECT_EQ(AllocationCounter::Counted(), 0);
    EXPECT_EQ(input->Underruns(), 2);
    EXPECT_GE(frames, 32768); // Start fills the ring before playback
    for (int i = 0; i < kBlock; ++i)
        ASSERT_TRUE(left[i] == 0.0f && right[i] == 0.0f) << "frame " << i;
}
} // namespace tpm
