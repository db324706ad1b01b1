// The normalization tables: one 64-bit record per code point for each of the canonical and the
// compatibility decomposition, reached through two page indexes over one shared record array,
// and the decompositions pre-encoded as UTF-8. Generated at build time from the Unicode
// Character Database 15.1.0 (tools/ucd).
//
// The record of code point C for index X is Mapping_Data_Table[X[C >> 8] + (C & 0xFF)]. A
// record gives the code point's canonical combining class, the classes of the first and last
// character of its full decomposition, where that decomposition stands in UTF8_Data_Table
// (already in canonical order), its composition indexes and its two quick checks. Hangul
// syllables have no stored decomposition: their jamo are computed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/ucd/implementation-ucd_normalization_common.hpp>

namespace Qorvi::Implementation::UCD_Normalization_UTF8 {

using UCD_Normalization_Common::CCC_Values;
using UCD_Normalization_Common::Composition_Quick_Check;

inline constexpr std::size_t Page_Count = 4'352;
inline constexpr std::size_t Mapping_Record_Count = 31'744;
inline constexpr std::size_t UTF8_Data_Size = 12'193;

using Mapping_Data_Offset_Array = std::array<std::int16_t, Page_Count>;
using Mapping_Data_Raw_Array = std::array<std::uint64_t, Mapping_Record_Count>;
using UTF8_Data_Array = std::array<std::uint8_t, UTF8_Data_Size>;

// One field of a 64-bit record: Width bits from bit Shift (bit 0 least significant).
struct Mapping_Field {
    unsigned Shift;
    unsigned Width;

    constexpr std::uint64_t Mask() const noexcept {
        return ((std::uint64_t{1} << Width) - 1u) << Shift;
    }
    constexpr std::uint32_t Get(std::uint64_t Raw) const noexcept {
        return static_cast<std::uint32_t>((Raw >> Shift) & ((std::uint64_t{1} << Width) - 1u));
    }
};

// The layout of Mapping_Information; bits 14-15 are reserved and zero.
inline constexpr Mapping_Field Offset_Field{0, 14};
inline constexpr Mapping_Field First_Index_Field{16, 9};
inline constexpr Mapping_Field Second_Index_Field{25, 6};
inline constexpr Mapping_Field Starter_Field{31, 1};
inline constexpr Mapping_Field Size_Field{32, 6};
inline constexpr Mapping_Field CCC_Field{38, 6};
inline constexpr Mapping_Field First_CCC_Field{44, 6};
inline constexpr Mapping_Field Last_CCC_Field{50, 6};
inline constexpr Mapping_Field Length_Field{56, 5};
inline constexpr Mapping_Field Composition_QC_Field{61, 2};
inline constexpr Mapping_Field Decomposition_QC_Field{63, 1};
inline constexpr std::uint64_t Reserved_Mask = 0xC000;

[[noreturn]] QORVI_API void Raise_Invalid_Quick_Check();

// The normalization data of one code point for one kind of decomposition. Classes are
// CCC_Values positions (0 is a starter).
struct Mapping_Information {
    std::uint64_t Raw;

    // The stored decomposition: offset and byte size in UTF8_Data_Table, length in characters
    // (size 0: none is stored).
    constexpr std::uint32_t Offset() const noexcept { return Offset_Field.Get(Raw); }
    constexpr UTF8_Code_Unit_Count Size() const noexcept {
        return static_cast<UTF8_Code_Unit_Count>(Size_Field.Get(Raw));
    }
    constexpr Character_Count Length() const noexcept {
        return static_cast<Character_Count>(Length_Field.Get(Raw));
    }
    // 1 .. 377 for a first character of some primary composite, else 0.
    constexpr std::uint32_t First_Index() const noexcept { return First_Index_Field.Get(Raw); }
    // 1 .. 63 for a second character of some primary composite, else 0.
    constexpr std::uint32_t Second_Index() const noexcept { return Second_Index_Field.Get(Raw); }
    // The first character of the full decomposition (the code point itself when it has none)
    // has class 0.
    constexpr bool Starter() const noexcept { return Starter_Field.Get(Raw) != 0; }
    constexpr std::uint32_t CCC() const noexcept { return CCC_Field.Get(Raw); }
    constexpr std::uint32_t First_CCC() const noexcept { return First_CCC_Field.Get(Raw); }
    constexpr std::uint32_t Last_CCC() const noexcept { return Last_CCC_Field.Get(Raw); }
    // The composition quick check; the value 3 raises Constraint_Error.
    Composition_Quick_Check Composition_QC() const {
        const std::uint32_t code = Composition_QC_Field.Get(Raw);
        if (code > 2) [[unlikely]] {
            Raise_Invalid_Quick_Check();
        }
        return static_cast<Composition_Quick_Check>(code);
    }
    // Set when the code point is unchanged by the decomposing form.
    constexpr bool Decomposition_QC() const noexcept { return (Raw >> 63) != 0; }
};

extern QORVI_API const Mapping_Data_Offset_Array Canonical_Index;
extern QORVI_API const Mapping_Data_Offset_Array Compatibility_Index;
extern QORVI_API const Mapping_Data_Raw_Array Mapping_Data_Table_Raw;
extern QORVI_API const UTF8_Data_Array UTF8_Data_Table;

// Mapping_Data_Table_Raw seen as records; no copy is made.
class Mapping_Data_Array {
public:
    static constexpr std::size_t size() noexcept { return Mapping_Record_Count; }
    Mapping_Information operator[](std::size_t Position) const noexcept {
        return Mapping_Information{Mapping_Data_Table_Raw[Position]};
    }
};
inline constexpr Mapping_Data_Array Mapping_Data_Table{};

using UCD_Normalization_Common::Raise_Corrupted_Table;

// The record of Code (0 .. 0x10FFFF; the callers decode it from valid text) for Index. A
// position outside the record array raises Constraint_Error.
inline Mapping_Information Get_Mapping_Information(const Mapping_Data_Offset_Array& Index,
                                                   Virtual_Character Code) {
    const std::uint32_t page = Code >> 8;
    if (page >= Page_Count) [[unlikely]] {
        Raise_Corrupted_Table();
    }
    const std::int32_t start = Index[page];
    const std::uint32_t position =
        static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(Code & 0xFFu);
    if (start < 0 || position >= Mapping_Record_Count) [[unlikely]] {
        Raise_Corrupted_Table();
    }
    return Mapping_Data_Table[position];
}

} // namespace Qorvi::Implementation::UCD_Normalization_UTF8
