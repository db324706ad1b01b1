#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <qorvi/strings/stream_element_vectors.hpp>

namespace Qorvi::Implementation::UTF8_Encoding {

std::string_view Image(UTF8_Decode_Error Error) noexcept {
    switch (Error) {
    case UTF8_Decode_Error::NONE:
        return "NONE";
    case UTF8_Decode_Error::INCOMPLETE_2:
        return "INCOMPLETE_2";
    case UTF8_Decode_Error::INCOMPLETE_3:
        return "INCOMPLETE_3";
    case UTF8_Decode_Error::INCOMPLETE_4:
        return "INCOMPLETE_4";
    case UTF8_Decode_Error::INVALID_1:
        return "INVALID_1";
    case UTF8_Decode_Error::INVALID_2_OF_2:
        return "INVALID_2_OF_2";
    case UTF8_Decode_Error::INVALID_2_OF_3:
        return "INVALID_2_OF_3";
    case UTF8_Decode_Error::INVALID_3_OF_3:
        return "INVALID_3_OF_3";
    case UTF8_Decode_Error::INVALID_2_OF_4:
        return "INVALID_2_OF_4";
    case UTF8_Decode_Error::INVALID_3_OF_4:
        return "INVALID_3_OF_4";
    case UTF8_Decode_Error::INVALID_4_OF_4:
        return "INVALID_4_OF_4";
    }
    return "";
}

namespace {

constexpr bool Is_Continuation(UTF8_Code_Unit Unit) noexcept {
    return (Unit & 0xC0) == 0x80;
}

} // namespace

void Decode(UTF8_Code_Unit_Array Data, UTF8_Code_Unit_Offset& Index, bool& Success,
            Virtual_Character& Code, UTF8_Decode_Error& Error) noexcept {
    const auto fail = [&](UTF8_Decode_Error error) {
        Success = false;
        Code = Decode_Failure_Code;
        Error = error;
    };
    if (Index < 0 || static_cast<std::size_t>(Index) >= Data.size()) {
        fail(UTF8_Decode_Error::NONE);
        return;
    }
    const std::size_t i = static_cast<std::size_t>(Index);
    const std::size_t last = Data.size() - 1;
    const UTF8_Code_Unit u1 = Data[i];

    if (u1 <= 0x7F) {
        Code = u1;
        Error = UTF8_Decode_Error::NONE;
        Index += 1;
        return;
    }
    if (u1 >= 0xC2 && u1 <= 0xDF) {
        if (i == last) {
            return fail(UTF8_Decode_Error::INCOMPLETE_2);
        }
        const UTF8_Code_Unit u2 = Data[i + 1];
        if (!Is_Continuation(u2)) {
            return fail(UTF8_Decode_Error::INVALID_2_OF_2);
        }
        Code = (Virtual_Character{u1 & 0x1Fu} << 6) | (u2 & 0x3Fu);
        Error = UTF8_Decode_Error::NONE;
        Index += 2;
        return;
    }
    if (u1 >= 0xE0 && u1 <= 0xEF) {
        // The length test comes before any continuation unit is looked at.
        if (i + 1 >= last) {
            return fail(UTF8_Decode_Error::INCOMPLETE_3);
        }
        const UTF8_Code_Unit u2 = Data[i + 1];
        const UTF8_Code_Unit low = u1 == 0xE0 ? 0xA0 : 0x80;
        const UTF8_Code_Unit high = u1 == 0xED ? 0x9F : 0xBF;
        if (u2 < low || u2 > high) {
            return fail(UTF8_Decode_Error::INVALID_2_OF_3);
        }
        const UTF8_Code_Unit u3 = Data[i + 2];
        if (!Is_Continuation(u3)) {
            return fail(UTF8_Decode_Error::INVALID_3_OF_3);
        }
        Code = (Virtual_Character{u1 & 0x0Fu} << 12) | ((u2 & 0x3Fu) << 6) | (u3 & 0x3Fu);
        Error = UTF8_Decode_Error::NONE;
        Index += 3;
        return;
    }
    if (u1 >= 0xF0 && u1 <= 0xF4) {
        if (i + 2 >= last) {
            return fail(UTF8_Decode_Error::INCOMPLETE_4);
        }
        const UTF8_Code_Unit u2 = Data[i + 1];
        const UTF8_Code_Unit low = u1 == 0xF0 ? 0x90 : 0x80;
        const UTF8_Code_Unit high = u1 == 0xF4 ? 0x8F : 0xBF;
        if (u2 < low || u2 > high) {
            return fail(UTF8_Decode_Error::INVALID_2_OF_4);
        }
        const UTF8_Code_Unit u3 = Data[i + 2];
        if (!Is_Continuation(u3)) {
            return fail(UTF8_Decode_Error::INVALID_3_OF_4);
        }
        const UTF8_Code_Unit u4 = Data[i + 3];
        if (!Is_Continuation(u4)) {
            return fail(UTF8_Decode_Error::INVALID_4_OF_4);
        }
        Code = (Virtual_Character{u1 & 0x07u} << 18) | ((u2 & 0x3Fu) << 12) | ((u3 & 0x3Fu) << 6) |
               (u4 & 0x3Fu);
        Error = UTF8_Decode_Error::NONE;
        Index += 4;
        return;
    }
    fail(UTF8_Decode_Error::INVALID_1);
}

void Raise_Invalid_Lead_Unit() {
    throw Program_Error("invalid UTF-8 lead code unit");
}

void Raise_String_Data_Corrupted() {
    throw Program_Error("string data is corrupted");
}

void Raise_Offset_Out_Of_Range() {
    throw Constraint_Error("code unit offset out of range");
}

void Decode(const Stream_Element_Vectors::Stream_Element_Vector& Data, std::int64_t& Index,
            bool& Success, Virtual_Character& Code, UTF8_Decode_Error& Error) noexcept {
    const Stream_Element_Vectors::Internals::Data_View bytes =
        Stream_Element_Vectors::Internals::Data_Constant_Access(Data);
    if (Index < 1 || Index > bytes.Length) {
        Success = false;
        Code = 0;
        Error = UTF8_Decode_Error::NONE;
        return;
    }
    // A sequence is at most four units long: decoding the window from Index on applies the
    // same rules, the end of the window being the end of the vector when it is near.
    const std::int64_t available = bytes.Length - Index + 1;
    const UTF8_Code_Unit_Array window(bytes.Storage + (Index - 1),
                                      static_cast<std::size_t>(available < 4 ? available : 4));
    UTF8_Code_Unit_Offset offset = 0;
    Decode(window, offset, Success, Code, Error);
    if (Error == UTF8_Decode_Error::NONE) {
        Index += offset;
    } else {
        Code = 0;
    }
}

} // namespace Qorvi::Implementation::UTF8_Encoding
