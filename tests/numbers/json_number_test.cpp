#include "json_number_inputs.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <qorvi/numbers/implementation-numbers.hpp>

namespace {

using namespace Qorvi::Implementation::Numbers;
using Qorvi::Strings::Virtual_String;
using Kind = JSON_Number_Kind;

JSON_Number number(const char* text) {
    Parsing_State state;
    EXPECT_TRUE(number_tools::Feed(state, text)) << text;
    JSON_Number result;
    To_JSON_Number(state, Virtual_String(text), result);
    return result;
}

TEST(JSON_Number, CarriesTextKindAndValue) {
    const JSON_Number integer = number("-42");
    EXPECT_EQ(integer.Kind, Kind::JSON_INTEGER);
    EXPECT_EQ(integer.Integer_Value, -42);
    EXPECT_EQ(integer.String_Value, "-42");
    const JSON_Number real = number("12.5e-1");
    EXPECT_EQ(real.Kind, Kind::JSON_FLOAT);
    EXPECT_EQ(real.Float_Value, 1.25);
    EXPECT_EQ(real.String_Value, "12.5e-1");
    const JSON_Number huge = number("1e400");
    EXPECT_EQ(huge.Kind, Kind::OUT_OF_RANGE);
    EXPECT_EQ(huge.String_Value, "1e400");
    EXPECT_EQ(JSON_Number().Kind, Kind::NONE);
}

TEST(JSON_Number, Equality) {
    EXPECT_EQ(number("7"), number("7"));
    EXPECT_NE(number("7"), number("7.0"));    // different kinds
    EXPECT_NE(number("1.0"), number("1.00")); // same double, different texts
    EXPECT_EQ(number("1e400"), number("1e400"));
    EXPECT_NE(number("1e400"), number("2e400"));
    EXPECT_EQ(JSON_Number(), JSON_Number());
    // 0.0 and -0.0 compare equal as doubles; with equal texts the numbers are equal.
    JSON_Number plus_zero = number("0.0");
    JSON_Number minus_zero = number("-0.0");
    EXPECT_TRUE(std::signbit(minus_zero.Float_Value));
    minus_zero.String_Value = plus_zero.String_Value;
    EXPECT_EQ(plus_zero, minus_zero);
}

} // namespace
