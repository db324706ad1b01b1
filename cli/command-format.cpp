// format: a message template filled with string, integer and Boolean formatters.
#include "tool-commands.hpp"
#include "tool-input.hpp"
#include "tool-output.hpp"

#include <charconv>
#include <cstdint>
#include <memory>
#include <qorvi/formatters/strings-formatters-booleans.hpp>
#include <qorvi/formatters/strings-formatters-integers.hpp>
#include <qorvi/formatters/strings-formatters-strings.hpp>
#include <qorvi/formatters/strings-templates.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <vector>

namespace Qorvi_CLI {

namespace {

namespace Formatters = Qorvi::Strings::Formatters;
namespace Templates = Qorvi::Strings::Templates;
namespace Conversions = Qorvi::Strings::Conversions;

Qorvi::Strings::Virtual_String argument_text(const std::string& Argument) {
    if (First_Ill_Formed_Byte(Argument) >= 0) {
        Raise_Usage_Error("ill-formed UTF-8 in argument " + Quoted(Argument));
    }
    return Conversions::To_Virtual_String(Argument);
}

std::unique_ptr<Formatters::Abstract_Formatter> formatter_of(const std::string& Value) {
    const std::string_view text = Value;
    if (text.starts_with("s:")) {
        return std::make_unique<Formatters::Strings::Formatter>(
            Formatters::Strings::Image(argument_text(Value.substr(2))));
    }
    if (text.starts_with("i:")) {
        const std::string_view digits = text.substr(2);
        std::int32_t number = 0;
        const auto [rest, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (digits.empty() || error != std::errc() || rest != digits.data() + digits.size()) {
            Raise_Usage_Error("not a 32-bit integer: " + Quoted(Value));
        }
        return std::make_unique<Formatters::Integers::Formatter>(
            Formatters::Integers::Image(number));
    }
    if (text == "b:true" || text == "b:false") {
        return std::make_unique<Formatters::Booleans::Formatter>(
            Formatters::Booleans::Image(text == "b:true"));
    }
    Raise_Command_Usage_Error(Format_Command, "bad value " + Quoted(Value) +
                                                  " (expected s:TEXT, i:INTEGER or b:true|false)");
}

Exit_Status run_format(const Arguments& Given) {
    if (Given.Operands.empty()) {
        Raise_Command_Usage_Error(Format_Command, "format needs a TEMPLATE");
    }
    Templates::Formatter_Array parameters{};
    if (Given.Operands.size() - 1 > parameters.size()) {
        Raise_Command_Usage_Error(Format_Command, "at most nine values can be given");
    }
    const Templates::Virtual_String_Template pattern = Templates::To_Virtual_String_Template(
        Conversions::To_Wide_Wide_String(argument_text(Given.Operands.front())));
    std::vector<std::unique_ptr<Formatters::Abstract_Formatter>> values;
    for (std::size_t at = 1; at < Given.Operands.size(); ++at) {
        values.push_back(formatter_of(Given.Operands[at]));
        parameters[at - 1] = values.back().get();
    }
    Qorvi::Strings::Virtual_String result;
    try {
        result = pattern.Format(parameters);
    } catch (const std::exception& error) {
        // A format text the formatter can not honour (a width beyond its limits, a base
        // above 26, ...).
        Raise_Input_Error(std::string("cannot format: ") + error.what());
    }
    Output_Stream& output = Standard_Output();
    Write(output, result);
    output.Write('\n');
    return Exit_Status::SUCCESS;
}

} // namespace

const Command Format_Command{
    "format",
    "fill a message template with values",
    "usage: qorvi-text format TEMPLATE [VALUE...]\n"
    "\n"
    "Writes TEMPLATE with its placeholders filled, and a new line. A placeholder is\n"
    "\"{\" [name] [\":\" format] \"}\"; the k-th placeholder takes the k-th VALUE, and \"{{\"\n"
    "writes \"{\". At most nine values, each one of:\n"
    "  s:TEXT          a string, written as it is\n"
    "  i:INTEGER       a 32-bit integer; the format is [+|-][0][width][#base][_group[sep]],\n"
    "                  for example {:05}, {:#16} or {:_3,}\n"
    "  b:true|b:false  written TRUE or FALSE\n"
    "A TEMPLATE that begins with \"-\" follows \"--\".\n"
    "\n"
    "Exit status: 0; 1 when a format text can not be honoured; 2 for a bad value or bad\n"
    "usage.\n",
    {},
    false,
    run_format,
};

} // namespace Qorvi_CLI
