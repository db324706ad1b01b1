// Character_Iterator and the character iterator factories of Virtual_String.
#include "cursors_test_support.hpp"

#include <memory>
#include <string>

namespace {

using namespace Qorvi_Test;
using Qorvi::Constraint_Error;
using Qorvi::Program_Error;
using Qorvi::Implementation::Strings::No_Character;
using Qorvi::Strings::Cursors::Iterators::Characters::Character_Iterator;
using Qorvi::Strings::Cursors::Markers::Character_Marker;
namespace Cursor_Internals = Qorvi::Strings::Cursors::Internals;

// A text mixing one-, two-, three- and four-unit characters.
const std::u32string mixed = U"a\u00E9\u20AC\U0001F600z\u0416\u4E2D\U00010348";

void expect_detached(Character_Iterator& it) {
    EXPECT_FALSE(it.Is_Valid());
    EXPECT_FALSE(it.Has_Element());
    EXPECT_FALSE(it.Forward());
    char32_t c = 0;
    EXPECT_FALSE(it.Forward(c));
    EXPECT_EQ(c, No_Character);
    EXPECT_THROW(it.Backward(), Constraint_Error);
    EXPECT_THROW(it.Element(), Constraint_Error);
}

TEST(Character_Iterator, EmptyString) {
    const Virtual_String empty;
    auto first = empty.At_First_Character();
    EXPECT_TRUE(first.Is_Valid());
    EXPECT_FALSE(first.Has_Element());
    EXPECT_EQ(first.First_Character_Index(), 1);
    EXPECT_FALSE(first.Forward());
    auto last = empty.At_Last_Character();
    EXPECT_EQ(last.First_Character_Index(), 0);
    EXPECT_FALSE(last.Backward());
    auto before = empty.Before_First_Character();
    EXPECT_FALSE(before.Forward());
    EXPECT_EQ(before.Element(), No_Character);
}

TEST(Character_Iterator, SingleAstralCharacter) {
    const Virtual_String s(U"\U0001F600");
    auto it = s.Before_First_Character();
    EXPECT_TRUE(it.Forward());
    EXPECT_EQ(it.First_UTF16_Offset(), 0);
    EXPECT_EQ(it.Last_UTF16_Offset(), 1);
    EXPECT_EQ(it.Element(), U'\U0001F600');
    EXPECT_FALSE(it.Forward());
    EXPECT_EQ(it.First_Character_Index(), 2);
    EXPECT_EQ(it.First_UTF8_Offset(), 4);
    EXPECT_EQ(it.First_UTF16_Offset(), 2);
    EXPECT_EQ(it.Element(), No_Character);
}

TEST(Character_Iterator, ForwardWithElementThenStaysAfterTheLast) {
    const Virtual_String s = "ab";
    auto it = s.Before_First_Character();
    char32_t c = 0;
    EXPECT_TRUE(it.Forward(c));
    EXPECT_EQ(c, U'a');
    EXPECT_TRUE(it.Forward(c));
    EXPECT_EQ(c, U'b');
    EXPECT_FALSE(it.Forward(c));
    EXPECT_EQ(c, No_Character);
    EXPECT_FALSE(it.Forward(c));
    EXPECT_FALSE(it.Forward());
    EXPECT_EQ(it.First_Character_Index(), 3);
}

TEST(Character_Iterator, WalksForwardAndBackwardOverMixedText) {
    const Virtual_String s(mixed);
    std::u32string seen;
    std::vector<int> utf8, utf16;
    char32_t c = 0;
    for (auto it = s.Before_First_Character(); it.Forward(c);) {
        seen.push_back(c);
        utf8.push_back(it.First_UTF8_Offset());
        utf16.push_back(it.First_UTF16_Offset());
    }
    EXPECT_EQ(seen, mixed);
    EXPECT_EQ(utf8, (std::vector<int>{0, 1, 3, 6, 10, 11, 13, 16}));
    EXPECT_EQ(utf16, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8}));

    std::u32string back;
    auto it = s.After_Last_Character();
    int index = s.Character_Length();
    while (it.Backward()) {
        back.insert(back.begin(), it.Element());
        EXPECT_EQ(it.First_Character_Index(), index);
        EXPECT_EQ(it.First_UTF8_Offset(), utf8[static_cast<std::size_t>(index - 1)]);
        EXPECT_EQ(it.First_UTF16_Offset(), utf16[static_cast<std::size_t>(index - 1)]);
        --index;
    }
    EXPECT_EQ(back, mixed);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(it.First_Character_Index(), 0);
    EXPECT_FALSE(it.Backward());
    EXPECT_EQ(it.First_Character_Index(), 0);
    // Forward from before the first character restarts at the first one.
    EXPECT_TRUE(it.Forward());
    EXPECT_EQ(it.Element(), U'a');
}

