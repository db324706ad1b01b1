// The normalization tables and engines: table sizes and packing, the record fields against the
// vendored UCD files (read here independently of the generator), NormalizationTest.txt in
// full, the cases where the incremental engines must rework the end of their result, and
// texts that make them grow or work on long runs of marks, and every code point inside long
// texts against a decomposition computed here from the records.

#include "ucd_test_files.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/ucd/implementation-ucd_normalization_common.hpp>
#include <qorvi/ucd/implementation-ucd_normalization_utf8.hpp>
#include <qorvi/ucd/implementation-utf8_normalization.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace Tables = Qorvi::Implementation::UCD_Normalization_UTF8;
namespace Common = Qorvi::Implementation::UCD_Normalization_Common;
namespace Strings = Qorvi::Implementation::UTF8_Strings;
using Form = Qorvi::Implementation::Normalization_Form;
using Qorvi::Implementation::UTF8_Normalization::Normalize;
using ucd_test::Mismatches;

constexpr Form all_forms[] = {Form::NORMALIZATION_FORM_D, Form::NORMALIZATION_FORM_C,
                              Form::NORMALIZATION_FORM_KD, Form::NORMALIZATION_FORM_KC};

std::u32string decoded(const Strings::UTF8_String_Data& data) {
    std::u32string text;
    Qorvi::UTF8_Code_Unit_Offset offset = 0;
    while (offset < data.Size) {
        text += Strings::Unchecked_Decode_Forward(data, offset);
    }
    return text;
}

// The normalized text; also checks that the result is well-formed string data whose length is
// its number of characters and that is followed by a zero code unit.
std::u32string normalized(std::u32string_view text, Form form) {
    Strings::UTF8_String_Data source;
    if (!Strings::From_Wide_Wide_String(source, text)) {
        ADD_FAILURE() << "test text is not UTF-32";
    }
    Strings::UTF8_String_Data result;
    Normalize(source, form, result);
    const std::u32string output = decoded(result);
    EXPECT_FALSE(Strings::Is_Null(result));
    EXPECT_EQ(static_cast<std::size_t>(result.Length), output.size());
    EXPECT_EQ(result.Storage_Address[result.Size], 0);
    std::string bytes(Strings::To_String_View(result));
    Strings::UTF8_String_Data check;
    EXPECT_TRUE(Strings::From_UTF_8_String(check, bytes)) << "result is not well-formed UTF-8";
    Strings::Unreference(check);
    Strings::Unreference(result);
    Strings::Unreference(source);
    return output;
}

std::string hex(std::u32string_view text) {
    std::ostringstream out;
    for (const char32_t c : text) {
        out << (out.tellp() > 0 ? " " : "") << ucd_test::u_plus(c);
    }
    return out.str();
}

std::u32string sequence(const std::string& field) {
    std::u32string text;
    std::istringstream parts(field);
    std::string part;
    while (parts >> part) {
        text += ucd_test::hex(part);
    }
    return text;
}

