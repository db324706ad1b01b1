#include <cstdint>
#include <gtest/gtest.h>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <vector>

namespace {

using namespace Qorvi::Implementation::Big_Integers;

// A plain reference: 32-bit words, least significant first, grown as needed.
using Reference = std::vector<std::uint32_t>;

void reference_multiply(Reference& n, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& word : n) {
        const std::uint64_t value = std::uint64_t{word} * factor + carry;
        word = static_cast<std::uint32_t>(value);
        carry = value >> 32;
    }
    if (carry != 0) {
        n.push_back(static_cast<std::uint32_t>(carry));
    }
}

int reference_bits(Reference ref) {
    while (!ref.empty() && ref.back() == 0) {
        ref.pop_back();
    }
    int bits = static_cast<int>(ref.size()) * 32;
    for (std::uint32_t top = ref.empty() ? 0 : ref.back(); top < 0x80000000U && bits > 0;
         top <<= 1) {
        --bits;
    }
    return bits;
}

// Compares a Big_Integer limb by limb with the reference value.
void expect_same(const Big_Integer& big, Reference ref) {
    while (!ref.empty() && ref.back() == 0) {
        ref.pop_back();
    }
    if (ref.size() % 2 != 0) {
        ref.push_back(0);
    }
    ASSERT_EQ(big.Last + 1, static_cast<std::int32_t>(ref.size() / 2));
    for (std::size_t i = 0; i < ref.size() / 2; ++i) {
        EXPECT_EQ(big.Limbs[i], std::uint64_t{ref[2 * i]} | (std::uint64_t{ref[2 * i + 1]} << 32))
            << "limb " << i;
    }
}

Big_Integer two_limbs(std::uint64_t high, std::uint64_t low) {
    Big_Integer n;
    Set(n, high);
    Multiply_Power_2(n, 64);
    Add(n, low);
    return n;
}

const std::uint64_t high = 0x9E3779B97F4A7C15U;
const std::uint64_t low = 0xF39CC0605CEDC834U;
const Reference two_limb_reference{0x5CEDC834U, 0xF39CC060U, 0x7F4A7C15U, 0x9E3779B9U};

TEST(Big_Integers, PowersOfFiveAndTwoOfATwoLimbValueAreExact) {
    // 300 crosses the 5**135 product twice and the 5**27 step; 200 moves whole limbs and bits.
    Big_Integer n = two_limbs(high, low);
    Multiply_Power_5(n, 300);
    Reference ref = two_limb_reference;
    for (int i = 0; i < 300; ++i) {
        reference_multiply(ref, 5);
    }
    expect_same(n, ref);
    Multiply_Power_2(n, 200);
    for (int i = 0; i < 200; ++i) {
        reference_multiply(ref, 2);
    }
    expect_same(n, ref);
    EXPECT_EQ(Size(n), reference_bits(ref));
}

TEST(Big_Integers, PowerOfTenIsFivesThenTwos) {
    Big_Integer n = two_limbs(high, low);
    Multiply_Power_10(n, 345);
    Reference ref = two_limb_reference;
    for (int i = 0; i < 345; ++i) {
        reference_multiply(ref, 10);
    }
    expect_same(n, ref);
}

TEST(Big_Integers, CarriesGrowTheValue) {
    Big_Integer n = two_limbs(~std::uint64_t{0}, ~std::uint64_t{0});
    Add(n, 1);
    expect_same(n, {0, 0, 0, 0, 1});
    Big_Integer m = two_limbs(~std::uint64_t{0}, ~std::uint64_t{0});
    Multiply(m, ~std::uint64_t{0}); // (2**128 - 1)(2**64 - 1)
    expect_same(m, {1, 0, 0xFFFFFFFFU, 0xFFFFFFFFU, 0xFFFFFFFEU, 0xFFFFFFFFU});
    Multiply(m, 0);
    EXPECT_EQ(m.Last, -1);
    Big_Integer zero;
    Multiply_Power_5(zero, 500);
    Multiply_Power_2(zero, 500);
    EXPECT_EQ(zero.Last, -1);
    Add(zero, 7);
    expect_same(zero, {7});
}

TEST(Big_Integers, CompareLooksAtTheLengthThenTheLimbsFromTheTop) {
    const Big_Integer a = two_limbs(5, 0);
    const Big_Integer b = two_limbs(4, ~std::uint64_t{0});
    Big_Integer c;
    Set(c, ~std::uint64_t{0});
    EXPECT_EQ(Compare(a, b), Compare_Kind::GREATER);
    EXPECT_EQ(Compare(b, a), Compare_Kind::LESS);
    EXPECT_EQ(Compare(c, b), Compare_Kind::LESS);
    EXPECT_EQ(Compare(a, two_limbs(5, 0)), Compare_Kind::EQUAL);
    EXPECT_EQ(Compare(Big_Integer{}, Big_Integer{}), Compare_Kind::EQUAL);
    EXPECT_EQ(Compare(Big_Integer{}, c), Compare_Kind::LESS);
}

TEST(Big_Integers, HighBitsSizeAndNonZero) {
    Big_Integer one;
    Set(one, 1);
    EXPECT_EQ(Get_High_64(one).Bits, std::uint64_t{1} << 63);
    EXPECT_FALSE(Get_High_64(one).Truncated);
    EXPECT_EQ(Size(one), 1);
    EXPECT_EQ(Size(Big_Integer{}), 0);

    Big_Integer n = two_limbs(0x3, 0xC000000000000001U); // 0b11 1100...0001
    EXPECT_EQ(Get_High_64(n).Bits, 0xF000000000000000U);
    EXPECT_TRUE(Get_High_64(n).Truncated); // the lowest bit
    EXPECT_EQ(Size(n), 66);

    Big_Integer exact = two_limbs(0x3, 0xC000000000000000U);
    EXPECT_FALSE(Get_High_64(exact).Truncated);

    // A set bit far below the top two limbs.
    Big_Integer far;
    Set(far, 1);
    Multiply_Power_2(far, 320);
    Add(far, 1);
    EXPECT_EQ(Get_High_64(far).Bits, std::uint64_t{1} << 63);
    EXPECT_TRUE(Get_High_64(far).Truncated);
    EXPECT_TRUE(Non_Zero(far, 1));
    EXPECT_TRUE(Non_Zero(far, 5)); // limb 0 is below the top five
    EXPECT_FALSE(Non_Zero(far, 6));
    Big_Integer top_only;
    Set(top_only, 1);
    Multiply_Power_2(top_only, 320);
    EXPECT_FALSE(Non_Zero(top_only, 1));
    EXPECT_FALSE(Get_High_64(top_only).Truncated);
}

TEST(Big_Integers, CapacityIsEnforced) {
    Big_Integer n;
    Set(n, 1);
    Multiply_Power_2(n, 250 * 64 - 1); // the top bit of the last limb
    EXPECT_EQ(Size(n), 16000);
    EXPECT_THROW(Multiply(n, 2), Qorvi::Constraint_Error);
    Big_Integer m;
    Set(m, 1);
    EXPECT_THROW(Multiply_Power_2(m, 16000), Qorvi::Constraint_Error);
    Big_Integer k;
    Set(k, 1);
    EXPECT_THROW(Multiply_Power_5(k, 7000), Qorvi::Constraint_Error); // 16,254 bits
    EXPECT_THROW(Multiply_Power_2(k, -1), Qorvi::Constraint_Error);
}

} // namespace
