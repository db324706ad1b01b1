// Constant tables of the decimal to binary conversion. The 128-bit powers of five are written
// at build time by a generator (tools/numbers); the small tables are computed here by the
// compiler.
#pragma once

#include <array>
#include <cstdint>
#include <qorvi/export.hpp>

namespace Qorvi::Implementation::Numbers::Tables {

// A 128-bit value: the high half, then the low half.
struct Powers_Of_Five_Record {
    std::uint64_t High;
    std::uint64_t Low;
};

inline constexpr std::int32_t Smallest_Power_Of_Ten = -342;
inline constexpr std::int32_t Largest_Power_Of_Ten = 308;

// Entry q + 342 for q = -342 .. 308: the leading 128 bits of 5**q for q >= 0 (truncated), and
// for q < 0 a 128-bit approximation of 1 / 5**-q from above, normalised so that bit 127 is set.
extern QORVI_API const std::array<Powers_Of_Five_Record, 651> Powers_Of_Five;

namespace Detail {

template <typename T, std::size_t N>
constexpr std::array<T, N> powers(T base) {
    std::array<T, N> result{};
    T value = 1;
    for (std::size_t i = 0; i < N; ++i) {
        result[i] = value;
        value = static_cast<T>(value * base);
    }
    return result;
}

} // namespace Detail

// The doubles 10**0 .. 10**22, all exact.
inline constexpr std::array<double, 23> Exact_Powers_Of_10 = Detail::powers<double, 23>(10.0);

// 10**0 .. 10**16 as integers (digit-group scaling).
inline constexpr std::array<std::uint64_t, 17> Powers_Of_10_U64 =
    Detail::powers<std::uint64_t, 17>(10);

// 5**0 .. 5**27 as integers; 5**27 = 7450580596923828125 is the largest below 2**64.
inline constexpr std::array<std::uint64_t, 28> Powers_Of_5_U64 =
    Detail::powers<std::uint64_t, 28>(5);

// 5**135 as 64-bit limbs, least significant first.
inline constexpr std::array<std::uint64_t, 5> Power_Of_5_135 = [] {
    std::array<std::uint64_t, 5> limbs{1, 0, 0, 0, 0};
    for (int step = 0; step < 5; ++step) { // 5**27 five times
        std::uint64_t carry = 0;
        for (auto& limb : limbs) {
            __extension__ using U128 = unsigned __int128;
            const U128 product = static_cast<U128>(limb) * Powers_Of_5_U64[27] + carry;
            limb = static_cast<std::uint64_t>(product);
            carry = static_cast<std::uint64_t>(product >> 64);
        }
    }
    return limbs;
}();

static_assert(Powers_Of_5_U64[27] == 7450580596923828125U);
static_assert(Exact_Powers_Of_10[22] == 1e22);

} // namespace Qorvi::Implementation::Numbers::Tables