TEST(Normalization_Tables, SizesAndPacking) {
    EXPECT_EQ(Tables::Canonical_Index.size(), 4'352u);
    EXPECT_EQ(sizeof Tables::Canonical_Index, 8'704u);
    EXPECT_EQ(sizeof Tables::Compatibility_Index, 8'704u);
    EXPECT_EQ(Tables::Mapping_Data_Table_Raw.size(), 31'744u);
    EXPECT_EQ(sizeof Tables::Mapping_Data_Table_Raw, 253'952u);
    // The decompositions are packed more tightly than the 12,870 bytes of a packing that
    // shares only equal byte sequences; every record must still address its own.
    EXPECT_LE(Tables::UTF8_Data_Table.size(), 12'870u);
    EXPECT_EQ(sizeof Common::Composition_Mapping, 96'768u);

    for (const auto* index : {&Tables::Canonical_Index, &Tables::Compatibility_Index}) {
        for (const std::int16_t start : *index) {
            ASSERT_GE(start, 0);
            ASSERT_LE(std::size_t(start) + 256u, Tables::Mapping_Data_Table_Raw.size());
        }
    }
    // Pages without any decomposition are shared: the unassigned planes 4 .. 13 are one page,
    // in both indexes.
    for (std::size_t page = 0x400; page < 0xE00; ++page) {
        ASSERT_EQ(Tables::Canonical_Index[page], Tables::Canonical_Index[0x400]);
        ASSERT_EQ(Tables::Compatibility_Index[page], Tables::Canonical_Index[0x400]);
    }
    for (std::size_t i = 0; i < Tables::Mapping_Data_Table_Raw.size(); ++i) {
        const auto record = Tables::Mapping_Data_Table[i];
        ASSERT_EQ(record.Raw, Tables::Mapping_Data_Table_Raw[i]);
        ASSERT_EQ(record.Raw & Tables::Reserved_Mask, 0u) << i;
        ASSERT_NE(Tables::Composition_QC_Field.Get(record.Raw), 3u) << i;
        ASSERT_LE(std::size_t(record.Offset()) + std::size_t(record.Size()),
                  Tables::UTF8_Data_Table.size())
            << i;
    }
}

TEST(Normalization_Tables, PrimaryComposites) {
    std::size_t composites = 0;
    for (std::size_t second = 0; second < Common::Second_Index_Count; ++second) {
        for (std::size_t first = 0; first < Common::First_Index_Count; ++first) {
            const char32_t composite =
                Common::Composition_Mapping[second * Common::First_Index_Count + first];
            if (second == 0 || first == 0) {
                ASSERT_EQ(composite, 0u) << "row or column 0 at " << second << ", " << first;
            }
            composites += composite != 0 ? 1 : 0;
            // Hangul syllables are composed by rule, not from the table.
            ASSERT_FALSE(composite >= 0xAC00 && composite <= 0xD7A3);
        }
    }
    EXPECT_EQ(composites, 941u);

    auto record = [](char32_t code) {
        return Tables::Get_Mapping_Information(Tables::Canonical_Index, code);
    };
    EXPECT_EQ(record(0x003C).First_Index(), 1u);
    EXPECT_EQ(record(0x003D).First_Index(), 2u);
    EXPECT_EQ(record(0x003E).First_Index(), 3u);
    EXPECT_EQ(record(0x0041).First_Index(), 4u);
    EXPECT_EQ(record(0x0300).Second_Index(), 1u);
    EXPECT_EQ(record(0x0301).Second_Index(), 2u);
    EXPECT_EQ(Common::Get_Composition(record(0x0041).First_Index(), record(0x0300).Second_Index()),
              0x00C0u);
    EXPECT_EQ(Common::Get_Composition(record(0x0041).First_Index(), 0), 0u);
    EXPECT_THROW(Common::Get_Composition(378, 1), Qorvi::Constraint_Error);
    EXPECT_THROW(Common::Get_Composition(1, 64), Qorvi::Constraint_Error);

    // Every primary composite of the table is a two-character canonical decomposition of
    // UnicodeData.txt that CompositionExclusions.txt does not exclude, and the other way round.
    std::map<char32_t, std::pair<char32_t, char32_t>> expected;
    std::set<char32_t> excluded;
    ucd_test::for_each_line("CompositionExclusions.txt",
                            [&](char32_t first, char32_t last, const auto&) {
                                for (char32_t c = first; c <= last; ++c) {
                                    excluded.insert(c);
                                }
                            });
    std::vector<int> classes(ucd_test::code_point_count, 0);
    std::map<char32_t, std::u32string> canonical;
    ucd_test::for_each_line("UnicodeData.txt", [&](char32_t code, char32_t, const auto& fields) {
        classes[code] = std::stoi(fields.at(3));
        if (!fields.at(5).empty() && fields.at(5)[0] != '<') {
            canonical[code] = sequence(fields.at(5));
        }
    });
    for (const auto& [code, parts] : canonical) {
        if (parts.size() == 2 && !excluded.count(code) && classes[code] == 0 &&
            classes[parts[0]] == 0) {
            expected[code] = {parts[0], parts[1]};
        }
    }
    ASSERT_EQ(expected.size(), 941u);
    for (const auto& [composite, pair] : expected) {
        for (const auto* index : {&Tables::Canonical_Index, &Tables::Compatibility_Index}) {
            const auto first = Tables::Get_Mapping_Information(*index, pair.first);
            const auto second = Tables::Get_Mapping_Information(*index, pair.second);
            ASSERT_EQ(Common::Get_Composition(first.First_Index(), second.Second_Index()),
                      composite)
                << ucd_test::u_plus(composite);
        }
    }
}

// The stored fields of every code point against UnicodeData.txt and the quick check
// properties of DerivedNormalizationProps.txt.
TEST(Normalization_Tables, RecordFieldsOfEveryCodePoint) {
    std::vector<int> classes(ucd_test::code_point_count, 0);
    ucd_test::for_each_line("UnicodeData.txt",
                            [&](char32_t first, char32_t last, const auto& fields) {
                                for (char32_t c = first; c <= last; ++c) {
                                    classes[c] = std::stoi(fields.at(3));
                                }
                            });
    const auto nfd = ucd_test::read_values("DerivedNormalizationProps.txt", 2, "Y", "NFD_QC");
    const auto nfkd = ucd_test::read_values("DerivedNormalizationProps.txt", 2, "Y", "NFKD_QC");
    const auto nfc = ucd_test::read_values("DerivedNormalizationProps.txt", 2, "Y", "NFC_QC");
    const auto nfkc = ucd_test::read_values("DerivedNormalizationProps.txt", 2, "Y", "NFKC_QC");
    auto check_code = [](const std::string& value) {
        return value == "N" ? 0u : value == "M" ? 1u : 2u;
    };
    Mismatches mismatches;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        const bool hangul = c >= 0xAC00 && c <= 0xD7A3;
        const auto canonical = Tables::Get_Mapping_Information(Tables::Canonical_Index, c);
        const auto compatibility = Tables::Get_Mapping_Information(Tables::Compatibility_Index, c);
        for (const auto& record : {canonical, compatibility}) {
            if (Common::CCC_Numeric_Class.at(record.CCC()) != classes[c]) {
                mismatches.add(c, "combining class");
            }
            if (record.First_Index() != canonical.First_Index() ||
                record.Second_Index() != canonical.Second_Index()) {
                mismatches.add(c, "composition indexes differ between the indexes");
            }
        }
        if (canonical.Decomposition_QC() != (nfd[c] == "Y") ||
            compatibility.Decomposition_QC() != (nfkd[c] == "Y")) {
            mismatches.add(c, "decomposition quick check");
        }
        const unsigned expected_nfc = hangul ? 2u : check_code(nfc[c]);
        const unsigned expected_nfkc = hangul ? 2u : check_code(nfkc[c]);
        if (static_cast<unsigned>(canonical.Composition_QC()) != expected_nfc ||
            static_cast<unsigned>(compatibility.Composition_QC()) != expected_nfkc) {
            mismatches.add(c, "composition quick check");
        }
        if (hangul && (canonical.Size() != 0 || !canonical.Starter())) {
            mismatches.add(c, "Hangul syllables store no decomposition and are starters");
        }
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.text();
}

// Every invariant of every line of NormalizationTest.txt, and every code point that its Part 1
// does not list unchanged by all four forms.
TEST(Normalization_Conformance, NormalizationTestFile) {
    std::ifstream stream(ucd_test::ucd_path("NormalizationTest.txt"));
    ASSERT_TRUE(stream) << "cannot open NormalizationTest.txt";
    std::vector<bool> listed(ucd_test::code_point_count, false);
    std::string line;
    std::string part;
    std::size_t lines = 0;
    std::size_t failures = 0;
    while (std::getline(stream, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '@') {
            part = line.substr(0, line.find(' '));
            continue;
        }
        std::vector<std::u32string> c;
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string field;
        while (std::getline(fields, field, ';')) {
            if (c.size() < 5) {
                c.push_back(sequence(field));
            }
        }
        ASSERT_EQ(c.size(), 5u) << line;
        if (part == "@Part1") {
            ASSERT_EQ(c[0].size(), 1u) << line;
            listed[c[0][0]] = true;
        }
        ++lines;
        // NFC: c2 == toNFC(c1) == toNFC(c2) == toNFC(c3); c4 == toNFC(c4) == toNFC(c5).
        // NFD: c3 == toNFD(c1) == toNFD(c2) == toNFD(c3); c5 == toNFD(c4) == toNFD(c5).
        // NFKC: c4 == toNFKC(c1 .. c5). NFKD: c5 == toNFKD(c1 .. c5).
        const struct {
            Form form;
            std::size_t expected[5];
        } invariants[] = {
            {Form::NORMALIZATION_FORM_C, {1, 1, 1, 3, 3}},
            {Form::NORMALIZATION_FORM_D, {2, 2, 2, 4, 4}},
            {Form::NORMALIZATION_FORM_KC, {3, 3, 3, 3, 3}},
            {Form::NORMALIZATION_FORM_KD, {4, 4, 4, 4, 4}},
        };
        for (const auto& invariant : invariants) {
            for (std::size_t column = 0; column < 5; ++column) {
                const std::u32string result = normalized(c[column], invariant.form);
                const std::u32string& expected = c[invariant.expected[column]];
                if (result != expected && failures++ < 20) {
                    ADD_FAILURE() << Qorvi::Implementation::Image(invariant.form) << " of c"
                                  << column + 1 << " = " << hex(c[column]) << "\n  gives "
                                  << hex(result) << "\n  expected " << hex(expected)
                                  << "\n  line: " << line;
                }
            }
        }
    }
    EXPECT_EQ(failures, 0u);
    EXPECT_GT(lines, 19'000u);

    Mismatches mismatches;
    std::size_t unlisted = 0;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        if (listed[c] || (c >= 0xD800 && c <= 0xDFFF)) {
            continue;
        }
        ++unlisted;
        const std::u32string text(1, c);
        for (const Form form : all_forms) {
            if (normalized(text, form) != text) {
                mismatches.add(c, std::string(Qorvi::Implementation::Image(form)));
            }
        }
    }
    EXPECT_GT(unlisted, 1'000'000u);
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.text();
}

struct Normalization_Case {
    Form form;
    std::u32string source;
    std::u32string expected;
};

// The cases where the engines must take back and rework the end of their result: marks out
// of canonical order, composition across a mark, composites taken apart so that a mark of
// lower class composes first, blocked and excluded compositions, Hangul by rule, singletons,
// and decompositions whose characters must be placed one by one.
TEST(Normalization_Engines, CasesThatNeedWork) {
    using F = Form;
    const Normalization_Case cases[] = {
        {F::NORMALIZATION_FORM_D, U"\u00C0", U"\u0041\u0300"},
        {F::NORMALIZATION_FORM_C, U"\u0041\u0300", U"\u00C0"},
        {F::NORMALIZATION_FORM_D, U"\uAC01", U"\u1100\u1161\u11A8"},
        {F::NORMALIZATION_FORM_C, U"\u1100\u1161\u11A8", U"\uAC01"},
        {F::NORMALIZATION_FORM_C, U"\uAC00\u11A8", U"\uAC01"},
        {F::NORMALIZATION_FORM_D, U"a\u0315\u0300\u05AE\u0300b", U"a\u05AE\u0300\u0300\u0315b"},
        {F::NORMALIZATION_FORM_C, U"a\u0315\u0300\u05AE\u0300b", U"\u00E0\u05AE\u0300\u0315b"},
        {F::NORMALIZATION_FORM_D, U"a\u0301\u0316", U"a\u0316\u0301"},
        {F::NORMALIZATION_FORM_C, U"a\u0301\u0316", U"\u00E1\u0316"},
        {F::NORMALIZATION_FORM_C, U"\u1100\u0300\u1161", U"\u1100\u0300\u1161"},
        {F::NORMALIZATION_FORM_C, U"\uAC00\u0300\u11A8", U"\uAC00\u0300\u11A8"},
        {F::NORMALIZATION_FORM_C, U"\u0B47\u0B3E", U"\u0B4B"},
        {F::NORMALIZATION_FORM_C, U"1\u0B3E", U"1\u0B3E"},
        {F::NORMALIZATION_FORM_C, U"\u0B47\u0300\u0B3E", U"\u0B47\u0300\u0B3E"},
        {F::NORMALIZATION_FORM_C, U"\u2126", U"\u03A9"},
        {F::NORMALIZATION_FORM_C, U"\u2126x", U"\u03A9x"},
        {F::NORMALIZATION_FORM_C, U"\u212B", U"\u00C5"},
        {F::NORMALIZATION_FORM_C, U"\u0958", U"\u0915\u093C"},
        {F::NORMALIZATION_FORM_C, U"\u0958\u0915\u0958a", U"\u0915\u093C\u0915\u0915\u093Ca"},
        {F::NORMALIZATION_FORM_C, U"A\u0344", U"\u00C4\u0301"},
        {F::NORMALIZATION_FORM_C, U"\u00E9\u0344", U"\u00E9\u0308\u0301"},
        {F::NORMALIZATION_FORM_C, U"\u00E0\u0323", U"\u1EA1\u0300"},
        {F::NORMALIZATION_FORM_KC, U"\u3131\u314F", U"\uAC00"},
        {F::NORMALIZATION_FORM_C, U"\u3131\u314F", U"\u3131\u314F"},
        {F::NORMALIZATION_FORM_KC, U"\u00A0a", U" a"},
        {F::NORMALIZATION_FORM_KC, U"\uFB01", U"fi"},
        {F::NORMALIZATION_FORM_KC, U"\u3392", U"MHz"},
        {F::NORMALIZATION_FORM_KD, U"\u1E9B", U"\u0073\u0307"},
        {F::NORMALIZATION_FORM_D, U"\u1E9B", U"\u017F\u0307"},
        {F::NORMALIZATION_FORM_D, U"\u0F72\u0F73", U"\u0F71\u0F72\u0F72"},
        // A starter from a decomposition composes with the character before it; a mark
        // already in the result is moved behind one of lower class met later.
        {F::NORMALIZATION_FORM_KC, U"\u1100\uFFC2", U"\uAC00"},
        {F::NORMALIZATION_FORM_C, U"e\u0301\u0327", U"\u0229\u0301"},
        {F::NORMALIZATION_FORM_C, U"\u00E9\u0327", U"\u0229\u0301"},
        {F::NORMALIZATION_FORM_D, U"\u00E9\u0327x", U"e\u0327\u0301x"},
        // Text before any starter: marks are reordered but nothing composes.
        {F::NORMALIZATION_FORM_C, U"\u0301\u0316a", U"\u0316\u0301a"},
        {F::NORMALIZATION_FORM_C, U"\u0301\u0300", U"\u0301\u0300"},
        // Hangul syllables of the source stay composed, with trailing jamo composing in.
        {F::NORMALIZATION_FORM_C, U"\uD4DB\u11A8", U"\uD4DB\u11A8"},
        {F::NORMALIZATION_FORM_C, U"\uD4CC\u11B6\uAC00", U"\uD4DB\uAC00"},
        {F::NORMALIZATION_FORM_KD, U"\u320E", U"(\u1100\u1161)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(normalized(c.source, c.form)), hex(c.expected))
            << Qorvi::Implementation::Image(c.form) << " of " << hex(c.source);
    }
}

TEST(Normalization_Engines, EmptyAndNullSourcesGiveEmptyNonNullResults) {
    for (const Form form : all_forms) {
        Strings::UTF8_String_Data null_source;
        Strings::UTF8_String_Data result;
        Normalize(null_source, form, result);
        EXPECT_FALSE(Strings::Is_Null(result));
        EXPECT_EQ(result.Size, 0);
        EXPECT_EQ(result.Length, 0);
        Strings::Unreference(result);

        Strings::UTF8_String_Data empty;
        Strings::Initialize(empty, 0);
        Normalize(empty, form, result);
        EXPECT_FALSE(Strings::Is_Null(result));
        EXPECT_EQ(result.Size, 0);
        Strings::Unreference(result);
    }
}

TEST(Normalization_Engines, BadFormAndAliasing) {
    Strings::UTF8_String_Data data;
    ASSERT_TRUE(Strings::From_UTF_8_String(data, "A\xCC\x80 and some more text to be stored"));
    Strings::UTF8_String_Data result;
    EXPECT_THROW(Normalize(data, static_cast<Form>(4), result), Qorvi::Constraint_Error);
    EXPECT_TRUE(Strings::Is_Null(result));
    EXPECT_THROW(Qorvi::Implementation::Image(static_cast<Form>(4)), Qorvi::Constraint_Error);
    EXPECT_EQ(Qorvi::Implementation::Image(Form::NORMALIZATION_FORM_KC), "NORMALIZATION_FORM_KC");

    // Data and Result may be the same record: the text is replaced by its normalized form.
    const std::int64_t segments = Strings::Allocated_Segments();
    Normalize(data, Form::NORMALIZATION_FORM_C, data);
    EXPECT_EQ(Strings::To_String_View(data), "\xC3\x80 and some more text to be stored");
    EXPECT_EQ(data.Length, 33);
    EXPECT_EQ(Strings::Allocated_Segments(), segments);
    Strings::Unreference(data);
}

// Results that grow far beyond the source's size, long runs of marks out of order (sorted,
// not shuffled quadratically) and long stretches that need work, checked against a simple
// reference computed here.
TEST(Normalization_Engines, LongAndGrowingTexts) {
    // U+FDFA decomposes to 18 characters (33 bytes from 3).
    std::u32string ligatures(5'000, U'\uFDFA');
    const std::u32string one = normalized(U"\uFDFA", Form::NORMALIZATION_FORM_KD);
    ASSERT_EQ(one.size(), 18u);
    std::u32string expected;
    for (std::size_t i = 0; i < ligatures.size(); ++i) {
        expected += one;
    }
    EXPECT_EQ(normalized(ligatures, Form::NORMALIZATION_FORM_KD), expected);
    EXPECT_EQ(normalized(ligatures, Form::NORMALIZATION_FORM_KC),
              normalized(expected, Form::NORMALIZATION_FORM_C));

    // 'a' then 100,000 marks of classes 230 and 220 alternating: the 220s move before all the
    // 230s, each class keeping its order; in form C the first 230 (U+0300) composes with 'a'.
    std::u32string marks = U"a";
    std::u32string below;
    std::u32string above;
    for (int i = 0; i < 50'000; ++i) {
        const char32_t a = i % 2 == 0 ? U'\u0300' : U'\u0301';
        const char32_t b = i % 2 == 0 ? U'\u0316' : U'\u0317';
        marks += a;
        marks += b;
        above += a;
        below += b;
    }
    marks += U"b";
    EXPECT_EQ(normalized(marks, Form::NORMALIZATION_FORM_D), U"a" + below + above + U"b");
    EXPECT_EQ(normalized(marks, Form::NORMALIZATION_FORM_C),
              U"\u00E0" + below + above.substr(1) + U"b");

    // A long text of decomposed Latin and Hangul composes back and decomposes again.
    std::u32string decomposed;
    std::u32string composed;
    for (int i = 0; i < 20'000; ++i) {
        decomposed += U"e\u0301\u1100\u1161\u11A8 ";
        composed += U"\u00E9\uAC01 ";
    }
    EXPECT_EQ(normalized(decomposed, Form::NORMALIZATION_FORM_C), composed);
    EXPECT_EQ(normalized(composed, Form::NORMALIZATION_FORM_D), decomposed);
    EXPECT_EQ(normalized(composed, Form::NORMALIZATION_FORM_C), composed);
}

} // namespace

namespace {

// The decomposing forms computed directly from the records (checked against the UCD files
// above): each character replaced by its stored decomposition or its Hangul jamo, then every
// run of non-starters sorted stably by class.
std::u32string reference_decomposition(std::u32string_view text,
                                       const Tables::Mapping_Data_Offset_Array& index) {
    std::u32string out;
    for (const char32_t c : text) {
        const auto record = Tables::Get_Mapping_Information(index, c);
        if (c >= 0xAC00 && c <= 0xD7A3) {
            const char32_t s = c - 0xAC00;
            out += static_cast<char32_t>(0x1100 + s / 588);
            out += static_cast<char32_t>(0x1161 + s % 588 / 28);
            if (s % 28 != 0) {
                out += static_cast<char32_t>(0x11A7 + s % 28);
            }
        } else if (record.Decomposition_QC() || record.Size() == 0) {
            out += c;
        } else {
            Strings::UTF8_String_Data stored;
            EXPECT_TRUE(Strings::From_UTF_8_String(
                stored, std::string_view(reinterpret_cast<const char*>(
                                             Tables::UTF8_Data_Table.data() + record.Offset()),
                                         static_cast<std::size_t>(record.Size()))));
            out += decoded(stored);
            Strings::Unreference(stored);
        }
    }
    const auto ccc = [&](char32_t c) { return Tables::Get_Mapping_Information(index, c).CCC(); };
    for (std::size_t first = 0; first < out.size();) {
        std::size_t last = first;
        while (last < out.size() && ccc(out[last]) != 0) {
            ++last;
        }
        std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first),
                         out.begin() + static_cast<std::ptrdiff_t>(last),
                         [&](char32_t a, char32_t b) { return ccc(a) < ccc(b); });
        first = last + 1;
    }
    return out;
}

// Every code point inside long texts, where the engines take the characters that stay as
// they are in large runs: all of them in a row, and each between a starter and a mark of a
// class that varies (above, below and equal to the classes of the marks among them, in one to
// four code units), against the reference.
TEST(Normalization_Engines, EveryCodePointInLongTexts) {
    const char32_t marks[] = {0x0301, 0x0316, 0x05AE, 0x093C, 0x0F71, 0x302A, 0x1D165, 0x0300};
    std::u32string all;
    std::u32string framed;
    for (char32_t c = 0; c <= ucd_test::last_code_point; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        all += c;
        framed += U'a';
        framed += c;
        framed += marks[c % std::size(marks)];
    }
    const struct {
        Form form;
        const Tables::Mapping_Data_Offset_Array& index;
    } forms[] = {{Form::NORMALIZATION_FORM_D, Tables::Canonical_Index},
                 {Form::NORMALIZATION_FORM_KD, Tables::Compatibility_Index}};
    for (const auto& f : forms) {
        for (const std::u32string* text : {&all, &framed}) {
            const std::u32string expected = reference_decomposition(*text, f.index);
            const std::u32string result = normalized(*text, f.form);
            ASSERT_EQ(result.size(), expected.size()) << Qorvi::Implementation::Image(f.form);
            const auto mismatch = std::mismatch(result.begin(), result.end(), expected.begin());
            EXPECT_TRUE(mismatch.first == result.end())
                << Qorvi::Implementation::Image(f.form) << ": first difference at "
                << mismatch.first - result.begin() << ", " << ucd_test::u_plus(*mismatch.first)
                << " for " << ucd_test::u_plus(*mismatch.second);
            // The same text already in the form comes back unchanged.
            EXPECT_TRUE(normalized(expected, f.form) == expected)
                << Qorvi::Implementation::Image(f.form);
        }
    }
}

} // namespace
