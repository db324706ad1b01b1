#include <qorvi/converters/strings-converters-encoders-utf8.hpp>

namespace Qorvi::Strings::Converters::Encoders::UTF8 {

void UTF8_Encoder::Initialize(Converter_Flags New_Flags) {
    Flags = New_Flags;
    Reset_State();
}

void UTF8_Encoder::Encode(Virtual_Character Item, Stream_Element_Vector& Target) {
    // A surrogate or a value above U+10FFFF has no UTF-8 form; writing the bit pattern anyway
    // would produce ill-formed bytes.
    if (Item > 0x10FFFF || (Item >= 0xD800 && Item <= 0xDFFF)) {
        throw Constraint_Error("not a Unicode scalar value");
    }
    if (!BOM_Written) {
        BOM_Written = true;
        Target.Append(0xEF);
        Target.Append(0xBB);
        Target.Append(0xBF);
    }
    const auto unit = [](std::uint32_t value) { return static_cast<std::uint8_t>(value); };
    if (Item < 0x80) {
        Target.Append(unit(Item));
    } else if (Item < 0x800) {
        Target.Append(unit(0xC0 | (Item >> 6)));
        Target.Append(unit(0x80 | (Item & 0x3F)));
    } else if (Item < 0x10000) {
        Target.Append(unit(0xE0 | (Item >> 12)));
        Target.Append(unit(0x80 | ((Item >> 6) & 0x3F)));
        Target.Append(unit(0x80 | (Item & 0x3F)));
    } else {
        Target.Append(unit(0xF0 | (Item >> 18)));
        Target.Append(unit(0x80 | ((Item >> 12) & 0x3F)));
        Target.Append(unit(0x80 | ((Item >> 6) & 0x3F)));
        Target.Append(unit(0x80 | (Item & 0x3F)));
    }
}

bool UTF8_Encoder::Has_Error() const {
    return false;
}

Virtual_String UTF8_Encoder::Error_Message() const {
    return {};
}

} // namespace Qorvi::Strings::Converters::Encoders::UTF8
