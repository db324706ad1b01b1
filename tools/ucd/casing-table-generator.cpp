// Generates the case mapping tables (Qorvi::Implementation::UCD_Casing_UTF8): nine page-indexed
// tables of 32-bit mapping records packed into one shared record array, and the mapping
// results pre-encoded as UTF-8 in one shared byte pool.
//
// Usage: qorvi-ucd-casing-generator UCD_DIRECTORY OUTPUT_CPP

#include "page-packer.hpp"
#include "source-writer.hpp"
#include "ucd-data-file.hpp"
#include "utf8-pool.hpp"

#include <array>
#include <charconv>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <qorvi/ucd/implementation-ucd_casing_utf8.hpp>
#include <string>
#include <vector>

namespace {

using namespace qorvi_tools::ucd;
using namespace Qorvi::Implementation::UCD_Casing_UTF8;
using Qorvi::Implementation::UCD_Casing::Casing_Context_Change;

// The tables in the order in which they are packed into the shared array.
enum Table : std::size_t {
    simple_lowercase,
    simple_titlecase,
    simple_uppercase,
    simple_case_folding,
    nfkc_casefold,
    full_lowercase,
    full_titlecase,
    full_uppercase,
    full_case_folding,
    table_count
};

constexpr std::array<std::string_view, table_count> index_names{
    "Simple_Lowercase_Index",    "Simple_Titlecase_Index", "Simple_Uppercase_Index",
    "Simple_Case_Folding_Index", "NFKC_Casefold_Index",    "Full_Lowercase_Index",
    "Full_Titlecase_Index",      "Full_Uppercase_Index",   "Full_Case_Folding_Index"};

constexpr bool is_contextual(std::size_t table) {
    return table >= full_lowercase;
}

// The mapping results of one table, for the code points that have one.
using Mappings = std::map<char32_t, std::u32string>;

struct Casing_Data {
    std::array<Mappings, table_count> mappings;
    // Per code point: the six context change bits and the Cased and Case_Ignorable flags.
    std::vector<std::uint8_t> context_change;
    std::vector<bool> cased;
    std::vector<bool> case_ignorable;
};

std::u32string sequence(std::string_view text) {
    const std::vector<char32_t> codes = parse_code_points(text);
    return std::u32string(codes.begin(), codes.end());
}

unsigned parse_combining_class(const Data_File& file, const Entry& entry) {
    const std::string_view text = entry.fields[3];
    unsigned value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc{} || end != text.data() + text.size() || value > 254) {
        throw file.error(entry.line_number, "bad canonical combining class");
    }
    return value;
}

// Records a mapping as the data file lists it. A listed mapping of a code point to itself
// (the titlecase of U+01C5, the special casing of U+00DF) is kept as a record with a result,
// like any other: the output is the same as without one.
void set_mapping(Mappings& mappings, char32_t code, std::u32string result) {
    mappings[code] = std::move(result);
}

