#include <qorvi/converters/strings-converters-encoders-utf8.hpp>
#include <qorvi/converters/strings-converters-encoders.hpp>

namespace Qorvi::Strings::Converters::Encoders {

namespace UTF8_Strings = Implementation::UTF8_Strings;

Abstract_Encoder::~Abstract_Encoder() = default;

void Abstract_Encoder::Encode(const UTF8_String_Data& Source, Stream_Element_Vector& Target) {
    if (!BOM_Written) {
        BOM_Written = true;
        Encode(Zero_Width_No_Break_Space_Character, Target);
    }
    UTF8_Code_Unit_Offset offset = 0;
    while (offset < Source.Size) {
        if (Has_Error()) {
            return;
        }
        Encode(UTF8_Strings::Unchecked_Decode_Forward(Source, offset), Target);
    }
}

void Abstract_Encoder::Reset_State() {
    BOM_Written = !Flags[Converter_Flag::PROCESS_BOM];
}

Virtual_String_Encoder::Virtual_String_Encoder() noexcept = default;
Virtual_String_Encoder::~Virtual_String_Encoder() = default;

void Virtual_String_Encoder::Initialize(const Virtual_String& Encoding, Converter_Flags Flags) {
    Encoder.reset();
    if (Encoding == Virtual_String("utf-8")) {
        Encoder = std::make_unique<UTF8::UTF8_Encoder>();
        Encoder->Initialize(Flags);
    }
}

bool Virtual_String_Encoder::Is_Valid() const noexcept {
    return Encoder != nullptr;
}

void Virtual_String_Encoder::Encode(Virtual_Character Item, Stream_Element_Vector& Target) {
    if (Encoder != nullptr) {
        Encoder->Encode(Item, Target);
    }
}

void Virtual_String_Encoder::Encode(const Virtual_String& Item, Stream_Element_Vector& Target) {
    if (Encoder != nullptr && !Item.Is_Empty()) {
        Encoder->Encode(*Strings::Internals::Data_Access_Constant(Item), Target);
    }
}

Stream_Element_Vector Virtual_String_Encoder::Encode(Virtual_Character Item) {
    Stream_Element_Vector result;
    Encode(Item, result);
    return result;
}

Stream_Element_Vector Virtual_String_Encoder::Encode(const Virtual_String& Item) {
    Stream_Element_Vector result;
    if (Encoder != nullptr) {
        Encoder->Encode(*Strings::Internals::Data_Access_Constant(Item), result);
    }
    return result;
}

bool Virtual_String_Encoder::Has_Error() const {
    return Encoder != nullptr && Encoder->Has_Error();
}

Virtual_String Virtual_String_Encoder::Error_Message() const {
    return Encoder != nullptr ? Encoder->Error_Message() : Virtual_String();
}

void Virtual_String_Encoder::Reset_State() {
    if (Encoder != nullptr) {
        Encoder->Reset_State();
    }
}

} // namespace Qorvi::Strings::Converters::Encoders
