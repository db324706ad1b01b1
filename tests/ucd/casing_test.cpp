// Case mapping: the tables' sizes and record formats; for every code point, the per-character
// queries, the one-character conversions and the context bits against UnicodeData.txt,
// CasingExceptions.txt, CaseFolding.txt, DerivedNormalizationProps.txt, DerivedCoreProperties.txt
// and PropList.txt (read here independently of the generator); Final_Sigma; whole-string
// conversions and their errors.

#include "ucd_test_files.hpp"

#include <gtest/gtest.h>
#include <map>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/strings.hpp>
#include <qorvi/ucd/characters.hpp>
#include <qorvi/ucd/implementation-ucd_casing_utf8.hpp>
#include <qorvi/ucd/implementation-utf8_casing.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace Tables = Qorvi::Implementation::UCD_Casing_UTF8;
namespace Strings = Qorvi::Implementation::UTF8_Strings;
namespace Casing = Qorvi::Implementation::UTF8_Casing;
namespace Characters = Qorvi::Characters;
using Casing::Case_Mapping;
using Qorvi::Strings::Virtual_String;
using ucd_test::Mismatches;

std::u32string sequence(const std::string& field) {
    std::u32string text;
    std::istringstream parts(field);
    std::string part;
    while (parts >> part) {
        text += ucd_test::hex(part);
    }
    return text;
}

std::string hex(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text) {
        out += (out.empty() ? "" : " ") + ucd_test::u_plus(c);
    }
    return out;
}

std::u32string decoded(const Strings::UTF8_String_Data& data) {
    std::u32string text;
    Qorvi::UTF8_Code_Unit_Offset offset = 0;
    while (offset < data.Size) {
        text += Strings::Unchecked_Decode_Forward(data, offset);
    }
    return text;
}

std::u32string decoded(const Virtual_String& item) {
    return decoded(*Qorvi::Strings::Internals::Data_Access_Constant(item));
}

// Convert_Case of a text; also checks that the result's length is its character count and
// that a zero code unit follows it.
std::u32string converted(std::u32string_view text, Case_Mapping mapping) {
    Strings::UTF8_String_Data source;
    EXPECT_TRUE(Strings::From_Wide_Wide_String(source, text));
    Strings::UTF8_String_Data result;
    Casing::Convert_Case(source, mapping, result);
    const std::u32string output = decoded(result);
    EXPECT_EQ(static_cast<std::size_t>(result.Length), output.size());
    EXPECT_EQ(result.Storage_Address[result.Size], 0);
    Strings::Unreference(result);
    Strings::Unreference(source);
    return output;
}

std::u32string mapped(char32_t code, Case_Mapping mapping) {
    Strings::UTF8_String_Data data;
    Casing::Get_Case_Mapping(code, mapping, data);
    const std::u32string output = decoded(data);
    Strings::Unreference(data);
    return output;
}

// The expected mappings of every code point, read from the data files.
struct Expected_Mappings {
    std::vector<char32_t> simple_lower, simple_title, simple_upper, simple_folding;
    std::vector<std::u32string> lower, title, upper, folding, nfkc_casefold;

