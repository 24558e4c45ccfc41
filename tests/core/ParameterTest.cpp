#include "core/Parameter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace tpm
{
namespace
{
std::unique_ptr<Parameter> Enum(int count)
{
    auto p = std::make_unique<Parameter>();
    p->DefineEnum("Wave", 0, count, "");
    return p;
}
} // namespace

TEST(ParameterDefinition, KindIsSetOnlyOnceAndRangeIsNeverEmpty)
{
    Parameter p;
    p.DefineEnum("E", 1, 3, "");
    p.DefineDouble("E", 0.0, 0.0, 10.0, 0.1, "");
    EXPECT_EQ(p.GetKind(), Parameter::kEnum);

    Parameter empty;
    empty.DefineDouble("x", 0.0, 0.0, 0.0, 1.0, "");
    EXPECT_EQ(empty.Max(), 1.0);

    Parameter notClamped;
    notClamped.DefineInt("x", 500, 0, 100, "");
    EXPECT_EQ(notClamped.Value(), 500.0);
}

TEST(ParameterDefinition, PrecisionFollowsTheStep)
{
    const std::pair<double, int> cases[] = {{0.1, 1}, {0.01, 2}, {0.5, 1}, {1.0, 0}, {0.25, 2}, {1e-9, 6}};
    for (auto [step, places] : cases)
    {
        Parameter p;
        p.DefineDouble("x", 0.0, 0.0, 1.0, step, "");
        EXPECT_EQ(p.DisplayPrecision(), places) << step;
    }
}

TEST(ParameterDefinition, CurveZeroIsIgnoredAndNamesAreCutToTheirField)
{
    Parameter p;
    p.SetCurve(2.0);
    p.SetCurve(0.0);
    EXPECT_EQ(p.Shape(), 2.0);

    const std::string longName(100, 'n');
    p.DefineDouble(longName.c_str(), 0.0, 0.0, 1.0, 1.0, longName.c_str());
    EXPECT_EQ(std::string(p.Name()), std::string(31, 'n'));
    EXPECT_EQ(std::string(p.Label()), std::string(31, 'n'));
}

TEST(ParameterMapping, CurveBendsTheNormalisedScale)
{
    Parameter freq;
    freq.DefineDouble("Base Freq", 200.0, 20.0, 20000.0, 0.1, "Hz");
    freq.SetCurve(2.0);
    EXPECT_DOUBLE_EQ(freq.GetNormalized(), std::sqrt(180.0 / 19980.0));
    EXPECT_DOUBLE_EQ(freq.FromNormalized(0.5), 0.25 * 19980.0 + 20.0);
    // Double parameters are not rounded to their step.
    freq.SetNormalized(0.5);
    EXPECT_DOUBLE_EQ(freq.Value(), 5015.0);
    freq.SetNormalized(0.123456);
    EXPECT_DOUBLE_EQ(freq.Value(), 0.123456 * 0.123456 * 19980.0 + 20.0);

    // Limited before mapping; not-a-number counts as the minimum.
    EXPECT_EQ(freq.ToNormalized(1e9), 1.0);
    EXPECT_EQ(freq.ToNormalized(-5.0), 0.0);
    EXPECT_EQ(freq.ToNormalized(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(ParameterMapping, WholeNumberKindsRoundToTheirStep)
{
    Parameter i;
    i.DefineInt("x", 0, 20, 20000, "");
    i.SetNormalized(0.5);
    EXPECT_EQ(i.Value(), 10010.0);

    const auto owned = Enum(3);
    Parameter& e = *owned;
    e.SetNormalized(0.6);
    EXPECT_EQ(e.Value(), 1.0);
    e.SetNormalized(0.75);
    EXPECT_EQ(e.Value(), 2.0);
    e.SetNormalized(1.0);
    EXPECT_EQ(e.Value(), 2.0);
    e.SetNormalized(1.7);
    EXPECT_EQ(e.Value(), 2.0);

    Parameter none; // kind none rounds like the whole-number kinds
    none.SetNormalized(0.4);
    EXPECT_EQ(none.Value(), 0.0);
    none.SetNormalized(0.5);
    EXPECT_EQ(none.Value(), 1.0);
}

TEST(ParameterMapping, HostValuesOutsideTheScaleAreMadeSafe)
{
    Parameter fade;
    fade.DefineInt("Fade", 1000, 1, 90000, "ms");
    fade.SetNormalized(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(fade.Value(), 1000.0);
    fade.SetNormalized(-0.5);
    EXPECT_EQ(fade.Value(), 1.0);

    Parameter curved;
    curved.DefineInt("Rate", 2000, 60, 64000, "ms");
    curved.SetCurve(2.0);
    curved.SetNormalized(-1.0); // squared it would land inside the range
    EXPECT_EQ(curved.Value(), 60.0);
}

// The product's own texts are tested through it (tests/product); here what only a definition shows.
TEST(ParameterDisplay, TheFirstTextOfAValueWinsAndAnEmptyOneShowsTheNumber)
{
    const auto owned = Enum(8);
    Parameter& wave = *owned;
    wave.AddValueText(2, "Square");
    wave.AddValueText(2, "Other");
    wave.AddValueText(3, "");
    EXPECT_EQ(wave.FormatDisplay(2.0, false), "Square");
    EXPECT_EQ(wave.FormatDisplay(3.0, false), "3");
    EXPECT_EQ(wave.FormatDisplay(5.0, false), "5");
}

TEST(ParameterDisplay, ParsingTextsAndLeadingNumbers)
{
    const auto owned = Enum(8);
    Parameter& wave = *owned;
    wave.AddValueText(2, "Square");
    EXPECT_EQ(wave.ParseDisplay("Square"), 2.0);
    EXPECT_EQ(wave.ParseDisplay("square"), 0.0);
    EXPECT_EQ(wave.ParseDisplay("Square "), 0.0);

    Parameter p;
    EXPECT_EQ(p.ParseDisplay("440.5 Hz"), 440.5);
    EXPECT_EQ(p.ParseDisplay("  -12"), -12.0);
    EXPECT_EQ(p.ParseDisplay("+3.5e2x"), 350.0);
    EXPECT_EQ(p.ParseDisplay(".25"), 0.25);
    EXPECT_EQ(p.ParseDisplay("1e"), 1.0);
    EXPECT_EQ(p.ParseDisplay("0.30000000000000004"), 0.30000000000000004);
    EXPECT_EQ(p.ParseDisplay("nan"), 0.0);
    EXPECT_EQ(p.ParseDisplay("inf"), 0.0);
    EXPECT_EQ(p.ParseDisplay("0x10"), 0.0);
    EXPECT_EQ(p.ParseDisplay(""), 0.0);
    EXPECT_EQ(p.ParseDisplay(nullptr), 0.0);
    EXPECT_EQ(p.ParseDisplay("1e999"), 0.0); // out of range reads as nothing rather than infinity
}
} // namespace tpm
