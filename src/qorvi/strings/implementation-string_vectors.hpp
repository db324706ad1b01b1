// The shared element array of string vectors: a reference-counted heap block of string data,
// copied on write. Every operation takes the block pointer (possibly null) and returns the
// pointer to store back.
#pragma once

#include <cstdint>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/strings-line_terminators.hpp>

namespace Qorvi::Implementation::String_Vectors {

using UTF8_Strings::UTF8_String_Data;

// Capacity slots of string data, of which 1 .. Last are in use; the slots above Last hold null
// data. Counter is the number of vectors sharing the block (accessed atomically).
struct String_Vector_Data {
    std::int32_t Capacity;
    std::int32_t Counter;
    std::int32_t Last;

    // Slot I (1-based).
    UTF8_String_Data& Element(std::int32_t Index) noexcept { return Slots()[Index - 1]; }
    const UTF8_String_Data& Element(std::int32_t Index) const noexcept {
        return Slots()[Index - 1];
    }
    UTF8_String_Data* Slots() noexcept;
    const UTF8_String_Data* Slots() const noexcept;
};

// Atomic increment of the counter (nothing for null).
QORVI_API String_Vector_Data* Reference(String_Vector_Data* Block) noexcept;
// Atomic decrement; the last holder releases every element and frees the block. Returns null.
QORVI_API String_Vector_Data* Unreference(String_Vector_Data* Block) noexcept;

// Appends a copy of Item that shares its text.
QORVI_API String_Vector_Data* Append(String_Vector_Data* Block, const UTF8_String_Data& Item);
// Appends Item's data without touching counters; Item becomes null.
QORVI_API String_Vector_Data* Append_And_Move_Ownership(String_Vector_Data* Block,
                                                        UTF8_String_Data& Item);
// Inserts a copy of Item (sharing its text) before the first element.
QORVI_API String_Vector_Data* Prepend(String_Vector_Data* Block, const UTF8_String_Data& Item);
// Removes element Index; nothing when Index > Last. Index below 1: Constraint_Error.
QORVI_API String_Vector_Data* Delete(String_Vector_Data* Block, std::int32_t Index);
// Replaces element Index (1 .. Last) by a copy of Item sharing its text.
QORVI_API String_Vector_Data* Replace(String_Vector_Data* Block, std::int32_t Index,
                                      const UTF8_String_Data& Item);
// Whether an element equals Item (false for a null block).
QORVI_API bool Contains(const String_Vector_Data* Block, const UTF8_String_Data& Item) noexcept;
// Appends every element to Result, each followed by Terminator, except the last one when
// Terminate is false.
QORVI_API void Join_Lines(const String_Vector_Data* Block, UTF8_String_Data& Result,
                          Qorvi::Strings::Line_Terminator Terminator, bool Terminate);

} // namespace Qorvi::Implementation::String_Vectors
