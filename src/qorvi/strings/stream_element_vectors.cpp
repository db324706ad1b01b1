#include <algorithm>
#include <cstring>
#include <new>
#include <ostream>
#include <qorvi/implementation-checked.hpp>
#include <qorvi/strings/stream_element_vectors.hpp>

namespace Qorvi::Stream_Element_Vectors {

namespace Checked = Qorvi::Implementation::Checked;

// The heap block: two header words, then Size byte slots. The allocation is rounded up to a
// multiple of 8 bytes.
struct Stream_Element_Vector::Data_Record {
    Stream_Element_Offset Size;
    Stream_Element_Offset Length;

    Stream_Element* Storage() noexcept { return reinterpret_cast<Stream_Element*>(this + 1); }
    const Stream_Element* Storage() const noexcept {
        return reinterpret_cast<const Stream_Element*>(this + 1);
    }

    static Data_Record* Allocate(Stream_Element_Offset size) {
        const auto bytes = Checked::Add<Stream_Element_Offset>(
            static_cast<Stream_Element_Offset>(sizeof(Data_Record)),
            Checked::Add<Stream_Element_Offset>(size, 7));
        auto* record = static_cast<Data_Record*>(
            ::operator new(static_cast<std::size_t>(bytes & ~Stream_Element_Offset{7})));
        record->Size = size;
        record->Length = 0;
        return record;
    }

    static void Free(Data_Record* record) noexcept { ::operator delete(record); }
};

// Builds vectors for the conversions: a block of exactly Length slots, always allocated.
struct Access {
    static Stream_Element_Vector From_Bytes(const Stream_Element* bytes,
                                            Stream_Element_Offset length) {
        Stream_Element_Vector result;
        result.Data = Stream_Element_Vector::Data_Record::Allocate(length);
        result.Data->Length = length;
        if (length > 0) {
            std::memcpy(result.Data->Storage(), bytes, static_cast<std::size_t>(length));
        }
        return result;
    }
};

Stream_Element_Vector::Stream_Element_Vector(const Stream_Element_Vector& Source)
    : Capacity(Source.Capacity) {
    if (Source.Data != nullptr) {
        Data = Data_Record::Allocate(std::max(Source.Data->Size, Capacity));
        Data->Length = Source.Data->Length;
        std::memcpy(Data->Storage(), Source.Data->Storage(),
                    static_cast<std::size_t>(Data->Length));
    }
}

Stream_Element_Vector::Stream_Element_Vector(Stream_Element_Vector&& Source) noexcept
    : Data(Source.Data), Capacity(Source.Capacity) {
    Source.Data = nullptr;
}

Stream_Element_Vector& Stream_Element_Vector::operator=(const Stream_Element_Vector& Source) {
    if (this != &Source) {
        Stream_Element_Vector copy(Source);
        *this = std::move(copy);
    }
    return *this;
}

Stream_Element_Vector& Stream_Element_Vector::operator=(Stream_Element_Vector&& Source) noexcept {
    if (this != &Source) {
        Data_Record::Free(Data);
        Data = Source.Data;
        Capacity = Source.Capacity;
        Source.Data = nullptr;
    }
    return *this;
}

Stream_Element_Vector::~Stream_Element_Vector() {
    Data_Record::Free(Data);
}

Stream_Element_Offset Stream_Element_Vector::Length() const noexcept {
    return Data == nullptr ? 0 : Data->Length;
}

Stream_Element Stream_Element_Vector::Element(Stream_Element_Offset Index) const {
    if (Data == nullptr || Index > Data->Length) {
        throw Constraint_Error("byte vector index beyond its length");
    }
    if (Index < 1) {
        throw Constraint_Error("byte vector index below 1");
    }
    return Data->Storage()[Index - 1];
}

// Moves the bytes into a new block of exactly Size slots.
void Stream_Element_Vector::Reserve_Exactly(Stream_Element_Offset Size) {
    Data_Record* grown = Data_Record::Allocate(Size);
    if (Data != nullptr) {
        grown->Length = Data->Length;
        std::memcpy(grown->Storage(), Data->Storage(), static_cast<std::size_t>(Data->Length));
        Data_Record::Free(Data);
    }
    Data = grown;
}

void Stream_Element_Vector::Append(Stream_Element Item) {
    if (Data == nullptr) {
        Data = Data_Record::Allocate(1);
    } else if (Data->Length >= Data->Size) {
        Reserve_Exactly(
            std::max(Checked::Multiply<Stream_Element_Offset>(Data->Size, 2), Capacity));
    }
    Data->Storage()[Data->Length] = Item;
    ++Data->Length;
}

void Stream_Element_Vector::Append(const Stream_Element_Vector& Items) {
    if (Items.Data == nullptr || Items.Data->Length == 0) {
        return;
    }
    const Stream_Element_Offset added = Items.Data->Length;
    if (Data == nullptr) {
        Data = Data_Record::Allocate(std::max(Items.Data->Size, Capacity));
        Data->Length = added;
        std::memcpy(Data->Storage(), Items.Data->Storage(), static_cast<std::size_t>(added));
        return;
    }
    const Stream_Element_Offset required = Checked::Add(Data->Length, added);
    if (required > Data->Size) {
        // Grow geometrically so that appending many vectors stays linear. When Items is Self,
        // its bytes are copied from the old block before that block is freed.
        const Stream_Element_Offset size =
            std::max({Checked::Multiply<Stream_Element_Offset>(Data->Size, 2), required, Capacity});
        Data_Record* grown = Data_Record::Allocate(size);
        grown->Length = required;
        std::memcpy(grown->Storage(), Data->Storage(), static_cast<std::size_t>(Data->Length));
        std::memcpy(grown->Storage() + Data->Length, Items.Data->Storage(),
                    static_cast<std::size_t>(added));
        Data_Record::Free(Data);
        Data = grown;
        return;
    }
    // Room in place; with Items being Self the source and target ranges do not overlap.
    std::memcpy(Data->Storage() + Data->Length, Items.Data->Storage(),
                static_cast<std::size_t>(added));
    Data->Length = required;
}

void Stream_Element_Vector::Set_Capacity(Stream_Element_Offset New_Capacity) {
    Capacity = Checked::In_Range<Stream_Element_Offset>(New_Capacity, 0, INT64_MAX,
                                                        "negative byte vector capacity");
}

bool operator==(const Stream_Element_Vector& Left, const Stream_Element_Vector& Right) noexcept {
    const Stream_Element_Offset length = Left.Length();
    return length == Right.Length() &&
           (length == 0 ||
            std::memcmp(Left.begin(), Right.begin(), static_cast<std::size_t>(length)) == 0);
}

const Stream_Element* Stream_Element_Vector::begin() const noexcept {
    return Data == nullptr ? nullptr : Data->Storage();
}

const Stream_Element* Stream_Element_Vector::end() const noexcept {
    return Data == nullptr ? nullptr : Data->Storage() + Data->Length;
}

void Stream_Element_Vector::Write(std::ostream& Stream) const {
    if (Data != nullptr && Data->Length > 0) {
        Stream.write(reinterpret_cast<const char*>(Data->Storage()),
                     static_cast<std::streamsize>(Data->Length));
    }
}

void Stream_Element_Vector::Read(std::istream&) {
    throw Program_Error("Not implemented");
}

} // namespace Qorvi::Stream_Element_Vectors

