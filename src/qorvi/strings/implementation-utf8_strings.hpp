// UTF8_String_Data: the one representation of text inside the library, with its storage and
// its reading operations.
//
// A record holds up to 15 UTF-8 code units in place (followed by a zero byte) and longer text in
// a shared, reference-counted heap segment that is copied when a sharer modifies it. The record
// is a plain, trivially copyable struct: a bitwise copy makes a second holder only after
// Reference, a bitwise move is completed by Adjust, and a holder lets go with Unreference.
// Nothing here synchronises one record; distinct records sharing a segment may be used from
// different threads (the segment's counter is atomic).
//
// C++ mapping:
// - The code units are presented 0-based: Code_Units (Self) is the span of the Size code units
//   of the text (the terminating zero at offset Size is outside it).
// - "out" records (Initialize, From_UTF_8_String, From_Wide_Wide_String, Slice targets) are
//   overwritten without being released: pass null (default) data, or data you have released.
// - Offsets and indices outside the text raise Constraint_Error; nothing reads or writes outside
//   the text's storage. Text that breaks the UTF-8 invariants raises Program_Error.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-fnv_hash.hpp>
#include <qorvi/strings/implementation-strings.hpp>
#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>

namespace Qorvi::Implementation::UTF8_Strings {

using Strings::Cursor;
using Strings::Cursor_Offset;
using UTF8_Encoding::UTF8_Code_Unit;
using UTF8_Encoding::UTF8_Code_Unit_Array;

// The most code units held in place.
inline constexpr UTF8_Code_Unit_Count SSO_Max_Size = 15;

// ---------------------------------------------------------------------------------------------
// Storage

// A heap block holding text: two 32-bit header fields followed by Data, indices 0 .. Capacity
// (one more than Capacity, for the terminating zero). Allocated with malloc (so that an exclusive
// segment can grow with realloc); the header is a trivially copyable struct whose Counter is
// accessed atomically through std::atomic_ref.
struct UTF8_Shared_Segment {
    std::int32_t Capacity;
    alignas(std::atomic_ref<std::int32_t>::required_alignment) std::int32_t Counter;

    UTF8_Code_Unit* Data() noexcept { return reinterpret_cast<UTF8_Code_Unit*>(this + 1); }
    const UTF8_Code_Unit* Data() const noexcept {
        return reinterpret_cast<const UTF8_Code_Unit*>(this + 1);
    }
    // Number of string values sharing the segment (an atomic load).
    std::int32_t Current_Counter() const noexcept {
        return std::atomic_ref<std::int32_t>(const_cast<std::int32_t&>(Counter))
            .load(std::memory_order_acquire);
    }
};
static_assert(sizeof(UTF8_Shared_Segment) == 8);

// Sizes of a segment able to take Capacity code units (plus the terminating zero): the
// allocation is 16 * ((Capacity + 12) / 16 + 1) bytes and the segment's Capacity is that minus
// 12. Overflow of signed 32-bit arithmetic raises Constraint_Error.
struct Segment_Size {
    std::int32_t Allocation;
    std::int32_t Capacity;
};
QORVI_API Segment_Size Segment_Size_For(UTF8_Code_Unit_Count Capacity);

// Number of segments currently allocated by the library (for leak checks in tests).
QORVI_API std::int64_t Allocated_Segments() noexcept;

// Base of all text storages kept in the Storage area of string data: a class tag (the virtual
// table) and Pointer, whose meaning belongs to the derived class. Storage objects are created in
// place with placement new, copied bitwise with the record and never destroyed explicitly;
// Unreference is what lets one go.
class QORVI_API Abstract_Text_Storage {
public:
    // Called after the object was copied bitwise into a second string. Base: nothing.
    virtual void Reference() noexcept;
    // Called when a string stops using the storage. Base: nothing.
    virtual void Unreference() noexcept;
    // Code units the storage can hold. Base: 0.
    virtual UTF8_Code_Unit_Count Capacity() const noexcept;
    // Makes the text exclusively owned and able to hold Required_Capacity code units plus the
    // terminating zero; returns the (possibly new) address of the text. Base: Address.
    virtual UTF8_Code_Unit* Mutate(UTF8_Code_Unit* Address, UTF8_Code_Unit_Count Size,
                                   UTF8_Code_Unit_Count Required_Capacity);

