// The integer formatters: the format text grammar, the rendering, the digit room of each
// instance and the errors the format text can cause.
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <qorvi/formatters/strings-formatters-integers.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <string>

namespace {

using namespace Qorvi::Strings;
using namespace Qorvi::Strings::Formatters;
using Qorvi::Implementation::Integer_Formatting::Formatter_Options;
using Qorvi::Implementation::Integer_Formatting::Parse;
using Qorvi::Implementation::Integer_Formatting::Sign_Mode;

template <typename Formatter_Type>
std::string format(const Formatter_Type& Formatter, const char* Format_Text) {
    Format_Information information;
    information.Format_String = Virtual_String(Format_Text);
    return Conversions::To_UTF_8_String(Formatter.Format(information));
}

struct Case {
    std::int64_t value;
    const char* format;
    const char* expected;
};

// Every case runs through the 32-bit formatter when the value fits, and through the 64-bit one
// always: both must agree wherever the 32-bit one applies.
const Case cases[] = {
    {42, "", "42"},
    {-42, "", "-42"},
    {0, "", "0"},
    // Sign
    {42, "+", "+42"},
    {42, "-", " 42"},
    {-42, "+", "-42"},
    {-42, "-", "-42"},
    {0, "+", "+0"},
    // Width: spaces before the sign, or zeros after it
    {42, "5", "   42"},
    {-42, "5", "   -42"},
    {42, "+5", "   +42"},
    {42, "-5", "    42"},
    {-42, "05", "-00042"},
    {42, "005", "00042"},
    {42, "+05", "+00042"},
    {42, "-05", " 00042"},
    {42, "0", "42"},
    {42, "00", "42"},
    {42, "50", "                                                42"},
    {123456, "3", "123456"},
    {123456, "03", "123456"},
    {0, "03", "000"},
    // Base
    {255, "#16", "FF"},
    {255, "04#16", "00FF"},
    {255, "#2_4", "1111_1111"},
    {-255, "#16", "-FF"},
    {25, "#26", "P"},
    {10, "#11", "A"},
    {0, "#", "0"},
    {0, "#1", "0"},
    {0, "#0", "0"},
    {7, "#0010", "7"},
    {5, "#2147483647", "5"},
    {std::numeric_limits<std::int32_t>::min(), "#2147483647", "-11"},
    // Grouping
    {1234567, "_3", "1_234_567"},
    {1234567, "_3,", "1,234,567"},
    {1234567, "010_3,", "0,001,234,567"},
    {1234567, "10_3,", "   1,234,567"},
    {1234567, "010_3 ", "0 001 234 567"},
    {-1234567, "010_3,", "-0,001,234,567"},
    {-1234567, "+10_3,", "   -1,234,567"},
    {1234567, "+_3.", "+1.234.567"},
    {123, "_3", "123"},
    {1234, "_3", "1_234"},
    {1234567, "_", "1234567"},
    {1234567, "_0,", "1234567"},
    {1234567, "_1", "1_2_3_4_5_6_7"},
    {1234567, "_7", "1234567"},
    {1234567, "_1073741823", "1234567"},
    {255, "08#16_4", "0000_00FF"},
    {1234567, "_3\xE2\x82\xAC",
     "1\xE2\x82\xAC"
     "234\xE2\x82\xAC"
     "567"},
    {1234567, "_3}", "1}234}567"},
    {1234567, "_3,x", "1,234,567"},
    // The most negative values are written in full
    {std::numeric_limits<std::int32_t>::min(), "", "-2147483648"},
    {std::numeric_limits<std::int32_t>::min(), "#16", "-80000000"},
    {std::numeric_limits<std::int32_t>::min(), "#2", "-10000000000000000000000000000000"},
    {std::numeric_limits<std::int32_t>::max(), "#2", "1111111111111111111111111111111"},
    {std::numeric_limits<std::int32_t>::max(), "_3", "2_147_483_647"},
    // Parsing stops silently at the first character that does not fit
    {42, "5x9", "   42"},
    {42, "x5", "42"},
    {42, "++5", "+42"},
    {42, "+-5", "+42"},
    {42, " 5", "42"},
    {42, "5+", "   42"},
    {42, "#16#2", "2A"},
    {42, "#16 5", "2A"},
    {42, "_3_3", "42"},
    {1234567, "#16_2", "12_D6_87"},
    {42, "5_2x#16", "   42"},
    {42, "\xC3\xA9", "42"},
};

TEST(Integer_Formatters, Table) {
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with '" << c.format << "'");
        if (c.value >= std::numeric_limits<std::int32_t>::min() &&
            c.value <= std::numeric_limits<std::int32_t>::max()) {
            EXPECT_EQ(format(Integers::Image(static_cast<std::int32_t>(c.value)), c.format),
                      c.expected);
        }
        EXPECT_EQ(format(Integers_64::Image(c.value), c.format), c.expected);
    }
}

