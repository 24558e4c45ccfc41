// An hour of tone: phases stay in range and the pitch holds to 1e-9. Named LongRun so that slow
// (sanitizer) builds can filter it out.
#include "CrossingCounter.h"
#include "FakeEngineHost.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ToneEngineLongRun, OneHourAt48kHzKeepsPhasesAndPitch)
{
    constexpr double kRate = 48000.0;
    constexpr int kBlock = 1 << 16;
    FakeEngineHost h;
    h.liveRate = kRate;
    h.values[kBaseFreq] = 440;
    h.values[kBinaural] = 7.83;
    h.values[kPlayAnyway] = 1;
    h.values[kMix] = 100;
    h.values[kFade] = 1;
    h.Open();
    h.engine.Reset();

    StereoBlock b(kBlock);
    b.Process(h.engine); // the glide from 0 Hz ends within this block
    const long long total = static_cast<long long>(3600 * kRate);
    CrossingCounter left, right;
    for (long long done = kBlock; done < total; done += kBlock)
    {
        b.Process(h.engine);
        left.Feed(b.outL.data(), b.outL.size(), static_cast<double>(done));
        right.Feed(b.outR.data(), b.outR.size(), static_cast<double>(done));
        const ToneEngineFields& f = h.F();
        ASSERT_TRUE(f.osc1Phase >= 0.0 && f.osc1Phase < Waveforms::kTwoPi);
        ASSERT_TRUE(f.osc2Phase >= 0.0 && f.osc2Phase < Waveforms::kTwoPi);
    }
    const double base = h.F().lastBaseFreq;
    const double upper = h.F().lastBaseFreq + h.F().lastBeatFreq; // summed in single precision
    EXPECT_GT(left.Count(), 1500000);
    EXPECT_NEAR(left.Frequency(kRate) / base, 1.0, 1e-9);
    EXPECT_NEAR(right.Frequency(kRate) / upper, 1.0, 1e-9);
}
