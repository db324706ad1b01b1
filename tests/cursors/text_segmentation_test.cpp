// The break rules, emoji sequences and display width over bare UTF-8 text: the official test
// files in full, and the rules' guards against broken text.

#include "segmentation_test_files.hpp"

#include <gtest/gtest.h>
#include <qorvi/cursors/implementation-text_segmentation.hpp>
#include <string>
#include <vector>

namespace {

namespace TS = Qorvi::Implementation::Text_Segmentation;
using Segmentation_Test::utf8;

TS::Text text_of(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()),
            static_cast<std::uint32_t>(bytes.size())};
}

std::uint32_t size_at(const std::string& bytes, std::uint32_t offset) {
    char32_t ignored;
    return TS::Decode(text_of(bytes), offset, ignored);
}

// The UTF-16 code units of the characters From .. To - 1 of Text.
std::int32_t utf16_of(const std::u32string& text, std::size_t from, std::size_t to) {
    std::int32_t units = 0;
    for (std::size_t i = from; i < to; ++i) {
        units += text[i] > 0xFFFF ? 2 : 1;
    }
    return units;
}

// Segment lengths found walking forward with Next (a cluster or word walk), checking each
// extent's counts against the code points.
template <typename Next>
std::vector<std::size_t> forward_segments(const std::u32string& source, Next next) {
    const std::string bytes = utf8(source);
    const TS::Text text = text_of(bytes);
    std::vector<std::size_t> lengths;
    std::uint32_t offset = 0;
    std::size_t index = 0;
    while (offset < text.Size) {
        const TS::Extent extent = next(text, offset);
        const auto characters = static_cast<std::size_t>(extent.Characters) + 1;
        EXPECT_EQ(extent.UTF16_Units, utf16_of(source, index, index + characters - 1));
        lengths.push_back(characters);
        index += characters;
        offset = extent.Offset + size_at(bytes, extent.Offset);
    }
    return lengths;
}

TEST(Grapheme_Break_Conformance, Every_Line_Forward_And_Backward) {
    const auto cases = Segmentation_Test::read_break_cases("auxiliary/GraphemeBreakTest.txt");
    ASSERT_GT(cases.size(), 1000u);
    for (const auto& test : cases) {
        SCOPED_TRACE("GraphemeBreakTest.txt line " + std::to_string(test.Line) + ": " +
                     test.Source);
        EXPECT_EQ(forward_segments(test.Text, TS::Next_Grapheme_Cluster), test.Segments);

        const std::string bytes = utf8(test.Text);
        const TS::Text text = text_of(bytes);
        std::vector<std::size_t> backward;
        std::uint32_t end = text.Size;
        std::size_t index = test.Text.size();
        while (end > 0) {
            char32_t ignored;
            const std::uint32_t last = TS::Decode_Backward(text, end, ignored);
            const TS::Extent extent = TS::Previous_Grapheme_Cluster(text, last);
            const auto characters = static_cast<std::size_t>(extent.Characters) + 1;
            EXPECT_EQ(extent.UTF16_Units, utf16_of(test.Text, index - characters, index - 1));
            backward.insert(backward.begin(), characters);
            index -= characters;
            end = extent.Offset;
        }
        EXPECT_EQ(backward, test.Segments);
    }
}

TEST(Word_Break_Conformance, Every_Line_Forward) {
    const auto cases = Segmentation_Test::read_break_cases("auxiliary/WordBreakTest.txt");
    ASSERT_GT(cases.size(), 1800u);
    for (const auto& test : cases) {
        SCOPED_TRACE("WordBreakTest.txt line " + std::to_string(test.Line) + ": " + test.Source);
        EXPECT_EQ(forward_segments(test.Text,
                                   [](const TS::Text& text, std::uint32_t offset) {
                                       TS::Word_Kind kind;
                                       return TS::Next_Word_Segment(text, offset, kind);
                                   }),
                  test.Segments);
    }
}

TEST(Emoji_Conformance, Every_Fully_Qualified_Sequence_Is_One_Wide_Emoji_Cluster) {
    const auto cases = Segmentation_Test::read_fully_qualified_emoji();
    ASSERT_GT(cases.size(), 3700u);
    for (const auto& test : cases) {
        SCOPED_TRACE("emoji-test.txt line " + std::to_string(test.Line));
        const std::string bytes = utf8(test.Text);
        const TS::Text text = text_of(bytes);
        const TS::Extent extent = TS::Next_Grapheme_Cluster(text, 0);
        EXPECT_EQ(static_cast<std::size_t>(extent.Characters) + 1, test.Text.size());
        EXPECT_TRUE(TS::Is_Emoji_Sequence(text, 0, text.Size));
        EXPECT_EQ(TS::Cluster_Display_Width(text, 0, text.Size), 2);
    }
}