// Forward with the element has its own step for speed: it must agree exactly (position record
// and character) with the string data's step, from every place and after any other move.
TEST(Character_Iterator, ForwardWithElementAgreesWithTheStringDataStep) {
    namespace UTF8 = Qorvi::Implementation::UTF8_Strings;
    const std::u32string texts[] = {U"", U"a", U"\U0001F600", mixed, U"ab\u00E9\U0001F600\u20ACz"};
    for (const std::u32string& t : texts) {
        const Virtual_String s(t);
        const UTF8::UTF8_String_Data& data = *Qorvi::Strings::Internals::Data_Access_Constant(s);
        // Moves before the checked step: 'f' Forward, 'e' Forward with the element, 'b'
        // Backward; each sequence starts from each end.
        for (const char* moves : {"", "e", "ee", "eee", "f", "fe", "efe", "eebe", "eeebbe", "bbe",
                                  "eeeeeeeeeebe", "beb"}) {
            for (const bool from_end : {false, true}) {
                SCOPED_TRACE(std::string(moves) + (from_end ? " from the end" : ""));
                auto it = from_end ? s.After_Last_Character() : s.Before_First_Character();
                char32_t c = 0;
                for (const char* m = moves; *m != '\0'; ++m) {
                    if (*m == 'f') {
                        it.Forward();
                    } else if (*m == 'e') {
                        it.Forward(c);
                    } else {
                        it.Backward();
                    }
                }
                Cursor expected = Cursor_Internals::First_Cursor_Access_Constant(it);
                char32_t expected_c = 0;
                const bool expected_result = UTF8::Forward_Element(data, expected, expected_c);
                EXPECT_EQ(it.Forward(c), expected_result);
                EXPECT_EQ(c, expected_c);
                EXPECT_EQ(Cursor_Internals::First_Cursor_Access_Constant(it), expected);
            }
        }
    }
}

TEST(Character_Iterator, ForwardWithElementDecodesEveryScalarValue) {
    // Every scalar value once, in order: each step gives the value and the offsets counted
    // independently from the value's encoded length.
    std::u32string all;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            all.push_back(c);
        }
    }
    const Virtual_String s(all);
    std::int32_t utf8 = 0;
    std::int32_t utf16 = 0;
    std::size_t i = 0;
    std::size_t mismatches = 0;
    char32_t first_wrong = 0;
    char32_t c = 0;
    for (auto it = s.Before_First_Character(); it.Forward(c); ++i) {
        const char32_t expected = i < all.size() ? all[i] : No_Character;
        if (c != expected || it.First_UTF8_Offset() != utf8 || it.First_UTF16_Offset() != utf16 ||
            it.First_Character_Index() != static_cast<std::int32_t>(i + 1)) {
            if (mismatches++ == 0) {
                first_wrong = expected;
            }
        }
        utf8 += expected < 0x80 ? 1 : expected < 0x800 ? 2 : expected < 0x10000 ? 3 : 4;
        utf16 += expected < 0x10000 ? 1 : 2;
    }
    EXPECT_EQ(i, all.size());
    EXPECT_EQ(mismatches, 0u) << "first at U+" << std::hex
                              << static_cast<std::uint32_t>(first_wrong);
}

