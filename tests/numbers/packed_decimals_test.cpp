#include <bit>
#include <gtest/gtest.h>
#include <iterator>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-packed_decimals.hpp>
#include <string>
#include <vector>

namespace {

using namespace Qorvi::Implementation::Packed_Decimals;
namespace Big = Qorvi::Implementation::Big_Integers;

// Adds the digits of a text such as "123.456" (no sign, no exponent) to D.
void append(Packed_Decimal& d, const std::string& text) {
    bool fraction = false;
    for (const char c : text) {
        if (c == '.') {
            Append_Decimal_Point(d);
            fraction = true;
        } else if (fraction) {
            Append_Fractional(d, static_cast<std::uint32_t>(c - '0'));
        } else {
            Append_Integral(d, static_cast<std::uint32_t>(c - '0'));
        }
    }
}

// A decimal holding the digits of a text such as "123.456".
Packed_Decimal make(const std::string& text) {
    Packed_Decimal d;
    append(d, text);
    return d;
}

// A word holding the digits of text (up to 16), the first in the lowest four bits.
std::uint64_t word_of(const std::string& text) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        word |= static_cast<std::uint64_t>(text[i] - '0') << (4 * i);
    }
    return word;
}

// The integer of a digit string, one digit at a time (another path than the grouped reading).
Big::Big_Integer big_of(const std::string& digits) {
    Big::Big_Integer n;
    for (const char c : digits) {
        Big::Multiply(n, 10);
        Big::Add(n, static_cast<std::uint64_t>(c - '0'));
    }
    return n;
}

TEST(Packed_Decimals, GroupValueReadsTheFirstDigitsOfAWord) {
    const std::string digits = "9081726354453627";
    const std::uint64_t word = word_of(digits);
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(Group_Value(word, k), std::stoull(digits.substr(0, static_cast<std::size_t>(k))))
            << k;
    }
    EXPECT_EQ(Group_Value(word_of("9999999999999999"), 16), 9999999999999999U);
    EXPECT_EQ(Group_Value(word_of("0000000000000001"), 16), 1U);
    // Positions above the count are ignored, whatever they hold.
    EXPECT_EQ(Group_Value(word_of("1200000000000000") | (~std::uint64_t{0} << 8), 2), 12U);
}

TEST(Packed_Decimals, LeadingZerosOfAPureFractionOnlyMoveTheExponent) {
    const Packed_Decimal d = make("0.000123");
    EXPECT_EQ(d.Integral_Digits, 0);
    EXPECT_EQ(d.Exponent_Adjust, -3);
    EXPECT_EQ(d.Fractional_Digits, 3);
    EXPECT_EQ(Stored_Digit(d, 0), 1U);
    EXPECT_EQ(Stored_Digit(d, 1), 2U);
    EXPECT_EQ(Stored_Digit(d, 2), 3U);
    const Leading_Digits lead = Decode_As_Integer(d);
    EXPECT_EQ(lead.W, 123U);
    EXPECT_EQ(lead.Scale, -6);
    EXPECT_FALSE(lead.Inexact);
}

TEST(Packed_Decimals, TrailingZerosOfTheFractionAreNotSignificant) {
    const Packed_Decimal d = make("1.50");
    EXPECT_EQ(d.Fractional_Digits, 2);
    EXPECT_EQ(Significant_Fraction(d), 1);
    const Leading_Digits lead = Decode_As_Integer(d);
    EXPECT_EQ(lead.W, 15U);
    EXPECT_EQ(lead.Scale, -1);
    EXPECT_FALSE(lead.Inexact);
}

TEST(Packed_Decimals, TrailingZerosAreCountedAcrossWords) {
    // The last non-zero digit in an earlier word, in the word being filled, or nowhere; before
    // and after Flush, which writes the count to its field.
    struct Case {
        std::string fraction;
        std::int32_t significant;
    };
    const Case cases[] = {
        {"5" + std::string(20, '0'), 1},
        {std::string(15, '0') + "7" + std::string(16, '0'), 16},
        {std::string(16, '1') + std::string(16, '0') + "00", 16},
        {std::string(20, '2') + "30", 21},
        {std::string(40, '0'), 0},
    };
    for (const Case& c : cases) {
        Packed_Decimal d = make("3." + c.fraction);
        EXPECT_EQ(Significant_Fraction(d), c.significant) << c.fraction;
        Flush(d);
        EXPECT_EQ(d.Significant_Fractional_Digits, c.significant) << c.fraction;
        EXPECT_EQ(Significant_Fraction(d), c.significant) << c.fraction;
    }
    // The integer part's digits lie below the fraction's first ones in the word being filled;
    // its zeros are not the fraction's.
    EXPECT_EQ(Significant_Fraction(make("100.00")), 0);
    EXPECT_EQ(Significant_Fraction(make("100.020")), 2);
    EXPECT_EQ(Decode_As_Integer(make("100.020")).W, 10002U);
}

