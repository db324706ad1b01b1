// Formatters for integer values, over any integer type of up to 64 bits.
//
// Generic_Integers<T> plays the part of a unit: Generic_Integers<T>::Formatter is the formatter
// class and Generic_Integers<T>::Image creates one. Qorvi::Strings::Formatters::Integers is the
// instance for std::int32_t (<qorvi/formatters/strings-formatters-integers.hpp>).
//
// The integer formatter writes its value as the placeholder's format text asks:
//
//   [sign] ["0"] [width] ["#" base] ["_" group [separator]]
//
//   sign       "+": "+" before a value that is not negative; "-": a space there instead.
//              A negative value always gets "-".
//   "0"        pad to the width with zeros after the sign (otherwise with spaces before it).
//   width      minimum count of digit positions (digits and padding zeros; never the sign,
//              spaces or separators), 0 .. 1073741823.
//   base       radix, digits "0" .. "9" then "A" .. "P" (up to base 26); "#" alone is base 0.
//   group      digits per group, 0 .. 1073741823, counted from the right over the digits and
//              padding zeros; separator: the one character after the group digits ("_" when
//              absent).
//
// Parsing stops silently at the first character that does not fit, so "5x9" is width 5 and
// "x5" is the default format. Examples for 1234567: "_3" gives "1_234_567", "010_3," gives
// "0,001,234,567", "10_3," gives "   1,234,567"; for 255: "04#16" gives "00FF".
//
// Errors of Format (the format text is the cause, never the value): a width or group above
// 1073741823, a base above 2147483647, base 0 or 1 with a non-zero value, or a result longer
// than a string can be: Constraint_Error; a digit value above 25 (base above 26): Program_Error.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <qorvi/formatters/implementation-integer_formatting.hpp>
#include <qorvi/formatters/strings-formatters.hpp>
#include <type_traits>

namespace Qorvi::Strings::Formatters {

template <typename Integer_Type>
requires std::integral<Integer_Type> &&
    (!std::same_as<std::remove_cv_t<Integer_Type>, bool>)&&(sizeof(Integer_Type) <=
                                                            8) struct Generic_Integers {
    using Formatter_Options = Implementation::Integer_Formatting::Formatter_Options;
    using Sign_Mode = Implementation::Integer_Formatting::Sign_Mode;

    // Digits the formatter has room for: as many as the type has bits, enough for every value
    // in every base from 2 up (32 for a 32-bit type, 64 for a 64-bit type).
    static constexpr int Digit_Room =
        std::numeric_limits<Integer_Type>::digits + (std::is_signed_v<Integer_Type> ? 1 : 0);

    class Formatter : public Abstract_Formatter {
    public:
        // The value written as Information.Format_String asks; Width and Alignment are ignored.
        Virtual_String Format(const Format_Information& Information) const override {
            bool negative = false;
            auto magnitude = static_cast<std::uint64_t>(value);
            if constexpr (std::is_signed_v<Integer_Type>) {
                // The magnitude of the most negative value is written in full: the unsigned
                // negation of its two's complement pattern is its magnitude.
                negative = value < 0;
                if (negative) {
                    magnitude = ~magnitude + 1;
                }
            }
            return Implementation::Integer_Formatting::Render(
                negative, magnitude,
                Implementation::Integer_Formatting::Parse(Information.Format_String), Digit_Room);
        }
        Virtual_String Name() const override { return name; }

        Formatter(const Formatter&) = default;
        Formatter& operator=(const Formatter&) = default;
        ~Formatter() override = default;

        // Names with equal characters and equal values.
        friend bool operator==(const Formatter& Left, const Formatter& Right) noexcept {
            return Left.value == Right.value && Left.name == Right.name;
        }

    private:
        friend struct Generic_Integers;
        Formatter(const Virtual_String& Name_Value, Integer_Type Item)
            : name(Name_Value), value(Item) {}

        Virtual_String name;
        Integer_Type value;
    };

    // A formatter with an empty name and Item as value.
    static Formatter Image(Integer_Type Item) { return Formatter(Virtual_String(), Item); }
    // A formatter with the given name and Item as value.
    static Formatter Image(const Virtual_String& Name, Integer_Type Item) {
        return Formatter(Name, Item);
    }
};

} // namespace Qorvi::Strings::Formatters
