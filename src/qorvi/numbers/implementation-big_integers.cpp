#include <algorithm>
#include <bit>
#include <cstddef>
#include <qorvi/numbers/implementation-arithmetic_64.hpp>
#include <qorvi/numbers/implementation-big_integers.hpp>
#include <qorvi/numbers/implementation-numbers-tables.hpp>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Big_Integers {

namespace {

using Arithmetic_64::Multiply_Add;

[[noreturn]] void raise_capacity() {
    throw Constraint_Error("big integer capacity exceeded");
}

std::size_t index(std::int32_t i) {
    return static_cast<std::size_t>(i);
}

// Appends a limb above the current top.
void push(Big_Integer& self, std::uint64_t limb) {
    if (self.Last + 1 >= Limb_Count) {
        raise_capacity();
    }
    ++self.Last;
    self.Limbs[index(self.Last)] = limb;
}

// Self := Self * the multi-limb value Factor (non-zero, most significant limb non-zero). The
// limbs are processed from the top down: the partial product of limb i only touches limbs
// from i upwards, which hold results already, while the limbs below i are still the original
// ones.
void multiply_limbs(Big_Integer& self, const std::uint64_t* factor, std::int32_t factor_length) {
    if (self.Last < 0) {
        return;
    }
    if (self.Last + factor_length >= Limb_Count + 1) {
        raise_capacity();
    }
    const std::int32_t old_last = self.Last;
    // The product has at most old_last + factor_length + 1 limbs; clear the new ones.
    const std::int32_t new_last = std::min(old_last + factor_length, Limb_Count - 1);
    for (std::int32_t i = old_last + 1; i <= new_last; ++i) {
        self.Limbs[index(i)] = 0;
    }
    for (std::int32_t i = old_last; i >= 0; --i) {
        const std::uint64_t x = self.Limbs[index(i)];
        self.Limbs[index(i)] = 0;
        if (x == 0) {
            continue;
        }
        std::uint64_t carry = 0;
        std::int32_t j = 0;
        for (; j < factor_length; ++j) {
            const auto product = Multiply_Add(x, factor[j], self.Limbs[index(i + j)]);
            const std::uint64_t low = product.Low + carry;
            carry = product.High + (low < carry ? 1 : 0);
            self.Limbs[index(i + j)] = low;
        }
        for (std::int32_t k = i + j; carry != 0; ++k) {
            if (k > new_last) {
                raise_capacity();
            }
            const std::uint64_t sum = self.Limbs[index(k)] + carry;
            carry = sum < carry ? 1 : 0;
            self.Limbs[index(k)] = sum;
        }
    }
    self.Last = new_last;
    while (self.Last >= 0 && self.Limbs[index(self.Last)] == 0) {
        --self.Last;
    }
}

} // namespace

void Set(Big_Integer& Self, std::uint64_t Value) {
    if (Value == 0) {
        Self.Last = -1;
    } else {
        Self.Limbs[0] = Value;
        Self.Last = 0;
    }
}

void Add(Big_Integer& Self, std::uint64_t Value) {
    if (Self.Last < 0) {
        Set(Self, Value);
        return;
    }
    std::uint64_t carry = Value;
    for (std::int32_t i = 0; i <= Self.Last && carry != 0; ++i) {
        const std::uint64_t sum = Self.Limbs[index(i)] + carry;
        carry = sum < carry ? 1 : 0;
        Self.Limbs[index(i)] = sum;
    }
    if (carry != 0) {
        push(Self, carry);
    }
}

void Multiply(Big_Integer& Self, std::uint64_t Value) {
    if (Value == 0) {
        Self.Last = -1;
        return;
    }
    std::uint64_t carry = 0;
    for (std::int32_t i = 0; i <= Self.Last; ++i) {
        const auto product = Multiply_Add(Self.Limbs[index(i)], Value, carry);
        Self.Limbs[index(i)] = product.Low;
        carry = product.High;
    }
    if (carry != 0) {
        push(Self, carry);
    }
}

