// Conversions between Virtual_String and the standard string forms.
//
// The growable byte string is std::string and the growable UTF-32 string std::u32string; byte
// strings and UTF-32 strings passed in are string views. Caller buffers are spans, indexed from
// 0: where a position is returned ("Last"), it is the offset one past the last element written,
// so an empty text written at From gives Last = From.
#pragma once

#include <cstddef>
#include <qorvi/strings/strings.hpp>
#include <span>
#include <string>
#include <string_view>

namespace Qorvi::Strings::Conversions {

// A string from UTF-8 bytes (one pass: validated and copied). Ill-formed input raises
// Constraint_Error "Ill-formed UTF-8 data". An empty Item gives an empty, non-null string.
QORVI_API Virtual_String To_Virtual_String(std::string_view Item);
// A string from code points. A surrogate or a value above 0x10FFFF raises Constraint_Error
// "Ill-formed UTF-32 data".
QORVI_API Virtual_String To_Virtual_String(const std::u32string& Item);

// The UTF-8 code units of Item (empty for an empty or null Item).
QORVI_API std::string To_UTF_8_String(const Virtual_String& Item);
// One element per character.
QORVI_API std::u32string To_Wide_Wide_String(const Virtual_String& Item);
// As To_UTF_8_String and To_Wide_Wide_String: the result's buffer is sized once and written
// in place.
QORVI_API std::string To_Unbounded_UTF_8_String(const Virtual_String& Item);
QORVI_API std::u32string To_Unbounded_Wide_Wide_String(const Virtual_String& Item);

// Writes the UTF-8 code units into Target, whose size must equal Item's size in code units
// exactly (Constraint_Error otherwise).
QORVI_API void Set_UTF_8_String(const Virtual_String& Item, std::span<char> Target);
// Writes the code units from Target's start; Last := the number written. Constraint_Error
// when Target is too short.
QORVI_API void Set_UTF_8_String(const Virtual_String& Item, std::span<char> Target,
                                std::size_t& Last);
// Writes the code units from offset From; Last := one past the last written (From for an
// empty Item, whatever From is). Constraint_Error when the room from From is too short.
QORVI_API void Set_UTF_8_String(const Virtual_String& Item, std::size_t From,
                                std::span<char> Target, std::size_t& Last);

// The same three forms for code points: one element per character.
QORVI_API void Set_Wide_Wide_String(const Virtual_String& Item, std::span<char32_t> Target);
QORVI_API void Set_Wide_Wide_String(const Virtual_String& Item, std::span<char32_t> Target,
                                    std::size_t& Last);
QORVI_API void Set_Wide_Wide_String(const Virtual_String& Item, std::size_t From,
                                    std::span<char32_t> Target, std::size_t& Last);

} // namespace Qorvi::Strings::Conversions