TEST(Character_Iterator, ForwardWithElementAfterEditsAndRepositioning) {
    Virtual_String s(U"x\U0001F600y\u00E9z");
    auto it = s.Before_First_Character();
    char32_t c = 0;
    it.Forward(c);
    it.Forward(c); // on the emoji, its size now known to the iterator
    s.Prepend(Virtual_String(U"\u20AC\u20AC"));
    EXPECT_TRUE(it.Forward(c));
    EXPECT_EQ(c, U'y');
    EXPECT_EQ(it.First_UTF8_Offset(), 11);
    EXPECT_EQ(it.First_UTF16_Offset(), 5);
    s.Delete(s.At_First_Character(), s.At_First_Character());
    EXPECT_TRUE(it.Forward(c));
    EXPECT_EQ(c, U'\u00E9');
    EXPECT_EQ(it.First_UTF8_Offset(), 9);
    it.Set_At(s.At_First_Character());
    EXPECT_TRUE(it.Forward(c));
    EXPECT_EQ(c, U'x');
    EXPECT_EQ(it.First_UTF8_Offset(), 3);
    EXPECT_TRUE(it.Forward(c));
    EXPECT_EQ(c, U'\U0001F600');
    EXPECT_TRUE(it.Forward(c));
    EXPECT_TRUE(it.Forward(c));
    EXPECT_TRUE(it.Forward(c));
    EXPECT_EQ(c, U'z');
    EXPECT_FALSE(it.Forward(c));
    EXPECT_EQ(c, No_Character);
    EXPECT_EQ(it.First_Character_Index(), 7);
    EXPECT_EQ(it.First_UTF8_Offset(), 12);
}

TEST(Character_Iterator, FactoriesPositionTheIterator) {
    const Virtual_String s(mixed);
    EXPECT_EQ(s.At_First_Character().Element(), U'a');
    EXPECT_EQ(s.At_Last_Character().Element(), U'\U00010348');
    EXPECT_EQ(s.At_Last_Character().First_Character_Index(), 8);
    EXPECT_EQ(s.After_Last_Character().First_Character_Index(), 9);
    EXPECT_EQ(s.After_Last_Character().First_UTF8_Offset(), 20);
    EXPECT_EQ(s.Before_First_Character().First_Character_Index(), 0);
    const Virtual_String one = "x";
    auto after = one.After_Last_Character();
    EXPECT_TRUE(after.Backward());
    EXPECT_EQ(after.Element(), U'x');

    // At_Character: its own cursors position it; foreign ones leave it detached.
    auto third = s.At_First_Character();
    third.Forward();
    third.Forward();
    const Character_Marker marker = third.First_Marker();
    auto at = s.At_Character(marker);
    EXPECT_EQ(at.Element(), U'\u20AC');
    EXPECT_TRUE(Cursor_Internals::Is_Owner(at, s));
    EXPECT_EQ(s.At_Character(third).First_UTF8_Offset(), 3);
    const Virtual_String copy = s;
    auto foreign = copy.At_Character(marker);
    expect_detached(foreign);
    auto unattached = s.At_Character(Character_Marker());
    expect_detached(unattached);
    EXPECT_THROW((void)s.At_Character(Foreign_Cursor()), Program_Error);
}

TEST(Character_Iterator, SetAtRebindsOrFails) {
    const Virtual_String a = "abc";
    const Virtual_String b = "xyz";
    auto it = a.At_First_Character();
    it.Set_At(b.At_Last_Character());
    EXPECT_TRUE(Cursor_Internals::Is_Owner(it, b));
    EXPECT_EQ(it.Element(), U'z');
    it.Set_At_First(a);
    EXPECT_EQ(it.Element(), U'a');
    // A cursor attached to no string: the iterator is left detached, with an error.
    EXPECT_THROW(it.Set_At(Character_Marker()), Constraint_Error);
    EXPECT_FALSE(Cursor_Internals::Is_Owner(it, a));
    expect_detached(it);
    EXPECT_THROW(it.Set_At(Foreign_Cursor()), Program_Error);
    it.Set_After_Last(b);
    EXPECT_EQ(it.First_Character_Index(), 4);
}

TEST(Character_Iterator, IteratorAsAPositionOfEditsOnMultibyteText) {
    Virtual_String s(U"\u00E9\U0001F600x");
    auto it = s.At_Last_Character(); // on x, its UTF-16 offset counted from the end
    s.Insert(it, U'\u4E2D');
    EXPECT_EQ(Text(s), "\xC3\xA9\xF0\x9F\x98\x80\xE4\xB8\xADx");
    EXPECT_EQ(it.Element(), U'x');
    EXPECT_EQ(it.First_Character_Index(), 4);
    EXPECT_EQ(it.First_UTF8_Offset(), 9);
    EXPECT_EQ(it.First_UTF16_Offset(), 4);
}

