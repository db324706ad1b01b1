// The subcommands of qorvi-text and the parsing of their arguments.
//
// Each subcommand is described by a Command record (its name, help text, options and the
// function that runs it); main finds the record by name, parses the arguments against it and
// runs it. Every command writes through Standard_Output () and raises Tool_Error for failures.
#pragma once

#include "tool-errors.hpp"

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Qorvi_CLI {

struct Option {
    // With its dashes: "--from".
    std::string_view Name;
    // Takes a value, written "--from LABEL" or "--from=LABEL".
    bool Takes_Value;
};

// The arguments of one command after parsing: the options given, in order, and the operands.
class Arguments {
public:
    std::vector<std::string> Operands;

    bool Has(std::string_view Name) const;
    // The value of the last occurrence of Name; null when it is not given.
    const std::string* Value(std::string_view Name) const;

    void Add_Option(std::string_view Name, std::string Value) {
        options.emplace_back(std::string(Name), std::move(Value));
    }

private:
    std::vector<std::pair<std::string, std::string>> options;
};

struct Command {
    std::string_view Name;
    // One line for the program's help.
    std::string_view Summary;
    // The command's help text, its usage line first.
    std::string_view Help;
    std::span<const Option> Options;
    // Arguments that begin with one "-" are operands (negative numbers), not options.
    bool Dashed_Operands;
    Exit_Status (*Run)(const Arguments& Given);
};

// Parses the arguments that follow the command name. "--help" anywhere before "--" sets
// Help; "--" ends the options; "-" is an operand. An unknown option or a missing value is a
// usage error.
Arguments Parse_Arguments(const Command& Item, std::span<char* const> Given, bool& Help);

// A usage error that points to the command's help.
[[noreturn]] void Raise_Command_Usage_Error(const Command& Item, const std::string& Message);

// The commands this build provides, in the order the help lists them.
std::span<const Command* const> Commands();

// Defined by the command sources (which ones are built depends on the library's subsystems).
extern const Command Decode_Command;
extern const Command Encode_Command;
extern const Command Labels_Command;
extern const Command Normalize_Command;
extern const Command Case_Command;
extern const Command Segment_Command;
extern const Command Width_Command;
extern const Command Props_Command;
extern const Command Number_Command;
extern const Command Format_Command;

} // namespace Qorvi_CLI
