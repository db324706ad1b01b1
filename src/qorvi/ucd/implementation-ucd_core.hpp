// The core character property table: one packed 32-bit record per code point, reached through
// a page index of 4,352 pages of 256 code points. The records are generated at build time from
// the Unicode Character Database 15.1.0 (tools/ucd). The segment iterators and the property
// queries of Qorvi::Characters read them through Get_Core_Data, which is inline: two dependent
// table reads and a few bit operations.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <string_view>

namespace Qorvi::Implementation::UCD_Core {

// General_Category, in alphabetical order of the UCD short alias (Cc, Cf, Cn, ...).
enum class GC_Values : std::uint8_t {
    GC_CC,
    GC_CF,
    GC_CN,
    GC_CO,
    GC_CS,
    GC_LL,
    GC_LM,
    GC_LO,
    GC_LT,
    GC_LU,
    GC_MC,
    GC_ME,
    GC_MN,
    GC_ND,
    GC_NL,
    GC_NO,
    GC_PC,
    GC_PD,
    GC_PE,
    GC_PF,
    GC_PI,
    GC_PO,
    GC_PS,
    GC_SC,
    GC_SK,
    GC_SM,
    GC_SO,
    GC_ZL,
    GC_ZP,
    GC_ZS
};

// Grapheme_Cluster_Break. GCB_CN is Control, GCB_EX Extend, GCB_PP Prepend, GCB_SM SpacingMark,
// GCB_XX Other.
enum class GCB_Values : std::uint8_t {
    GCB_CN,
    GCB_CR,
    GCB_EX,
    GCB_L,
    GCB_LF,
    GCB_LV,
    GCB_LVT,
    GCB_PP,
    GCB_RI,
    GCB_SM,
    GCB_T,
    GCB_V,
    GCB_XX,
    GCB_ZWJ
};

// Word_Break. WB_DQ Double_Quote, WB_EX ExtendNumLet, WB_FO Format, WB_HL Hebrew_Letter,
// WB_KA Katakana, WB_LE ALetter, WB_MB MidNumLet, WB_ML MidLetter, WB_MN MidNum, WB_NL Newline,
// WB_NU Numeric, WB_SQ Single_Quote, WB_XX Other.
enum class WB_Values : std::uint8_t {
    WB_CR,
    WB_DQ,
    WB_EX,
    WB_EXTEND,
    WB_FO,
    WB_HL,
    WB_KA,
    WB_LE,
    WB_LF,
    WB_MB,
    WB_ML,
    WB_MN,
    WB_NL,
    WB_NU,
    WB_RI,
    WB_SQ,
    WB_WSEGSPACE,
    WB_XX,
    WB_ZWJ
};

// Indic_Conjunct_Break.
enum class INCB_Values : std::uint8_t { INCB_NONE, INCB_CONSONANT, INCB_EXTEND, INCB_LINKER };

// East_Asian_Width (Neutral first).
enum class EA_Values : std::uint8_t { EA_N, EA_A, EA_F, EA_H, EA_NA, EA_W };

// The texts of the enumeration literals ("GC_LU", "GCB_EX", ...).
QORVI_API std::string_view Image(GC_Values value);
QORVI_API std::string_view Image(GCB_Values value);
QORVI_API std::string_view Image(WB_Values value);
QORVI_API std::string_view Image(INCB_Values value);
QORVI_API std::string_view Image(EA_Values value);

// One field of the packed record: Width bits starting at bit Shift (bit 0 least significant).
struct Core_Data_Field {
    unsigned Shift;
    unsigned Width;

