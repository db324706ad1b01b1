// Generates the normalization tables: the 64-bit mapping records of the canonical and the
// compatibility decompositions behind two page indexes over one shared record array, the full
// decompositions pre-encoded as UTF-8 (Qorvi::Implementation::UCD_Normalization_UTF8), and the
// table of primary composites (Qorvi::Implementation::UCD_Normalization_Common).
//
// Usage: qorvi-ucd-normalization-generator UCD_DIRECTORY OUTPUT_CPP

#include "page-packer.hpp"
#include "source-writer.hpp"
#include "ucd-data-file.hpp"
#include "utf8-pool.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <qorvi/ucd/implementation-ucd_normalization_utf8.hpp>
#include <string>
#include <vector>

namespace {

using namespace qorvi_tools::ucd;
using namespace Qorvi::Implementation::UCD_Normalization_UTF8;
namespace Common = Qorvi::Implementation::UCD_Normalization_Common;

constexpr char32_t hangul_first = 0xAC00;
constexpr char32_t hangul_last = 0xD7A3;
constexpr char32_t hangul_l_base = 0x1100;
constexpr char32_t hangul_v_base = 0x1161;
constexpr char32_t hangul_t_base = 0x11A7;
constexpr char32_t hangul_t_count = 28;
constexpr char32_t hangul_n_count = 21 * 28;

bool is_hangul_syllable(char32_t c) {
    return c >= hangul_first && c <= hangul_last;
}

enum Kind : std::size_t { canonical, compatibility, kind_count };

struct Normalization_Data {
    std::vector<std::uint8_t> combining_class; // numeric classes
    // The one-level decomposition mappings of UnicodeData.txt field 5: canonical ones (no
    // tag) and all of them (with or without a formatting tag).
    std::array<std::map<char32_t, std::u32string>, kind_count> mappings;
    // Per code point, the full decomposition (empty when the code point has none).
    std::array<std::map<char32_t, std::u32string>, kind_count> full;
    // Per code point: decomposition quick check is Yes; composition quick check code.
    std::array<std::vector<bool>, kind_count> decomposition_yes;
    std::array<std::vector<Composition_Quick_Check>, kind_count> composition_check;
    std::map<char32_t, std::pair<char32_t, char32_t>> primary_composites;
};

unsigned parse_decimal(const Data_File& file, const Entry& entry, std::string_view text) {
    unsigned value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc{} || end != text.data() + text.size() || value > 254) {
        throw file.error(entry.line_number, "bad canonical combining class");
    }
    return value;
}

void decompose_into(const Normalization_Data& data, Kind kind, char32_t c, std::u32string& out,
                    int depth = 0) {
    if (depth > 32) {
        throw Data_Error("decomposition mappings do not terminate");
    }
    if (is_hangul_syllable(c)) {
        const char32_t s = c - hangul_first;
        out += hangul_l_base + s / hangul_n_count;
        out += hangul_v_base + (s % hangul_n_count) / hangul_t_count;
        if (s % hangul_t_count != 0) {
            out += hangul_t_base + s % hangul_t_count;
        }
        return;
    }
    const auto found = data.mappings[kind].find(c);
    if (found == data.mappings[kind].end()) {
        out += c;
        return;
    }
    for (const char32_t part : found->second) {
        decompose_into(data, kind, part, out, depth + 1);
    }
}

// Stable sort of every run of non-starters by combining class.
void put_in_canonical_order(const Normalization_Data& data, std::u32string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (data.combining_class[text[i]] == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && data.combining_class[text[end]] != 0) {
            ++end;
        }
        std::stable_sort(text.begin() + static_cast<std::ptrdiff_t>(i),
                         text.begin() + static_cast<std::ptrdiff_t>(end),
                         [&](char32_t left, char32_t right) {
                             return data.combining_class[left] < data.combining_class[right];
                         });
        i = end;
    }
}

