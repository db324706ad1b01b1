// Virtual_String_Template: a message template whose placeholders Format fills, in order, from
// up to nine formatters (Qorvi::Strings::Formatters).
//
// Placeholders are written "{" [name] [":" format] "}". The name is not interpreted: the k-th
// placeholder of the text is filled by the k-th formatter, which receives the format text (all
// characters after the first colon up to the closing brace, "{" and ":" included). "{{" writes
// "{"; a "}" outside a placeholder is copied as it is.
//
// Format never fails on the template text: placeholders beyond the formatters given produce
// nothing, and an unfinished placeholder at the end of the text is dropped. Formatters beyond
// the placeholders are not called. An exception raised by a formatter reaches the caller
// unchanged.
//
//   To_Virtual_String_Template (U"{name} is {age:05}")
//       .Format (Formatters::Strings::Image (name), Formatters::Integers::Image (42))
#pragma once

#include <array>
#include <concepts>
#include <qorvi/formatters/strings-formatters.hpp>
#include <qorvi/strings/strings.hpp>
#include <string_view>

namespace Qorvi::Strings::Templates {

// Non-owning references to the formatters of one Format call; entry k - 1 fills the k-th
// placeholder (the array is 0-based), and a null entry ends the filling.
using Formatter_Array = std::array<const Formatters::Abstract_Formatter*, 9>;

class QORVI_API Virtual_String_Template {
public:
    // The template with an empty text.
    Virtual_String_Template() = default;

    // The text with its placeholders filled by Parameters, one per placeholder in text order
    // (one to nine formatters). Each formatter is called at most once, for the placeholder it
    // fills.
    template <typename... Formatter_Types>
    requires(sizeof...(Formatter_Types) >= 1 && sizeof...(Formatter_Types) <= 9 &&
             (std::derived_from<Formatter_Types, Formatters::Abstract_Formatter> &&
              ...)) Virtual_String Format(const Formatter_Types&... Parameters)
    const {
        const Formatter_Array parameters{
            static_cast<const Formatters::Abstract_Formatter*>(&Parameters)...};
        return Format(parameters);
    }

    // The same with the formatters in an array: filling stops at the first null entry.
    Virtual_String Format(const Formatter_Array& Parameters) const;

    // Equal texts.
    friend QORVI_API bool operator==(const Virtual_String_Template& Left,
                                     const Virtual_String_Template& Right) noexcept;

private:
    friend QORVI_API Virtual_String_Template To_Virtual_String_Template(std::u32string_view Item);

    Virtual_String text;
};

// The template whose text is Item. A surrogate or a value above 0x10FFFF raises
// Constraint_Error "Ill-formed UTF-32 data".
QORVI_API Virtual_String_Template To_Virtual_String_Template(std::u32string_view Item);

} // namespace Qorvi::Strings::Templates