void Multiply_Power_2(Big_Integer& Self, std::int32_t N) {
    if (N < 0) {
        throw Constraint_Error("negative power of two");
    }
    if (Self.Last < 0 || N == 0) {
        return;
    }
    const std::int32_t limb_shift = N / 64;
    const auto bit_shift = static_cast<unsigned>(N % 64);
    if (bit_shift != 0) {
        std::uint64_t carry = 0;
        for (std::int32_t i = 0; i <= Self.Last; ++i) {
            const std::uint64_t limb = Self.Limbs[index(i)];
            Self.Limbs[index(i)] = (limb << bit_shift) | carry;
            carry = limb >> (64 - bit_shift);
        }
        if (carry != 0) {
            push(Self, carry);
        }
    }
    if (limb_shift != 0) {
        if (Self.Last >= Limb_Count - limb_shift) {
            raise_capacity();
        }
        for (std::int32_t i = Self.Last; i >= 0; --i) {
            Self.Limbs[index(i + limb_shift)] = Self.Limbs[index(i)];
        }
        std::fill_n(Self.Limbs.begin(), limb_shift, std::uint64_t{0});
        Self.Last += limb_shift;
    }
}

void Multiply_Power_5(Big_Integer& Self, std::int32_t N) {
    if (N < 0) {
        throw Constraint_Error("negative power of five");
    }
    using Numbers::Tables::Power_Of_5_135;
    using Numbers::Tables::Powers_Of_5_U64;
    while (N >= 135) {
        multiply_limbs(Self, Power_Of_5_135.data(),
                       static_cast<std::int32_t>(Power_Of_5_135.size()));
        N -= 135;
    }
    while (N >= 27) {
        Multiply(Self, Powers_Of_5_U64[27]);
        N -= 27;
    }
    if (N > 0) {
        Multiply(Self, Powers_Of_5_U64[index(N)]);
    }
}

void Multiply_Power_10(Big_Integer& Self, std::int32_t N) {
    Multiply_Power_5(Self, N);
    Multiply_Power_2(Self, N);
}

Compare_Kind Compare(const Big_Integer& Left, const Big_Integer& Right) {
    if (Left.Last != Right.Last) {
        return Left.Last < Right.Last ? Compare_Kind::LESS : Compare_Kind::GREATER;
    }
    for (std::int32_t i = Left.Last; i >= 0; --i) {
        const std::uint64_t l = Left.Limbs[index(i)];
        const std::uint64_t r = Right.Limbs[index(i)];
        if (l != r) {
            return l < r ? Compare_Kind::LESS : Compare_Kind::GREATER;
        }
    }
    return Compare_Kind::EQUAL;
}

bool Non_Zero(const Big_Integer& Self, std::int32_t Skip) {
    for (std::int32_t i = Self.Last - Skip; i >= 0; --i) {
        if (Self.Limbs[index(i)] != 0) {
            return true;
        }
    }
    return false;
}

High_64 Get_High_64(const Big_Integer& Self) {
    if (Self.Last < 0) {
        return {0, false};
    }
    const std::uint64_t top = Self.Limbs[index(Self.Last)];
    const auto shift = static_cast<unsigned>(std::countl_zero(top));
    if (Self.Last == 0) {
        return {top << shift, false};
    }
    const std::uint64_t next = Self.Limbs[index(Self.Last - 1)];
    if (shift == 0) {
        return {top, next != 0 || Non_Zero(Self, 2)};
    }
    return {(top << shift) | (next >> (64 - shift)), (next << shift) != 0 || Non_Zero(Self, 2)};
}

std::int32_t Size(const Big_Integer& Self) {
    if (Self.Last < 0) {
        return 0;
    }
    return Self.Last * 64 + 64 - std::countl_zero(Self.Limbs[index(Self.Last)]);
}

} // namespace Qorvi::Implementation::Big_Integers