    Expected_Mappings() {
        const std::size_t n = ucd_test::code_point_count;
        simple_lower.resize(n);
        simple_title.resize(n);
        simple_upper.resize(n);
        simple_folding.resize(n);
        for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
            simple_lower[c] = simple_title[c] = simple_upper[c] = simple_folding[c] = c;
        }
        // Empty fields at the end of a line are not split off.
        auto field = [](const std::vector<std::string>& fields, std::size_t i) {
            return i < fields.size() ? fields[i] : std::string();
        };
        ucd_test::for_each_line(
            "UnicodeData.txt", [&](char32_t code, char32_t, const auto& fields) {
                if (!field(fields, 12).empty()) {
                    simple_upper[code] = simple_title[code] = ucd_test::hex(fields[12]);
                }
                if (!field(fields, 13).empty()) {
                    simple_lower[code] = ucd_test::hex(fields[13]);
                }
                if (!field(fields, 14).empty()) {
                    simple_title[code] = ucd_test::hex(fields[14]);
                }
            });
        lower.resize(n);
        title.resize(n);
        upper.resize(n);
        folding.resize(n);
        nfkc_casefold.resize(n);
        for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
            lower[c] = std::u32string(1, simple_lower[c]);
            title[c] = std::u32string(1, simple_title[c]);
            upper[c] = std::u32string(1, simple_upper[c]);
            folding[c] = std::u32string(1, c);
            nfkc_casefold[c] = std::u32string(1, c);
        }
        // Unconditional entries only: a fifth field that is not empty is a condition list.
        ucd_test::for_each_line("CasingExceptions.txt",
                                [&](char32_t code, char32_t, const auto& fields) {
                                    if (fields.size() > 4 && !fields[4].empty()) {
                                        return;
                                    }
                                    lower[code] = sequence(fields.at(1));
                                    title[code] = sequence(fields.at(2));
                                    upper[code] = sequence(fields.at(3));
                                });
        ucd_test::for_each_line("CaseFolding.txt",
                                [&](char32_t code, char32_t, const auto& fields) {
                                    const std::string& status = fields.at(1);
                                    const std::u32string result = sequence(fields.at(2));
                                    if (status == "C" || status == "S") {
                                        simple_folding[code] = result.at(0);
                                    }
                                    if (status == "C" || status == "F") {
                                        folding[code] = result;
                                    }
                                });
        ucd_test::for_each_line("DerivedNormalizationProps.txt", [&](char32_t first, char32_t last,
                                                                     const auto& fields) {
            if (fields.at(1) != "NFKC_CF") {
                return;
            }
            const std::u32string result = fields.size() > 2 ? sequence(fields[2]) : U"";
            for (char32_t c = first; c <= last; ++c) {
                nfkc_casefold[c] = result;
            }
        });
    }
};

const Expected_Mappings& expected_mappings() {
    static const Expected_Mappings mappings;
    return mappings;
}