Casing_Data read_casing_data(const std::filesystem::path& ucd) {
    Casing_Data data;
    auto& m = data.mappings;
    std::vector<unsigned> combining_class(code_point_count, 0);

    {
        const Data_File file(ucd / "UnicodeData.txt");
        for (const Entry& entry : read_unicode_data(file)) {
            const unsigned ccc = parse_combining_class(file, entry);
            for (char32_t c = entry.range.first; c <= entry.range.last; ++c) {
                combining_class[c] = ccc;
            }
            const char32_t code = entry.range.first;
            const std::string_view upper = entry.fields[12];
            const std::string_view lower = entry.fields[13];
            const std::string_view title = entry.fields[14];
            if ((!upper.empty() || !lower.empty() || !title.empty()) &&
                entry.range.first != entry.range.last) {
                throw file.error(entry.line_number, "case mapping on a range");
            }
            try {
                if (!lower.empty()) {
                    set_mapping(m[simple_lowercase], code, sequence(lower));
                }
                if (!upper.empty()) {
                    set_mapping(m[simple_uppercase], code, sequence(upper));
                }
                if (!title.empty()) {
                    set_mapping(m[simple_titlecase], code, sequence(title));
                } else if (!upper.empty()) {
                    set_mapping(m[simple_titlecase], code, sequence(upper));
                }
            } catch (const Data_Error& problem) {
                throw file.error(entry.line_number, problem.what());
            }
        }
    }
    for (const Table simple : {simple_lowercase, simple_titlecase, simple_uppercase}) {
        for (const auto& [code, result] : m[simple]) {
            if (result.size() != 1) {
                throw Data_Error("a simple case mapping of UnicodeData.txt is not one character");
            }
        }
    }
    // The full mappings start as the simple ones; unconditional special casings replace them.
    m[full_lowercase] = m[simple_lowercase];
    m[full_titlecase] = m[simple_titlecase];
    m[full_uppercase] = m[simple_uppercase];
    {
        const Data_File file(ucd / "CasingExceptions.txt");
        file.for_each_entry([&](const Entry& entry) {
            if (entry.fields.size() < 5 || entry.fields.size() > 6 ||
                !entry.fields.back().empty()) {
                throw file.error(entry.line_number, "unexpected number of fields");
            }
            if (entry.range.first != entry.range.last) {
                throw file.error(entry.line_number, "unexpected range");
            }
            if (entry.fields.size() == 6) {
                return; // conditional (Final_Sigma or language-specific): not in any table
            }
            const char32_t code = entry.range.first;
            set_mapping(m[full_lowercase], code, sequence(entry.fields[1]));
            set_mapping(m[full_titlecase], code, sequence(entry.fields[2]));
            set_mapping(m[full_uppercase], code, sequence(entry.fields[3]));
        });
    }
    {
        const Data_File file(ucd / "CaseFolding.txt");
        file.for_each_entry([&](const Entry& entry) {
            if (entry.fields.size() != 4 || !entry.fields[3].empty() ||
                entry.range.first != entry.range.last) {
                throw file.error(entry.line_number, "unexpected entry");
            }
            const char32_t code = entry.range.first;
            const std::string_view status = entry.fields[1];
            const std::u32string result = sequence(entry.fields[2]);
            if (status == "C") {
                set_mapping(m[simple_case_folding], code, result);
                set_mapping(m[full_case_folding], code, result);
            } else if (status == "S") {
                set_mapping(m[simple_case_folding], code, result);
            } else if (status == "F") {
                set_mapping(m[full_case_folding], code, result);
            } else if (status != "T") { // Turkic foldings are not used
                throw file.error(entry.line_number, "unknown status");
            }
        });
    }
    {
        const Data_File file(ucd / "DerivedNormalizationProps.txt");
        bool found = false;
        for_each_property_entry(file, "NFKC_CF", [&](const Entry& entry) {
            if (entry.fields.size() != 3) {
                throw file.error(entry.line_number, "unexpected number of fields");
            }
            const std::u32string result = sequence(entry.fields[2]);
            for (char32_t c = entry.range.first; c <= entry.range.last; ++c) {
                set_mapping(m[nfkc_casefold], c, result);
            }
            found = true;
        });
        if (!found) {
            throw Data_Error(file.path().string() + ": no NFKC_CF entry");
        }
    }

    const Data_File derived_core(ucd / "DerivedCoreProperties.txt");
    data.cased = read_binary_property(derived_core, "Cased");
    data.case_ignorable = read_binary_property(derived_core, "Case_Ignorable");
    const std::vector<bool> soft_dotted =
        read_binary_property(Data_File(ucd / "PropList.txt"), "Soft_Dotted");

    data.context_change.assign(code_point_count, 0);
    for (char32_t c = 0; c <= last_code_point; ++c) {
        const bool not_0_or_230 = combining_class[c] != 0 && combining_class[c] != 230;
        unsigned bits = 0;
        if (data.cased[c] && !data.case_ignorable[c]) {
            bits |= Casing_Context_Change::Final_Sigma_Set;
        }
        if (data.case_ignorable[c]) {
            bits |= Casing_Context_Change::Final_Sigma_Keep;
        }
        if (soft_dotted[c]) {
            bits |= Casing_Context_Change::After_Soft_Dotted_Set;
        }
        if (not_0_or_230) {
            bits |= Casing_Context_Change::After_Soft_Dotted_Keep;
            bits |= Casing_Context_Change::After_I_Keep;
        }
        if (c == 0x0049) {
            bits |= Casing_Context_Change::After_I_Set;
        }
        data.context_change[c] = static_cast<std::uint8_t>(bits);
    }
    return data;
}

std::uint32_t put(std::uint32_t raw, Mapping_Field field, std::size_t value) {
    if (value >= (std::size_t{1} << field.Width) || (raw & field.Mask()) != 0) {
        throw Data_Error("record field overflow");
    }
    return raw | (static_cast<std::uint32_t>(value) << field.Shift);
}

