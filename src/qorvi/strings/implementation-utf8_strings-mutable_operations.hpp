// Every operation that changes the text of UTF8_String_Data.
//
// Character-level operations keep Size, Length and the terminating zero right and add the extent
// of what they inserted to an in/out Cursor_Offset (start it at (0, 0, 0); several calls sum
// up). Unchecked byte-level operations work on from-start UTF-8 offsets and code unit counts
// that the caller supplies, and trust the caller to keep the text well formed and the character
// counts right; they serve engines that rewrite text in place in several steps.
//
// Every writer first calls Make_Mutable, so shared text is copied before it changes and null
// data becomes non-null. Sizes, lengths and extents are range- and overflow-checked
// (Constraint_Error). Offsets and counts outside the text or the source data raise
// Constraint_Error before anything is changed; nothing is read or written outside the storage.
//
// C++ mapping: a code unit array "with bounds" is a 0-based std::span (or std::string_view);
// "From" indices into it are 0-based. Source data may lie inside Self's own text: it is then
// copied aside before Self's storage can move.
#pragma once

#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>

namespace Qorvi::Implementation::UTF8_Strings::Mutable_Operations {

// ---------------------------------------------------------------------------------------------
// Character-level operations. Code must be a Unicode scalar value (0 .. 0x10FFFF without the
// surrogates): any other raises Constraint_Error, so that the text stays well formed.

constexpr bool Is_Scalar_Value(Virtual_Character Code) noexcept {
    return Code <= 0x10FFFF && (Code < 0xD800 || Code > 0xDFFF);
}

[[noreturn]] QORVI_API void Raise_Not_A_Scalar_Value();

// Appends one character. Inline: this is the append of decoders and of character loops.
[[gnu::always_inline]] inline void Append(UTF8_String_Data& Self, Virtual_Character Code) {
    if (!Is_Scalar_Value(Code)) [[unlikely]] {
        Raise_Not_A_Scalar_Value();
    }
    const UTF8_Code_Unit_Count units = UTF8_Encoding::Encoded_Length(Code);
    const UTF8_Code_Unit_Count size = Checked::Add(Self.Size, units);
    const Character_Count length =
        Checked::In_Range(Self.Length + 1, 0, Character_Count_Last, "string length out of range");
    if (!Has_Exclusive_Room(Self, size)) [[unlikely]] {
        Make_Mutable(Self, size);
    }
    UTF8_Code_Unit* const at = Self.Storage_Address + Self.Size;
    UTF8_Encoding::Encode(Code, at);
    at[units] = 0;
    Self.Size = size;
    Self.Length = length;
}

// Appends one character; Offset grows by (its UTF-8 length, its UTF-16 length, 1).
inline void Append(UTF8_String_Data& Self, Virtual_Character Code, Cursor_Offset& Offset) {
    if (!Is_Scalar_Value(Code)) [[unlikely]] {
        Raise_Not_A_Scalar_Value();
    }
    const Cursor_Offset grown{Checked::Add(Offset.UTF8_Offset, UTF8_Encoding::Encoded_Length(Code)),
                              Checked::Add(Offset.UTF16_Offset, UTF8_Encoding::UTF16_Length(Code)),
                              Checked::In_Range(Checked::Add(Offset.Index_Offset, 1),
                                                Character_Offset_First, Character_Offset_Last,
                                                "extent out of range")};
    Append(Self, Code);
    Offset = grown;
}

// Appends the text of Suffix (which may be Self); Offset grows by Suffix's extent. Nothing
// happens when Suffix is empty.
QORVI_API void Append(UTF8_String_Data& Self, const UTF8_String_Data& Suffix,
                      Cursor_Offset& Offset);

// Appends already valid UTF-8 code units holding Length characters.
QORVI_API void Append(UTF8_String_Data& Self, UTF8_Code_Unit_Array Data, Character_Count Length);

// Inserts one character before the character at From (From.UTF8_Offset; the after-last position
// appends). Nothing happens when From is invalid.
QORVI_API void Insert(UTF8_String_Data& Self, const Cursor& From, Virtual_Character Code,
                      Cursor_Offset& Offset);

// Inserts the text of Item (which may be Self) at From.UTF8_Offset. Nothing happens when Item is
// empty or From is invalid. Into an empty Self, Self is made to share Item's text (no copy).
QORVI_API void Insert(UTF8_String_Data& Self, const Cursor& From, const UTF8_String_Data& Item,
                      Cursor_Offset& Offset);

// Removes the Extent.UTF8_Offset code units at From.UTF8_Offset, which make Extent.Index_Offset
// characters. Nothing happens when Extent.Index_Offset is 0. Storage is not shrunk.
QORVI_API void Delete(UTF8_String_Data& Self, const Cursor& From, const Cursor_Offset& Extent);

// Self (out) := new data holding exactly Data (capacity = its size, so up to 15 code units stay
// in place) with Length characters.
QORVI_API void Initialize(UTF8_String_Data& Self, UTF8_Code_Unit_Array Data,
                          Character_Count Length);

// ---------------------------------------------------------------------------------------------
// Unchecked byte-level operations: counts are trusted, bounds are not.

// Appends Data[From .. From + Count - 1] holding Added_Length characters; writes the
// terminating zero only when Terminate is true.
QORVI_API void Unchecked_Append(UTF8_String_Data& Self, UTF8_Code_Unit_Array Data,
                                UTF8_Code_Unit_Offset From, UTF8_Code_Unit_Count Count,
                                Character_Count Added_Length, bool Terminate);
QORVI_API void Unchecked_Append(UTF8_String_Data& Self, std::string_view Data,
                                UTF8_Code_Unit_Offset From, UTF8_Code_Unit_Count Count,
                                Character_Count Added_Length, bool Terminate);

struct Size_And_Length {
    UTF8_Code_Unit_Count Size;
    Character_Count Length;
};

// Opens a gap of Count code units at Into (the rest of the text and the code unit after it move
// up), copies Data[From .. From + Count - 1] into it and returns the new Size and Length.
QORVI_API Size_And_Length Unchecked_Insert(UTF8_String_Data& Self, UTF8_Code_Unit_Offset Into,
                                           UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Offset From,
                                           UTF8_Code_Unit_Count Count,
                                           Character_Count Added_Length);

// Removes the code units From .. From + Count - 1 (nothing when Count is 0); the code units
// after them, with the one at Size, move down. No terminating zero is written. Shared text is
// unshared first, so no other holder ever sees the change.
QORVI_API void Unchecked_Delete(UTF8_String_Data& Self, UTF8_Code_Unit_Offset From,
                                UTF8_Code_Unit_Count Count, Character_Count Removed_Length);

// Replaces the Count code units at From (Removed_Length characters) by
// Data[Data_From .. Data_From + Data_Count - 1] (Data_Length characters); the rest of the text
// and the code unit after it move accordingly.
QORVI_API void Unchecked_Replace(UTF8_String_Data& Self, UTF8_Code_Unit_Offset From,
                                 UTF8_Code_Unit_Count Count, Character_Count Removed_Length,
                                 UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Offset Data_From,
                                 UTF8_Code_Unit_Count Data_Count, Character_Count Data_Length);

// Moves the Count code units at From back to Into, shifting Into .. From - 1 up by Count (a
// rotation; Size and Length unchanged). Into above From raises Program_Error.
QORVI_API void Unchecked_Move_Slice(UTF8_String_Data& Self, UTF8_Code_Unit_Offset From,
                                    UTF8_Code_Unit_Count Count, UTF8_Code_Unit_Offset Into);

} // namespace Qorvi::Implementation::UTF8_Strings::Mutable_Operations
