// Line_Iterator and its factories.

#include <gtest/gtest.h>
#include <memory>
#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/cursors/strings-cursors-iterators-lines.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings.hpp>
#include <string>
#include <vector>

namespace {

using Qorvi::Strings::Line_Terminator;
using Qorvi::Strings::Line_Terminator_Set;
using Qorvi::Strings::New_Line_Function;
using Qorvi::Strings::Virtual_String;
using Qorvi::Strings::Cursors::Iterators::Lines::Line_Iterator;
using namespace Qorvi::Strings;

std::string text(const Virtual_String& s) {
    return Conversions::To_UTF_8_String(s);
}

// One line as the iterator reports it.
struct Line {
    std::string Element;
    std::string Terminator; // "-" when the line has none
    Qorvi::Character_Count Terminator_First;
    Qorvi::Character_Count Terminator_Last;
    friend bool operator==(const Line&, const Line&) = default;
};

void PrintTo(const Line& l, std::ostream* os) {
    *os << "{\"" << l.Element << "\", \"" << l.Terminator << "\", " << l.Terminator_First << ", "
        << l.Terminator_Last << "}";
}

Line line_of(const Line_Iterator& it) {
    return {text(it.Element()), it.Has_Line_Terminator() ? text(it.Element_Terminator()) : "-",
            it.Terminator_First_Character_Index(), it.Terminator_Last_Character_Index()};
}

std::vector<Line> lines_forward(const Virtual_String& s, Line_Terminator_Set set, bool keep) {
    std::vector<Line> lines;
    for (auto it = At_First_Line(s, set, keep); it.Has_Element(); it.Forward()) {
        lines.push_back(line_of(it));
    }
    return lines;
}

std::vector<Line> lines_backward(const Virtual_String& s, Line_Terminator_Set set, bool keep) {
    std::vector<Line> lines;
    auto it = At_Last_Line(s, set, keep);
    if (!it.Has_Element()) {
        return lines;
    }
    do {
        lines.insert(lines.begin(), line_of(it));
    } while (it.Backward());
    return lines;
}

TEST(Line_Iterator, Lines_Forward_And_Backward) {
    const Line_Terminator_Set cr_lf{Line_Terminator::CR, Line_Terminator::LF};
    const Line_Terminator_Set crlf_only{Line_Terminator::CRLF};
    struct Case {
        std::string Text;
        Line_Terminator_Set Set;
        bool Keep;
        std::vector<Line> Lines;
    };
    const Case cases[] = {
        {"a\nb\n", New_Line_Function, false, {{"a", "\n", 2, 2}, {"b", "\n", 4, 4}}},
        {"a\nb\n", New_Line_Function, true, {{"a\n", "\n", 2, 2}, {"b\n", "\n", 4, 4}}},
        {"a\r\nb", New_Line_Function, false, {{"a", "\r\n", 2, 3}, {"b", "-", 5, 4}}},
        {"a\r\nb", New_Line_Function, true, {{"a\r\n", "\r\n", 2, 3}, {"b", "-", 5, 4}}},
        {"\n\nx", New_Line_Function, false, {{"", "\n", 1, 1}, {"", "\n", 2, 2}, {"x", "-", 4, 3}}},
        {"a\n\rb",
         New_Line_Function,
         false,
         {{"a", "\n", 2, 2}, {"", "\r", 3, 3}, {"b", "-", 5, 4}}},
        {"a\r\nb", cr_lf, false, {{"a", "\r", 2, 2}, {"", "\n", 3, 3}, {"b", "-", 5, 4}}},
        {"a\rb\nc", crlf_only, false, {{"a\rb\nc", "-", 6, 5}}},
        {"a\r\r\n", crlf_only, false, {{"a\r", "\r\n", 3, 4}}},
        {"a\r\xC2\x85"
         "b",
         Line_Terminator_Set{Line_Terminator::CRLF, Line_Terminator::NEL},
         false,
         {{"a\r", "\xC2\x85", 3, 3}, {"b", "-", 5, 4}}},
        {"a\nb\r\n", Line_Terminator_Set{}, false, {{"a\nb\r\n", "-", 6, 5}}},
        {"x\xE2\x80\xA8y",
         Line_Terminator_Set{Line_Terminator::LS},
         true,
         {{"x\xE2\x80\xA8", "\xE2\x80\xA8", 2, 2}, {"y", "-", 4, 3}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(::testing::PrintToString(test.Text) + (test.Keep ? " keep" : ""));
        const Virtual_String s(test.Text);
        EXPECT_EQ(lines_forward(s, test.Set, test.Keep), test.Lines);
        EXPECT_EQ(lines_backward(s, test.Set, test.Keep), test.Lines);
    }
}

TEST(Line_Iterator, Moves_Report_Whether_A_Line_Was_Reached) {
    const Virtual_String s("a\nb\n");
    auto it = At_First_Line(s);
    EXPECT_TRUE(it.Forward());
    EXPECT_FALSE(it.Forward());
    EXPECT_FALSE(it.Has_Element());
    EXPECT_FALSE(it.Forward());
    EXPECT_TRUE(it.Backward()); // back onto the last line
    EXPECT_EQ(text(it.Element()), "b");
    EXPECT_TRUE(it.Backward());
    EXPECT_FALSE(it.Backward());
    EXPECT_FALSE(it.Has_Element());
    EXPECT_EQ(it.First_Character_Index(), 0);
    EXPECT_TRUE(it.Forward()); // from before the first line onto it
    EXPECT_EQ(text(it.Element()), "a");
}

TEST(Line_Iterator, Empty_Line_Has_An_Element) {
    const Virtual_String s("\n\nx");
    auto it = At_First_Line(s);
    EXPECT_TRUE(it.Has_Element());
    EXPECT_EQ(it.Character_Length(), 0);
    EXPECT_TRUE(it.Element().Is_Null());
}

TEST(Line_Iterator, At_Line_Holds_The_Line_Of_The_Cursor) {
    const Virtual_String s("ab\ncd");
    auto cursor = s.At_First_Character();
    cursor.Forward();
    cursor.Forward(); // on the LF
    auto on_terminator = At_Line(s, cursor);
    EXPECT_EQ(text(on_terminator.Element()), "ab");
    cursor.Set_At_Last(s); // on d
    auto on_last = At_Line(s, cursor);
    EXPECT_EQ(text(on_last.Element()), "cd");
    EXPECT_FALSE(on_last.Has_Line_Terminator());
    cursor.Set_Before_First(s);
    auto before = At_Line(s, cursor);
    EXPECT_FALSE(before.Has_Element());
    EXPECT_TRUE(before.Forward());
    EXPECT_EQ(text(before.Element()), "ab");

    const Virtual_String copy = s;
    auto foreign = At_Line(copy, cursor);
    EXPECT_FALSE(foreign.Is_Valid());
    EXPECT_THROW(foreign.Forward(), Qorvi::Constraint_Error);
}

TEST(Line_Iterator, Last_Line_And_Empty_String) {
    EXPECT_EQ(text(At_Last_Line(Virtual_String("a\nbc\n")).Element()), "bc");
    const Virtual_String empty("");
    auto it = At_Last_Line(empty);
    EXPECT_FALSE(it.Has_Element());
    EXPECT_FALSE(it.Has_Line_Terminator());
    auto first = At_First_Line(empty);
    EXPECT_FALSE(first.Has_Element());
    EXPECT_FALSE(first.Forward());
}

TEST(Line_Iterator, Terminator_Markers_And_Offsets) {
    const Virtual_String s("\xC3\xA9\r\nb");
    auto it = At_First_Line(s);
    EXPECT_EQ(it.Terminator_First_Marker().First_Character_Index(), 2);
    EXPECT_EQ(it.Terminator_Last_Marker().First_Character_Index(), 3);
    EXPECT_EQ(it.Terminator_First_UTF8_Offset(), 2);
    EXPECT_EQ(it.Terminator_First_UTF16_Offset(), 1);
    EXPECT_THROW((void)it.Terminator_Last_UTF8_Offset(), Qorvi::Program_Error);
    EXPECT_THROW((void)it.Terminator_Last_UTF16_Offset(), Qorvi::Program_Error);

    // Without a terminator: after the line (keep clear), or the invalid position (keep set).
    ASSERT_TRUE(it.Forward());
    EXPECT_EQ(it.Terminator_First_UTF8_Offset(), 5);
    EXPECT_FALSE(it.Terminator_Last_Marker().Is_Valid());
    auto kept = At_Last_Line(s, New_Line_Function, true);
    EXPECT_FALSE(kept.Terminator_First_Marker().Is_Valid());
    EXPECT_EQ(kept.Terminator_First_UTF8_Offset(), 0x7FFFFFFF);
    EXPECT_EQ(kept.Terminator_Last_Marker().First_Character_Index(), 4);
}

TEST(Line_Iterator, Detached_Iterators) {
    auto s = std::make_unique<Virtual_String>("a\nb");
    auto it = At_First_Line(*s);
    s.reset();
    EXPECT_FALSE(it.Is_Valid());
    EXPECT_FALSE(it.Has_Line_Terminator());
    EXPECT_EQ(it.First_Character_Index(), 0);
    EXPECT_THROW(it.Forward(), Qorvi::Constraint_Error);
    EXPECT_THROW(it.Backward(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Has_Element(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Element_Terminator(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Terminator_First_Character_Index(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Terminator_Last_Character_Index(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Terminator_First_Marker(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Terminator_First_UTF8_Offset(), Qorvi::Constraint_Error);
}

TEST(Line_Iterator, Follows_Edits_Of_The_String) {
    Virtual_String s("ab\ncd\nef");
    auto it = At_First_Line(s);
    ASSERT_TRUE(it.Forward());
    s.Prepend(Virtual_String("x\n"));
    EXPECT_EQ(text(it.Element()), "cd");
    EXPECT_EQ(it.Terminator_First_Character_Index(), 8);
    ASSERT_TRUE(it.Forward());
    EXPECT_EQ(text(it.Element()), "ef");
    ASSERT_TRUE(it.Backward());
    ASSERT_TRUE(it.Backward());
    EXPECT_EQ(text(it.Element()), "ab");
    auto a = s.At_First_Character();
    a.Forward();
    a.Forward(); // on the a of "ab"
    s.Delete(a, a);
    EXPECT_FALSE(it.Is_Valid());
}

} // namespace
