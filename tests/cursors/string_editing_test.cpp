// In-place edits of Virtual_String and their notifications, slicing, concatenation,
// repetition, character deletion and the prefix and suffix tests.
#include "cursors_test_support.hpp"

#include <functional>
#include <qorvi/strings/string_vectors.hpp>
#include <vector>

namespace {

using namespace Qorvi_Test;
using Qorvi::Constraint_Error;
using Qorvi::Strings::Line_Terminator;
using Qorvi::Strings::Line_Terminator_Set;
using Qorvi::Strings::Cursors::Markers::Character_Marker;
namespace Strings_Internals = Qorvi::Strings::Internals;

// A marker on the character with the given index (0: before the first one).
Character_Marker at(const Virtual_String& s, int index) {
    auto it = s.Before_First_Character();
    for (int i = 0; i < index; ++i) {
        it.Forward();
    }
    return it.First_Marker();
}

struct Edit_Case {
    const char* name;
    const char* before;
    std::function<void(Virtual_String&)> edit;
    const char* after;
    Cursor start;
    Cursor_Offset removed;
    Cursor_Offset inserted;
};

TEST(String_Editing, EachEditNotifiesOnceWithItsExtents) {
    // "a\u00E9\U0001F600b": code units a(0) e-acute(1..2) emoji(3..6) b(7).
    const char* text = "a\xC3\xA9\xF0\x9F\x98\x80"
                       "b";
    const Edit_Case cases[] = {
        {"append a character",
         text,
         [](Virtual_String& s) { s.Append(U'\u20AC'); },
         "a\xC3\xA9\xF0\x9F\x98\x80"
         "b\xE2\x82\xAC",
         {8, 0, 5},
         {},
         {3, 1, 1}},
        {"append a string",
         text,
         [](Virtual_String& s) { s.Append(Virtual_String(U"\U0001F600x")); },
         "a\xC3\xA9\xF0\x9F\x98\x80"
         "b\xF0\x9F\x98\x80x",
         {8, 0, 5},
         {},
         {5, 3, 2}},
        {"prepend a character",
         text,
         [](Virtual_String& s) { s.Prepend(U'\U0001F600'); },
         "\xF0\x9F\x98\x80"
         "a\xC3\xA9\xF0\x9F\x98\x80"
         "b",
         {0, 0, 1},
         {},
         {4, 2, 1}},
        {"prepend a string",
         text,
         [](Virtual_String& s) { s.Prepend(Virtual_String("xy")); },
         "xya\xC3\xA9\xF0\x9F\x98\x80"
         "b",
         {0, 0, 1},
         {},
         {2, 2, 2}},
        {"insert a character",
         text,
         [](Virtual_String& s) { s.Insert(at(s, 3), U'-'); },
         "a\xC3\xA9-\xF0\x9F\x98\x80"
         "b",
         {3, 2, 3},
         {},
         {1, 1, 1}},
        {"insert a string",
         text,
         [](Virtual_String& s) { s.Insert(at(s, 2), Virtual_String("\xC3\xA9\xC3\xA9")); },
         "a\xC3\xA9\xC3\xA9\xC3\xA9\xF0\x9F\x98\x80"
         "b",
         {1, 1, 2},
         {},
         {4, 2, 2}},
        {"insert after the last",
         text,
         [](Virtual_String& s) { s.Insert(s.After_Last_Character(), U'z'); },
         "a\xC3\xA9\xF0\x9F\x98\x80"
         "bz",
         {8, 0, 5},
         {},
         {1, 1, 1}},
        {"delete",
         text,
         [](Virtual_String& s) { s.Delete(at(s, 2), at(s, 3)); },
         "ab",
         {1, 1, 2},
         {6, 3, 2},
         {}},
        {"delete through the after-last position",
         text,
         [](Virtual_String& s) { s.Delete(at(s, 3), s.After_Last_Character()); },
         "a\xC3\xA9",
         {3, 2, 3},
         {5, 3, 2},
         {}},
        {"replace by a character",
         text,
         [](Virtual_String& s) { s.Replace(at(s, 1), at(s, 3), U'-'); },
         "-b",
         {0, 0, 1},
         {7, 4, 3},
         {1, 1, 1}},
        {"replace by a string",
         text,
         [](Virtual_String& s) {
             s.Replace(at(s, 4), at(s, 4), Virtual_String(U"\U0001F600\U0001F600"));
         },
         "a\xC3\xA9\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
         {7, 4, 4},
         {1, 1, 1},
         {8, 4, 2}},
        {"replace with To before From inserts at From",
         text,
         [](Virtual_String& s) { s.Replace(at(s, 3), at(s, 2), Virtual_String("XY")); },
         "a\xC3\xA9XY\xF0\x9F\x98\x80"
         "b",
         {3, 2, 3},
         {},
         {2, 2, 2}},
        {"append an empty string",
         text,
         [](Virtual_String& s) { s.Append(Virtual_String()); },
         text,
         {8, 0, 5},
         {},
         {}},
    };
    for (const Edit_Case& c : cases) {
        SCOPED_TRACE(c.name);
        Virtual_String s(c.before);
        Spy spy(s);
        c.edit(s);
        EXPECT_EQ(Text(s), c.after);
        EXPECT_EQ(s.Character_Length(), Virtual_String(c.after).Character_Length());
        ASSERT_EQ(spy.Calls.size(), 1u);
        EXPECT_EQ(spy.Calls[0].Start.Index, c.start.Index);
        EXPECT_EQ(spy.Calls[0].Start.UTF8_Offset, c.start.UTF8_Offset);
        EXPECT_EQ(spy.Calls[0].Removed, c.removed);
        EXPECT_EQ(spy.Calls[0].Inserted, c.inserted);
    }
}

TEST(String_Editing, AppendMovesAnAfterLastIteratorBehindTheNewCharacter) {
    Virtual_String s = "ab";
    Spy spy(s);
    auto after = s.After_Last_Character();
    s.Append(U'c');
    ASSERT_EQ(spy.Calls.size(), 1u);
    EXPECT_EQ(spy.Calls[0].Start, (Cursor{2, 0, 3}));
    EXPECT_EQ(after.First_Character_Index(), 4);
    EXPECT_EQ(after.First_UTF8_Offset(), 3);
    EXPECT_FALSE(after.Has_Element());
}

TEST(String_Editing, EditsThatChangeNothingSendNothing) {
    Virtual_String s = "abcd";
    Spy spy(s);
    // To before From: no deletion, no notification.
    s.Delete(at(s, 3), at(s, 2));
    // Cursors of another string, of a copy, or detached: nothing happens.
    const Virtual_String copy = s;
    Virtual_String other = "abcd";
    for (const Virtual_String* foreign : {&copy, static_cast<const Virtual_String*>(&other)}) {
        const Character_Marker m = at(*foreign, 2);
        s.Insert(m, U'x');
        s.Insert(m, Virtual_String("xyz"));
        s.Delete(m, m);
        s.Delete(at(s, 1), m);
        s.Replace(m, m, U'x');
        s.Replace(at(s, 1), m, Virtual_String("x"));
        EXPECT_TRUE(s.Slice(m, m).Is_Null());
        EXPECT_TRUE(s.Slice(at(s, 1), m).Is_Null());
        EXPECT_TRUE(s.Head_Before(m).Is_Null());
        EXPECT_TRUE(s.Tail_From(m).Is_Null());
        EXPECT_TRUE(s.Tail_After(m).Is_Null());
    }
    s.Insert(Character_Marker(), U'x');
    EXPECT_EQ(Text(s), "abcd");
    EXPECT_TRUE(spy.Calls.empty());
    EXPECT_EQ(Text(other), "abcd");
}

TEST(String_Editing, CharactersThatAreNotScalarValuesAreRefused) {
    // Surrogates and values above U+10FFFF would be written as ill-formed UTF-8.
    for (const char32_t bad : {U'\xD800', U'\xDBFF', U'\xDC00', U'\xDFFF', char32_t{0x110000},
                               char32_t{0x1FFFFF}, char32_t{0x200000}, char32_t{0xFFFFFFFF}}) {
        SCOPED_TRACE(static_cast<unsigned>(bad));
        Virtual_String s = "abc";
        Spy spy(s);
        const Virtual_String other = "xyz";
        EXPECT_THROW(s.Append(bad), Constraint_Error);
        EXPECT_THROW(s.Prepend(bad), Constraint_Error);
        EXPECT_THROW(s.Insert(at(s, 2), bad), Constraint_Error);
        EXPECT_THROW(s.Insert(at(other, 2), bad), Constraint_Error);
        EXPECT_THROW(s.Replace(at(s, 1), at(s, 2), bad), Constraint_Error);
        EXPECT_THROW(s + bad, Constraint_Error);
        EXPECT_THROW(bad + s, Constraint_Error);
        EXPECT_THROW(Qorvi::Strings::Repeat(2, bad), Constraint_Error);
        EXPECT_THROW(Qorvi::Strings::Repeat(0, bad), Constraint_Error);
        EXPECT_THROW(Qorvi::Characters::To_Virtual_String(bad), Constraint_Error);
        EXPECT_THROW((void)s.Delete(bad), Constraint_Error);
        EXPECT_THROW((void)s.Ends_With(bad), Constraint_Error);
        EXPECT_EQ(Text(s), "abc");
        EXPECT_TRUE(spy.Calls.empty());
    }
    EXPECT_EQ(Text(Qorvi::Characters::To_Virtual_String(U'\U0010FFFF')), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Text(Qorvi::Characters::To_Virtual_String(U'\uD7FF')), "\xED\x9F\xBF");
    EXPECT_EQ(Text(Qorvi::Characters::To_Virtual_String(U'\uE000')), "\xEE\x80\x80");
}

TEST(String_Editing, EditsOfAStringWithItself) {
    Virtual_String s = "ab";
    s.Append(s);
    EXPECT_EQ(Text(s), "abab");
    s.Prepend(s);
    EXPECT_EQ(Text(s), "abababab");
    s.Insert(at(s, 2), s);
    EXPECT_EQ(Text(s), "aabababab"
                       "bababab");
    Virtual_String t = "abcdef";
    t.Replace(at(t, 2), at(t, 5), t);
    EXPECT_EQ(Text(t), "aabcdeff");
}

TEST(String_Editing, EditsUnshareCopies) {
    const std::string long_text(40, 'q');
    Virtual_String s(long_text);
    const Virtual_String copy = s;
    s.Insert(at(s, 3), U'!');
    s.Delete(at(s, 10), at(s, 12));
    EXPECT_EQ(Text(copy), long_text);
    EXPECT_EQ(s.Character_Length(), 38);
}

TEST(String_Editing, DeletingAllOfAStoredStringLeavesItEmptyButNotNull) {
    Virtual_String s(std::string(30, 'z'));
    s.Delete(s.At_First_Character(), s.At_Last_Character());
    EXPECT_TRUE(s.Is_Empty());
    EXPECT_FALSE(s.Is_Null());
    // Nothing to delete in an empty string.
    Spy spy(s);
    s.Delete(s.Before_First_Character(), s.After_Last_Character());
    EXPECT_TRUE(spy.Calls.empty());
}

TEST(String_Editing, SlicingFunctions) {
    const Virtual_String s(U"a\u00E9\U0001F600d");
    EXPECT_EQ(Text(s.Slice(at(s, 2), at(s, 3))), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(Text(s.Slice(at(s, 3))), "\xF0\x9F\x98\x80");
    EXPECT_TRUE(s.Slice(at(s, 3), at(s, 2)).Is_Null());
    EXPECT_EQ(Text(s.Slice(s.Before_First_Character(), s.After_Last_Character())), Text(s));
    EXPECT_EQ(Text(s.Head_Before(at(s, 3))), "a\xC3\xA9");
    EXPECT_EQ(Text(s.Head_Before(s.After_Last_Character())), Text(s));
    EXPECT_TRUE(s.Head_Before(at(s, 1)).Is_Null());
    EXPECT_TRUE(s.Head_Before(s.Before_First_Character()).Is_Null());
    EXPECT_EQ(Text(s.Tail_From(at(s, 3))), "\xF0\x9F\x98\x80"
                                           "d");
    EXPECT_EQ(Text(s.Tail_From(s.Before_First_Character())), Text(s));
    EXPECT_EQ(Text(s.Tail_After(at(s, 2))), "\xF0\x9F\x98\x80"
                                            "d");
    EXPECT_EQ(Text(s.Tail_After(s.Before_First_Character())), Text(s));
    EXPECT_TRUE(s.Tail_After(at(s, 4)).Is_Null());
    EXPECT_EQ(s.Tail_After(at(s, 1)).Character_Length(), 3);
    // A cursor reached backward (its UTF-16 offset counted from the end) works the same.
    auto back = s.After_Last_Character();
    back.Backward();
    back.Backward();
    EXPECT_EQ(Text(s.Head_Before(back)), "a\xC3\xA9");
    EXPECT_EQ(Text(s.Tail_From(back)), "\xF0\x9F\x98\x80"
                                       "d");
    // A segment: from its first to its last position.
    Virtual_String w = "one two";
    const Fixed_Segment two(w, Cursor{4, 4, 5}, Cursor{6, 6, 7});
    EXPECT_EQ(Text(w.Slice(two)), "two");
    EXPECT_EQ(Text(w.Slice(at(w, 1), two)), "one two");
    EXPECT_EQ(Text(w.Tail_After(two)), "wo");
}

TEST(String_Editing, Concatenation) {
    const Virtual_String stored(std::string(40, 'x'));
    const Virtual_String same = stored + Virtual_String();
    // Appending nothing copies nothing: the result shares the left operand's text.
    EXPECT_EQ(Strings_Internals::Data_Access_Constant(same)->Storage_Address,
              Strings_Internals::Data_Access_Constant(stored)->Storage_Address);
    EXPECT_EQ(Text(Virtual_String("ab") + Virtual_String("c\xC3\xA9")), "abc\xC3\xA9");
    EXPECT_EQ(Text(Virtual_String("ab") + U'\U0001F600'), "ab\xF0\x9F\x98\x80");
    EXPECT_EQ(Text(U'\u00E9' + Virtual_String("ab")), "\xC3\xA9"
                                                      "ab");
    EXPECT_EQ(Text(U'\u00E9' + Virtual_String()), "\xC3\xA9");
    EXPECT_TRUE((Virtual_String() + Virtual_String()).Is_Null());
    const Virtual_String joined = stored + "y";
    EXPECT_EQ(joined.Character_Length(), 41);
    EXPECT_EQ(stored.Character_Length(), 40);
}

TEST(String_Editing, RepetitionOfACharacter) {
    EXPECT_TRUE(Qorvi::Strings::Repeat(0, U'a').Is_Null());
    EXPECT_TRUE(Qorvi::Strings::Repeat(-3, U'a').Is_Null());
    EXPECT_EQ(Text(Qorvi::Strings::Repeat(3, U'\u00E9')), "\xC3\xA9\xC3\xA9\xC3\xA9");
    const Virtual_String many = Qorvi::Strings::Repeat(1000, U'\U0001F600');
    EXPECT_EQ(many.Character_Length(), 1000);
    EXPECT_EQ(Qorvi::Strings::Conversions::To_UTF_8_String(many).size(), 4000u);
}

TEST(String_Editing, DeleteACharacterEverywhere) {
    const Virtual_String s(U"\u00E9a\u00E9\u00E9b\u00E9");
    EXPECT_EQ(Text(s.Delete(U'\u00E9')), "ab");
    EXPECT_EQ(s.Delete(U'\u00E9').Character_Length(), 2);
    EXPECT_EQ(Text(s.Delete(U'a')), "\xC3\xA9\xC3\xA9\xC3\xA9"
                                    "b\xC3\xA9");
    EXPECT_EQ(Text(s.Delete(U'z')), Text(s));
    // A byte of a longer character is not a character: only whole characters match.
    EXPECT_EQ(Text(Virtual_String(U"\u00E9").Delete(U'\u00C3')), "\xC3\xA9");
    EXPECT_TRUE(Virtual_String("aaa").Delete(U'a').Is_Null());
    EXPECT_TRUE(Virtual_String("").Delete(U'a').Is_Null());
    EXPECT_TRUE(Virtual_String().Delete(U'a').Is_Null());
}

TEST(String_Editing, PrefixAndSuffixTests) {
    const Virtual_String s = "abc\r\n";
    EXPECT_TRUE(s.Starts_With(Virtual_String()));
    EXPECT_TRUE(s.Starts_With("ab"));
    EXPECT_FALSE(s.Starts_With("abd"));
    EXPECT_FALSE(Virtual_String("a").Starts_With("ab"));
    EXPECT_TRUE(s.Ends_With(Virtual_String()));
    EXPECT_TRUE(s.Ends_With("c\r\n"));
    EXPECT_TRUE(s.Ends_With(U'\n'));
    EXPECT_FALSE(Virtual_String().Ends_With(U'\n'));
    EXPECT_TRUE(s.Ends_With(Line_Terminator::CRLF));
    EXPECT_TRUE(s.Ends_With(Line_Terminator::LF));
    EXPECT_FALSE(s.Ends_With(Line_Terminator::CR));
    EXPECT_TRUE(s.Ends_With(Line_Terminator_Set{Line_Terminator::LF}));
    EXPECT_FALSE(s.Ends_With(Line_Terminator_Set{Line_Terminator::CR}));
    EXPECT_FALSE(s.Ends_With(Line_Terminator_Set{}));
    EXPECT_TRUE(s.Ends_With(Qorvi::Strings::New_Line_Function));
    EXPECT_TRUE(Virtual_String(U"x\u2028").Ends_With(Line_Terminator::LS));
    EXPECT_FALSE(Virtual_String(U"x\u2028").Ends_With(Line_Terminator::PS));
    EXPECT_TRUE(Virtual_String(U"x\u0085").Ends_With(Qorvi::Strings::New_Line_Function));
    EXPECT_TRUE(Virtual_String("x\f").Ends_With(
        Line_Terminator_Set{Line_Terminator::VT, Line_Terminator::FF}));
    EXPECT_THROW((void)s.Ends_With(static_cast<Line_Terminator>(8)), Constraint_Error);
}

// The elements of a vector as UTF-8, null ones written as "<null>".
std::vector<std::string> elements(const Qorvi::String_Vectors::Virtual_String_Vector& v) {
    std::vector<std::string> result;
    for (const Virtual_String& item : v) {
        result.push_back(item.Is_Null() ? "<null>" : Text(item));
    }
    return result;
}

using Strings = std::vector<std::string>;

TEST(String_Editing, Split) {
    const struct {
        const char* text;
        bool keep;
        Strings expected;
    } cases[] = {
        {"a,,b", false, {"a", "b"}},   {"a,,b", true, {"a", "<null>", "b"}},
        {"a,b,", false, {"a", "b"}},   {"a,b,", true, {"a", "b", "<null>"}},
        {",a", true, {"<null>", "a"}}, {"", false, {}},
        {"", true, {"<null>"}},        {",", true, {"<null>", "<null>"}},
        {"abc", true, {"abc"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(elements(Virtual_String(c.text).Split(U',', c.keep)), c.expected);
    }
    EXPECT_TRUE(Virtual_String().Split(U',').Is_Empty());
    // Multi-unit separators and segments; a separator byte inside another character is no
    // separator.
    const Virtual_String s(U"\u00E9\U0001F600x\U0001F600\U0001F600\u00C3");
    const auto parts = s.Split(U'\U0001F600', true);
    EXPECT_EQ(elements(parts), (Strings{"\xC3\xA9", "x", "<null>", "\xC3\x83"}));
    EXPECT_EQ(parts.Element(1).Character_Length(), 1);
    EXPECT_EQ(elements(Virtual_String(U"\u00E9").Split(U'\u00C3')), (Strings{"\xC3\xA9"}));
    EXPECT_THROW((void)s.Split(U'\xD800'), Constraint_Error);
}

TEST(String_Editing, SplitLines) {
    using Qorvi::Strings::New_Line_Function;
    EXPECT_TRUE(Virtual_String().Split_Lines().Is_Empty());
    EXPECT_TRUE(Virtual_String("").Split_Lines().Is_Empty());
    EXPECT_EQ(elements(Virtual_String("a\nb\n").Split_Lines()), (Strings{"a", "b"}));
    EXPECT_EQ(
        elements(Virtual_String("a\r\nb").Split_Lines(Line_Terminator_Set{Line_Terminator::LF})),
        (Strings{"a\r", "b"}));
    EXPECT_EQ(
        elements(Virtual_String("a\r\nb").Split_Lines(Line_Terminator_Set{Line_Terminator::CRLF})),
        (Strings{"a", "b"}));
    EXPECT_EQ(elements(Virtual_String("a\r\nb\r\n").Split_Lines(New_Line_Function, true)),
              (Strings{"a\r\n", "b\r\n"}));
    // Empty lines are empty, non-null strings.
    const auto lines = Virtual_String("a\n\rb").Split_Lines(New_Line_Function);
    EXPECT_EQ(elements(lines), (Strings{"a", "", "b"}));
    EXPECT_FALSE(lines.Element(2).Is_Null());
    EXPECT_EQ(
        elements(
            Virtual_String(U"x\u2028\u00E9\u2029")
                .Split_Lines(Line_Terminator_Set{Line_Terminator::LS, Line_Terminator::PS}, true)),
        (Strings{"x\xE2\x80\xA8", "\xC3\xA9\xE2\x80\xA9"}));
    EXPECT_EQ(lines.Element(3).Character_Length(), 1);
    EXPECT_EQ(elements(Virtual_String("a\nb").Split_Lines(Line_Terminator_Set{})),
              (Strings{"a\nb"}));
}

TEST(String_Editing, RepetitionAndOneElementVectors) {
    const Virtual_String item = "ab";
    EXPECT_EQ(elements(3 * item), (Strings{"ab", "ab", "ab"}));
    EXPECT_TRUE((0 * item).Is_Empty());
    EXPECT_TRUE((-1 * item).Is_Empty());
    const auto one = Virtual_String().To_Virtual_String_Vector();
    ASSERT_EQ(one.Length(), 1);
    EXPECT_TRUE(one.Element(1).Is_Null());
    EXPECT_EQ(elements(item.To_Virtual_String_Vector()), (Strings{"ab"}));
}

} // namespace
