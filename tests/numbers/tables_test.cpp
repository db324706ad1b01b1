#include <gtest/gtest.h>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-numbers-eisel_lemire.hpp>
#include <qorvi/numbers/implementation-numbers-tables.hpp>

namespace {

using namespace Qorvi::Implementation::Big_Integers;
namespace Tables = Qorvi::Implementation::Numbers::Tables;

Big_Integer from_128(std::uint64_t high, std::uint64_t low) {
    Big_Integer n;
    Set(n, high);
    Multiply_Power_2(n, 64);
    Add(n, low);
    return n;
}

Big_Integer power_of_five(std::int32_t n) {
    Big_Integer p;
    Set(p, 1);
    Multiply_Power_5(p, n);
    return p;
}

Big_Integer power_of_two(std::int32_t n) {
    Big_Integer p;
    Set(p, 1);
    Multiply_Power_2(p, n);
    return p;
}

// b * (high * 2**64 + low): b times each half, the two products added limb by limb.
Big_Integer times(const Big_Integer& b, std::uint64_t high, std::uint64_t low) {
    Big_Integer upper = b;
    Multiply(upper, high);
    Multiply_Power_2(upper, 64);
    Big_Integer lower = b;
    Multiply(lower, low);
    // upper + lower, limb by limb.
    Big_Integer sum = upper;
    std::uint64_t carry = 0;
    for (std::int32_t i = 0; i <= std::max(sum.Last, lower.Last) || carry != 0; ++i) {
        const std::uint64_t a = i <= sum.Last ? sum.Limbs[static_cast<std::size_t>(i)] : 0;
        const std::uint64_t c = i <= lower.Last ? lower.Limbs[static_cast<std::size_t>(i)] : 0;
        const std::uint64_t s1 = a + c;
        const std::uint64_t s2 = s1 + carry;
        carry = (s1 < a ? 1U : 0U) + (s2 < s1 ? 1U : 0U);
        sum.Limbs[static_cast<std::size_t>(i)] = s2;
        sum.Last = std::max(sum.Last, i);
    }
    return sum;
}

struct U128 {
    std::uint64_t high, low;
};
U128 minus_one(U128 v) {
    return {v.low == 0 ? v.high - 1 : v.high, v.low - 1};
}
U128 plus_one(U128 v) {
    return {v.low == ~std::uint64_t{0} ? v.high + 1 : v.high, v.low + 1};
}

TEST(Numbers_Tables, PowersOfFiveMatchExactValues) {
    ASSERT_EQ(Tables::Powers_Of_Five.size(), 651U);
    for (std::int32_t q = -342; q <= 308; ++q) {
        const auto& entry = Tables::Powers_Of_Five[static_cast<std::size_t>(q + 342)];
        ASSERT_NE(entry.High >> 63, 0U) << q; // normalised
        const U128 t{entry.High, entry.Low};
        if (q >= 0) {
            // t * 2**s <= 5**q < (t + 1) * 2**s, or t = 5**q * 2**-s exactly when 5**q is short.
            const Big_Integer p = power_of_five(q);
            const std::int32_t s = Size(p) - 128;
            if (s <= 0) {
                Big_Integer scaled = p;
                Multiply_Power_2(scaled, -s);
                EXPECT_EQ(Compare(from_128(t.high, t.low), scaled), Compare_Kind::EQUAL) << q;
            } else {
                Big_Integer lower = from_128(t.high, t.low);
                Multiply_Power_2(lower, s);
                const U128 t1 = plus_one(t);
                Big_Integer upper = from_128(t1.high, t1.low);
                Multiply_Power_2(upper, s);
                EXPECT_NE(Compare(lower, p), Compare_Kind::GREATER) << q;
                EXPECT_EQ(Compare(p, upper), Compare_Kind::LESS) << q;
            }
        } else {
            // t approximates 2**B / 5**-q, with B chosen so that t has 128 bits: with
            // L = floor(2**B / 5**-q), t is L or L + 1, that is
            // (t - 1) * 5**-q <= 2**B < (t + 1) * 5**-q; for q >= -27, t = L + 1 exactly.
            const Big_Integer p = power_of_five(-q);
            // 2**(z + 127) / 5**-q has 128 bits when z is the bit length of 5**-q.
            const Big_Integer two_b = power_of_two(Size(p) + 127);
            const U128 t1 = plus_one(t);
            const U128 t0 = minus_one(t);
            EXPECT_NE(Compare(times(p, t0.high, t0.low), two_b), Compare_Kind::GREATER) << q;
            EXPECT_EQ(Compare(two_b, times(p, t1.high, t1.low)), Compare_Kind::LESS) << q;
            if (q >= -27) { // rounded up: t - 1 < 2**B / 5**-q < t
                EXPECT_EQ(Compare(times(p, t0.high, t0.low), two_b), Compare_Kind::LESS) << q;
                EXPECT_EQ(Compare(two_b, times(p, t.high, t.low)), Compare_Kind::LESS) << q;
            }
        }
    }
    // Two published values.
    EXPECT_EQ(Tables::Powers_Of_Five[343].High, 0xA000000000000000U); // q = 1
    EXPECT_EQ(Tables::Powers_Of_Five[343].Low, 0U);
    EXPECT_EQ(Tables::Powers_Of_Five[341].High, 0xCCCCCCCCCCCCCCCCU); // q = -1
    EXPECT_EQ(Tables::Powers_Of_Five[341].Low, 0xCCCCCCCCCCCCCCCDU);
}

TEST(Numbers_Tables, SmallTablesAreExact) {
    namespace EL = Qorvi::Implementation::Numbers::Eisel_Lemire;
    for (std::int32_t k = 0; k <= 22; ++k) {
        // m * 2**e of the double equals 10**k.
        const EL::Binary_Value v =
            EL::Decode_IEEE_Float(Tables::Exact_Powers_Of_10[static_cast<std::size_t>(k)]);
        std::uint64_t mantissa = v.Mantissa;
        std::int32_t exponent = v.Exponent;
        for (; exponent < 0 && mantissa % 2 == 0; ++exponent) {
            mantissa /= 2;
        }
        ASSERT_GE(exponent, 0) << k; // an integer
        Big_Integer value;
        Set(value, mantissa);
        Multiply_Power_2(value, exponent);
        Big_Integer ten;
        Set(ten, 1);
        for (int i = 0; i < k; ++i) {
            Multiply(ten, 10);
        }
        EXPECT_EQ(Compare(value, ten), Compare_Kind::EQUAL) << k;
    }
    std::uint64_t power = 1;
    for (std::size_t k = 0; k < Tables::Powers_Of_10_U64.size(); ++k, power *= 10) {
        EXPECT_EQ(Tables::Powers_Of_10_U64[k], power);
    }
    power = 1;
    for (std::size_t k = 0; k < Tables::Powers_Of_5_U64.size(); ++k, power *= 5) {
        EXPECT_EQ(Tables::Powers_Of_5_U64[k], power);
    }
    Big_Integer five_135;
    Set(five_135, 1);
    for (int i = 0; i < 135; ++i) {
        Multiply(five_135, 5);
    }
    ASSERT_EQ(five_135.Last, 4);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(Tables::Power_Of_5_135[i], five_135.Limbs[i]);
    }
}

} // namespace
