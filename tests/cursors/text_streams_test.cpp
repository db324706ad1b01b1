// The in-memory UTF-8 text streams.
#include <gtest/gtest.h>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/text_streams-memory_utf8_input.hpp>
#include <qorvi/strings/text_streams-memory_utf8_output.hpp>
#include <string>

namespace {

using Qorvi::Constraint_Error;
using Qorvi::Stream_Element_Vectors::Conversions::Unchecked_From_Unbounded_String;
using Qorvi::Stream_Element_Vectors::Conversions::Unchecked_To_String;
using Qorvi::Strings::Virtual_String;
using Qorvi::Text_Streams::Memory_UTF8_Input::Memory_UTF8_Input_Stream;
using Qorvi::Text_Streams::Memory_UTF8_Output::Memory_UTF8_Output_Stream;

constexpr char32_t No_Item = 0x7FFFFFFF;

std::string text(const Virtual_String& s) {
    return Qorvi::Strings::Conversions::To_UTF_8_String(s);
}

TEST(Memory_UTF8_Input_Stream, EmptyStream) {
    Memory_UTF8_Input_Stream input;
    EXPECT_TRUE(input.Error_Message().Is_Null());
    EXPECT_TRUE(input.Is_End_Of_Stream());
    EXPECT_FALSE(input.Is_End_Of_Data());
    char32_t item = 0;
    bool success = true;
    input.Get(item, success);
    EXPECT_FALSE(success);
    EXPECT_EQ(item, No_Item);
    EXPECT_FALSE(input.Has_Error());
    EXPECT_TRUE(input.Error_Message().Is_Null());
}

TEST(Memory_UTF8_Input_Stream, ReadsEveryCharacterThenTheEnd) {
    Memory_UTF8_Input_Stream input;
    input.Set_Data(Unchecked_From_Unbounded_String("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    std::u32string read;
    bool success = true;
    char32_t item = 0;
    while (input.Is_End_Of_Data()) {
        EXPECT_FALSE(input.Is_End_Of_Stream());
        input.Get(item, success);
        read.push_back(item);
    }
    EXPECT_TRUE(success);
    EXPECT_EQ(read, U"a\u00E9\u20AC\U0001F600");
    input.Get(item, success);
    EXPECT_FALSE(success);
    EXPECT_FALSE(input.Has_Error());
}

TEST(Memory_UTF8_Input_Stream, ErrorStaysUntilRewind) {
    Memory_UTF8_Input_Stream input;
    input.Set_Data(Unchecked_From_Unbounded_String("A\xC3"));
    char32_t item = 0;
    bool success = true;
    input.Get(item, success);
    EXPECT_TRUE(success);
    EXPECT_EQ(item, U'A');
    for (int twice = 0; twice < 2; ++twice) {
        success = true;
        input.Get(item, success);
        EXPECT_FALSE(success);
        EXPECT_EQ(item, No_Item);
        EXPECT_TRUE(input.Has_Error());
        EXPECT_EQ(text(input.Error_Message()), "incomplete two code unit sequence");
        EXPECT_TRUE(input.Is_End_Of_Data()); // the bad byte is still there
    }
    input.Rewind();
    EXPECT_FALSE(input.Has_Error());
    success = true;
    input.Get(item, success);
    EXPECT_TRUE(success);
    EXPECT_EQ(item, U'A');
}

TEST(Memory_UTF8_Input_Stream, GetWithSuccessAlreadyFalseStillAdvances) {
    Memory_UTF8_Input_Stream input;
    input.Set_Data(Unchecked_From_Unbounded_String("xy"));
    char32_t item = 0;
    bool success = false;
    input.Get(item, success);
    EXPECT_FALSE(success);
    EXPECT_EQ(item, No_Item);
    EXPECT_FALSE(input.Has_Error());
    success = true;
    input.Get(item, success);
    EXPECT_EQ(item, U'y');
}

TEST(Memory_UTF8_Input_Stream, NamesEveryKindOfMalformedInput) {
    const struct {
        const char* bytes;
        const char* message;
    } cases[] = {
        {"\xE0\x41", "incomplete three code unit sequence"},
        {"\xF0\x9F\x98", "incomplete four code unit sequence"},
        {"\x80", "invalid UTF-8 sequence (wrong start code unit)"},
        {"\xC0\x80", "invalid UTF-8 sequence (wrong start code unit)"},
        {"\xF5\x80\x80\x80", "invalid UTF-8 sequence (wrong start code unit)"},
        {"\xC3\x41", "invalid UTF-8 sequence (wrong second code unit of two code units sequence)"},
        {"\xE0\x80\x80", "invalid UTF-8 sequence (wrong second code unit of three code units "
                         "sequence)"},
        {"\xED\xA0\x80", "invalid UTF-8 sequence (wrong second code unit of three code units "
                         "sequence)"},
        {"\xE2\x82\x41", "invalid UTF-8 sequence (wrong third code unit of three code units "
                         "sequence)"},
        {"\xF4\x90\x80\x80", "invalid UTF-8 sequence (wrong second code unit of four code units "
                             "sequence)"},
        {"\xF0\x9F\x41\x80", "invalid UTF-8 sequence (wrong third code unit of four code units "
                             "sequence)"},
        {"\xF0\x9F\x98\x41", "invalid UTF-8 sequence (wrong forth code unit of four code units "
                             "sequence)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Memory_UTF8_Input_Stream input;
        input.Set_Data(Unchecked_From_Unbounded_String(std::string("ok") + c.bytes));
        char32_t item = 0;
        bool success = true;
        input.Get(item, success);
        input.Get(item, success);
        ASSERT_TRUE(success);
        input.Get(item, success);
        EXPECT_FALSE(success);
        EXPECT_EQ(text(input.Error_Message()), c.message);
    }
}

TEST(Memory_UTF8_Input_Stream, SetDataCopiesAndRewinds) {
    auto bytes = Unchecked_From_Unbounded_String("ab");
    Memory_UTF8_Input_Stream input;
    input.Set_Data(bytes);
    bytes.Append(std::uint8_t{'c'});
    char32_t item = 0;
    bool success = true;
    input.Get(item, success);
    input.Set_Data(Unchecked_From_Unbounded_String("\xC3\xA9"));
    input.Get(item, success);
    EXPECT_EQ(item, U'\u00E9');
    input.Set_Data(bytes);
    std::u32string read;
    while (input.Is_End_Of_Data()) {
        input.Get(item, success);
        read.push_back(item);
    }
    EXPECT_EQ(read, U"abc");
}

TEST(Memory_UTF8_Output_Stream, WritesUTF8) {
    Memory_UTF8_Output_Stream output;
    bool success = true;
    output.Put(U'\u00E9', success);
    EXPECT_EQ(Unchecked_To_String(output.Buffer), "\xC3\xA9");
    output.Put_Line(Virtual_String(), success);
    EXPECT_EQ(Unchecked_To_String(output.Buffer), "\xC3\xA9\n");
    output.Put(Virtual_String(U"a\U0001F600"), success);
    output.Put_Line(Virtual_String("z"), success);
    output.New_Line(success);
    EXPECT_EQ(Unchecked_To_String(output.Buffer), "\xC3\xA9\na\xF0\x9F\x98\x80z\n\n");
    EXPECT_TRUE(success);
    EXPECT_FALSE(output.Has_Error());
    EXPECT_TRUE(output.Error_Message().Is_Null());
    // The owner may take the buffer and go on with an empty one.
    output.Buffer = {};
    output.Put(U'x', success);
    EXPECT_EQ(Unchecked_To_String(output.Buffer), "x");
}

TEST(Memory_UTF8_Output_Stream, RefusesValuesThatAreNotScalarValues) {
    Memory_UTF8_Output_Stream output;
    bool success = true;
    for (const char32_t bad :
         {U'\xD800', U'\xDFFF', char32_t{0x110000}, char32_t{0x1FFFFF}, char32_t{0x200000}}) {
        EXPECT_THROW(output.Put(bad, success), Constraint_Error);
    }
    EXPECT_EQ(output.Buffer.Length(), 0);
    output.Put(U'\U0010FFFF', success);
    EXPECT_EQ(Unchecked_To_String(output.Buffer), "\xF4\x8F\xBF\xBF");
}

TEST(Text_Streams, OutputReadsBackThroughInput) {
    const std::u32string sample = U"Gr\u00FC\u00DFe \u4E16\u754C \U0001F44B\n\u0416";
    Memory_UTF8_Output_Stream output;
    bool success = true;
    output.Put(Virtual_String(sample), success);
    Memory_UTF8_Input_Stream input;
    input.Set_Data(output.Buffer);
    std::u32string read;
    char32_t item = 0;
    while (input.Is_End_Of_Data()) {
        input.Get(item, success);
        read.push_back(item);
    }
    EXPECT_TRUE(success);
    EXPECT_EQ(read, sample);
}

} // namespace
