// Sine and cosine for the engine's phases, within about 1.5 ulp of the true value and several
// times cheaper than libm: the oscillators and LFOs call them two to four times a frame.
// The argument is reduced to r in [−π/4, π/4] around the nearest multiple n of π/2, and one of
// two polynomials, picked by table rather than by branch, gives ±sin r or ±cos r. 0, π/2, π and
// 3π/2 come out as libm gives them (0 and ±1 exactly). Arguments beyond ±10 (the engine's phases
// lie in [0, 2π]) and NaN go to libm. The steps are laid out for short dependency chains, which
// is what bounds the render loop's speed.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <emmintrin.h>

namespace tpm
{
class PolySine
{
  public:
    static double Sin(double x) { return InFastRange(x) ? Quadrant(x, 0) : std::sin(x); }
    static double Cos(double x) { return InFastRange(x) ? Quadrant(x, 1) : std::cos(x); }
    // Without the range check, for arguments known to lie within ±10, such as the engine's
    // wrapped phases. Outside that the value is wrong but the computation stays defined (no
    // conversion to integer, table indices masked).
    static double SinOfPhase(double x) { return Quadrant(x, 0); }
    static double CosOfPhase(double x) { return Quadrant(x, 1); }
    // Two phases at once, each giving exactly what the one-phase form gives: the two oscillators
    // of a frame, or two LFO frames, share one pass of two-lane vector arithmetic (SSE2 on any
    // x86-64), which nearly halves the cost of a sine.
    using Pair = double __attribute__((vector_size(16)));
    using PairBits = long long __attribute__((vector_size(16)));
    static Pair SinOfPhases(Pair x) { return QuadrantPair(x, 0); }
    static Pair CosOfPhases(Pair x) { return QuadrantPair(x, 1); }

  private:
    static constexpr double kTwoOverPi = 0.6366197723675814;
    // Adding 1.5 × 2^52 rounds to an integer, which then sits in the low bits of the sum.
    static constexpr double kRoundingShift = 6755399441055744.0;
    // π/2 = kHalfPi1 + kHalfPi2 to about 2^-105. kHalfPi1 ends in three zero bits, so n × kHalfPi1
    // is exact for n < 8, and x − n × kHalfPi1 is exact wherever the result is small.
    static constexpr double kHalfPi1 = 1.5707963267948966;
    static constexpr double kHalfPi2 = 6.123233995736766e-17;

    // Minimax fits on [−π/4, π/4], relative error below 2^-64, with z = r²:
    // sin r = r + r·z·P(z) (row 0) and cos r = 1 + z·P(z) (row 1). Rows padded to 8 entries.
    static constexpr double kPoly[2][8] = {
        {-0.16666666666666666, 0.008333333333333323, -0.000198412698412548, 2.7557319214064917e-06,
         -2.5052104881869766e-08, 1.6058363167205236e-10, -7.578540404651589e-13, 0.0},
        {-0.5, 0.04166666666666647, -0.0013888888888862, 2.480158728409459e-05, -2.7557313117283363e-07,
         2.087558212611201e-09, -1.1353281208621895e-11, 0.0},
    };
    // Lead term per quadrant, constant + r × factor, all exact: r, 1, −r, −1. With it the
    // polynomial's result carries the quadrant's sign: a + a·z·P(z) is odd in a.
    static constexpr double kLeadConstant[4] = {0.0, 1.0, -0.0, -1.0};
    static constexpr double kLeadOfR[4] = {1.0, 0.0, -1.0, -0.0};

    // Quadrant for two arguments. Each lane's coefficients and lead term come from one table
    // entry picked by both lanes' quadrants, so every lane repeats the one-argument steps exactly
    // while the pair evaluates one polynomial, not both.
    static Pair QuadrantPair(Pair x, int shift)
    {
        const Pair shifted = x * kTwoOverPi + kRoundingShift;
        const Pair n = shifted - kRoundingShift;
        // Both quadrants' two bits gathered by moving each bit into the sign position.
        const __m128i quadrants = _mm_add_epi64(std::bit_cast<__m128i>(shifted), _mm_set1_epi64x(shift));
        const int lowBits = _mm_movemask_pd(_mm_castsi128_pd(_mm_slli_epi64(quadrants, 63)));
        const int highBits = _mm_movemask_pd(_mm_castsi128_pd(_mm_slli_epi64(quadrants, 62)));
        const PairCoefficients& c = kPairTable[static_cast<unsigned>(lowBits | highBits << 2)];
        const Pair r = (x - n * kHalfPi1) - n * kHalfPi2;
        const Pair z = r * r;
        const Pair z2 = z * z;
        const Pair z4 = z2 * z2;
        const Pair low = (c.poly[0] + z * c.poly[1]) + z2 * (c.poly[2] + z * c.poly[3]);
        const Pair high = (c.poly[4] + z * c.poly[5]) + z2 * c.poly[6];
        const Pair poly = low + z4 * high;
        const Pair lead = c.leadConstant + r * c.leadOfR;
        return lead + lead * z * poly;
    }
    // One entry per pair of quadrants. Index bits: the low quadrant bit of lanes 0 and 1, then
    // the high bit of lanes 0 and 1.
    struct PairCoefficients
    {
        Pair poly[7];
        Pair leadConstant;
        Pair leadOfR;
    };
    struct PairTable
    {
        PairCoefficients entry[16];
        constexpr const PairCoefficients& operator[](unsigned i) const { return entry[i]; }
    };
    static constexpr PairTable MakePairTable()
    {
        PairTable t{};
        for (unsigned i = 0; i < 16; ++i)
        {
            const unsigned q0 = (i & 1u) | (i >> 1 & 2u);
            const unsigned q1 = (i >> 1 & 1u) | (i >> 2 & 2u);
            for (int k = 0; k < 7; ++k)
                t.entry[i].poly[k] = Pair{kPoly[q0 & 1u][k], kPoly[q1 & 1u][k]};
            t.entry[i].leadConstant = Pair{kLeadConstant[q0], kLeadConstant[q1]};
            t.entry[i].leadOfR = Pair{kLeadOfR[q0], kLeadOfR[q1]};
        }
        return t;
    }
    static const PairTable kPairTable;

    // False for NaN too.
    static bool InFastRange(double x) { return std::fabs(x) <= 10.0; }

    // sin(x + shift × π/2), accurate for x in the fast range.
    static double Quadrant(double x, int shift)
    {
        const double shifted = x * kTwoOverPi + kRoundingShift;
        const double n = shifted - kRoundingShift;
        const int quadrant = (static_cast<int>(std::bit_cast<uint64_t>(shifted)) + shift) & 3;
        const double r = (x - n * kHalfPi1) - n * kHalfPi2;
        const double* p = kPoly[quadrant & 1];
        // Estrin's scheme: three short chains instead of one long Horner chain.
        const double z = r * r;
        const double z2 = z * z;
        const double z4 = z2 * z2;
        const double low = (p[0] + z * p[1]) + z2 * (p[2] + z * p[3]);
        const double high = (p[4] + z * p[5]) + z2 * p[6];
        const double poly = low + z4 * high;
        const double lead = kLeadConstant[quadrant] + r * kLeadOfR[quadrant];
        return lead + lead * z * poly;
    }
};

inline constexpr PolySine::PairTable PolySine::kPairTable = PolySine::MakePairTable();
} // namespace tpm
