// Grapheme_Cluster_Iterator, its factories, Is_Emoji, Display_Width and the whole-string width.

#include "segmentation_test_files.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/cursors/strings-cursors-iterators-grapheme_clusters.hpp>
#include <qorvi/cursors/strings-utilities.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings.hpp>
#include <string>
#include <vector>

namespace {

using Qorvi::Strings::Virtual_String;
using Qorvi::Strings::Cursors::Iterators::Grapheme_Clusters::Grapheme_Cluster_Iterator;
using namespace Qorvi::Strings;

// Where one segment lies, by character index and by UTF-8 and UTF-16 offsets.
struct Place {
    std::int32_t First_Index, Last_Index;
    std::int32_t First_UTF8, Last_UTF8;
    std::int32_t First_UTF16, Last_UTF16;
    friend bool operator==(const Place&, const Place&) = default;
};

void PrintTo(const Place& p, std::ostream* os) {
    *os << "[" << p.First_Index << ".." << p.Last_Index << " utf8 " << p.First_UTF8 << ".."
        << p.Last_UTF8 << " utf16 " << p.First_UTF16 << ".." << p.Last_UTF16 << "]";
}

// The expected places of segments of the given lengths in Text.
std::vector<Place> expected_places(const std::u32string& text,
                                   const std::vector<std::size_t>& lengths) {
    std::vector<Place> places;
    std::size_t index = 0;
    std::int32_t utf8 = 0;
    std::int32_t utf16 = 0;
    for (const std::size_t length : lengths) {
        Place p{static_cast<std::int32_t>(index + 1),
                static_cast<std::int32_t>(index + length),
                utf8,
                0,
                utf16,
                0};
        for (std::size_t i = index; i < index + length; ++i) {
            const char32_t c = text[i];
            const std::int32_t size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
            p.Last_UTF8 = utf8 + size - 1;
            p.Last_UTF16 = utf16 + (size == 4 ? 1 : 0);
            utf8 += size;
            utf16 += size == 4 ? 2 : 1;
        }
        places.push_back(p);
        index += length;
    }
    return places;
}

Place place_of(const Qorvi::Strings::Cursors::Abstract_Cursor& it) {
    return {it.First_Character_Index(), it.Last_Character_Index(), it.First_UTF8_Offset(),
            it.Last_UTF8_Offset(),      it.First_UTF16_Offset(),   it.Last_UTF16_Offset()};
}

std::vector<std::u32string> clusters_forward(const Virtual_String& s) {
    std::vector<std::u32string> result;
    for (auto it = Before_First_Grapheme_Cluster(s); it.Forward();) {
        result.push_back(Conversions::To_Wide_Wide_String(it.Element()));
    }
    return result;
}

TEST(Grapheme_Cluster_Iterator_Conformance, Every_Line_Forward_And_Backward) {
    const auto cases = Segmentation_Test::read_break_cases("auxiliary/GraphemeBreakTest.txt");
    ASSERT_GT(cases.size(), 1000u);
    for (const auto& test : cases) {
        SCOPED_TRACE("GraphemeBreakTest.txt line " + std::to_string(test.Line) + ": " +
                     test.Source);
        const Virtual_String s(test.Text);
        const std::vector<Place> expected = expected_places(test.Text, test.Segments);

        std::vector<Place> forward;
        auto it = Before_First_Grapheme_Cluster(s);
        while (it.Forward()) {
            ASSERT_TRUE(it.Has_Element());
            forward.push_back(place_of(it));
        }
        EXPECT_FALSE(it.Has_Element());
        EXPECT_FALSE(it.Forward());
        EXPECT_EQ(forward, expected);

        // Backward from after the last cluster: the UTF-16 offsets are counted from the end
        // there, and the queries must still report them from the start.
        std::vector<Place> backward;
        auto back = After_Last_Grapheme_Cluster(s);
        while (back.Backward()) {
            backward.insert(backward.begin(), place_of(back));
        }
        EXPECT_FALSE(back.Has_Element());
        EXPECT_EQ(back.First_Character_Index(), 0);
        EXPECT_EQ(backward, expected);
    }
}

TEST(Grapheme_Cluster_Iterator_Conformance, Every_Fully_Qualified_Emoji) {
    const auto cases = Segmentation_Test::read_fully_qualified_emoji();
    ASSERT_GT(cases.size(), 3700u);
    for (const auto& test : cases) {
        SCOPED_TRACE("emoji-test.txt line " + std::to_string(test.Line));
        const Virtual_String s(test.Text);
        auto it = At_First_Grapheme_Cluster(s);
        ASSERT_TRUE(it.Has_Element());
        EXPECT_EQ(static_cast<std::size_t>(it.Character_Length()), test.Text.size());
        EXPECT_TRUE(it.Is_Emoji());
        EXPECT_EQ(it.Display_Width(), 2);
        EXPECT_FALSE(it.Forward());
        EXPECT_EQ(Utilities::Display_Width(s), 2);
    }
}

TEST(Grapheme_Cluster_Iterator, Clusters_Of_Typical_Texts) {
    struct Case {
        std::u32string Text;
        std::vector<std::u32string> Clusters;
    };
    const Case cases[] = {
        {U"\r\n", {U"\r\n"}},
        {U"\n\r", {U"\n", U"\r"}},
        {U"\u0001\u0301", {U"\u0001", U"\u0301"}}, // a control is always its own cluster
        {U"e\u0301x", {U"e\u0301", U"x"}},
        {U"\u1100\u1161\u11A8", {U"\u1100\u1161\u11A8"}},
        {U"\u0915\u094D\u0937", {U"\u0915\u094D\u0937"}}, // GB9c
        {U"\u0915\u0937", {U"\u0915", U"\u0937"}},
        {U"\U0001F469\u200D\U0001F4BB", {U"\U0001F469\u200D\U0001F4BB"}},
        {U"a\u200D\U0001F4BB", {U"a\u200D", U"\U0001F4BB"}},
        {U"\U0001F1FA\U0001F1F8\U0001F1EB\U0001F1F7",
         {U"\U0001F1FA\U0001F1F8", U"\U0001F1EB\U0001F1F7"}},
        {U"\U0001F1FA\U0001F1F8\U0001F1EB", {U"\U0001F1FA\U0001F1F8", U"\U0001F1EB"}},
        {U"1\uFE0F\u20E3\U0001F44D\U0001F3FB", {U"1\uFE0F\u20E3", U"\U0001F44D\U0001F3FB"}},
    };
    for (const auto& test : cases) {
        const Virtual_String s(test.Text);
        SCOPED_TRACE(s.Image());
        EXPECT_EQ(clusters_forward(s), test.Clusters);
    }
}

TEST(Grapheme_Cluster_Iterator, Empty_And_Null_Strings) {
    for (const Virtual_String& s : {Virtual_String(), Virtual_String("")}) {
        auto before = Before_First_Grapheme_Cluster(s);
        EXPECT_FALSE(before.Has_Element());
        EXPECT_FALSE(before.Forward());
        EXPECT_FALSE(before.Backward());
        auto first = At_First_Grapheme_Cluster(s);
        EXPECT_FALSE(first.Has_Element());
        EXPECT_EQ(first.First_Character_Index(), 1); // (0, 0, 1): after the last cluster
        auto last = At_Last_Grapheme_Cluster(s);
        EXPECT_FALSE(last.Has_Element());
        EXPECT_EQ(last.First_Character_Index(), 0);
        EXPECT_EQ(Utilities::Display_Width(s), 0);
    }
}

TEST(Grapheme_Cluster_Iterator, Positioning_On_First_And_Last_Only) {
    const Virtual_String s(U"e\u0301xa\u0308");
    auto first = At_First_Grapheme_Cluster(s);
    EXPECT_EQ(Conversions::To_Wide_Wide_String(first.Element()), U"e\u0301");
    auto last = At_Last_Grapheme_Cluster(s);
    EXPECT_EQ(Conversions::To_Wide_Wide_String(last.Element()), U"a\u0308");
    EXPECT_EQ(last.First_Character_Index(), 4);
    EXPECT_TRUE(last.Backward());
    EXPECT_EQ(Conversions::To_Wide_Wide_String(last.Element()), U"x");

    auto character = s.At_First_Character();
    auto at = At_Grapheme_Cluster(s, character);
    EXPECT_EQ(at.Last_Character_Index(), 2);
    character.Set_At_Last(s);
    auto at_last = At_Grapheme_Cluster(s, character);
    EXPECT_EQ(at_last.First_Character_Index(), 4);
    EXPECT_EQ(at_last.Last_Character_Index(), 5);
    character.Set_After_Last(s);
    auto after = At_Grapheme_Cluster(s, character);
    EXPECT_FALSE(after.Has_Element());
    EXPECT_TRUE(after.Backward());
    EXPECT_EQ(after.First_Character_Index(), 4);

    character.Set_At_First(s);
    character.Forward();
    EXPECT_THROW(At_Grapheme_Cluster(s, character), Qorvi::Program_Error);
    EXPECT_THROW(first.Set_At(character), Qorvi::Program_Error);
}

TEST(Grapheme_Cluster_Iterator, Failed_Positioning_Leaves_Nothing_Attached) {
    Virtual_String s("abc");
    auto middle = s.At_First_Character();
    middle.Forward();
    EXPECT_THROW(At_Grapheme_Cluster(s, middle), Qorvi::Program_Error);
    // The iterator the factory had begun to build is gone and unlinked: an edit tells only the
    // character iterator (a stale link would be reported by the address sanitizer).
    s.Append(U'd');
    EXPECT_EQ(middle.First_Character_Index(), 2);
}

TEST(Grapheme_Cluster_Iterator, Every_Character_Of_Every_Plane) {
    // Any valid text is walked without failure, forward and backward, into the same clusters.
    std::u32string text;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            text += c;
        }
    }
    const Virtual_String s(text);
    std::vector<Qorvi::Character_Count> firsts;
    Qorvi::Character_Count covered = 0;
    for (auto it = Before_First_Grapheme_Cluster(s); it.Forward();) {
        EXPECT_EQ(it.First_Character_Index(), covered + 1);
        covered += it.Character_Length();
        firsts.push_back(it.First_Character_Index());
    }
    EXPECT_EQ(covered, s.Character_Length());
    std::vector<Qorvi::Character_Count> backward;
    for (auto it = After_Last_Grapheme_Cluster(s); it.Backward();) {
        backward.push_back(it.First_Character_Index());
    }
    EXPECT_EQ(std::vector<Qorvi::Character_Count>(backward.rbegin(), backward.rend()), firsts);
}