bool is_scalar(char32_t c) {
    return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

TEST(Casing_Tables, SizesAndRecordFormats) {
    const Tables::Mapping_Data_Offset_Array* simple[] = {
        &Tables::Simple_Lowercase_Index, &Tables::Simple_Titlecase_Index,
        &Tables::Simple_Uppercase_Index, &Tables::Simple_Case_Folding_Index,
        &Tables::NFKC_Casefold_Index};
    const Tables::Mapping_Data_Offset_Array* full[] = {
        &Tables::Full_Lowercase_Index, &Tables::Full_Titlecase_Index, &Tables::Full_Uppercase_Index,
        &Tables::Full_Case_Folding_Index};
    EXPECT_EQ(sizeof(Tables::Mapping_Data_Offset_Array), 17'408u);
    EXPECT_EQ(Tables::Mapping_Data_Table_Raw.size(), 65'024u);
    EXPECT_EQ(sizeof Tables::Mapping_Data_Table_Raw, 260'096u);
    // The results are packed more tightly than the 17,191 bytes of a packing that shares only
    // equal byte sequences; every record must still address its own result.
    EXPECT_LE(Tables::UTF8_Data_Table.size(), 17'191u);

    auto check_pages = [](const Tables::Mapping_Data_Offset_Array& index, bool contextual) {
        for (std::size_t page = 0; page < index.size(); ++page) {
            const std::int32_t start = index[page];
            ASSERT_GE(start, 0);
            ASSERT_LE(std::size_t(start) + 256u, Tables::Mapping_Data_Table_Raw.size());
            for (std::size_t i = 0; i < 256; ++i) {
                const std::uint32_t raw = Tables::Mapping_Data_Table_Raw[std::size_t(start) + i];
                std::size_t end;
                if (contextual) {
                    ASSERT_EQ(raw & Tables::Contextual_Reserved_Mask, 0u) << page << " " << i;
                    const Tables::Contextual_Mapping_Information record{raw};
                    ASSERT_EQ(record.Raw,
                              Tables::Contextual_Mapping_Data_Table[std::size_t(start) + i].Raw);
                    end = record.Offset() + std::size_t(record.Size());
                    if (!record.Has_Mapping()) {
                        ASSERT_EQ(raw & 0x0700'FFFFu, 0u);
                    }
                } else {
                    ASSERT_EQ(raw & Tables::Simplified_Reserved_Mask, 0u) << page << " " << i;
                    const Tables::Simplified_Mapping_Information record{raw};
                    end = record.Offset() + std::size_t(record.Size());
                    if (!record.Has_Mapping()) {
                        ASSERT_EQ(raw, 0u);
                    }
                }
                ASSERT_LE(end, Tables::UTF8_Data_Table.size());
            }
        }
    };
    for (const auto* index : simple) {
        check_pages(*index, false);
    }
    for (const auto* index : full) {
        check_pages(*index, true);
    }
    // Pages without any mapping or context bit (here the unassigned plane 4) are one page
    // shared by all nine tables.
    for (const auto* index : simple) {
        EXPECT_EQ((*index)[0x400], Tables::Simple_Lowercase_Index[0x400]);
    }
    for (const auto* index : full) {
        EXPECT_EQ((*index)[0x400], Tables::Simple_Lowercase_Index[0x400]);
    }
}

// The per-character queries and the one-character conversions of every code point.
TEST(Casing_Conformance, EveryCodePoint) {
    const Expected_Mappings& expected = expected_mappings();
    Mismatches mismatches;
    auto check = [&](char32_t c, const char* what, const std::u32string& actual,
                     const std::u32string& wanted) {
        if (actual != wanted) {
            mismatches.add(c, std::string(what) + " gives " + hex(actual) + ", expected " +
                                  hex(wanted));
        }
    };
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        if (!is_scalar(c)) {
            continue;
        }
        const std::u32string one(1, c);
        const auto single = [](char32_t code) { return std::u32string(1, code); };
        check(c, "Get_Simple_Lowercase_Mapping",
              single(Characters::Get_Simple_Lowercase_Mapping(c)),
              single(expected.simple_lower[c]));
        check(c, "Get_Simple_Titlecase_Mapping",
              single(Characters::Get_Simple_Titlecase_Mapping(c)),
              single(expected.simple_title[c]));
        check(c, "Get_Simple_Uppercase_Mapping",
              single(Characters::Get_Simple_Uppercase_Mapping(c)),
              single(expected.simple_upper[c]));
        check(c, "Get_Simple_Case_Folding", single(Characters::Get_Simple_Case_Folding(c)),
              single(expected.simple_folding[c]));
        check(c, "Get_Lowercase_Mapping", decoded(Characters::Get_Lowercase_Mapping(c)),
              expected.lower[c]);
        check(c, "Get_Titlecase_Mapping", decoded(Characters::Get_Titlecase_Mapping(c)),
              expected.title[c]);
        check(c, "Get_Uppercase_Mapping", decoded(Characters::Get_Uppercase_Mapping(c)),
              expected.upper[c]);

        check(c, "Get_Case_Mapping SIMPLE_TITLECASE", mapped(c, Case_Mapping::SIMPLE_TITLECASE),
              single(expected.simple_title[c]));
        check(c, "Get_Case_Mapping NFKC_CASEFOLD", mapped(c, Case_Mapping::NFKC_CASEFOLD),
              expected.nfkc_casefold[c]);
        check(c, "Get_Case_Mapping SIMPLE_CASE_FOLDING",
              mapped(c, Case_Mapping::SIMPLE_CASE_FOLDING), single(expected.simple_folding[c]));

        check(c, "Convert_Case SIMPLE_LOWERCASE", converted(one, Case_Mapping::SIMPLE_LOWERCASE),
              single(expected.simple_lower[c]));
        check(c, "Convert_Case SIMPLE_UPPERCASE", converted(one, Case_Mapping::SIMPLE_UPPERCASE),
              single(expected.simple_upper[c]));
        check(c, "Convert_Case SIMPLE_CASE_FOLDING",
              converted(one, Case_Mapping::SIMPLE_CASE_FOLDING),
              single(expected.simple_folding[c]));
        check(c, "Convert_Case NFKC_CASEFOLD", converted(one, Case_Mapping::NFKC_CASEFOLD),
              expected.nfkc_casefold[c]);
        check(c, "Convert_Case LOWERCASE", converted(one, Case_Mapping::LOWERCASE),
              expected.lower[c]);
        check(c, "Convert_Case UPPERCASE", converted(one, Case_Mapping::UPPERCASE),
              expected.upper[c]);

        // No operation reads the full case folding; its records are checked directly.
        const auto folding =
            Casing::Get_Contextual_Case_Mapping_Information(Tables::Full_Case_Folding_Index, c);
        std::u32string folded = one;
        if (folding.Has_Mapping()) {
            folded.clear();
            const Qorvi::Implementation::UTF8_Encoding::UTF8_Code_Unit_Array stored(
                Tables::UTF8_Data_Table.data() + folding.Offset(), std::size_t(folding.Size()));
            Qorvi::UTF8_Code_Unit_Offset offset = 0;
            while (std::size_t(offset) < stored.size()) {
                folded +=
                    Qorvi::Implementation::UTF8_Encoding::Unchecked_Decode_Forward(stored, offset);
            }
            EXPECT_EQ(std::size_t(folding.Length()), folded.size());
        }
        check(c, "Full_Case_Folding_Index", folded, expected.folding[c]);
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.text();
}

// Cased, Case_Ignorable and the context change of every code point, identical in the four
// full tables.
TEST(Casing_Conformance, ContextBitsOfEveryCodePoint) {
    const auto cased = ucd_test::read_flags("DerivedCoreProperties.txt", "Cased");
    const auto ignorable = ucd_test::read_flags("DerivedCoreProperties.txt", "Case_Ignorable");
    const auto soft_dotted = ucd_test::read_flags("PropList.txt", "Soft_Dotted");
    std::vector<int> classes(ucd_test::code_point_count, 0);
    ucd_test::for_each_line("UnicodeData.txt",
                            [&](char32_t first, char32_t last, const auto& fields) {
                                for (char32_t c = first; c <= last; ++c) {
                                    classes[c] = std::stoi(fields.at(3));
                                }
                            });
    Mismatches mismatches;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        const bool keep = classes[c] != 0 && classes[c] != 230;
        const unsigned change = (cased[c] && !ignorable[c] ? 1u : 0u) | (ignorable[c] ? 2u : 0u) |
                                (soft_dotted[c] ? 4u : 0u) | (keep ? 8u : 0u) |
                                (c == 0x49 ? 16u : 0u) | (keep ? 32u : 0u);
        for (const auto* index :
             {&Tables::Full_Lowercase_Index, &Tables::Full_Titlecase_Index,
              &Tables::Full_Uppercase_Index, &Tables::Full_Case_Folding_Index}) {
            const auto record = Casing::Get_Contextual_Case_Mapping_Information(*index, c);
            if (record.Cased() != cased[c] || record.Case_Ignorable() != ignorable[c] ||
                record.Context_Change().Bits != change) {
                mismatches.add(c, "context bits");
            }
        }
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.text();
}

TEST(Casing_Conversion, FinalSigma) {
    const struct {
        std::u32string source;
        std::u32string lower;
    } cases[] = {
        {U"\u0391\u03A3", U"\u03B1\u03C2"},
        {U"\u0391\u03A3\u0391", U"\u03B1\u03C3\u03B1"},
        {U"\u03A3", U"\u03C3"},
        {U"\u0391\u03A3.", U"\u03B1\u03C2."},
        {U"\u0391.\u03A3", U"\u03B1.\u03C2"},
        {U"\u0391\u03A3'\u0391", U"\u03B1\u03C3'\u03B1"},
        {U"A\u03A3", U"a\u03C2"},
        {U"\u0391\u03A3 \u0391", U"\u03B1\u03C2 \u03B1"},
        {U" \u03A3", U" \u03C3"},
        // Stretches of ASCII before the sigma: the context is that of their end.
        {U"AB\u03A3", U"ab\u03C2"},
        {U"AB.'\u03A3", U"ab.'\u03C2"},
        {U" .'\u03A3", U" .'\u03C3"},
        {U"A.'.\u03A3x", U"a.'.\u03C3x"},
        {U"\u0391..\u03A3", U"\u03B1..\u03C2"},
        {U"..\u03A3", U"..\u03C3"},
        // Cased and Case_Ignorable (U+02B0, U+0345): keeps the context but does not start
        // one, and is skipped in the look-ahead.
        {U"\u02B0\u03A3", U"\u02B0\u03C3"},
        {U"\u0391\u02B0\u03A3", U"\u03B1\u02B0\u03C2"},
        {U"\u0391\u03A3\u0345", U"\u03B1\u03C2\u0345"},
        {U"\u0391\u03A3\u0345\u0391", U"\u03B1\u03C3\u0345\u03B1"},
        // Two sigmas: the first is followed by a cased letter (the second sigma).
        {U"\u0391\u03A3\u03A3", U"\u03B1\u03C3\u03C2"},
        {U"\u039F\u0394\u03A5\u03A3\u03A3\u0395\u03A5\u03A3",
         U"\u03BF\u03B4\u03C5\u03C3\u03C3\u03B5\u03C5\u03C2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(converted(c.source, Case_Mapping::LOWERCASE)), hex(c.lower)) << hex(c.source);
    }
    // Only full lowercasing applies the rule.
    EXPECT_EQ(converted(U"\u0391\u03A3", Case_Mapping::SIMPLE_LOWERCASE), U"\u03B1\u03C3");
    EXPECT_EQ(converted(U"\u0391\u03A3", Case_Mapping::UPPERCASE), U"\u0391\u03A3");
    EXPECT_EQ(mapped(0x03A3, Case_Mapping::LOWERCASE), U"\u03C3");
}

TEST(Casing_Conversion, FullAndSimpleMappings) {
    const struct {
        Case_Mapping mapping;
        std::u32string source;
        std::u32string expected;
    } cases[] = {
        {Case_Mapping::UPPERCASE, U"\u00DF", U"SS"},
        {Case_Mapping::UPPERCASE, U"\u0149", U"\u02BCN"},
        {Case_Mapping::UPPERCASE, U"\uFB03", U"FFI"},
        {Case_Mapping::LOWERCASE, U"\u0130", U"i\u0307"},
        {Case_Mapping::LOWERCASE, U"I", U"i"},
        {Case_Mapping::SIMPLE_UPPERCASE, U"\u00DF", U"\u00DF"},
        {Case_Mapping::SIMPLE_CASE_FOLDING, U"\u1E9E", U"\u00DF"},
        {Case_Mapping::NFKC_CASEFOLD, U"\u1E9E", U"ss"},
        {Case_Mapping::NFKC_CASEFOLD, U"a\u00ADb\u200Bc", U"abc"},
        {Case_Mapping::NFKC_CASEFOLD, U"\u00A0\u2160", U" i"},
        {Case_Mapping::NFKC_CASEFOLD, U"\u00AD", U""},
        {Case_Mapping::UPPERCASE, U"Stra\u00DFe \u0444\u0438\u0301", U"STRASSE \u0424\u0418\u0301"},
        {Case_Mapping::LOWERCASE, U"\u0130STANBUL", U"i\u0307stanbul"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(converted(c.source, c.mapping)), hex(c.expected))
            << Casing::Image(c.mapping) << " of " << hex(c.source);
    }
    EXPECT_EQ(converted(U"\uFDFA", Case_Mapping::NFKC_CASEFOLD).size(), 18u);

    EXPECT_EQ(decoded(Characters::Get_Titlecase_Mapping(0x01C6)), U"\u01C5");
    EXPECT_EQ(decoded(Characters::Get_Titlecase_Mapping(0x00DF)), U"Ss");
    EXPECT_EQ(decoded(Characters::Get_Titlecase_Mapping(0x1F80)), U"\u1F88");
    EXPECT_EQ(decoded(Characters::Get_Uppercase_Mapping(0x00DF, Qorvi::Locales::Current_Locale())),
              U"SS");
    EXPECT_EQ(decoded(Characters::Get_Lowercase_Mapping(0x0049, Qorvi::Locales::Locale())), U"i");
    EXPECT_EQ(Characters::Get_Simple_Titlecase_Mapping(0x0061), 0x0041u);
    EXPECT_EQ(Characters::Get_Simple_Lowercase_Mapping(0x4E00), 0x4E00u);
    EXPECT_EQ(Characters::Get_Simple_Case_Folding(0x1E9E), 0x00DFu);
}

TEST(Casing_Conversion, EmptySourcesTitleCaseAndBadValues) {
    for (unsigned code = 0; code < 8; ++code) {
        const auto mapping = static_cast<Case_Mapping>(code);
        Strings::UTF8_String_Data null_source;
        Strings::UTF8_String_Data result;
        Casing::Convert_Case(null_source, mapping, result);
        EXPECT_FALSE(Strings::Is_Null(result)) << Casing::Image(mapping);
        EXPECT_EQ(result.Size, 0);
        Strings::Unreference(result);
    }
    const std::int64_t segments = Strings::Allocated_Segments();
    Strings::UTF8_String_Data source;
    ASSERT_TRUE(Strings::From_UTF_8_String(source, "long enough to live on the heap"));
    for (const Case_Mapping title : {Case_Mapping::TITLECASE, Case_Mapping::SIMPLE_TITLECASE}) {
        Strings::UTF8_String_Data result;
        EXPECT_THROW(Casing::Convert_Case(source, title, result), Qorvi::Program_Error);
        // The result was released, not left holding the reserved storage.
        EXPECT_TRUE(Strings::Is_Null(result));
    }
    Strings::UTF8_String_Data result;
    EXPECT_THROW(Casing::Convert_Case(source, static_cast<Case_Mapping>(8), result),
                 Qorvi::Constraint_Error);
    EXPECT_THROW(Casing::Get_Case_Mapping(0x41, static_cast<Case_Mapping>(8), result),
                 Qorvi::Constraint_Error);
    EXPECT_THROW(Casing::Image(static_cast<Case_Mapping>(8)), Qorvi::Constraint_Error);

    // Source and Result may be the same record: the text is replaced.
    Casing::Convert_Case(source, Case_Mapping::UPPERCASE, source);
    EXPECT_EQ(Strings::To_String_View(source), "LONG ENOUGH TO LIVE ON THE HEAP");
    Strings::Unreference(source);
    EXPECT_EQ(Strings::Allocated_Segments(), segments);

    // Values that are not characters are refused by every per-character query.
    for (const char32_t bad : {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000},
                               char32_t{0x1FFFFF}, char32_t{0x200000}}) {
        EXPECT_THROW(Characters::Get_Lowercase_Mapping(bad), Qorvi::Constraint_Error);
        EXPECT_THROW(Characters::Get_Titlecase_Mapping(bad), Qorvi::Constraint_Error);
        EXPECT_THROW(Characters::Get_Uppercase_Mapping(bad), Qorvi::Constraint_Error);
        EXPECT_THROW(Characters::Get_Simple_Lowercase_Mapping(bad), Qorvi::Constraint_Error);
        EXPECT_THROW(Characters::Get_Simple_Titlecase_Mapping(bad), Qorvi::Constraint_Error);
        EXPECT_THROW(Characters::Get_Simple_Uppercase_Mapping(bad), Qorvi::Constraint_Error);
        EXPECT_THROW(Characters::Get_Simple_Case_Folding(bad), Qorvi::Constraint_Error);
        Strings::UTF8_String_Data data;
        EXPECT_THROW(Casing::Get_Case_Mapping(bad, Case_Mapping::LOWERCASE, data),
                     Qorvi::Constraint_Error);
        EXPECT_TRUE(Strings::Is_Null(data));
    }
}

// Conversions whose result outgrows the storage reserved at the source's size, and long texts
// mixing mapped and unmapped stretches.
TEST(Casing_Conversion, GrowingAndLongTexts) {
    std::u32string sharp(10'000, U'\u00DF');
    EXPECT_EQ(converted(sharp, Case_Mapping::UPPERCASE), std::u32string(20'000, U'S'));
    std::u32string ligatures(3'000, U'\uFDFA');
    const std::u32string one = converted(U"\uFDFA", Case_Mapping::NFKC_CASEFOLD);
    std::u32string expected;
    for (std::size_t i = 0; i < ligatures.size(); ++i) {
        expected += one;
    }
    EXPECT_EQ(converted(ligatures, Case_Mapping::NFKC_CASEFOLD), expected);

    std::u32string text;
    std::u32string lower;
    for (int i = 0; i < 5'000; ++i) {
        text += U"Hello, \u0391\u0398\u0397\u039D\u0391\u03A3! \u0416\u0443\u043A ";
        lower += U"hello, \u03B1\u03B8\u03B7\u03BD\u03B1\u03C2! \u0436\u0443\u043A ";
    }
    EXPECT_EQ(converted(text, Case_Mapping::LOWERCASE), lower);
}

} // namespace
