#include <qorvi/formatters/strings-formatters-booleans.hpp>

namespace Qorvi::Strings::Formatters::Booleans {

Formatter Image(bool Item) {
    return Formatter(Virtual_String(), Item);
}

Formatter Image(const Virtual_String& Name, bool Item) {
    return Formatter(Name, Item);
}

Virtual_String Formatter::Format(const Format_Information&) const {
    return Virtual_String(value ? "TRUE" : "FALSE");
}

Virtual_String Formatter::Name() const {
    return name;
}

Formatter::~Formatter() = default;

bool operator==(const Formatter& Left, const Formatter& Right) noexcept {
    return Left.value == Right.value && Left.name == Right.name;
}

} // namespace Qorvi::Strings::Formatters::Booleans