TEST(Grapheme_Cluster_Iterator, Foreign_And_Detached_Cursors_Give_Detached_Iterators) {
    const Virtual_String s("abc");
    const Virtual_String copy = s;
    auto foreign = copy.At_First_Character();
    auto it = At_Grapheme_Cluster(s, foreign);
    EXPECT_FALSE(it.Is_Valid());
    EXPECT_FALSE(it.Forward());
    EXPECT_FALSE(it.Backward());
    EXPECT_THROW((void)it.Has_Element(), Qorvi::Constraint_Error);
    EXPECT_THROW((void)it.Is_Emoji(), Qorvi::Constraint_Error);
    EXPECT_EQ(it.Display_Width(), 0);

    auto attached = At_First_Grapheme_Cluster(s);
    const Cursors::Markers::Character_Marker detached;
    attached.Set_At(detached); // no exception: the iterator ends detached
    EXPECT_FALSE(attached.Is_Valid());
    EXPECT_FALSE(attached.Forward());
}

TEST(Grapheme_Cluster_Iterator, Destroying_The_String_Detaches) {
    auto s = std::make_unique<Virtual_String>("ab");
    auto it = At_First_Grapheme_Cluster(*s);
    s.reset();
    EXPECT_FALSE(it.Is_Valid());
    EXPECT_EQ(it.Character_Length(), 0);
    EXPECT_TRUE(it.Element().Is_Null());
    EXPECT_FALSE(it.Forward());
}

