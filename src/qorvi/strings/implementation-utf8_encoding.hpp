// UTF-8 primitives: encoding one code point, checked decoding of data that comes from outside
// and unchecked decoding of text the library wrote itself.
//
// C++ mapping: a code unit array "with bounds" is a std::span<const UTF8_Code_Unit> whose first
// element has offset 0 and whose last has offset size() - 1. Offsets are UTF8_Code_Unit_Offset
// values (signed 32-bit). The in/out index and offset parameters are references; the unchecked
// decoders return the code point. No routine here allocates or uses tables.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <span>
#include <string_view>

namespace Qorvi::Stream_Element_Vectors {
class Stream_Element_Vector;
} // namespace Qorvi::Stream_Element_Vectors

namespace Qorvi::Implementation::UTF8_Encoding {

using UTF8_Code_Unit = std::uint8_t;
using UTF8_Code_Unit_Array = std::span<const UTF8_Code_Unit>;

// Outcome of the checked Decode. The order is significant.
enum class UTF8_Decode_Error : std::uint8_t {
    NONE,           // no error (also reported when the index lies outside the data)
    INCOMPLETE_2,   // a two-unit lead unit is the last unit of the data
    INCOMPLETE_3,   // a three-unit lead unit with fewer than two units after it
    INCOMPLETE_4,   // a four-unit lead unit with fewer than three units after it
    INVALID_1,      // not a lead unit: 0x80 .. 0xC1, 0xF5 .. 0xFF
    INVALID_2_OF_2, // second unit of a two-unit sequence out of range
    INVALID_2_OF_3, // second unit of a three-unit sequence out of range (overlong, surrogate)
    INVALID_3_OF_3, // third unit of a three-unit sequence out of range
    INVALID_2_OF_4, // second unit of a four-unit sequence out of range (overlong, > 0x10FFFF)
    INVALID_3_OF_4, // third unit of a four-unit sequence out of range
    INVALID_4_OF_4, // fourth unit of a four-unit sequence out of range
};

// The upper-case image of an error value ("NONE", "INCOMPLETE_2", ...).
QORVI_API std::string_view Image(UTF8_Decode_Error Error) noexcept;

// Code answered by a failed Decode.
inline constexpr Virtual_Character Decode_Failure_Code = 0x10FFFF;

// Decodes the well-formed sequence starting at Index. On success Code is the code point, Error is
// NONE, Index moves past the sequence and Success keeps the value it came in with (so one Boolean
// can collect the outcome of a run of calls). On failure Success becomes false, Code is
// 0x10FFFF, Index is unchanged and Error tells what was wrong; an Index outside the data fails
// with NONE. Never throws.
QORVI_API void Decode(UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Offset& Index, bool& Success,
                      Virtual_Character& Code, UTF8_Decode_Error& Error) noexcept;

// The same rules over the bytes of a byte vector, with a 1-based, 64-bit Index (1 .. Length of
// the vector). On failure Code is 0; an Index outside 1 .. Length fails with NONE.
QORVI_API void Decode(const Stream_Element_Vectors::Stream_Element_Vector& Data,
                      std::int64_t& Index, bool& Success, Virtual_Character& Code,
                      UTF8_Decode_Error& Error) noexcept;

[[noreturn]] QORVI_API void Raise_Invalid_Lead_Unit();
[[noreturn]] QORVI_API void Raise_String_Data_Corrupted();
[[noreturn]] QORVI_API void Raise_Offset_Out_Of_Range();

// Number of code units of the character whose lead unit is Unit: 1 for 0x00 .. 0x7F, otherwise
// the count of leading one bits (2, 3 or 4 for a valid lead unit; 1 for a continuation unit and
// 5 .. 8 for 0xF8 .. 0xFF).
constexpr int Lead_Unit_Length(UTF8_Code_Unit Unit) noexcept {
    return Unit < 0x80 ? 1 : std::countl_one(Unit);
}

// UTF-8 and UTF-16 lengths of a code point.
constexpr UTF8_Code_Unit_Count Encoded_Length(Virtual_Character Code) noexcept {
    return Code <= 0x7F ? 1 : Code <= 0x7FF ? 2 : Code <= 0xFFFF ? 3 : 4;
}
constexpr UTF16_Code_Unit_Count UTF16_Length(Virtual_Character Code) noexcept {
    return Code <= 0xFFFF ? 1 : 2;
}

// The one encoder of the library: writes the UTF-8 form of Code (1 .. 4 units) at Target and
// returns the number of units written. Code must be a scalar value; it is not checked here.
inline UTF8_Code_Unit_Count Encode(Virtual_Character Code, UTF8_Code_Unit* Target) noexcept {
    if (Code <= 0x7F) {
        Target[0] = static_cast<UTF8_Code_Unit>(Code);
        return 1;
    }
    if (Code <= 0x7FF) {
        Target[0] = static_cast<UTF8_Code_Unit>(0xC0 | (Code >> 6));
        Target[1] = static_cast<UTF8_Code_Unit>(0x80 | (Code & 0x3F));
        return 2;
    }
    if (Code <= 0xFFFF) {
        Target[0] = static_cast<UTF8_Code_Unit>(0xE0 | (Code >> 12));
        Target[1] = static_cast<UTF8_Code_Unit>(0x80 | ((Code >> 6) & 0x3F));
        Target[2] = static_cast<UTF8_Code_Unit>(0x80 | (Code & 0x3F));
        return 3;
    }
    Target[0] = static_cast<UTF8_Code_Unit>(0xF0 | ((Code >> 18) & 0x07));
    Target[1] = static_cast<UTF8_Code_Unit>(0x80 | ((Code >> 12) & 0x3F));
    Target[2] = static_cast<UTF8_Code_Unit>(0x80 | ((Code >> 6) & 0x3F));
    Target[3] = static_cast<UTF8_Code_Unit>(0x80 | (Code & 0x3F));
    return 4;
}

// Decodes the character whose lead unit is at Offset in text the library wrote (continuation
// units are not examined) and advances Offset past it. A unit that can not start a character
// raises Program_Error; an Offset outside the data raises Constraint_Error, and a character cut
// short by the end of the data raises Program_Error: nothing is read outside Data.
inline Virtual_Character Unchecked_Decode_Forward(UTF8_Code_Unit_Array Data,
                                                  UTF8_Code_Unit_Offset& Offset) {
    const std::size_t at = static_cast<std::size_t>(static_cast<std::uint32_t>(Offset));
    if (Offset < 0 || at >= Data.size()) {
        Raise_Offset_Out_Of_Range();
    }
    const UTF8_Code_Unit* p = Data.data() + at;
    const std::size_t available = Data.size() - at;
    const UTF8_Code_Unit u1 = p[0];
    if (u1 < 0x80) {
        Offset += 1;
        return u1;
    }
    if (u1 >= 0xC2 && u1 <= 0xDF) {
        if (available < 2) {
            Raise_String_Data_Corrupted();
        }
        Offset += 2;
        return (Virtual_Character{u1 & 0x1Fu} << 6) | (p[1] & 0x3Fu);
    }
    if (u1 >= 0xE0 && u1 <= 0xEF) {
        if (available < 3) {
            Raise_String_Data_Corrupted();
        }
        Offset += 3;
        return (Virtual_Character{u1 & 0x0Fu} << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
    }
    if (u1 >= 0xF0 && u1 <= 0xF4) {
        if (available < 4) {
            Raise_String_Data_Corrupted();
        }
        Offset += 4;
        return (Virtual_Character{u1 & 0x07u} << 18) | ((p[1] & 0x3Fu) << 12) |
               ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
    }
    Raise_Invalid_Lead_Unit();
}

// Offset is the offset just after a character of text the library wrote: moves Offset back to
// that character's lead unit and returns its code. A lead unit 0xC0, 0xC1 or 0xF5 .. 0xFF, or
// continuation units reaching back past the start of the data, raise Program_Error "string data
// is corrupted"; an Offset that is not in 1 .. size() raises Constraint_Error.
inline Virtual_Character Unchecked_Backward_Decode(UTF8_Code_Unit_Array Data,
                                                   UTF8_Code_Unit_Offset& Offset) {
    if (Offset <= 0 || static_cast<std::size_t>(Offset) > Data.size()) {
        Raise_Offset_Out_Of_Range();
    }
    UTF8_Code_Unit_Offset lead = Offset - 1;
    while ((Data[static_cast<std::size_t>(lead)] & 0xC0) == 0x80) {
        if (lead == 0) {
            Raise_String_Data_Corrupted();
        }
        --lead;
    }
    const UTF8_Code_Unit u1 = Data[static_cast<std::size_t>(lead)];
    if (u1 >= 0x80 && (u1 < 0xC2 || u1 > 0xF4)) {
        Raise_String_Data_Corrupted();
    }
    UTF8_Code_Unit_Offset next = lead;
    const Virtual_Character code = Unchecked_Decode_Forward(Data, next);
    Offset = lead;
    return code;
}

} // namespace Qorvi::Implementation::UTF8_Encoding