struct Edit_Case {
    const char* name;
    void (*edit)(Virtual_String& s);
    int index;     // the iterator's index afterwards (0: invalid)
    char32_t seen; // its character afterwards
};

TEST(Character_Iterator, FollowsEditsOfItsString) {
    const Edit_Case cases[] = {
        {"insert at the first character",
         [](Virtual_String& s) { s.Insert(s.At_First_Character(), U'z'); }, 3, U'b'},
        {"prepend", [](Virtual_String& s) { s.Prepend(Virtual_String("\xC3\xA9\xC3\xA9")); }, 4,
         U'b'},
        {"insert at its own position",
         [](Virtual_String& s) {
             auto b = s.At_First_Character();
             b.Forward();
             s.Insert(b, U'q');
         },
         3, U'b'},
        {"append", [](Virtual_String& s) { s.Append(U'd'); }, 2, U'b'},
        {"insert after it", [](Virtual_String& s) { s.Insert(s.At_Last_Character(), U'q'); }, 2,
         U'b'},
        {"delete the first character",
         [](Virtual_String& s) { s.Delete(s.At_First_Character(), s.At_First_Character()); }, 1,
         U'b'},
        {"delete its character",
         [](Virtual_String& s) {
             auto b = s.At_First_Character();
             b.Forward();
             s.Delete(b, b);
         },
         0, 0},
        {"replace before it by more",
         [](Virtual_String& s) {
             s.Replace(s.At_First_Character(), s.At_First_Character(), Virtual_String("xyz"));
         },
         4, U'b'},
        {"replace over it",
         [](Virtual_String& s) { s.Replace(s.At_First_Character(), s.At_Last_Character(), U'-'); },
         0, 0},
    };
    for (const Edit_Case& c : cases) {
        SCOPED_TRACE(c.name);
        Virtual_String s = "abc";
        auto it = s.At_First_Character();
        it.Forward(); // on b
        c.edit(s);
        if (c.index == 0) {
            expect_detached(it);
        } else {
            EXPECT_TRUE(it.Is_Valid());
            EXPECT_EQ(it.First_Character_Index(), c.index);
            EXPECT_EQ(it.Element(), c.seen);
        }
    }
}

TEST(Character_Iterator, BeforeFirstAndAfterLastStayThere) {
    Virtual_String s = "ab";
    auto before = s.Before_First_Character();
    auto after = s.After_Last_Character();
    s.Prepend(U'x');
    s.Insert(before, Virtual_String("yz")); // at the before-first position: at the start
    s.Append(Virtual_String("cd"));
    s.Append(U'\U0001F600');
    EXPECT_EQ(Text(s), "yzxabcd\xF0\x9F\x98\x80");
    EXPECT_EQ(before.First_Character_Index(), 0);
    EXPECT_TRUE(before.Forward());
    EXPECT_EQ(before.Element(), U'y');
    EXPECT_EQ(after.First_Character_Index(), 9);
    EXPECT_FALSE(after.Has_Element());
    EXPECT_TRUE(after.Backward());
    EXPECT_EQ(after.Element(), U'\U0001F600');
}

TEST(Character_Iterator, StringAssignedOrDestroyedDetachesIt) {
    Virtual_String s = "abc";
    auto it = s.At_First_Character();
    s = Virtual_String("abc");
    expect_detached(it);

    auto owner = std::make_unique<Virtual_String>("abc");
    auto other = owner->At_Last_Character();
    owner.reset();
    expect_detached(other);
    // Positioned again, it works on its new string.
    other.Set_At_First(s);
    EXPECT_EQ(other.Element(), U'a');
}

TEST(Character_Iterator, AttachesToACopyOnlyThroughTheCopy) {
    Virtual_String s = "abc";
    auto it = s.At_Last_Character();
    Virtual_String copy = s;
    copy.Prepend(U'x');
    EXPECT_EQ(it.First_Character_Index(), 3);
    s.Prepend(U'x');
    EXPECT_EQ(it.First_Character_Index(), 4);
}

