// Conversion flags shared by the decoders and encoders, and the normalisation of encoding
// labels.
#pragma once

#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/strings.hpp>
#include <string>
#include <string_view>

namespace Qorvi::Strings::Converters {

enum class Converter_Flag : std::uint8_t {
    // Every Decode call ends the data: a sequence left unfinished at the end of a call is an
    // error of that call instead of being carried to the next one.
    STATELESS,
    // Stop at the first error: it is recorded, no U+FFFD is written for it, and nothing more is
    // decoded until Reset_State. Without it every error writes one U+FFFD and decoding goes on.
    STOP_ON_ERROR,
    // The UTF-8 decoder drops a byte order mark at the start of the data; the UTF-8 encoder
    // writes one before the first character. Other decoders ignore it.
    PROCESS_BOM,
};

// A set of Converter_Flag, one bit per flag in one byte: bit 0 STATELESS, bit 1 STOP_ON_ERROR,
// bit 2 PROCESS_BOM. Build one from flags with |, for example
// Converter_Flag::STOP_ON_ERROR | Converter_Flag::PROCESS_BOM.
class Converter_Flags {
public:
    constexpr Converter_Flags() noexcept = default;
    constexpr Converter_Flags(Converter_Flag Flag) noexcept // NOLINT: a flag is a one-flag set
        : Bits(static_cast<std::uint8_t>(1U << static_cast<unsigned>(Flag))) {}

    // Whether Flag is in the set.
    constexpr bool operator[](Converter_Flag Flag) const noexcept {
        return (Bits >> static_cast<unsigned>(Flag) & 1U) != 0;
    }

    // The packed byte (bit i is the flag of position i).
    constexpr std::uint8_t To_Byte() const noexcept { return Bits; }

    friend constexpr Converter_Flags operator|(Converter_Flags Left,
                                               Converter_Flags Right) noexcept {
        Converter_Flags result;
        result.Bits = static_cast<std::uint8_t>(Left.Bits | Right.Bits);
        return result;
    }
    friend constexpr bool operator==(Converter_Flags, Converter_Flags) noexcept = default;

private:
    std::uint8_t Bits = 0;
};

constexpr Converter_Flags operator|(Converter_Flag Left, Converter_Flag Right) noexcept {
    return Converter_Flags(Left) | Converter_Flags(Right);
}

static_assert(sizeof(Converter_Flags) == 1);

// All flags off.
inline constexpr Converter_Flags Default_Converter_Flags{};

// The normalised form of an encoding label: leading and trailing white space (TAB, LF, FF, CR,
// SPACE) dropped, letters in lower case, the punctuation ! # $ % & ' + - ^ _ ` { } ~ removed,
// and a digit zero removed unless it follows a kept digit. Any other character, or white space
// between other characters, makes the label invalid, and the result is then the empty string.
// 'ISO-8859-1' gives "iso88591", 'UTF-08' gives "utf8", 'utf 8' gives "". Never raises.
QORVI_API Virtual_String To_Encoding_Name(const Virtual_String& Label);

} // namespace Qorvi::Strings::Converters

// For the library's own units.
namespace Qorvi::Strings::Converters::Internals {

// To_Encoding_Name on the UTF-8 bytes of a label.
QORVI_API std::string To_Encoding_Name(std::string_view Label);

} // namespace Qorvi::Strings::Converters::Internals
