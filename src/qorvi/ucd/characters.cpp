#include <cstddef>
#include <qorvi/strings/strings.hpp>
#include <qorvi/ucd/characters.hpp>
#include <qorvi/ucd/implementation-transformer_results.hpp>
#include <qorvi/ucd/implementation-utf8_casing.hpp>

namespace Qorvi::Characters {

namespace {

constexpr std::array<std::string_view, 30> category_images{
    "UPPERCASE_LETTER",    "LOWERCASE_LETTER",  "TITLECASE_LETTER",
    "MODIFIER_LETTER",     "OTHER_LETTER",      "NONSPACING_MARK",
    "SPACING_MARK",        "ENCLOSING_MARK",    "DECIMAL_NUMBER",
    "LETTER_NUMBER",       "OTHER_NUMBER",      "CONNECTOR_PUNCTUATION",
    "DASH_PUNCTUATION",    "OPEN_PUNCTUATION",  "CLOSE_PUNCTUATION",
    "INITIAL_PUNCTUATION", "FINAL_PUNCTUATION", "OTHER_PUNCTUATION",
    "MATH_SYMBOL",         "CURRENCY_SYMBOL",   "MODIFIER_SYMBOL",
    "OTHER_SYMBOL",        "SPACE_SEPARATOR",   "LINE_SEPARATOR",
    "PARAGRAPH_SEPARATOR", "CONTROL",           "FORMAT",
    "SURROGATE",           "PRIVATE_USE",       "UNASSIGNED"};

constexpr char to_upper(char c) noexcept {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

constexpr bool is_blank(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

using Implementation::UTF8_Casing::Case_Mapping;
using Strings::Virtual_String;

Virtual_String mapping_of(Virtual_Character item, Case_Mapping mapping) {
    Implementation::Transformer_Results::Local_Data local;
    Implementation::UTF8_Casing::Get_Case_Mapping(item, mapping, local.Data);
    return Implementation::Transformer_Results::Taken(local);
}

// A simple mapping is always exactly one character: the first of the stored result, or the
// character itself.
Virtual_Character
simple_mapping_of(Virtual_Character item,
                  const Implementation::UCD_Casing_UTF8::Mapping_Data_Offset_Array& index) {
    if (!Is_Valid_Virtual_Character(item)) {
        throw Constraint_Error("not a Unicode scalar value");
    }
    const auto record =
        Implementation::UTF8_Casing::Get_Simplified_Case_Mapping_Information(index, item);
    if (!record.Has_Mapping() || record.Size() == 0) {
        return item;
    }
    const auto& table = Implementation::UCD_Casing_UTF8::UTF8_Data_Table;
    auto offset = static_cast<UTF8_Code_Unit_Offset>(record.Offset());
    return Implementation::UTF8_Encoding::Unchecked_Decode_Forward(
        Implementation::UTF8_Encoding::UTF8_Code_Unit_Array(table.data(), table.size()), offset);
}

} // namespace

Virtual_String Get_Lowercase_Mapping(Virtual_Character Item) {
    return Get_Lowercase_Mapping(Item, Locales::Current_Locale());
}
Virtual_String Get_Lowercase_Mapping(Virtual_Character Item, const Locales::Locale&) {
    return mapping_of(Item, Case_Mapping::LOWERCASE);
}
Virtual_String Get_Titlecase_Mapping(Virtual_Character Item) {
    return Get_Titlecase_Mapping(Item, Locales::Current_Locale());
}
Virtual_String Get_Titlecase_Mapping(Virtual_Character Item, const Locales::Locale&) {
    return mapping_of(Item, Case_Mapping::TITLECASE);
}
Virtual_String Get_Uppercase_Mapping(Virtual_Character Item) {
    return Get_Uppercase_Mapping(Item, Locales::Current_Locale());
}
Virtual_String Get_Uppercase_Mapping(Virtual_Character Item, const Locales::Locale&) {
    return mapping_of(Item, Case_Mapping::UPPERCASE);
}

Virtual_Character Get_Simple_Lowercase_Mapping(Virtual_Character Item) {
    return simple_mapping_of(Item, Implementation::UCD_Casing_UTF8::Simple_Lowercase_Index);
}
Virtual_Character Get_Simple_Titlecase_Mapping(Virtual_Character Item) {
    return simple_mapping_of(Item, Implementation::UCD_Casing_UTF8::Simple_Titlecase_Index);
}
Virtual_Character Get_Simple_Uppercase_Mapping(Virtual_Character Item) {
    return simple_mapping_of(Item, Implementation::UCD_Casing_UTF8::Simple_Uppercase_Index);
}
Virtual_Character Get_Simple_Case_Folding(Virtual_Character Item) {
    return simple_mapping_of(Item, Implementation::UCD_Casing_UTF8::Simple_Case_Folding_Index);
}

std::string_view Image(General_Category value) {
    const auto code = static_cast<std::size_t>(value);
    if (code >= category_images.size()) {
        throw Constraint_Error("General_Category value out of range");
    }
    return category_images[code];
}

General_Category General_Category_Value(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    for (std::size_t code = 0; code < category_images.size(); ++code) {
        const std::string_view image = category_images[code];
        if (image.size() != text.size()) {
            continue;
        }
        bool equal = true;
        for (std::size_t i = 0; i < image.size() && equal; ++i) {
            equal = to_upper(text[i]) == image[i];
        }
        if (equal) {
            return static_cast<General_Category>(code);
        }
    }
    throw Constraint_Error("not a General_Category image");
}

} // namespace Qorvi::Characters
