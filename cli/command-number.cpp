// number: the library's JSON number recognizer on texts given as arguments.
#include "tool-commands.hpp"
#include "tool-output.hpp"

#include <cstdio>
#include <qorvi/numbers/implementation-numbers.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <string>
#include <vector>

namespace Qorvi_CLI {

namespace {

namespace Numbers = Qorvi::Implementation::Numbers;

bool is_digit(char Item) {
    return Item >= '0' && Item <= '9';
}

// Feeds the characters of Text to the recognizer as a JSON reader does, checking the JSON
// number syntax -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)? on the way; false when Text does
// not follow it.
bool feed(std::string_view Text, Numbers::Parsing_State& State) {
    Numbers::Reset(State);
    std::size_t at = 0;
    const std::size_t size = Text.size();
    if (at < size && Text[at] == '-') {
        State.Minus = true;
        ++at;
    }
    if (at == size || !is_digit(Text[at])) {
        return false;
    }
    if (Text[at] == '0') {
        Numbers::Int_Digit(State, U'0');
        ++at;
    } else {
        for (; at < size && is_digit(Text[at]); ++at) {
            Numbers::Int_Digit(State, static_cast<char32_t>(Text[at]));
        }
    }
    if (at < size && Text[at] == '.') {
        Numbers::Decimal_Point(State);
        ++at;
        if (at == size || !is_digit(Text[at])) {
            return false;
        }
        for (; at < size && is_digit(Text[at]); ++at) {
            Numbers::Frac_Digit(State, static_cast<char32_t>(Text[at]));
        }
    }
    if (at < size && (Text[at] == 'e' || Text[at] == 'E')) {
        ++at;
        if (at < size && (Text[at] == '+' || Text[at] == '-')) {
            State.Exponent_Minus = Text[at] == '-';
            ++at;
        }
        if (at == size || !is_digit(Text[at])) {
            return false;
        }
        for (; at < size && is_digit(Text[at]); ++at) {
            Numbers::Exp_Digit(State, static_cast<char32_t>(Text[at]));
        }
    }
    return at == size;
}

std::string line_of(const Numbers::JSON_Number& Number) {
    switch (Number.Kind) {
    case Numbers::JSON_Number_Kind::JSON_INTEGER:
        return "JSON_INTEGER " + std::to_string(Number.Integer_Value) + "\n";
    case Numbers::JSON_Number_Kind::JSON_FLOAT: {
        char image[64];
        std::snprintf(image, sizeof image, "JSON_FLOAT %a\n", Number.Float_Value);
        return image;
    }
    case Numbers::JSON_Number_Kind::OUT_OF_RANGE:
        return "OUT_OF_RANGE\n";
    case Numbers::JSON_Number_Kind::NONE:
        break;
    }
    Raise_Input_Error("the recognizer gave no result");
}

Exit_Status run_number(const Arguments& Given) {
    if (Given.Operands.empty()) {
        Raise_Command_Usage_Error(Number_Command, "number needs at least one TEXT");
    }
    // Every argument is checked before anything is written.
    std::vector<std::string> lines;
    Numbers::Parsing_State state;
    for (const std::string& text : Given.Operands) {
        if (!feed(text, state)) {
            Raise_Usage_Error("not a JSON number: " + Quoted(text));
        }
        Numbers::JSON_Number number;
        // The text is ASCII: the syntax allows nothing else.
        Numbers::To_JSON_Number(state, Qorvi::Strings::Conversions::To_Virtual_String(text),
                                number);
        lines.push_back(line_of(number));
    }
    Output_Stream& output = Standard_Output();
    for (const std::string& line : lines) {
        output.Write(line);
    }
    return Exit_Status::SUCCESS;
}

} // namespace

const Command Number_Command{
    "number",
    "classify and convert JSON number texts exactly",
    "usage: qorvi-text number TEXT...\n"
    "\n"
    "Each TEXT must be a JSON number (such as -12, 0.5 or 6.02e23). For each, one line:\n"
    "  JSON_INTEGER <decimal>   a number written without fraction or exponent that fits a\n"
    "                           signed 64-bit integer\n"
    "  JSON_FLOAT <hexadecimal> the correctly rounded double, as printf's %a writes it\n"
    "  OUT_OF_RANGE             an integer beyond 64 bits, or a value beyond the largest\n"
    "                           double\n"
    "\n"
    "Exit status: 0; 2 when a TEXT is not a JSON number.\n",
    {},
    true,
    run_number,
};

} // namespace Qorvi_CLI
