// Position records of string data: Cursor names where a character is, counted three ways at
// once; Cursor_Offset is the extent of an inserted or deleted span, counted the same three ways.
// Fixup_Insert and Fixup_Delete move a stored position along with an edit of the text.
#pragma once

#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Strings {

// A position in string data. Index 0 is before the first character, 1 .. Length on that
// character, Length + 1 after the last one. UTF16_Offset >= 0 counts from the start of the text;
// a negative value -k means k UTF-16 code units before the end (positions reached by stepping
// back from the after-last position). The default value is the invalid cursor.
struct Cursor {
    UTF8_Code_Unit_Offset UTF8_Offset = 0x7FFF'FFFF;
    UTF16_Code_Unit_Offset UTF16_Offset = 0x7FFF'FFFF;
    Character_Count Index = 0;

    friend constexpr bool operator==(const Cursor&, const Cursor&) = default;
};

// The extent of a span of text: code units, UTF-16 code units and characters.
struct Cursor_Offset {
    UTF8_Code_Unit_Offset UTF8_Offset = 0;
    UTF16_Code_Unit_Offset UTF16_Offset = 0;
    Character_Offset Index_Offset = 0;

    friend constexpr bool operator==(const Cursor_Offset&, const Cursor_Offset&) = default;
};

inline constexpr Cursor Position_Before_First_Character{-1, -1, 0};

// Answered by element queries where a position holds no character (above every code point).
inline constexpr Virtual_Character No_Character = 0x1FFFFF;

// True exactly for the default (invalid) cursor.
constexpr bool Is_Invalid(const Cursor& Self) noexcept {
    return Self.UTF8_Offset == 0x7FFF'FFFF && Self.UTF16_Offset == 0x7FFF'FFFF && Self.Index == 0;
}

// Moves Self along with an insertion of Size at Start. A cursor before Start keeps its index and
// from-start offsets (its from-the-end offsets grow); a cursor at or after Start (one exactly at
// Start included) moves behind the inserted text. Nothing changes when Size has no character.
// An index leaving 0 .. 2**30-1 or an offset overflowing raises Constraint_Error.
QORVI_API void Fixup_Insert(Cursor& Self, const Cursor& Start, const Cursor_Offset& Size);

// Moves Self along with a deletion of Size starting at the character Start. Returns false, and
// makes Self invalid, when Self stood on a deleted character. Errors as for Fixup_Insert.
QORVI_API bool Fixup_Delete(Cursor& Self, const Cursor& Start, const Cursor_Offset& Size);

// Moves both ends of a segment First .. Last along with an edit that removed Removed at Start
// and then inserted Inserted there. Returns false when the character at either end was
// removed: the segment is lost (the ends are then not to be used).
QORVI_API bool Fixup_Segment(Cursor& First, Cursor& Last, const Cursor& Start,
                             const Cursor_Offset& Removed, const Cursor_Offset& Inserted);

} // namespace Qorvi::Implementation::Strings