TEST(Grapheme_Cluster_Iterator, Follows_Edits_Of_The_String) {
    Virtual_String s(U"ab\u00E9\u0301c");
    auto it = At_First_Grapheme_Cluster(s);
    ASSERT_TRUE(it.Forward());
    ASSERT_TRUE(it.Forward());
    EXPECT_EQ(Conversions::To_Wide_Wide_String(it.Element()), U"\u00E9\u0301");
    // Text inserted before the cluster moves it along; text appended after it does not.
    s.Prepend(Virtual_String(U"\u4E00x"));
    EXPECT_EQ(Conversions::To_Wide_Wide_String(it.Element()), U"\u00E9\u0301");
    EXPECT_EQ(it.First_Character_Index(), 5);
    EXPECT_EQ(it.First_UTF8_Offset(), 6);
    s.Append(U'd');
    ASSERT_TRUE(it.Forward());
    EXPECT_EQ(Conversions::To_Wide_Wide_String(it.Element()), U"c");
    ASSERT_TRUE(it.Backward());
    ASSERT_TRUE(it.Backward());
    EXPECT_EQ(Conversions::To_Wide_Wide_String(it.Element()), U"b");
    // Removing a character of the cluster detaches the iterator.
    auto b = s.At_First_Character();
    for (int i = 0; i < 3; ++i) {
        b.Forward();
    }
    s.Delete(b, b);
    EXPECT_FALSE(it.Is_Valid());
    EXPECT_FALSE(it.Forward());
}

