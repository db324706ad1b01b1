// The formatter interface record and the Boolean and string formatters.
#include <gtest/gtest.h>
#include <qorvi/formatters/strings-formatters-booleans.hpp>
#include <qorvi/formatters/strings-formatters-strings.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <string>

namespace {

using namespace Qorvi::Strings;
using namespace Qorvi::Strings::Formatters;

Format_Information with_format(const char* Text) {
    Format_Information information;
    information.Format_String = Virtual_String(Text);
    return information;
}

TEST(Format_Information, Defaults_Images_And_Equality) {
    const Format_Information defaults;
    EXPECT_EQ(defaults.Width, 0);
    EXPECT_EQ(defaults.Alignment, Field_Alignment::DEFAULT);
    EXPECT_TRUE(defaults.Format_String.Is_Empty());
    static_assert(sizeof(Field_Alignment) == 1);

    EXPECT_EQ(Image(Field_Alignment::DEFAULT), "DEFAULT");
    EXPECT_EQ(Image(Field_Alignment::LEFT), "LEFT");
    EXPECT_EQ(Image(Field_Alignment::CENTER), "CENTER");
    EXPECT_EQ(Image(Field_Alignment::RIGHT), "RIGHT");
    EXPECT_EQ(Image(Field_Alignment::FILL), "FILL");

    // The format strings compare by their characters: null equals empty.
    EXPECT_EQ(defaults, with_format(""));
    EXPECT_EQ(with_format("05"), with_format("05"));
    EXPECT_FALSE(with_format("05") == with_format("5"));
    Format_Information wide = with_format("05");
    wide.Width = 3;
    EXPECT_FALSE(wide == with_format("05"));
    Format_Information aligned = with_format("05");
    aligned.Alignment = Field_Alignment::FILL;
    EXPECT_FALSE(aligned == with_format("05"));
}

TEST(Boolean_Formatters, Image_Whatever_The_Format) {
    for (const char* text : {"", "05", "+#16_3,", "TRUE"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Booleans::Image(true).Format(with_format(text)), Virtual_String("TRUE"));
        EXPECT_EQ(Booleans::Image(false).Format(with_format(text)), Virtual_String("FALSE"));
    }
    Format_Information odd = with_format("x");
    odd.Width = 12;
    odd.Alignment = Field_Alignment::CENTER;
    EXPECT_EQ(Booleans::Image(true).Format(odd), Virtual_String("TRUE"));
}

TEST(Boolean_Formatters, Name_And_Equality) {
    EXPECT_TRUE(Booleans::Image(true).Name().Is_Empty());
    EXPECT_EQ(Booleans::Image(Virtual_String("ok"), true).Name(), Virtual_String("ok"));
    EXPECT_EQ(Booleans::Image(Virtual_String("ok"), true), Booleans::Image("ok", true));
    EXPECT_FALSE(Booleans::Image("ok", true) == Booleans::Image("ok", false));
    EXPECT_FALSE(Booleans::Image("ok", true) == Booleans::Image("no", true));
    Booleans::Formatter copy = Booleans::Image("ok", true);
    copy = Booleans::Image(false);
    EXPECT_EQ(copy, Booleans::Image(false));
}

TEST(String_Formatters, Value_Unchanged) {
    const Virtual_String long_text(u8"Grüße aus Köln — a text longer than the in-place room");
    const Strings::Formatter formatter = Strings::Image(long_text);
    const Virtual_String result = formatter.Format(with_format("05#16"));
    EXPECT_EQ(result, long_text);
    EXPECT_EQ(result.Character_Length(), long_text.Character_Length());
    EXPECT_TRUE(Strings::Image(Virtual_String()).Format(with_format("")).Is_Empty());
    EXPECT_EQ(Strings::Image(Virtual_String("{}")).Format(Format_Information()),
              Virtual_String("{}"));
}

TEST(String_Formatters, Name_And_Equality) {
    EXPECT_TRUE(Strings::Image("v").Name().Is_Empty());
    EXPECT_EQ(Strings::Image("who", "v").Name(), Virtual_String("who"));
    EXPECT_EQ(Strings::Image("who", "v"),
              Strings::Image(Virtual_String("who"), Virtual_String("v")));
    EXPECT_FALSE(Strings::Image("who", "v") == Strings::Image("who", "w"));
    EXPECT_FALSE(Strings::Image("who", "v") == Strings::Image("how", "v"));
    // Null and empty values and names compare equal.
    EXPECT_EQ(Strings::Image(Virtual_String()), Strings::Image(""));
}

} // namespace