TEST(Packed_Decimals, DecodeAsIntegerTakesNineteenDigits) {
    struct Case {
        const char* text;
        std::uint64_t w;
        std::int32_t scale;
        bool inexact;
    };
    const Case cases[] = {
        {"1234567890123456789012345", 1234567890123456789U, 6, true},
        {"1000000000000000000000000", 1000000000000000000U, 6, true}, // counted, not looked at
        {"1234567890.123456789012345", 1234567890123456789U, -9, true},
        {"12345678901234567.89", 1234567890123456789U, -2, false},
        {"12345678901234567.890000", 1234567890123456789U, -2, false},
        {"0.00000000000000000000001234567890123456789", 1234567890123456789U, -41, false},
        {"17.00000000000000000001", 1700000000000000000U, -17, true},
        {"0", 0U, 0, false},
        {"000.000", 0U, -3, false},
        {"9999999999999999999", 9999999999999999999U, 0, false},
    };
    for (const Case& c : cases) {
        const Leading_Digits lead = Decode_As_Integer(make(c.text));
        EXPECT_EQ(lead.W, c.w) << c.text;
        EXPECT_EQ(lead.Scale, c.scale) << c.text;
        EXPECT_EQ(lead.Inexact, c.inexact) << c.text;
    }
}

TEST(Packed_Decimals, DecodeAsBigIntegerTakesEverySignificantDigit) {
    const std::string integral = "31415926535897932384626433832795028841971";
    const std::string fraction = "69399375105820974944592307816406286208998628034825";
    Big::Big_Integer result;
    const Packed_Decimal d = make(integral + "." + fraction + "000");
    // W has 19 digits, with exponent e; the big integer has them all, with exponent below.
    const std::int32_t e = Decode_As_Integer(d).Scale;
    EXPECT_EQ(e, static_cast<std::int32_t>(integral.size()) - 19);
    const std::int32_t exponent = Decode_As_Big_Integer(d, e, result);
    EXPECT_EQ(exponent, -static_cast<std::int32_t>(fraction.size()));
    EXPECT_EQ(Big::Compare(result, big_of(integral + fraction)), Big::Compare_Kind::EQUAL);
}

TEST(Packed_Decimals, IntegerDigitsBeyondTheCapacityAreCountedAndDropped) {
    std::string integral = "7";
    for (int i = 1; i < 800; ++i) {
        integral += static_cast<char>('0' + i % 10);
    }
    const Packed_Decimal d = make(integral + ".25");
    EXPECT_EQ(d.Integral_Digits, 800);
    EXPECT_EQ(d.Exponent_Adjust, 16);
    EXPECT_TRUE(d.Truncated);
    EXPECT_TRUE(d.Dropped_Non_Zero);
    EXPECT_EQ(d.Fractional_Digits, 0); // the fraction did not fit
    const Leading_Digits lead = Decode_As_Integer(d);
    EXPECT_EQ(lead.W, std::stoull(integral.substr(0, 19)));
    EXPECT_EQ(lead.Scale, 800 - 19); // still scaled by the full integer digit count
    EXPECT_TRUE(lead.Inexact);
    // The big integer: the 784 stored digits and a final 1 for the dropped non-zero ones.
    Big::Big_Integer result;
    EXPECT_EQ(Decode_As_Big_Integer(d, lead.Scale, result), 800 - 785);
    EXPECT_EQ(Big::Compare(result, big_of(integral.substr(0, 784) + "1")),
              Big::Compare_Kind::EQUAL);
}

