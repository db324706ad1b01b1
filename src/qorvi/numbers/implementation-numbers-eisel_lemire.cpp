#include <bit>
#include <cstddef>
#include <qorvi/numbers/implementation-numbers-eisel_lemire.hpp>
#include <qorvi/numbers/implementation-numbers-tables.hpp>
#include <qorvi/numbers/implementation-numbers.hpp>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Numbers::Eisel_Lemire {

namespace Detail {

void raise_power_of_ten_out_of_range() {
    throw Constraint_Error("power of ten outside -342 .. 308");
}

void raise_exponent_out_of_range() {
    throw Constraint_Error("decimal exponent outside -9864 .. 9864");
}

} // namespace Detail

namespace {

using Detail::hidden_bit;
using Detail::infinite_power;
using Detail::mantissa_bits;
constexpr std::int32_t exponent_bias = 1075; // 1023 + 52

// What a rounding rule is told about the bits it drops.
struct Dropped_Bits {
    bool Above_Half;
    bool Half;
    bool Kept_Odd;
};

// Keeps the top of M after dropping Shift bits (1 .. any), and describes the dropped bits.
struct Shifted {
    std::uint64_t Kept;
    Dropped_Bits Dropped;
};

Shifted shift_right(std::uint64_t m, std::int32_t shift) {
    if (shift > 64) { // all bits dropped, and all of them below half of the kept unit
        return {0, {false, false, false}};
    }
    const std::uint64_t mask = shift == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << shift) - 1;
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const std::uint64_t dropped = m & mask;
    const std::uint64_t kept = shift == 64 ? 0 : m >> shift;
    return {kept, {dropped > half, dropped == half, (kept & 1) != 0}};
}

// Rounds the extended value (M, P), standing for M * 2**(P - 1075), to a double, adding one to
// the kept mantissa when Rule says so.
template <typename Rule>
Decoded_Float round_extended(std::uint64_t m, std::int32_t p, Rule rule) {
    constexpr std::int32_t mantissa_shift = 64 - mantissa_bits - 1; // 11
    if (p <= -mantissa_shift) {                                     // subnormal
        const Shifted s = shift_right(m, 1 - p);
        const std::uint64_t kept = s.Kept + (rule(s.Dropped) ? 1 : 0);
        return {kept, kept < hidden_bit ? 0 : 1};
    }
    const Shifted s = shift_right(m, mantissa_shift);
    std::uint64_t kept = s.Kept + (rule(s.Dropped) ? 1 : 0);
    std::int32_t power = p + mantissa_shift;
    if (kept >= 2 * hidden_bit) {
        kept = hidden_bit;
        ++power;
    }
    kept &= ~hidden_bit;
    if (power >= infinite_power) {
        return {0, infinite_power};
    }
    return {kept, power};
}

} // namespace

Decoded_Float Compute_Error_Scaled(std::int32_t Q, std::uint64_t W, std::int32_t Leading_Zeros) {
    const std::int32_t h = 1 - static_cast<std::int32_t>(W >> 63);
    return {W << h, Exponent_To_Power(Q) + exponent_bias - h - Leading_Zeros - 62 - Undecided_Bias};
}

Decoded_Float Compute_Error(std::int32_t Q, std::uint64_t W) {
    const std::int32_t lz = std::countl_zero(W);
    const auto product = Compute_Product_Approximation(W << lz, Q);
    return Compute_Error_Scaled(Q, product.High, lz);
}

Binary_Value Decode_IEEE_Float(double D) {
    const auto bits = std::bit_cast<std::uint64_t>(D);
    const std::uint64_t fraction = bits & (hidden_bit - 1);
    const auto biased = static_cast<std::int32_t>((bits >> mantissa_bits) & 0x7FF);
    if (biased == 0) {
        return {fraction, 1 - exponent_bias};
    }
    return {fraction | hidden_bit, biased - exponent_bias};
}

Binary_Value Halfway(double D) {
    const Binary_Value value = Decode_IEEE_Float(D);
    return {2 * value.Mantissa + 1, value.Exponent - 1};
}

Decoded_Float Scale_Positive(Big_Integers::Big_Integer& Big, std::int32_t E) {
    Big_Integers::Multiply_Power_10(Big, E);
    const auto top = Big_Integers::Get_High_64(Big);
    const std::int32_t power = Big_Integers::Size(Big) - 64 + exponent_bias;
    return round_extended(top.Bits, power, [&](const Dropped_Bits& d) {
        return d.Above_Half || (d.Half && (top.Truncated || d.Kept_Odd));
    });
}

Decoded_Float Scale_Negative(Big_Integers::Big_Integer& Big, std::int32_t E,
                             Decoded_Float Approximation) {
    // b: the approximation rounded down; the exact value lies on one side of b's upper
    // halfway point or the other.
    const Decoded_Float below = round_extended(Approximation.Mantissa, Approximation.Power,
                                               [](const Dropped_Bits&) { return false; });
    const double b = Encode_IEEE_Float(below.Mantissa, below.Power, false);
    const Binary_Value halfway = Halfway(b);
    // Big * 10**E against halfway.Mantissa * 2**halfway.Exponent, both scaled by 10**-E.
    Big_Integers::Big_Integer theory;
    Big_Integers::Set(theory, halfway.Mantissa);
    Big_Integers::Multiply_Power_5(theory, -E);
    const std::int32_t power_2 = halfway.Exponent - E;
    if (power_2 > 0) {
        Big_Integers::Multiply_Power_2(theory, power_2);
    } else if (power_2 < 0) {
        Big_Integers::Multiply_Power_2(Big, -power_2);
    }
    const Big_Integers::Compare_Kind order = Big_Integers::Compare(Big, theory);
    return round_extended(Approximation.Mantissa, Approximation.Power,
                          [order](const Dropped_Bits& d) {
                              switch (order) {
                              case Big_Integers::Compare_Kind::GREATER:
                                  return true;
                              case Big_Integers::Compare_Kind::LESS:
                                  return false;
                              case Big_Integers::Compare_Kind::EQUAL:
                                  break;
                              }
                              return d.Kept_Odd;
                          });
}

} // namespace Qorvi::Implementation::Numbers::Eisel_Lemire
