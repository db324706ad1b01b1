// A fixed-capacity unsigned big integer for the exact digit comparison of the decimal to
// binary conversion. It lives in its user's stack frame: nothing is allocated.
#pragma once

#include <array>
#include <cstdint>
#include <qorvi/export.hpp>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Big_Integers {

inline constexpr std::int32_t Limb_Count = 250; // 16,000 bits

using Limb_Array = std::array<std::uint64_t, Limb_Count>;

struct Big_Integer {
    // Least significant limb first; limbs above Last are not part of the value.
    Limb_Array Limbs{};
    // Index of the most significant limb in use; -1 for zero.
    std::int32_t Last = -1;
};

enum class Compare_Kind : std::uint8_t { LESS, EQUAL, GREATER };

// The top 64 bits of a value, shifted so that bit 63 is set, and whether any bit below them is
// set.
struct High_64 {
    std::uint64_t Bits;
    bool Truncated;
};

// Every operation that would need more than Limb_Count limbs raises Constraint_Error.

// Self := Value.
QORVI_API void Set(Big_Integer& Self, std::uint64_t Value);
// Self := Self + Value.
QORVI_API void Add(Big_Integer& Self, std::uint64_t Value);
// Self := Self * Value.
QORVI_API void Multiply(Big_Integer& Self, std::uint64_t Value);
// Self := Self * 2**N (N >= 0).
QORVI_API void Multiply_Power_2(Big_Integer& Self, std::int32_t N);
// Self := Self * 5**N (N >= 0).
QORVI_API void Multiply_Power_5(Big_Integer& Self, std::int32_t N);
// Self := Self * 10**N (N >= 0).
QORVI_API void Multiply_Power_10(Big_Integer& Self, std::int32_t N);
QORVI_API Compare_Kind Compare(const Big_Integer& Left, const Big_Integer& Right);
QORVI_API High_64 Get_High_64(const Big_Integer& Self);
// Whether any limb below the top Skip limbs is non-zero.
QORVI_API bool Non_Zero(const Big_Integer& Self, std::int32_t Skip);
// The number of bits of the value (0 for zero).
QORVI_API std::int32_t Size(const Big_Integer& Self);

} // namespace Qorvi::Implementation::Big_Integers
