// Line terminators and sets of them (part of the Qorvi.Strings vocabulary, in its own header so
// that string vectors and the line searches can use it without the whole string API).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Strings {

// The terminators a line may end with. The order is significant: a set stores member i as
// bit i.
enum class Line_Terminator : std::uint8_t {
    CR,   // U+000D
    LF,   // U+000A
    CRLF, // U+000D U+000A
    NEL,  // U+0085
    VT,   // U+000B
    FF,   // U+000C
    LS,   // U+2028
    PS,   // U+2029
};

// "CR", "LF", "CRLF", ...; Constraint_Error for a value outside the enumeration.
QORVI_API const char* Image(Line_Terminator Item);

// A set of line terminators, stored as one byte (bit i = the terminator with value i). The
// default value is the empty set.
class Line_Terminator_Set {
public:
    constexpr Line_Terminator_Set() noexcept = default;
    constexpr Line_Terminator_Set(std::initializer_list<Line_Terminator> Members) noexcept {
        for (const Line_Terminator member : Members) {
            Bits = static_cast<std::uint8_t>(Bits | bit(member));
        }
    }

    constexpr bool Contains(Line_Terminator Member) const noexcept {
        return (Bits & bit(Member)) != 0;
    }
    constexpr bool Is_Empty() const noexcept { return Bits == 0; }
    // The stored byte.
    constexpr std::uint8_t To_Byte() const noexcept { return Bits; }

    friend constexpr bool operator==(Line_Terminator_Set, Line_Terminator_Set) = default;
    friend constexpr Line_Terminator_Set operator|(Line_Terminator_Set Left,
                                                   Line_Terminator_Set Right) noexcept {
        Line_Terminator_Set result;
        result.Bits = static_cast<std::uint8_t>(Left.Bits | Right.Bits);
        return result;
    }

private:
    static constexpr std::uint8_t bit(Line_Terminator member) noexcept {
        return static_cast<std::uint8_t>(1u << (static_cast<unsigned>(member) & 7u));
    }

    std::uint8_t Bits = 0;
};

// CR, LF, CR LF and NEL: the terminators of the new line function.
inline constexpr Line_Terminator_Set New_Line_Function{Line_Terminator::CR, Line_Terminator::LF,
                                                       Line_Terminator::CRLF, Line_Terminator::NEL};
static_assert(New_Line_Function.To_Byte() == 0x0F);

} // namespace Qorvi::Strings