TEST(Packed_Decimals, FractionDigitsBeyondTheCapacityRememberWhetherTheyWereZero) {
    const std::string integral = "9007199254740993";
    const std::string zeros(800, '0');
    const Packed_Decimal only_zeros = make(integral + "." + zeros);
    EXPECT_TRUE(only_zeros.Truncated);
    EXPECT_FALSE(only_zeros.Dropped_Non_Zero);
    EXPECT_EQ(only_zeros.Fractional_Digits, 784 - 16);
    EXPECT_FALSE(Decode_As_Integer(only_zeros).Inexact);

    const Packed_Decimal with_one = make(integral + "." + zeros + "1");
    EXPECT_TRUE(with_one.Dropped_Non_Zero);
    const Leading_Digits lead = Decode_As_Integer(with_one);
    EXPECT_EQ(lead.W, 9007199254740993U);
    EXPECT_EQ(lead.Scale, 0);
    EXPECT_TRUE(lead.Inexact);
    Big::Big_Integer result;
    EXPECT_EQ(Decode_As_Big_Integer(with_one, 0, result), 16 - 785);
    EXPECT_EQ(Big::Compare(result, big_of(integral + std::string(768, '0') + "1")),
              Big::Compare_Kind::EQUAL);
}

TEST(Packed_Decimals, EveryDigitReadsBackAroundWordBoundariesAndTheCapacity) {
    // The word being filled is kept apart from the store until it is complete, until the point
    // or until Flush: every length around a word boundary, and a fraction that ends at the
    // capacity in the middle of a word, must read back digit by digit and as a whole.
    const auto digits_of = [](std::size_t n, unsigned seed) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i) {
            text += static_cast<char>('1' + (seed + i * 7) % 9);
        }
        return text;
    };
    struct Case {
        std::size_t integral;
        std::size_t fraction;
    };
    std::vector<Case> cases;
    for (const std::size_t i : {0U, 1U, 15U, 16U, 17U, 32U, 33U}) {
        for (const std::size_t f : {0U, 1U, 15U, 16U, 17U, 33U}) {
            if (i + f != 0) {
                cases.push_back({i, f});
            }
        }
    }
    cases.push_back({5, 779});  // the fraction fills the store up to the last position
    cases.push_back({770, 14}); // ... in its first word
    cases.push_back({784, 0});
    for (const Case& c : cases) {
        const std::string integral = digits_of(c.integral, 1);
        const std::string fraction = digits_of(c.fraction, 4);
        const std::string text = integral + (c.fraction == 0 ? "" : "." + fraction);
        Packed_Decimal d = make(text);
        ASSERT_FALSE(d.Truncated) << text;
        for (std::size_t i = 0; i < integral.size(); ++i) {
            ASSERT_EQ(Stored_Digit(d, static_cast<std::int32_t>(i)),
                      static_cast<std::uint32_t>(integral[i] - '0'))
                << c.integral << "." << c.fraction << " at " << i;
        }
        for (std::size_t i = 0; i < fraction.size(); ++i) {
            ASSERT_EQ(Stored_Digit(d, d.Point * 16 + static_cast<std::int32_t>(i)),
                      static_cast<std::uint32_t>(fraction[i] - '0'))
                << c.integral << "." << c.fraction << " at fraction " << i;
        }
        Big::Big_Integer result;
        const std::int32_t exponent = Decode_As_Big_Integer(d, Decode_As_Integer(d).Scale, result);
        EXPECT_EQ(exponent, -static_cast<std::int32_t>(c.fraction)) << text;
        EXPECT_EQ(Big::Compare(result, big_of(integral + fraction)), Big::Compare_Kind::EQUAL)
            << c.integral << "." << c.fraction;
        // After Flush, the store itself holds every word as read.
        Packed_Decimal flushed = d;
        Flush(flushed);
        for (std::int32_t word = 0; word < 50; ++word) {
            const bool used = word * 16 < static_cast<std::int32_t>(c.integral) ||
                              (d.Point >= 0 && word >= d.Point &&
                               (word - d.Point) * 16 < static_cast<std::int32_t>(c.fraction));
            if (used) {
                EXPECT_EQ(flushed.Digits[static_cast<std::size_t>(word)], Stored_Word(d, word))
                    << c.integral << "." << c.fraction << " word " << word;
            }
        }
    }
    // One more fraction digit does not fit; digits may still be appended after a Flush.
    for (const Case& c : {Case{5, 779}, Case{770, 14}}) {
        Packed_Decimal d = make(digits_of(c.integral, 1) + "." + digits_of(c.fraction, 4));
        Append_Fractional(d, 3);
        EXPECT_TRUE(d.Truncated) << c.integral;
        EXPECT_TRUE(d.Dropped_Non_Zero) << c.integral;
        EXPECT_EQ(d.Fractional_Digits, static_cast<std::int32_t>(c.fraction)) << c.integral;
    }
    Packed_Decimal e = make("1234");
    Flush(e);
    append(e, "56.78");
    EXPECT_EQ(Decode_As_Integer(e).W, 12345678U);
}