// Reads a quick check property: "N" and "M" entries; unlisted code points are Yes.
std::vector<Composition_Quick_Check> read_quick_check(const Data_File& file,
                                                      std::string_view property) {
    std::vector<Composition_Quick_Check> values(code_point_count, Composition_Quick_Check::YES);
    bool found = false;
    for_each_property_entry(file, property, [&](const Entry& entry) {
        if (entry.fields.size() != 3) {
            throw file.error(entry.line_number, "unexpected number of fields");
        }
        Composition_Quick_Check value;
        if (entry.fields[2] == "N") {
            value = Composition_Quick_Check::NO;
        } else if (entry.fields[2] == "M") {
            value = Composition_Quick_Check::MAYBE;
        } else {
            throw file.error(entry.line_number, "unknown quick check value");
        }
        for (char32_t c = entry.range.first; c <= entry.range.last; ++c) {
            values[c] = value;
        }
        found = true;
    });
    if (!found) {
        throw Data_Error(file.path().string() + ": no entry for " + std::string(property));
    }
    return values;
}

Normalization_Data read_normalization_data(const std::filesystem::path& ucd) {
    Normalization_Data data;
    data.combining_class.assign(code_point_count, 0);
    {
        const Data_File file(ucd / "UnicodeData.txt");
        for (const Entry& entry : read_unicode_data(file)) {
            const unsigned ccc = parse_decimal(file, entry, entry.fields[3]);
            for (char32_t c = entry.range.first; c <= entry.range.last; ++c) {
                data.combining_class[c] = static_cast<std::uint8_t>(ccc);
            }
            std::string_view mapping = entry.fields[5];
            if (mapping.empty()) {
                continue;
            }
            if (entry.range.first != entry.range.last) {
                throw file.error(entry.line_number, "decomposition on a range");
            }
            bool tagged = false;
            if (mapping.front() == '<') {
                const auto close = mapping.find('>');
                if (close == std::string_view::npos) {
                    throw file.error(entry.line_number, "unterminated formatting tag");
                }
                mapping = mapping.substr(close + 1);
                tagged = true;
            }
            std::u32string parts;
            try {
                for (const char32_t c : parse_code_points(mapping)) {
                    parts += c;
                }
            } catch (const Data_Error& problem) {
                throw file.error(entry.line_number, problem.what());
            }
            if (parts.empty()) {
                throw file.error(entry.line_number, "empty decomposition");
            }
            if (!tagged) {
                data.mappings[canonical][entry.range.first] = parts;
            }
            data.mappings[compatibility][entry.range.first] = parts;
        }
    }

    for (std::size_t kind = 0; kind < kind_count; ++kind) {
        for (char32_t c = 0; c <= last_code_point; ++c) {
            if (!is_hangul_syllable(c) && data.mappings[kind].count(c) == 0) {
                continue;
            }
            std::u32string full;
            decompose_into(data, static_cast<Kind>(kind), c, full);
            put_in_canonical_order(data, full);
            data.full[kind][c] = full;
        }
    }

    const Data_File properties(ucd / "DerivedNormalizationProps.txt");
    const std::array<std::string_view, kind_count> decomposition_property{"NFD_QC", "NFKD_QC"};
    const std::array<std::string_view, kind_count> composition_property{"NFC_QC", "NFKC_QC"};
    for (std::size_t kind = 0; kind < kind_count; ++kind) {
        const std::vector<Composition_Quick_Check> decomposition =
            read_quick_check(properties, decomposition_property[kind]);
        data.decomposition_yes[kind].assign(code_point_count, false);
        for (char32_t c = 0; c <= last_code_point; ++c) {
            data.decomposition_yes[kind][c] = decomposition[c] == Composition_Quick_Check::YES;
            // The quick check must agree with the decompositions: exactly the code points
            // that decompose are not Yes.
            if (data.decomposition_yes[kind][c] == (data.full[kind].count(c) != 0)) {
                throw Data_Error(std::string(decomposition_property[kind]) +
                                 " disagrees with the decomposition mappings");
            }
        }
        data.composition_check[kind] = read_quick_check(properties, composition_property[kind]);
    }

    // Primary composites: canonical mappings to exactly two characters, without the
    // decompositions that begin with a non-starter and without the listed exclusions.
    std::vector<bool> excluded(code_point_count, false);
    Data_File(ucd / "CompositionExclusions.txt").for_each_entry([&](const Entry& entry) {
        for (char32_t c = entry.range.first; c <= entry.range.last; ++c) {
            excluded[c] = true;
        }
    });
    const std::vector<bool> full_exclusion =
        read_binary_property(properties, "Full_Composition_Exclusion");
    for (const auto& [code, parts] : data.mappings[canonical]) {
        const bool composes = parts.size() == 2 && !excluded[code] &&
                              data.combining_class[code] == 0 &&
                              data.combining_class[parts[0]] == 0;
        if (parts.size() == 2 && composes == full_exclusion[code]) {
            throw Data_Error("the composition exclusions disagree with Full_Composition_Exclusion");
        }
        if (composes) {
            data.primary_composites[code] = {parts[0], parts[1]};
        }
    }
    return data;
}

