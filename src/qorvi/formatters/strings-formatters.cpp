#include <qorvi/formatters/strings-formatters.hpp>

namespace Qorvi::Strings::Formatters {

std::string_view Image(Field_Alignment Item) noexcept {
    switch (Item) {
    case Field_Alignment::DEFAULT:
        return "DEFAULT";
    case Field_Alignment::LEFT:
        return "LEFT";
    case Field_Alignment::CENTER:
        return "CENTER";
    case Field_Alignment::RIGHT:
        return "RIGHT";
    case Field_Alignment::FILL:
        return "FILL";
    }
    // A value outside the enumeration (only reachable through a cast).
    return "";
}

// Defined here so that the interface's type information has one home.
Abstract_Formatter::~Abstract_Formatter() = default;

} // namespace Qorvi::Strings::Formatters
