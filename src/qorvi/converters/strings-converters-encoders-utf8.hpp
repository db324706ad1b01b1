// The UTF-8 encoder. It never reports an error; STATELESS and STOP_ON_ERROR have no effect.
#pragma once

#include <qorvi/converters/strings-converters-encoders.hpp>

namespace Qorvi::Strings::Converters::Encoders::UTF8 {

class QORVI_API UTF8_Encoder final : public Abstract_Encoder {
public:
    UTF8_Encoder() = default;

    void Initialize(Converter_Flags Flags) override;
    // Writes the byte order mark when due, then the one to four bytes of Item, lead byte first.
    // A value that is not a Unicode scalar value raises Constraint_Error; nothing is written.
    void Encode(Virtual_Character Item, Stream_Element_Vector& Target) override;
    using Abstract_Encoder::Encode;
    bool Has_Error() const override;
    Virtual_String Error_Message() const override;
};

} // namespace Qorvi::Strings::Converters::Encoders::UTF8
