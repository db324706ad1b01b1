#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-packed_decimals.hpp>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Packed_Decimals {

namespace Detail {

void raise_bad_digit() {
    throw Constraint_Error("not a decimal digit");
}

void raise_fraction_without_point() {
    throw Constraint_Error("fraction digit before the decimal point");
}

} // namespace Detail

std::int32_t Decode_As_Big_Integer(const Packed_Decimal& Self, std::int32_t Exponent,
                                   Big_Integers::Big_Integer& Result) {
    const auto& powers = Numbers::Tables::Powers_Of_10_U64;
    Big_Integers::Set(Result, 0);
    const auto append = [&](std::uint64_t word, std::int32_t count) {
        Big_Integers::Multiply(Result, powers[static_cast<std::size_t>(count)]);
        Big_Integers::Add(Result, Group_Value(word, count));
    };
    const std::int64_t total = std::int64_t{Self.Integral_Digits} + Significant_Fraction(Self);
    const std::int32_t integral = std::min(Self.Integral_Digits, Digit_Capacity);
    std::int32_t taken = 0;
    for (std::int32_t word = 0; taken < integral; ++word) {
        const std::int32_t k = std::min(16, integral - taken);
        append(Stored_Word(Self, word), k);
        taken += k;
    }
    const std::int32_t fraction_digits =
        Self.Dropped_Non_Zero ? Self.Fractional_Digits : Significant_Fraction(Self);
    for (std::int32_t fraction = 0; fraction < fraction_digits;) {
        const std::int32_t k = std::min(16, fraction_digits - fraction);
        append(Stored_Word(Self, Self.Point + fraction / 16), k);
        fraction += k;
        taken += k;
    }
    if (Self.Dropped_Non_Zero) {
        Big_Integers::Multiply(Result, 10);
        Big_Integers::Add(Result, 1);
        ++taken;
    }
    const auto leading = static_cast<std::int32_t>(std::min<std::int64_t>(total, 19));
    return Checked::Subtract(Checked::Add(Exponent, leading), taken);
}

} // namespace Qorvi::Implementation::Packed_Decimals