template <typename Value>
std::uint64_t put(std::uint64_t raw, Mapping_Field field, Value value) {
    const auto v = static_cast<std::uint64_t>(value);
    if (v >= (std::uint64_t{1} << field.Width) || (raw & field.Mask()) != 0) {
        throw Data_Error("record field overflow");
    }
    return raw | (v << field.Shift);
}

// The CCC_Values position of a numeric class.
std::size_t ccc_position(unsigned numeric) {
    const auto& classes = Common::CCC_Numeric_Class;
    const auto found = std::find(classes.begin(), classes.end(), numeric);
    if (found == classes.end()) {
        throw Data_Error("canonical combining class " + std::to_string(numeric) +
                         " has no CCC_Values literal");
    }
    return static_cast<std::size_t>(found - classes.begin());
}

struct Composition_Indexes {
    std::map<char32_t, std::size_t> first;
    std::map<char32_t, std::size_t> second;
};

Composition_Indexes number_composition_characters(const Normalization_Data& data) {
    Composition_Indexes indexes;
    for (const auto& [composite, pair] : data.primary_composites) {
        indexes.first[pair.first] = 0;
        indexes.second[pair.second] = 0;
    }
    std::size_t next = 1;
    for (auto& [code, index] : indexes.first) {
        index = next++;
    }
    next = 1;
    for (auto& [code, index] : indexes.second) {
        index = next++;
    }
    if (indexes.first.size() >= Common::First_Index_Count ||
        indexes.second.size() >= Common::Second_Index_Count) {
        throw Data_Error("the composition table does not fit 64 x 378 entries");
    }
    return indexes;
}

std::vector<std::uint64_t> build_records(const Normalization_Data& data, Kind kind,
                                         const Composition_Indexes& indexes,
                                         const UTF8_Pool& pool) {
    std::vector<std::uint64_t> records(code_point_count);
    for (char32_t c = 0; c <= last_code_point; ++c) {
        std::uint64_t raw = 0;
        const unsigned own_class = data.combining_class[c];
        unsigned first_class = own_class;
        unsigned last_class = own_class;
        const auto full = data.full[kind].find(c);
        if (full != data.full[kind].end()) {
            const std::u32string& parts = full->second;
            first_class = data.combining_class[parts.front()];
            last_class = data.combining_class[parts.back()];
            if (!is_hangul_syllable(c)) {
                const UTF8_Pool::Slice slice = pool.find(parts);
                raw = put(raw, Offset_Field, slice.offset);
                raw = put(raw, Size_Field, slice.size);
                raw = put(raw, Length_Field, slice.length);
            }
        }
        if (const auto first = indexes.first.find(c); first != indexes.first.end()) {
            raw = put(raw, First_Index_Field, first->second);
        }
        if (const auto second = indexes.second.find(c); second != indexes.second.end()) {
            raw = put(raw, Second_Index_Field, second->second);
        }
        raw = put(raw, Starter_Field, first_class == 0);
        raw = put(raw, CCC_Field, ccc_position(own_class));
        raw = put(raw, First_CCC_Field, ccc_position(first_class));
        raw = put(raw, Last_CCC_Field, ccc_position(last_class));
        // Hangul syllables are composed text (Yes), whatever their decomposition check says.
        const Composition_Quick_Check composition =
            is_hangul_syllable(c) ? Composition_Quick_Check::YES : data.composition_check[kind][c];
        raw = put(raw, Composition_QC_Field, static_cast<unsigned>(composition));
        raw = put(raw, Decomposition_QC_Field, data.decomposition_yes[kind][c]);
        records[c] = raw;
    }
    return records;
}

