// Writing the result of a conversion engine (case conversion, normalization) into fresh string
// data at speed.
//
// A Text_Builder takes data that was just initialised (empty, exclusively owned) and keeps its
// size, length and capacity in locals while an engine appends and rewrites its tail; storage
// grows through Make_Mutable, the gate before every write, by at least half again, so that a
// growing result is copied a bounded number of times. Finish writes the size, the length and
// the terminating zero back. Between construction and Finish the data's own Size and Length
// are stale: nothing else may use it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <qorvi/implementation-checked.hpp>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>

namespace Qorvi::Implementation::UTF8_Text_Builders {

using UTF8_Encoding::UTF8_Code_Unit;
using UTF8_Strings::UTF8_String_Data;

// Decodes the character at Position of text the library wrote (Size code units, Position below
// Size) and moves Position past it. As UTF8_Encoding::Unchecked_Decode_Forward, continuation
// units are not examined, but nothing is read outside the text: a unit that cannot start a
// character raises Program_Error, and so does a character cut short by the end of the text.
// The result is at most 0x10FFFF.
inline Virtual_Character Decode_Next(const UTF8_Code_Unit* Text, UTF8_Code_Unit_Offset Size,
                                     UTF8_Code_Unit_Offset& Position) {
    const UTF8_Code_Unit* p = Text + Position;
    const UTF8_Code_Unit_Offset available = Size - Position;
    const UTF8_Code_Unit u1 = p[0];
    if (u1 < 0x80) {
        Position += 1;
        return u1;
    }
    if (u1 < 0xE0) {
        if (u1 < 0xC2 || available < 2) [[unlikely]] {
            UTF8_Encoding::Raise_String_Data_Corrupted();
        }
        Position += 2;
        return (Virtual_Character{u1 & 0x1Fu} << 6) | (p[1] & 0x3Fu);
    }
    if (u1 < 0xF0) {
        if (available < 3) [[unlikely]] {
            UTF8_Encoding::Raise_String_Data_Corrupted();
        }
        Position += 3;
        return (Virtual_Character{u1 & 0x0Fu} << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
    }
    if (available < 4) [[unlikely]] {
        UTF8_Encoding::Raise_String_Data_Corrupted();
    }
    const Virtual_Character code = (Virtual_Character{u1 & 0x07u} << 18) | ((p[1] & 0x3Fu) << 12) |
                                   ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
    if (u1 > 0xF4 || code > 0x10'FFFF) [[unlikely]] {
        UTF8_Encoding::Raise_String_Data_Corrupted();
    }
    Position += 4;
    return code;
}

class Text_Builder {
public:
    explicit Text_Builder(UTF8_String_Data& Target)
        : target_(Target), base_(Target.Storage_Address), size_(Target.Size),
          length_(Target.Length), capacity_(UTF8_Strings::Capacity(Target)) {}

    Text_Builder(const Text_Builder&) = delete;
    Text_Builder& operator=(const Text_Builder&) = delete;

    UTF8_Code_Unit_Count Size() const noexcept { return size_; }
    std::int64_t Length() const noexcept { return length_; }
    const UTF8_Code_Unit* Data() const noexcept { return base_; }
    UTF8_Code_Unit* Data() noexcept { return base_; }

    // Room for Count more code units after the text; returns where they go.
    UTF8_Code_Unit* Reserve(UTF8_Code_Unit_Count Count) {
        if (capacity_ - size_ < Count) [[unlikely]] {
            Grow(Count);
        }
        return base_ + size_;
    }

    // Counts Count code units holding Characters characters, written at Reserve's address.
    void Commit(UTF8_Code_Unit_Count Count, std::int64_t Characters) noexcept {
        size_ += Count;
        length_ += Characters;
    }

    // Appends a few code units (a character or a short mapping result): a plain loop is faster
    // than a call to memcpy for them.
    void Append_Short(const UTF8_Code_Unit* Units, UTF8_Code_Unit_Count Count,
                      std::int64_t Characters) {
        UTF8_Code_Unit* at = Reserve(Count);
        for (UTF8_Code_Unit_Count i = 0; i < Count; ++i) {
            at[i] = Units[i];
        }
        Commit(Count, Characters);
    }

    // Appends Count (at most 8) code units from Units, of which 8 may be read: with room for 8,
    // one eight-unit copy (the units past Count are overwritten later or lie beyond the text).
    void Append_Up_To_8(const UTF8_Code_Unit* Units, UTF8_Code_Unit_Count Count,
                        std::int64_t Characters) {
        if (capacity_ - size_ >= 8) [[likely]] {
            std::memcpy(base_ + size_, Units, 8);
            Commit(Count, Characters);
        } else {
            Append_Short(Units, Count, Characters);
        }
    }

    void Append(const UTF8_Code_Unit* Units, UTF8_Code_Unit_Count Count, std::int64_t Characters) {
        UTF8_Code_Unit* at = Reserve(Count);
        if (Count > 0) {
            std::memcpy(at, Units, static_cast<std::size_t>(Count));
        }
        Commit(Count, Characters);
    }

    // Appends one character of at most four code units (no check of the value).
    void Append_Character(Virtual_Character Code) {
        UTF8_Code_Unit* at = Reserve(4);
        Commit(UTF8_Encoding::Encode(Code, at), 1);
    }

    // Drops the text from code unit From on, which holds Characters characters.
    void Truncate(UTF8_Code_Unit_Count From, std::int64_t Characters) noexcept {
        size_ = From;
        length_ -= Characters;
    }

    // Writes size, length and the terminating zero back to the data. A length beyond the
    // range of Character_Count raises Constraint_Error.
    void Finish() {
        Checked::In_Range<std::int64_t>(length_, 0, Character_Count_Last,
                                        "string length out of range");
        target_.Size = size_;
        target_.Length = static_cast<Character_Count>(length_);
        base_[size_] = 0;
    }

private:
    void Grow(UTF8_Code_Unit_Count Count) {
        const UTF8_Code_Unit_Count required = Checked::Add(size_, Count);
        const std::int64_t wanted =
            std::max<std::int64_t>(required, std::int64_t{capacity_} + capacity_ / 2 + 64);
        const auto capacity = static_cast<UTF8_Code_Unit_Count>(
            std::min<std::int64_t>(wanted, UTF8_Code_Unit_Count_Last - 1));
        target_.Size = size_;
        UTF8_Strings::Make_Mutable(target_, std::max(capacity, required));
        base_ = target_.Storage_Address;
        capacity_ = UTF8_Strings::Capacity(target_);
    }

    UTF8_String_Data& target_;
    UTF8_Code_Unit* base_;
    UTF8_Code_Unit_Count size_;
    std::int64_t length_;
    UTF8_Code_Unit_Count capacity_;
};

} // namespace Qorvi::Implementation::UTF8_Text_Builders
