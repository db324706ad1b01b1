#include "test_support.hpp"

#include <climits>
#include <gtest/gtest.h>
#include <qorvi/strings/implementation-strings.hpp>

namespace {

using namespace Qorvi::Implementation::Strings;

TEST(Cursor, DefaultIsTheInvalidValue) {
    const Cursor invalid;
    EXPECT_EQ(invalid.UTF8_Offset, 0x7FFFFFFF);
    EXPECT_EQ(invalid.UTF16_Offset, 0x7FFFFFFF);
    EXPECT_EQ(invalid.Index, 0);
    EXPECT_TRUE(Is_Invalid(invalid));
    EXPECT_FALSE(Is_Invalid(Position_Before_First_Character));
    EXPECT_FALSE(Is_Invalid(Cursor{0x7FFFFFFF, 0x7FFFFFFF, 1}));
    EXPECT_EQ(Position_Before_First_Character, (Cursor{-1, -1, 0}));
    EXPECT_EQ(Cursor_Offset{}, (Cursor_Offset{0, 0, 0}));
    EXPECT_EQ(No_Character, 0x1FFFFFu);
    static_assert(sizeof(Cursor) == 12 && offsetof(Cursor, UTF8_Offset) == 0 &&
                  offsetof(Cursor, UTF16_Offset) == 4 && offsetof(Cursor, Index) == 8);
    static_assert(sizeof(Cursor_Offset) == 12 && offsetof(Cursor_Offset, Index_Offset) == 8);
}

struct Fixup_Case {
    const char* what;
    Cursor self;
    Cursor start;
    Cursor_Offset size;
    Cursor expected;
    bool kept; // Fixup_Delete only
};

// Text "aé😀b" (UTF-8 offsets 0, 1, 3, 7; UTF-16 offsets 0, 1, 2, 4); an edit of the two
// characters U+00E9 U+1F600 at index 2 has the extent (6, 3, 2).
constexpr Cursor_Offset two_characters{6, 3, 2};

TEST(Fixup_Insert, MovesCursorsAtOrAfterTheInsertionPoint) {
    const Fixup_Case cases[] = {
        {"before", {0, 0, 1}, {1, 1, 2}, two_characters, {0, 0, 1}, true},
        {"before, from-the-end offsets grow",
         {0, -5, 1},
         {1, 1, 2},
         two_characters,
         {0, -8, 1},
         true},
        {"at the insertion point moves behind the text",
         {1, 1, 2},
         {1, 1, 2},
         two_characters,
         {7, 4, 4},
         true},
        {"after", {3, 2, 3}, {1, 1, 2}, two_characters, {9, 5, 5}, true},
        {"after, from-the-end offset unchanged",
         {3, -3, 3},
         {1, 1, 2},
         two_characters,
         {9, -3, 5},
         true},
        {"zero characters change nothing",
         {3, 2, 3},
         {1, 1, 2},
         Cursor_Offset{9, 9, 0},
         {3, 2, 3},
         true},
        {"after-last position", {8, 0, 5}, {8, 0, 5}, Cursor_Offset{1, 1, 1}, {9, 1, 6}, true},
    };
    for (const Fixup_Case& c : cases) {
        SCOPED_TRACE(c.what);
        Cursor self = c.self;
        Fixup_Insert(self, c.start, c.size);
        EXPECT_EQ(self, c.expected);
    }
}

TEST(Fixup_Delete, InvalidatesCursorsOnDeletedCharacters) {
    const Fixup_Case cases[] = {
        {"before", {0, 0, 1}, {1, 1, 2}, two_characters, {0, 0, 1}, true},
        {"before, from-the-end offsets move toward zero",
         {0, -5, 1},
         {1, 1, 2},
         two_characters,
         {0, -2, 1},
         true},
        {"first deleted character", {1, 1, 2}, {1, 1, 2}, two_characters, Cursor{}, false},
        {"last deleted character", {3, 2, 3}, {1, 1, 2}, two_characters, Cursor{}, false},
        {"after", {7, 4, 4}, {1, 1, 2}, two_characters, {1, 1, 2}, true},
        {"after, from-the-end offset unchanged",
         {7, -1, 4},
         {1, 1, 2},
         two_characters,
         {1, -1, 2},
         true},
        {"zero characters change nothing",
         {1, 1, 2},
         {1, 1, 2},
         Cursor_Offset{6, 3, 0},
         {1, 1, 2},
         true},
    };
    for (const Fixup_Case& c : cases) {
        SCOPED_TRACE(c.what);
        Cursor self = c.self;
        EXPECT_EQ(Fixup_Delete(self, c.start, c.size), c.kept);
        EXPECT_EQ(self, c.expected);
        EXPECT_EQ(Is_Invalid(self), !c.kept);
    }
}

TEST(Fixup, OverflowAndIndexRangeRaiseConstraintError) {
    Cursor self{INT_MAX - 1, 0, 1};
    EXPECT_THROW(Fixup_Insert(self, Cursor{0, 0, 1}, Cursor_Offset{4, 1, 1}),
                 Qorvi::Constraint_Error);
    EXPECT_EQ(self, (Cursor{INT_MAX - 1, 0, 1})) << "unchanged after the error";
    self = Cursor{0, 0, (1 << 30) - 1};
    EXPECT_THROW(Fixup_Insert(self, Cursor{0, 0, 1}, Cursor_Offset{1, 1, 1}),
                 Qorvi::Constraint_Error);
    self = Cursor{0, INT_MIN + 1, 1};
    EXPECT_THROW(Fixup_Insert(self, Cursor{0, 0, 5}, Cursor_Offset{1, 4, 1}),
                 Qorvi::Constraint_Error);
    self = Cursor{10, 10, 3};
    EXPECT_THROW(Fixup_Delete(self, Cursor{0, 0, -10}, Cursor_Offset{1, 1, 5}),
                 Qorvi::Constraint_Error); // the index would become -2
    self = Cursor{INT_MIN + 2, 0, 1};
    EXPECT_THROW(Fixup_Delete(self, Cursor{0, 0, 4}, Cursor_Offset{-5, 1, 1}),
                 Qorvi::Constraint_Error);
}

} // namespace
