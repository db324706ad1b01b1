#include <qorvi/ucd/implementation-utf8_casing.hpp>
#include <qorvi/ucd/implementation-utf8_normalization.hpp>
#include <qorvi/ucd/transformers-caseless.hpp>

namespace Qorvi::Transformers::Caseless {

namespace {

using Implementation::Normalization_Form;
using Implementation::UTF8_Strings::UTF8_String_Data;
using Strings::Virtual_String;

// Local string data, released when it goes out of scope (also on an exception).
struct Local_Data {
    UTF8_String_Data Data;
    Local_Data() = default;
    Local_Data(const Local_Data&) = delete;
    Local_Data& operator=(const Local_Data&) = delete;
    ~Local_Data() { Implementation::UTF8_Strings::Unreference(Data); }
};

// toNFKC_Casefold (NFD (Item)) into Result (out): NFD, the NFKC_Casefold mapping, NFC.
void Caseless_Form(const Virtual_String& Item, Local_Data& Result) {
    Local_Data decomposed;
    Implementation::UTF8_Normalization::Normalize(*Strings::Internals::Data_Access_Constant(Item),
                                                  Normalization_Form::NORMALIZATION_FORM_D,
                                                  decomposed.Data);
    Local_Data folded;
    Implementation::UTF8_Casing::Convert_Case(
        decomposed.Data, Implementation::UTF8_Casing::Case_Mapping::NFKC_CASEFOLD, folded.Data);
    Implementation::UTF8_Normalization::Normalize(
        folded.Data, Normalization_Form::NORMALIZATION_FORM_C, Result.Data);
}

} // namespace

Virtual_String Identifier_Caseless_Transformer::Transform(const Virtual_String& Item) const {
    if (Item.Is_Empty()) {
        return Strings::Empty_Virtual_String;
    }
    Local_Data local;
    Caseless_Form(Item, local);
    Virtual_String result;
    Strings::Internals::Set_By_Move(result, local.Data);
    return result;
}

void Identifier_Caseless_Transformer::Transform(Virtual_String& Item) const {
    Local_Data local;
    Caseless_Form(Item, local);
    Strings::Internals::Set_By_Move(Item, local.Data);
}

std::string_view Identifier_Caseless_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.CASELESS.IDENTIFIER_CASELESS_TRANSFORMER";
}

const Identifier_Caseless_Transformer To_Identifier_Caseless{};

} // namespace Qorvi::Transformers::Caseless
