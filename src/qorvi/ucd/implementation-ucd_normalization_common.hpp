// Normalization data shared by the canonical and the compatibility forms: the canonical
// combining classes, the composition quick check values and the table of primary composites.
// Generated at build time from the Unicode Character Database 15.1.0 (tools/ucd).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <string_view>

namespace Qorvi::Implementation::UCD_Normalization_Common {

// NFC_QC / NFKC_QC. The two-bit record field never holds 3.
enum class Composition_Quick_Check : std::uint8_t { NO, MAYBE, YES };

// The canonical combining classes that occur, in increasing numeric order; records store the
// position, so comparing positions compares classes. CCC_NR (0) marks a starter.
enum class CCC_Values : std::uint8_t {
    CCC_NR,
    CCC_OV,
    CCC_HANR,
    CCC_NK,
    CCC_KV,
    CCC_VR,
    CCC_CCC10,
    CCC_CCC11,
    CCC_CCC12,
    CCC_CCC13,
    CCC_CCC14,
    CCC_CCC15,
    CCC_CCC16,
    CCC_CCC17,
    CCC_CCC18,
    CCC_CCC19,
    CCC_CCC20,
    CCC_CCC21,
    CCC_CCC22,
    CCC_CCC23,
    CCC_CCC24,
    CCC_CCC25,
    CCC_CCC26,
    CCC_CCC27,
    CCC_CCC28,
    CCC_CCC29,
    CCC_CCC30,
    CCC_CCC31,
    CCC_CCC32,
    CCC_CCC33,
    CCC_CCC34,
    CCC_CCC35,
    CCC_CCC36,
    CCC_CCC84,
    CCC_CCC91,
    CCC_CCC103,
    CCC_CCC107,
    CCC_CCC118,
    CCC_CCC122,
    CCC_CCC129,
    CCC_CCC130,
    CCC_CCC132,
    CCC_ATB,
    CCC_ATA,
    CCC_ATAR,
    CCC_BL,
    CCC_B,
    CCC_BR,
    CCC_L,
    CCC_R,
    CCC_AL,
    CCC_A,
    CCC_AR,
    CCC_DB,
    CCC_DA,
    CCC_IS
};

inline constexpr std::size_t CCC_Value_Count = 56;

// The numeric class each CCC_Values position stands for.
inline constexpr std::array<std::uint8_t, CCC_Value_Count> CCC_Numeric_Class{
    0,   1,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,  22,
    23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,  84,  91,  103, 107, 118,
    122, 129, 130, 132, 202, 214, 216, 218, 220, 222, 224, 226, 228, 230, 232, 233, 234, 240};

// The texts of the literals ("NO", "MAYBE", "YES"; "CCC_NR" .. "CCC_IS").
QORVI_API std::string_view Image(Composition_Quick_Check Value);
QORVI_API std::string_view Image(CCC_Values Value);

// The primary composites: Composition_Mapping[Second_Index * First_Index_Count + First_Index]
// is the composite of the characters with that first-position and second-position index, or 0
// when they do not compose. Index 0 (no index) gives 0 in both directions. Hangul syllables are
// composed by rule and are not in the table.
inline constexpr std::size_t First_Index_Count = 378;
inline constexpr std::size_t Second_Index_Count = 64;
inline constexpr std::size_t Primary_Composite_Count = 941;
using Composition_Mapping_Array = std::array<std::uint32_t, Second_Index_Count * First_Index_Count>;

extern QORVI_API const Composition_Mapping_Array Composition_Mapping;

[[noreturn]] QORVI_API void Raise_Corrupted_Table();

// The composite of the characters with these indexes (from their records), 0 when there is
// none. An index outside the table raises Constraint_Error (the generated records never hold
// one).
inline Virtual_Character Get_Composition(std::uint32_t First_Index, std::uint32_t Second_Index) {
    if (First_Index >= First_Index_Count || Second_Index >= Second_Index_Count) [[unlikely]] {
        Raise_Corrupted_Table();
    }
    return Composition_Mapping[std::size_t{Second_Index} * First_Index_Count + First_Index];
}

} // namespace Qorvi::Implementation::UCD_Normalization_Common
