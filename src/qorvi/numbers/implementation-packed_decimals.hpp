// The decimal digits of one number, stored four bits each while the number is read, and
// turned into integers only once at the end.
//
// Digit number i lives in the 64-bit word i / 16, in bits 4 * (i mod 16) .. 4 * (i mod 16) + 3:
// each word holds 16 consecutive digits with the earliest in its lowest four bits (on a
// little-endian machine, digit i is in byte i / 2, low half for even i). The integer part
// starts at digit 0; the fraction starts at the first word boundary after it.
//
// While a part is being read, the word that holds its latest digit is kept in Filling instead
// of the digit store: a digit is shifted in at the top of that word, which costs two constant
// shifts and an or, and the word is written to the store once it is complete (or at the
// decimal point). The functions below read that word from Filling where it applies; Flush
// writes it to the store for code that reads Digits directly.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <qorvi/export.hpp>
#include <qorvi/implementation-checked.hpp>
#include <qorvi/numbers/implementation-numbers-tables.hpp>

namespace Qorvi::Implementation::Big_Integers {
struct Big_Integer;
} // namespace Qorvi::Implementation::Big_Integers

namespace Qorvi::Implementation::Packed_Decimals {

// Digits kept in all (integer part and fraction); the rest are counted but not stored.
inline constexpr std::int32_t Digit_Capacity = 784;
// Positions of the digit store: 784 digits always fit, whatever the fraction's alignment.
inline constexpr std::int32_t Digit_Positions = 800;

using Unsigned_64_Array = std::array<std::uint64_t, Digit_Positions / 16>;

struct Packed_Decimal {
    // The word of the part being read (the fraction once a point was seen, else the integer
    // part) that holds its latest stored digit, shifted to the top: its k digits fill the top
    // 4 * k bits, the latest in the highest four. Below them lie the digits read before, back
    // to the start of the number or of the word (the fraction's first word continues the
    // integer part's last one; a later word starts afresh), and zeros below those. The store's
    // copy of that word is not kept up to date.
    std::uint64_t Filling = 0;
    // While the stored digits of a part are fewer than its stop, its next digit goes into
    // Filling and nothing else needs deciding; at the stop, the digit is a leading zero, starts
    // a new word, or does not fit. One comparison per digit. (The fraction's stop is 0 until
    // the decimal point, so that a fraction digit without a point takes the checked path.)
    std::int32_t Integral_Stop = 0;
    std::int32_t Fraction_Stop = 0;
    // Digits of the integer part after its leading zeros, including those that did not fit.
    std::int32_t Integral_Digits = 0;
    // Word where the fraction digits start; -1 while no decimal point was seen.
    std::int32_t Point = -1;
    // Fraction digits stored.
    std::int32_t Fractional_Digits = 0;
    // Stored fraction digits up to and including the last non-zero one, as far as the words
    // before the one in Filling tell: Significant_Fraction gives the count over all stored
    // digits, and Flush brings this field up to it.
    std::int32_t Significant_Fractional_Digits = 0;
    // Decimal exponent correction: minus the leading zeros of a pure fraction, plus the integer
    // digits that did not fit.
    std::int32_t Exponent_Adjust = 0;
    // Some digit did not fit.
    bool Truncated = false;
    // Some digit that did not fit was not zero. The stored digits then stand for a value
    // slightly below the number's, which decides the rounding of a number that would otherwise
    // sit exactly on a halfway point.
    bool Dropped_Non_Zero = false;
    // Digits 0 .. 799, four bits each (see above). Only the positions the counts above cover
    // hold meaningful values, and the word kept in Filling only after Flush.
    Unsigned_64_Array Digits{};
};

// The first significant digits of a decimal: W (at most 19 digits) and the decimal scale that
// goes with it; Inexact tells that further non-zero digits were left out.
struct Leading_Digits {
    std::uint64_t W;
    std::int32_t Scale;
    bool Inexact;
};

namespace Detail {

[[noreturn]] QORVI_API void raise_bad_digit();
[[noreturn]] QORVI_API void raise_fraction_without_point();

// Filling with digit d (0 .. 9) shifted in as the latest digit of its word.
constexpr std::uint64_t shift_in(std::uint64_t filling, std::uint32_t d) {
    return filling >> 4 | std::uint64_t{d} << 60;
}

// Where the word kept in Filling belongs: its index in the store and its number of digits
// (0 when the part being read has no stored digit).
struct Open_Word {
    std::int32_t Index;
    std::int32_t Count;
};

constexpr Open_Word open_word(const Packed_Decimal& self) {
    const auto stored = static_cast<std::uint32_t>(
        self.Point < 0 ? std::min(self.Integral_Digits, Digit_Capacity) : self.Fractional_Digits);
    const std::int32_t first = self.Point < 0 ? 0 : self.Point;
    if (stored == 0) {
        return {first, 0};
    }
    return {first + static_cast<std::int32_t>((stored - 1) / 16),
            static_cast<std::int32_t>((stored - 1) % 16 + 1)};
}

// The stop for a part whose digit number Count (from 0) starts a word of the store, with
// Stored digits of the number stored before it: the end of that word, or of the capacity if
// that comes first.
constexpr std::int32_t stop_after(std::int32_t count, std::uint32_t stored) {
    return count + static_cast<std::int32_t>(
                       std::min(std::uint32_t{16}, std::uint32_t{Digit_Capacity} - stored));
}

// A word kept at the top (as in Filling) with Count digits (1 .. 16), moved to its place.
constexpr std::uint64_t from_top(std::uint64_t top, std::int32_t count) {
    return top >> (4 * (16 - count));
}

} // namespace Detail

namespace Detail {

// The first three steps of the grouped multiply-add on a word of unsigned type T (32 or 64
// bits): neighbours combined with the earlier (lower) one as the more significant, within
// bytes, then 16-bit groups, then 32-bit halves (the constants are cut to T's width).
template <typename T>
constexpr T combine_groups(T x) {
    x = static_cast<T>((x & T(0x0F0F0F0F0F0F0F0FU)) * 10 + ((x >> 4) & T(0x0F0F0F0F0F0F0F0FU)));
    x = static_cast<T>((x & T(0x00FF00FF00FF00FFU)) * 100 + ((x >> 8) & T(0x00FF00FF00FF00FFU)));
    return static_cast<T>((x & T(0x0000FFFF0000FFFFU)) * 10000 +
                          ((x >> 16) & T(0x0000FFFF0000FFFFU)));
}

} // namespace Detail

// The value of the first Count digits (1 .. 16) of a word kept at the top, as in Filling, with
// zeros below its digits, computed without a loop: neighbours are combined with the earlier
// one as the more significant, within bytes, 16-bit groups, 32-bit halves, and finally the two
// halves. Up to eight digits fit the high half, which saves the last step.
constexpr std::uint64_t Top_Group_Value(std::uint64_t Top, std::int32_t Count) {
    if (Count <= 8) {
        return Detail::combine_groups(static_cast<std::uint32_t>(Top >> 32));
    }
    const std::uint64_t x = Detail::combine_groups(Top);
    return (x & 0xFFFFFFFFU) * 100000000 + (x >> 32);
}

// The value of the first Count digits (1 .. 16) of a word: the digits are moved to the top,
// which also drops the positions above them, whatever they hold.
constexpr std::uint64_t Group_Value(std::uint64_t Word, std::int32_t Count) {
    return Top_Group_Value(Word << (4 * (16 - Count)), Count);
}

// Word Index (0 .. 49) of the store as it stands for the digits appended so far, the word being
// filled included.
constexpr std::uint64_t Stored_Word(const Packed_Decimal& Self, std::int32_t Index) {
    const Detail::Open_Word open = Detail::open_word(Self);
    if (open.Count != 0 && Index == open.Index) {
        return Detail::from_top(Self.Filling, open.Count);
    }
    return Self.Digits[static_cast<std::size_t>(Index)];
}

// Digit number Position (0 .. 799) of the store.
constexpr std::uint32_t Stored_Digit(const Packed_Decimal& Self, std::int32_t Position) {
    return static_cast<std::uint32_t>((Stored_Word(Self, Position >> 4) >> (4 * (Position & 15))) &
                                      0xF);
}

// Stored fraction digits up to and including the last non-zero one. The trailing zeros in the
// word being filled are the zero digits at the top of Filling, when a non-zero digit of that
// word ends them.
constexpr std::int32_t Significant_Fraction(const Packed_Decimal& Self) {
    const std::int32_t fraction = Self.Fractional_Digits;
    if (Self.Point >= 0 && fraction != 0) {
        const auto in_word =
            static_cast<std::int32_t>((static_cast<std::uint32_t>(fraction) - 1) % 16 + 1);
        const std::int32_t zeros = std::countl_zero(Self.Filling) / 4;
        if (zeros < in_word) {
            return fraction - zeros;
        }
    }
    return Self.Significant_Fractional_Digits;
}

// Writes the word being filled to the store, so that Digits holds every stored digit, and brings
// Significant_Fractional_Digits up to date. Appending may go on afterwards.
constexpr void Flush(Packed_Decimal& Self) {
    const Detail::Open_Word open = Detail::open_word(Self);
    if (open.Count != 0) {
        Self.Digits[static_cast<std::size_t>(open.Index)] =
            Detail::from_top(Self.Filling, open.Count);
    }
    Self.Significant_Fractional_Digits = Significant_Fraction(Self);
}

// Empties the decimal. The digit words are left as they are: every word is rewritten from its
// first position on before it is read.
inline void Clear(Packed_Decimal& Self) {
    Self.Filling = 0;
    Self.Integral_Stop = 0;
    Self.Fraction_Stop = 0;
    Self.Integral_Digits = 0;
    Self.Point = -1;
    Self.Fractional_Digits = 0;
    Self.Significant_Fractional_Digits = 0;
    Self.Exponent_Adjust = 0;
    Self.Truncated = false;
    Self.Dropped_Non_Zero = false;
}

// Adds a digit (0 .. 9, Constraint_Error otherwise) of the integer part. Leading zeros are
// skipped; beyond the capacity the digit is counted and dropped.
inline void Append_Integral(Packed_Decimal& Self, std::uint32_t Digit) {
    if (Digit > 9) {
        Detail::raise_bad_digit();
    }
    const std::int32_t stored = Self.Integral_Digits;
    if (stored < Self.Integral_Stop) [[likely]] {
        Self.Filling = Detail::shift_in(Self.Filling, Digit);
        Self.Integral_Digits = stored + 1;
    } else if (stored == 0) {
        // A leading zero is skipped.
        if (Digit != 0) {
            Self.Filling = Detail::shift_in(0, Digit);
            Self.Integral_Digits = 1;
            Self.Integral_Stop = Detail::stop_after(0, 0);
        }
    } else if (stored < Digit_Capacity) {
        // The word in Filling is complete (the capacity is a multiple of 16).
        Self.Digits[static_cast<std::uint32_t>(stored) / 16 - 1] = Self.Filling;
        Self.Filling = Detail::shift_in(0, Digit);
        Self.Integral_Digits = stored + 1;
        Self.Integral_Stop = Detail::stop_after(stored, static_cast<std::uint32_t>(stored));
    } else {
        Self.Integral_Digits = Checked::Add(stored, 1);
        Self.Exponent_Adjust = Checked::Add(Self.Exponent_Adjust, 1);
        Self.Truncated = true;
        Self.Dropped_Non_Zero = Self.Dropped_Non_Zero || Digit != 0;
    }
}

// Marks the start of the fraction: it begins on the next word boundary after the integer part,
// whose last word goes to the store. Filling keeps it: the fraction's first digits are shifted
// in above it, so that a short number's digits end up in one word. A second call changes
// nothing.
inline void Append_Decimal_Point(Packed_Decimal& Self) {
    if (Self.Point >= 0) {
        return;
    }
    Flush(Self);
    const std::int32_t integral = Self.Integral_Digits;
    Self.Point = static_cast<std::int32_t>((static_cast<std::uint32_t>(integral) + 15) / 16);
    // After integer digits, the fraction's digits up to the end of its first word (or of the
    // capacity) need no decision; a pure fraction's first digit may be a leading zero.
    if (integral > 0 && integral < Digit_Capacity) {
        Self.Fraction_Stop = Detail::stop_after(0, static_cast<std::uint32_t>(integral));
    }
}

// Adds a digit (0 .. 9, Constraint_Error otherwise) of the fraction. Leading zeros of a pure
// fraction only lower the exponent; beyond the capacity the digit is dropped. A digit stored
// before Append_Decimal_Point raises Constraint_Error.
inline void Append_Fractional(Packed_Decimal& Self, std::uint32_t Digit) {
    if (Digit > 9) {
        Detail::raise_bad_digit();
    }
    const std::int32_t fraction = Self.Fractional_Digits;
    if (fraction < Self.Fraction_Stop) [[likely]] {
        // Trailing zeros are told from Filling when needed (see Significant_Fraction).
        Self.Filling = Detail::shift_in(Self.Filling, Digit);
        Self.Fractional_Digits = fraction + 1;
        return;
    }
    // The unsigned sum cannot wrap: the integer count is at most 2**31 - 1 and the fraction
    // count below 784.
    const std::uint32_t stored =
        static_cast<std::uint32_t>(Self.Integral_Digits) + static_cast<std::uint32_t>(fraction);
    if (Self.Integral_Digits == 0 && fraction == 0 && Digit == 0) {
        // A leading zero of a pure fraction.
        Self.Exponent_Adjust = Checked::Subtract(Self.Exponent_Adjust, 1);
    } else if (stored >= std::uint32_t{Digit_Capacity}) {
        // The store is full.
        Self.Truncated = true;
        Self.Dropped_Non_Zero = Self.Dropped_Non_Zero || Digit != 0;
    } else {
        // The first significant digit of a pure fraction (after integer digits, the point set
        // the stop so that the fraction's first word continues theirs), or the first digit of
        // a new word.
        if (Self.Point < 0) {
            Detail::raise_fraction_without_point();
        }
        if (fraction != 0) {
            // The word in Filling is complete.
            Self.Significant_Fractional_Digits = Significant_Fraction(Self);
            Self.Digits[static_cast<std::uint32_t>(Self.Point) +
                        static_cast<std::uint32_t>(fraction) / 16 - 1] = Self.Filling;
        }
        Self.Filling = Detail::shift_in(0, Digit);
        Self.Fractional_Digits = fraction + 1;
        Self.Fraction_Stop = Detail::stop_after(fraction, stored);
    }
}

// The first 19 significant digits (integer part, then fraction) as an integer, the decimal
// scale that goes with them, and whether further non-zero digits were left out.
inline Leading_Digits Decode_As_Integer(const Packed_Decimal& Self) {
    constexpr std::int32_t limit = 19;
    const auto& powers = Numbers::Tables::Powers_Of_10_U64;
    const std::int64_t total = std::int64_t{Self.Integral_Digits} + Significant_Fraction(Self);
    if (total == 0) {
        return {0, Self.Exponent_Adjust, Self.Dropped_Non_Zero};
    }
    std::uint64_t w = 0;
    const std::int32_t integral = std::min(Self.Integral_Digits, limit);
    std::int32_t taken = 0;
    for (std::size_t word = 0; taken < integral; ++word) {
        const std::int32_t k = std::min(16, integral - taken);
        w = w * powers[static_cast<std::size_t>(k)] +
            Group_Value(Stored_Word(Self, static_cast<std::int32_t>(word)), k);
        taken += k;
    }
    if (Self.Integral_Digits > limit) {
        return {w, Self.Integral_Digits - limit, true};
    }
    const auto wanted = static_cast<std::int32_t>(std::min<std::int64_t>(limit, total));
    std::int32_t fraction = 0;
    while (taken < wanted) {
        const std::int32_t k = std::min(16, wanted - taken);
        w = w * powers[static_cast<std::size_t>(k)] +
            Group_Value(Stored_Word(Self, Self.Point + fraction / 16), k);
        taken += k;
        fraction += k;
    }
    return {w, Checked::Subtract(Self.Exponent_Adjust, fraction),
            taken < total || Self.Dropped_Non_Zero};
}

// Result := the significant digits as one integer, all of them (up to the 784 stored). When a
// non-zero digit was dropped, the stored digits including trailing zeros are taken and a final
// digit 1 is appended, which puts the integer strictly between the stored digits and the next
// value up at the last stored position: the comparison with a halfway point between two
// doubles, whose exact decimal has at most 768 significant digits, then comes out as for the
// complete number.
// Exponent is the decimal exponent that goes with W of Decode_As_Integer; the result is the
// exponent that goes with Result.
QORVI_API std::int32_t Decode_As_Big_Integer(const Packed_Decimal& Self, std::int32_t Exponent,
                                             Big_Integers::Big_Integer& Result);

} // namespace Qorvi::Implementation::Packed_Decimals