TEST(Grapheme_Cluster_Iterator, Display_Width_And_Is_Emoji_Of_The_Current_Cluster) {
    struct Case {
        std::u32string Text;
        std::int32_t Width;
        bool Emoji;
    };
    const Case cases[] = {
        {U"a", 1, false},
        {U"\u4E00", 2, false},
        {U"\U0001F600", 2, true},
        {U"\u263A", 1, true},
        {U"\u263A\uFE0F", 2, true},
        {U"1\uFE0F\u20E3", 2, true},
        {U"1\u20E3", 1, false},
        {U"1", 1, true},
        {U"e\u0301", 1, false},
        {U"\U0001F44D\U0001F3FB", 2, true},
        {U"\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F", 2, true},
        {U"\U0001F1FA", 2, true},
        {U"\U0001F469\u200D\U0001F4BB", 2, true},
        {U"a\u200D", 1, false},
        // A closed tag sequence followed by a character other than U+200D in the same cluster:
        // not an emoji sequence, and no error.
        {U"\U0001F3F4\U000E0067\U000E007F\u0301", 2, false},
    };
    for (const auto& test : cases) {
        const Virtual_String s(test.Text);
        SCOPED_TRACE(s.Image());
        auto it = At_First_Grapheme_Cluster(s);
        ASSERT_EQ(static_cast<std::size_t>(it.Character_Length()), test.Text.size());
        EXPECT_EQ(it.Display_Width(), test.Width);
        EXPECT_EQ(it.Is_Emoji(), test.Emoji);
    }
    const Virtual_String s("a");
    auto before = Before_First_Grapheme_Cluster(s);
    EXPECT_EQ(before.Display_Width(), 0);
    EXPECT_FALSE(before.Is_Emoji());
}

TEST(Display_Width, Sums_The_Clusters) {
    EXPECT_EQ(Utilities::Display_Width(Virtual_String(U"a\u4E00")), 3);
    EXPECT_EQ(Utilities::Display_Width(Virtual_String(U"e\u0301\U0001F469\u200D\U0001F4BB"
                                                      U"\u263A\uFF21\r\n")),
              1 + 2 + 1 + 2 + 1);
    // A long text in heap storage gives the same sum as its clusters.
    std::u32string long_text;
    for (int i = 0; i < 1000; ++i) {
        long_text += U"x\u4E00\U0001F1FA\U0001F1F8";
    }
    EXPECT_EQ(Utilities::Display_Width(Virtual_String(long_text)), 5000);
}

TEST(Display_Width, Equals_The_Sum_Over_The_Iterator_Clusters) {
    // The whole-string width takes shortcuts for one-character clusters; the iterator's width
    // goes through every step (wide characters, emoji sequence, presentation). Over every test
    // sequence of the break and emoji files, and every character up to U+FFFF, the two agree.
    std::u32string text;
    for (const auto& test :
         Segmentation_Test::read_break_cases("auxiliary/GraphemeBreakTest.txt")) {
        text += test.Text;
    }
    for (const auto& test : Segmentation_Test::read_fully_qualified_emoji()) {
        text += test.Text;
    }
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            text += c;
        }
    }
    const Virtual_String s(text);
    std::int32_t sum = 0;
    for (auto it = Before_First_Grapheme_Cluster(s); it.Forward();) {
        sum += it.Display_Width();
    }
    EXPECT_GT(sum, 60000);
    EXPECT_EQ(Utilities::Display_Width(s), sum);
}

} // namespace