// Clear and the moves of a string tell no iterator. The iterator must still never read text
// the string no longer holds: run under AddressSanitizer, a read of released storage aborts.
TEST(Character_Iterator, StaysSafeWhenItsStringIsClearedOrMovedAway) {
    const std::string long_text(200, 'x');
    {
        Virtual_String s(long_text + "\xC3\xA9");
        auto it = s.At_Last_Character();
        auto middle = s.At_First_Character();
        for (int i = 0; i < 100; ++i) {
            middle.Forward();
        }
        s.Clear(); // releases the heap storage
        EXPECT_TRUE(it.Is_Valid());
        EXPECT_FALSE(it.Has_Element());
        EXPECT_EQ(it.Element(), No_Character);
        EXPECT_FALSE(it.Forward());
        EXPECT_THROW(middle.Backward(), Constraint_Error);
        // The string takes new, shorter text: the old positions lie beyond it.
        s = Virtual_String("short"); // an assignment: this one does detach
        expect_detached(it);
    }
    {
        Virtual_String s(long_text);
        auto it = s.At_First_Character();
        it.Forward();
        Virtual_String taken = std::move(s); // s is left null, the iterator stays on it
        EXPECT_TRUE(Cursor_Internals::Is_Owner(it, s));
        EXPECT_FALSE(it.Has_Element());
        EXPECT_FALSE(it.Forward());
        EXPECT_EQ(it.Element(), No_Character);
        taken.Clear();
        // New text moved in under the iterator (no notification): it reads the new text, and
        // a position in the middle of a character is refused rather than misread.
        Virtual_String fresh(U"\u4E2D\u4E2D\u4E2D\u4E2D");
        auto on_fresh = fresh.At_First_Character();
        on_fresh.Forward(); // offset 3
        Qorvi::Implementation::UTF8_Strings::UTF8_String_Data data;
        ASSERT_TRUE(
            Qorvi::Implementation::UTF8_Strings::From_UTF_8_String(data, "\xC3\xA9\xC3\xA9"));
        Qorvi::Strings::Internals::Set_By_Move(fresh, data);
        EXPECT_THROW(on_fresh.Element(), Program_Error);
        EXPECT_THROW(on_fresh.Forward(), Program_Error);
        on_fresh.Set_At_First(fresh);
        EXPECT_EQ(on_fresh.Element(), U'\u00E9');
    }
    {
        // Other text moved in under iterators that know the size of their character (no
        // notification): they step on by offset through the new text and never outside it,
        // refuse a position inside a character, and their walk ends at the new end.
        namespace UTF8 = Qorvi::Implementation::UTF8_Strings;
        Virtual_String s("abcdefgh");
        auto on_d = s.Before_First_Character();
        auto on_e = s.Before_First_Character();
        char32_t c = 0;
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(on_d.Forward(c)); // ends on d: index 4, offset 3
            ASSERT_TRUE(on_e.Forward(c));
        }
        ASSERT_TRUE(on_e.Forward(c)); // on e: index 5, offset 4
        UTF8::UTF8_String_Data data;
        // Four characters in twelve code units: offset 5 lies inside the second one.
        ASSERT_TRUE(
            UTF8::From_UTF_8_String(data, "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"));
        Qorvi::Strings::Internals::Set_By_Move(s, data);
        EXPECT_THROW(on_e.Forward(c), Program_Error);
        EXPECT_FALSE(on_e.Has_Element()); // its index, 6, lies past the four characters
        // Four characters in eight code units: offset 4 starts the third one.
        ASSERT_TRUE(UTF8::From_UTF_8_String(data, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));
        Qorvi::Strings::Internals::Set_By_Move(s, data);
        ASSERT_TRUE(on_d.Forward(c));
        EXPECT_EQ(c, U'\u00E9');
        EXPECT_EQ(on_d.First_UTF8_Offset(), 4);
        EXPECT_FALSE(on_d.Forward(c)); // index 5 lies past the four characters
        EXPECT_EQ(c, No_Character);
        EXPECT_FALSE(on_d.Forward(c));
        // Positioned again, it follows the new text.
        on_d.Set_At_Last(s);
        EXPECT_EQ(on_d.First_Character_Index(), 4);
        EXPECT_EQ(on_d.First_UTF8_Offset(), 6);
    }
}

TEST(Character_Iterator, MutableAndConstStringsBothGiveIterators) {
    Virtual_String s = "ab";
    const Virtual_String& view = s;
    auto it = view.At_Last_Character();
    s.Append(U'c');
    EXPECT_EQ(it.First_Character_Index(), 2);
    s.Delete(it, it);
    EXPECT_EQ(Text(s), "ac");
    EXPECT_FALSE(it.Is_Valid());
}

} // namespace
