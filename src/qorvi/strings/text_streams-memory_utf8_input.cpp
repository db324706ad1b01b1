#include <algorithm>
#include <qorvi/strings/text_streams-memory_utf8_input.hpp>
#include <span>
#include <string_view>

namespace Qorvi::Text_Streams::Memory_UTF8_Input {

using Implementation::UTF8_Encoding::UTF8_Decode_Error;
namespace Vectors = Stream_Element_Vectors;

namespace {

// Answered by Get when it yields no character.
constexpr char32_t No_Item = 0x7FFF'FFFF;

// The message for each error, in the order of UTF8_Decode_Error.
constexpr std::u32string_view messages[] = {
    U"",
    U"incomplete two code unit sequence",
    U"incomplete three code unit sequence",
    U"incomplete four code unit sequence",
    U"invalid UTF-8 sequence (wrong start code unit)",
    U"invalid UTF-8 sequence (wrong second code unit of two code units sequence)",
    U"invalid UTF-8 sequence (wrong second code unit of three code units sequence)",
    U"invalid UTF-8 sequence (wrong third code unit of three code units sequence)",
    U"invalid UTF-8 sequence (wrong second code unit of four code units sequence)",
    U"invalid UTF-8 sequence (wrong third code unit of four code units sequence)",
    U"invalid UTF-8 sequence (wrong forth code unit of four code units sequence)",
};

} // namespace

void Memory_UTF8_Input_Stream::Set_Data(const Vectors::Stream_Element_Vector& Data) {
    Buffer = Data;
    Rewind();
}

void Memory_UTF8_Input_Stream::Rewind() noexcept {
    Current = 1;
    Error = UTF8_Decode_Error::NONE;
}

void Memory_UTF8_Input_Stream::Get(char32_t& Item, bool& Success) {
    const Vectors::Internals::Data_View view = Vectors::Internals::Data_Constant_Access(Buffer);
    if (Current < 1 || Current > view.Length) {
        // The end of the data: a failure without an error.
        Success = false;
        Error = UTF8_Decode_Error::NONE;
        Item = No_Item;
        return;
    }
    // A character has at most four code units: decoding a window of up to four bytes from
    // Current decides exactly as decoding the whole buffer would, and keeps the offsets small
    // whatever the buffer's length.
    const Vectors::Stream_Element_Offset available = view.Length - Current + 1;
    const std::span<const std::uint8_t> window(
        view.Storage + (Current - 1),
        static_cast<std::size_t>(std::min<Vectors::Stream_Element_Offset>(available, 4)));
    UTF8_Code_Unit_Offset index = 0;
    Virtual_Character code = 0;
    Implementation::UTF8_Encoding::Decode(window, index, Success, code, Error);
    if (Error == UTF8_Decode_Error::NONE) {
        Current += index;
    }
    Item = Success ? code : No_Item;
}

bool Memory_UTF8_Input_Stream::Is_End_Of_Data() const {
    return Current <= Buffer.Length();
}

bool Memory_UTF8_Input_Stream::Is_End_Of_Stream() const {
    return Current > Buffer.Length();
}

bool Memory_UTF8_Input_Stream::Has_Error() const {
    return Error != UTF8_Decode_Error::NONE;
}

Strings::Virtual_String Memory_UTF8_Input_Stream::Error_Message() const {
    if (Error == UTF8_Decode_Error::NONE) {
        return Strings::Virtual_String();
    }
    return Strings::Virtual_String(messages[static_cast<std::size_t>(Error)]);
}

} // namespace Qorvi::Text_Streams::Memory_UTF8_Input
