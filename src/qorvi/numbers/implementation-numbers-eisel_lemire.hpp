// The Eisel-Lemire conversion of W * 10**Q to the nearest double with a 128-bit product, and
// the exact digit comparison that decides the rare cases it leaves open.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>
#include <qorvi/numbers/implementation-arithmetic_64.hpp>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-numbers.hpp>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Numbers::Eisel_Lemire {

// Added to the power of an undecided result to make it negative.
inline constexpr std::int32_t Undecided_Bias = 32768;

// A binary value Mantissa * 2**Exponent.
struct Binary_Value {
    std::uint64_t Mantissa;
    std::int32_t Exponent;

    friend constexpr bool operator==(const Binary_Value&, const Binary_Value&) = default;
};

// The nearest double to W * 10**Q (W != 0, Q = -342 .. 308, Constraint_Error otherwise), or
// an undecided approximation (negative Power, see Compute_Error_Scaled).
QORVI_API Decoded_Float Convert(std::uint64_t W, std::int32_t Q);

// W (bit 63 set) times the table entry for Q, to 128 bits; the low half of the entry is used
// only when the high half of the product leaves the result in doubt.
QORVI_API Arithmetic_64::Unsigned_128 Compute_Product_Approximation(std::uint64_t W,
                                                                    std::int32_t Q);

// floor(Q * log2(10)) + 63, for Q = -9864 .. 9864 (Constraint_Error otherwise).
QORVI_API std::int32_t Exponent_To_Power(std::int32_t Q);

// The undecided approximation of W * 10**Q for the digit comparison.
QORVI_API Decoded_Float Compute_Error(std::int32_t Q, std::uint64_t W);

// The undecided approximation from the high half W of a product of a mantissa normalised by
// Leading_Zeros bits: an extended value (see Scale_Positive) whose power is lowered by
// Undecided_Bias.
QORVI_API Decoded_Float Compute_Error_Scaled(std::int32_t Q, std::uint64_t W,
                                             std::int32_t Leading_Zeros);

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
