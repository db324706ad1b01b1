// Stream_Element_Vector: a growable array of bytes with 1-based, 64-bit indices.
//
// Unlike strings, byte vectors never share storage: every copy owns its buffer. Vectors are
// the input of decoders and the output of encoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <qorvi/qorvi.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Qorvi::Stream_Element_Vectors {

using Stream_Element = std::uint8_t;
// 1-based element index; 0 means "no element" where a position is returned.
using Stream_Element_Offset = std::int64_t;

class QORVI_API Stream_Element_Vector {
public:
    // A position in the vector for First/Next/Previous walks: 0 means no element.
    using Cursor = Stream_Element_Offset;

    // Walks the elements that were there when Iterate was called.
    class Reversible_Iterator {
    public:
        explicit Reversible_Iterator(Stream_Element_Offset length) noexcept : Length(length) {}
        Cursor First() const noexcept { return Length > 0 ? 1 : 0; }
        Cursor Last() const noexcept { return Length; }
        Cursor Next(Cursor Position) const noexcept {
            return Position > 0 && Position < Length ? Position + 1 : 0;
        }
        Cursor Previous(Cursor Position) const noexcept { return Position > 0 ? Position - 1 : 0; }

    private:
        Stream_Element_Offset Length;
    };

    Stream_Element_Vector() noexcept = default;
    // The copy gets its own block of max(source block size, Capacity) bytes.
    Stream_Element_Vector(const Stream_Element_Vector& Source);
    // Takes the source's block; the source is left without data.
    Stream_Element_Vector(Stream_Element_Vector&& Source) noexcept;
    Stream_Element_Vector& operator=(const Stream_Element_Vector& Source);
    Stream_Element_Vector& operator=(Stream_Element_Vector&& Source) noexcept;
    ~Stream_Element_Vector();

    Stream_Element_Offset Length() const noexcept;
    bool Is_Empty() const noexcept { return Length() == 0; }

    // The byte at Index (1 .. Length); Constraint_Error otherwise.
    Stream_Element Element(Stream_Element_Offset Index) const;

    // Adds one byte. The block doubles when full (or grows to Capacity when that is larger).
    void Append(Stream_Element Item);
    // Adds all bytes of Items, in place when the block has room, otherwise into a block at
    // least twice as large (or Capacity).
    void Append(const Stream_Element_Vector& Items);

    // The minimum size of every later allocation; allocates nothing now.
    void Set_Capacity(Stream_Element_Offset Capacity);

    // Equal lengths and equal bytes (a vector without data equals an empty one).
    friend QORVI_API bool operator==(const Stream_Element_Vector& Left,
                                     const Stream_Element_Vector& Right) noexcept;

    Reversible_Iterator Iterate() const noexcept { return Reversible_Iterator(Length()); }
    static bool Has_Element(Cursor Position) noexcept { return Position > 0; }

    // Range-for over the bytes.
    const Stream_Element* begin() const noexcept;
    const Stream_Element* end() const noexcept;

    // Writes the bytes 1 .. Length as they are (no length prefix).
    void Write(std::ostream& Stream) const;
    // The written form carries no length, so a vector can not be read back: Program_Error
    // "Not implemented".
    void Read(std::istream& Stream);

private:
    friend struct Access;
    struct Data_Record;

    void Reserve_Exactly(Stream_Element_Offset Size);

    Data_Record* Data = nullptr;
    Stream_Element_Offset Capacity = 0;
};

} // namespace Qorvi::Stream_Element_Vectors

namespace Qorvi::Stream_Element_Vectors::Conversions {

// The bytes, as a new array (empty for a vector without data).
QORVI_API std::vector<Stream_Element> To_Stream_Element_Array(const Stream_Element_Vector& Item);
// A vector holding a copy of Item; it always has data, also for an empty Item.
QORVI_API Stream_Element_Vector To_Stream_Element_Vector(std::span<const Stream_Element> Item);
// A vector holding the characters of Item as bytes.
QORVI_API Stream_Element_Vector Unchecked_From_Unbounded_String(std::string_view Item);
// The bytes as characters; Constraint_Error for more than 2**31-1 bytes.
QORVI_API std::string Unchecked_To_String(const Stream_Element_Vector& Item);

} // namespace Qorvi::Stream_Element_Vectors::Conversions

namespace Qorvi::Stream_Element_Vectors::Internals {

struct Data_View {
    Stream_Element_Offset Length;
    const Stream_Element* Storage; // null when the vector has no data
};

// Direct read access to the bytes, for the library's own units.
QORVI_API Data_View Data_Constant_Access(const Stream_Element_Vector& Self) noexcept;

} // namespace Qorvi::Stream_Element_Vectors::Internals
