// props: the character properties and case mappings of code points, as JSON.
#include "tool-commands.hpp"
#include "tool-input.hpp"
#include "tool-json.hpp"
#include "tool-output.hpp"

#include <charconv>
#include <optional>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings.hpp>
#include <qorvi/ucd/characters.hpp>
#include <qorvi/ucd/implementation-ucd_core.hpp>
#include <string>
#include <vector>

namespace Qorvi_CLI {

namespace {

namespace Characters = Qorvi::Characters;
namespace Core = Qorvi::Implementation::UCD_Core;

// "U+XXXX" (one to six hexadecimal digits, at most 10FFFF; surrogates included, as they are
// code points), or a text of exactly one character.
std::optional<char32_t> parse_code_point(std::string_view Text) {
    if (Text.size() > 2 && (Text.starts_with("U+") || Text.starts_with("u+"))) {
        const std::string_view digits = Text.substr(2);
        std::uint32_t value = 0;
        const auto [rest, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error == std::errc() && rest == digits.data() + digits.size() && digits.size() <= 6 &&
            value <= 0x10'FFFF) {
            return static_cast<char32_t>(value);
        }
        return std::nullopt;
    }
    if (Text.empty() || First_Ill_Formed_Byte(Text) >= 0) {
        return std::nullopt;
    }
    const std::u32string characters = Qorvi::Strings::Conversions::To_Wide_Wide_String(
        Qorvi::Strings::Conversions::To_Virtual_String(Text));
    if (characters.size() != 1) {
        return std::nullopt;
    }
    return characters.front();
}

void mapping_array(JSON_Object& Object, const Qorvi::Strings::Virtual_String& Mapping) {
    Object.Begin_Array();
    for (const char32_t code : Qorvi::Strings::Conversions::To_Wide_Wide_String(Mapping)) {
        Object.String(Code_Point_Image(code));
    }
    Object.End_Array();
}

std::string properties_of(char32_t Code) {
    const Core::Core_Data_Record record = Core::Get_Core_Data(Code);
    JSON_Object object;
    object.Member("cp").String(Code_Point_Image(Code));
    object.Member("gc").String(Characters::Image(Characters::Get_General_Category(Code)));
    object.Member("gcb").String(Core::Image(record.GCB()));
    object.Member("wb").String(Core::Image(record.WB()));
    object.Member("incb").String(Core::Image(record.INCB()));
    object.Member("ea").String(Core::Image(record.EA()));
    object.Member("lowercase").Boolean(Characters::Get_Lowercase(Code));
    object.Member("uppercase").Boolean(Characters::Get_Uppercase(Code));
    object.Member("cased").Boolean(Characters::Get_Cased(Code));
    object.Member("emoji").Boolean(record.Emoji());
    object.Member("emoji_presentation").Boolean(record.Emoji_Presentation());
    object.Member("emoji_modifier").Boolean(record.Emoji_Modifier());
    object.Member("emoji_modifier_base").Boolean(record.Emoji_Modifier_Base());
    object.Member("extended_pictographic").Boolean(record.Extended_Pictographic());
    // A surrogate is a code point but not a character: it has no case mappings.
    const bool is_character = Characters::Is_Valid_Virtual_Character(Code);
    auto simple = [&](std::string_view Name,
                      Qorvi::Virtual_Character (*Query)(Qorvi::Virtual_Character)) {
        object.Member(Name);
        if (is_character) {
            object.String(Code_Point_Image(Query(Code)));
        } else {
            object.Null();
        }
    };
    simple("simple_lowercase", &Characters::Get_Simple_Lowercase_Mapping);
    simple("simple_uppercase", &Characters::Get_Simple_Uppercase_Mapping);
    simple("simple_titlecase", &Characters::Get_Simple_Titlecase_Mapping);
    simple("simple_case_folding", &Characters::Get_Simple_Case_Folding);
    auto full = [&](std::string_view Name,
                    Qorvi::Strings::Virtual_String (*Query)(Qorvi::Virtual_Character)) {
        object.Member(Name);
        if (is_character) {
            mapping_array(object, Query(Code));
        } else {
            object.Null();
        }
    };
    full("lowercase_mapping", &Characters::Get_Lowercase_Mapping);
    full("uppercase_mapping", &Characters::Get_Uppercase_Mapping);
    full("titlecase_mapping", &Characters::Get_Titlecase_Mapping);
    return object.Finish();
}

Exit_Status run_props(const Arguments& Given) {
    if (Given.Operands.empty()) {
        Raise_Command_Usage_Error(Props_Command, "props needs at least one CODEPOINT");
    }
    // Every argument is checked before anything is written.
    std::vector<char32_t> codes;
    for (const std::string& operand : Given.Operands) {
        const std::optional<char32_t> code = parse_code_point(operand);
        if (!code) {
            Raise_Usage_Error("not a code point: " + Quoted(operand));
        }
        codes.push_back(*code);
    }
    Output_Stream& output = Standard_Output();
    for (const char32_t code : codes) {
        output.Write(properties_of(code));
    }
    return Exit_Status::SUCCESS;
}

} // namespace

const Command Props_Command{
    "props",
    "show the Unicode properties of code points as JSON",
    "usage: qorvi-text props CODEPOINT...\n"
    "\n"
    "CODEPOINT is U+XXXX (hexadecimal, at most U+10FFFF) or one literal character. For each,\n"
    "one JSON object per line with:\n"
    "  cp                  \"U+XXXX\"\n"
    "  gc                  the general category (\"UPPERCASE_LETTER\", ...)\n"
    "  gcb, wb, incb, ea   grapheme cluster break, word break, Indic conjunct break and East\n"
    "                      Asian width (\"GCB_XX\", \"WB_LE\", \"INCB_NONE\", \"EA_NA\", ...)\n"
    "  lowercase, uppercase, cased, emoji, emoji_presentation, emoji_modifier,\n"
    "  emoji_modifier_base, extended_pictographic              Booleans\n"
    "  simple_lowercase, simple_uppercase, simple_titlecase, simple_case_folding\n"
    "                      the one-to-one mappings, \"U+XXXX\" each\n"
    "  lowercase_mapping, uppercase_mapping, titlecase_mapping\n"
    "                      the full mappings, arrays of \"U+XXXX\"\n"
    "A surrogate (U+D800 .. U+DFFF) has null mappings.\n"
    "\n"
    "Exit status: 0; 2 for a value that is not a code point.\n",
    {},
    false,
    run_props,
};

} // namespace Qorvi_CLI
