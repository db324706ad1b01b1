// The context of a case conversion: three flags that follow the text character by character.
//
// Each character's contextual mapping record carries a six-bit Casing_Context_Change: for each
// flag a "set" bit and a "keep" bit. A flag becomes true at a character whose set bit is on,
// stays true across characters whose keep bit is on, and becomes false at any other character.
// Only Final_Sigma changes a result in this library (full lowercasing of whole strings); the
// other two are carried for language-specific rules that no operation applies.
#pragma once

#include <cstdint>

namespace Qorvi::Implementation::UCD_Casing {

// The six bits of a context change, as they stand (shifted down) in the record.
struct Casing_Context_Change {
    std::uint8_t Bits;

    // Final_Sigma: set at a Cased character that is not Case_Ignorable, kept across
    // Case_Ignorable characters.
    static constexpr std::uint8_t Final_Sigma_Set = 1u << 0;
    static constexpr std::uint8_t Final_Sigma_Keep = 1u << 1;
    // After_Soft_Dotted: set at a Soft_Dotted character, kept across characters whose
    // canonical combining class is neither 0 nor 230.
    static constexpr std::uint8_t After_Soft_Dotted_Set = 1u << 2;
    static constexpr std::uint8_t After_Soft_Dotted_Keep = 1u << 3;
    // After_I: set at U+0049, kept as After_Soft_Dotted is.
    static constexpr std::uint8_t After_I_Set = 1u << 4;
    static constexpr std::uint8_t After_I_Keep = 1u << 5;
};

// The running state of a conversion; all flags are false at the start of a string. The flags
// are packed in the order of the change's pairs: bit 0 Final_Sigma, bit 2 After_Soft_Dotted,
// bit 4 After_I (so that one update handles all three).
struct Casing_Context {
    std::uint8_t Flags = 0;

    constexpr bool Final_Sigma() const noexcept { return (Flags & 0x01u) != 0; }
    constexpr bool After_Soft_Dotted() const noexcept { return (Flags & 0x04u) != 0; }
    constexpr bool After_I() const noexcept { return (Flags & 0x10u) != 0; }
};

// The state after a character with the given change: flag = set or (flag and keep).
constexpr Casing_Context Update(Casing_Context Context, Casing_Context_Change Change) noexcept {
    const unsigned set = Change.Bits & 0x15u;
    const unsigned keep = (static_cast<unsigned>(Change.Bits) >> 1) & 0x15u;
    return Casing_Context{static_cast<std::uint8_t>(set | (Context.Flags & keep))};
}

} // namespace Qorvi::Implementation::UCD_Casing
