// An input text stream over UTF-8 bytes held in memory.
//
// Get decodes and validates one character at a time, directly from the byte vector. Malformed
// input never raises: Get fails, Has_Error becomes true and Error_Message names the fault; the
// stream stays on the offending sequence (so the next Get reports it again) until Rewind or
// Set_Data. The end of the data makes Get fail without an error.
#pragma once

#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <qorvi/strings/stream_element_vectors.hpp>
#include <qorvi/strings/text_streams.hpp>

namespace Qorvi::Text_Streams::Memory_UTF8_Input {

class QORVI_API Memory_UTF8_Input_Stream : public Input_Text_Stream {
public:
    // Empty: Get fails at once, without an error.
    Memory_UTF8_Input_Stream() noexcept = default;

    // Reads from a copy of Data, from its first byte.
    void Set_Data(const Stream_Element_Vectors::Stream_Element_Vector& Data);
    // Back to the first byte; clears the error.
    void Rewind() noexcept;

    // Decodes the character at the current byte. On success Item is its code point, the stream
    // moves past it and Success is left as it came in (an Item of 0x7FFFFFFF is still given
    // when Success came in false). On failure Success becomes false and Item is 0x7FFFFFFF.
    void Get(char32_t& Item, bool& Success) override;
    bool Is_End_Of_Data() const override;
    bool Is_End_Of_Stream() const override;
    bool Has_Error() const override;
    Strings::Virtual_String Error_Message() const override;

private:
    Stream_Element_Vectors::Stream_Element_Vector Buffer;
    // The next byte to decode (1-based).
    Stream_Element_Vectors::Stream_Element_Offset Current = 1;
    // The outcome of the last Get.
    Implementation::UTF8_Encoding::UTF8_Decode_Error Error =
        Implementation::UTF8_Encoding::UTF8_Decode_Error::NONE;
};

} // namespace Qorvi::Text_Streams::Memory_UTF8_Input
