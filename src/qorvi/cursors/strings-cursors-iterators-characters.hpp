// Character_Iterator: walks a Virtual_String one character at a time.
//
//     for (auto it = text.Before_First_Character(); it.Forward(c);) { ... c ... }
//
// It is the one iterator whose position follows edits of its string: text inserted at or before
// its character moves it forward, text removed before it moves it back, and removing its own
// character leaves it invalid and detached (Forward and Has_Element then answer false, Backward
// and Element raise Constraint_Error).
//
// Clear and the moves of a string do not tell its iterators: an iterator then keeps its old
// position, but it reads the string's current text on every call (never a text it has kept), and
// a position that the new text cannot hold raises Constraint_Error or Program_Error instead of
// reading outside the text.
#pragma once

#include <cstdint>
#include <qorvi/cursors/strings-cursors-iterators.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Characters {

class QORVI_API Character_Iterator : public Abstract_Character_Iterator {
public:
    // Detached, on the invalid position.
    Character_Iterator() noexcept = default;

    // One character on: true when the new position stands on a character. Past the last
    // character it stays after the last one. Detached: false.
    bool Forward() override {
        if (Owner() == nullptr) {
            return false;
        }
        element_size = Unknown_Size;
        return Implementation::UTF8_Strings::Forward(*text, position);
    }

    // One character back: false without moving before the first character, and false when the
    // step reaches the before-first position. Detached: Constraint_Error.
    bool Backward() override;

    // Stands on a character (index 1 .. Length). Detached: false.
    bool Has_Element() const override {
        return Owner() != nullptr && Implementation::UTF8_Strings::Has_Character(*text, position);
    }

    // Positioning: each attaches the iterator to On (leaving the string it walked before).
    // Before the first character (index 0).
    virtual void Set_Before_First(const Virtual_String& On);
    // On the first character (index 1; on an empty string Has_Element is then false).
    virtual void Set_At_First(const Virtual_String& On);
    // On the string and position of Position, unchanged. A detached Position detaches the
    // iterator and raises Constraint_Error; a cursor that is not a character cursor base
    // raises Program_Error.
    virtual void Set_At(const Abstract_Character_Cursor& Position);
    // On the last character (before the first one for an empty string).
    virtual void Set_At_Last(const Virtual_String& On);
    // After the last character (index Length + 1).
    virtual void Set_After_Last(const Virtual_String& On);

    // Forward, and the character reached (No_Character, 0x1FFFFF, with false when the step
    // left the text or the iterator is detached).
    [[gnu::always_inline]] virtual bool Forward(Virtual_Character& Element) {
        // Inline in full, with no call that returns on any path, so that a walk keeps the
        // iterator in registers and compiles to a loop close to a hand-written decoder. Every
        // read is checked against the owner's current text.
        namespace UTF8 = Implementation::UTF8_Strings;
        if (Owner() == nullptr) {
            Element = Implementation::Strings::No_Character;
            return false;
        }
        const UTF8::UTF8_String_Data& data = *text;
        const Cursor from = position;
        // The offset of the next character when the size of this one is known; with an
        // unknown size the sum lies beyond any text (and it never wraps back into one).
        const std::uint32_t next = static_cast<std::uint32_t>(from.UTF8_Offset) + element_size;
        std::uint32_t offset;
        std::int32_t utf16;
        Character_Count index;
        if (from.Index < data.Length && next < static_cast<std::uint32_t>(data.Size)) [[likely]] {
            // On a character whose size is known, with another one after it.
            offset = next;
            utf16 = utf16_after(from.UTF16_Offset, element_size);
            index = from.Index + 1;
        } else {
            index = from.Index;
            if (index > data.Length) {
                // After the last character: nothing moves.
                Element = Implementation::Strings::No_Character;
                return false;
            }
            if (index <= 0) {
                offset = 0;
                utf16 = 0;
                index = 1;
            } else {
                Virtual_Character ignored;
                const std::uint32_t size =
                    decode(data, static_cast<std::uint32_t>(from.UTF8_Offset), ignored);
                offset = static_cast<std::uint32_t>(from.UTF8_Offset) + size;
                utf16 = utf16_after(from.UTF16_Offset, size);
                index += 1;
            }
            if (index > data.Length) {
                // Stepped past the last character.
                position = Cursor{static_cast<UTF8_Code_Unit_Offset>(offset), utf16, index};
                element_size = Unknown_Size;
                Element = Implementation::Strings::No_Character;
                return false;
            }
        }
        element_size = decode(data, offset, Element);
        position = Cursor{static_cast<UTF8_Code_Unit_Offset>(offset), utf16, index};
        return true;
    }

