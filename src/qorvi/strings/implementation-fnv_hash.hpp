// The 64-bit FNV-1a hash generator used for string hash values.
#pragma once

#include <cstdint>
#include <span>

namespace Qorvi::Implementation::FNV_Hash {

inline constexpr std::uint64_t Offset_Basis_64 = 0xCBF2'9CE4'8422'2325;
inline constexpr std::uint64_t FNV_Prime_64 = 0x0000'0100'0000'01B3;

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
    constexpr void Hash(std::uint32_t Value) noexcept {
        Hash(static_cast<std::uint8_t>(Value));
        Hash(static_cast<std::uint8_t>(Value >> 8));
        Hash(static_cast<std::uint8_t>(Value >> 16));
        Hash(static_cast<std::uint8_t>(Value >> 24));
    }

    constexpr std::uint64_t Value() const noexcept { return state; }

private:
    std::uint64_t state = Offset_Basis_64;
};

} // namespace Qorvi::Implementation::FNV_Hash
