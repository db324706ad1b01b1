// The non-generic body of the integer formatters (Qorvi::Strings::Formatters::Generic_Integers):
// the format text grammar and the rendering of a magnitude with a sign. Internal to the library.
//
// Format text, read left to right; every part is optional and parsing stops silently at the
// first character that does not fit (the rest is ignored):
//   1. "+" (sign PLUS) or "-" (sign SPACE), only as the first character;
//   2. "0": leading zeros on;
//   3. width: decimal digits (after a leading "0", further zeros belong to the width);
//   4. base: "#" then decimal digits ("#" alone gives base 0);
//   5. grouping: "_" then decimal digits; the one character after them, if any, is the
//      separator, and parsing ends there.
// Examples: "+08", "-5", "#16", "08#16_4", "_3,", "010_3 " (a space as separator).
#pragma once

#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Implementation::Integer_Formatting {

// What is written before a value that is not negative: nothing, one space, or "+".
enum class Sign_Mode : std::uint8_t { NONE, SPACE, PLUS };

inline constexpr std::int32_t Width_Last = 1'073'741'823;
inline constexpr std::int32_t Group_Last = 1'073'741'823;

// The options of one format text.
struct Formatter_Options {
    Sign_Mode Sign = Sign_Mode::NONE;
    // Minimum count of digit positions (digits and padding zeros); 0: no padding.
    std::int32_t Width = 0;
    // Pad with zeros after the sign instead of spaces before it.
    bool Leading_Zeros = false;
    std::int32_t Base = 10;
    // Digits per group; 0: no grouping.
    std::int32_t Group = 0;
    Virtual_Character Separator = U'_';

    friend bool operator==(const Formatter_Options&, const Formatter_Options&) = default;
};

// The options Format_Text asks for. A width or group above 1073741823, or a base above
// 2147483647, raises Constraint_Error.
QORVI_API Formatter_Options Parse(const Qorvi::Strings::Virtual_String& Format_Text);

// The most digits any Render call may produce (the magnitude is at most 2**64 - 1).
inline constexpr int Digit_Room_Last = 64;

// The value -Magnitude (Negative) or Magnitude written as Options ask. Digit_Room is the most
// digits the integer type may need (1 .. 64): more digits raise Constraint_Error. Errors, all
// raised before anything is allocated: base 0 with a non-zero magnitude, or more digits than
// Digit_Room (base 1), or a result longer than a string may be: Constraint_Error; a digit value
// of 26 or more (a base above 26): Program_Error.
QORVI_API Qorvi::Strings::Virtual_String Render(bool Negative, std::uint64_t Magnitude,
                                                const Formatter_Options& Options, int Digit_Room);

} // namespace Qorvi::Implementation::Integer_Formatting