namespace Qorvi::Stream_Element_Vectors::Conversions {

std::vector<Stream_Element> To_Stream_Element_Array(const Stream_Element_Vector& Item) {
    return std::vector<Stream_Element>(Item.begin(), Item.end());
}

Stream_Element_Vector To_Stream_Element_Vector(std::span<const Stream_Element> Item) {
    return Access::From_Bytes(Item.data(), static_cast<Stream_Element_Offset>(Item.size()));
}

Stream_Element_Vector Unchecked_From_Unbounded_String(std::string_view Item) {
    return Access::From_Bytes(reinterpret_cast<const Stream_Element*>(Item.data()),
                              static_cast<Stream_Element_Offset>(Item.size()));
}

std::string Unchecked_To_String(const Stream_Element_Vector& Item) {
    Qorvi::Implementation::Checked::In_Range<Stream_Element_Offset>(
        Item.Length(), 0, 0x7FFF'FFFF, "byte vector too long for a string");
    return std::string(reinterpret_cast<const char*>(Item.begin()),
                       static_cast<std::size_t>(Item.Length()));
}

} // namespace Qorvi::Stream_Element_Vectors::Conversions

namespace Qorvi::Stream_Element_Vectors::Internals {

Data_View Data_Constant_Access(const Stream_Element_Vector& Self) noexcept {
    return Data_View{Self.Length(), Self.begin()};
}

} // namespace Qorvi::Stream_Element_Vectors::Internals
