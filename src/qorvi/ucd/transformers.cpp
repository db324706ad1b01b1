#include <ostream>
#include <qorvi/ucd/transformers.hpp>

namespace Qorvi::Transformers {

std::string_view Abstract_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.ABSTRACT_TRANSFORMER";
}

Abstract_Transformer::~Abstract_Transformer() = default;

std::ostream& operator<<(std::ostream& Stream, const Abstract_Transformer& Item) {
    return Stream << Item.Image();
}

void PrintTo(const Abstract_Transformer& Item, std::ostream* Stream) {
    *Stream << Item.Image();
}

} // namespace Qorvi::Transformers

namespace Qorvi::Strings {

Virtual_String Transform(const Virtual_String& Self,
                         const Transformers::Abstract_Transformer& Transformer) {
    return Transformer.Transform(Self);
}

void Transform(Virtual_String& Self, const Transformers::Abstract_Transformer& Transformer) {
    Transformer.Transform(Self);
}

bool Starts_With(const Virtual_String& Self, const Virtual_String& Prefix,
                 const Transformers::Abstract_Transformer& Transformer) {
    // Both temporaries are released on return, also when the second transform raises.
    const Virtual_String text = Transformer.Transform(Self);
    const Virtual_String prefix = Transformer.Transform(Prefix);
    return Implementation::UTF8_Strings::Starts_With(*Internals::Data_Access_Constant(text),
                                                     *Internals::Data_Access_Constant(prefix));
}

} // namespace Qorvi::Strings
