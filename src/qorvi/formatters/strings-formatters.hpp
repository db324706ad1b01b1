// The contract between a message template (Qorvi::Strings::Templates) and the values that fill
// its placeholders.
//
// A template calls Format of one formatter for each placeholder it fills, passing a
// Format_Information whose Format_String is the placeholder's format text (what follows the
// colon in "{name:format}"), and inserts the returned text unchanged. Each formatter decides
// alone how far it honours the format text. Concrete formatters: Booleans, Integers and Strings.
#pragma once

#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/strings.hpp>
#include <string_view>

namespace Qorvi::Strings::Formatters {

enum class Field_Alignment : std::uint8_t { DEFAULT, LEFT, CENTER, RIGHT, FILL };

// "DEFAULT", "LEFT", "CENTER", "RIGHT" or "FILL".
QORVI_API std::string_view Image(Field_Alignment Item) noexcept;

// What a template tells the formatter of one placeholder. Templates leave Width and Alignment
// at their defaults, and the library's formatters do not read them.
struct Format_Information {
    std::int32_t Width = 0;
    Field_Alignment Alignment = Field_Alignment::DEFAULT;
    // The placeholder's format text; empty when the placeholder has no colon.
    Virtual_String Format_String;

    // Equal widths, alignments and characters of Format_String.
    friend bool operator==(const Format_Information&, const Format_Information&) = default;
};

// A value that can fill a placeholder. The interface can not be copied or assigned through a
// reference to it; concrete formatters may be copyable values.
class QORVI_API Abstract_Formatter {
public:
    // The text that replaces one placeholder.
    virtual Virtual_String Format(const Format_Information& Information) const = 0;
    // The formatter's name; empty when it was created without one. Templates do not use it.
    virtual Virtual_String Name() const = 0;

    virtual ~Abstract_Formatter();

protected:
    Abstract_Formatter() = default;
    Abstract_Formatter(const Abstract_Formatter&) = default;
    Abstract_Formatter& operator=(const Abstract_Formatter&) = default;
};

} // namespace Qorvi::Strings::Formatters