    // The character at the position, or No_Character before the first and after the last
    // character. Detached: Constraint_Error.
    Virtual_Character Element() const;

    void Invalidate() noexcept override;
    // Follows the edit (see above).
    void String_Modified(const Cursor& Start, const Implementation::Strings::Cursor_Offset& Removed,
                         const Implementation::Strings::Cursor_Offset& Inserted) override;

private:
    friend class Qorvi::Strings::Virtual_String;

    enum class Place : std::uint8_t { Before_First, At_First, At_Last, After_Last };

    // The factories' constructors: the iterator is built attached, in its final place.
    Character_Iterator(const Virtual_String& On, Place Where);
    // Positioned at Position when it is attached to On; detached otherwise.
    Character_Iterator(const Virtual_String& On, const Abstract_Character_Cursor& Position);

    void attach(const Virtual_String& On);

    // The code point of the character at Offset in Data, and its number of code units. An
    // offset outside the text raises Constraint_Error; a unit that can not start a character,
    // or a character cut by the end of the text, raises Program_Error.
    [[gnu::always_inline]] static std::uint32_t
    decode(const Implementation::UTF8_Strings::UTF8_String_Data& Data, std::uint32_t Offset,
           Virtual_Character& Code) {
        const auto size = static_cast<std::uint32_t>(Data.Size);
        if (Offset >= size) [[unlikely]] {
            Implementation::UTF8_Strings::Raise_Position_Out_Of_Range();
        }
        const Implementation::UTF8_Encoding::UTF8_Code_Unit* at = Data.Storage_Address + Offset;
        const std::uint32_t lead = at[0];
        if (lead < 0x80) [[likely]] {
            Code = lead;
            return 1;
        }
        // The length of the character comes from its lead unit; the text must hold it all.
        // (Units 0x80 .. 0xC1 and 0xF5 .. 0xFF can not start a character.)
        const std::uint32_t room = size - Offset;
        if (lead < 0xE0) {
            if (lead < 0xC2 || room < 2) [[unlikely]] {
                invalid_character(lead);
            }
            Code = ((lead & 0x1F) << 6) | (at[1] & 0x3Fu);
            return 2;
        }
        if (lead < 0xF0) {
            if (room < 3) [[unlikely]] {
                invalid_character(lead);
            }
            Code = ((lead & 0x0F) << 12) | ((at[1] & 0x3Fu) << 6) | (at[2] & 0x3Fu);
            return 3;
        }
        if (lead > 0xF4 || room < 4) [[unlikely]] {
            invalid_character(lead);
        }
        Code = ((lead & 0x07) << 18) | ((at[1] & 0x3Fu) << 12) | ((at[2] & 0x3Fu) << 6) |
               (at[3] & 0x3Fu);
        return 4;
    }

    // A lead unit that can not start a character, or a character cut by the end of the text.
    [[noreturn]] static void invalid_character(std::uint32_t Lead);

    // The UTF-16 offset after a character of Size code units (two UTF-16 units for four). A
    // UTF-16 offset is at most a UTF-8 offset of the text, so this never overflows for a
    // position the text can hold; for one it can not (after Clear or a move of the string),
    // the offset is only a number (it wraps, defined, and is never used to read).
    [[gnu::always_inline]] static std::int32_t utf16_after(std::int32_t UTF16_Offset,
                                                           std::uint32_t Size) noexcept {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(UTF16_Offset) + 1 +
                                         (Size >> 2));
    }

    // The owner's string data record while attached. It is the record inside the owner object
    // (which stays where it is while the iterator is attached to it), not a copy of it, so every
    // call sees the owner's current text, also after Clear or a move.
    const Implementation::UTF8_Strings::UTF8_String_Data* text = nullptr;
    // The number of code units of the character at the position when the last move was a
    // Forward with the element; Unknown_Size otherwise. Every other move and every edit resets
    // it.
    static constexpr std::uint32_t Unknown_Size = 0x8000'0000;
    std::uint32_t element_size = Unknown_Size;
};

} // namespace Qorvi::Strings::Cursors::Iterators::Characters