std::vector<std::uint32_t> build_records(const Casing_Data& data, std::size_t table,
                                         const UTF8_Pool& pool) {
    std::vector<std::uint32_t> records(code_point_count, 0);
    const bool contextual = is_contextual(table);
    for (const auto& [code, result] : data.mappings[table]) {
        const UTF8_Pool::Slice slice = pool.find(result);
        std::uint32_t raw = 0;
        if (contextual) {
            raw = put(raw, Contextual_Offset_Field, slice.offset);
            raw = put(raw, Contextual_Length_Field, slice.length);
            raw = put(raw, Contextual_Size_Field, slice.size);
            raw = put(raw, Contextual_Has_Mapping_Field, 1);
        } else {
            raw = put(raw, Simplified_Offset_Field, slice.offset);
            raw = put(raw, Simplified_Length_Field, slice.length);
            raw = put(raw, Simplified_Size_Field, slice.size);
            raw = put(raw, Simplified_Has_Mapping_Field, 1);
        }
        records[code] = raw;
    }
    if (contextual) {
        for (char32_t c = 0; c <= last_code_point; ++c) {
            std::uint32_t raw = records[c];
            raw = put(raw, Contextual_Context_Change_Field, data.context_change[c]);
            raw = put(raw, Contextual_Cased_Field, data.cased[c]);
            raw = put(raw, Contextual_Case_Ignorable_Field, data.case_ignorable[c]);
            records[c] = raw;
        }
    }
    return records;
}

void generate(const std::filesystem::path& ucd, const std::filesystem::path& output) {
    const Casing_Data data = read_casing_data(ucd);

    UTF8_Pool pool;
    for (const Mappings& mappings : data.mappings) {
        for (const auto& [code, result] : mappings) {
            pool.add(result);
        }
    }
    pool.pack();
    if (pool.bytes().size() > std::size_t{1} << Simplified_Offset_Field.Width) {
        throw Data_Error("the mapping results do not fit 15-bit offsets");
    }

    Page_Packer<std::uint32_t> packer;
    std::array<std::vector<std::int32_t>, table_count> indexes;
    for (std::size_t table = 0; table < table_count; ++table) {
        const std::vector<std::uint32_t> records = build_records(data, table, pool);
        const std::vector<std::size_t> starts = packer.add_table(records);
        indexes[table].assign(starts.begin(), starts.end());
    }

    Source_Writer source("qorvi-ucd-casing-generator",
                         "Case mappings of the Unicode Character Database 15.1.0.");
    source.line("#include <qorvi/ucd/implementation-ucd_casing_utf8.hpp>");
    source.line();
    source.line("namespace Qorvi::Implementation::UCD_Casing_UTF8 {");
    source.line();
    source.line("static_assert(" + std::to_string(packer.data().size()) +
                " == Mapping_Record_Count, \"the generated records do not fit "
                "Mapping_Data_Raw_Array\");");
    source.line("static_assert(" + std::to_string(pool.bytes().size()) +
                " == UTF8_Data_Size, \"the generated results do not fit UTF8_Data_Array\");");
    source.line();
    for (std::size_t table = 0; table < table_count; ++table) {
        source.array("const Mapping_Data_Offset_Array " + std::string(index_names[table]),
                     std::span<const std::int32_t>(indexes[table]), 5, 12);
        source.line();
    }
    source.line("// " + std::to_string(packer.appended_pages()) + " pages stored, " +
                std::to_string(packer.shared_pages()) + " found in data stored before them.");
    source.array("const Mapping_Data_Raw_Array Mapping_Data_Table_Raw", std::span(packer.data()), 8,
                 8);
    source.line();
    source.array("const UTF8_Data_Array UTF8_Data_Table", std::span(pool.bytes()), 2, 16);
    source.line();
    source.line("} // namespace Qorvi::Implementation::UCD_Casing_UTF8");
    source.save(output);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qorvi-ucd-casing-generator UCD_DIRECTORY OUTPUT_CPP\n";
        return 2;
    }
    try {
        generate(argv[1], argv[2]);
    } catch (const std::exception& problem) {
        std::cerr << "qorvi-ucd-casing-generator: " << problem.what() << '\n';
        return 1;
    }
    return 0;
}
