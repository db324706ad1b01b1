// Case conversion of UTF-8 string data: whole texts (Convert_Case) and single characters
// (Get_Case_Mapping), over the tables of UCD_Casing_UTF8.
//
// Conversion is language-independent. A character without a mapping is copied as its own
// bytes, a character with one is replaced by a byte copy of its pre-encoded result; nothing
// is re-encoded. Full lowercasing applies the one contextual rule, Final_Sigma: a capital
// sigma preceded by a cased letter (with only case-ignorable characters between) and not
// followed by one becomes U+03C2. Title-case conversion of whole texts is not provided.
//
// The conversions trust their source to be well-formed UTF-8 (it comes from string data) and
// do not validate it. Results are "out" data: overwritten, not released.
#pragma once

#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/ucd/implementation-ucd_casing_utf8.hpp>
#include <string_view>

namespace Qorvi::Implementation::UTF8_Casing {

using UCD_Casing_UTF8::Contextual_Mapping_Information;
using UCD_Casing_UTF8::Mapping_Data_Offset_Array;
using UCD_Casing_UTF8::Simplified_Mapping_Information;
using UTF8_Encoding::UTF8_Code_Unit_Array;
using UTF8_Strings::UTF8_String_Data;

// The conversions; the first five use simplified records, the last three contextual ones.
enum class Case_Mapping : std::uint8_t {
    SIMPLE_LOWERCASE,
    SIMPLE_TITLECASE,
    SIMPLE_UPPERCASE,
    SIMPLE_CASE_FOLDING,
    NFKC_CASEFOLD,
    LOWERCASE,
    TITLECASE,
    UPPERCASE
};

// "SIMPLE_LOWERCASE" .. "UPPERCASE"; Constraint_Error for a value outside the eight codes.
QORVI_API std::string_view Image(Case_Mapping Value);

[[noreturn]] QORVI_API void Raise_Corrupted_Table();

namespace Detail {

// The record position of Code in Index; Constraint_Error outside the shared array (never with
// the generated tables, nor for any code decoded from valid text).
inline std::uint32_t Record_Position(const Mapping_Data_Offset_Array& Index, char32_t Code) {
    const std::uint32_t page = Code >> 8;
    if (page >= UCD_Casing_UTF8::Page_Count) [[unlikely]] {
        Raise_Corrupted_Table();
    }
    // A negative start converts to a value far above the array's size.
    const std::uint32_t position =
        static_cast<std::uint32_t>(Index[page]) + static_cast<std::uint32_t>(Code & 0xFFu);
    if (position >= UCD_Casing_UTF8::Mapping_Record_Count) [[unlikely]] {
        Raise_Corrupted_Table();
    }
    return position;
}

} // namespace Detail

// The record of Code (0 .. 0x10FFFF) in one of the simple indexes.
inline Simplified_Mapping_Information
Get_Simplified_Case_Mapping_Information(const Mapping_Data_Offset_Array& Index, char32_t Code) {
    return UCD_Casing_UTF8::Simplified_Mapping_Data_Table[Detail::Record_Position(Index, Code)];
}

// The record of Code (0 .. 0x10FFFF) in one of the full indexes.
inline Contextual_Mapping_Information
Get_Contextual_Case_Mapping_Information(const Mapping_Data_Offset_Array& Index, char32_t Code) {
    return UCD_Casing_UTF8::Contextual_Mapping_Data_Table[Detail::Record_Position(Index, Code)];
}

// Result (out) := Source converted by Mapping, in new data reserved at Source's byte size; an
// empty Source gives empty, non-null data for every mapping. SIMPLE_TITLECASE and TITLECASE on
// a non-empty Source raise Program_Error; a Mapping outside the eight codes raises
// Constraint_Error. On any exception Result is left null (nothing is leaked). Source may be
// Result: its text is then replaced.
QORVI_API void Convert_Case(const UTF8_String_Data& Source, Case_Mapping Mapping,
                            UTF8_String_Data& Result);

// The two loops that Convert_Case chooses between. Source is the whole text; Result must be
// empty, non-null and exclusively owned (freshly initialised); the converted text is appended.
QORVI_API void Convert_Case_Simple(UTF8_Code_Unit_Array Source,
                                   const Mapping_Data_Offset_Array& Index,
                                   UTF8_String_Data& Result);
// Final_Sigma on applies the Final_Sigma rule to U+03A3.
QORVI_API void Convert_Case_Full(UTF8_Code_Unit_Array Source,
                                 const Mapping_Data_Offset_Array& Index, bool Final_Sigma,
                                 UTF8_String_Data& Result);

// Appends the mapping of Code (no context: a lone U+03A3 lowercases to U+03C3) to Data. Code
// must be a Unicode scalar value: any other raises Constraint_Error.
QORVI_API void Get_Case_Mapping(Virtual_Character Code, Case_Mapping Mapping,
                                UTF8_String_Data& Data);

} // namespace Qorvi::Implementation::UTF8_Casing
