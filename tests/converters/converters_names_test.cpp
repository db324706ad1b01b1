// Label normalisation and the conversion flags.

#include <gtest/gtest.h>
#include <qorvi/converters/strings-converters-decoders.hpp>
#include <qorvi/converters/strings-converters.hpp>
#include <string>

namespace {

using namespace Qorvi::Strings::Converters;
using Qorvi::Strings::Virtual_String;

// The byte-level walk, which the string form and the registry lookup share.
std::string Name(std::string_view Label) {
    return Internals::To_Encoding_Name(Label);
}

TEST(To_Encoding_Name, normalises_labels) {
    const struct {
        const char* Label;
        const char* Name;
    } cases[] = {
        {"UTF-8", "utf8"},
        {" UTF-8 ", "utf8"},
        {"\t\n\f\r utf8 \r\n", "utf8"},
        {"UTF-08", "utf8"},
        {"0utf8", "utf8"},
        {"ISO-8859-1", "iso88591"},
        {"ISO-8859-01", "iso885901"},
        {"ISO-8859-10", "iso885910"},
        {"iso_8859-1-1987", "iso885911987"},
        {"csISO58GB231280", "csiso58gb231280"},
        {"unicode-1-1-utf-8", "unicode11utf8"},
        {"sun_eu_greek", "suneugreek"},
        {"Windows-31J", "windows31j"},
        {"latin-9", "latin9"},
        {"!#$%&'+-^_`{}~a~}{`_^-+'&%$#!", "a"},
        {"1!0", "10"},  // punctuation after a digit keeps the digit state
        {"a0b0", "ab"}, // zeros after letters are dropped
        {"100", "100"},
        {"x-0", "x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Name(c.Label), c.Name) << c.Label;
    }
}

TEST(To_Encoding_Name, gives_the_empty_string_for_invalid_labels) {
    const char* const invalid[] = {
        "",          " \t ",        "utf 8",  "utf8 x", "ISO_8859-1:1987",
        "iso8859.1", "utf/8",       "(utf8)", "utf,8",  "a\"b",
        "a[b]",      "a|b",         "a\x7f",  "a\x0b",  "\x01utf8",
        "utf8\v",    "caf\xc3\xa9", "utf8 0", "utf8 -", "a@b",
        "a*b",       "a;b",         "a?b",    "a\\b",
    };
    for (const char* label : invalid) {
        EXPECT_EQ(Name(label), "") << label;
    }
    EXPECT_EQ(Name(std::string_view("utf\0008", 5)), "");
    EXPECT_EQ(Name("00"), ""); // valid, but nothing is kept
}

// Every ASCII character is either kept (letters lowered, digits), dropped, white space or
// invalid, exactly as the classes of the label grammar say.
TEST(To_Encoding_Name, classifies_every_ascii_character) {
    const std::string dropped = "!#$%&'+-^_`{}~";
    for (int c = 0; c < 128; ++c) {
        const char ch = static_cast<char>(c);
        const std::string label = std::string("a") + ch + "b";
        std::string expected;
        if (ch >= 'A' && ch <= 'Z') {
            expected = std::string("a") + static_cast<char>(ch - 'A' + 'a') + "b";
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= '1' && ch <= '9')) {
            expected = label;
        } else if (ch == '0' || dropped.find(ch) != std::string::npos) {
            expected = "ab";
        } else {
            expected = ""; // invalid, or white space between other characters
        }
        EXPECT_EQ(Name(label), expected) << "character " << c;
    }
}

TEST(To_Encoding_Name, works_on_strings) {
    EXPECT_EQ(To_Encoding_Name(Virtual_String(" Shift_JIS ")), Virtual_String("shiftjis"));
    EXPECT_EQ(To_Encoding_Name(Virtual_String(u8"caf\u00e9")), Virtual_String(""));
    EXPECT_EQ(To_Encoding_Name(Virtual_String(U"utf\U0001F600")), Virtual_String(""));
    EXPECT_EQ(To_Encoding_Name(Virtual_String()), Virtual_String(""));
}

TEST(Converter_Flags, pack_one_bit_per_flag) {
    EXPECT_EQ(Default_Converter_Flags.To_Byte(), 0);
    EXPECT_EQ(Converter_Flags(Converter_Flag::STATELESS).To_Byte(), 1);
    EXPECT_EQ(Converter_Flags(Converter_Flag::STOP_ON_ERROR).To_Byte(), 2);
    EXPECT_EQ(Converter_Flags(Converter_Flag::PROCESS_BOM).To_Byte(), 4);
    const Converter_Flags flags = Converter_Flag::STATELESS | Converter_Flag::PROCESS_BOM;
    EXPECT_EQ(flags.To_Byte(), 5);
    EXPECT_TRUE(flags[Converter_Flag::STATELESS]);
    EXPECT_FALSE(flags[Converter_Flag::STOP_ON_ERROR]);
    EXPECT_TRUE(flags[Converter_Flag::PROCESS_BOM]);
    EXPECT_EQ(flags | Converter_Flag::STOP_ON_ERROR, Converter_Flags(Converter_Flag::STATELESS) |
                                                         Converter_Flag::STOP_ON_ERROR |
                                                         Converter_Flag::PROCESS_BOM);
    EXPECT_NE(flags, Default_Converter_Flags);
}

} // namespace
