#include <qorvi/ucd/implementation-utf8_casing.hpp>
#include <qorvi/ucd/transformers-casing.hpp>

namespace Qorvi::Transformers::Casing {

namespace {

using Implementation::UTF8_Casing::Case_Mapping;
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

Virtual_String Converted(const Virtual_String& Item, Case_Mapping Mapping) {
    if (Item.Is_Empty()) {
        return Strings::Empty_Virtual_String;
    }
    Local_Data local;
    Implementation::UTF8_Casing::Convert_Case(*Strings::Internals::Data_Access_Constant(Item),
                                              Mapping, local.Data);
    Virtual_String result;
    Strings::Internals::Set_By_Move(result, local.Data);
    return result;
}

void Convert(Virtual_String& Item, Case_Mapping Mapping) {
    if (Item.Is_Empty()) {
        return;
    }
    Local_Data local;
    Implementation::UTF8_Casing::Convert_Case(*Strings::Internals::Data_Access_Constant(Item),
                                              Mapping, local.Data);
    Strings::Internals::Set_By_Move(Item, local.Data);
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
