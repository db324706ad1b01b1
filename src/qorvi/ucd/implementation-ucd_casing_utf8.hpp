// The case mapping tables: nine page-indexed tables of 32-bit mapping records over one shared
// record array, and one byte array holding every mapping result already encoded as UTF-8.
// Generated at build time from the Unicode Character Database 15.1.0 (tools/ucd).
//
// An index has one entry per page of 256 code points: the position, counted in records, at
// which the page's 256 records begin in Mapping_Data_Table_Raw. Pages with equal records share
// storage, also across tables. A record with its has-mapping bit set addresses its result in
// UTF8_Data_Table by offset and byte size and gives its length in characters; a record without
// it means "the character maps to itself".
//
// Two record formats share the array: the simplified format (no context; results up to 31
// characters, 63 bytes) of the five simple tables, and the contextual format (results up to
// three characters, seven bytes, plus the context bits of every code point) of the four full
// tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/ucd/implementation-ucd_casing.hpp>

namespace Qorvi::Implementation::UCD_Casing_UTF8 {

inline constexpr std::size_t Page_Count = 4'352;
inline constexpr std::size_t Mapping_Record_Count = 65'024;
inline constexpr std::size_t UTF8_Data_Size = 16'771;

// Per page, the position of the page's first record in the shared record array.
using Mapping_Data_Offset_Array = std::array<std::int32_t, Page_Count>;
using Mapping_Data_Raw_Array = std::array<std::uint32_t, Mapping_Record_Count>;
using UTF8_Data_Array = std::array<std::uint8_t, UTF8_Data_Size>;

// One field of a 32-bit record: Width bits from bit Shift (bit 0 least significant).
struct Mapping_Field {
    unsigned Shift;
    unsigned Width;

    constexpr std::uint32_t Mask() const noexcept { return ((1u << Width) - 1u) << Shift; }
    constexpr std::uint32_t Get(std::uint32_t Raw) const noexcept {
        return (Raw >> Shift) & ((1u << Width) - 1u);
    }
};

// Simplified_Mapping_Information: bits 15, 21-23 and 30 are reserved and zero.
inline constexpr Mapping_Field Simplified_Offset_Field{0, 15};
inline constexpr Mapping_Field Simplified_Length_Field{16, 5};
inline constexpr Mapping_Field Simplified_Size_Field{24, 6};
inline constexpr Mapping_Field Simplified_Has_Mapping_Field{31, 1};
inline constexpr std::uint32_t Simplified_Reserved_Mask = 0x40E0'8000;

// Contextual_Mapping_Information: bits 15, 27 and 30 are reserved and zero.
inline constexpr Mapping_Field Contextual_Offset_Field{0, 15};
inline constexpr Mapping_Field Contextual_Length_Field{16, 2};
inline constexpr Mapping_Field Contextual_Context_Change_Field{18, 6};
inline constexpr Mapping_Field Contextual_Size_Field{24, 3};
inline constexpr Mapping_Field Contextual_Cased_Field{28, 1};
inline constexpr Mapping_Field Contextual_Case_Ignorable_Field{29, 1};
inline constexpr Mapping_Field Contextual_Has_Mapping_Field{31, 1};
inline constexpr std::uint32_t Contextual_Reserved_Mask = 0x4800'8000;

// The mapping of one code point in a simple table. All zeros when it has none; an empty
// result (NFKC_Casefold of a default ignorable code point) has only the has-mapping bit set.
struct Simplified_Mapping_Information {
    std::uint32_t Raw;

    constexpr std::uint32_t Offset() const noexcept { return Simplified_Offset_Field.Get(Raw); }
    constexpr Character_Count Length() const noexcept {
        return static_cast<Character_Count>(Simplified_Length_Field.Get(Raw));
    }
    constexpr UTF8_Code_Unit_Count Size() const noexcept {
        return static_cast<UTF8_Code_Unit_Count>(Simplified_Size_Field.Get(Raw));
    }
    constexpr bool Has_Mapping() const noexcept { return (Raw >> 31) != 0; }
};

// The mapping of one code point in a full table, with the code point's context bits (the
// same in the four full tables, present whether or not the code point has a mapping).
struct Contextual_Mapping_Information {
    std::uint32_t Raw;

    constexpr std::uint32_t Offset() const noexcept { return Contextual_Offset_Field.Get(Raw); }
    constexpr Character_Count Length() const noexcept {
        return static_cast<Character_Count>(Contextual_Length_Field.Get(Raw));
    }
    constexpr UCD_Casing::Casing_Context_Change Context_Change() const noexcept {
        return {static_cast<std::uint8_t>(Contextual_Context_Change_Field.Get(Raw))};
    }
    constexpr UTF8_Code_Unit_Count Size() const noexcept {
        return static_cast<UTF8_Code_Unit_Count>(Contextual_Size_Field.Get(Raw));
    }
    constexpr bool Cased() const noexcept { return Contextual_Cased_Field.Get(Raw) != 0; }
    constexpr bool Case_Ignorable() const noexcept {
        return Contextual_Case_Ignorable_Field.Get(Raw) != 0;
    }
    constexpr bool Has_Mapping() const noexcept { return (Raw >> 31) != 0; }
};

// The nine indexes, in the order in which they were packed into the shared array.
extern QORVI_API const Mapping_Data_Offset_Array Simple_Lowercase_Index;
extern QORVI_API const Mapping_Data_Offset_Array Simple_Titlecase_Index;
extern QORVI_API const Mapping_Data_Offset_Array Simple_Uppercase_Index;
extern QORVI_API const Mapping_Data_Offset_Array Simple_Case_Folding_Index;
extern QORVI_API const Mapping_Data_Offset_Array NFKC_Casefold_Index;
extern QORVI_API const Mapping_Data_Offset_Array Full_Lowercase_Index;
extern QORVI_API const Mapping_Data_Offset_Array Full_Titlecase_Index;
extern QORVI_API const Mapping_Data_Offset_Array Full_Uppercase_Index;
// Exported with the others; no operation of the library reads it.
extern QORVI_API const Mapping_Data_Offset_Array Full_Case_Folding_Index;

extern QORVI_API const Mapping_Data_Raw_Array Mapping_Data_Table_Raw;
extern QORVI_API const UTF8_Data_Array UTF8_Data_Table;

// Mapping_Data_Table_Raw seen as records of either format; no copy is made.
template <typename Record>
class Mapping_Data_View {
public:
    static constexpr std::size_t size() noexcept { return Mapping_Record_Count; }
    Record operator[](std::size_t Position) const noexcept {
        return Record{Mapping_Data_Table_Raw[Position]};
    }
};
inline constexpr Mapping_Data_View<Simplified_Mapping_Information> Simplified_Mapping_Data_Table{};
inline constexpr Mapping_Data_View<Contextual_Mapping_Information> Contextual_Mapping_Data_Table{};

// The final small sigma U+03C2, which Final_Sigma puts in place of the table's U+03C3.
inline constexpr std::array<std::uint8_t, 2> Final_Sigma_UTF8{0xCF, 0x82};

} // namespace Qorvi::Implementation::UCD_Casing_UTF8