    friend bool operator==(const Abstract_Text_Storage& Left,
                           const Abstract_Text_Storage& Right) noexcept {
        return Left.Pointer == Right.Pointer;
    }

    // Declared after the four operations above so that they keep the first slots. Never called
    // by the library: a storage object owns nothing that Unreference does not release.
    virtual ~Abstract_Text_Storage() = default;

protected:
    Abstract_Text_Storage() = default;
    Abstract_Text_Storage(const Abstract_Text_Storage&) = default;
    Abstract_Text_Storage& operator=(const Abstract_Text_Storage&) = default;

    void* Pointer = nullptr;
};

// Text storage in a UTF8_Shared_Segment on the heap (Pointer designates it, or is null).
class QORVI_API Heap_Storage final : public Abstract_Text_Storage {
public:
    Heap_Storage() = default;

    // Atomically increments the segment's Counter (when there is a segment).
    void Reference() noexcept override;
    // Drops the segment: Pointer becomes null, the Counter is decremented atomically and the
    // segment freed when it reaches 0.
    void Unreference() noexcept override;
    // The segment's Capacity, 0 without a segment.
    UTF8_Code_Unit_Count Capacity() const noexcept override;
    // Keeps an exclusive segment that has room; otherwise takes a segment for Required_Capacity
    // plus 1/32 headroom, copies the Size code units and the zero after them, and lets go of the
    // old one. Without a segment: Constraint_Error.
    UTF8_Code_Unit* Mutate(UTF8_Code_Unit* Address, UTF8_Code_Unit_Count Size,
                           UTF8_Code_Unit_Count Required_Capacity) override;

    // Allocates a segment for Capacity code units with Counter 1 and returns the address of its
    // Data (not cleared). Replaces Pointer without releasing it.
    UTF8_Code_Unit* Initialize(UTF8_Code_Unit_Count Capacity);
    // The same, then copies Data into the segment from index 0 (it must fit in 0 .. Capacity).
    UTF8_Code_Unit* Initialize(UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Count Capacity);

    UTF8_Shared_Segment* Segment() const noexcept {
        return static_cast<UTF8_Shared_Segment*>(Pointer);
    }

