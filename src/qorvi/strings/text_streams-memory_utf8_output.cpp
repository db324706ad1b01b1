#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <qorvi/strings/text_streams-memory_utf8_output.hpp>

namespace Qorvi::Text_Streams::Memory_UTF8_Output {

void Memory_UTF8_Output_Stream::Put(Virtual_Character Item, bool&) {
    // Anything but a scalar value would be written as ill-formed UTF-8.
    if (Item > 0x10FFFF || (Item >= 0xD800 && Item <= 0xDFFF)) {
        throw Constraint_Error("not a Unicode scalar value");
    }
    Implementation::UTF8_Encoding::UTF8_Code_Unit units[4];
    const UTF8_Code_Unit_Count count = Implementation::UTF8_Encoding::Encode(Item, units);
    for (UTF8_Code_Unit_Count unit = 0; unit < count; ++unit) {
        Buffer.Append(units[unit]);
    }
}

void Memory_UTF8_Output_Stream::Put(const Strings::Virtual_String& Item, bool& Success) {
    Virtual_Character character;
    for (auto position = Item.Before_First_Character(); position.Forward(character);) {
        Put(character, Success);
    }
}

void Memory_UTF8_Output_Stream::Put_Line(const Strings::Virtual_String& Item, bool& Success) {
    Put(Item, Success);
    New_Line(Success);
}

void Memory_UTF8_Output_Stream::New_Line(bool& Success) {
    Put(Virtual_Character{0x0A}, Success);
}

bool Memory_UTF8_Output_Stream::Has_Error() const {
    return false;
}

Strings::Virtual_String Memory_UTF8_Output_Stream::Error_Message() const {
    return Strings::Virtual_String();
}

} // namespace Qorvi::Text_Streams::Memory_UTF8_Output
