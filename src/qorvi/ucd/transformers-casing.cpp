#include <qorvi/ucd/implementation-transformer_results.hpp>
#include <qorvi/ucd/implementation-utf8_casing.hpp>
#include <qorvi/ucd/transformers-casing.hpp>

namespace Qorvi::Transformers::Casing {

namespace {

using Implementation::UTF8_Casing::Case_Mapping;
using Implementation::UTF8_Strings::UTF8_String_Data;
using Strings::Virtual_String;
namespace Results = Implementation::Transformer_Results;

auto case_conversion(Case_Mapping Mapping) {
    return [Mapping](const UTF8_String_Data& Source, UTF8_String_Data& Target) {
        Implementation::UTF8_Casing::Convert_Case(Source, Mapping, Target);
    };
}

// An empty or null string gives a null string and is left as it is.
Virtual_String Converted(const Virtual_String& Item, Case_Mapping Mapping) {
    if (Item.Is_Empty()) {
        return Strings::Empty_Virtual_String;
    }
    return Results::Converted(Item, case_conversion(Mapping));
}

void Convert(Virtual_String& Item, Case_Mapping Mapping) {
    if (!Item.Is_Empty()) {
        Results::Replace(Item, case_conversion(Mapping));
    }
}

} // namespace

Virtual_String Lowercase_Transformer::Transform(const Virtual_String& Item) const {
    return Converted(Item, Case_Mapping::LOWERCASE);
}
void Lowercase_Transformer::Transform(Virtual_String& Item) const {
    Convert(Item, Case_Mapping::LOWERCASE);
}
std::string_view Lowercase_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.CASING.LOWERCASE_TRANSFORMER";
}

Virtual_String Uppercase_Transformer::Transform(const Virtual_String& Item) const {
    return Converted(Item, Case_Mapping::UPPERCASE);
}
void Uppercase_Transformer::Transform(Virtual_String& Item) const {
    Convert(Item, Case_Mapping::UPPERCASE);
}
std::string_view Uppercase_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.CASING.UPPERCASE_TRANSFORMER";
}

Virtual_String Simple_Lowercase_Transformer::Transform(const Virtual_String& Item) const {
    return Converted(Item, Case_Mapping::SIMPLE_LOWERCASE);
}
void Simple_Lowercase_Transformer::Transform(Virtual_String& Item) const {
    Convert(Item, Case_Mapping::SIMPLE_LOWERCASE);
}
std::string_view Simple_Lowercase_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.CASING.SIMPLE_LOWERCASE_TRANSFORMER";
}

Virtual_String Simple_Uppercase_Transformer::Transform(const Virtual_String& Item) const {
    return Converted(Item, Case_Mapping::SIMPLE_UPPERCASE);
}
void Simple_Uppercase_Transformer::Transform(Virtual_String& Item) const {
    Convert(Item, Case_Mapping::SIMPLE_UPPERCASE);
}
std::string_view Simple_Uppercase_Transformer::Image() const noexcept {
    return "QORVI.TRANSFORMERS.CASING.SIMPLE_UPPERCASE_TRANSFORMER";
}

const Lowercase_Transformer To_Lowercase{};
const Uppercase_Transformer To_Uppercase{};
const Simple_Lowercase_Transformer To_Simple_Lowercase{};
const Simple_Uppercase_Transformer To_Simple_Uppercase{};

} // namespace Qorvi::Transformers::Casing
