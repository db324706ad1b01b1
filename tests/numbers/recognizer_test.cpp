#include "json_number_inputs.hpp"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <qorvi/numbers/implementation-numbers.hpp>
#include <string>

// In allocation_counter.cpp: counts the program's allocations between the two calls.
void Start_Counting_Allocations();
long Stop_Counting_Allocations();

namespace {

using namespace Qorvi::Implementation::Numbers;
using Kind = JSON_Number_Kind;

std::uint64_t bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

Classified_Number recognize(const std::string& text) {
    Parsing_State state;
    EXPECT_TRUE(number_tools::Feed(state, text)) << text;
    return Classify(state);
}

void expect_integer(const std::string& text, std::int64_t value) {
    const Classified_Number n = recognize(text);
    EXPECT_EQ(n.Kind, Kind::JSON_INTEGER) << text;
    EXPECT_EQ(n.Integer_Value, value) << text;
}

void expect_float(const std::string& text, double value) {
    const Classified_Number n = recognize(text);
    EXPECT_EQ(n.Kind, Kind::JSON_FLOAT) << text.substr(0, 80);
    EXPECT_EQ(bits(n.Float_Value), bits(value))
        << text.substr(0, 80) << ": " << n.Float_Value << " instead of " << value;
}

void expect_out_of_range(const std::string& text) {
    EXPECT_EQ(recognize(text).Kind, Kind::OUT_OF_RANGE) << text.substr(0, 80);
}

// The exact decimal as scientific text with Extra appended to its digits.
std::string scientific(const number_tools::Decimal& d, const std::string& extra = "") {
    const std::string digits = d.Digits + extra;
    return digits.substr(0, 1) + "." + digits.substr(1) + "e" +
           std::to_string(d.Exponent + static_cast<int>(d.Digits.size()) - 1);
}

constexpr double smallest = std::numeric_limits<double>::denorm_min();
constexpr double largest = std::numeric_limits<double>::max();

TEST(Recognizer, IntegersUpToNineteenDigitsAndTheLimitsOfInt64) {
    expect_integer("0", 0);
    expect_integer("-0", 0);
    expect_integer("123", 123);
    expect_integer("-123", -123);
    expect_integer("9223372036854775807", std::numeric_limits<std::int64_t>::max());
    expect_integer("-9223372036854775808", std::numeric_limits<std::int64_t>::min());
    expect_integer("1000000000000000000", 1000000000000000000); // 19 digits
    expect_integer("0000000000000000000000000000123", 123);     // leading zeros do not count
    expect_integer("-00000000000000000000009223372036854775808",
                   std::numeric_limits<std::int64_t>::min());
    expect_out_of_range("9223372036854775808");
    expect_out_of_range("-9223372036854775809");
    expect_out_of_range("9999999999999999999");  // 19 digits, too large
    expect_out_of_range("18446744073709551615"); // 20 digits
    expect_out_of_range("18446744073709551616");
    expect_out_of_range("10000000000000000000"); // 20 significant digits
    expect_out_of_range("-10000000000000000000");
    expect_out_of_range("123456789012345678901234567890");
}

TEST(Recognizer, FloatsAndTheirLimits) {
    expect_float("1.0", 1.0);
    expect_float("1e2", 100.0);
    expect_float("1E+2", 100.0);
    expect_float("0.0", 0.0);
    expect_float("-0.0", -0.0);
    expect_float("12.5", 12.5);
    expect_float("-0.000123", -0.000123);
    expect_float("37.774929123456789", 37.774929123456789);
    expect_float("1e308", 1e308);
    expect_float("1.7976931348623157e308", largest);
    expect_float("-1.7976931348623157e308", -largest);
    expect_out_of_range("1.7976931348623159e308");
    expect_out_of_range("1e309");
    expect_out_of_range("-1e309");
    expect_float("2.2250738585072011e-308", 2.2250738585072011e-308);
    expect_float("2.2250738585072014e-308", std::numeric_limits<double>::min());
    expect_float("1e-400", 0.0);
    expect_float("-1e-400", -0.0);
    expect_float("0e-400", 0.0);
    expect_float("4.9e-324", smallest);
    expect_float("2.5e-324", smallest);
    expect_float("-2.5e-324", -smallest);
    expect_float("2.4e-324", 0.0);
    expect_float("2.4703282292062327209e-324", smallest);
    expect_float("2.4703282292062327208e-324", 0.0);
    expect_float("9007199254740993.0", 9007199254740992.0);
    expect_float("9007199254740993.00000000000000000001", 9007199254740994.0);
    expect_float("1e0000000000000000001", 10.0);
    expect_float("0.000000000000000000000000000000000000000000001e+45", 1.0);
    expect_float("1" + std::string(45, '0') + "e-44", 10.0);
}

TEST(Recognizer, ExponentDigits) {
    Parsing_State state;
    ASSERT_TRUE(number_tools::Feed(state, "1.25e-007"));
    EXPECT_TRUE(state.Fractional);
    EXPECT_TRUE(state.Exponential);
    EXPECT_TRUE(state.Exponent_Minus);
    EXPECT_EQ(state.Exponent, 7);
    EXPECT_EQ(state.Exponent_Digits, 1);
    // Nine significant digits are kept; the value decides.
    ASSERT_TRUE(number_tools::Feed(state, "1e000999999999"));
    EXPECT_EQ(state.Error, Parsing_Error_States::NOT_A_ERROR);
    EXPECT_EQ(state.Exponent, 999999999);
    EXPECT_EQ(Classify(state).Kind, Kind::OUT_OF_RANGE);
    expect_float("1e-999999999", 0.0);
    // A tenth one sets Error; what follows is ignored.
    ASSERT_TRUE(number_tools::Feed(state, "1e12345678901"));
    EXPECT_EQ(state.Error, Parsing_Error_States::OUT_OF_RANGE);
    EXPECT_EQ(state.Exponent, 123456789);
    Exp_Digit(state, U'x'); // ignored with Error set
    Int_Digit(state, U'x');
    Frac_Digit(state, U'x');
    EXPECT_EQ(Classify(state).Kind, Kind::OUT_OF_RANGE);
    // Reset makes the state ready for the next number.
    ASSERT_TRUE(number_tools::Feed(state, "2.5"));
    EXPECT_EQ(state.Error, Parsing_Error_States::NOT_A_ERROR);
    EXPECT_EQ(bits(Classify(state).Float_Value), bits(2.5));
}

// A zero whose exponent has ten or more significant digits is still zero, and so is a
// non-zero value with such a negative exponent: only a large positive exponent with a
// non-zero mantissa is out of range.
TEST(Recognizer, OverLongExponents) {
    expect_out_of_range("1e1234567890");
    expect_out_of_range("-1e1234567890");
    expect_out_of_range("0.5e+00001234567890");
    expect_float("1e-1234567890", 0.0);
    expect_float("-1.5e-00001234567890", -0.0);
    expect_float("123456789.123e-99999999999999999999", 0.0);
    expect_float("0e1234567890", 0.0);
    expect_float("-0e1234567890", -0.0);
    expect_float("0.000e-1234567890", 0.0);
    expect_float("0e400", 0.0);
    expect_float("-0.0e+400", -0.0);
    expect_float("0.0e999999999", 0.0);
}

// Digits beyond the store's capacity: whether a dropped digit was non-zero still decides
// the rounding of a number that sits on a halfway point within the stored digits.
TEST(Recognizer, DroppedDigitsStillRound) {
    const std::string tie = "9007199254740993." + std::string(800, '0');
    expect_float(tie, 9007199254740992.0);
    expect_float(tie + "1", 9007199254740994.0);
    expect_float(tie + "0000000000", 9007199254740992.0);
    expect_float("-" + tie + "00000000005", -9007199254740994.0);

    // Half the smallest subnormal (752 significant digits): a tie between 0 and the smallest
    // subnormal, rounded to 0; anything above it, however far down, rounds up.
    const number_tools::Decimal half = number_tools::Halfway_Decimal(0.0);
    ASSERT_EQ(half.Digits.size(), 752U);
    expect_float(scientific(half), 0.0);
    expect_float(scientific(half, std::string(100, '0')), 0.0);
    expect_float(scientific(half, std::string(100, '0') + "1"), smallest);
    expect_float(scientific(half, std::string(1000, '0') + "1"), smallest);
    number_tools::Decimal below = half;
    below.Digits.back() = static_cast<char>(below.Digits.back() - 1);
    expect_float(scientific(below, std::string(1000, '9')), 0.0);

    // The boundary above the largest double: ties go to even, which is infinity.
    const number_tools::Decimal top = number_tools::Halfway_Decimal(largest);
    expect_out_of_range(scientific(top));
    number_tools::Decimal under = top;
    under.Digits.back() = static_cast<char>(under.Digits.back() - 1);
    expect_float(scientific(under, std::string(900, '9')), largest);

    // A halfway point between two normal doubles with a long expansion: 1 + 2**-53 has its
    // last digit 54 places after the point; 2**-1022 + 2**-1075 has 768 significant digits.
    const number_tools::Decimal one = number_tools::Halfway_Decimal(1.0);
    expect_float(scientific(one), 1.0);
    expect_float(scientific(one, std::string(800, '0') + "3"), std::nextafter(1.0, 2.0));
    const double normal = std::numeric_limits<double>::min();
    const number_tools::Decimal low = number_tools::Halfway_Decimal(normal);
    ASSERT_EQ(low.Digits.size(), 768U);
    expect_float(scientific(low), normal);
    expect_float(scientific(low, std::string(20, '0') + "1"), std::nextafter(normal, 1.0));
}

TEST(Recognizer, DigitsMustBeDecimal) {
    for (const char32_t bad :
         {U'/', U':', U'a', U'\0', U' ', U'\u0663', U'\uFF10', U'\U0001D7CE'}) {
        Parsing_State state;
        EXPECT_THROW(Int_Digit(state, bad), Qorvi::Constraint_Error);
        Decimal_Point(state);
        EXPECT_THROW(Frac_Digit(state, bad), Qorvi::Constraint_Error);
        EXPECT_THROW(Exp_Digit(state, bad), Qorvi::Constraint_Error);
    }
    Parsing_State state;
    EXPECT_THROW(Frac_Digit(state, U'7'), Qorvi::Constraint_Error); // no decimal point yet
}

// Classify decides the common numbers inline and hands the rest to the general function: on
// both sides of every limit of the inline part (16 digits in a part, 19 in all, the integer
// limits, the fast path's exponents, undecided products, overflow, leading and trailing zeros,
// error states), and on the generated hard inputs, both give the same result.
TEST(Recognizer, InlineClassificationAgreesWithTheGeneralOne) {
    const auto expect_same = [](Parsing_State& state, const std::string& text) {
        const Classified_Number fast = Classify(state);
        const Classified_Number general = Detail::classify_general(state);
        EXPECT_EQ(fast.Kind, general.Kind) << text.substr(0, 80);
        EXPECT_EQ(fast.Integer_Value, general.Integer_Value) << text.substr(0, 80);
        EXPECT_EQ(bits(fast.Float_Value), bits(general.Float_Value)) << text.substr(0, 80);
    };
    const std::string texts[] = {"0",
                                 "-0",
                                 "7",
                                 "1234567890123456",
                                 "12345678901234567",
                                 "-1234567890123456",
                                 "9223372036854775807",
                                 "-9223372036854775808",
                                 "9223372036854775808",
                                 "0.0",
                                 "-0.0",
                                 "0e400",
                                 "0.000e-400",
                                 "1e400",
                                 "1e-400",
                                 "0.5",
                                 "0.000123",
                                 "1234567890123456.123",
                                 "1234567890123456.1234",
                                 "123.4567890123456789",
                                 "0.1234567890123456",
                                 "0.12345678901234567",
                                 "1.2345678901234567",
                                 "1.500",
                                 "1.5000000000000000000000",
                                 "10.00000000000000000001",
                                 "-37.774929123456789",
                                 "9007199254740993.0",
                                 "9007199254740993.00000000000000000001",
                                 "9007199254740992e1",
                                 "1e22",
                                 "1e23",
                                 "1e-22",
                                 "1e-23",
                                 "123e-30",
                                 "1.7976931348623157e308",
                                 "1.7976931348623159e308",
                                 "2.2250738585072011e-308",
                                 "4.9e-324",
                                 "2.4e-324",
                                 "2.4703282292062327208e-324",
                                 "1e0000000000000000001",
                                 "1e1234567890",
                                 "1e-1234567890",
                                 "7.3177701707893310e+15"};
    Parsing_State state;
    for (const std::string& text : texts) {
        ASSERT_TRUE(number_tools::Feed(state, text)) << text;
        expect_same(state, text);
    }
    number_tools::Hard_Inputs inputs(77);
    for (int i = 0; i < 20000; ++i) {
        number_tools::Input_Kind kind{};
        const std::string text = inputs.Next(kind);
        ASSERT_TRUE(number_tools::Feed(state, text)) << text.substr(0, 80);
        expect_same(state, text);
    }
}

TEST(Recognizer, NothingIsAllocated) {
    const std::string long_tie = "9007199254740993." + std::string(800, '0') + "1";
    const std::string texts[] = {
        "12.5",   "-9223372036854775808", "37.774929123456789",    "2.4703282292062327209e-324",
        long_tie, "1e-1234567890",        "1.7976931348623159e308"};
    Parsing_State state;
    for (const std::string& text : texts) {
        Start_Counting_Allocations();
        number_tools::Feed(state, text);
        const Classified_Number n = Classify(state);
        EXPECT_EQ(Stop_Counting_Allocations(), 0) << text.substr(0, 40);
        EXPECT_NE(n.Kind, Kind::NONE);
    }
    // The counter works: a std::string of this size allocates.
    Start_Counting_Allocations();
    const std::string probe(100, 'x');
    EXPECT_EQ(Stop_Counting_Allocations(), 1) << probe.size();
}

} // namespace