void generate(const std::filesystem::path& ucd, const std::filesystem::path& output) {
    const Normalization_Data data = read_normalization_data(ucd);
    const Composition_Indexes indexes = number_composition_characters(data);

    UTF8_Pool pool;
    for (std::size_t kind = 0; kind < kind_count; ++kind) {
        for (const auto& [code, parts] : data.full[kind]) {
            if (!is_hangul_syllable(code)) {
                pool.add(parts);
            }
        }
    }
    pool.pack();
    if (pool.bytes().size() > std::size_t{1} << Offset_Field.Width) {
        throw Data_Error("the decompositions do not fit 14-bit offsets");
    }

    Page_Packer<std::uint64_t> packer;
    std::array<std::vector<std::int16_t>, kind_count> index_tables;
    for (std::size_t kind = 0; kind < kind_count; ++kind) {
        const std::vector<std::size_t> starts =
            packer.add_table(build_records(data, static_cast<Kind>(kind), indexes, pool));
        for (const std::size_t start : starts) {
            if (start > 0x7FFF) {
                throw Data_Error("the mapping records need more than 15-bit page starts");
            }
            index_tables[kind].push_back(static_cast<std::int16_t>(start));
        }
    }

    std::vector<std::uint32_t> composition(Common::Second_Index_Count * Common::First_Index_Count,
                                           0);
    for (const auto& [composite, pair] : data.primary_composites) {
        const std::size_t position = indexes.second.at(pair.second) * Common::First_Index_Count +
                                     indexes.first.at(pair.first);
        composition[position] = static_cast<std::uint32_t>(composite);
    }

    Source_Writer source("qorvi-ucd-normalization-generator",
                         "Normalization data of the Unicode Character Database 15.1.0.");
    source.line("#include <qorvi/ucd/implementation-ucd_normalization_common.hpp>");
    source.line("#include <qorvi/ucd/implementation-ucd_normalization_utf8.hpp>");
    source.line();
    source.line("namespace Qorvi::Implementation::UCD_Normalization_UTF8 {");
    source.line();
    source.line("static_assert(" + std::to_string(packer.data().size()) +
                " == Mapping_Record_Count, \"the generated records do not fit "
                "Mapping_Data_Raw_Array\");");
    source.line("static_assert(" + std::to_string(pool.bytes().size()) +
                " == UTF8_Data_Size, \"the generated decompositions do not fit "
                "UTF8_Data_Array\");");
    source.line();
    source.array("const Mapping_Data_Offset_Array Canonical_Index",
                 std::span<const std::int16_t>(index_tables[canonical]), 4, 12);
    source.line();
    source.array("const Mapping_Data_Offset_Array Compatibility_Index",
                 std::span<const std::int16_t>(index_tables[compatibility]), 4, 12);
    source.line();
    source.line("// " + std::to_string(packer.appended_pages()) + " pages stored, " +
                std::to_string(packer.shared_pages()) + " found in data stored before them.");
    source.array("const Mapping_Data_Raw_Array Mapping_Data_Table_Raw", std::span(packer.data()),
                 16, 4);
    source.line();
    source.array("const UTF8_Data_Array UTF8_Data_Table", std::span(pool.bytes()), 2, 16);
    source.line();
    source.line("} // namespace Qorvi::Implementation::UCD_Normalization_UTF8");
    source.line();
    source.line("namespace Qorvi::Implementation::UCD_Normalization_Common {");
    source.line();
    source.line("static_assert(" + std::to_string(data.primary_composites.size()) +
                " == Primary_Composite_Count, \"unexpected number of primary composites\");");
    source.line();
    source.array("const Composition_Mapping_Array Composition_Mapping",
                 std::span<const std::uint32_t>(composition), 4, 12);
    source.line();
    source.line("} // namespace Qorvi::Implementation::UCD_Normalization_Common");
    source.save(output);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qorvi-ucd-normalization-generator UCD_DIRECTORY OUTPUT_CPP\n";
        return 2;
    }
    try {
        generate(argv[1], argv[2]);
    } catch (const std::exception& problem) {
        std::cerr << "qorvi-ucd-normalization-generator: " << problem.what() << '\n';
        return 1;
    }
    return 0;
}
