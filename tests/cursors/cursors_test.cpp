// Cursor position queries, the cursor accessors of the string operations, and markers.
#include "cursors_test_support.hpp"

#include <qorvi/cursors/strings-cursors-markers.hpp>

namespace {

using namespace Qorvi_Test;
using Qorvi::Constraint_Error;
using Qorvi::Program_Error;
using Qorvi::Strings::Cursors::Abstract_Cursor;
using Qorvi::Strings::Cursors::Markers::Character_Marker;
using Qorvi::Strings::Cursors::Markers::Segment_Marker;
namespace Marker_Internals = Qorvi::Strings::Cursors::Markers::Internals;
namespace Cursor_Internals = Qorvi::Strings::Cursors::Internals;

// A marker on the character with the given index (1-based).
Character_Marker marker_at(const Virtual_String& s, int index) {
    auto it = s.Before_First_Character();
    for (int i = 0; i < index; ++i) {
        it.Forward();
    }
    return it.First_Marker();
}

// The character a marker stands on, read through an iterator placed on it.
char32_t character_at(const Virtual_String& s, const Character_Marker& m) {
    return s.At_Character(m).Element();
}

void expect_offset_queries_raise(const Abstract_Cursor& c) {
    EXPECT_THROW(c.First_UTF8_Offset(), Constraint_Error);
    EXPECT_THROW(c.Last_UTF8_Offset(), Constraint_Error);
    EXPECT_THROW(c.First_UTF16_Offset(), Constraint_Error);
    EXPECT_THROW(c.Last_UTF16_Offset(), Constraint_Error);
}

TEST(Cursors, DetachedMarkerIsInvalidAndRaisesOnOffsetsAndMarkers) {
    const Character_Marker m;
    EXPECT_FALSE(m.Is_Valid());
    EXPECT_EQ(m.First_Character_Index(), 0);
    EXPECT_EQ(m.Last_Character_Index(), 0);
    expect_offset_queries_raise(m);
    EXPECT_THROW(m.First_Marker(), Constraint_Error);
    EXPECT_THROW(m.Last_Marker(), Constraint_Error);
}

TEST(Cursors, NewCharacterMarker) {
    Virtual_String s = "abc";
    const Character_Marker invalid = Marker_Internals::New_Character_Marker(&s, Cursor{});
    EXPECT_FALSE(invalid.Is_Valid());
    EXPECT_FALSE(Cursor_Internals::Is_Owner(invalid, s));

    const Character_Marker before = Marker_Internals::New_Character_Marker(
        &s, Qorvi::Implementation::Strings::Position_Before_First_Character);
    EXPECT_TRUE(before.Is_Valid());
    EXPECT_TRUE(Cursor_Internals::Is_Owner(before, s));
    EXPECT_EQ(before.First_Character_Index(), 0);
    // Before the first character there is no offset to report.
    expect_offset_queries_raise(before);
}

struct Offsets_Case {
    const char* text;
    int index;
    int first_utf8, last_utf8, first_utf16, last_utf16;
};

TEST(Cursors, OffsetQueriesFromTheStartAndFromTheEnd) {
    const Offsets_Case cases[] = {
        {"a\xC3\xA9", 2, 1, 2, 1, 1},                            // U+00E9
        {"\xF0\x9F\x98\x80x", 1, 0, 3, 0, 1},                    // U+1F600
        {"\xF0\x9F\x98\x80x", 2, 4, 4, 2, 2},                    // after it
        {"\xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9", 3, 7, 8, 3, 3}, // euro, emoji, e acute
        {"\xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9", 2, 3, 6, 1, 2},
    };
    for (const Offsets_Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Virtual_String s(c.text);
        // Reached forward from the start: offsets counted from the start.
        auto forward = s.Before_First_Character();
        for (int i = 0; i < c.index; ++i) {
            forward.Forward();
        }
        // Reached backward from the end: the UTF-16 offset is stored from the end and turned
        // into a from-start value by the queries.
        auto backward = s.After_Last_Character();
        for (int i = s.Character_Length(); i >= c.index; --i) {
            backward.Backward();
        }
        for (const Abstract_Cursor* cursor : {static_cast<const Abstract_Cursor*>(&forward),
                                              static_cast<const Abstract_Cursor*>(&backward)}) {
            EXPECT_EQ(cursor->First_Character_Index(), c.index);
            EXPECT_EQ(cursor->Last_Character_Index(), c.index);
            EXPECT_EQ(cursor->First_UTF8_Offset(), c.first_utf8);
            EXPECT_EQ(cursor->Last_UTF8_Offset(), c.last_utf8);
            EXPECT_EQ(cursor->First_UTF16_Offset(), c.first_utf16);
            EXPECT_EQ(cursor->Last_UTF16_Offset(), c.last_utf16);
        }
        // A marker taken from a cursor answers the same.
        const Character_Marker m = backward.First_Marker();
        EXPECT_EQ(m.First_UTF16_Offset(), c.first_utf16);
        EXPECT_EQ(m.Last_UTF8_Offset(), c.last_utf8);
    }
}

TEST(Cursors, FirstAndLastMarkerOfACharacterCursorAreTheSameCharacter) {
    const Virtual_String s = "xyz";
    auto it = s.At_Last_Character();
    const Character_Marker first = it.First_Marker();
    const Character_Marker last = it.Last_Marker();
    EXPECT_TRUE(Cursor_Internals::Is_Owner(first, s));
    EXPECT_TRUE(Cursor_Internals::Is_Owner(last, s));
    EXPECT_EQ(first.First_Character_Index(), 3);
    EXPECT_EQ(last.First_Character_Index(), 3);
    EXPECT_EQ(Qorvi::Strings::Cursors::Character_Index(it), 3);
    EXPECT_EQ(Qorvi::Strings::Cursors::Marker(it).First_UTF8_Offset(), 2);
}

TEST(Cursors, IsOwnerIsIdentityNotEquality) {
    Virtual_String a = "same";
    const Virtual_String copy = a;
    const Character_Marker m = marker_at(a, 2);
    EXPECT_TRUE(Cursor_Internals::Is_Owner(m, a));
    EXPECT_FALSE(Cursor_Internals::Is_Owner(m, copy));
    EXPECT_THROW(Cursor_Internals::Is_Owner(Foreign_Cursor(), a), Program_Error);
}

TEST(Cursors, CursorAccessorsAcceptCharacterCursorsAndSegmentIterators) {
    Virtual_String s = "abcdef";
    const Character_Marker m = marker_at(s, 2);
    EXPECT_EQ(Cursor_Internals::First_Cursor_Access_Constant(m).Index, 2);
    EXPECT_EQ(Cursor_Internals::Last_Cursor_Access_Constant(m).Index, 2);
    const auto it = s.At_Last_Character();
    EXPECT_EQ(Cursor_Internals::Last_Cursor_Access_Constant(it).UTF8_Offset, 5);

    const Fixed_Segment segment(s, Cursor{1, 1, 2}, Cursor{3, 3, 4});
    EXPECT_EQ(Cursor_Internals::First_Cursor_Access_Constant(segment).Index, 2);
    EXPECT_EQ(Cursor_Internals::Last_Cursor_Access_Constant(segment).Index, 4);

    const Segment_Marker stored =
        Marker_Internals::New_Segment_Marker(&s, Cursor{1, 1, 2}, Cursor{3, 3, 4});
    EXPECT_THROW(Cursor_Internals::First_Cursor_Access_Constant(stored), Program_Error);
    EXPECT_THROW(Cursor_Internals::Last_Cursor_Access_Constant(Foreign_Cursor()), Program_Error);

    Qorvi::Implementation::Referrers::Magic_String_Access owner = nullptr;
    Cursor position;
    Qorvi::Strings::Cursors::Get_Owner_And_Position(m, owner, position);
    EXPECT_EQ(owner, &s);
    EXPECT_EQ(position.Index, 2);
    EXPECT_THROW(Qorvi::Strings::Cursors::Get_Owner_And_Position(Foreign_Cursor(), owner, position),
                 Program_Error);
}

TEST(Cursors, SegmentCursorLengthElementAndEnds) {
    Virtual_String s = "h\xC3\xA9llo w\xC3\xB6rld";
    const Fixed_Segment word(s, Cursor{0, 0, 1}, Cursor{5, 4, 5});
    EXPECT_TRUE(word.Is_Valid());
    EXPECT_EQ(word.Character_Length(), 5);
    EXPECT_EQ(Text(word.Element()), "h\xC3\xA9llo");
    EXPECT_EQ(word.First_UTF8_Offset(), 0);
    EXPECT_EQ(word.Last_UTF8_Offset(), 5);
    EXPECT_EQ(word.Last_Marker().First_Character_Index(), 5);
    EXPECT_EQ(Text(s.Slice(word)), "h\xC3\xA9llo");

    const Fixed_Segment reversed(s, Cursor{5, 4, 5}, Cursor{0, 0, 1});
    EXPECT_EQ(reversed.Character_Length(), 0);
    EXPECT_TRUE(reversed.Element().Is_Null());
}

TEST(Cursors, SegmentIteratorAfterItsStringIsDestroyed) {
    auto s = std::make_unique<Virtual_String>("abc");
    const Fixed_Segment segment(*s, Cursor{0, 0, 1}, Cursor{2, 2, 3});
    s.reset();
    EXPECT_FALSE(segment.Is_Valid());
    EXPECT_EQ(segment.Character_Length(), 0);
    EXPECT_TRUE(segment.Element().Is_Null());
    EXPECT_THROW(segment.First_UTF8_Offset(), Constraint_Error);
}

// Markers

TEST(Markers, FollowTheirCharacterThroughEdits) {
    Virtual_String s = "abcd";
    const Character_Marker c = marker_at(s, 3);
    // Delete a and b: c is now the first character.
    s.Delete(marker_at(s, 1), marker_at(s, 2));
    EXPECT_EQ(Text(s), "cd");
    EXPECT_EQ(c.First_Character_Index(), 1);
    EXPECT_EQ(c.First_UTF8_Offset(), 0);
    EXPECT_EQ(character_at(s, c), U'c');
    // Insert two characters at index 1 (at c itself): c moves behind them.
    s.Insert(c, Virtual_String("\xC3\xA9\xF0\x9F\x98\x80"));
    EXPECT_EQ(c.First_Character_Index(), 3);
    EXPECT_EQ(c.First_UTF8_Offset(), 6);
    EXPECT_EQ(c.First_UTF16_Offset(), 3);
    EXPECT_EQ(character_at(s, c), U'c');
    // Delete c: the marker is invalid and detached for good.
    s.Delete(c, c);
    EXPECT_EQ(Text(s), "\xC3\xA9\xF0\x9F\x98\x80"
                       "d");
    EXPECT_FALSE(c.Is_Valid());
    EXPECT_FALSE(Cursor_Internals::Is_Owner(c, s));
    EXPECT_EQ(c.First_Character_Index(), 0);
    s.Insert(s.At_Last_Character(), U'c');
    EXPECT_FALSE(c.Is_Valid());
}

TEST(Markers, LastCharacterAndAfterLastUnderAppend) {
    Virtual_String s = "ab";
    const Character_Marker last = marker_at(s, 2);
    const Character_Marker after = s.After_Last_Character().First_Marker();
    s.Append(Virtual_String("cd"));
    EXPECT_EQ(last.First_Character_Index(), 2);
    EXPECT_EQ(after.First_Character_Index(), 5);
    EXPECT_EQ(after.First_UTF8_Offset(), 4);
    s.Append(U'e');
    EXPECT_EQ(after.First_Character_Index(), 6);
}

TEST(Markers, ReplacementBeforeAndOverTheMarker) {
    Virtual_String s = "abcdef";
    const Character_Marker e = marker_at(s, 5);
    const Character_Marker b = marker_at(s, 2);
    // Replace b .. c (2 characters) by 3 characters: e moves by the difference.
    s.Replace(marker_at(s, 2), marker_at(s, 3), Virtual_String("XYZ"));
    EXPECT_EQ(Text(s), "aXYZdef");
    EXPECT_FALSE(b.Is_Valid());
    EXPECT_EQ(e.First_Character_Index(), 6);
    EXPECT_EQ(character_at(s, e), U'e');
}

TEST(Markers, CopiesAreAttachedAndFollowEditsIndependently) {
    Virtual_String s = "abc";
    const Character_Marker m = marker_at(s, 2);
    Character_Marker copy = m;
    EXPECT_TRUE(Cursor_Internals::Is_Owner(copy, s));
    EXPECT_EQ(copy.First_Character_Index(), 2);
    // Moving a marker copies it: the source stays attached.
    const Character_Marker moved = std::move(copy);
    EXPECT_TRUE(Cursor_Internals::Is_Owner(copy, s));
    EXPECT_TRUE(Cursor_Internals::Is_Owner(moved, s));
    s.Prepend(U'z');
    EXPECT_EQ(m.First_Character_Index(), 3);
    EXPECT_EQ(copy.First_Character_Index(), 3);
    EXPECT_EQ(moved.First_Character_Index(), 3);
    s.Delete(m, m);
    EXPECT_FALSE(m.Is_Valid());
    EXPECT_FALSE(copy.Is_Valid());
    EXPECT_FALSE(moved.Is_Valid());
}

TEST(Markers, AssignmentMovesTheTargetToTheSourcesString) {
    Virtual_String a = "abc";
    Virtual_String b = "xyz";
    Character_Marker target = marker_at(b, 1);
    const Character_Marker source = marker_at(a, 3);
    target = source;
    EXPECT_FALSE(Cursor_Internals::Is_Owner(target, b));
    EXPECT_TRUE(Cursor_Internals::Is_Owner(target, a));
    EXPECT_EQ(target.First_Character_Index(), 3);
    b.Prepend(U'q'); // no longer moves the target
    a.Prepend(U'q');
    EXPECT_EQ(target.First_Character_Index(), 4);
    const Character_Marker& alias = target;
    target = alias;
    EXPECT_TRUE(Cursor_Internals::Is_Owner(target, a));
    // Assigning a detached marker detaches the target.
    target = Character_Marker();
    EXPECT_FALSE(target.Is_Valid());
    EXPECT_FALSE(Cursor_Internals::Is_Owner(target, a));
}

TEST(Markers, DestroyingOrAssigningTheStringInvalidatesThem) {
    Character_Marker m;
    {
        const Virtual_String s = "abc";
        m = marker_at(s, 1);
        EXPECT_TRUE(m.Is_Valid());
    }
    EXPECT_FALSE(m.Is_Valid());
    EXPECT_THROW(m.First_UTF8_Offset(), Constraint_Error);

    Virtual_String s = "abc";
    m = marker_at(s, 2);
    s = Virtual_String("abc");
    EXPECT_FALSE(m.Is_Valid());
    EXPECT_EQ(m.First_Character_Index(), 0);
}

TEST(Markers, SegmentMarkerFollowsEditsAndIsLostWithAnEnd) {
    Virtual_String s = "one two three";
    const Segment_Marker two =
        Marker_Internals::New_Segment_Marker(&s, Cursor{4, 4, 5}, Cursor{6, 6, 7});
    EXPECT_TRUE(two.Is_Valid());
    EXPECT_EQ(Text(two.Element()), "two");
    s.Prepend(Virtual_String("\xC3\xA9 "));
    EXPECT_EQ(two.First_Character_Index(), 7);
    EXPECT_EQ(two.First_UTF8_Offset(), 7);
    EXPECT_EQ(Text(two.Element()), "two");
    s.Append(U'!');
    EXPECT_EQ(Text(two.Element()), "two");
    // Insertion inside the segment widens it.
    s.Insert(s.At_Character(two.Last_Marker()), U'-');
    EXPECT_EQ(Text(two.Element()), "tw-o");
    EXPECT_EQ(two.Character_Length(), 4);
    // Removing an end loses it.
    const auto last = s.At_Character(two.Last_Marker());
    s.Delete(last, last);
    EXPECT_FALSE(two.Is_Valid());
    EXPECT_TRUE(two.Element().Is_Null());
    EXPECT_THROW(Marker_Internals::New_Segment_Marker(nullptr, Cursor{}, Cursor{}),
                 Constraint_Error);
}

TEST(Markers, SegmentMarkerIsRefusedAsAPositionOfItsString) {
    Virtual_String s = "abc";
    Virtual_String other = "abc";
    const Segment_Marker segment =
        Marker_Internals::New_Segment_Marker(&s, Cursor{0, 0, 1}, Cursor{1, 1, 2});
    EXPECT_THROW(s.Insert(segment, U'x'), Program_Error);
    EXPECT_THROW(s.Delete(segment, segment), Program_Error);
    EXPECT_THROW((void)s.Slice(segment), Program_Error);
    EXPECT_EQ(Text(s), "abc");
    // Of another string it is simply foreign.
    other.Insert(segment, U'x');
    EXPECT_EQ(Text(other), "abc");
}

} // namespace