struct Emoji_Case {
    std::u32string Text;
    bool Emoji;
    std::int32_t Width;
};

TEST(Emoji_Sequences, Recognised_Within_One_Cluster) {
    const Emoji_Case cases[] = {
        {U"a", false, 1},
        {U"\u4E00", false, 2},
        {U"\U0001F600", true, 2},                 // Emoji_Presentation
        {U"\u263A", true, 1},                     // Emoji, text presentation by default
        {U"\u263A\uFE0F", true, 2},               // presentation sequence
        {U"1\uFE0F\u20E3", true, 2},              // keycap
        {U"1\u20E3", false, 1},                   // keycap without the selector
        {U"1", true, 1},                          // digits have the Emoji property
        {U"e\u0301", false, 1},                   // not an emoji
        {U"\U0001F44D\U0001F3FB", true, 2},       // modifier sequence
        {U"\u263A\U0001F3FB", false, 2},          // modifier after a non-base (wide)
        {U"\U0001F1FA", true, 2},                 // a lone regional indicator
        {U"\U0001F1FA\U0001F1F8", true, 2},       // flag
        {U"\U0001F469\u200D\U0001F4BB", true, 2}, // ZWJ sequence
        {U"\U0001F469\u200D", false, 2},          // ending with the joiner
        {U"\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F", true, 2},
        {U"\U0001F3F4\U000E0067\U000E0062", false, 2},           // tags never closed (wide flag)
        {U"\U0001F1FA\U0001F1F8\U000E0067\U000E007F", false, 1}, // no tags after a flag
        // A closed tag sequence followed by anything but a joiner is no emoji sequence (and
        // answering that is no error).
        {U"\U0001F3F4\U000E0067\U000E007F\u0301", false, 2},
        {U"\U0001F3F4\U000E0067\U000E007F\uFE0F", false, 2},
        {U"\U0001F3F4\U000E0067\U000E007F\u200D\U0001F4BB", true, 2},
    };
    for (const auto& test : cases) {
        const std::string bytes = utf8(test.Text);
        const TS::Text text = text_of(bytes);
        SCOPED_TRACE(bytes);
        EXPECT_EQ(TS::Is_Emoji_Sequence(text, 0, text.Size), test.Emoji);
        EXPECT_EQ(TS::Cluster_Display_Width(text, 0, text.Size), test.Width);
    }
}

TEST(Emoji_Sequences, Tag_Sequence_Followed_By_Other_Characters_Stays_One_Cluster) {
    // The mend above matters only if such text forms one cluster: combining marks and
    // variation selectors extend any cluster.
    const std::string bytes = utf8(U"\U0001F3F4\U000E0067\U000E007F\u0301");
    const TS::Extent extent = TS::Next_Grapheme_Cluster(text_of(bytes), 0);
    EXPECT_EQ(extent.Characters, 3);
}

TEST(Broken_Text, Reads_Stay_Inside_The_Text) {
    // A lead unit whose character the text cut off, a continuation unit as a lead, and an
    // offset past the end: each raises instead of reading on.
    const std::string cut = "a\xE4\xB8";
    EXPECT_THROW(TS::Next_Grapheme_Cluster(text_of(cut), 0), Qorvi::Program_Error);
    const std::string stray = "\x80"
                              "a";
    EXPECT_THROW(TS::Next_Grapheme_Cluster(text_of(stray), 0), Qorvi::Program_Error);
    TS::Word_Kind kind;
    EXPECT_THROW(TS::Next_Word_Segment(text_of(stray), 0, kind), Qorvi::Program_Error);
    EXPECT_THROW(TS::Next_Grapheme_Cluster(text_of("ab"), 2), Qorvi::Constraint_Error);
    // Walking back onto a run of continuation units longer than a character.
    const std::string run = "\x80\x80\x80\x80"
                            "a";
    EXPECT_THROW(TS::Previous_Grapheme_Cluster(text_of(run), 4), Qorvi::Program_Error);
    char32_t code;
    EXPECT_THROW(TS::Decode_Backward(text_of(run), 4, code), Qorvi::Program_Error);
    // A four-unit form above U+10FFFF reaches no table entry.
    const std::string high = "\xF4\x90\x80\x80";
    EXPECT_THROW(TS::Next_Grapheme_Cluster(text_of(high), 0), Qorvi::Constraint_Error);
}

} // namespace
