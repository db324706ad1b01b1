// The four Unicode normalization forms of UAX #15 on UTF-8 string data.
//
// The engines write a fresh result and work incrementally: stretches of the source that are
// already in the target form are copied as one block, and only characters that need work
// (a decomposition, a combining mark out of canonical order, a character that may compose
// with what precedes it) cause table lookups and a rewrite of the tail of the result, back to
// its last starter. Decompositions are stored pre-encoded as UTF-8, so that decomposing is a
// byte copy. The engines trust their source to be well-formed UTF-8 (it comes from string
// data) and do not validate it.
#pragma once

#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/ucd/implementation-ucd_normalization_utf8.hpp>
#include <string_view>

namespace Qorvi::Implementation {

// D: canonical decomposition; C: canonical decomposition then canonical composition; KD:
// compatibility decomposition; KC: compatibility decomposition then canonical composition.
enum class Normalization_Form : std::uint8_t {
    NORMALIZATION_FORM_D,
    NORMALIZATION_FORM_C,
    NORMALIZATION_FORM_KD,
    NORMALIZATION_FORM_KC
};

// "NORMALIZATION_FORM_D" .. "NORMALIZATION_FORM_KC"; Constraint_Error outside the four codes.
QORVI_API std::string_view Image(Normalization_Form Value);

} // namespace Qorvi::Implementation

namespace Qorvi::Implementation::UTF8_Normalization {

using UCD_Normalization_UTF8::Mapping_Data_Offset_Array;
using UTF8_Encoding::UTF8_Code_Unit_Array;
using UTF8_Strings::UTF8_String_Data;

// Result (out) := Data in normalization form Form, in new data reserved at Data's byte size;
// an empty Data gives empty, non-null data. A Form outside the four codes raises
// Constraint_Error. On any exception Result is left null. Data may be Result: its text is then
// replaced.
QORVI_API void Normalize(const UTF8_String_Data& Data, Normalization_Form Form,
                         UTF8_String_Data& Result);

// The two engines. Source is the whole text; Index is Canonical_Index (forms D and C) or
// Compatibility_Index (KD and KC); Result must be empty, non-null and exclusively owned
// (freshly initialised), and the normalized text is appended to it.
QORVI_API void Decompose(UTF8_Code_Unit_Array Source, const Mapping_Data_Offset_Array& Index,
                         UTF8_String_Data& Result);
QORVI_API void Decompose_And_Compose(UTF8_Code_Unit_Array Source,
                                     const Mapping_Data_Offset_Array& Index,
                                     UTF8_String_Data& Result);

} // namespace Qorvi::Implementation::UTF8_Normalization