TEST(Packed_Decimals, AClearedStoreHoldsOnlyTheDigitsAddedSince) {
    // Clear leaves the words as they are; the digits added afterwards must read back as written,
    // whatever the previous number left in the words.
    struct Case {
        const char* integral; // after leading zeros
        const char* fraction; // after the leading zeros of a pure fraction
        const char* text;
        std::uint64_t w;
        std::int32_t scale;
    };
    const Case cases[] = {
        {"12", "5", "12.5", 125U, -1},
        {"7", "", "7", 7U, 0},
        {"", "12345678901234567", "0.0012345678901234567", 12345678901234567U, -19},
        {"12345678901234567", "25", "12345678901234567.25", 1234567890123456725U, -2},
        {"1234567890123456", "1234567890123456789", "1234567890123456.1234567890123456789",
         1234567890123456123U, -3},
        {"", "5", "0.5", 5U, -1},
    };
    Packed_Decimal d = make(std::string(40, '9') + "." + std::string(40, '9'));
    for (const Case& c : cases) {
        Clear(d);
        append(d, c.text);
        const std::string integral = c.integral;
        const std::string fraction = c.fraction;
        ASSERT_EQ(d.Integral_Digits, static_cast<std::int32_t>(integral.size())) << c.text;
        ASSERT_EQ(d.Fractional_Digits, static_cast<std::int32_t>(fraction.size())) << c.text;
        for (std::size_t i = 0; i < integral.size(); ++i) {
            EXPECT_EQ(Stored_Digit(d, static_cast<std::int32_t>(i)),
                      static_cast<std::uint32_t>(integral[i] - '0'))
                << c.text << " at " << i;
        }
        for (std::size_t i = 0; i < fraction.size(); ++i) {
            EXPECT_EQ(Stored_Digit(d, d.Point * 16 + static_cast<std::int32_t>(i)),
                      static_cast<std::uint32_t>(fraction[i] - '0'))
                << c.text << " at fraction " << i;
        }
        const Leading_Digits lead = Decode_As_Integer(d);
        EXPECT_EQ(lead.W, c.w) << c.text;
        EXPECT_EQ(lead.Scale, c.scale) << c.text;
    }
}

TEST(Packed_Decimals, DigitsAreTwoPerByteTheEarlierInTheLowHalf) {
    if constexpr (std::endian::native != std::endian::little) {
        GTEST_SKIP() << "the byte view of the words is little-endian";
    }
    // 17 integer digits fill word 0 and start word 1; the fraction starts at word 2. Its word
    // is still being filled: Flush writes it to the store.
    Packed_Decimal d = make("12345678901234567.891");
    Flush(d);
    const auto* bytes = reinterpret_cast<const unsigned char*>(d.Digits.data());
    const unsigned char integral[] = {0x21, 0x43, 0x65, 0x87, 0x09, 0x21, 0x43, 0x65};
    for (std::size_t i = 0; i < std::size(integral); ++i) {
        EXPECT_EQ(bytes[i], integral[i]) << "byte " << i;
    }
    EXPECT_EQ(bytes[8] & 0x0F, 7); // digit 16, the first of word 1
    ASSERT_EQ(d.Point, 2);
    EXPECT_EQ(bytes[16], 0x98);
    EXPECT_EQ(bytes[17] & 0x0F, 1);
}

TEST(Packed_Decimals, DigitsMustBeDecimalAndFractionsNeedAPoint) {
    Packed_Decimal d;
    EXPECT_THROW(Append_Integral(d, 10), Qorvi::Constraint_Error);
    EXPECT_THROW(Append_Fractional(d, 0xFFFFFFFFU), Qorvi::Constraint_Error);
    EXPECT_THROW(Append_Fractional(d, 5), Qorvi::Constraint_Error); // no point yet
    Append_Fractional(d, 0); // a leading zero stores nothing, so it needs no point
    EXPECT_EQ(d.Exponent_Adjust, -1);
    Clear(d);
    EXPECT_EQ(d.Point, -1);
    EXPECT_EQ(d.Exponent_Adjust, 0);
}

} // namespace
