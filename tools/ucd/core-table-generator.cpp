// Generates the core character property table (Qorvi::Implementation::UCD_Core): one packed
// 32-bit record per code point, page-packed behind a 16-bit page index.
//
// Usage: qorvi-ucd-core-generator UCD_DIRECTORY OUTPUT_CPP

#include "page-packer.hpp"
#include "source-writer.hpp"
#include "ucd-data-file.hpp"

#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <qorvi/ucd/implementation-ucd_core.hpp>
#include <string>
#include <vector>

namespace {

using namespace qorvi_tools::ucd;
using namespace Qorvi::Implementation::UCD_Core;

constexpr std::array<Named_Value<GC_Values>, 30> gc_names{{
    {"Cc", GC_Values::GC_CC}, {"Cf", GC_Values::GC_CF}, {"Cn", GC_Values::GC_CN},
    {"Co", GC_Values::GC_CO}, {"Cs", GC_Values::GC_CS}, {"Ll", GC_Values::GC_LL},
    {"Lm", GC_Values::GC_LM}, {"Lo", GC_Values::GC_LO}, {"Lt", GC_Values::GC_LT},
    {"Lu", GC_Values::GC_LU}, {"Mc", GC_Values::GC_MC}, {"Me", GC_Values::GC_ME},
    {"Mn", GC_Values::GC_MN}, {"Nd", GC_Values::GC_ND}, {"Nl", GC_Values::GC_NL},
    {"No", GC_Values::GC_NO}, {"Pc", GC_Values::GC_PC}, {"Pd", GC_Values::GC_PD},
    {"Pe", GC_Values::GC_PE}, {"Pf", GC_Values::GC_PF}, {"Pi", GC_Values::GC_PI},
    {"Po", GC_Values::GC_PO}, {"Ps", GC_Values::GC_PS}, {"Sc", GC_Values::GC_SC},
    {"Sk", GC_Values::GC_SK}, {"Sm", GC_Values::GC_SM}, {"So", GC_Values::GC_SO},
    {"Zl", GC_Values::GC_ZL}, {"Zp", GC_Values::GC_ZP}, {"Zs", GC_Values::GC_ZS},
}};

constexpr std::array<Named_Value<GCB_Values>, 14> gcb_names{{
    {"Control", GCB_Values::GCB_CN},
    {"CR", GCB_Values::GCB_CR},
    {"Extend", GCB_Values::GCB_EX},
    {"L", GCB_Values::GCB_L},
    {"LF", GCB_Values::GCB_LF},
    {"LV", GCB_Values::GCB_LV},
    {"LVT", GCB_Values::GCB_LVT},
    {"Prepend", GCB_Values::GCB_PP},
    {"Regional_Indicator", GCB_Values::GCB_RI},
    {"SpacingMark", GCB_Values::GCB_SM},
    {"T", GCB_Values::GCB_T},
    {"V", GCB_Values::GCB_V},
    {"Other", GCB_Values::GCB_XX},
    {"ZWJ", GCB_Values::GCB_ZWJ},
}};

constexpr std::array<Named_Value<WB_Values>, 19> wb_names{{
    {"CR", WB_Values::WB_CR},
    {"Double_Quote", WB_Values::WB_DQ},
    {"ExtendNumLet", WB_Values::WB_EX},
    {"Extend", WB_Values::WB_EXTEND},
    {"Format", WB_Values::WB_FO},
    {"Hebrew_Letter", WB_Values::WB_HL},
    {"Katakana", WB_Values::WB_KA},
    {"ALetter", WB_Values::WB_LE},
    {"LF", WB_Values::WB_LF},
    {"MidNumLet", WB_Values::WB_MB},
    {"MidLetter", WB_Values::WB_ML},
    {"MidNum", WB_Values::WB_MN},
    {"Newline", WB_Values::WB_NL},
    {"Numeric", WB_Values::WB_NU},
    {"Regional_Indicator", WB_Values::WB_RI},
    {"Single_Quote", WB_Values::WB_SQ},
    {"WSegSpace", WB_Values::WB_WSEGSPACE},
    {"Other", WB_Values::WB_XX},
    {"ZWJ", WB_Values::WB_ZWJ},
}};

constexpr std::array<Named_Value<INCB_Values>, 4> incb_names{{
    {"None", INCB_Values::INCB_NONE},
    {"Consonant", INCB_Values::INCB_CONSONANT},
    {"Extend", INCB_Values::INCB_EXTEND},
    {"Linker", INCB_Values::INCB_LINKER},
}};

constexpr std::array<Named_Value<EA_Values>, 6> ea_names{{
    {"N", EA_Values::EA_N},
    {"A", EA_Values::EA_A},
    {"F", EA_Values::EA_F},
    {"H", EA_Values::EA_H},
    {"Na", EA_Values::EA_NA},
    {"W", EA_Values::EA_W},
}};

// Unlisted code points in these blocks default to Wide; all others to Neutral.
constexpr std::array<Code_Point_Range, 5> wide_by_default{{
    {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},
    {0xF900, 0xFAFF},
    {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD},
}};

// One code per code point, set from the entries of a file whose field value_field holds the
// value's name.
template <typename Code, std::size_t N>
void read_enumerated(const Data_File& file, std::size_t value_field,
                     const std::array<Named_Value<Code>, N>& names, std::vector<Code>& codes,
                     std::string_view property = {}) {
    file.for_each_entry([&](const Entry& entry) {
        if (!property.empty() && (entry.fields.size() < 2 || entry.fields[1] != property)) {
            return;
        }
        if (entry.fields.size() != value_field + 1) {
            throw file.error(entry.line_number, "unexpected number of fields");
        }
        const Code code = find_value(std::span<const Named_Value<Code>>(names),
                                     entry.fields[value_field], file, entry);
        for (char32_t c = entry.range.first; c <= entry.range.last; ++c) {
            codes[c] = code;
        }
    });
}

std::uint32_t put(std::uint32_t raw, Core_Data_Field field, unsigned value) {
    if (value >= (1u << field.Width) || (raw & field.Mask()) != 0) {
        throw Data_Error("record field overflow");
    }
    return raw | (static_cast<std::uint32_t>(value) << field.Shift);
}

template <typename Code>
unsigned code_of(Code code) {
    return static_cast<unsigned>(code);
}

std::vector<std::uint32_t> build_records(const std::filesystem::path& ucd) {
    std::vector<GC_Values> gc(code_point_count, GC_Values::GC_CN);
    {
        const Data_File file(ucd / "UnicodeData.txt");
        for (const Entry& entry : read_unicode_data(file)) {
            const GC_Values code = find_value(std::span<const Named_Value<GC_Values>>(gc_names),
                                              entry.fields[2], file, entry);
            for (char32_t c = entry.range.first; c <= entry.range.last; ++c) {
                gc[c] = code;
            }
        }
    }

    const Data_File prop_list(ucd / "PropList.txt");
    const std::vector<bool> other_lowercase = read_binary_property(prop_list, "Other_Lowercase");
    const std::vector<bool> other_uppercase = read_binary_property(prop_list, "Other_Uppercase");

    std::vector<GCB_Values> gcb(code_point_count, GCB_Values::GCB_XX);
    read_enumerated(Data_File(ucd / "auxiliary" / "GraphemeBreakProperty.txt"), 1, gcb_names, gcb);

    std::vector<INCB_Values> incb(code_point_count, INCB_Values::INCB_NONE);
    read_enumerated(Data_File(ucd / "DerivedCoreProperties.txt"), 2, incb_names, incb, "InCB");

    std::vector<WB_Values> wb(code_point_count, WB_Values::WB_XX);
    read_enumerated(Data_File(ucd / "auxiliary" / "WordBreakProperty.txt"), 1, wb_names, wb);

    std::vector<EA_Values> ea(code_point_count, EA_Values::EA_N);
    for (const Code_Point_Range range : wide_by_default) {
        for (char32_t c = range.first; c <= range.last; ++c) {
            ea[c] = EA_Values::EA_W;
        }
    }
    read_enumerated(Data_File(ucd / "EastAsianWidth.txt"), 1, ea_names, ea);

    const Data_File emoji_data(ucd / "emoji" / "emoji-data.txt");
    const std::vector<bool> extended_pictographic =
        read_binary_property(emoji_data, "Extended_Pictographic");
    const std::vector<bool> emoji = read_binary_property(emoji_data, "Emoji");
    const std::vector<bool> emoji_modifier_base =
        read_binary_property(emoji_data, "Emoji_Modifier_Base");
    const std::vector<bool> emoji_modifier = read_binary_property(emoji_data, "Emoji_Modifier");
    const std::vector<bool> emoji_presentation =
        read_binary_property(emoji_data, "Emoji_Presentation");

    std::vector<std::uint32_t> records(code_point_count);
    for (char32_t c = 0; c <= last_code_point; ++c) {
        std::uint32_t raw = 0;
        raw = put(raw, GC_Field, code_of(gc[c]));
        raw = put(raw, Other_Lowercase_Field, other_lowercase[c]);
        raw = put(raw, Other_Uppercase_Field, other_uppercase[c]);
        raw = put(raw, GCB_Field, code_of(gcb[c]));
        raw = put(raw, INCB_Field, code_of(incb[c]));
        raw = put(raw, Extended_Pictographic_Field, extended_pictographic[c]);
        raw = put(raw, WB_Field, code_of(wb[c]));
        raw = put(raw, EA_Field, code_of(ea[c]));
        raw = put(raw, Emoji_Field, emoji[c]);
        raw = put(raw, Emoji_Modifier_Base_Field, emoji_modifier_base[c]);
        raw = put(raw, Emoji_Modifier_Field, emoji_modifier[c]);
        raw = put(raw, Emoji_Presentation_Field, emoji_presentation[c]);
        records[c] = raw;
    }
    return records;
}

void generate(const std::filesystem::path& ucd, const std::filesystem::path& output) {
    const std::vector<std::uint32_t> records = build_records(ucd);

    Page_Packer<std::uint32_t> packer;
    const std::vector<std::size_t> starts = packer.add_table(records);
    if (packer.data().size() > 0x1'0000) {
        throw Data_Error("the core data array needs more than 16-bit page starts");
    }
    const std::vector<std::uint16_t> index(starts.begin(), starts.end());

    Source_Writer source("qorvi-ucd-core-generator",
                         "Core character properties of the Unicode Character Database 15.1.0.");
    source.line("#include <qorvi/ucd/implementation-ucd_core.hpp>");
    source.line();
    source.line("namespace Qorvi::Implementation::UCD_Core {");
    source.line();
    source.line("static_assert(" + std::to_string(index.size()) +
                " == Page_Count, \"the generated index does not fit Index_Table_Array\");");
    source.line("static_assert(" + std::to_string(packer.data().size()) +
                " == Record_Count, \"the generated data does not fit Core_Data_Raw_Array\");");
    source.line();
    source.line("// " + std::to_string(packer.appended_pages()) + " pages stored, " +
                std::to_string(packer.shared_pages()) + " found in data stored before them.");
    source.array("const Index_Table_Array Core_Index_Table", std::span(index), 4, 12);
    source.line();
    source.array("const Core_Data_Raw_Array Core_Data_Raw_Table", std::span(packer.data()), 8, 8);
    source.line();
    source.line("} // namespace Qorvi::Implementation::UCD_Core");
    source.save(output);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qorvi-ucd-core-generator UCD_DIRECTORY OUTPUT_CPP\n";
        return 2;
    }
    try {
        generate(argv[1], argv[2]);
    } catch (const std::exception& problem) {
        std::cerr << "qorvi-ucd-core-generator: " << problem.what() << '\n';
        return 1;
    }
    return 0;
}
