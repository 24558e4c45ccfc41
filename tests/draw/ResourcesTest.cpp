// The module's pictures: every id decodes to the size and frame layout the editor relies on.
#include "draw/BitmapCache.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tpm
{
namespace
{

struct Picture
{
    int id;
    const char* name;
    int w;
    int h;
    int frames;
    bool vertical; // frames stacked top to bottom, else side by side
};

constexpr Picture kPictures[] = {
    // Frames: 103 is eight of 58 x 58 side by side, 104 seven of 40 x 40, 107 five of 86 x 16 stacked.
    {100, "img/bg.png", 550, 363, 1, false},         {101, "../img/knob.png", 57, 57, 1, false},
    {102, "../img/knob2.png", 40, 40, 1, false},     {103, "../img/wave.png", 464, 58, 8, false},
    {104, "../img/lfo_wave.png", 280, 40, 7, false}, {105, "../img/btn.png", 68, 23, 1, false},
    {106, "../img/btn3.png", 79, 23, 1, false},      {107, "img/lfo_tg.png", 86, 80, 5, true},
    {108, "img/lfo_tg_.png", 90, 91, 5, true},       {109, "../img/rate_sync.png", 48, 21, 1, false},
    {110, "../img/btn2.png", 80, 23, 1, false},
};

TEST(Resources, EveryPictureHasItsSizeAndFrames)
{
    for (const Picture& p : kPictures)
    {
        const BitmapRef ref = LoadBitmap(p.id, p.name, p.frames);
        ASSERT_NE(ref.Surface(), nullptr) << p.id;
        EXPECT_EQ(ref.W, p.w) << p.id;
        EXPECT_EQ(ref.H, p.h) << p.id;
        EXPECT_EQ(ref.N, p.frames) << p.id;
        if (p.id != 108) // 108 is one picture of a five-row list
        {
            EXPECT_EQ((p.vertical ? p.h : p.w) % p.frames, 0) << p.id << " frames split evenly";
        }
    }
}

TEST(Resources, BackgroundIsOpaqueAndKnobsHaveClearCorners)
{
    const BitmapRef bg = LoadBitmap(100, "img/bg.png", 1);
    ASSERT_TRUE(bg.Surface());
    for (int y = 0; y < bg.H; y += 11)
        for (int x = 0; x < bg.W; x += 13)
            ASSERT_EQ(bg.Surface()->Pixel(x, y) >> 24, 0xFFu) << x << "," << y;
    // Rotating knobs turn about their centre: their corners must be clear so nothing square shows.
    for (int id : {101, 102})
    {
        const BitmapRef knob = LoadBitmap(id, "knob", 1);
        ASSERT_TRUE(knob.Surface());
        EXPECT_EQ(knob.Surface()->Pixel(0, 0) >> 24, 0u);
        EXPECT_EQ(knob.Surface()->Pixel(knob.W - 1, knob.H - 1) >> 24, 0u);
        EXPECT_EQ(knob.Surface()->Pixel(knob.W / 2, knob.H / 2) >> 24, 0xFFu);
    }
}

TEST(Resources, CacheDecodesEachPictureOnceAcrossThreads)
{
    const BitmapRef first = LoadBitmap(105, "../img/btn.png", 1);
    ASSERT_NE(first.Surface(), nullptr);
    const int decodedBefore = CachedBitmap::DecodeCount();
    std::vector<PixelSurface*> seen(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = LoadBitmap(106, "../img/btn3.png", 1).Surface(); });
    for (auto& t : threads)
        t.join();
    ASSERT_NE(seen[0], nullptr);
    for (PixelSurface* s : seen)
        EXPECT_EQ(s, seen[0]);
    EXPECT_LE(CachedBitmap::DecodeCount() - decodedBefore, 1) << "a picture first drawn by four threads";
    EXPECT_EQ(LoadBitmap(105, "another name", 3).Surface(), first.Surface())
        << "found by id, frames per request";
    EXPECT_EQ(LoadBitmap(105, "another name", 3).N, 3);
}

TEST(Resources, MissingPictureHasNoSurface)
{
    for (int id : {99, 111, -1, 0})
    {
        const BitmapRef ref = LoadBitmap(id, "missing.png", 1);
        EXPECT_EQ(ref.Surface(), nullptr) << id;
        EXPECT_EQ(ref.W, 0);
    }
}

} // namespace
} // namespace tpm