enum class Fault { CONSTRAINT, PROGRAM };

struct Error_Case {
    std::int64_t value;
    const char* format;
    Fault fault;
};

// The format text, never the value, causes these.
const Error_Case error_cases[] = {
    // Base 0 divides by zero, base 1 never runs out of digits
    {7, "#", Fault::CONSTRAINT},
    {-1, "#0", Fault::CONSTRAINT},
    {42, "5#", Fault::CONSTRAINT},
    {7, "#1", Fault::CONSTRAINT},
    {-7, "+08#1_3", Fault::CONSTRAINT},
    // Digit values of 26 and more have no digit character
    {26, "#27", Fault::PROGRAM},
    {35, "#36", Fault::PROGRAM},
    {-26, "#2147483647", Fault::PROGRAM},
    // Width, base and group just above their limits, and far above them
    {42, "1073741824", Fault::CONSTRAINT},
    {42, "01073741824", Fault::CONSTRAINT},
    {42, "99999999999999999999999999", Fault::CONSTRAINT},
    {0, "#2147483648", Fault::CONSTRAINT},
    {0, "#99999999999999999999999999", Fault::CONSTRAINT},
    {42, "_1073741824", Fault::CONSTRAINT},
    {42, "_99999999999999999999999999", Fault::CONSTRAINT},
    // The width at its limit, with a sign, zeros or separators, gives more characters than a
    // string can hold: refused before anything is allocated
    {42, "+1073741823", Fault::CONSTRAINT},
    {-42, "1073741823", Fault::CONSTRAINT},
    {42, "-01073741823", Fault::CONSTRAINT},
    {42, "01073741823_1", Fault::CONSTRAINT},
    {42, "0600000000_1", Fault::CONSTRAINT},
    // Under the character limit but over the byte limit: four-byte separators
    {0, "0500000000_1\xF0\x9F\x98\x80", Fault::CONSTRAINT},
};

TEST(Integer_Formatters, Errors) {
    for (const Error_Case& c : error_cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with '" << c.format << "'");
        if (c.value >= std::numeric_limits<std::int32_t>::min() &&
            c.value <= std::numeric_limits<std::int32_t>::max()) {
            const auto formatter = Integers::Image(static_cast<std::int32_t>(c.value));
            if (c.fault == Fault::CONSTRAINT) {
                EXPECT_THROW(format(formatter, c.format), Qorvi::Constraint_Error);
            } else {
                EXPECT_THROW(format(formatter, c.format), Qorvi::Program_Error);
            }
        }
        const auto formatter = Integers_64::Image(c.value);
        if (c.fault == Fault::CONSTRAINT) {
            EXPECT_THROW(format(formatter, c.format), Qorvi::Constraint_Error);
        } else {
            EXPECT_THROW(format(formatter, c.format), Qorvi::Program_Error);
        }
    }
}

TEST(Integer_Formatters, Parse_Options) {
    const Formatter_Options defaults;
    EXPECT_EQ(Parse(Virtual_String()), defaults);
    EXPECT_EQ(defaults.Base, 10);
    EXPECT_EQ(defaults.Separator, U'_');

    const Formatter_Options all = Parse(Virtual_String("+08#16_4:"));
    EXPECT_EQ(all.Sign, Sign_Mode::PLUS);
    EXPECT_TRUE(all.Leading_Zeros);
    EXPECT_EQ(all.Width, 8);
    EXPECT_EQ(all.Base, 16);
    EXPECT_EQ(all.Group, 4);
    EXPECT_EQ(all.Separator, U':');

    // Limits are accepted exactly at their values.
    const Formatter_Options limits = Parse(Virtual_String("-1073741823#2147483647_1073741823"));
    EXPECT_EQ(limits.Sign, Sign_Mode::SPACE);
    EXPECT_FALSE(limits.Leading_Zeros);
    EXPECT_EQ(limits.Width, 1073741823);
    EXPECT_EQ(limits.Base, 2147483647);
    EXPECT_EQ(limits.Group, 1073741823);
    EXPECT_EQ(limits.Separator, U'_');

    // A leading zero run: all further digits, zeros included, make the width.
    const Formatter_Options zeros = Parse(Virtual_String("0007"));
    EXPECT_TRUE(zeros.Leading_Zeros);
    EXPECT_EQ(zeros.Width, 7);
    EXPECT_EQ(Parse(Virtual_String("#")).Base, 0);
    EXPECT_EQ(Parse(Virtual_String("_3\xF0\x9F\x98\x80")).Separator, U'\U0001F600');
}

