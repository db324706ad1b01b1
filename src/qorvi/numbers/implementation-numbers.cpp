#include <limits>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-numbers-clinger.hpp>
#include <qorvi/numbers/implementation-numbers-eisel_lemire.hpp>
#include <qorvi/numbers/implementation-numbers.hpp>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Numbers {

namespace {

using Kind = JSON_Number_Kind;

Classified_Number zero(bool minus) {
    return {Kind::JSON_FLOAT, 0, minus ? -0.0 : 0.0};
}

constexpr Classified_Number out_of_range{Kind::OUT_OF_RANGE, 0, 0.0};

// The nearest double to the decimal whose leading digits are lead, at decimal exponent q
// (-342 .. 308, lead.W != 0): Clinger's fast path, then Eisel-Lemire, then, for the cases
// the 128-bit product leaves open, the exact comparison with the halfway point.
Decoded_Float convert(const Packed_Decimals::Packed_Decimal& decimal,
                      const Packed_Decimals::Leading_Digits& lead, std::int32_t q) {
    Decoded_Float result = Eisel_Lemire::Convert(lead.W, q);
    if (lead.Inexact && result != Eisel_Lemire::Convert(lead.W + 1, q)) {
        // The digits left out put the value between W and W + 1, whose doubles differ.
        result = Eisel_Lemire::Compute_Error(q, lead.W);
    }
    if (result.Power >= 0) {
        return result;
    }
    result.Power += Eisel_Lemire::Undecided_Bias;
    Big_Integers::Big_Integer big;
    const std::int32_t exponent = Packed_Decimals::Decode_As_Big_Integer(decimal, q, big);
    return exponent < 0 ? Eisel_Lemire::Scale_Negative(big, exponent, result)
                        : Eisel_Lemire::Scale_Positive(big, exponent);
}

} // namespace

namespace Detail {

void raise_biased_exponent_out_of_range() {
    throw Constraint_Error("biased exponent outside 0 .. 2047");
}

Classified_Number classify_general(Parsing_State Self) {
    const Packed_Decimals::Packed_Decimal& decimal = Self.Decimal;
    if (Self.Error != Parsing_Error_States::NOT_A_ERROR) {
        // An exponent of ten or more significant digits: its magnitude is at least 10**9. A
        // zero stays zero; a negative exponent that large makes any mantissa of fewer than
        // 10**9 - 342 integer digits smaller than half the smallest subnormal. Otherwise the
        // value is beyond the largest double or, for absurdly long mantissas, cannot be told.
        if (Self.Error == Parsing_Error_States::OUT_OF_RANGE && Self.Exponential) {
            const bool all_zero =
                decimal.Integral_Digits == 0 && Packed_Decimals::Significant_Fraction(decimal) == 0;
            if (all_zero ||
                (Self.Exponent_Minus && decimal.Integral_Digits <= 1'000'000'000 - 343)) {
                return zero(Self.Minus);
            }
        }
        return out_of_range;
    }
    const Packed_Decimals::Leading_Digits lead = Packed_Decimals::Decode_As_Integer(decimal);
    const std::int64_t e =
        std::int64_t{lead.Scale} +
        (Self.Exponent_Minus ? -std::int64_t{Self.Exponent} : std::int64_t{Self.Exponent});
    if (!Self.Fractional && !Self.Exponential) {
        if (e != 0 || lead.Inexact) {
            return out_of_range;
        }
        constexpr auto largest =
            static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        if (Self.Minus ? lead.W > largest + 1 : lead.W > largest) {
            return out_of_range;
        }
        // For W = 2**63 the negation wraps to -2**63, as intended.
        return {Kind::JSON_INTEGER, static_cast<std::int64_t>(Self.Minus ? 0 - lead.W : lead.W),
                0.0};
    }
    if (lead.W == 0 || e < Tables::Smallest_Power_Of_Ten) {
        return zero(Self.Minus);
    }
    if (e > Tables::Largest_Power_Of_Ten) {
        return out_of_range;
    }
    const auto q = static_cast<std::int32_t>(e);
    if (!lead.Inexact) {
        const Clinger::Conversion_Result fast = Clinger::Convert(lead.W, q);
        if (fast.Success) {
            return {Kind::JSON_FLOAT, 0, Self.Minus ? -fast.Value : fast.Value};
        }
    }
    const Decoded_Float result = convert(decimal, lead, q);
    if (result.Power >= 2047) {
        return out_of_range;
    }
    return {Kind::JSON_FLOAT, 0, Encode_IEEE_Float(result.Mantissa, result.Power, Self.Minus)};
}

} // namespace Detail

bool operator==(const JSON_Number& Left, const JSON_Number& Right) noexcept {
    if (Left.Kind != Right.Kind) {
        return false;
    }
    switch (Left.Kind) {
    case JSON_Number_Kind::NONE:
        return true;
    case JSON_Number_Kind::JSON_INTEGER:
        return Left.Integer_Value == Right.Integer_Value && Left.String_Value == Right.String_Value;
    case JSON_Number_Kind::JSON_FLOAT:
        return Left.Float_Value == Right.Float_Value && Left.String_Value == Right.String_Value;
    case JSON_Number_Kind::OUT_OF_RANGE:
        return Left.String_Value == Right.String_Value;
    }
    return false;
}

} // namespace Qorvi::Implementation::Numbers
