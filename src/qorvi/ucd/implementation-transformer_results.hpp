// How a transformer turns a conversion of string data into its two results: the conversion
// writes into local string data, which then becomes a new string or replaces the text of the
// string given. The local data is released when a conversion raises.
#pragma once

#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Implementation::Transformer_Results {

// String data owned by a scope: released when the scope ends, also on an exception.
struct Local_Data {
    UTF8_Strings::UTF8_String_Data Data;

    Local_Data() = default;
    Local_Data(const Local_Data&) = delete;
    Local_Data& operator=(const Local_Data&) = delete;
    ~Local_Data() { UTF8_Strings::Unreference(Data); }
};

// A new string that takes the text of Local.
inline Qorvi::Strings::Virtual_String Taken(Local_Data& Local) {
    Qorvi::Strings::Virtual_String result;
    Qorvi::Strings::Internals::Set_By_Move(result, Local.Data);
    return result;
}

// Convert (Source, Target) writes the converted text of Source into the empty Target.

// A new string holding the converted text of Item.
template <class Conversion>
Qorvi::Strings::Virtual_String Converted(const Qorvi::Strings::Virtual_String& Item,
                                         Conversion&& Convert) {
    Local_Data local;
    Convert(*Qorvi::Strings::Internals::Data_Access_Constant(Item), local.Data);
    return Taken(local);
}

// Item's text replaced by its converted text.
template <class Conversion>
void Replace(Qorvi::Strings::Virtual_String& Item, Conversion&& Convert) {
    Local_Data local;
    Convert(*Qorvi::Strings::Internals::Data_Access_Constant(Item), local.Data);
    Qorvi::Strings::Internals::Set_By_Move(Item, local.Data);
}

} // namespace Qorvi::Implementation::Transformer_Results
