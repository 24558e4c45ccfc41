#include "engine/Waveforms.h"
#include "engine/Lfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace tpm
{
namespace
{
constexpr double kPi = Waveforms::kPi;
constexpr double kTwoPi = Waveforms::kTwoPi;
constexpr float kG = 0.618f;
constexpr double kSplit = 3.8830083370775546;

Waveforms::Golden GoldenFor(int wave)
{
    Waveforms::Golden c;
    Waveforms::GoldenCoefficients(wave, kG, kSplit, c);
    return c;
}
double Tone(int wave, double phi)
{
    return Waveforms::ToneValue(wave, phi, kSplit, GoldenFor(wave));
}
double LfoAt(int wave, double phi)
{
    double state = 0.0;
    return Waveforms::LfoValue(wave, phi, state, Lfo::kSquareSmoothIn, Lfo::kSquareSmoothKeep);
}
} // namespace

TEST(ToneWaves, GoldenCoefficientsInTheirPrecision)
{
    // Single-precision quotients of g, widened; products with π and 1/π in double.
    const Waveforms::Golden w4 = GoldenFor(4);
    EXPECT_EQ(w4.a1, 0.8090615272521973);
    EXPECT_EQ(w4.a2, 1.3089004755020142);
    EXPECT_EQ(w4.c2, -1.9408786047992042);
    const Waveforms::Golden w5 = GoldenFor(5);
    EXPECT_EQ(w5.a1, 0.40453076362609863);
    EXPECT_EQ(w5.a2, 0.6544502377510071);
    EXPECT_EQ(w5.c2, -0.9704393023996021);
    const Waveforms::Golden w6 = GoldenFor(6);
    EXPECT_EQ(w6.a1, 0.5150645649927315);
    EXPECT_EQ(w6.a2, 4.235601902008057);
    EXPECT_EQ(w6.c2, 0.8332719227659113);

    for (const int wave : {0, 1, 2, 3, 7})
    {
        Waveforms::Golden untouched{1.0, 2.0, 3.0};
        EXPECT_FALSE(Waveforms::GoldenCoefficients(wave, kG, kSplit, untouched));
        EXPECT_EQ(untouched.a1, 1.0);
        EXPECT_EQ(untouched.c2, 3.0);
    }
}

TEST(ToneWaves, PlainWavesAtChosenPhases)
{
    EXPECT_DOUBLE_EQ(Tone(0, kPi / 2), 1.0);
    EXPECT_DOUBLE_EQ(Tone(0, 3 * kPi / 2), -1.0);

    EXPECT_EQ(Tone(1, 0.0), -1.0);
    EXPECT_NEAR(Tone(1, kPi / 2), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(Tone(1, kPi), 1.0);
    EXPECT_NEAR(Tone(1, 3 * kPi / 2), 0.0, 1e-15);

    EXPECT_EQ(Tone(2, 0.0), 1.0);
    EXPECT_NEAR(Tone(2, kPi), 0.0, 1e-15);
    EXPECT_NEAR(Tone(2, std::nextafter(kTwoPi, 0.0)), -1.0, 1e-15);

    EXPECT_EQ(Tone(3, 0.0), 1.0);
    EXPECT_EQ(Tone(3, std::nextafter(kPi, 0.0)), 1.0);
    EXPECT_EQ(Tone(3, kPi), -1.0);
}

TEST(ToneWaves, GoldenWavesSwitchHalvesAtTheSplit)
{
    const double justBelow = std::nextafter(kSplit, 0.0);
    const double end = std::nextafter(kTwoPi, 0.0);
    // Golden sine: +1 down to −1 over the first fraction g, back up over the rest.
    EXPECT_EQ(Tone(4, 0.0), 1.0);
    EXPECT_NEAR(Tone(4, justBelow), -1.0, 1e-12);
    EXPECT_NEAR(Tone(4, kSplit), -1.0, 1e-12);
    EXPECT_NEAR(Tone(4, end), 1.0, 1e-12);
    // Sine half: −1 up to +1 at the split, back to −1.
    EXPECT_EQ(Tone(5, 0.0), -1.0);
    EXPECT_NEAR(Tone(5, kSplit), 1.0, 1e-12);
    EXPECT_NEAR(Tone(5, end), -1.0, 1e-6);
    // Golden triangle.
    EXPECT_EQ(Tone(6, 0.0), -1.0);
    EXPECT_NEAR(Tone(6, justBelow), 1.0, 1e-6);
    EXPECT_NEAR(Tone(6, kSplit), 1.0, 1e-6);
    EXPECT_NEAR(Tone(6, end), -1.0, 1e-6);
    // Golden square, and any wave index above 7 plays it too.
    EXPECT_EQ(Tone(7, justBelow), 1.0);
    EXPECT_EQ(Tone(7, kSplit), -1.0);
    EXPECT_EQ(Tone(12, kSplit), -1.0);
}

TEST(LfoWaves, ShapesAtChosenPhases)
{
    EXPECT_DOUBLE_EQ(LfoAt(0, kPi / 2), 1.0);
    EXPECT_EQ(LfoAt(1, 0.0), -1.0);
    EXPECT_DOUBLE_EQ(LfoAt(1, kPi), 1.0);
    // Saw: up in the first quarter, down over the other three.
    EXPECT_EQ(LfoAt(2, 0.0), -1.0);
    EXPECT_NEAR(LfoAt(2, kPi / 2), 1.0, 1e-15);
    EXPECT_NEAR(LfoAt(2, kPi), 1.0 / 3.0, 1e-15);
    EXPECT_NEAR(LfoAt(2, std::nextafter(kTwoPi, 0.0)), -1.0, 1e-15);
    // Saw flip: up over three quarters, down in the last.
    EXPECT_EQ(LfoAt(3, 0.0), -1.0);
    EXPECT_NEAR(LfoAt(3, kPi), 1.0 / 3.0, 1e-15);
    EXPECT_NEAR(LfoAt(3, 3 * kPi / 2), 1.0, 1e-15);
    EXPECT_NEAR(LfoAt(3, std::nextafter(kTwoPi, 0.0)), -1.0, 1e-15);
    // Sine half and half flip meet their extremes at π.
    EXPECT_EQ(LfoAt(5, 0.0), -1.0);
    EXPECT_DOUBLE_EQ(LfoAt(5, kPi), 1.0);
    EXPECT_DOUBLE_EQ(LfoAt(6, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(LfoAt(6, kPi), -1.0);
}

TEST(LfoWaves, SquareIsOnePoleSmoothed)
{
    double state = 0.0;
    const double first = Waveforms::LfoValue(4, 1.0, state, Lfo::kSquareSmoothIn, Lfo::kSquareSmoothKeep);
    EXPECT_EQ(first, 0.009999990463256836);
    EXPECT_EQ(state, first);
    const double second = Waveforms::LfoValue(4, 4.0, state, Lfo::kSquareSmoothIn, Lfo::kSquareSmoothKeep);
    EXPECT_EQ(second, -0.009999990463256836 + 0.9900000095367432 * first);
    for (int i = 0; i < 5000; ++i)
        Waveforms::LfoValue(4, 1.0, state, Lfo::kSquareSmoothIn, Lfo::kSquareSmoothKeep);
    EXPECT_NEAR(state, 1.0, 1e-6);
}

TEST(PhaseWrap, OneSubtractionUsuallyFullReductionOtherwise)
{
    // The common case must stay bit-identical to a single subtraction.
    const double p = kTwoPi + 0.123456789;
    EXPECT_EQ(Waveforms::WrapPhase(p), p - kTwoPi);
    EXPECT_EQ(Waveforms::WrapPhase(1.0), 1.0);
    EXPECT_EQ(Waveforms::WrapPhase(kTwoPi), 0.0);

    for (const double big : {2 * kTwoPi, 3 * kTwoPi + 1.0, 1e6, 1e300, -1.0, -1e-300, -7 * kTwoPi})
    {
        const double r = Waveforms::WrapPhase(big);
        EXPECT_GE(r, 0.0) << big;
        EXPECT_LT(r, kTwoPi) << big;
    }
    EXPECT_NEAR(Waveforms::WrapPhase(3 * kTwoPi + 1.0), 1.0, 1e-12);
    EXPECT_EQ(Waveforms::WrapPhase(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(Waveforms::WrapPhase(std::numeric_limits<double>::infinity()), 0.0);

    // The two-lane wrap of the moving pass gives each lane what the one-lane wrap gives.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double cases[] = {0.0,        1.0,   p,    kTwoPi, std::nextafter(kTwoPi, 0.0),
                            2 * kTwoPi, 1e300, -1.0, -0.0,   nan};
    for (const double a : cases)
        for (const double b : cases)
        {
            const Waveforms::Pair wrapped = Waveforms::WrapPhases(Waveforms::Pair{a, b});
            EXPECT_EQ(std::bit_cast<uint64_t>(wrapped[0]), std::bit_cast<uint64_t>(Waveforms::WrapPhase(a)))
                << a;
            EXPECT_EQ(std::bit_cast<uint64_t>(wrapped[1]), std::bit_cast<uint64_t>(Waveforms::WrapPhase(b)))
                << b;
        }
}

namespace
{
// Within two ulps of libm's value; near a zero of the function, within 1e-19 (libm itself is
// not exact there on every platform).
::testing::AssertionResult CloseToLibm(double value, double reference, double phi)
{
    const double tolerance =
        std::max(2.0 * (std::nextafter(std::fabs(reference), 2.0) - std::fabs(reference)), 1e-19);
    if (std::fabs(value - reference) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at " << phi << ": " << value << " vs " << reference;
}
} // namespace

TEST(PolySine, WithinTwoUlpsOfLibmOverThePhaseRange)
{
    std::vector<double> phases;
    for (int i = 0; i <= 100000; ++i)
        phases.push_back(kTwoPi * i / 100000.0);
    for (int k = 0; k <= 4; ++k)
    {
        double below = k * Waveforms::kHalfPi, above = below;
        for (int step = 0; step < 20; ++step)
        {
            phases.push_back(below = std::nextafter(below, 0.0));
            phases.push_back(above = std::nextafter(above, 10.0));
        }
    }
    for (const double phi : phases)
    {
        ASSERT_TRUE(CloseToLibm(PolySine::Sin(phi), std::sin(phi), phi));
        ASSERT_TRUE(CloseToLibm(PolySine::Cos(phi), std::cos(phi), phi));
    }
    // The peaks and zeros that wave shapes and tests lean on come out exactly.
    EXPECT_EQ(PolySine::Sin(0.0), 0.0);
    EXPECT_EQ(PolySine::Sin(Waveforms::kHalfPi), 1.0);
    EXPECT_EQ(PolySine::Sin(Waveforms::kThreeHalfPi), -1.0);
    EXPECT_EQ(PolySine::Cos(0.0), 1.0);
    EXPECT_EQ(PolySine::Cos(kPi), -1.0);
    // Outside its range it is libm's.
    EXPECT_EQ(PolySine::Sin(100.0), std::sin(100.0));
    EXPECT_TRUE(std::isnan(PolySine::Sin(std::numeric_limits<double>::quiet_NaN())));
}

TEST(ToneWaves, SineWavesMatchLibmAtTheRangeEndsAndTheGoldenSplit)
{
    const double end = std::nextafter(kTwoPi, 0.0);
    const double belowSplit = std::nextafter(kSplit, 0.0);
    for (const double phi : {0.0, end, belowSplit, kSplit, std::nextafter(kSplit, kTwoPi)})
    {
        EXPECT_TRUE(CloseToLibm(Tone(0, phi), std::sin(phi), phi));
        const Waveforms::Golden g4 = GoldenFor(4), g5 = GoldenFor(5);
        const double golden = phi < kSplit ? std::cos(phi * g4.a1) : std::cos(phi * g4.a2 + g4.c2);
        EXPECT_TRUE(CloseToLibm(Tone(4, phi), golden, phi));
        const double half = phi < kSplit ? std::sin(phi * g5.a1) : std::sin(phi * g5.a2 + g5.c2);
        EXPECT_TRUE(CloseToLibm(Tone(5, phi), 2.0 * half - 1.0, phi));
    }
    for (const double phi : {0.0, end, kPi, std::nextafter(kPi, 0.0)})
    {
        EXPECT_TRUE(CloseToLibm(LfoAt(0, phi), std::sin(phi), phi));
        EXPECT_TRUE(CloseToLibm(LfoAt(5, phi), 2.0 * std::sin(phi / 2.0) - 1.0, phi));
        EXPECT_TRUE(CloseToLibm(LfoAt(6, phi), 2.0 * std::sin(phi / 2.0 + kPi) + 1.0, phi));
    }
}

// The render loop takes its sines two at a time; each must be the one-at-a-time value to the bit,
// pairing every phase with a partner from another quadrant so the lanes take different paths.
TEST(ToneWaves, PairedSinesEqualSingleOnesBitForBit)
{
    std::vector<double> phases = {0.0, std::nextafter(kTwoPi, 0.0), std::nextafter(kSplit, 0.0), kSplit,
                                  std::nextafter(kSplit, kTwoPi)};
    for (int k = 0; k < 4; ++k)
        for (const double phi : {k * Waveforms::kHalfPi, std::nextafter(k * Waveforms::kHalfPi, 0.0),
                                 std::nextafter(k * Waveforms::kHalfPi, kTwoPi)})
            phases.push_back(std::max(phi, 0.0));
    for (int i = 0; i < 997; ++i)
        phases.push_back(kTwoPi * i / 997.0);
    const auto bits = [](double x) { return std::bit_cast<uint64_t>(x); };
    for (std::size_t i = 0; i < phases.size(); ++i)
    {
        const double a = phases[i];
        const double b = phases[(i * 7 + 3) % phases.size()];
        const Waveforms::Pair ab = {a, b};
        for (const int wave : {0, 4, 5})
        {
            const Waveforms::Pair y = wave == 0   ? Waveforms::TonePair<0>(ab, kSplit, GoldenFor(0))
                                      : wave == 4 ? Waveforms::TonePair<4>(ab, kSplit, GoldenFor(4))
                                                  : Waveforms::TonePair<5>(ab, kSplit, GoldenFor(5));
            ASSERT_EQ(bits(y[0]), bits(Tone(wave, a))) << wave << " " << a;
            ASSERT_EQ(bits(y[1]), bits(Tone(wave, b))) << wave << " " << b;
        }
        for (const int wave : {0, 5, 6})
        {
            const Waveforms::Pair y = wave == 0   ? Waveforms::LfoPair<0>(ab)
                                      : wave == 5 ? Waveforms::LfoPair<5>(ab)
                                                  : Waveforms::LfoPair<6>(ab);
            ASSERT_EQ(bits(y[0]), bits(LfoAt(wave, a))) << wave << " " << a;
            ASSERT_EQ(bits(y[1]), bits(LfoAt(wave, b))) << wave << " " << b;
        }
    }
}
} // namespace tpm
