// The Eisel-Lemire conversion of W * 10**Q to the nearest double with a 128-bit product, and
// the exact digit comparison that decides the rare cases it leaves open.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <qorvi/export.hpp>
#include <qorvi/numbers/implementation-arithmetic_64.hpp>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-numbers-tables.hpp>

namespace Qorvi::Implementation::Numbers {

// A double as (mantissa, biased exponent): Mantissa holds the 52 stored bits of a finished
// result, Power the biased exponent 0 .. 2047 (2047 with mantissa 0 is infinity). A negative
// Power marks an approximation that the exact digit comparison must still decide. (Declared
// with the conversion that produces it; implementation-numbers.hpp includes this header.)
struct Decoded_Float {
    std::uint64_t Mantissa = 0;
    std::int32_t Power = 0;

    friend constexpr bool operator==(const Decoded_Float&, const Decoded_Float&) = default;
};

} // namespace Qorvi::Implementation::Numbers

namespace Qorvi::Implementation::Numbers::Eisel_Lemire {

// Added to the power of an undecided result to make it negative.
inline constexpr std::int32_t Undecided_Bias = 32768;

// A binary value Mantissa * 2**Exponent.
struct Binary_Value {
    std::uint64_t Mantissa;
    std::int32_t Exponent;

    friend constexpr bool operator==(const Binary_Value&, const Binary_Value&) = default;
};

namespace Detail {

[[noreturn]] QORVI_API void raise_power_of_ten_out_of_range();
[[noreturn]] QORVI_API void raise_exponent_out_of_range();

inline constexpr std::int32_t mantissa_bits = 52;
inline constexpr std::int32_t infinite_power = 2047;
inline constexpr std::uint64_t hidden_bit = std::uint64_t{1} << mantissa_bits;

} // namespace Detail

// W (bit 63 set) times the table entry for Q (-342 .. 308, Constraint_Error otherwise), to 128
// bits; the low half of the entry is used only when the high half of the product leaves the
// result in doubt.
inline Arithmetic_64::Unsigned_128 Compute_Product_Approximation(std::uint64_t W, std::int32_t Q) {
    if (Q < Tables::Smallest_Power_Of_Ten || Q > Tables::Largest_Power_Of_Ten) [[unlikely]] {
        Detail::raise_power_of_ten_out_of_range();
    }
    const Tables::Powers_Of_Five_Record& entry =
        Tables::Powers_Of_Five[static_cast<std::size_t>(Q - Tables::Smallest_Power_Of_Ten)];
    // 53 bits of mantissa, one to tell where the top bit is, one for rounding: the remaining
    // 9 bits of the high half show whether the low half of the entry can still matter.
    constexpr std::uint64_t precision_mask = 0x1FF;
    Arithmetic_64::Unsigned_128 first = Arithmetic_64::Multiply(W, entry.High);
    if ((first.High & precision_mask) == precision_mask) {
        const Arithmetic_64::Unsigned_128 second = Arithmetic_64::Multiply(W, entry.Low);
        first.Low += second.High;
        if (first.Low < second.High) {
            ++first.High;
        }
    }
    return first;
}

// floor(Q * log2(10)) + 63, for Q = -9864 .. 9864 (Constraint_Error otherwise).
inline std::int32_t Exponent_To_Power(std::int32_t Q) {
    if (Q < -9864 || Q > 9864) [[unlikely]] {
        Detail::raise_exponent_out_of_range();
    }
    // 217706 / 2**16 is log2(10) closely enough for exact floors in this range.
    return ((Q * 217706) >> 16) + 63;
}

// The undecided approximation from the high half W of a product of a mantissa normalised by
// Leading_Zeros bits: an extended value (see Scale_Positive) whose power is lowered by
// Undecided_Bias.
QORVI_API Decoded_Float Compute_Error_Scaled(std::int32_t Q, std::uint64_t W,
                                             std::int32_t Leading_Zeros);

// The nearest double to W * 10**Q (W != 0, Q = -342 .. 308, Constraint_Error otherwise), or
// an undecided approximation (negative Power, see Compute_Error_Scaled).
inline Decoded_Float Convert(std::uint64_t W, std::int32_t Q) {
    using Detail::hidden_bit;
    if (W == 0) {
        return {0, 0};
    }
    const auto lz = static_cast<std::int32_t>(std::countl_zero(W));
    W <<= lz;
    const Arithmetic_64::Unsigned_128 product = Compute_Product_Approximation(W, Q);
    // A low half of all ones may be an underestimate that a carry from below would change;
    // within -27 .. 55 the product is exact enough for that never to matter.
    if (product.Low == ~std::uint64_t{0} && (Q < -27 || Q > 55)) {
        return Compute_Error_Scaled(Q, product.High, lz);
    }
    const auto upper = static_cast<std::int32_t>(product.High >> 63);
    std::uint64_t mantissa = product.High >> (upper + 9);
    std::int32_t power = Exponent_To_Power(Q) + upper - lz + 1023;
    if (power <= 0) { // subnormal or zero
        if (1 - power >= 64) {
            return {0, 0};
        }
        mantissa >>= 1 - power;
        mantissa += mantissa & 1;
        mantissa >>= 1;
        return {mantissa, mantissa < hidden_bit ? 0 : 1};
    }
    // An exact tie between two doubles (possible only for small exponents) rounds to even: the
    // rounding bit is set and nothing below it is.
    if (product.Low <= 1 && Q >= -4 && Q <= 23 && (mantissa & 3) == 1 &&
        (mantissa << (upper + 9)) == product.High) {
        mantissa &= ~std::uint64_t{1};
    }
    mantissa += mantissa & 1;
    mantissa >>= 1;
    if (mantissa >= 2 * hidden_bit) {
        mantissa = hidden_bit;
        ++power;
    }
    mantissa &= ~hidden_bit;
    if (power >= Detail::infinite_power) {
        return {0, Detail::infinite_power};
    }
    return {mantissa, power};
}

// The undecided approximation of W * 10**Q for the digit comparison.
QORVI_API Decoded_Float Compute_Error(std::int32_t Q, std::uint64_t W);

// D = Mantissa * 2**Exponent, for a finite non-negative D.
QORVI_API Binary_Value Decode_IEEE_Float(double D);

// The point halfway between D and the next double up.
QORVI_API Binary_Value Halfway(double D);

// The nearest double to Big * 10**E, E >= 0. Extended values: a 64-bit mantissa M and power P
// stand for M * 2**(P - 1075).
QORVI_API Decoded_Float Scale_Positive(Big_Integers::Big_Integer& Big, std::int32_t E);

// The nearest double to Big * 10**E, E < 0, given the undecided approximation with its power
// restored (an extended value). Big is scaled in place.
QORVI_API Decoded_Float Scale_Negative(Big_Integers::Big_Integer& Big, std::int32_t E,
                                       Decoded_Float Approximation);

} // namespace Qorvi::Implementation::Numbers::Eisel_Lemire
