#include <qorvi/formatters/strings-formatters-strings.hpp>

namespace Qorvi::Strings::Formatters::Strings {

Formatter Image(const Virtual_String& Item) {
    return Formatter(Virtual_String(), Item);
}

Formatter Image(const Virtual_String& Name, const Virtual_String& Item) {
    return Formatter(Name, Item);
}

Virtual_String Formatter::Format(const Format_Information&) const {
    return value;
}

Virtual_String Formatter::Name() const {
    return name;
}

Formatter::~Formatter() = default;

bool operator==(const Formatter& Left, const Formatter& Right) noexcept {
    return Left.value == Right.value && Left.name == Right.name;
}

} // namespace Qorvi::Strings::Formatters::Strings
