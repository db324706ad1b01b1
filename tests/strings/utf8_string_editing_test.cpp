#include "test_support.hpp"

#include <climits>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <string>
#include <vector>

namespace {

using namespace Qorvi_Test;
using namespace Qorvi::Implementation::UTF8_Strings::Mutable_Operations;
using Qorvi::Virtual_Character;

UTF8_Code_Unit_Array Bytes(std::string_view Text) {
    return {reinterpret_cast<const UTF8_Code_Unit*>(Text.data()), Text.size()};
}

TEST(Append, CharactersReportTheirExtent) {
    Owned text;
    Cursor_Offset extent;
    Append(*text, 0xE9, extent);
    EXPECT_FALSE(Is_Null(*text));
    EXPECT_EQ(text->Size, 2);
    EXPECT_EQ(text->Length, 1);
    EXPECT_EQ(extent, (Cursor_Offset{2, 1, 1}));
    Append(*text, 0x1F600, extent);
    EXPECT_EQ(extent, (Cursor_Offset{6, 3, 2})) << "extents add up";
    Append(*text, U'z');
    Append(*text, 0x20AC, extent);
    EXPECT_EQ(extent, (Cursor_Offset{9, 4, 3}));
    EXPECT_EQ(Text(*text), "\xC3\xA9\xF0\x9F\x98\x80z\xE2\x82\xAC");
    EXPECT_TRUE(Well_Formed(*text));
}

TEST(Append, RefusesCodesThatAreNotScalarValues) {
    Owned text("abc");
    Cursor_Offset extent;
    for (const Virtual_Character code : {0xD800u, 0xDFFFu, 0x110000u, 0x1FFFFFu}) {
        EXPECT_THROW(Append(*text, code, extent), Qorvi::Constraint_Error);
        EXPECT_THROW(Insert(*text, Cursor{0, 0, 1}, code, extent), Qorvi::Constraint_Error);
    }
    EXPECT_EQ(Text(*text), "abc");
    EXPECT_EQ(extent, Cursor_Offset{});
}

TEST(Append, OneMillionCharactersKeepTheTextRight) {
    Owned text;
    std::string expected;
    const Virtual_Character codes[] = {U'a', 0xE9, 0x4E2D, 0x1F600, U' '};
    const char* encoded[] = {"a", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", " "};
    Cursor_Offset extent;
    for (int i = 0; i < 1'000'000; ++i) {
        Append(*text, codes[i % 5], extent);
        expected += encoded[i % 5];
    }
    EXPECT_EQ(Text(*text), expected);
    EXPECT_EQ(text->Length, 1'000'000);
    EXPECT_EQ(extent, (Cursor_Offset{static_cast<int>(expected.size()), 1'200'000, 1'000'000}));
    EXPECT_GE(Capacity(*text), text->Size);
    EXPECT_LE(Capacity(*text), text->Size + text->Size / 32 + 20) << "1/32 headroom at most";
    EXPECT_TRUE(Well_Formed(*text));
}

TEST(Append, StringData) {
    const struct {
        std::string self, suffix;
        Cursor_Offset extent;
    } cases[] = {
        {"ab", "cd", {2, 2, 2}},
        {"", "x\xF0\x9F\x98\x80", {5, 3, 2}},
        {"0123456789", "abcdefghij", {10, 10, 10}}, // in place to heap
        {"\xE4\xB8\xAD", "", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Owned self(c.self);
        const Owned suffix(c.suffix);
        Cursor_Offset extent;
        Append(*self, *suffix, extent);
        EXPECT_EQ(Text(*self), c.self + c.suffix);
        EXPECT_EQ(extent, c.extent);
        EXPECT_TRUE(Well_Formed(*self));
    }
    Owned null;
    Cursor_Offset extent;
    Append(*null, *Owned(""), extent);
    EXPECT_TRUE(Is_Null(*null)) << "an empty suffix changes nothing";
}

TEST(Append, StringDataToItself) {
    for (const std::string& start :
         {std::string("0123456789"), std::string("\xF0\x9F\x98\x80-"), std::string(30, 'w')}) {
        Owned text(start);
        Cursor_Offset extent;
        Append(*text, *text, extent);
        EXPECT_EQ(Text(*text), start + start);
        EXPECT_TRUE(Well_Formed(*text));
    }
}

TEST(Append, ValidCodeUnitsWithTheirLength) {
    Owned text("a");
    Append(*text, Bytes("\xC3\xA9\xE2\x82\xAC"), 2);
    EXPECT_EQ(Text(*text), "a\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(text->Length, 3);
    EXPECT_TRUE(Well_Formed(*text));
    EXPECT_THROW(Append(*text, Bytes("x"), -1), Qorvi::Constraint_Error);
}

TEST(Append, ChecksSizeLengthAndExtentArithmetic) {
    // Records whose counts sit at their limits (no storage is touched: the checks come first).
    UTF8_String_Data full;
    full.Storage_Address = full.Storage;
    full.Size = INT_MAX - 1;
    full.Length = 1;
    EXPECT_THROW(Append(full, 0xE9), Qorvi::Constraint_Error);
    full.Size = 0;
    full.Length = (1 << 30) - 1;
    EXPECT_THROW(Append(full, U'a'), Qorvi::Constraint_Error);
    Owned text("x");
    Cursor_Offset extent{0, 0, (1 << 30) - 1};
    EXPECT_THROW(Append(*text, U'a', extent), Qorvi::Constraint_Error);
    EXPECT_EQ(Text(*text), "x");
}

TEST(Insert, CharacterAtPositions) {
    // "aé😀b" with positions (0, 0, 1), (1, 1, 2), (3, 2, 3), (7, 4, 4), after last (8, 5, 5).
    const std::string mixed = "a\xC3\xA9\xF0\x9F\x98\x80"
                              "b";
    const struct {
        Cursor at;
        Virtual_Character code;
        std::string expected;
        Cursor_Offset extent;
    } cases[] = {
        {{0, 0, 1}, U'<', "<" + mixed, {1, 1, 1}},
        {{3, 2, 3},
         0x10348,
         "a\xC3\xA9\xF0\x90\x8D\x88\xF0\x9F\x98\x80"
         "b",
         {4, 2, 1}},
        {{8, 0, 5}, U'>', mixed + ">", {1, 1, 1}},
        {Cursor{}, U'!', mixed, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Owned text(mixed);
        Cursor_Offset extent;
        Insert(*text, c.at, c.code, extent);
        EXPECT_EQ(Text(*text), c.expected);
        EXPECT_EQ(extent, c.extent);
        EXPECT_TRUE(Well_Formed(*text));
    }
    Owned text(mixed);
    Cursor_Offset extent;
    EXPECT_THROW(Insert(*text, Cursor{9, 0, 6}, U'x', extent), Qorvi::Constraint_Error);
    EXPECT_THROW(Insert(*text, Cursor{-1, -1, 0}, U'x', extent), Qorvi::Constraint_Error);
    EXPECT_EQ(Text(*text), mixed);
    Owned null;
    Insert(*null, Cursor{0, 0, 1}, U'q', extent);
    EXPECT_EQ(Text(*null), "q");
}

TEST(Insert, StringIntoEmptyDataSharesItsSegment) {
    const Owned item("twenty characters...");
    ASSERT_EQ(item->Length, 20);
    for (const bool null_target : {true, false}) {
        Owned text(null_target ? Owned() : Owned(""));
        Cursor_Offset extent;
        Insert(*text, Cursor{0, 0, 1}, *item, extent);
        EXPECT_EQ(text->Storage_Address, item->Storage_Address);
        EXPECT_EQ(Counter(*item), 2);
        EXPECT_EQ(extent, (Cursor_Offset{20, 20, 20}));
        EXPECT_EQ(Text(*text), "twenty characters...");
    }
    EXPECT_EQ(Counter(*item), 1);
    // An empty target that holds a segment of its own lets it go.
    const auto segments = Allocated_Segments();
    Owned stored(std::string(30, 's'));
    Cursor_Offset extent;
    Delete(*stored, Cursor{0, 0, 1}, Cursor_Offset{30, 30, 30});
    Insert(*stored, Cursor{0, 0, 1}, *item, extent);
    EXPECT_EQ(Allocated_Segments(), segments);
    // In-place items are copied into the record.
    const Owned small("tiny");
    Owned target;
    Insert(*target, Cursor{0, 0, 1}, *small, extent);
    EXPECT_EQ(target->Storage_Address, target->Storage);
    EXPECT_EQ(Text(*target), "tiny");
}

TEST(Insert, StringAtPositionsAndIntoItself) {
    Owned text("abc");
    const Owned item("\xF0\x9F\x98\x80x");
    Cursor_Offset extent;
    Insert(*text, Cursor{1, 1, 2}, *item, extent);
    EXPECT_EQ(Text(*text), "a\xF0\x9F\x98\x80xbc");
    EXPECT_EQ(extent, (Cursor_Offset{5, 3, 2}));
    Insert(*text, Cursor{1, 1, 2}, *Owned(""), extent);
    Insert(*text, Cursor{}, *item, extent);
    EXPECT_EQ(extent, (Cursor_Offset{5, 3, 2})) << "empty item or invalid position: nothing";

    const struct {
        std::string start;
        int at;
        std::string expected;
    } self_cases[] = {
        {"abc", 1, "aabcbc"},
        {"abc", 0, "abcabc"},
        {"abc", 3, "abcabc"},
        {"0123456789", 5, "01234012345678956789"}, // in place to heap
        {std::string(20, 'x') + "yz", 21,
         std::string(20, 'x') + "y" + std::string(20, 'x') + "yzz"}, // stored
    };
    for (const auto& c : self_cases) {
        Owned self(c.start);
        Cursor_Offset self_extent;
        Insert(*self, Cursor{c.at, c.at, c.at + 1}, *self, self_extent);
        EXPECT_EQ(Text(*self), c.expected);
        EXPECT_EQ(self_extent.Index_Offset, static_cast<int>(c.start.size()));
        EXPECT_TRUE(Well_Formed(*self));
    }
}

TEST(Delete, RemovesTheExtent) {
    Owned text("a\xC3\xA9\xF0\x9F\x98\x80"
               "b");
    Delete(*text, Cursor{1, 1, 2}, Cursor_Offset{6, 3, 2});
    EXPECT_EQ(Text(*text), "ab");
    EXPECT_EQ(text->Length, 2);
    EXPECT_TRUE(Well_Formed(*text));
    Delete(*text, Cursor{0, 0, 1}, Cursor_Offset{1, 1, 0});
    EXPECT_EQ(Text(*text), "ab") << "zero characters: nothing, whatever the code units";
    EXPECT_THROW(Delete(*text, Cursor{1, 1, 2}, Cursor_Offset{2, 2, 2}), Qorvi::Constraint_Error);
    EXPECT_THROW(Delete(*text, Cursor{-1, 0, 1}, Cursor_Offset{1, 1, 1}), Qorvi::Constraint_Error);
    EXPECT_THROW(Delete(*text, Cursor{0, 0, 1}, Cursor_Offset{1, 1, 3}), Qorvi::Constraint_Error);
    EXPECT_EQ(Text(*text), "ab");
}

TEST(Delete, StoredTextStaysStoredAndSharedTextIsCopied) {
    const std::string original = "a stored text of some length";
    Owned text(original);
    Owned copy = text.Share();
    Delete(*text, Cursor{3, 3, 4}, Cursor_Offset{22, 22, 22});
    EXPECT_EQ(Text(*text), "a sgth");
    EXPECT_EQ(Text(*copy), original);
    EXPECT_EQ(Counter(*copy), 1);
    Delete(*text, Cursor{0, 0, 1}, Cursor_Offset{3, 3, 3});
    EXPECT_EQ(Text(*text), "gth");
    EXPECT_FALSE(Is_SSO(*text)) << "down to 3 code units, still stored";
    Delete(*text, Cursor{0, 0, 1}, Cursor_Offset{3, 3, 3});
    EXPECT_TRUE(Is_Empty(*text));
    EXPECT_FALSE(Is_Null(*text));
    EXPECT_FALSE(Is_SSO(*text));
    EXPECT_TRUE(Well_Formed(*text));
}

TEST(Initialize, FromCodeUnitsWithTheirLength) {
    Owned small;
    Initialize(*small, Bytes("\xC3\xA9t\xC3\xA9"), 3);
    EXPECT_TRUE(Is_SSO(*small));
    EXPECT_EQ(small->Length, 3);
    EXPECT_TRUE(Well_Formed(*small));
    Owned large;
    Initialize(*large, Bytes("0123456789abcdefg"), 17);
    EXPECT_FALSE(Is_SSO(*large));
    EXPECT_EQ(Capacity(*large), 20);
    EXPECT_EQ(Text(*large), "0123456789abcdefg");
    EXPECT_TRUE(Well_Formed(*large));
    Owned empty;
    Initialize(*empty, Bytes(""), 0);
    EXPECT_FALSE(Is_Null(*empty));
    EXPECT_THROW(Initialize(*empty, Bytes("x"), -1), Qorvi::Constraint_Error);
}

TEST(Unchecked, DeleteThenTerminatingAppend) {
    Owned text("h\xC3\xA9llo w\xC3\xB6rld, this is stored");
    Unchecked_Delete(*text, 1, 2, 1);
    EXPECT_EQ(text->Size, 27);
    EXPECT_EQ(text->Length, 26);
    Unchecked_Append(*text, Bytes("-\xE2\x82\xAC"), 0, 4, 2, true);
    EXPECT_EQ(Text(*text), "hllo w\xC3\xB6rld, this is stored-\xE2\x82\xAC");
    EXPECT_TRUE(Well_Formed(*text));
    Unchecked_Append(*text, std::string_view("xyz"), 1, 2, 2, true);
    EXPECT_TRUE(Text(*text).ends_with("-\xE2\x82\xACyz"));
    EXPECT_TRUE(Well_Formed(*text));
}

TEST(Unchecked, InsertReturnsTheNewSizeAndLength) {
    Owned text("abef");
    const auto result = Unchecked_Insert(*text, 2, Bytes("xcdx"), 1, 2, 2);
    EXPECT_EQ(result.Size, 6);
    EXPECT_EQ(result.Length, 6);
    EXPECT_EQ(Text(*text), "abcdef");
    EXPECT_TRUE(Well_Formed(*text));
    Unchecked_Insert(*text, 6, Bytes("0123456789abcdef"), 0, 16, 16); // moves to the heap
    EXPECT_EQ(Text(*text), "abcdef0123456789abcdef");
    EXPECT_TRUE(Well_Formed(*text));
}

TEST(Unchecked, ReplaceGrowsAndShrinks) {
    Owned text("a\xC3\xA9z");
    Unchecked_Replace(*text, 1, 2, 1, Bytes("\xF0\x9F\x98\x80"), 0, 4, 1);
    EXPECT_EQ(Text(*text), "a\xF0\x9F\x98\x80z");
    EXPECT_EQ(text->Length, 3);
    EXPECT_TRUE(Well_Formed(*text));
    Unchecked_Replace(*text, 0, 5, 2, Bytes("e\xCC\x81"), 0, 3, 2);
    EXPECT_EQ(Text(*text), "e\xCC\x81z");
    EXPECT_EQ(text->Length, 3);
    EXPECT_TRUE(Well_Formed(*text));
    Unchecked_Replace(*text, 4, 0, 0, Bytes(std::string(20, 'k')), 0, 20, 20);
    EXPECT_EQ(Text(*text), "e\xCC\x81z" + std::string(20, 'k'));
    EXPECT_EQ(text->Length, 23);
    EXPECT_TRUE(Well_Formed(*text));
}

TEST(Unchecked, MoveSliceRotatesBackward) {
    Owned text("abcde");
    Unchecked_Move_Slice(*text, 3, 2, 1);
    EXPECT_EQ(Text(*text), "adebc");
    Unchecked_Move_Slice(*text, 2, 2, 2);
    EXPECT_EQ(Text(*text), "adebc") << "Into = From: nothing";
    EXPECT_THROW(Unchecked_Move_Slice(*text, 1, 1, 2), Qorvi::Program_Error);
    EXPECT_THROW(Unchecked_Move_Slice(*text, 4, 2, 0), Qorvi::Constraint_Error);
    EXPECT_EQ(Text(*text), "adebc");
    // A slice larger than the small stack buffer.
    const std::string head(100, 'h');
    const std::string tail(300, 't');
    Owned big(head + tail);
    Unchecked_Move_Slice(*big, 100, 300, 0);
    EXPECT_EQ(Text(*big), tail + head);
    EXPECT_TRUE(Well_Formed(*big));
}

TEST(Unchecked, BoundsAreCheckedBeforeAnythingChanges) {
    Owned text("abcdef");
    EXPECT_THROW(Unchecked_Delete(*text, 4, 3, 3), Qorvi::Constraint_Error);
    EXPECT_THROW(Unchecked_Delete(*text, -1, 1, 1), Qorvi::Constraint_Error);
    EXPECT_THROW(Unchecked_Append(*text, Bytes("xy"), 1, 2, 2, true), Qorvi::Constraint_Error);
    EXPECT_THROW(Unchecked_Append(*text, Bytes("xy"), 0, -1, 0, true), Qorvi::Constraint_Error);
    EXPECT_THROW(Unchecked_Insert(*text, 7, Bytes("x"), 0, 1, 1), Qorvi::Constraint_Error);
    EXPECT_THROW(Unchecked_Replace(*text, 5, 2, 2, Bytes("x"), 0, 1, 1), Qorvi::Constraint_Error);
    EXPECT_THROW(Unchecked_Replace(*text, 0, 1, 1, Bytes("x"), 0, 2, 1), Qorvi::Constraint_Error);
    EXPECT_EQ(Text(*text), "abcdef");
    Unchecked_Delete(*text, 2, 0, 5);
    EXPECT_EQ(text->Length, 6) << "Count 0: nothing";
}

TEST(Unchecked, DeleteNeverWritesSharedText) {
    const std::string original = "shared by two holders of the segment";
    Owned text(original);
    Owned other = text.Share();
    Unchecked_Delete(*text, 0, 7, 7);
    Unchecked_Append(*text, Bytes(""), 0, 0, 0, true);
    EXPECT_EQ(Text(*text), original.substr(7));
    EXPECT_EQ(Text(*other), original);
    EXPECT_EQ(Counter(*other), 1);
}

TEST(Unchecked, SourceInsideTheTargetsOwnText) {
    // In place: moving to the heap overwrites the in-place area that the source points into.
    Owned small("abcdefghijklmno");
    Unchecked_Append(*small, Code_Units(*small), 0, 15, 15, true);
    EXPECT_EQ(Text(*small), "abcdefghijklmnoabcdefghijklmno");
    // Stored: growing may move the segment.
    Owned stored(std::string(36, 'x') + "y");
    Unchecked_Insert(*stored, 0, Code_Units(*stored), 36, 1, 1);
    EXPECT_EQ(Text(*stored), "y" + std::string(36, 'x') + "y");
    Unchecked_Replace(*stored, 0, 1, 1, Code_Units(*stored), 1, 38 - 1, 37);
    EXPECT_EQ(Text(*stored), std::string(36, 'x') + "y" + std::string(36, 'x') + "y");
    EXPECT_TRUE(Well_Formed(*stored));
}

} // namespace
