// Word_Iterator and its factories.

#include "segmentation_test_files.hpp"

#include <gtest/gtest.h>
#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/cursors/strings-cursors-iterators-words.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings.hpp>
#include <string>
#include <utility>
#include <vector>

namespace {

using Qorvi::Strings::Virtual_String;
using Qorvi::Strings::Cursors::Iterators::Words::Element_Kind;
using namespace Qorvi::Strings;

TEST(Word_Iterator_Conformance, Every_Line_Forward) {
    const auto cases = Segmentation_Test::read_break_cases("auxiliary/WordBreakTest.txt");
    ASSERT_GT(cases.size(), 1800u);
    for (const auto& test : cases) {
        SCOPED_TRACE("WordBreakTest.txt line " + std::to_string(test.Line) + ": " + test.Source);
        const Virtual_String s(test.Text);
        std::vector<std::size_t> lengths;
        Qorvi::Character_Count next_index = 1;
        std::int32_t next_utf8 = 0;
        auto it = Before_First_Word(s);
        while (it.Forward()) {
            ASSERT_TRUE(it.Has_Element());
            EXPECT_EQ(it.First_Character_Index(), next_index);
            EXPECT_EQ(it.First_UTF8_Offset(), next_utf8);
            lengths.push_back(static_cast<std::size_t>(it.Character_Length()));
            next_index = it.Last_Character_Index() + 1;
            next_utf8 = it.Last_UTF8_Offset() + 1;
        }
        EXPECT_FALSE(it.Has_Element());
        EXPECT_FALSE(it.Forward());
        EXPECT_EQ(lengths, test.Segments);
    }
}

using Segments = std::vector<std::pair<std::u32string, Element_Kind>>;

Segments segments_of(const Virtual_String& s) {
    Segments result;
    for (auto it = At_First_Word(s); it.Has_Element(); it.Forward()) {
        const Element_Kind kind = it.On_Line_Break()   ? Element_Kind::LINE_BREAK
                                  : it.On_Whitespace() ? Element_Kind::WHITESPACE
                                                       : Element_Kind::TEXT;
        result.emplace_back(Conversions::To_Wide_Wide_String(it.Element()), kind);
    }
    return result;
}

TEST(Word_Iterator, Segments_And_Their_Kinds) {
    constexpr auto T = Element_Kind::TEXT;
    constexpr auto W = Element_Kind::WHITESPACE;
    constexpr auto L = Element_Kind::LINE_BREAK;
    const std::pair<std::u32string, Segments> cases[] = {
        {U"Hello, world", {{U"Hello", T}, {U",", T}, {U" ", W}, {U"world", T}}},
        {U"\r\n", {{U"\r\n", L}}},
        {U"\n\r", {{U"\n", L}, {U"\r", L}}},
        {U"a\u2028\u000Bb", {{U"a", T}, {U"\u2028", L}, {U"\u000B", L}, {U"b", T}}},
        {U"  ", {{U"  ", W}}},
        {U"\t", {{U"\t", T}}},
        {U"\u3000", {{U"\u3000", W}}},
        {U" \u0301", {{U" \u0301", T}}},
        {U"can't", {{U"can't", T}}},
        {U"3.14", {{U"3.14", T}}},
        {U"a_b", {{U"a_b", T}}},
        {U"a.", {{U"a", T}, {U".", T}}},
        {U"\u05D0\"\u05D1", {{U"\u05D0\"\u05D1", T}}},
        {U"\U0001F1FA\U0001F1F8\U0001F1EB\U0001F1F7",
         {{U"\U0001F1FA\U0001F1F8", T}, {U"\U0001F1EB\U0001F1F7", T}}},
        {U"\U0001F469\u200D\U0001F4BB!", {{U"\U0001F469\u200D\U0001F4BB", T}, {U"!", T}}},
    };
    for (const auto& [text, expected] : cases) {
        const Virtual_String s(text);
        SCOPED_TRACE(s.Image());
        EXPECT_EQ(segments_of(s), expected);
    }
}

TEST(Word_Iterator, Empty_String) {
    const Virtual_String s("");
    auto it = At_First_Word(s);
    EXPECT_FALSE(it.Has_Element());
    EXPECT_FALSE(it.Forward());
    EXPECT_FALSE(it.On_Whitespace());
    auto last = At_Last_Word(s);
    EXPECT_FALSE(last.Has_Element());
}

TEST(Word_Iterator, Positioning_And_Unsupported_Operations) {
    const Virtual_String two("ab cd");
    EXPECT_THROW(At_Last_Word(two), Qorvi::Program_Error);
    auto it = At_First_Word(two);
    EXPECT_THROW(it.Backward(), Qorvi::Program_Error);
    auto character = two.At_First_Character();
    character.Forward();
    EXPECT_THROW(At_Word(two, character), Qorvi::Program_Error);
    character.Set_After_Last(two);
    auto after = At_Word(two, character);
    EXPECT_TRUE(after.Is_Valid());
    EXPECT_FALSE(after.Has_Element());
    EXPECT_FALSE(after.Forward());

    const Virtual_String one("x");
    auto last = At_Last_Word(one);
    EXPECT_TRUE(last.Has_Element());
    EXPECT_EQ(Conversions::To_UTF_8_String(last.Element()), "x");
    EXPECT_FALSE(last.Forward());
}

TEST(Word_Iterator, Every_Character_Of_Every_Plane) {
    std::u32string text;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            text += c;
        }
    }
    const Virtual_String s(text);
    Qorvi::Character_Count covered = 0;
    for (auto it = Before_First_Word(s); it.Forward();) {
        EXPECT_EQ(it.First_Character_Index(), covered + 1);
        covered += it.Character_Length();
    }
    EXPECT_EQ(covered, s.Character_Length());
}

TEST(Word_Iterator, Failed_Positioning_Leaves_Nothing_Attached) {
    Virtual_String s("ab cd");
    EXPECT_THROW(At_Last_Word(s), Qorvi::Program_Error);
    auto second = s.At_First_Character();
    second.Forward();
    EXPECT_THROW(At_Word(s, second), Qorvi::Program_Error);
    s.Prepend(U'x');
    EXPECT_EQ(second.First_Character_Index(), 3);
}

TEST(Word_Iterator, Detached_Iterators_Raise) {
    const Virtual_String s("ab");
    const Virtual_String copy = s;
    auto foreign = copy.At_First_Character();
    auto it = At_Word(s, foreign);
    EXPECT_FALSE(it.Is_Valid());
    EXPECT_THROW(it.Forward(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Has_Element(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.On_Line_Break(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.On_Whitespace(), Qorvi::Constraint_Error);
}

TEST(Word_Iterator, Follows_Edits_Of_The_String) {
    Virtual_String s("one two");
    auto it = At_First_Word(s);
    ASSERT_TRUE(it.Forward());
    ASSERT_TRUE(it.On_Whitespace());
    s.Prepend(Virtual_String("zero "));
    EXPECT_EQ(it.First_Character_Index(), 9);
    ASSERT_TRUE(it.Forward());
    EXPECT_EQ(Conversions::To_UTF_8_String(it.Element()), "two");
    auto t = s.At_Last_Character();
    s.Delete(t, t);
    EXPECT_FALSE(it.Is_Valid());
}

} // namespace
