// Unicode 15.1 character properties: general category, the derived case properties and the
// character classes built on the category, and the case mappings of single characters. Every
// query is a pure function over constant tables, safe to call from any thread; the property
// queries are two table reads and a few bit operations, inlined.
//
// Argument rules:
// - Get_General_Category, Is_Control, Is_Format and Is_Graphic accept any 32-bit value: values
//   above 0x10FFFF are UNASSIGNED (and so neither control, format nor graphic).
// - Get_Lowercase, Get_Uppercase and Get_Cased take a Virtual_Character and throw
//   Qorvi::Constraint_Error for any value above 0x10FFFF. Surrogate code points, which are not
//   characters, answer false.
// - The case mapping queries take a Virtual_Character and throw Qorvi::Constraint_Error for a
//   value that is not a Unicode scalar value (a surrogate, or above 0x10FFFF).
#pragma once

#include <array>
#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/ucd/implementation-ucd_core.hpp>
#include <string_view>

namespace Qorvi::Strings {
class Virtual_String; // <qorvi/strings/strings.hpp>, needed to use the mapping queries
}
namespace Qorvi::Locales {
class Locale;
}

namespace Qorvi::Characters {

// The Unicode general categories. The order is part of the interface: the first 23 values
// (UPPERCASE_LETTER through SPACE_SEPARATOR) are the graphic categories.
enum class General_Category : std::uint8_t {
    UPPERCASE_LETTER,
    LOWERCASE_LETTER,
    TITLECASE_LETTER,
    MODIFIER_LETTER,
    OTHER_LETTER,
    NONSPACING_MARK,
    SPACING_MARK,
    ENCLOSING_MARK,
    DECIMAL_NUMBER,
    LETTER_NUMBER,
    OTHER_NUMBER,
    CONNECTOR_PUNCTUATION,
    DASH_PUNCTUATION,
    OPEN_PUNCTUATION,
    CLOSE_PUNCTUATION,
    INITIAL_PUNCTUATION,
    FINAL_PUNCTUATION,
    OTHER_PUNCTUATION,
    MATH_SYMBOL,
    CURRENCY_SYMBOL,
    MODIFIER_SYMBOL,
    OTHER_SYMBOL,
    SPACE_SEPARATOR,
    LINE_SEPARATOR,
    PARAGRAPH_SEPARATOR,
    CONTROL,
    FORMAT,
    SURROGATE,
    PRIVATE_USE,
    UNASSIGNED
};

// The text of a category: its literal name, "UPPERCASE_LETTER" .. "UNASSIGNED".
QORVI_API std::string_view Image(General_Category value);

// The category whose literal name is text. Letter case and surrounding spaces are ignored;
// any other text throws Qorvi::Constraint_Error.
QORVI_API General_Category General_Category_Value(std::string_view text);

namespace Implementation_Detail {

using Implementation::UCD_Core::GC_Values;

// From the record's category code (alphabetical by UCD short alias) to the public order. The
// five-bit field has 32 codes; the two that the tables never hold read as UNASSIGNED.
inline constexpr std::array<General_Category, 32> Category_Of_Code = [] {
    std::array<General_Category, 32> table{};
    table.fill(General_Category::UNASSIGNED);
    auto set = [&table](GC_Values code, General_Category category) {
        table[static_cast<std::size_t>(code)] = category;
    };
    set(GC_Values::GC_LU, General_Category::UPPERCASE_LETTER);
    set(GC_Values::GC_LL, General_Category::LOWERCASE_LETTER);
    set(GC_Values::GC_LT, General_Category::TITLECASE_LETTER);
    set(GC_Values::GC_LM, General_Category::MODIFIER_LETTER);
    set(GC_Values::GC_LO, General_Category::OTHER_LETTER);
    set(GC_Values::GC_MN, General_Category::NONSPACING_MARK);
    set(GC_Values::GC_MC, General_Category::SPACING_MARK);
    set(GC_Values::GC_ME, General_Category::ENCLOSING_MARK);
    set(GC_Values::GC_ND, General_Category::DECIMAL_NUMBER);
    set(GC_Values::GC_NL, General_Category::LETTER_NUMBER);
    set(GC_Values::GC_NO, General_Category::OTHER_NUMBER);
    set(GC_Values::GC_PC, General_Category::CONNECTOR_PUNCTUATION);
    set(GC_Values::GC_PD, General_Category::DASH_PUNCTUATION);
    set(GC_Values::GC_PS, General_Category::OPEN_PUNCTUATION);
    set(GC_Values::GC_PE, General_Category::CLOSE_PUNCTUATION);
    set(GC_Values::GC_PI, General_Category::INITIAL_PUNCTUATION);
    set(GC_Values::GC_PF, General_Category::FINAL_PUNCTUATION);
    set(GC_Values::GC_PO, General_Category::OTHER_PUNCTUATION);
    set(GC_Values::GC_SM, General_Category::MATH_SYMBOL);
    set(GC_Values::GC_SC, General_Category::CURRENCY_SYMBOL);
    set(GC_Values::GC_SK, General_Category::MODIFIER_SYMBOL);
    set(GC_Values::GC_SO, General_Category::OTHER_SYMBOL);
    set(GC_Values::GC_ZS, General_Category::SPACE_SEPARATOR);
    set(GC_Values::GC_ZL, General_Category::LINE_SEPARATOR);
    set(GC_Values::GC_ZP, General_Category::PARAGRAPH_SEPARATOR);
    set(GC_Values::GC_CC, General_Category::CONTROL);
    set(GC_Values::GC_CF, General_Category::FORMAT);
    set(GC_Values::GC_CS, General_Category::SURROGATE);
    set(GC_Values::GC_CO, General_Category::PRIVATE_USE);
    set(GC_Values::GC_CN, General_Category::UNASSIGNED);
    return table;
}();

} // namespace Implementation_Detail

// The general category of Item; UNASSIGNED for any value above 0x10FFFF.
inline General_Category Get_General_Category(char32_t Item) {
    if (Item > Implementation::UCD_Core::Last_Code_Point) {
        return General_Category::UNASSIGNED;
    }
    return Implementation_Detail::Category_Of_Code[static_cast<std::size_t>(
        Implementation::UCD_Core::Get_Core_Data(Item).GC())];
}

// Unicode Lowercase: category Ll, or Other_Lowercase.
inline bool Get_Lowercase(Virtual_Character Item) {
    const auto record = Implementation::UCD_Core::Get_Core_Data(Item);
    return record.Other_Lowercase() || record.GC() == Implementation_Detail::GC_Values::GC_LL;
}

// Unicode Uppercase: category Lu, or Other_Uppercase.
inline bool Get_Uppercase(Virtual_Character Item) {
    const auto record = Implementation::UCD_Core::Get_Core_Data(Item);
    return record.Other_Uppercase() || record.GC() == Implementation_Detail::GC_Values::GC_LU;
}

// Unicode Cased: category Ll, Lt or Lu, or Other_Lowercase or Other_Uppercase.
inline bool Get_Cased(Virtual_Character Item) {
    using Implementation::UCD_Core::GC_Values;
    const auto record = Implementation::UCD_Core::Get_Core_Data(Item);
    const GC_Values code = record.GC();
    return record.Other_Lowercase() || record.Other_Uppercase() || code == GC_Values::GC_LL ||
           code == GC_Values::GC_LT || code == GC_Values::GC_LU;
}

// Category CONTROL.
inline bool Is_Control(char32_t Item) {
    return Get_General_Category(Item) == General_Category::CONTROL;
}

// Category FORMAT, LINE_SEPARATOR or PARAGRAPH_SEPARATOR.
inline bool Is_Format(char32_t Item) {
    const General_Category category = Get_General_Category(Item);
    return category == General_Category::FORMAT || category == General_Category::LINE_SEPARATOR ||
           category == General_Category::PARAGRAPH_SEPARATOR;
}

// Letters, marks, numbers, punctuation, symbols and space separators (UPPERCASE_LETTER through
// SPACE_SEPARATOR).
inline bool Is_Graphic(char32_t Item) {
    return Get_General_Category(Item) <= General_Category::SPACE_SEPARATOR;
}

// Case mappings of one character, language-independent: a locale is accepted and not
// consulted, and the forms without one use Current_Locale (). No context applies (the
// lowercase of U+03A3 is U+03C3). The full mappings may give several characters (the
// uppercase of U+00DF is "SS"); a character without a mapping gives itself.
QORVI_API Strings::Virtual_String Get_Lowercase_Mapping(Virtual_Character Item);
QORVI_API Strings::Virtual_String Get_Lowercase_Mapping(Virtual_Character Item,
                                                        const Locales::Locale& Locale);
QORVI_API Strings::Virtual_String Get_Titlecase_Mapping(Virtual_Character Item);
QORVI_API Strings::Virtual_String Get_Titlecase_Mapping(Virtual_Character Item,
                                                        const Locales::Locale& Locale);
QORVI_API Strings::Virtual_String Get_Uppercase_Mapping(Virtual_Character Item);
QORVI_API Strings::Virtual_String Get_Uppercase_Mapping(Virtual_Character Item,
                                                        const Locales::Locale& Locale);

// The simple (one-to-one) mappings of UnicodeData.txt and the simple case folding of
// CaseFolding.txt; the simple titlecase falls back to the simple uppercase where none is
// listed. A character without a mapping gives itself.
QORVI_API Virtual_Character Get_Simple_Lowercase_Mapping(Virtual_Character Item);
QORVI_API Virtual_Character Get_Simple_Titlecase_Mapping(Virtual_Character Item);
QORVI_API Virtual_Character Get_Simple_Uppercase_Mapping(Virtual_Character Item);
QORVI_API Virtual_Character Get_Simple_Case_Folding(Virtual_Character Item);

// True for the Unicode scalar values 0x0000 .. 0xD7FF and 0xE000 .. 0x10FFFF.
constexpr bool Is_Valid_Virtual_Character(char32_t Item) noexcept {
    return Item < 0xD800 || (Item > 0xDFFF && Item <= 0x10'FFFF);
}

} // namespace Qorvi::Characters
