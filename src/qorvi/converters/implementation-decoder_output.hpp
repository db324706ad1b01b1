// What the decoders share: appending their characters to string data through a small buffer,
// and helpers of their fast loops. Internal to the library.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <span>

namespace Qorvi::Implementation::Decoder_Output {

using UTF8_Strings::UTF8_String_Data;

// Writes the UTF-8 form of a BMP character (Code <= 0xFFFF) at Target with one four-byte store
// (the bytes after the character are scratch) and returns the end of the character. The
// three-byte form, the one of nearly every character of the double-byte encodings, comes first.
inline std::uint8_t* Put_BMP_Character(std::uint8_t* Target, std::uint32_t Code) noexcept {
    std::uint32_t units;
    std::size_t length;
    if (Code >= 0x800) [[likely]] {
        units = (0xE0U | Code >> 12) | (0x80U | (Code >> 6 & 0x3FU)) << 8 |
                (0x80U | (Code & 0x3FU)) << 16;
        length = 3;
    } else if (Code >= 0x80) {
        units = (0xC0U | Code >> 6) | (0x80U | (Code & 0x3FU)) << 8;
        length = 2;
    } else {
        units = Code;
        length = 1;
    }
    std::memcpy(Target, &units, 4);
    return Target + length;
}

// A table of 256 values, one per byte, computed at compile time.
struct Byte_Table {
    std::uint32_t Value[256];
    constexpr std::uint32_t operator[](std::uint8_t Byte) const noexcept { return Value[Byte]; }
};

// Added to a pointer part for a byte that can not take that place: any pointer with it is
// beyond every index table.
inline constexpr std::uint32_t Not_A_Pointer = 0x40000;

// The longest run the fast paths hand over at once, so that its size and character count fit
// the 32-bit counts of string data.
inline constexpr std::ptrdiff_t Max_Run = std::ptrdiff_t{1} << 20;

// Appends a decoder's characters to the target string data. Appending each character on its
// own costs a trip through the editing operations' growth check per character, which would
// dominate decoding; so characters are encoded into a small buffer (with the library's UTF-8
// encoder) and the buffer is appended with the editing operations' Append of valid UTF-8,
// which keeps Size, Length and the terminating zero right. Long runs of input that are
// already well-formed UTF-8 are appended straight from the input.
//
// Fast loops write into the buffer through a local pointer: Reserve gives room, Commit says how
// far they wrote and how many characters that was. Keeping the position in a local variable
// matters: stores through a byte pointer may alias any member, so a member position would be
// reloaded after every store.
//
// The buffer is flushed when it fills, by Flush, and when the Output goes out of scope (unless
// an exception is leaving the scope: the target is then left as the last flush made it).
class Output {
public:
    static constexpr std::size_t Buffer_Size = 4096;
    // Bytes that may be written past a reserved area (by 4- and 16-byte stores).
    static constexpr std::size_t Slack = 16;

    explicit Output(UTF8_String_Data& Into) noexcept
        : Target(Into), Exceptions_At_Start(std::uncaught_exceptions()) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() noexcept(false) {
        if (std::uncaught_exceptions() == Exceptions_At_Start) {
            Flush();
        }
    }

    // Where to write at least Size code units (Size <= Buffer_Size), plus Slack scratch bytes.
    std::uint8_t* Reserve(std::size_t Size) {
        if (Used + Size > Buffer_Size) {
            Flush();
        }
        return Buffer + Used;
    }
    // The code units up to End, written after Reserve, make Characters characters.
    void Commit(std::uint8_t* End, std::ptrdiff_t Characters) noexcept {
        Used = static_cast<std::size_t>(End - Buffer);
        Count += static_cast<Character_Count>(Characters);
    }

    void Character(Virtual_Character Code) {
        std::uint8_t* at = Reserve(4);
        Commit(at + UTF8_Encoding::Encode(Code, at), 1);
    }

    // Size code units of well-formed UTF-8 making Characters characters (Size <= Max_Run).
    void Text(const std::uint8_t* Data, std::ptrdiff_t Size, std::ptrdiff_t Characters) {
        const auto size = static_cast<std::size_t>(Size);
        if (size <= Small_Run) {
            std::uint8_t* at = Reserve(size);
            std::memcpy(at, Data, size);
            Commit(at + size, Characters);
            return;
        }
        Flush();
        UTF8_Strings::Mutable_Operations::Append(Target,
                                                 UTF8_Strings::UTF8_Code_Unit_Array(Data, size),
                                                 static_cast<Character_Count>(Characters));
    }

    void Flush() {
        if (Used != 0) {
            UTF8_Strings::Mutable_Operations::Append(
                Target, UTF8_Strings::UTF8_Code_Unit_Array(Buffer, Used), Count);
            Used = 0;
            Count = 0;
        }
    }

private:
    static constexpr std::size_t Small_Run = 256; // runs up to this size go through the buffer

    UTF8_String_Data& Target;
    int Exceptions_At_Start;
    std::size_t Used = 0;
    Character_Count Count = 0;
    std::uint8_t Buffer[Buffer_Size + Slack];
};

} // namespace Qorvi::Implementation::Decoder_Output
