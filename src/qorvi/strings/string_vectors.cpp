#include <algorithm>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <qorvi/strings/string_vectors.hpp>

namespace Qorvi::String_Vectors {

namespace Vectors = Implementation::String_Vectors;
namespace UTF8 = Implementation::UTF8_Strings;
using Qorvi::Strings::Internals::Data_Access_Constant;

namespace {

void check_index(std::int32_t index) {
    if (index < 1) {
        throw Constraint_Error("string vector index below 1");
    }
}

// Moves data into a new string.
Virtual_String to_string(UTF8::UTF8_String_Data& data) noexcept {
    Virtual_String result;
    if (!UTF8::Is_Null(data)) {
        Qorvi::Strings::Internals::Set_By_Move(result, data);
    }
    return result;
}

} // namespace

Virtual_String_Vector::Virtual_String_Vector(std::initializer_list<Virtual_String> Items) {
    for (const Virtual_String& item : Items) {
        Append(item);
    }
}

Virtual_String_Vector::Virtual_String_Vector(const Virtual_String_Vector& Source) noexcept
    : Data(Vectors::Reference(Source.Data)) {}

Virtual_String_Vector::Virtual_String_Vector(Virtual_String_Vector&& Source) noexcept
    : Data(Source.Data) {
    Source.Data = nullptr;
}

Virtual_String_Vector&
Virtual_String_Vector::operator=(const Virtual_String_Vector& Source) noexcept {
    if (this != &Source) {
        Vectors::Reference(Source.Data);
        Vectors::Unreference(Data);
        Data = Source.Data;
    }
    return *this;
}

Virtual_String_Vector& Virtual_String_Vector::operator=(Virtual_String_Vector&& Source) noexcept {
    if (this != &Source) {
        Vectors::Unreference(Data);
        Data = Source.Data;
        Source.Data = nullptr;
    }
    return *this;
}

Virtual_String_Vector::~Virtual_String_Vector() {
    Vectors::Unreference(Data);
}

Virtual_String Virtual_String_Vector::Element(std::int32_t Index) const {
    check_index(Index);
    if (Index > Length()) {
        return Virtual_String();
    }
    return Qorvi::Strings::Internals::To_Virtual_String(Data->Element(Index));
}

Virtual_String Virtual_String_Vector::First_Element() const {
    return Is_Empty() ? Virtual_String() : Element(1);
}

Virtual_String Virtual_String_Vector::Last_Element() const {
    return Is_Empty() ? Virtual_String() : Element(Length());
}

void Virtual_String_Vector::Append(const Virtual_String& Item) {
    Data = Vectors::Append(Data, *Data_Access_Constant(Item));
}

void Virtual_String_Vector::Append(const Virtual_String_Vector& Items) {
    const std::int32_t count = Items.Length();
    for (std::int32_t i = 1; i <= count; ++i) {
        // Items may be this vector: read its element afresh after each append.
        Data = Vectors::Append(Data, Items.Data->Element(i));
    }
}

void Virtual_String_Vector::Prepend(const Virtual_String& Item) {
    Data = Vectors::Prepend(Data, *Data_Access_Constant(Item));
}

void Virtual_String_Vector::Replace(std::int32_t Index, const Virtual_String& Item) {
    check_index(Index);
    Data = Vectors::Replace(Data, Index, *Data_Access_Constant(Item));
}

void Virtual_String_Vector::Delete(std::int32_t Index) {
    Data = Vectors::Delete(Data, Index);
}

void Virtual_String_Vector::Delete_First() {
    if (!Is_Empty()) {
        Delete(1);
    }
}

void Virtual_String_Vector::Delete_Last() {
    if (!Is_Empty()) {
        Delete(Length());
    }
}

void Virtual_String_Vector::Clear() noexcept {
    Data = Vectors::Unreference(Data);
}

bool Virtual_String_Vector::Contains(const Virtual_String& Item) const noexcept {
    return Vectors::Contains(Data, *Data_Access_Constant(Item));
}

Virtual_String_Vector Virtual_String_Vector::Slice(std::int32_t From, std::int32_t To) const {
    check_index(From);
    Virtual_String_Vector result;
    const std::int32_t last = std::min(To, Length());
    for (std::int32_t i = From; i <= last; ++i) {
        result.Data = Vectors::Append(result.Data, Data->Element(i));
    }
    return result;
}

Virtual_String Virtual_String_Vector::Join(Virtual_Character Separator) const {
    if (Separator > 0x10FFFF || (Separator >= 0xD800 && Separator <= 0xDFFF)) {
        throw Constraint_Error("not a Unicode scalar value");
    }
    UTF8::UTF8_String_Data result;
    UTF8::Cursor_Offset ignored;
    try {
        for (std::int32_t i = 1; i <= Length(); ++i) {
            if (i > 1) {
                UTF8::Mutable_Operations::Append(result, Separator);
            }
            UTF8::Mutable_Operations::Append(result, Data->Element(i), ignored);
        }
    } catch (...) {
        UTF8::Unreference(result);
        throw;
    }
    return to_string(result);
}

Virtual_String Virtual_String_Vector::Join(const Virtual_String& Separator) const {
    UTF8::UTF8_String_Data result;
    UTF8::Cursor_Offset ignored;
    try {
        for (std::int32_t i = 1; i <= Length(); ++i) {
            if (i > 1) {
                UTF8::Mutable_Operations::Append(result, *Data_Access_Constant(Separator), ignored);
            }
            UTF8::Mutable_Operations::Append(result, Data->Element(i), ignored);
        }
    } catch (...) {
        UTF8::Unreference(result);
        throw;
    }
    return to_string(result);
}

Virtual_String Virtual_String_Vector::Join_Lines(Qorvi::Strings::Line_Terminator Terminator,
                                                 bool Terminate) const {
    UTF8::UTF8_String_Data result;
    try {
        Vectors::Join_Lines(Data, result, Terminator, Terminate);
    } catch (...) {
        UTF8::Unreference(result);
        throw;
    }
    return to_string(result);
}

void Virtual_String_Vector::Read(std::istream&) {
    throw Program_Error("string vectors are not streamed");
}

void Virtual_String_Vector::Write(std::ostream&) const {
    throw Program_Error("string vectors are not streamed");
}

bool operator==(const Virtual_String_Vector& Left, const Virtual_String_Vector& Right) noexcept {
    const std::int32_t length = Left.Length();
    if (length != Right.Length()) {
        return false;
    }
    for (std::int32_t i = 1; i <= length; ++i) {
        if (!UTF8::Is_Equal(Left.Data->Element(i), Right.Data->Element(i))) {
            return false;
        }
    }
    return true;
}

Virtual_String_Vector operator+(const Virtual_String_Vector& Left,
                                const Virtual_String_Vector& Right) {
    Virtual_String_Vector result = Left;
    result.Append(Right);
    return result;
}

Virtual_String_Vector Delete_First(const Virtual_String_Vector& Self) {
    Virtual_String_Vector result = Self;
    result.Delete_First();
    return result;
}

const Virtual_String_Vector Empty_Virtual_String_Vector;

} // namespace Qorvi::String_Vectors
