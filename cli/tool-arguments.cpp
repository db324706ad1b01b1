#include "tool-commands.hpp"

#include <algorithm>

namespace Qorvi_CLI {

bool Arguments::Has(std::string_view Name) const {
    return std::any_of(options.begin(), options.end(),
                       [Name](const auto& option) { return option.first == Name; });
}

const std::string* Arguments::Value(std::string_view Name) const {
    const std::string* found = nullptr;
    for (const auto& option : options) {
        if (option.first == Name) {
            found = &option.second;
        }
    }
    return found;
}

void Raise_Command_Usage_Error(const Command& Item, const std::string& Message) {
    Raise_Usage_Error(Message + " (see 'qorvi-text " + std::string(Item.Name) + " --help')");
}

Arguments Parse_Arguments(const Command& Item, std::span<char* const> Given, bool& Help) {
    Arguments result;
    Help = false;
    bool options_ended = false;
    for (std::size_t at = 0; at < Given.size(); ++at) {
        const std::string_view argument = Given[at];
        if (options_ended || argument == "-" || !argument.starts_with('-') ||
            (Item.Dashed_Operands && !argument.starts_with("--"))) {
            result.Operands.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            options_ended = true;
            continue;
        }
        if (argument == "--help") {
            Help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const auto option = std::find_if(Item.Options.begin(), Item.Options.end(),
                                         [name](const Option& o) { return o.Name == name; });
        if (option == Item.Options.end() || !name.starts_with("--")) {
            Raise_Command_Usage_Error(Item, "unknown option " + Quoted(name));
        }
        if (!option->Takes_Value) {
            if (equals != std::string_view::npos) {
                Raise_Command_Usage_Error(Item, "option " + Quoted(name) + " takes no value");
            }
            result.Add_Option(name, std::string());
        } else if (equals != std::string_view::npos) {
            result.Add_Option(name, std::string(argument.substr(equals + 1)));
        } else if (at + 1 < Given.size()) {
            result.Add_Option(name, std::string(Given[++at]));
        } else {
            Raise_Command_Usage_Error(Item, "option " + Quoted(name) + " needs a value");
        }
    }
    return result;
}

} // namespace Qorvi_CLI