    // True when Mutate would keep the segment: it exists, is not shared and has room.
    bool Is_Exclusive_With_Room(UTF8_Code_Unit_Count Required_Capacity) const noexcept {
        const UTF8_Shared_Segment* segment = Segment();
        return segment != nullptr && segment->Capacity >= Required_Capacity &&
               segment->Current_Counter() == 1;
    }
};
static_assert(sizeof(Heap_Storage) == 16);

// ---------------------------------------------------------------------------------------------
// String data

// Null: Storage_Address null and every field zero (the default value). In place: Has_Storage 0,
// Storage_Address = Storage, Size <= 15. In storage: Has_Storage 1, Storage holds a storage
// object and Storage_Address its text. Non-null text is well-formed UTF-8 of exactly Length
// characters; the operations here and the character-level edits write a zero code unit at Size.
struct UTF8_String_Data {
    alignas(8) UTF8_Code_Unit Storage[16] = {};
    std::int32_t Has_Storage = 0;
    UTF8_Code_Unit_Count Size = 0;
    UTF8_Code_Unit* Storage_Address = nullptr;
    Character_Count Length = 0;
};
static_assert(std::is_trivially_copyable_v<UTF8_String_Data>);
static_assert(sizeof(UTF8_String_Data) == 40);

inline constexpr UTF8_String_Data Default_UTF8_String_Data{};

inline bool Is_Null(const UTF8_String_Data& Self) noexcept {
    return Self.Storage_Address == nullptr;
}
inline bool Is_Empty(const UTF8_String_Data& Self) noexcept {
    return Self.Size == 0;
}
inline bool Is_SSO(const UTF8_String_Data& Self) noexcept {
    return Self.Has_Storage == 0;
}

// The storage object of stored string data (Has_Storage must be 1).
inline Abstract_Text_Storage* Text_Storage(UTF8_String_Data& Self) noexcept {
    return std::launder(reinterpret_cast<Abstract_Text_Storage*>(Self.Storage));
}
inline const Abstract_Text_Storage* Text_Storage(const UTF8_String_Data& Self) noexcept {
    return std::launder(reinterpret_cast<const Abstract_Text_Storage*>(Self.Storage));
}

// The Size code units of the text (empty for null data).
inline UTF8_Code_Unit_Array Code_Units(const UTF8_String_Data& Self) noexcept {
    return {Self.Storage_Address, static_cast<std::size_t>(Self.Size)};
}
inline std::string_view To_String_View(const UTF8_String_Data& Self) noexcept {
    return {reinterpret_cast<const char*>(Self.Storage_Address),
            static_cast<std::size_t>(Self.Size)};
}

// Code units the data can hold without Make_Mutable taking new storage: 15 in place (also for
// null data), the storage's capacity otherwise.
QORVI_API UTF8_Code_Unit_Count Capacity(const UTF8_String_Data& Self) noexcept;

// After a bitwise copy made Self a second holder of the same text: re-points in-place text at
// Self's own Storage (null stays null), or tells the storage object.
QORVI_API void Reference(UTF8_String_Data& Self) noexcept;
// Lets go of the text (the storage object is told) and resets Self to null.
QORVI_API void Unreference(UTF8_String_Data& Self) noexcept;
// After a bitwise move into Self: re-points in-place text at Self's own Storage, even when it
// was null (a moved-in null value becomes empty and non-null).
QORVI_API void Adjust(UTF8_String_Data& Self) noexcept;

// Empty, non-null data able to take Capacity code units: in place for up to 15, else a new
// heap segment. Size and Length are 0 and a zero code unit is written at offset 0.
QORVI_API void Initialize(UTF8_String_Data& Self, UTF8_Code_Unit_Count Capacity);

// The gate before every write: makes the text exclusively owned, non-null and able to take
// Required code units plus a terminating zero (in place up to 15; the first move to the heap
// takes exactly Required, later growth adds 1/32). The caller then writes the text and sets
// Size, Length and the zero itself.
QORVI_API void Make_Mutable(UTF8_String_Data& Self, UTF8_Code_Unit_Count Required);

// True when Make_Mutable (Self, Required) would have nothing to do: non-null in-place data and
// Required <= 15, or a heap segment that is not shared and has room. Lets the hot editing paths
// skip the call; any other storage is always asked through Make_Mutable.
inline bool Has_Exclusive_Room(const UTF8_String_Data& Self,
                               UTF8_Code_Unit_Count Required) noexcept {
    if (Self.Has_Storage == 0) {
        return Self.Storage_Address != nullptr && Required <= SSO_Max_Size;
    }
    // Comparing the addresses of the type information is a sufficient test (the library's
    // exported classes have one type_info object each); should it ever fail for a heap
    // storage, Make_Mutable is called and does the same work.
    const Abstract_Text_Storage* storage = Text_Storage(Self);
    return &typeid(*storage) == &typeid(Heap_Storage) &&
           static_cast<const Heap_Storage*>(storage)->Is_Exclusive_With_Room(Required);
}

// Validates and copies UTF-8 bytes into Self (out). False on ill-formed input; Self is then
// empty and non-null and must be released. More than 2**30-1 characters or more than 2**31-1
// bytes raise Constraint_Error, with no storage left behind in Self.
[[nodiscard]] QORVI_API bool From_UTF_8_String(UTF8_String_Data& Self, std::string_view Item);

// Encodes code points into Self (out). False when one is a surrogate or above 0x10FFFF; Self is
// then empty and non-null and must be released. More than 2**30-1 code points (or 2**31-1 code
// units) raise Constraint_Error, with no storage left behind in Self.
[[nodiscard]] QORVI_API bool From_Wide_Wide_String(UTF8_String_Data& Self,
                                                   std::u32string_view Item);

// A new byte string holding the Size code units (empty for null or empty data).
QORVI_API std::string To_UTF_8_String(const UTF8_String_Data& Self);

// ---------------------------------------------------------------------------------------------
// Positions

[[noreturn]] QORVI_API void Raise_Position_Out_Of_Range();

// Position := (-1, -1, 0).
inline void Before_First_Character(const UTF8_String_Data&, Cursor& Position) noexcept {
    Position = Strings::Position_Before_First_Character;
}
// Position := (0, 0, 1), whether or not the text is empty.
inline void At_First_Character(const UTF8_String_Data&, Cursor& Position) noexcept {
    Position = Cursor{0, 0, 1};
}
// Position := (Size, 0, Length + 1).
inline void After_Last_Character(const UTF8_String_Data& Self, Cursor& Position) noexcept {
    Position = Cursor{Self.Size, 0, Self.Length + 1};
}

// 1 <= Index <= Length.
inline bool Has_Character(const UTF8_String_Data& Self, const Cursor& Position) noexcept {
    return Position.Index >= 1 && Position.Index <= Self.Length;
}

// Steps to the next character and returns whether the new position stands on one. From index 0
// it restarts at (0, 0, 1); past Length nothing moves. Only the lead unit is read; the UTF-16
// offset advances by 2 for a four-unit character and by 1 otherwise (also when it counts from
// the end). Stepping past the last character gives (Size, UTF-16 length, Length + 1).
inline bool Forward(const UTF8_String_Data& Self, Cursor& Position) {
    if (Position.Index > Self.Length) {
        return false;
    }
    if (Position.Index <= 0) {
        Position = Cursor{0, 0, 1};
        return Self.Length >= 1;
    }
    if (static_cast<std::uint32_t>(Position.UTF8_Offset) >= static_cast<std::uint32_t>(Self.Size)) {
        Raise_Position_Out_Of_Range();
    }
    const UTF8_Code_Unit lead = Self.Storage_Address[Position.UTF8_Offset];
    const int length = UTF8_Encoding::Lead_Unit_Length(lead);
    if (lead >= 0x80 && (length < 2 || length > 4)) [[unlikely]] {
        UTF8_Encoding::Raise_Invalid_Lead_Unit();
    }
    UTF8_Code_Unit_Offset utf8;
    UTF16_Code_Unit_Offset utf16;
    if (__builtin_add_overflow(Position.UTF8_Offset, length, &utf8) ||
        __builtin_add_overflow(Position.UTF16_Offset, length == 4 ? 2 : 1, &utf16)) [[unlikely]] {
        Raise_Position_Out_Of_Range();
    }
    Position.UTF8_Offset = utf8;
    Position.UTF16_Offset = utf16;
    Position.Index += 1;
    return Position.Index <= Self.Length;
}

// The code point at Position, or No_Character when Index is not in 1 .. Length. A position on
// a character whose UTF8_Offset is not an offset of the text raises Constraint_Error.
inline Virtual_Character Element(const UTF8_String_Data& Self, const Cursor& Position) {
    if (!Has_Character(Self, Position)) {
        return Strings::No_Character;
    }
    UTF8_Code_Unit_Offset offset = Position.UTF8_Offset;
    return UTF8_Encoding::Unchecked_Decode_Forward(Code_Units(Self), offset);
}

// Forward, then the character at the new position (No_Character and false when there is none).
// When Index already exceeds Length the position does not change.
inline bool Forward_Element(const UTF8_String_Data& Self, Cursor& Position,
                            Virtual_Character& Element_Code) {
    if (Forward(Self, Position)) {
        Element_Code = Element(Self, Position);
        return true;
    }
    Element_Code = Strings::No_Character;
    return false;
}

// The position one character back; Index must be at least 1 (Constraint_Error otherwise).
// Going back to index 0 gives (UTF8_Offset - 1, UTF16_Offset - 1, 0). A lead unit 0xF0 .. 0xF4
// moves the UTF-16 offset down by 2, others by 1; 0xC0, 0xC1 and 0xF5 .. 0xFF raise
// Program_Error "string data is corrupted".
QORVI_API Cursor Unchecked_Backward(const UTF8_String_Data& Self, const Cursor& Position);

// False without change at index 0; otherwise steps back and returns whether the new index is
// above 0.
inline bool Backward(const UTF8_String_Data& Self, Cursor& Position) {
    if (Position.Index == 0) {
        return false;
    }
    Position = Unchecked_Backward(Self, Position);
    return Position.Index > 0;
}

// The from-start UTF-16 offset of Position (a walk from the start when it counts from the end).
// A result below 0 raises Constraint_Error.
QORVI_API UTF16_Code_Unit_Offset First_UTF16_Offset(const UTF8_String_Data& Self,
                                                    const Cursor& Position);
// The from-start UTF-16 offset of the last code unit of the character at Position.
QORVI_API UTF16_Code_Unit_Offset Last_UTF16_Offset(const UTF8_String_Data& Self,
                                                   const Cursor& Position);
// The offset of the last code unit of the character at Position.
QORVI_API UTF8_Code_Unit_Offset Last_UTF8_Offset(const UTF8_String_Data& Self,
                                                 const Cursor& Position);

// The extent of the characters From .. To inclusive; (0, 0, 0) for an empty text or when From
// lies after To. Positions that count from the end are recomputed by a walk. The span is
// limited to the characters of the text: a From before the first character counts from the
// first one, a To after the last character counts up to the last one.
QORVI_API Cursor_Offset Compute_Size(const UTF8_String_Data& Self, const Cursor& From,
                                     const Cursor& To);

// Unchecked decoding over this text's code units (see UTF8_Encoding).
inline Virtual_Character Unchecked_Decode_Forward(const UTF8_String_Data& Self,
                                                  UTF8_Code_Unit_Offset& Offset) {
    return UTF8_Encoding::Unchecked_Decode_Forward(Code_Units(Self), Offset);
}
inline Virtual_Character Unchecked_Backward_Decode(const UTF8_String_Data& Self,
                                                   UTF8_Code_Unit_Offset& Offset) {
    return UTF8_Encoding::Unchecked_Backward_Decode(Code_Units(Self), Offset);
}

// ---------------------------------------------------------------------------------------------
// Comparison and hashing (byte comparisons; UTF-8 byte order is code point order)

// Same code units (a null and an empty text are equal).
QORVI_API bool Is_Equal(const UTF8_String_Data& Left, const UTF8_String_Data& Right) noexcept;
QORVI_API bool Is_Less(const UTF8_String_Data& Left, const UTF8_String_Data& Right) noexcept;
QORVI_API bool Is_Less_Or_Equal(const UTF8_String_Data& Left,
                                const UTF8_String_Data& Right) noexcept;

// Prefix and suffix tests: an empty prefix or suffix always matches.
QORVI_API bool Starts_With(const UTF8_String_Data& Self, const UTF8_String_Data& Prefix) noexcept;
QORVI_API bool Starts_With(const UTF8_String_Data& Self, Virtual_Character Character);
QORVI_API bool Ends_With(const UTF8_String_Data& Self, const UTF8_String_Data& Suffix) noexcept;
QORVI_API bool Ends_With(const UTF8_String_Data& Self, Virtual_Character Character);

// Feeds every character's code point (four bytes, least significant first) into Generator.
QORVI_API void Hash(const UTF8_String_Data& Self, FNV_Hash::FNV_1a_Generator& Generator);

// ---------------------------------------------------------------------------------------------
// Cutting

// Target (out) := new data with the characters From .. To inclusive; null data when To lies
// before From. From and To must carry from-start UTF-8 offsets; a From before the first
// character starts at the first one, a To after the last character ends with the text. Bounds
// outside the text raise Constraint_Error. Target may be Self: its old text is then released.
QORVI_API void Slice(const UTF8_String_Data& Self, const Cursor& From, const Cursor& To,
                     UTF8_String_Data& Target);

} // namespace Qorvi::Implementation::UTF8_Strings
