// An hour of tone: phases stay in range and the pitch holds to 1e-9. Named LongRun so that slow
// (sanitizer) builds can filter it out.
#include "CrossingCounter.h"
#include "FakeEngineHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tpm
{
namespace
{
// A steady tone with no input to mix: "Play Anyway", full mix and the shortest glide.
void StartSteadyTone(FakeEngineHost& h, double rate, double baseFreq, double binaural)
{
    h.liveRate = rate;
    h.values[kBaseFreq] = baseFreq;
    h.values[kBinaural] = binaural;
    h.values[kPlayAnyway] = 1;
    h.values[kMix] = 100;
    h.values[kFade] = 1;
    h.Open();
    h.Reset();
}
} // namespace

TEST(ToneEngineLongRun, OneHourAt48kHzKeepsPhasesAndPitch)
{
    constexpr double kRate = 48000.0;
    constexpr int kBlock = 1 << 16;
    FakeEngineHost h;
    StartSteadyTone(h, kRate, 440, 7.83);

    StereoBlock b(kBlock);
    b.Process(h); // the glide from 0 Hz ends within this block
    const long long total = static_cast<long long>(3600 * kRate);
    CrossingCounter left, right;
    for (long long done = kBlock; done < total; done += kBlock)
    {
        b.Process(h);
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

TEST(ToneEngineLongRun, TenMinutesStayWithin120DbOfAnExactSine)
{
    // 195 Hz left and 205 Hz right at 44.1 kHz, against sines whose phase is accumulated in
    // extended precision from the same start and increments.
    constexpr double kRate = 44100.0;
    constexpr int kBlock = 4096;
    constexpr long double kTwoPiL = 6.283185307179586476925286766559L;
    FakeEngineHost h;
    StartSteadyTone(h, kRate, 195, 10);
    StereoBlock b(kBlock);
    b.Process(h);
    b.Process(h); // past the glide

    const ToneEngineFields& f = h.F();
    const long double inc[2] = {f.osc1Inc, f.osc2Inc};
    long double phase[2] = {f.osc1Phase, f.osc2Phase};
    double worst = 0.0;
    for (long long done = 0; done < static_cast<long long>(600 * kRate); done += kBlock)
    {
        b.Process(h);
        for (int i = 0; i < kBlock; ++i)
        {
            const double* out[2] = {b.outL.data(), b.outR.data()};
            for (int c = 0; c < 2; ++c)
            {
                worst = std::max(worst, std::fabs(out[c][i] - std::sin(static_cast<double>(phase[c]))));
                phase[c] += inc[c];
                if (phase[c] >= kTwoPiL)
                    phase[c] -= kTwoPiL;
            }
        }
    }
    EXPECT_EQ(f.osc1Inc, static_cast<double>(inc[0])); // the glide had ended
    EXPECT_LT(20.0 * std::log10(worst), -120.0) << worst;
}
} // namespace tpm
