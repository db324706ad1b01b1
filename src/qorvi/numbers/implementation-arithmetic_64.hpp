// 64 x 64 -> 128-bit unsigned products for the number conversion.
#pragma once

#include <cstdint>

namespace Qorvi::Implementation::Arithmetic_64 {

// A 128-bit unsigned value as two halves.
struct Unsigned_128 {
    std::uint64_t Low;
    std::uint64_t High;

    friend constexpr bool operator==(const Unsigned_128&, const Unsigned_128&) = default;
};

namespace Detail {
__extension__ using U128 = unsigned __int128;
} // namespace Detail

// The full product A * B.
constexpr Unsigned_128 Multiply(std::uint64_t A, std::uint64_t B) {
    const Detail::U128 product = static_cast<Detail::U128>(A) * B;
    return {static_cast<std::uint64_t>(product), static_cast<std::uint64_t>(product >> 64)};
}

// A * B + C; never overflows 128 bits.
constexpr Unsigned_128 Multiply_Add(std::uint64_t A, std::uint64_t B, std::uint64_t C) {
    const Detail::U128 product = static_cast<Detail::U128>(A) * B + C;
    return {static_cast<std::uint64_t>(product), static_cast<std::uint64_t>(product >> 64)};
}

} // namespace Qorvi::Implementation::Arithmetic_64
