#include <qorvi/ucd/implementation-transformer_results.hpp>
#include <qorvi/ucd/implementation-utf8_normalization.hpp>
#include <qorvi/ucd/transformers-normalization.hpp>

namespace Qorvi::Transformers::Normalization {

namespace {

using Implementation::Normalization_Form;
using Implementation::UTF8_Strings::UTF8_String_Data;
using Strings::Virtual_String;
namespace Results = Implementation::Transformer_Results;

auto normalization(Normalization_Form Form) {
    return [Form](const UTF8_String_Data& Source, UTF8_String_Data& Target) {
        Implementation::UTF8_Normalization::Normalize(Source, Form, Target);
    };
}

// No emptiness test: an empty or null string normalizes to empty, non-null data.
Virtual_String Normalized(const Virtual_String& Item, Normalization_Form Form) {
    return Results::Converted(Item, normalization(Form));
}

void Normalize(Virtual_String& Item, Normalization_Form Form) {
    Results::Replace(Item, normalization(Form));
}

} // namespace

Virtual_String Normalization_Form_D_Transformer::Transform(const Virtual_String& Item) const {
    return Normalized(Item, Normalization_Form::NORMALIZATION_FORM_D);
}
void Normalization_Form_D_Transformer::Transform(Virtual_String& Item) const {
    Normalize(Item, Normalization_Form::NORMALIZATION_FORM_D);
}
std::string_view Normalization_Form_D_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_D_TRANSFORMER";
}

Virtual_String Normalization_Form_C_Transformer::Transform(const Virtual_String& Item) const {
    return Normalized(Item, Normalization_Form::NORMALIZATION_FORM_C);
}
void Normalization_Form_C_Transformer::Transform(Virtual_String& Item) const {
    Normalize(Item, Normalization_Form::NORMALIZATION_FORM_C);
}
std::string_view Normalization_Form_C_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_C_TRANSFORMER";
}

Virtual_String Normalization_Form_KD_Transformer::Transform(const Virtual_String& Item) const {
    return Normalized(Item, Normalization_Form::NORMALIZATION_FORM_KD);
}
void Normalization_Form_KD_Transformer::Transform(Virtual_String& Item) const {
    Normalize(Item, Normalization_Form::NORMALIZATION_FORM_KD);
}
std::string_view Normalization_Form_KD_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_KD_TRANSFORMER";
}

Virtual_String Normalization_Form_KC_Transformer::Transform(const Virtual_String& Item) const {
    return Normalized(Item, Normalization_Form::NORMALIZATION_FORM_KC);
}
void Normalization_Form_KC_Transformer::Transform(Virtual_String& Item) const {
    Normalize(Item, Normalization_Form::NORMALIZATION_FORM_KC);
}
std::string_view Normalization_Form_KC_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_KC_TRANSFORMER";
}

const Normalization_Form_D_Transformer To_Normalization_Form_D{};
const Normalization_Form_C_Transformer To_Normalization_Form_C{};
const Normalization_Form_KD_Transformer To_Normalization_Form_KD{};
const Normalization_Form_KC_Transformer To_Normalization_Form_KC{};

} // namespace Qorvi::Transformers::Normalization
