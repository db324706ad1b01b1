#include "test_support.hpp"

#include <climits>
#include <cstddef>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <string>
#include <vector>

namespace {

using namespace Qorvi_Test;
namespace Mutable = Qorvi::Implementation::UTF8_Strings::Mutable_Operations;

TEST(UTF8_String_Data, RecordLayout) {
    static_assert(offsetof(UTF8_String_Data, Storage) == 0);
    static_assert(sizeof(UTF8_String_Data::Storage) == 16);
    static_assert(offsetof(UTF8_String_Data, Has_Storage) == 16);
    static_assert(offsetof(UTF8_String_Data, Size) == 20);
    static_assert(offsetof(UTF8_String_Data, Storage_Address) == 24);
    static_assert(offsetof(UTF8_String_Data, Length) == 32);
    static_assert(offsetof(UTF8_Shared_Segment, Counter) == 4);
    const UTF8_String_Data null;
    EXPECT_TRUE(Is_Null(null));
    EXPECT_TRUE(Is_Empty(null));
    EXPECT_TRUE(Is_SSO(null));
    EXPECT_EQ(std::vector<UTF8_Code_Unit>(std::begin(null.Storage), std::end(null.Storage)),
              std::vector<UTF8_Code_Unit>(16, 0));
    EXPECT_TRUE(Is_Null(Default_UTF8_String_Data));
}

TEST(Segment_Size, RoundsToSixteenAndGivesTheWholeBlockToData) {
    const struct {
        int requested, allocation, capacity;
    } cases[] = {{0, 16, 4},   {3, 16, 4},      {4, 32, 20},     {16, 32, 20},      {20, 48, 36},
                 {21, 48, 36}, {100, 128, 116}, {116, 144, 132}, {1000, 1024, 1012}};
    for (const auto& c : cases) {
        const Segment_Size size = Segment_Size_For(c.requested);
        EXPECT_EQ(size.Allocation, c.allocation) << c.requested;
        EXPECT_EQ(size.Capacity, c.capacity) << c.requested;
        EXPECT_GE(size.Capacity, c.requested + 1);
    }
    EXPECT_THROW(Segment_Size_For(INT_MAX), Qorvi::Constraint_Error);
    EXPECT_THROW(Segment_Size_For(INT_MAX - 12 - 15), Qorvi::Constraint_Error);
    EXPECT_THROW(Segment_Size_For(-1), Qorvi::Constraint_Error);
}

TEST(UTF8_String_Data, FifteenCodeUnitsStayInPlaceTheSixteenthMovesToTheHeap) {
    Owned text(std::string(15, 'x'));
    EXPECT_TRUE(Is_SSO(*text));
    EXPECT_EQ(text->Storage_Address, text->Storage);
    EXPECT_EQ(text->Size, 15);
    EXPECT_TRUE(Well_Formed(*text));

    const auto before = Allocated_Segments();
    Mutable::Append(*text, U'y');
    EXPECT_FALSE(Is_SSO(*text));
    EXPECT_EQ(Capacity(*text), 20);
    EXPECT_EQ(Counter(*text), 1);
    EXPECT_EQ(Allocated_Segments(), before + 1);
    EXPECT_EQ(Text(*text), std::string(15, 'x') + "y");
    EXPECT_TRUE(Well_Formed(*text));

    Owned sixteen(std::string(16, 'z'));
    EXPECT_FALSE(Is_SSO(*sixteen));
    EXPECT_EQ(Capacity(*sixteen), 20);
}

TEST(UTF8_String_Data, AppendingSixteenCharactersToNullDataMovesItOnTheSixteenth) {
    Owned text;
    for (int i = 1; i <= 16; ++i) {
        Mutable::Append(*text, static_cast<Qorvi::Virtual_Character>('a' + i - 1));
        EXPECT_EQ(Is_SSO(*text), i <= 15) << i;
        ASSERT_TRUE(Well_Formed(*text)) << i;
    }
    EXPECT_EQ(Capacity(*text), 20);
}

TEST(UTF8_String_Data, GrowthAddsOneThirtySecond) {
    Owned text(std::string(20, 'a'));
    EXPECT_EQ(Capacity(*text), 36); // exactly 20 requested
    const std::string more(200, 'b');
    Mutable::Append(*text, std::span(reinterpret_cast<const UTF8_Code_Unit*>(more.data()), 17), 17);
    // 37 required, 37 + 37 / 32 = 38 asked: 16 * ((38 + 12) / 16 + 1) - 12
    EXPECT_EQ(Capacity(*text), 52);
    Mutable::Append(*text, std::span(reinterpret_cast<const UTF8_Code_Unit*>(more.data()), 200),
                    200);
    // 237 required, 237 + 7 = 244 asked: 16 * ((244 + 12) / 16 + 1) - 12
    EXPECT_EQ(Capacity(*text), 260);
    EXPECT_EQ(Text(*text), std::string(20, 'a') + std::string(17, 'b') + more);
    EXPECT_TRUE(Well_Formed(*text));
}

TEST(UTF8_String_Data, EmptyTextIsNonNullDefaultIsNull) {
    Owned empty("");
    EXPECT_FALSE(Is_Null(*empty));
    EXPECT_TRUE(Is_Empty(*empty));
    EXPECT_TRUE(Is_SSO(*empty));
    EXPECT_EQ(empty->Size, 0);
    EXPECT_EQ(empty->Length, 0);
    EXPECT_EQ(Text(*empty), "");
    const Owned null;
    EXPECT_TRUE(Is_Null(*null));
    EXPECT_EQ(Text(*null), "");
}

TEST(UTF8_String_Data, CopyOnWriteKeepsTheOriginalAndFreesBothBlocks) {
    const auto before = Allocated_Segments();
    {
        const std::string original = "a text that is longer than fifteen code units";
        Owned first(original);
        const UTF8_Code_Unit* address = first->Storage_Address;
        {
            Owned second = first.Share();
            EXPECT_EQ(second->Storage_Address, address);
            EXPECT_EQ(Counter(*first), 2);
            EXPECT_EQ(Allocated_Segments(), before + 1);

            Mutable::Append(*second, U'!');
            EXPECT_NE(second->Storage_Address, address);
            EXPECT_EQ(first->Storage_Address, address);
            EXPECT_EQ(Counter(*first), 1);
            EXPECT_EQ(Counter(*second), 1);
            EXPECT_EQ(Allocated_Segments(), before + 2);
            EXPECT_EQ(Text(*first), original);
            EXPECT_EQ(Text(*second), original + "!");
            EXPECT_TRUE(Well_Formed(*first));
            EXPECT_TRUE(Well_Formed(*second));
        }
        EXPECT_EQ(Allocated_Segments(), before + 1);
    }
    EXPECT_EQ(Allocated_Segments(), before);
}

TEST(UTF8_String_Data, ReleasingOneSharerKeepsTheSegmentForTheOther) {
    const auto before = Allocated_Segments();
    Owned first(std::string(40, 'q'));
    Owned second = first.Share();
    Unreference(*first);
    EXPECT_TRUE(Is_Null(*first));
    EXPECT_EQ(Counter(*second), 1);
    EXPECT_EQ(Text(*second), std::string(40, 'q'));
    // The last holder edits in place: no copy is made.
    const UTF8_Code_Unit* address = second->Storage_Address;
    Mutable::Append(*second, U'r');
    EXPECT_EQ(second->Storage_Address, address);
    Unreference(*second);
    EXPECT_EQ(Allocated_Segments(), before);
}

TEST(UTF8_String_Data, ExclusiveSegmentWithRoomIsEditedInPlace) {
    Owned text(std::string(20, 'a')); // capacity 36
    const UTF8_Code_Unit* address = text->Storage_Address;
    for (int i = 0; i < 16; ++i) {
        Mutable::Append(*text, U'b');
    }
    EXPECT_EQ(text->Size, 36);
    EXPECT_EQ(text->Storage_Address, address);
    Make_Mutable(*text, 36);
    EXPECT_EQ(text->Storage_Address, address);
}

TEST(UTF8_String_Data, ReferenceAndAdjustRepointInPlaceText) {
    Owned small("short");
    UTF8_String_Data copy = *small; // bitwise: still points into small's Storage
    EXPECT_EQ(copy.Storage_Address, small->Storage);
    Reference(copy);
    EXPECT_EQ(copy.Storage_Address, copy.Storage);
    EXPECT_EQ(Text(copy), "short");
    Unreference(copy);

    UTF8_String_Data null_copy = Default_UTF8_String_Data;
    Reference(null_copy);
    EXPECT_TRUE(Is_Null(null_copy)) << "Reference keeps null data null";

    UTF8_String_Data moved = Default_UTF8_String_Data;
    Adjust(moved);
    EXPECT_FALSE(Is_Null(moved)) << "a moved-in null in-place value becomes empty";
    EXPECT_EQ(moved.Storage_Address, moved.Storage);
    EXPECT_TRUE(Is_Empty(moved));
}

TEST(UTF8_String_Data, InitializeChoosesInPlaceOrHeap) {
    const auto before = Allocated_Segments();
    UTF8_String_Data data;
    Initialize(data, 15);
    EXPECT_TRUE(Is_SSO(data));
    EXPECT_FALSE(Is_Null(data));
    EXPECT_TRUE(Well_Formed(data));
    Unreference(data);
    Initialize(data, 16);
    EXPECT_FALSE(Is_SSO(data));
    EXPECT_EQ(Capacity(data), 20);
    EXPECT_EQ(data.Size, 0);
    EXPECT_EQ(Counter(data), 1);
    EXPECT_TRUE(Well_Formed(data));
    Unreference(data);
    EXPECT_TRUE(Is_Null(data));
    EXPECT_EQ(Allocated_Segments(), before);
    EXPECT_THROW(Initialize(data, -1), Qorvi::Constraint_Error);
}

TEST(Heap_Storage, WithoutASegment) {
    Heap_Storage storage;
    EXPECT_EQ(storage.Capacity(), 0);
    storage.Reference();   // nothing to count
    storage.Unreference(); // nothing to free
    UTF8_Code_Unit byte = 0;
    EXPECT_THROW(storage.Mutate(&byte, 0, 10), Qorvi::Constraint_Error);
    Heap_Storage other;
    EXPECT_TRUE(storage == other);
    UTF8_Code_Unit* data = storage.Initialize(10);
    EXPECT_FALSE(storage == other);
    EXPECT_EQ(storage.Capacity(), 20);
    EXPECT_EQ(data, storage.Segment()->Data());
    storage.Unreference();
    EXPECT_EQ(storage.Segment(), nullptr);
}

struct UTF8_Case {
    std::string bytes;
    bool valid;
    int length;
};

TEST(From_UTF_8_String, AcceptsExactlyTheWellFormedSequences) {
    const UTF8_Case cases[] = {
        {"", true, 0},
        {"abc", true, 3},
        {"\xF0\x9F\x98\x80", true, 1},
        {"\xC3\xA9t\xC3\xA9", true, 3},
        {"\xE2\x82\xAC\xED\x9F\xBF\xEE\x80\x80", true, 3},
        {"\xF4\x8F\xBF\xBF", true, 1},
        {"\xE0\x80\x80", false, 0},     // overlong
        {"abc\xC3", false, 0},          // input ends inside a sequence
        {"\xED\xA0\x80", false, 0},     // surrogate
        {"\xF4\x90\x80\x80", false, 0}, // above 0x10FFFF
        {"\xC0\xAF", false, 0},
        {"\xF5\x80\x80\x80", false, 0},
        {"\x80", false, 0},
        {"\xE2\x82", false, 0},
        {"\xF0\x9F\x98", false, 0},
        {std::string("a\0b", 3), true, 3},
    };
    for (const UTF8_Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        UTF8_String_Data data;
        EXPECT_EQ(From_UTF_8_String(data, c.bytes), c.valid);
        EXPECT_FALSE(Is_Null(data));
        if (c.valid) {
            EXPECT_EQ(data.Size, static_cast<int>(c.bytes.size()));
            EXPECT_EQ(data.Length, c.length);
            EXPECT_EQ(Text(data), c.bytes);
        } else {
            EXPECT_EQ(data.Size, 0);
            EXPECT_EQ(data.Length, 0);
        }
        EXPECT_TRUE(Well_Formed(data));
        Unreference(data);
    }
}

// The ASCII blocks of the fast path (64 and 16 bytes): an error or a multi-unit sequence at
// every offset of texts up to a little over two 64-byte blocks, including sequences that
// straddle a block end (a sequence cut short just before an all-ASCII block must be refused)
// and texts that end inside one.
TEST(From_UTF_8_String, FastPathBlockBoundaries) {
    const std::string multi[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
    const std::string bad[] = {"\xC3\x41", "\xE0\x80\x80", "\xFF", "\xF0\x9F\x98"};
    for (int size = 0; size <= 140; ++size) {
        for (int at = 0; at <= size; ++at) {
            for (const std::string& m : multi) {
                const std::string text = std::string(static_cast<std::size_t>(at), 'a') + m +
                                         std::string(static_cast<std::size_t>(size - at), 'b');
                UTF8_String_Data data;
                ASSERT_TRUE(From_UTF_8_String(data, text)) << size << " " << at;
                EXPECT_EQ(data.Length, size + 1);
                EXPECT_EQ(Text(data), text);
                Unreference(data);
            }
            for (const std::string& b : bad) {
                const std::string text = std::string(static_cast<std::size_t>(at), 'a') + b +
                                         std::string(static_cast<std::size_t>(size - at), 'b');
                UTF8_String_Data data;
                EXPECT_FALSE(From_UTF_8_String(data, text)) << size << " " << at;
                Unreference(data);
            }
        }
    }
}

// A sequence whose lead unit ends one block and whose continuation units come after an
// all-ASCII block: the ASCII block must not be skipped in the middle of a sequence. Texts
// shorter than 64 bytes go through the 16-byte blocks only, longer ones through the 64-byte
// blocks and their 16-byte quarters.
TEST(From_UTF_8_String, SequenceSplitByAnASCIIBlockIsRefused) {
    const std::string multi[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
    for (const std::string& m : multi) {
        for (const std::size_t block : {16u, 64u}) {
            for (std::size_t cut = 1; cut < m.size(); ++cut) {
                for (const std::size_t tail : {8u, 70u}) {
                    const std::string text = std::string(block - cut, 'a') + m.substr(0, cut) +
                                             std::string(block, 'b') + m.substr(cut) +
                                             std::string(tail, 'c');
                    UTF8_String_Data data;
                    EXPECT_FALSE(From_UTF_8_String(data, text)) << block << " " << cut;
                    Unreference(data);
                }
            }
        }
    }
}

TEST(From_UTF_8_String, AgreesWithTheCheckedDecoder) {
    // Pseudo-random byte strings biased towards the interesting lead and continuation units.
    const UTF8_Code_Unit alphabet[] = {0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC2,
                                       0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0x00, 0xE1};
    std::uint32_t seed = 12345;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int size = static_cast<int>(seed % 200);
        for (int i = 0; i < size; ++i) {
            seed = seed * 1664525u + 1013904223u;
            bytes.push_back(static_cast<char>(alphabet[(seed >> 16) % 20]));
        }
        seed = seed * 1664525u + 1013904223u;
        const UTF8_Code_Unit_Array units(reinterpret_cast<const UTF8_Code_Unit*>(bytes.data()),
                                         bytes.size());
        Qorvi::UTF8_Code_Unit_Offset index = 0;
        bool success = true;
        int count = 0;
        while (success && index < size) {
            Qorvi::Virtual_Character code;
            Qorvi::Implementation::UTF8_Encoding::UTF8_Decode_Error error;
            Qorvi::Implementation::UTF8_Encoding::Decode(units, index, success, code, error);
            count += success ? 1 : 0;
        }
        UTF8_String_Data data;
        ASSERT_EQ(From_UTF_8_String(data, bytes), success) << testing::PrintToString(bytes);
        if (success) {
            EXPECT_EQ(data.Length, count);
        }
        Unreference(data);
    }
}

TEST(From_Wide_Wide_String, EncodesScalarValuesOnly) {
    const struct {
        std::u32string code_points;
        bool valid;
        std::string utf8;
    } cases[] = {
        {U"", true, ""},
        {U"\U0001F600", true, "\xF0\x9F\x98\x80"},
        {U"a\u00E9\u20AC\U0010FFFF", true, "a\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF"},
        {std::u32string{0xD800}, false, ""},
        {std::u32string{U'a', 0xDFFF}, false, ""},
        {std::u32string{0x110000}, false, ""},
    };
    for (const auto& c : cases) {
        UTF8_String_Data data;
        EXPECT_EQ(From_Wide_Wide_String(data, c.code_points), c.valid);
        EXPECT_FALSE(Is_Null(data));
        EXPECT_EQ(Text(data), c.utf8);
        if (c.valid) {
            EXPECT_EQ(data.Length, static_cast<int>(c.code_points.size()));
        }
        EXPECT_TRUE(Well_Formed(data));
        Unreference(data);
    }
}

TEST(From_Wide_Wide_String, GrowsFromTheFirstGuessAcrossTheInPlaceLimit) {
    // 10 code points guess 10 code units (in place); their 40 code units need the heap.
    const std::u32string emoji(10, U'\U0001F600');
    UTF8_String_Data data;
    ASSERT_TRUE(From_Wide_Wide_String(data, emoji));
    EXPECT_FALSE(Is_SSO(data));
    EXPECT_EQ(data.Size, 40);
    EXPECT_EQ(data.Length, 10);
    EXPECT_TRUE(Well_Formed(data));
    Unreference(data);
    // A long text of mixed lengths.
    std::u32string mixed;
    std::string expected;
    for (int i = 0; i < 500; ++i) {
        mixed += U"a\u00E9\u4E2D\U0001F600";
        expected += "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
    }
    ASSERT_TRUE(From_Wide_Wide_String(data, mixed));
    EXPECT_EQ(Text(data), expected);
    EXPECT_EQ(data.Length, 2000);
    EXPECT_TRUE(Well_Formed(data));
    Unreference(data);
}

} // namespace