    constexpr std::uint32_t Mask() const noexcept { return ((1u << Width) - 1u) << Shift; }
    constexpr std::uint32_t Get(std::uint32_t raw) const noexcept {
        return (raw >> Shift) & ((1u << Width) - 1u);
    }
};

// The layout of Core_Data_Record. Bits 7, 15, 21-23 and 31 are reserved and zero.
inline constexpr Core_Data_Field GC_Field{0, 5};
inline constexpr Core_Data_Field Other_Lowercase_Field{5, 1};
inline constexpr Core_Data_Field Other_Uppercase_Field{6, 1};
inline constexpr Core_Data_Field GCB_Field{8, 4};
inline constexpr Core_Data_Field INCB_Field{12, 2};
inline constexpr Core_Data_Field Extended_Pictographic_Field{14, 1};
inline constexpr Core_Data_Field WB_Field{16, 5};
inline constexpr Core_Data_Field EA_Field{24, 3};
inline constexpr Core_Data_Field Emoji_Field{27, 1};
inline constexpr Core_Data_Field Emoji_Modifier_Base_Field{28, 1};
inline constexpr Core_Data_Field Emoji_Modifier_Field{29, 1};
inline constexpr Core_Data_Field Emoji_Presentation_Field{30, 1};
inline constexpr std::uint32_t Core_Data_Reserved_Mask = 0x80E0'8080;

// The properties of one code point, as one little-endian 32-bit word. The record stores
// Other_Lowercase and Other_Uppercase; the derived Lowercase, Uppercase and Cased properties are
// computed by Qorvi::Characters.
struct Core_Data_Record {
    std::uint32_t Raw;

    constexpr GC_Values GC() const noexcept { return static_cast<GC_Values>(GC_Field.Get(Raw)); }
    constexpr bool Other_Lowercase() const noexcept { return Other_Lowercase_Field.Get(Raw) != 0; }
    constexpr bool Other_Uppercase() const noexcept { return Other_Uppercase_Field.Get(Raw) != 0; }
    constexpr GCB_Values GCB() const noexcept {
        return static_cast<GCB_Values>(GCB_Field.Get(Raw));
    }
    constexpr INCB_Values INCB() const noexcept {
        return static_cast<INCB_Values>(INCB_Field.Get(Raw));
    }
    constexpr bool Extended_Pictographic() const noexcept {
        return Extended_Pictographic_Field.Get(Raw) != 0;
    }
    constexpr WB_Values WB() const noexcept { return static_cast<WB_Values>(WB_Field.Get(Raw)); }
    constexpr EA_Values EA() const noexcept { return static_cast<EA_Values>(EA_Field.Get(Raw)); }
    constexpr bool Emoji() const noexcept { return Emoji_Field.Get(Raw) != 0; }
    constexpr bool Emoji_Modifier_Base() const noexcept {
        return Emoji_Modifier_Base_Field.Get(Raw) != 0;
    }
    constexpr bool Emoji_Modifier() const noexcept { return Emoji_Modifier_Field.Get(Raw) != 0; }
    constexpr bool Emoji_Presentation() const noexcept {
        return Emoji_Presentation_Field.Get(Raw) != 0;
    }
};

inline constexpr std::size_t Page_Count = 4'352;    // pages of 256 code points, 0 .. 0x10FF
inline constexpr std::size_t Record_Count = 43'520; // records in the shared data array
inline constexpr char32_t Last_Code_Point = 0x10'FFFF;

// Per page, the position (in records) of the page's first record in Core_Data_Raw_Table.
using Index_Table_Array = std::array<std::uint16_t, Page_Count>;
using Core_Data_Raw_Array = std::array<std::uint32_t, Record_Count>;

// Generated tables (defined in the generated source of the build tree).
extern QORVI_API const Index_Table_Array Core_Index_Table;
extern QORVI_API const Core_Data_Raw_Array Core_Data_Raw_Table;

// Core_Data_Raw_Table seen as an array of records; it holds no copy of its own.
class Core_Data_Array {
public:
    static constexpr std::size_t size() noexcept { return Record_Count; }
    Core_Data_Record operator[](std::size_t position) const noexcept {
        return Core_Data_Record{Core_Data_Raw_Table[position]};
    }
};
inline constexpr Core_Data_Array Core_Data_Table{};

// Raise Constraint_Error: the code point is above 0x10FFFF, or the index points outside the
// data array (which the generated tables never do).
[[noreturn]] QORVI_API void Raise_Code_Point_Out_Of_Range();
[[noreturn]] QORVI_API void Raise_Corrupted_Table();

// The record of code point Code (0 .. 0x10FFFF; Constraint_Error above).
inline Core_Data_Record Get_Core_Data(char32_t Code) {
    if (Code > Last_Code_Point) [[unlikely]] {
        Raise_Code_Point_Out_Of_Range();
    }
    const std::size_t position = std::size_t{Core_Index_Table[Code >> 8]} + (Code & 0xFFu);
    if (position >= Record_Count) [[unlikely]] {
        Raise_Corrupted_Table();
    }
    return Core_Data_Table[position];
}

} // namespace Qorvi::Implementation::UCD_Core
