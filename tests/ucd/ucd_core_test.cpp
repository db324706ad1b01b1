// The generated core property table: its sizes and packing, and every stored property of
// every code point compared with the vendored UCD files, read here independently of the
// generator.

#include "ucd_test_files.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <qorvi/ucd/characters.hpp>
#include <qorvi/ucd/implementation-ucd_core.hpp>
#include <set>
#include <string>
#include <vector>

namespace {

namespace Core = Qorvi::Implementation::UCD_Core;
namespace Characters = Qorvi::Characters;
using ucd_test::Mismatches;

TEST(Core_Table, SizesAndPacking) {
    EXPECT_EQ(Core::Core_Index_Table.size(), 4'352u);
    EXPECT_EQ(Core::Core_Data_Raw_Table.size(), 43'520u);
    EXPECT_EQ(sizeof Core::Core_Index_Table + sizeof Core::Core_Data_Raw_Table, 182'784u);

    // Pages are appended in code point order, so the largest start is that of the last
    // appended page: with 43,520 records, 170 pages were stored and the array has no unused
    // tail. Every page's 256 records lie inside the array.
    const auto largest =
        *std::max_element(Core::Core_Index_Table.begin(), Core::Core_Index_Table.end());
    EXPECT_EQ(std::size_t{largest} + 256u, 43'520u);
    EXPECT_EQ(43'520u / 256u, 170u);

    // Pages are also found at record positions that are not page starts (straddling stored
    // pages): 183 distinct starts, 170 of them the appended pages and 13 inside earlier data.
    const std::set<std::uint16_t> starts(Core::Core_Index_Table.begin(),
                                         Core::Core_Index_Table.end());
    EXPECT_EQ(starts.size(), 183u);
    EXPECT_EQ(std::count_if(starts.begin(), starts.end(), [](auto s) { return s % 256 != 0; }), 13);

    // Pages with equal contents share storage: planes 2 and 3 hold many pages of CJK
    // ideographs with identical records, and the unassigned planes 4 .. 13 are one page.
    EXPECT_EQ(Core::Core_Index_Table[0x210], Core::Core_Index_Table[0x211]);
    for (std::size_t page = 0x400; page < 0xE00; ++page) {
        ASSERT_EQ(Core::Core_Index_Table[page], Core::Core_Index_Table[0x400]) << page;
    }

    for (std::size_t i = 0; i < Core::Core_Data_Raw_Table.size(); ++i) {
        ASSERT_EQ(Core::Core_Data_Raw_Table[i] & Core::Core_Data_Reserved_Mask, 0u)
            << "reserved bits set in record " << i;
        ASSERT_EQ(Core::Core_Data_Table[i].Raw, Core::Core_Data_Raw_Table[i]);
    }
}

TEST(Core_Table, GraphicAndFormatCharacterCount) {
    // Unicode 15.1 counts 149,813 characters: the graphic ones (letters, marks, numbers,
    // punctuation, symbols, spaces) and the format ones (Cf, Zl, Zp); controls, private use,
    // surrogates and unassigned code points are not counted.
    std::size_t count = 0;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        if (Characters::Is_Graphic(c) || Characters::Is_Format(c)) {
            ++count;
        }
    }
    EXPECT_EQ(count, 149'813u);
}

// The record layout read by bit position (not through the accessors), at the characters whose
// properties the segment iterators rely on. Codes are the enumeration positions.
TEST(Core_Table, RecordLayoutByBitPosition) {
    struct Case {
        char32_t code;
        unsigned gc, gcb, incb, wb, ea;
        bool extended_pictographic, emoji, modifier_base, modifier, presentation;
    };
    const Case cases[] = {
        // U+1F3FB skin tone modifier: Sk, Extend, Extend, Wide, Emoji, Modifier, Presentation.
        {0x1F3FB, 24, 2, 0, 3, 5, false, true, false, true, true},
        // U+261D: Emoji and Emoji_Modifier_Base but not Emoji_Presentation.
        {0x261D, 26, 12, 0, 17, 0, true, true, true, false, false},
        {0x094D, 12, 2, 3, 3, 0, false, false, false, false, false},   // virama: InCB Linker
        {0x0915, 7, 12, 1, 7, 0, false, false, false, false, false},   // KA: InCB Consonant
        {0x200D, 1, 13, 2, 18, 0, false, false, false, false, false},  // ZWJ
        {0x1FAE9, 2, 12, 0, 17, 0, true, false, false, false, false},  // unassigned in 15.1
        {0xE0000, 2, 0, 0, 17, 0, false, false, false, false, false},  // Control
        {0xFA6E, 2, 12, 0, 17, 5, false, false, false, false, false},  // unlisted, Wide
        {0x2A6E0, 2, 12, 0, 17, 5, false, false, false, false, false}, // unlisted, Wide
        {0x0041, 9, 12, 0, 7, 4, false, false, false, false, false},   // A: Lu, Narrow
    };
    for (const Case& expected : cases) {
        const std::uint32_t raw = Core::Get_Core_Data(expected.code).Raw;
        SCOPED_TRACE(ucd_test::u_plus(expected.code));
        EXPECT_EQ(raw & 0x1F, expected.gc);
        EXPECT_EQ((raw >> 8) & 0xF, expected.gcb);
        EXPECT_EQ((raw >> 12) & 0x3, expected.incb);
        EXPECT_EQ(((raw >> 14) & 1) != 0, expected.extended_pictographic);
        EXPECT_EQ((raw >> 16) & 0x1F, expected.wb);
        EXPECT_EQ((raw >> 24) & 0x7, expected.ea);
        EXPECT_EQ(((raw >> 27) & 1) != 0, expected.emoji);
        EXPECT_EQ(((raw >> 28) & 1) != 0, expected.modifier_base);
        EXPECT_EQ(((raw >> 29) & 1) != 0, expected.modifier);
        EXPECT_EQ(((raw >> 30) & 1) != 0, expected.presentation);
    }
}

// Compares an enumerated property of every code point: expected holds the UCD value name per
// code point, images maps each name to the literal the record must hold.
template <typename Read>
void expect_enumerated(const std::vector<std::string>& expected,
                       const std::map<std::string, std::string>& images, Read read) {
    Mismatches mismatches;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        const auto image = images.find(expected[c]);
        if (image == images.end()) {
            mismatches.add(c, "value '" + expected[c] + "' not known to the test");
            continue;
        }
        const std::string actual(read(Core::Get_Core_Data(c)));
        if (actual != image->second) {
            mismatches.add(c, actual + ", expected " + image->second);
        }
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.text();
}

// Compares a binary property of every code point.
template <typename Read>
void expect_flags(const std::vector<bool>& expected, Read read) {
    Mismatches mismatches;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        if (read(c) != expected[c]) {
            mismatches.add(c, expected[c] ? "missing" : "set, not listed");
        }
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.text();
}

TEST(Core_Properties, GeneralCategoryMatchesUnicodeData) {
    using G = Characters::General_Category;
    const std::map<std::string, G> public_category{
        {"Lu", G::UPPERCASE_LETTER},
        {"Ll", G::LOWERCASE_LETTER},
        {"Lt", G::TITLECASE_LETTER},
        {"Lm", G::MODIFIER_LETTER},
        {"Lo", G::OTHER_LETTER},
        {"Mn", G::NONSPACING_MARK},
        {"Mc", G::SPACING_MARK},
        {"Me", G::ENCLOSING_MARK},
        {"Nd", G::DECIMAL_NUMBER},
        {"Nl", G::LETTER_NUMBER},
        {"No", G::OTHER_NUMBER},
        {"Pc", G::CONNECTOR_PUNCTUATION},
        {"Pd", G::DASH_PUNCTUATION},
        {"Ps", G::OPEN_PUNCTUATION},
        {"Pe", G::CLOSE_PUNCTUATION},
        {"Pi", G::INITIAL_PUNCTUATION},
        {"Pf", G::FINAL_PUNCTUATION},
        {"Po", G::OTHER_PUNCTUATION},
        {"Sm", G::MATH_SYMBOL},
        {"Sc", G::CURRENCY_SYMBOL},
        {"Sk", G::MODIFIER_SYMBOL},
        {"So", G::OTHER_SYMBOL},
        {"Zs", G::SPACE_SEPARATOR},
        {"Zl", G::LINE_SEPARATOR},
        {"Zp", G::PARAGRAPH_SEPARATOR},
        {"Cc", G::CONTROL},
        {"Cf", G::FORMAT},
        {"Cs", G::SURROGATE},
        {"Co", G::PRIVATE_USE},
        {"Cn", G::UNASSIGNED},
    };
    // The record codes are the aliases in alphabetical order, with images "GC_" + alias.
    std::map<std::string, std::string> record_image;
    std::vector<std::string> aliases;
    for (const auto& [alias, category] : public_category) {
        aliases.push_back(alias);
        record_image[alias] = "GC_" + std::string(1, alias[0]) + char(alias[1] - 'a' + 'A');
    }
    std::sort(aliases.begin(), aliases.end());

    const std::vector<std::string> expected = ucd_test::read_general_categories();
    expect_enumerated(expected, record_image,
                      [](Core::Core_Data_Record r) { return Image(r.GC()); });

    Mismatches mismatches;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        const std::string& alias = expected[c];
        const auto code = static_cast<std::size_t>(Core::Get_Core_Data(c).GC());
        if (code >= aliases.size() || aliases[code] != alias) {
            mismatches.add(c, "record code " + std::to_string(code) + " for " + alias);
        }
        const G category = Characters::Get_General_Category(c);
        if (category != public_category.at(alias)) {
            mismatches.add(c, std::string(Characters::Image(category)) + " for " + alias);
        }
        const bool graphic =
            std::string("LMNPS").find(alias[0]) != std::string::npos || alias == "Zs";
        const bool format = alias == "Cf" || alias == "Zl" || alias == "Zp";
        if (Characters::Is_Graphic(c) != graphic || Characters::Is_Format(c) != format ||
            Characters::Is_Control(c) != (alias == "Cc")) {
            mismatches.add(c, "graphic/format/control class wrong for " + alias);
        }
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.text();
}

TEST(Core_Properties, GraphemeClusterBreakMatchesFile) {
    expect_enumerated(ucd_test::read_values("auxiliary/GraphemeBreakProperty.txt", 1, "Other"),
                      {{"Control", "GCB_CN"},
                       {"CR", "GCB_CR"},
                       {"Extend", "GCB_EX"},
                       {"L", "GCB_L"},
                       {"LF", "GCB_LF"},
                       {"LV", "GCB_LV"},
                       {"LVT", "GCB_LVT"},
                       {"Prepend", "GCB_PP"},
                       {"Regional_Indicator", "GCB_RI"},
                       {"SpacingMark", "GCB_SM"},
                       {"T", "GCB_T"},
                       {"V", "GCB_V"},
                       {"Other", "GCB_XX"},
                       {"ZWJ", "GCB_ZWJ"}},
                      [](Core::Core_Data_Record r) { return Image(r.GCB()); });
}

TEST(Core_Properties, WordBreakMatchesFile) {
    expect_enumerated(ucd_test::read_values("auxiliary/WordBreakProperty.txt", 1, "Other"),
                      {{"CR", "WB_CR"},
                       {"Double_Quote", "WB_DQ"},
                       {"ExtendNumLet", "WB_EX"},
                       {"Extend", "WB_EXTEND"},
                       {"Format", "WB_FO"},
                       {"Hebrew_Letter", "WB_HL"},
                       {"Katakana", "WB_KA"},
                       {"ALetter", "WB_LE"},
                       {"LF", "WB_LF"},
                       {"MidNumLet", "WB_MB"},
                       {"MidLetter", "WB_ML"},
                       {"MidNum", "WB_MN"},
                       {"Newline", "WB_NL"},
                       {"Numeric", "WB_NU"},
                       {"Regional_Indicator", "WB_RI"},
                       {"Single_Quote", "WB_SQ"},
                       {"WSegSpace", "WB_WSEGSPACE"},
                       {"Other", "WB_XX"},
                       {"ZWJ", "WB_ZWJ"}},
                      [](Core::Core_Data_Record r) { return Image(r.WB()); });
}

TEST(Core_Properties, IndicConjunctBreakMatchesFile) {
    expect_enumerated(ucd_test::read_values("DerivedCoreProperties.txt", 2, "None", "InCB"),
                      {{"None", "INCB_NONE"},
                       {"Consonant", "INCB_CONSONANT"},
                       {"Extend", "INCB_EXTEND"},
                       {"Linker", "INCB_LINKER"}},
                      [](Core::Core_Data_Record r) { return Image(r.INCB()); });
}

TEST(Core_Properties, EastAsianWidthMatchesFileWithDefaultRanges) {
    // Unlisted code points are Wide in the CJK blocks and planes 2 and 3, Neutral elsewhere.
    std::vector<std::string> expected(ucd_test::code_point_count, "N");
    const std::pair<char32_t, char32_t> wide[] = {{0x3400, 0x4DBF},
                                                  {0x4E00, 0x9FFF},
                                                  {0xF900, 0xFAFF},
                                                  {0x20000, 0x2FFFD},
                                                  {0x30000, 0x3FFFD}};
    for (const auto& [first, last] : wide) {
        std::fill(expected.begin() + first, expected.begin() + last + 1, "W");
    }
    ucd_test::for_each_line("EastAsianWidth.txt",
                            [&](char32_t first, char32_t last, const auto& fields) {
                                for (char32_t c = first; c <= last; ++c) {
                                    expected[c] = fields.at(1);
                                }
                            });
    expect_enumerated(expected,
                      {{"N", "EA_N"},
                       {"A", "EA_A"},
                       {"F", "EA_F"},
                       {"H", "EA_H"},
                       {"Na", "EA_NA"},
                       {"W", "EA_W"}},
                      [](Core::Core_Data_Record r) { return Image(r.EA()); });
}

TEST(Core_Properties, EmojiPropertiesMatchFile) {
    const std::string file = "emoji/emoji-data.txt";
    const auto record = [](char32_t c) { return Core::Get_Core_Data(c); };
    expect_flags(ucd_test::read_flags(file, "Extended_Pictographic"),
                 [&](char32_t c) { return record(c).Extended_Pictographic(); });
    expect_flags(ucd_test::read_flags(file, "Emoji"),
                 [&](char32_t c) { return record(c).Emoji(); });
    expect_flags(ucd_test::read_flags(file, "Emoji_Modifier_Base"),
                 [&](char32_t c) { return record(c).Emoji_Modifier_Base(); });
    expect_flags(ucd_test::read_flags(file, "Emoji_Modifier"),
                 [&](char32_t c) { return record(c).Emoji_Modifier(); });
    expect_flags(ucd_test::read_flags(file, "Emoji_Presentation"),
                 [&](char32_t c) { return record(c).Emoji_Presentation(); });
}

TEST(Core_Properties, StoredAndDerivedCasePropertiesMatchFiles) {
    const auto record = [](char32_t c) { return Core::Get_Core_Data(c); };
    expect_flags(ucd_test::read_flags("PropList.txt", "Other_Lowercase"),
                 [&](char32_t c) { return record(c).Other_Lowercase(); });
    expect_flags(ucd_test::read_flags("PropList.txt", "Other_Uppercase"),
                 [&](char32_t c) { return record(c).Other_Uppercase(); });
    // The queries derive Lowercase, Uppercase and Cased; the UCD lists the derived values.
    expect_flags(ucd_test::read_flags("DerivedCoreProperties.txt", "Lowercase"),
                 [](char32_t c) { return Characters::Get_Lowercase(c); });
    expect_flags(ucd_test::read_flags("DerivedCoreProperties.txt", "Uppercase"),
                 [](char32_t c) { return Characters::Get_Uppercase(c); });
    expect_flags(ucd_test::read_flags("DerivedCoreProperties.txt", "Cased"),
                 [](char32_t c) { return Characters::Get_Cased(c); });
}

} // namespace
