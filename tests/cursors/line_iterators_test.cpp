#include <gtest/gtest.h>
#include <qorvi/cursors/implementation-line_iterators.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <string>
#include <vector>

namespace {

using namespace Qorvi::Implementation;
using Qorvi::Strings::Line_Terminator;
using Qorvi::Strings::Line_Terminator_Set;
using Qorvi::Strings::New_Line_Function;
using Qorvi::Strings::Virtual_String;
using Strings::Cursor;
namespace UTF8 = UTF8_Strings;

// A line as the searches report it: its text including the terminator, and the terminator's
// text ("" when the line has none).
struct Line {
    std::string text;
    std::string terminator;
    friend bool operator==(const Line&, const Line&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Line& line) {
        return out << '[' << line.text << '|' << line.terminator << ']';
    }
};

std::string span(const UTF8::UTF8_String_Data& data, const Cursor& first, const Cursor& last) {
    const auto end = UTF8::Last_UTF8_Offset(data, last) + 1;
    return std::string(
        UTF8::To_String_View(data).substr(static_cast<std::size_t>(first.UTF8_Offset),
                                          static_cast<std::size_t>(end - first.UTF8_Offset)));
}

Line line_of(const UTF8::UTF8_String_Data& data, const Cursor& first, const Cursor& last,
             const Cursor& terminator) {
    return Line{span(data, first, last),
                Strings::Is_Invalid(terminator) ? "" : span(data, terminator, last)};
}

std::vector<Line> forward_lines(const Virtual_String& text, Line_Terminator_Set set) {
    const auto& data = *Qorvi::Strings::Internals::Data_Access_Constant(text);
    std::vector<Line> lines;
    Cursor start = Strings::Position_Before_First_Character, first, last, terminator;
    while (Line_Iterators::Forward(data, set, start, first, last, terminator)) {
        lines.push_back(line_of(data, first, last, terminator));
        start = last;
    }
    EXPECT_TRUE(Strings::Is_Invalid(terminator));
    return lines;
}

std::vector<Line> backward_lines(const Virtual_String& text, Line_Terminator_Set set) {
    const auto& data = *Qorvi::Strings::Internals::Data_Access_Constant(text);
    std::vector<Line> lines;
    Cursor start, first, last, terminator;
    UTF8::After_Last_Character(data, start);
    while (Line_Iterators::Backward(data, set, start, first, last, terminator)) {
        lines.insert(lines.begin(), line_of(data, first, last, terminator));
        start = first;
    }
    return lines;
}

struct Case {
    const char* text;
    Line_Terminator_Set set;
    std::vector<Line> lines;
};

constexpr Line_Terminator_Set CR_LF{Line_Terminator::CR, Line_Terminator::LF};
constexpr Line_Terminator_Set CRLF_only{Line_Terminator::CRLF};
constexpr Line_Terminator_Set CRLF_NEL{Line_Terminator::CRLF, Line_Terminator::NEL};

TEST(Line_Search, ForwardAndBackwardFindTheSameLines) {
    const std::vector<Case> cases = {
        {"a\r\nb", New_Line_Function, {{"a\r\n", "\r\n"}, {"b", ""}}},
        {"a\rb", New_Line_Function, {{"a\r", "\r"}, {"b", ""}}},
        {"a\n\rb", New_Line_Function, {{"a\n", "\n"}, {"\r", "\r"}, {"b", ""}}},
        {"a\r\nb", CR_LF, {{"a\r", "\r"}, {"\n", "\n"}, {"b", ""}}},
        {"a\rb\nc", CRLF_only, {{"a\rb\nc", ""}}},
        {"a\r\nb", CRLF_only, {{"a\r\n", "\r\n"}, {"b", ""}}},
        {"a\r\r\n", CRLF_only, {{"a\r\r\n", "\r\n"}}},
        {"a\r\xC2\x85"
         "b",
         CRLF_NEL,
         {{"a\r\xC2\x85", "\xC2\x85"}, {"b", ""}}},
        {"a\n", New_Line_Function, {{"a\n", "\n"}}},
        {"", New_Line_Function, {}},
        {"a\nb\rc\xE2\x80\xA8", Line_Terminator_Set(), {{"a\nb\rc\xE2\x80\xA8", ""}}},
        {"x\xE2\x80\xA8y\xE2\x80\xA9z\x0B\x0C",
         Line_Terminator_Set{Line_Terminator::LS, Line_Terminator::PS, Line_Terminator::VT,
                             Line_Terminator::FF},
         {{"x\xE2\x80\xA8", "\xE2\x80\xA8"},
          {"y\xE2\x80\xA9", "\xE2\x80\xA9"},
          {"z\x0B", "\x0B"},
          {"\x0C", "\x0C"}}},
        {"\xF0\x9F\x98\x80\r", New_Line_Function, {{"\xF0\x9F\x98\x80\r", "\r"}}},
    };
    for (const Case& c : cases) {
        const Virtual_String text(c.text);
        EXPECT_EQ(forward_lines(text, c.set), c.lines) << testing::PrintToString(text);
        EXPECT_EQ(backward_lines(text, c.set), c.lines) << testing::PrintToString(text);
    }
}

TEST(Line_Search, NothingBeyondTheEnds) {
    const Virtual_String text("a\n");
    const auto& data = *Qorvi::Strings::Internals::Data_Access_Constant(text);
    Cursor first, last, terminator;
    // From the end of the only line nothing follows.
    ASSERT_TRUE(Line_Iterators::Forward(data, New_Line_Function,
                                        Strings::Position_Before_First_Character, first, last,
                                        terminator));
    const Cursor end = last;
    EXPECT_FALSE(Line_Iterators::Forward(data, New_Line_Function, end, first, last, terminator));
    EXPECT_EQ(last, end);
    EXPECT_TRUE(Strings::Is_Invalid(terminator));
    // Nothing precedes the first character.
    EXPECT_FALSE(Line_Iterators::Backward(data, New_Line_Function, Cursor{0, 0, 1}, first, last,
                                          terminator));
    EXPECT_EQ(first, Strings::Position_Before_First_Character);
    const Virtual_String empty("");
    const auto& empty_data = *Qorvi::Strings::Internals::Data_Access_Constant(empty);
    EXPECT_FALSE(Line_Iterators::Forward(empty_data, New_Line_Function,
                                         Strings::Position_Before_First_Character, first, last,
                                         terminator));
}

TEST(Line_Terminator, SequencesAndImages) {
    using Qorvi::Implementation::Line_Terminator::Sequence;
    EXPECT_EQ(Sequence(Qorvi::Strings::Line_Terminator::CRLF), "\r\n");
    EXPECT_EQ(Sequence(Qorvi::Strings::Line_Terminator::LS), u8"\u2028");
    EXPECT_EQ(Sequence(Qorvi::Strings::Line_Terminator::NEL), u8"\u0085");
    EXPECT_EQ(Sequence(Qorvi::Strings::Line_Terminator::FF), "\f");
    EXPECT_THROW((void)Sequence(static_cast<Qorvi::Strings::Line_Terminator>(8)),
                 Qorvi::Constraint_Error);
    EXPECT_STREQ(Image(Qorvi::Strings::Line_Terminator::CRLF), "CRLF");
    EXPECT_EQ(Line_Terminator_Set{Line_Terminator::PS}.To_Byte(), 0x80);
    EXPECT_TRUE(Line_Terminator_Set().Is_Empty());
}

} // namespace