// Large widths are written in full; the width counts digit positions only.
TEST(Integer_Formatters, Large_Width) {
    const Virtual_String zeros = [] {
        Format_Information information;
        information.Format_String = Virtual_String("0100000_1");
        return Integers::Image(-7).Format(information);
    }();
    const std::string text = Conversions::To_UTF_8_String(zeros);
    ASSERT_EQ(zeros.Character_Length(), 1 + 100000 + 99999);
    EXPECT_EQ(text.substr(0, 4), "-0_0");
    EXPECT_EQ(text.substr(text.size() - 3), "0_7");
    EXPECT_EQ(std::count(text.begin(), text.end(), '_'), 99999);

    const std::string spaces = format(Integers::Image(12), "+100000");
    ASSERT_EQ(spaces.size(), 100000u - 2 + 3);
    EXPECT_EQ(spaces.find_first_not_of(' '), 100000u - 2);
    EXPECT_EQ(spaces.substr(spaces.size() - 3), "+12");
}

// The digit room of every instance holds its most negative and its greatest value in base 2,
// and base 1 overruns it whatever the instance.
TEST(Integer_Formatters, Digit_Room_Of_Instances) {
    EXPECT_EQ(format(Integers_64::Image(std::numeric_limits<std::int64_t>::min()), ""),
              "-9223372036854775808");
    EXPECT_EQ(format(Integers_64::Image(std::numeric_limits<std::int64_t>::min()), "#2"),
              "-1" + std::string(63, '0'));
    EXPECT_EQ(format(Integers_64::Image(std::numeric_limits<std::int64_t>::max()), "#16"),
              "7FFFFFFFFFFFFFFF");

    using Unsigned_64 = Generic_Integers<std::uint64_t>;
    static_assert(Unsigned_64::Digit_Room == 64);
    EXPECT_EQ(format(Unsigned_64::Image(std::numeric_limits<std::uint64_t>::max()), "#2"),
              std::string(64, '1'));
    EXPECT_EQ(format(Unsigned_64::Image(std::numeric_limits<std::uint64_t>::max()), "+_3"),
              "+18_446_744_073_709_551_615");

    using Integers_8 = Generic_Integers<std::int8_t>;
    static_assert(Integers_8::Digit_Room == 8);
    EXPECT_EQ(format(Integers_8::Image(std::int8_t{-128}), "#2"), "-10000000");
    EXPECT_EQ(format(Integers_8::Image(std::int8_t{127}), "010#2_4"), "00_0111_1111");

    EXPECT_THROW(format(Unsigned_64::Image(1), "#1"), Qorvi::Constraint_Error);
    EXPECT_THROW(format(Integers_8::Image(std::int8_t{1}), "#1"), Qorvi::Constraint_Error);
    EXPECT_EQ(format(Integers_8::Image(std::int8_t{0}), "#1"), "0");
}

TEST(Integer_Formatters, Width_And_Alignment_Are_Ignored) {
    Format_Information information;
    information.Width = 10;
    information.Alignment = Field_Alignment::RIGHT;
    information.Format_String = Virtual_String("+");
    EXPECT_EQ(Conversions::To_UTF_8_String(Integers::Image(42).Format(information)), "+42");
}

TEST(Integer_Formatters, Name_And_Equality) {
    EXPECT_TRUE(Integers::Image(5).Name().Is_Empty());
    EXPECT_EQ(Integers::Image(Virtual_String("count"), 5).Name(), Virtual_String("count"));
    EXPECT_EQ(Integers::Image(Virtual_String("n"), 5), Integers::Image(Virtual_String("n"), 5));
    EXPECT_FALSE(Integers::Image(Virtual_String("n"), 5) ==
                 Integers::Image(Virtual_String("n"), 6));
    EXPECT_FALSE(Integers::Image(Virtual_String("n"), 5) ==
                 Integers::Image(Virtual_String("m"), 5));
    // An empty name equals a null one: names compare by their characters.
    EXPECT_EQ(Integers::Image(Virtual_String(""), 5), Integers::Image(5));

    auto copy = Integers::Image(Virtual_String("n"), 5);
    copy = Integers::Image(9);
    EXPECT_EQ(format(copy, ""), "9");
    EXPECT_TRUE(copy.Name().Is_Empty());
}

} // namespace
