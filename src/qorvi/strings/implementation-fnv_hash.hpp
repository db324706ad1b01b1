// The 64-bit FNV-1a hash generator used for string hash values.
#pragma once

#include <cstdint>
#include <span>

namespace Qorvi::Implementation::FNV_Hash {

inline constexpr std::uint64_t Offset_Basis_64 = 0xCBF2'9CE4'8422'2325;
inline constexpr std::uint64_t FNV_Prime_64 = 0x0000'0100'0000'01B3;
// Powers of the prime modulo 2**64.
inline constexpr std::uint64_t FNV_Prime_64_2 = FNV_Prime_64 * FNV_Prime_64;
inline constexpr std::uint64_t FNV_Prime_64_3 = FNV_Prime_64_2 * FNV_Prime_64;
inline constexpr std::uint64_t FNV_Prime_64_4 = FNV_Prime_64_3 * FNV_Prime_64;

// One 64-bit state, starting at the offset basis; each byte fed is xor-ed in and the state is
// multiplied by the prime modulo 2**64.
class FNV_1a_Generator {
public:
    constexpr void Hash(std::uint8_t Byte) noexcept { state = (state ^ Byte) * FNV_Prime_64; }

    constexpr void Hash(std::span<const std::uint8_t> Bytes) noexcept {
        for (const std::uint8_t byte : Bytes) {
            Hash(byte);
        }
    }

    // Feeds the four bytes of a 32-bit value, least significant first (one character of text).
    // Feeding a zero byte only multiplies by the prime, so the zero bytes at the top of a
    // character fold into one multiplication by a power of the prime: an ASCII character costs
    // one multiplication, any character at most three. The result is that of four byte feeds.
    constexpr void Hash(std::uint32_t Value) noexcept {
        if (Value <= 0xFF) {
            state = (state ^ Value) * FNV_Prime_64_4;
        } else if (Value <= 0xFFFF) {
            state = ((state ^ (Value & 0xFF)) * FNV_Prime_64 ^ (Value >> 8)) * FNV_Prime_64_3;
        } else if (Value <= 0xFF'FFFF) {
            std::uint64_t s = (state ^ (Value & 0xFF)) * FNV_Prime_64;
            s = (s ^ ((Value >> 8) & 0xFF)) * FNV_Prime_64;
            state = (s ^ (Value >> 16)) * FNV_Prime_64_2;
        } else {
            Hash(static_cast<std::uint8_t>(Value));
            Hash(static_cast<std::uint8_t>(Value >> 8));
            Hash(static_cast<std::uint8_t>(Value >> 16));
            Hash(static_cast<std::uint8_t>(Value >> 24));
        }
    }

    constexpr std::uint64_t Value() const noexcept { return state; }

private:
    std::uint64_t state = Offset_Basis_64;
};

} // namespace Qorvi::Implementation::FNV_Hash
