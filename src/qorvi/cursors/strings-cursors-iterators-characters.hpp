// Character_Iterator: walks a Virtual_String one character at a time.
//
//     for (auto it = text.Before_First_Character(); it.Forward(c);) { ... c ... }
//
// It is the one iterator whose position follows edits of its string: text inserted at or before
// its character moves it forward, text removed before it moves it back, and removing its own
// character leaves it invalid and detached (Forward and Has_Element then answer false, Backward
// and Element raise Constraint_Error).
//
// Clear, the moves of a string and the in-place transforms do not tell its iterators: an iterator
// then keeps its old position as it was, but it reads the string's current text on every call
// (never a text it has kept) and never reads outside it. A step from such a position goes on by
// offset through the new text: a step onto a position inside a character of the new text
// raises Program_Error (and leaves the iterator there), one from beyond its end raises
// Constraint_Error or ends the walk, and the character index counts on from the old one until
// the iterator is positioned again.
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
        next_offset = Unknown_Offset;
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
        if (Owner() == nullptr) {
            Element = Implementation::Strings::No_Character;
            return false;
        }
        return forward_element(*text, *this, Element);
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

    // The step of Forward with the element on Data, the owner's current text. Inline in full,
    // with no call that returns on any path, so that a walk keeps the iterator and the owner's
    // text, size and length in registers and compiles to a loop close to a hand-written
    // decoder. Every read is checked against Data as it is at this call.
    //
    // Data (the owner's record) and Self never overlap, and a step writes only Self's fields
    // and Element: restrict says so, which lets the compiler keep Data's fields in registers across
    // the steps of a walk and write Self's fields back once, when the walk ends.
    [[gnu::always_inline]] static bool
    forward_element(const Implementation::UTF8_Strings::UTF8_String_Data& __restrict Data,
                    Character_Iterator& __restrict Self, Virtual_Character& Element) {
        // All three fields are read at once: nothing in a step can change them.
        const Character_Count length = Data.Length;
        const auto size = static_cast<std::uint32_t>(Data.Size);
        const Implementation::UTF8_Encoding::UTF8_Code_Unit* const units = Data.Storage_Address;
        // The last offset at which a character of four code units fits (below 0 when none
        // does); it does not change over a walk, so the compiler computes it once.
        const std::int64_t last_full = std::int64_t{size} - 4;
        const Cursor from = Self.position;
        // The common step: on a character whose successor's offsets are known, with that
        // successor starting at least four code units before the end of the text, so that even
        // the longest character lies inside it. This one bound covers every read of the step,
        // and for a position that the text holds it also means that the position is not on
        // the last character, so the index needs no test of its own. (Compared in 64 bits, as
        // last_full may be negative; an unknown successor is at Unknown_Offset, which fails it.)
        //
        // The successor's offsets come from the previous step, which knew the size of the
        // character it decoded, so a step only copies them and adds constants: there is no
        // chain from one step's decoding to the next step's position. The position is written
        // before the decoding, which raises only for a position left inside a character by a
        // text changed without notice.
        const std::uint64_t next = Self.next_offset;
        if (static_cast<std::int64_t>(next) <= last_full) [[likely]] {
            const auto utf16 = static_cast<std::int32_t>(Self.next_utf16_offset);
            Self.position = Cursor{static_cast<UTF8_Code_Unit_Offset>(next), utf16, from.Index + 1};
            step_inside(units, next, utf16, Self, Element);
            return true;
        }
        // The other steps: from before the first character, with an unknown successor, near
        // the end of the text, and after the last character.
        Character_Count index = from.Index;
        if (index > length) {
            // After the last character: nothing moves.
            Element = Implementation::Strings::No_Character;
            return false;
        }
        std::uint32_t offset;
        std::int32_t utf16;
        if (index <= 0) {
            offset = 0;
            utf16 = 0;
            index = 1;
        } else {
            Virtual_Character ignored;
            const std::uint32_t units_here =
                decode(units, size, static_cast<std::uint32_t>(from.UTF8_Offset), ignored);
            offset = static_cast<std::uint32_t>(from.UTF8_Offset) + units_here;
            utf16 = utf16_after(from.UTF16_Offset, units_here);
            index += 1;
        }
        if (index > length) {
            // Stepped past the last character.
            Self.position = Cursor{static_cast<UTF8_Code_Unit_Offset>(offset), utf16, index};
            Self.next_offset = Unknown_Offset;
            Element = Implementation::Strings::No_Character;
            return false;
        }
        const std::uint32_t units_here = decode(units, size, offset, Element);
        Self.position = Cursor{static_cast<UTF8_Code_Unit_Offset>(offset), utf16, index};
        record_successor(Self, offset, utf16, units_here);
        return true;
    }

    // Decodes the character at Offset (UTF-16 offset UTF16) into Code and records the offsets
    // of its successor, when the text holds at least four code units from Offset. Each size
    // records its successor with its own constant, so that no step waits on a size computed by
    // the one before. A unit that can not start a character raises Program_Error.
    [[gnu::always_inline]] static void
    step_inside(const Implementation::UTF8_Encoding::UTF8_Code_Unit* Units, std::uint64_t Offset,
                std::int32_t UTF16, Character_Iterator& Self, Virtual_Character& Code) {
        const std::uint32_t lead = Units[Offset];
        if (lead < 0x80) [[likely]] {
            Code = lead;
            record_successor(Self, Offset, UTF16, 1);
            return;
        }
        if (lead < 0xE0) {
            if (lead < 0xC2) [[unlikely]] {
                invalid_character(lead);
            }
            Code = ((lead & 0x1F) << 6) | (Units[Offset + 1] & 0x3Fu);
            record_successor(Self, Offset, UTF16, 2);
            return;
        }
        if (lead < 0xF0) {
            Code = ((lead & 0x0F) << 12) | ((Units[Offset + 1] & 0x3Fu) << 6) |
                   (Units[Offset + 2] & 0x3Fu);
            record_successor(Self, Offset, UTF16, 3);
            return;
        }
        if (lead > 0xF4) [[unlikely]] {
            invalid_character(lead);
        }
        Code = ((lead & 0x07) << 18) | ((Units[Offset + 1] & 0x3Fu) << 12) |
               ((Units[Offset + 2] & 0x3Fu) << 6) | (Units[Offset + 3] & 0x3Fu);
        record_successor(Self, Offset, UTF16, 4);
    }

    // Records the offsets of the character after the one of Size code units at Offset (UTF-16
    // offset UTF16).
    [[gnu::always_inline]] static void record_successor(Character_Iterator& Self,
                                                        std::uint64_t Offset, std::int32_t UTF16,
                                                        std::uint32_t Size) noexcept {
        Self.next_offset = Offset + Size;
        Self.next_utf16_offset = static_cast<std::uint32_t>(utf16_after(UTF16, Size));
    }

    // The code point of the character at Offset in the Size code units at Units, and its
    // number of code units. An offset outside the text raises Constraint_Error; a unit that can
    // not start a character, or a character cut by the end of the text, raises Program_Error.
    [[gnu::always_inline]] static std::uint32_t
    decode(const Implementation::UTF8_Encoding::UTF8_Code_Unit* Units, std::uint32_t Size,
           std::uint32_t Offset, Virtual_Character& Code) {
        if (Offset >= Size) [[unlikely]] {
            Implementation::UTF8_Strings::Raise_Position_Out_Of_Range();
        }
        const Implementation::UTF8_Encoding::UTF8_Code_Unit* at = Units + Offset;
        const std::uint32_t lead = at[0];
        if (lead < 0x80) [[likely]] {
            Code = lead;
            return 1;
        }
        // The length of the character comes from its lead unit; the text must hold it all.
        // (Units 0x80 .. 0xC1 and 0xF5 .. 0xFF can not start a character.)
        const std::uint32_t room = Size - Offset;
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
    // The UTF-8 and UTF-16 offsets of the character after the one at the position when the
    // last move was a Forward with the element; next_offset is Unknown_Offset otherwise. Every
    // other move and every edit resets it. Both are 64 bits wide on purpose: a store of them
    // can then not be taken for a store of the owner's 32-bit Size or Length, so over a walk
    // the compiler keeps those in registers and these fields too.
    static constexpr std::uint64_t Unknown_Offset = 0x8000'0000;
    std::uint64_t next_offset = Unknown_Offset;
    std::uint64_t next_utf16_offset = 0;
};

} // namespace Qorvi::Strings::Cursors::Iterators::Characters
