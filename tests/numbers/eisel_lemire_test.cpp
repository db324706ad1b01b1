#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-numbers-clinger.hpp>
#include <qorvi/numbers/implementation-numbers-eisel_lemire.hpp>
#include <qorvi/numbers/implementation-numbers.hpp>

namespace {

using namespace Qorvi::Implementation::Numbers;
namespace EL = Eisel_Lemire;
namespace Big = Qorvi::Implementation::Big_Integers;

std::uint64_t bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

TEST(Eisel_Lemire, ConvertGivesMantissaAndBiasedExponent) {
    EXPECT_EQ(EL::Convert(1, 0), (Decoded_Float{0, 1023}));
    // 2**53 + 1 is an exact tie between 2**53 and 2**53 + 2: even wins.
    EXPECT_EQ(EL::Convert(9007199254740993U, 0), (Decoded_Float{0, 1076}));
    EXPECT_EQ(EL::Convert(9007199254740995U, 0), (Decoded_Float{2, 1076}));
    EXPECT_EQ(EL::Convert(5, -1), (Decoded_Float{0, 1022}));   // 0.5
    EXPECT_EQ(EL::Convert(18, 307), (Decoded_Float{0, 2047})); // infinity
    EXPECT_EQ(EL::Convert(1, -342), (Decoded_Float{0, 0}));    // below every subnormal
    EXPECT_EQ(EL::Convert(49406564584124654U, -340), (Decoded_Float{1, 0})); // 4.94...e-324
    EXPECT_THROW(EL::Convert(1, 309), Qorvi::Constraint_Error);
    EXPECT_THROW(EL::Convert(1, -343), Qorvi::Constraint_Error);
}

TEST(Eisel_Lemire, ExponentToPowerIsFloorOfLog2OfTenPlus63) {
    EXPECT_EQ(EL::Exponent_To_Power(0), 63);
    EXPECT_EQ(EL::Exponent_To_Power(1), 66);
    EXPECT_EQ(EL::Exponent_To_Power(-1), 59);
    // floor(q log2 10): for q > 0 one less than the bit length of 10**q, for q < 0 minus the
    // bit length of 10**-q.
    for (std::int32_t q = -342; q <= 308; ++q) {
        Big::Big_Integer ten;
        Big::Set(ten, 1);
        Big::Multiply_Power_10(ten, q < 0 ? -q : q);
        const std::int32_t floor_log = q > 0 ? Big::Size(ten) - 1 : (q == 0 ? 0 : -Big::Size(ten));
        EXPECT_EQ(EL::Exponent_To_Power(q), floor_log + 63) << q;
    }
    EXPECT_THROW(EL::Exponent_To_Power(9865), Qorvi::Constraint_Error);
}

TEST(Eisel_Lemire, DecodeAndHalfway) {
    EXPECT_EQ(EL::Decode_IEEE_Float(1.0), (EL::Binary_Value{std::uint64_t{1} << 52, -52}));
    EXPECT_EQ(EL::Decode_IEEE_Float(std::numeric_limits<double>::denorm_min()),
              (EL::Binary_Value{1, -1074}));
    EXPECT_EQ(EL::Decode_IEEE_Float(0.0), (EL::Binary_Value{0, -1074}));
    EXPECT_EQ(EL::Halfway(1.0), (EL::Binary_Value{(std::uint64_t{1} << 53) + 1, -53}));
    EXPECT_EQ(EL::Halfway(0.0), (EL::Binary_Value{1, -1075})); // half the smallest subnormal
}

TEST(Eisel_Lemire, UndecidedResultsHaveANegativePower) {
    const Decoded_Float a = EL::Compute_Error(-300, 123456789012345678U);
    EXPECT_LT(a.Power, 0);
    EXPECT_NE(a.Mantissa >> 63, 0U); // the extended mantissa is normalised
}

TEST(Eisel_Lemire, DigitComparisonDecidesAroundHalfwayPoints) {
    // 2**53 + 1 exactly: a tie, to even. Slightly more (a digit far below): up.
    Big::Big_Integer big;
    Big::Set(big, 9007199254740993U);
    EXPECT_EQ(EL::Scale_Positive(big, 0), (Decoded_Float{0, 1076}));
    Big::Set(big, 90071992547409931U);
    Decoded_Float approximation = EL::Compute_Error(-1, 90071992547409931U);
    approximation.Power += EL::Undecided_Bias;
    EXPECT_EQ(EL::Scale_Negative(big, -1, approximation), (Decoded_Float{1, 1076}));
    Big::Set(big, 90071992547409929U); // slightly less: down
    approximation = EL::Compute_Error(-1, 90071992547409929U);
    approximation.Power += EL::Undecided_Bias;
    EXPECT_EQ(EL::Scale_Negative(big, -1, approximation), (Decoded_Float{0, 1076}));
    // Past the largest double: 1.8e308 rounds to infinity.
    Big::Set(big, 18);
    EXPECT_EQ(EL::Scale_Positive(big, 307), (Decoded_Float{0, 2047}));
}

TEST(Clinger, FastPathOnlyForExactOperands) {
    EXPECT_EQ(Clinger::Convert(123, 2).Value, 12300.0);
    EXPECT_EQ(Clinger::Convert(125, -1).Value, 12.5);
    EXPECT_EQ(bits(Clinger::Convert(1, -22).Value), bits(1e-22));
    EXPECT_EQ(bits(Clinger::Convert((std::uint64_t{1} << 53) - 1, 22).Value),
              bits(9007199254740991e22));
    EXPECT_FALSE(Clinger::Convert(std::uint64_t{1} << 53, 0).Success);
    EXPECT_FALSE(Clinger::Convert(1, 23).Success);
    EXPECT_FALSE(Clinger::Convert(1, -23).Success);
}

TEST(Encode_IEEE_Float, AssemblesTheBits) {
    EXPECT_EQ(Encode_IEEE_Float(0, 1023, false), 1.0);
    EXPECT_EQ(bits(Encode_IEEE_Float(0, 0, true)), bits(-0.0));
    EXPECT_EQ(Encode_IEEE_Float(1, 0, false), std::numeric_limits<double>::denorm_min());
    // Only the low 52 bits of the mantissa count (a subnormal rounded up to the smallest
    // normal number carries bit 52).
    EXPECT_EQ(Encode_IEEE_Float(std::uint64_t{1} << 52, 1, false),
              std::numeric_limits<double>::min());
    EXPECT_EQ(Encode_IEEE_Float((std::uint64_t{1} << 52) - 1, 2046, true),
              -std::numeric_limits<double>::max());
    EXPECT_TRUE(std::isinf(Encode_IEEE_Float(0, 2047, false)));
    EXPECT_THROW(Encode_IEEE_Float(0, -1, false), Qorvi::Constraint_Error);
    EXPECT_THROW(Encode_IEEE_Float(0, 2048, false), Qorvi::Constraint_Error);
}

} // namespace
