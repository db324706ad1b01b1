// Code point types restricted to the Unicode scalar values (0x0000 .. 0xD7FF and
// 0xE000 .. 0x10FFFF), with the predicate that tells each restriction's valid values.
#pragma once

#include <cstdint>

namespace Qorvi::Unicode {

// A code point: 0 .. 0x10FFFF.
using Code_Point = std::uint32_t;

// A code point that is a scalar value (not a surrogate). Valid values satisfy
// Is_Scalar_Value; the type itself does not check on assignment.
using Scalar_Value = Code_Point;

// A 32-bit character that is a scalar value. Valid values satisfy Is_Scalar_Value_Character.
using Scalar_Value_Character = char32_t;

constexpr bool Is_Scalar_Value(Code_Point Item) noexcept {
    return Item < 0xD800 || (Item > 0xDFFF && Item <= 0x10'FFFF);
}

constexpr bool Is_Scalar_Value_Character(char32_t Item) noexcept {
    return Item < 0xD800 || (Item > 0xDFFF && Item <= 0x10'FFFF);
}

} // namespace Qorvi::Unicode
