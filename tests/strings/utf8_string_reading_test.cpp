#include "test_support.hpp"

#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <string>
#include <vector>

namespace {

using namespace Qorvi_Test;
using Qorvi::Virtual_Character;
using Qorvi::Implementation::Strings::No_Character;
namespace Mutable = Qorvi::Implementation::UTF8_Strings::Mutable_Operations;

// "a", U+00E9, U+1F600, "b": UTF-8 offsets 0, 1, 3, 7 (size 8), UTF-16 offsets 0, 1, 2, 4
// (length 5).
const std::string mixed = "a\xC3\xA9\xF0\x9F\x98\x80"
                          "b";
const std::vector<Cursor> mixed_positions = {{0, 0, 1}, {1, 1, 2}, {3, 2, 3}, {7, 4, 4}};
const std::vector<Virtual_Character> mixed_codes = {U'a', 0xE9, 0x1F600, U'b'};

TEST(Forward, StepsFromBeforeFirstOnShortTexts) {
    const Owned empty("");
    Cursor position;
    Before_First_Character(*empty, position);
    EXPECT_EQ(position, (Cursor{-1, -1, 0}));
    EXPECT_FALSE(Forward(*empty, position));
    EXPECT_EQ(position, (Cursor{0, 0, 1}));

    const Owned letter("x");
    Before_First_Character(*letter, position);
    EXPECT_TRUE(Forward(*letter, position));
    EXPECT_EQ(position, (Cursor{0, 0, 1}));
    EXPECT_FALSE(Forward(*letter, position));
    EXPECT_EQ(position, (Cursor{1, 1, 2}));
    EXPECT_FALSE(Forward(*letter, position));
    EXPECT_EQ(position, (Cursor{1, 1, 2})) << "past Length nothing moves";

    const Owned null;
    Before_First_Character(*null, position);
    EXPECT_FALSE(Forward(*null, position));
    EXPECT_EQ(position, (Cursor{0, 0, 1}));
}

TEST(Forward, CountsUTF16CodeUnitsOfEachCharacter) {
    const Owned text(mixed);
    Cursor position;
    Before_First_Character(*text, position);
    std::vector<Cursor> positions;
    std::vector<Virtual_Character> codes;
    Virtual_Character code;
    while (Forward_Element(*text, position, code)) {
        positions.push_back(position);
        codes.push_back(code);
        EXPECT_EQ(Element(*text, position), code);
        EXPECT_TRUE(Has_Character(*text, position));
    }
    EXPECT_EQ(positions, mixed_positions);
    EXPECT_EQ(codes, mixed_codes);
    EXPECT_EQ(code, No_Character);
    EXPECT_EQ(position, (Cursor{8, 5, 5})) << "after last: (Size, UTF-16 length, Length + 1)";
    EXPECT_FALSE(Forward_Element(*text, position, code));
    EXPECT_EQ(position, (Cursor{8, 5, 5}));
}

TEST(Forward, OnALoneSupplementaryCharacter) {
    const Owned text("\xF0\x9F\x98\x80");
    Cursor position;
    Before_First_Character(*text, position);
    EXPECT_TRUE(Forward(*text, position));
    EXPECT_EQ(position.UTF16_Offset, 0);
    EXPECT_EQ(Last_UTF16_Offset(*text, position), 1);
    EXPECT_EQ(Last_UTF8_Offset(*text, position), 3);
    EXPECT_FALSE(Forward(*text, position));
    EXPECT_EQ(position, (Cursor{4, 2, 2}));
}

TEST(Backward, FromAfterLastGivesFromTheEndUTF16Offsets) {
    const Owned text(mixed);
    Cursor position;
    After_Last_Character(*text, position);
    EXPECT_EQ(position, (Cursor{8, 0, 5}));
    const std::vector<Cursor> expected = {{7, -1, 4}, {3, -3, 3}, {1, -4, 2}, {0, -5, 1}};
    for (const Cursor& e : expected) {
        EXPECT_TRUE(Backward(*text, position));
        EXPECT_EQ(position, e);
        const Cursor& from_start = mixed_positions[static_cast<std::size_t>(e.Index - 1)];
        EXPECT_EQ(First_UTF16_Offset(*text, position), from_start.UTF16_Offset);
        EXPECT_EQ(Element(*text, position), mixed_codes[static_cast<std::size_t>(e.Index - 1)]);
    }
    EXPECT_FALSE(Backward(*text, position));
    EXPECT_EQ(position, (Cursor{-1, -6, 0}));
    EXPECT_FALSE(Backward(*text, position));
    EXPECT_EQ(position, (Cursor{-1, -6, 0})) << "no change at index 0";
    EXPECT_THROW(Unchecked_Backward(*text, position), Qorvi::Constraint_Error);
}

TEST(Backward, TextEndingInASupplementaryCharacter) {
    const Owned text("a\xF0\x9F\x98\x80");
    Cursor position;
    After_Last_Character(*text, position);
    EXPECT_TRUE(Backward(*text, position));
    EXPECT_EQ(position, (Cursor{1, -2, 2}));
    EXPECT_EQ(First_UTF16_Offset(*text, position), 1);
    EXPECT_EQ(Last_UTF16_Offset(*text, position), 2);
    EXPECT_EQ(Last_UTF8_Offset(*text, position), 4);
}

TEST(Positions, SetPositionsAndElementOutsideTheText) {
    const Owned text(mixed);
    Cursor position;
    At_First_Character(*text, position);
    EXPECT_EQ(position, (Cursor{0, 0, 1}));
    const Owned empty("");
    At_First_Character(*empty, position);
    EXPECT_EQ(position, (Cursor{0, 0, 1})) << "also for an empty text";
    EXPECT_FALSE(Has_Character(*empty, position));
    EXPECT_EQ(Element(*empty, position), No_Character);

    EXPECT_EQ(Element(*text, Cursor{-1, -1, 0}), No_Character);
    EXPECT_EQ(Element(*text, Cursor{8, 5, 5}), No_Character);
    EXPECT_EQ(Element(*text, Cursor{7, 4, 4}), U'b');
    EXPECT_THROW(Element(*text, Cursor{-1, 0, 1}), Qorvi::Constraint_Error);
    EXPECT_THROW(Element(*text, Cursor{8, 0, 2}), Qorvi::Constraint_Error);
    Cursor wrong{40, 0, 2};
    EXPECT_THROW(Forward(*text, wrong), Qorvi::Constraint_Error);
    EXPECT_THROW(First_UTF16_Offset(*text, Cursor{0, -1, 9}), Qorvi::Constraint_Error);
    EXPECT_THROW(First_UTF16_Offset(*text, Cursor{-1, -1, 0}), Qorvi::Constraint_Error);
}

TEST(Positions, CorruptedTextRaisesProgramError) {
    // Trusted byte-level edits can put units into the text that no character starts with.
    Owned text("a");
    const UTF8_Code_Unit bad[] = {0xC0, 0x80};
    Mutable::Unchecked_Append(*text, bad, 0, 2, 1, true);
    Cursor position;
    After_Last_Character(*text, position);
    try {
        Backward(*text, position);
        FAIL() << "no exception";
    } catch (const Qorvi::Program_Error& error) {
        EXPECT_STREQ(error.what(), "string data is corrupted");
    }
    // Forward reads only the lead unit: a continuation unit there is refused.
    position = Cursor{2, 1, 2};
    EXPECT_THROW(Forward(*text, position), Qorvi::Program_Error);
    const UTF8_Code_Unit f8[] = {0xF8};
    Owned other("b");
    Mutable::Unchecked_Append(*other, f8, 0, 1, 1, true);
    position = Cursor{1, 1, 2};
    EXPECT_THROW(Forward(*other, position), Qorvi::Program_Error);
    After_Last_Character(*other, position);
    EXPECT_THROW(Backward(*other, position), Qorvi::Program_Error);
}

TEST(Compute_Size, ExtentOfTheCharactersFromToInclusive) {
    const Owned text(mixed);
    Cursor after_last;
    After_Last_Character(*text, after_last);
    Cursor last_from_end = after_last; // (7, -1, 4)
    Backward(*text, last_from_end);
    Cursor third_from_end = last_from_end; // (3, -3, 3)
    Backward(*text, third_from_end);
    const struct {
        const char* what;
        Cursor from, to;
        Cursor_Offset expected;
    } cases[] = {
        {"two middle characters", {1, 1, 2}, {3, 2, 3}, {6, 3, 2}},
        {"whole text", {0, 0, 1}, {7, 4, 4}, {8, 5, 4}},
        {"one character", {7, 4, 4}, {7, 4, 4}, {1, 1, 1}},
        {"supplementary character", {3, 2, 3}, {3, 2, 3}, {4, 2, 1}},
        {"From after To", {3, 2, 3}, {1, 1, 2}, {0, 0, 0}},
        {"To counted from the end", {1, 1, 2}, last_from_end, {7, 4, 3}},
        {"both counted from the end", third_from_end, last_from_end, {5, 3, 2}},
        {"From before the first character", {-1, -1, 0}, {1, 1, 2}, {3, 2, 2}},
        {"To after the last character", {3, 2, 3}, after_last, {5, 3, 2}},
        {"both outside", {-1, -1, 0}, after_last, {8, 5, 4}},
        {"before first only", {-1, -1, 0}, {-1, -1, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Compute_Size(*text, c.from, c.to), c.expected) << c.what;
    }
    const Owned empty("");
    EXPECT_EQ(Compute_Size(*empty, Cursor{0, 0, 1}, Cursor{0, 0, 1}), Cursor_Offset{});
}

TEST(Comparison, ByteOrderIsCodePointOrder) {
    const Owned null;
    const struct {
        std::string left, right;
        bool equal, less, less_or_equal;
    } cases[] = {
        {"", "", true, false, true},
        {"", "a", false, true, true},
        {"a", "", false, false, false},
        {"a", "a", true, false, true},
        {"a", "b", false, true, true},
        {"b", "a", false, false, false},
        {"a", "ab", false, true, true},
        {"ab", "a", false, false, false},
        {"z", "\xC3\xA9", false, true, true},                    // U+007A < U+00E9
        {"\xEF\xBF\xBF", "\xF0\x90\x80\x80", false, true, true}, // U+FFFF < U+10000
        {"\xEF\xBD\xA1", "\xF0\x9F\x98\x80", false, true, true}, // U+FF61 < U+1F600
        {"long text of many units A", "long text of many units B", false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.left) + " vs " + testing::PrintToString(c.right));
        const Owned left(c.left);
        const Owned right(c.right);
        EXPECT_EQ(Is_Equal(*left, *right), c.equal);
        EXPECT_EQ(Is_Less(*left, *right), c.less);
        EXPECT_EQ(Is_Less_Or_Equal(*left, *right), c.less_or_equal);
    }
    const Owned empty("");
    EXPECT_TRUE(Is_Equal(*null, *empty));
    EXPECT_FALSE(Is_Less(*null, *empty));
    EXPECT_TRUE(Is_Less_Or_Equal(*empty, *null));
    EXPECT_TRUE(Is_Less(*null, *Owned("a")));
}

TEST(Comparison, PrefixAndSuffix) {
    const Owned text("h\xC3\xA9llo \xF0\x9F\x98\x80");
    const Owned empty("");
    const Owned null;
    EXPECT_TRUE(Starts_With(*text, *empty));
    EXPECT_TRUE(Starts_With(*text, *null));
    EXPECT_TRUE(Ends_With(*text, *empty));
    EXPECT_TRUE(Starts_With(*empty, *empty));
    EXPECT_TRUE(Starts_With(*text, *Owned("h\xC3\xA9")));
    EXPECT_FALSE(Starts_With(*text, *Owned("h\xC3\xA8")));
    EXPECT_TRUE(Starts_With(*text, *text));
    EXPECT_FALSE(Starts_With(*Owned("h"), *text)) << "longer prefix";
    EXPECT_TRUE(Ends_With(*text, *Owned(" \xF0\x9F\x98\x80")));
    EXPECT_FALSE(Ends_With(*text, *Owned("o")));
    EXPECT_FALSE(Ends_With(*Owned("x"), *text)) << "longer suffix";

    EXPECT_TRUE(Starts_With(*text, U'h'));
    EXPECT_FALSE(Starts_With(*text, 0xE9));
    EXPECT_TRUE(Ends_With(*text, 0x1F600));
    EXPECT_FALSE(Ends_With(*text, U' '));
    EXPECT_FALSE(Starts_With(*empty, U'h'));
    EXPECT_FALSE(Ends_With(*null, U'h'));
}

TEST(Hash, FNV1aOverCodePoints) {
    // Expected values computed independently: FNV-1a 64 over the four little-endian bytes of
    // each code point.
    const struct {
        std::string text;
        std::uint64_t hash;
    } cases[] = {
        {"", 0xCBF29CE484222325},
        {"a", 0xAC804B820E4FE984},
        {"abc", 0x4444A5A82EB653F5},
        {"h\xC3\xA9llo \xF0\x9F\x98\x80", 0x96546625C1A375B4},
        {"\xE4\xBD\xA0\xE5\xA5\xBD", 0xF550E6A8000E733A},
    };
    for (const auto& c : cases) {
        const Owned text(c.text);
        Qorvi::Implementation::FNV_Hash::FNV_1a_Generator generator;
        Hash(*text, generator);
        EXPECT_EQ(generator.Value(), c.hash) << testing::PrintToString(c.text);
    }
    const Owned null;
    Qorvi::Implementation::FNV_Hash::FNV_1a_Generator generator;
    Hash(*null, generator);
    EXPECT_EQ(generator.Value(), 0xCBF29CE484222325u);
}

TEST(Hash, CharacterFeedEqualsFourByteFeeds) {
    // The character feed folds zero bytes into powers of the prime; it must agree with feeding
    // the four bytes one by one, at every width boundary.
    using Qorvi::Implementation::FNV_Hash::FNV_1a_Generator;
    for (const std::uint32_t value : {0x0u, 0x41u, 0x7Fu, 0xFFu, 0x100u, 0x7FFu, 0xFFFFu, 0x10000u,
                                      0x1F600u, 0x10FFFFu, 0xFFFFFFu, 0x1000000u, 0xDEADBEEFu}) {
        FNV_1a_Generator whole, bytes;
        whole.Hash(std::uint32_t{0x263A}); // a state other than the offset basis
        bytes.Hash(std::uint32_t{0x263A});
        whole.Hash(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.Hash(static_cast<std::uint8_t>(value >> shift));
        }
        EXPECT_EQ(whole.Value(), bytes.Value()) << std::hex << value;
    }
}

TEST(Slice, CutsCharactersFromToInclusive) {
    const Owned text(mixed);
    Cursor after_last;
    After_Last_Character(*text, after_last);
    const struct {
        const char* what;
        Cursor from, to;
        bool null;
        std::string expected;
        int length;
    } cases[] = {
        {"middle", {1, 1, 2}, {3, 2, 3}, false, "\xC3\xA9\xF0\x9F\x98\x80", 2},
        {"one character", {3, 2, 3}, {3, 2, 3}, false, "\xF0\x9F\x98\x80", 1},
        {"whole text", {0, 0, 1}, {7, 4, 4}, false, mixed, 4},
        {"To before From", {3, 2, 3}, {1, 1, 2}, true, "", 0},
        {"to after last",
         {3, 2, 3},
         after_last,
         false,
         "\xF0\x9F\x98\x80"
         "b",
         2},
        {"before first to after last", {-1, -1, 0}, after_last, false, mixed, 4},
        {"after last to after last", after_last, after_last, false, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Owned target;
        Slice(*text, c.from, c.to, *target);
        EXPECT_EQ(Is_Null(*target), c.null);
        EXPECT_EQ(Text(*target), c.expected);
        EXPECT_EQ(target->Length, c.length);
        EXPECT_TRUE(Well_Formed(*target));
    }
    Owned target;
    EXPECT_THROW(Slice(*text, Cursor{20, 0, 2}, Cursor{3, 2, 3}, *target), Qorvi::Constraint_Error);
    EXPECT_THROW(Slice(*text, Cursor{1, 1, 2}, Cursor{30, 2, 3}, *target), Qorvi::Constraint_Error);
    EXPECT_TRUE(Is_Null(*target));
}

TEST(Slice, OfStoredTextAndIntoItself) {
    const std::string long_text = "0123456789abcdefghij\xE4\xB8\xAD\xE6\x96\x87 and more";
    Owned text(long_text);
    Owned part;
    Slice(*text, Cursor{10, 10, 11}, Cursor{26, 22, 23}, *part);
    EXPECT_EQ(Text(*part), "abcdefghij\xE4\xB8\xAD\xE6\x96\x87 ");
    EXPECT_EQ(part->Length, 13);
    EXPECT_FALSE(Is_SSO(*part));
    EXPECT_TRUE(Well_Formed(*part));
    // Self as the target: the old text is read, then let go of.
    const auto segments = Allocated_Segments();
    {
        Owned alias = text.Share();
        Slice(*text, Cursor{0, 0, 1}, Cursor{2, 2, 3}, *text);
        EXPECT_EQ(Text(*text), "012");
        EXPECT_EQ(Text(*alias), long_text);
        EXPECT_EQ(Counter(*alias), 1);
    }
    EXPECT_EQ(Allocated_Segments(), segments - 1);
}

} // namespace
