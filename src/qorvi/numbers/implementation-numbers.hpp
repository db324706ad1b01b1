// Recognition of one JSON number fed character by character by a JSON reader, and its exact
// classification as a signed 64-bit integer, a correctly rounded double (round to nearest,
// ties to even) or a value out of range.
//
// Calling order for one number: Reset; set Minus for a leading minus sign; Int_Digit for each
// digit before the point; Decimal_Point and Frac_Digit for a fraction; for an exponent, set
// Exponent_Minus for a minus sign and call Exp_Digit for each exponent digit; then
// To_JSON_Number with the number's text (or Classify, which converts without the text).
// The reader checks the JSON syntax; this unit only accumulates what it is given. Nothing here
// allocates memory.
#pragma once

#include <bit>
#include <cstdint>
#include <qorvi/export.hpp>
#include <qorvi/numbers/implementation-numbers-clinger.hpp>
#include <qorvi/numbers/implementation-numbers-eisel_lemire.hpp>
#include <qorvi/numbers/implementation-numbers-tables.hpp>
#include <qorvi/numbers/implementation-packed_decimals.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Implementation::Numbers {

enum class JSON_Number_Kind : std::uint8_t { NONE, JSON_INTEGER, JSON_FLOAT, OUT_OF_RANGE };

// Only OUT_OF_RANGE is set by this unit (an exponent of ten or more significant digits).
enum class Parsing_Error_States : std::uint8_t { NOT_A_ERROR, OUT_OF_RANGE, PRECISION_LOST };

// The accumulator of one number. The reader sets Minus and Exponent_Minus; the operations
// below maintain the rest.
struct Parsing_State {
    Parsing_Error_States Error = Parsing_Error_States::NOT_A_ERROR;
    // The number has a leading minus sign.
    bool Minus = false;
    // A decimal point was seen.
    bool Fractional = false;
    // At least one exponent digit was seen.
    bool Exponential = false;
    // The exponent has a minus sign.
    bool Exponent_Minus = false;
    // Magnitude of the exponent.
    std::int32_t Exponent = 0;
    // Significant digits of the exponent (leading zeros not counted).
    std::int32_t Exponent_Digits = 0;
    // Significant digits of the integer part and the fraction.
    Packed_Decimals::Packed_Decimal Decimal;
};

// What a number classifies as: the kind (never NONE) and, for JSON_INTEGER, the integer, for
// JSON_FLOAT, the double. The other value field is 0.
struct Classified_Number {
    JSON_Number_Kind Kind = JSON_Number_Kind::NONE;
    std::int64_t Integer_Value = 0;
    double Float_Value = 0.0;
};

// A recognized number: its kind, its text as the reader passed it (for every kind but NONE)
// and, for JSON_INTEGER, the integer, for JSON_FLOAT, the double (the other value is 0). The
// default value has kind NONE.
struct JSON_Number {
    JSON_Number_Kind Kind = JSON_Number_Kind::NONE;
    Qorvi::Strings::Virtual_String String_Value;
    std::int64_t Integer_Value = 0;
    double Float_Value = 0.0;

    // Equal kinds and, for kinds other than NONE, equal texts and equal values (doubles compare
    // as doubles, so 0.0 equals -0.0).
    friend QORVI_API bool operator==(const JSON_Number& Left, const JSON_Number& Right) noexcept;
};

// Prepares Self for a new number.
inline void Reset(Parsing_State& Self) {
    Self.Error = Parsing_Error_States::NOT_A_ERROR;
    Self.Minus = false;
    Self.Fractional = false;
    Self.Exponential = false;
    Self.Exponent_Minus = false;
    Self.Exponent = 0;
    Self.Exponent_Digits = 0;
    Packed_Decimals::Clear(Self.Decimal);
}

// A digit of the integer part: U+0030 .. U+0039, Constraint_Error otherwise. Ignored once
// Error is set.
inline void Int_Digit(Parsing_State& Self, char32_t Digit) {
    if (Self.Error != Parsing_Error_States::NOT_A_ERROR) {
        return;
    }
    Packed_Decimals::Append_Integral(Self.Decimal, static_cast<std::uint32_t>(Digit - U'0'));
}

// The decimal point.
inline void Decimal_Point(Parsing_State& Self) {
    Self.Fractional = true;
    Packed_Decimals::Append_Decimal_Point(Self.Decimal);
}

// A digit of the fraction: U+0030 .. U+0039, Constraint_Error otherwise. Ignored once Error is
// set.
inline void Frac_Digit(Parsing_State& Self, char32_t Digit) {
    if (Self.Error != Parsing_Error_States::NOT_A_ERROR) {
        return;
    }
    Packed_Decimals::Append_Fractional(Self.Decimal, static_cast<std::uint32_t>(Digit - U'0'));
}

// A digit of the exponent: U+0030 .. U+0039, Constraint_Error otherwise. Ignored once Error is
// set. Leading zeros are skipped; a tenth significant digit sets Error to OUT_OF_RANGE.
inline void Exp_Digit(Parsing_State& Self, char32_t Digit) {
    if (Self.Error != Parsing_Error_States::NOT_A_ERROR) {
        return;
    }
    const auto value = static_cast<std::uint32_t>(Digit - U'0');
    if (value > 9) {
        Packed_Decimals::Detail::raise_bad_digit();
    }
    Self.Exponential = true;
    if (Self.Exponent == 0 && value == 0) {
        return;
    }
    if (Self.Exponent_Digits > 8) {
        Self.Error = Parsing_Error_States::OUT_OF_RANGE;
        return;
    }
    Self.Exponent = Self.Exponent * 10 + static_cast<std::int32_t>(value);
    ++Self.Exponent_Digits;
}

