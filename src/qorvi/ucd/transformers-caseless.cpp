#include <qorvi/ucd/implementation-transformer_results.hpp>
#include <qorvi/ucd/implementation-utf8_casing.hpp>
#include <qorvi/ucd/implementation-utf8_normalization.hpp>
#include <qorvi/ucd/transformers-caseless.hpp>

namespace Qorvi::Transformers::Caseless {

namespace {

using Implementation::Normalization_Form;
using Implementation::UTF8_Strings::UTF8_String_Data;
using Strings::Virtual_String;
namespace Results = Implementation::Transformer_Results;

// toNFKC_Casefold (NFD (Source)) into Target: NFD, the NFKC_Casefold mapping, NFC.
void caseless_form(const UTF8_String_Data& Source, UTF8_String_Data& Target) {
    Results::Local_Data decomposed;
    Implementation::UTF8_Normalization::Normalize(Source, Normalization_Form::NORMALIZATION_FORM_D,
                                                  decomposed.Data);
    Results::Local_Data folded;
    Implementation::UTF8_Casing::Convert_Case(
        decomposed.Data, Implementation::UTF8_Casing::Case_Mapping::NFKC_CASEFOLD, folded.Data);
    Implementation::UTF8_Normalization::Normalize(folded.Data,
                                                  Normalization_Form::NORMALIZATION_FORM_C, Target);
}

} // namespace

Virtual_String Identifier_Caseless_Transformer::Transform(const Virtual_String& Item) const {
    if (Item.Is_Empty()) {
        return Strings::Empty_Virtual_String;
    }
    return Results::Converted(Item, caseless_form);
}

void Identifier_Caseless_Transformer::Transform(Virtual_String& Item) const {
    Results::Replace(Item, caseless_form);
}

std::string_view Identifier_Caseless_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.CASELESS.IDENTIFIER_CASELESS_TRANSFORMER";
}

const Identifier_Caseless_Transformer To_Identifier_Caseless{};

} // namespace Qorvi::Transformers::Caseless
