// The property queries of Qorvi::Characters at the values that matter, their handling of values
// that are not characters, the category images, the named characters and Qorvi::Unicode.

#include "ucd_test_files.hpp"

#include <cctype>
#include <gtest/gtest.h>
#include <qorvi/ucd/characters-latin.hpp>
#include <qorvi/ucd/characters-punctuations.hpp>
#include <qorvi/ucd/characters-replacement.hpp>
#include <qorvi/ucd/characters.hpp>
#include <qorvi/ucd/unicode.hpp>
#include <string>
#include <vector>

namespace {

using namespace Qorvi::Characters;
using G = General_Category;

TEST(General_Category_Query, EdgeValues) {
    const std::pair<char32_t, G> cases[] = {
        {0x110000, G::UNASSIGNED},   {0x1FFFFF, G::UNASSIGNED},    {0x7FFFFFFF, G::UNASSIGNED},
        {0xFFFFFFFF, G::UNASSIGNED}, {0xD800, G::SURROGATE},       {0xDFFF, G::SURROGATE},
        {0xE000, G::PRIVATE_USE},    {0x10FFFD, G::PRIVATE_USE},   {0xFFFE, G::UNASSIGNED},
        {0xFFFF, G::UNASSIGNED},     {0x10FFFF, G::UNASSIGNED},    {0x2EBF0, G::OTHER_LETTER},
        {0x2FFC, G::OTHER_SYMBOL},   {0x31EF, G::OTHER_SYMBOL},    {0x1FAE9, G::UNASSIGNED},
        {0x0000, G::CONTROL},        {0x0020, G::SPACE_SEPARATOR}, {0x2028, G::LINE_SEPARATOR},
    };
    for (const auto& [code, category] : cases) {
        EXPECT_EQ(Image(Get_General_Category(code)), Image(category)) << ucd_test::u_plus(code);
    }
}

TEST(General_Category_Query, ClassesOfCategories) {
    EXPECT_TRUE(Is_Graphic(0x0020));
    EXPECT_FALSE(Is_Graphic(0x2028));
    EXPECT_FALSE(Is_Graphic(0x0085));
    EXPECT_TRUE(Is_Format(0x200B));
    EXPECT_TRUE(Is_Format(0x2028));
    EXPECT_TRUE(Is_Format(0x2029));
    EXPECT_FALSE(Is_Format(0x0020));
    EXPECT_TRUE(Is_Control(0x0085));
    EXPECT_FALSE(Is_Control(0x200B));
    // Values above the code point range are unassigned, not an error.
    for (const char32_t beyond : {char32_t{0x110000}, char32_t{0x200000}, char32_t{0xFFFFFFFF}}) {
        EXPECT_FALSE(Is_Graphic(beyond));
        EXPECT_FALSE(Is_Format(beyond));
        EXPECT_FALSE(Is_Control(beyond));
    }
}

TEST(Case_Property_Queries, DerivedFromCategoryAndOtherFlags) {
    EXPECT_TRUE(Get_Lowercase(0x0061));
    EXPECT_TRUE(Get_Lowercase(0x00AA)); // Lo with Other_Lowercase
    EXPECT_TRUE(Get_Lowercase(0x02B0)); // Lm with Other_Lowercase
    EXPECT_FALSE(Get_Lowercase(0x0041));
    EXPECT_TRUE(Get_Uppercase(0x2160)); // Nl with Other_Uppercase
    EXPECT_TRUE(Get_Uppercase(0x24B6)); // So with Other_Uppercase
    EXPECT_FALSE(Get_Uppercase(0x01C5));
    EXPECT_TRUE(Get_Cased(0x01C5)); // Lt
    EXPECT_FALSE(Get_Cased(0x0030));
    EXPECT_FALSE(Get_Cased(0xD800)); // a surrogate is no character, and not cased
}

TEST(Case_Property_Queries, ValuesAboveCodePointRangeThrow) {
    namespace Core = Qorvi::Implementation::UCD_Core;
    for (const char32_t beyond :
         {char32_t{0x110000}, char32_t{0x1FFFFF}, char32_t{0x200000}, char32_t{0xFFFFFFFF}}) {
        EXPECT_THROW(Get_Lowercase(beyond), Qorvi::Constraint_Error) << ucd_test::u_plus(beyond);
        EXPECT_THROW(Get_Uppercase(beyond), Qorvi::Constraint_Error) << ucd_test::u_plus(beyond);
        EXPECT_THROW(Get_Cased(beyond), Qorvi::Constraint_Error) << ucd_test::u_plus(beyond);
        EXPECT_THROW(Core::Get_Core_Data(beyond), Qorvi::Constraint_Error)
            << ucd_test::u_plus(beyond);
    }
    EXPECT_NO_THROW(Get_Cased(0x10FFFF));
}

TEST(Valid_Characters, ScalarValuesOnly) {
    for (const char32_t valid : {0x0000u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10FFFFu}) {
        EXPECT_TRUE(Is_Valid_Virtual_Character(valid)) << ucd_test::u_plus(valid);
        EXPECT_TRUE(Qorvi::Unicode::Is_Scalar_Value(valid)) << ucd_test::u_plus(valid);
        EXPECT_TRUE(Qorvi::Unicode::Is_Scalar_Value_Character(valid)) << ucd_test::u_plus(valid);
    }
    for (const char32_t invalid :
         {0xD800u, 0xDBFFu, 0xDC00u, 0xDFFFu, 0x110000u, 0x1FFFFFu, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_FALSE(Is_Valid_Virtual_Character(invalid)) << ucd_test::u_plus(invalid);
        EXPECT_FALSE(Qorvi::Unicode::Is_Scalar_Value(invalid)) << ucd_test::u_plus(invalid);
        EXPECT_FALSE(Qorvi::Unicode::Is_Scalar_Value_Character(invalid))
            << ucd_test::u_plus(invalid);
    }
    static_assert(Is_Valid_Virtual_Character(U'a') && !Is_Valid_Virtual_Character(0xD800));
}

TEST(General_Category_Images, RoundTripAndBadText) {
    const std::vector<std::string> images = {
        "UPPERCASE_LETTER",    "LOWERCASE_LETTER",  "TITLECASE_LETTER",
        "MODIFIER_LETTER",     "OTHER_LETTER",      "NONSPACING_MARK",
        "SPACING_MARK",        "ENCLOSING_MARK",    "DECIMAL_NUMBER",
        "LETTER_NUMBER",       "OTHER_NUMBER",      "CONNECTOR_PUNCTUATION",
        "DASH_PUNCTUATION",    "OPEN_PUNCTUATION",  "CLOSE_PUNCTUATION",
        "INITIAL_PUNCTUATION", "FINAL_PUNCTUATION", "OTHER_PUNCTUATION",
        "MATH_SYMBOL",         "CURRENCY_SYMBOL",   "MODIFIER_SYMBOL",
        "OTHER_SYMBOL",        "SPACE_SEPARATOR",   "LINE_SEPARATOR",
        "PARAGRAPH_SEPARATOR", "CONTROL",           "FORMAT",
        "SURROGATE",           "PRIVATE_USE",       "UNASSIGNED"};
    for (std::size_t code = 0; code < images.size(); ++code) {
        const auto category = static_cast<G>(code);
        EXPECT_EQ(Image(category), images[code]);
        EXPECT_EQ(General_Category_Value(images[code]), category);
    }
    EXPECT_EQ(General_Category_Value(" other_letter\t"), G::OTHER_LETTER);
    EXPECT_EQ(General_Category_Value("Private_Use"), G::PRIVATE_USE);
    for (const char* bad : {"", "OTHER", "OTHER_LETTERS", "OTHER LETTER", "Lo"}) {
        EXPECT_THROW(General_Category_Value(bad), Qorvi::Constraint_Error) << bad;
    }
    EXPECT_THROW(Image(static_cast<G>(30)), Qorvi::Constraint_Error);
}

// Each constant's name, upper-cased with '_' for ' ' and '-', is the character's name in
// UnicodeData.txt (for controls, the start of their Unicode 1.0 name: NUL of NULL, LINE_FEED of
// LINE_FEED_(LF)).
TEST(Named_Characters, ValuesMatchCharacterNames) {
    struct Named {
        const char* name;
        Qorvi::Virtual_Character code;
    };
#define QORVI_NAMED(unit, name)                                                                    \
    Named {                                                                                        \
#name, unit::name                                                                          \
    }
    const Named constants[] = {
        QORVI_NAMED(Latin, Nul),
        QORVI_NAMED(Latin, Backspace),
        QORVI_NAMED(Latin, Character_Tabulation),
        QORVI_NAMED(Latin, Line_Feed),
        QORVI_NAMED(Latin, Line_Tabulation),
        QORVI_NAMED(Latin, Form_Feed),
        QORVI_NAMED(Latin, Carriage_Return),
        QORVI_NAMED(Latin, Space),
        QORVI_NAMED(Latin, Exclamation_Mark),
        QORVI_NAMED(Latin, Quotation_Mark),
        QORVI_NAMED(Latin, Number_Sign),
        QORVI_NAMED(Latin, Dollar_Sign),
        QORVI_NAMED(Latin, Percent_Sign),
        QORVI_NAMED(Latin, Ampersand),
        QORVI_NAMED(Latin, Apostrophe),
        QORVI_NAMED(Latin, Plus_Sign),
        QORVI_NAMED(Latin, Hyphen_Minus),
        QORVI_NAMED(Latin, Full_Stop),
        QORVI_NAMED(Latin, Digit_Zero),
        QORVI_NAMED(Latin, Digit_Nine),
        QORVI_NAMED(Latin, Colon),
        QORVI_NAMED(Latin, Less_Than_Sign),
        QORVI_NAMED(Latin, Equals_Sign),
        QORVI_NAMED(Latin, Greater_Than_Sign),
        QORVI_NAMED(Latin, Latin_Capital_Letter_A),
        QORVI_NAMED(Latin, Latin_Capital_Letter_Z),
        QORVI_NAMED(Latin, Circumflex_Accent),
        QORVI_NAMED(Latin, Low_Line),
        QORVI_NAMED(Latin, Grave_Accent),
        QORVI_NAMED(Latin, Latin_Small_Letter_A),
        QORVI_NAMED(Latin, Latin_Small_Letter_Z),
        QORVI_NAMED(Latin, Left_Curly_Bracket),
        QORVI_NAMED(Latin, Right_Curly_Bracket),
        QORVI_NAMED(Latin, Tilde),
        QORVI_NAMED(Latin, Next_Line),
        QORVI_NAMED(Punctuations, Line_Separator),
        QORVI_NAMED(Punctuations, Paragraph_Separator),
        QORVI_NAMED(Punctuations, Left_To_Right_Embedding),
        QORVI_NAMED(Punctuations, Right_To_Left_Embedding),
        QORVI_NAMED(Punctuations, Pop_Directional_Formatting),
        QORVI_NAMED(Punctuations, Left_To_Right_Override),
        QORVI_NAMED(Punctuations, Right_To_Left_Override),
        QORVI_NAMED(Punctuations, Left_To_Right_Isolate),
        QORVI_NAMED(Punctuations, Right_To_Left_Isolate),
        QORVI_NAMED(Punctuations, First_Strong_Isolate),
        QORVI_NAMED(Punctuations, Pop_Directional_Isolate),
        QORVI_NAMED(Specials, Replacement_Character),
    };
#undef QORVI_NAMED
    std::vector<std::string> names;
    ucd_test::read_general_categories(&names);
    for (const Named& constant : constants) {
        std::string expected = constant.name;
        for (char& c : expected) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        std::string actual = names.at(constant.code);
        for (char& c : actual) {
            c = c == ' ' || c == '-' ? '_' : c;
        }
        const bool matches =
            actual == expected || (Is_Control(constant.code) && actual.starts_with(expected));
        EXPECT_TRUE(matches) << constant.name << " is " << ucd_test::u_plus(constant.code) << ", "
                             << names.at(constant.code);
    }
}

} // namespace
