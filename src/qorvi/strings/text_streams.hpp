// Text streams: character-by-character text input and output, independent of where the text
// comes from or goes to.
//
// Every operation with a Success parameter leaves it unchanged when it succeeds and sets it to
// false when it fails, so a caller can run a sequence of calls and test once.
#pragma once

#include <qorvi/qorvi.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Text_Streams {

class QORVI_API Input_Text_Stream {
public:
    Input_Text_Stream(const Input_Text_Stream&) = delete;
    Input_Text_Stream& operator=(const Input_Text_Stream&) = delete;
    Input_Text_Stream(Input_Text_Stream&&) = delete;
    Input_Text_Stream& operator=(Input_Text_Stream&&) = delete;
    virtual ~Input_Text_Stream();

    // Reads the next character into Item. When there is none (end of the data, or an error),
    // Success becomes false and Item is 0x7FFFFFFF.
    virtual void Get(char32_t& Item, bool& Success) = 0;
    // True while data remains to be read.
    virtual bool Is_End_Of_Data() const = 0;
    // True when no data remains (always the opposite of Is_End_Of_Data).
    virtual bool Is_End_Of_Stream() const = 0;
    // The last Get met malformed input.
    virtual bool Has_Error() const = 0;
    // What was wrong; the null string when nothing was.
    virtual Strings::Virtual_String Error_Message() const = 0;

protected:
    Input_Text_Stream() noexcept = default;
};

class QORVI_API Output_Text_Stream {
public:
    Output_Text_Stream(const Output_Text_Stream&) = delete;
    Output_Text_Stream& operator=(const Output_Text_Stream&) = delete;
    Output_Text_Stream(Output_Text_Stream&&) = delete;
    Output_Text_Stream& operator=(Output_Text_Stream&&) = delete;
    virtual ~Output_Text_Stream();

    // Writes one character; a value that is not a Unicode scalar value raises
    // Constraint_Error.
    virtual void Put(Virtual_Character Item, bool& Success) = 0;
    // Writes every character of Item.
    virtual void Put(const Strings::Virtual_String& Item, bool& Success) = 0;
    // Writes Item, then a line end.
    virtual void Put_Line(const Strings::Virtual_String& Item, bool& Success) = 0;
    // Writes a line end.
    virtual void New_Line(bool& Success) = 0;
    virtual bool Has_Error() const = 0;
    virtual Strings::Virtual_String Error_Message() const = 0;

protected:
    Output_Text_Stream() noexcept = default;
};

} // namespace Qorvi::Text_Streams
