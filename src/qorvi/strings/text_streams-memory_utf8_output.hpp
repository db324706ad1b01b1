// An output text stream that encodes characters as UTF-8 into a byte vector in memory.
//
// Buffer holds the bytes written so far; its owner may read it, take it or replace it (call
// Set_Capacity on it first when the final size is known). Writing never fails.
#pragma once

#include <qorvi/strings/stream_element_vectors.hpp>
#include <qorvi/strings/text_streams.hpp>

namespace Qorvi::Text_Streams::Memory_UTF8_Output {

class QORVI_API Memory_UTF8_Output_Stream : public Output_Text_Stream {
public:
    Memory_UTF8_Output_Stream() noexcept = default;

    // Appends the UTF-8 form of Item. A value that is not a Unicode scalar value raises
    // Constraint_Error and writes nothing.
    void Put(Virtual_Character Item, bool& Success) override;
    // Puts every character of Item in turn.
    void Put(const Strings::Virtual_String& Item, bool& Success) override;
    // Put of Item, then New_Line.
    void Put_Line(const Strings::Virtual_String& Item, bool& Success) override;
    // Puts LF (U+000A).
    void New_Line(bool& Success) override;
    // Always false, and the null string: the stream has no failure of its own.
    bool Has_Error() const override;
    Strings::Virtual_String Error_Message() const override;

    Stream_Element_Vectors::Stream_Element_Vector Buffer;
};

} // namespace Qorvi::Text_Streams::Memory_UTF8_Output