// The double whose bits are the low 52 bits of Mantissa, Power shifted left by 52, and bit 63
// when Minus. Power must be 0 .. 2047 (Constraint_Error otherwise).
inline double Encode_IEEE_Float(std::uint64_t Mantissa, std::int32_t Power, bool Minus);

namespace Detail {

[[noreturn]] QORVI_API void raise_biased_exponent_out_of_range();

// Classify for any state. Classify itself decides the common numbers inline (no error, at most
// 16 digits in the integer part and in the fraction and 19 in all, none dropped;
// an integer that fits, or a non-zero value that Clinger's fast path or the decided 128-bit
// product converts to a finite double) and leaves all others to this function.
//
// The state is taken by value: a reference would let the caller's state escape, and a reader
// whose state is a local variable would then have it written back to memory after every
// digit, since any character the reader loads might alias it. A copy keeps it in registers
// over a run of digits; the copy is made only on this rare path.
QORVI_API Classified_Number classify_general(Parsing_State Self);

} // namespace Detail

// Classifies the number accumulated in Self and converts it:
// - written as an integer (no point, no exponent digit): JSON_INTEGER when it has at most 19
//   significant digits and fits a signed 64-bit integer, OUT_OF_RANGE otherwise;
// - otherwise JSON_FLOAT with the correctly rounded double (a value too small becomes zero or
//   a subnormal, with the number's sign; a zero stays a zero whatever its exponent), or
//   OUT_OF_RANGE when the value rounds beyond the largest double.
inline Classified_Number Classify(const Parsing_State& Self) {
    const Packed_Decimals::Packed_Decimal& decimal = Self.Decimal;
    const auto integral = static_cast<std::uint32_t>(decimal.Integral_Digits);
    const auto fraction = static_cast<std::uint32_t>(decimal.Fractional_Digits);
    if (Self.Error != Parsing_Error_States::NOT_A_ERROR || decimal.Dropped_Non_Zero ||
        integral > 16 || fraction > 16 || integral + fraction > 19) [[unlikely]] {
        return Detail::classify_general(Self);
    }
    // W (with the fraction's trailing zeros) and its scale, exactly. Filling holds the last
    // digits read, integer part and fraction together, up to 16 of them: all of them, or the
    // last 16 after the leading ones, which are in the store's first word.
    const std::uint32_t digits = integral + fraction;
    std::uint64_t w = 0;
    if (digits > 16) {
        // The leading one to three digits open the store's first word; a single one (as in
        // 17-digit doubles) is read directly.
        const std::uint64_t first = decimal.Digits[0];
        const std::uint64_t lead =
            digits == 17
                ? (first & 0xF)
                : Packed_Decimals::Group_Value(first, static_cast<std::int32_t>(digits - 16));
        w = lead * Tables::Powers_Of_10_U64[16] +
            Packed_Decimals::Top_Group_Value(decimal.Filling, 16);
    } else if (digits != 0) {
        w = Packed_Decimals::Top_Group_Value(decimal.Filling, static_cast<std::int32_t>(digits));
    }
    if (!Self.Fractional && !Self.Exponential) {
        // At most 16 digits and none dropped: with no scale, the integer always fits.
        if (decimal.Exponent_Adjust == 0) {
            return {JSON_Number_Kind::JSON_INTEGER,
                    static_cast<std::int64_t>(Self.Minus ? 0 - w : w), 0.0};
        }
    } else {
        const std::int64_t e =
            std::int64_t{decimal.Exponent_Adjust} - decimal.Fractional_Digits +
            (Self.Exponent_Minus ? -std::int64_t{Self.Exponent} : std::int64_t{Self.Exponent});
        if (w != 0 && e >= Tables::Smallest_Power_Of_Ten && e <= Tables::Largest_Power_Of_Ten) {
            const auto q = static_cast<std::int32_t>(e);
            const Clinger::Conversion_Result fast = Clinger::Convert(w, q);
            if (fast.Success) {
                return {JSON_Number_Kind::JSON_FLOAT, 0, Self.Minus ? -fast.Value : fast.Value};
            }
            const Decoded_Float result = Eisel_Lemire::Convert(w, q);
            if (result.Power >= 0 && result.Power < 2047) [[likely]] {
                return {JSON_Number_Kind::JSON_FLOAT, 0,
                        Encode_IEEE_Float(result.Mantissa, result.Power, Self.Minus)};
            }
        }
    }
    return Detail::classify_general(Self);
}

// Classifies and converts the number accumulated in Self (see Classify) into To, which carries
// String_Value as the number's text.
inline void To_JSON_Number(const Parsing_State& Self,
                           const Qorvi::Strings::Virtual_String& String_Value, JSON_Number& To) {
    const Classified_Number number = Classify(Self);
    To.Kind = number.Kind;
    To.String_Value = String_Value;
    To.Integer_Value = number.Integer_Value;
    To.Float_Value = number.Float_Value;
}

inline double Encode_IEEE_Float(std::uint64_t Mantissa, std::int32_t Power, bool Minus) {
    if (Power < 0 || Power > 2047) [[unlikely]] {
        Detail::raise_biased_exponent_out_of_range();
    }
    const std::uint64_t bits = (Mantissa & ((std::uint64_t{1} << 52) - 1)) |
                               (static_cast<std::uint64_t>(Power) << 52) |
                               (Minus ? std::uint64_t{1} << 63 : 0);
    return std::bit_cast<double>(bits);
}

} // namespace Qorvi::Implementation::Numbers
