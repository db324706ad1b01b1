// qorvi-text: the library's abilities in a shell pipeline.
//
//   qorvi-text COMMAND [OPTION...] [ARGUMENT...]
//
// Exit statuses: 0 success, 1 input or conversion error, 2 usage error. Messages go to
// standard error prefixed "qorvi-text: ". A reader that closes standard output early ends the
// program quietly, with status 0.
#include "tool-commands.hpp"
#include "tool-errors.hpp"
#include "tool-output.hpp"

#include <csignal>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#ifndef QORVI_CLI_VERSION
#define QORVI_CLI_VERSION "0"
#endif

namespace Qorvi_CLI {

std::span<const Command* const> Commands() {
    // A vector, as a build may have no command at all.
    static const std::vector<const Command*> commands = {
#ifdef QORVI_CLI_WITH_CONVERTERS
        &Decode_Command,    &Encode_Command,
#endif
#ifdef QORVI_CLI_WITH_UCD
        &Normalize_Command, &Case_Command,
#endif
#ifdef QORVI_CLI_WITH_SEGMENTS
        &Segment_Command,   &Width_Command,
#endif
#ifdef QORVI_CLI_WITH_UCD
        &Props_Command,
#endif
#ifdef QORVI_CLI_WITH_NUMBERS
        &Number_Command,
#endif
#ifdef QORVI_CLI_WITH_FORMATTERS
        &Format_Command,
#endif
#ifdef QORVI_CLI_WITH_CONVERTERS
        &Labels_Command,
#endif
    };
    return commands;
}

namespace {

std::string program_help() {
    std::string text = "usage: qorvi-text COMMAND [OPTION...] [ARGUMENT...]\n"
                       "       qorvi-text --help | --version\n"
                       "\n"
                       "Unicode text tools over the Qorvi Text library.\n"
                       "\n"
                       "Commands:\n";
    for (const Command* command : Commands()) {
        text += "  ";
        text += command->Name;
        text.append(command->Name.size() < 11 ? 11 - command->Name.size() : 1, ' ');
        text += command->Summary;
        text += '\n';
    }
    text += "\n"
            "Commands that read text take the named files in order, or standard input when no\n"
            "file is named or a file is \"-\". Output goes to standard output.\n"
            "Run 'qorvi-text COMMAND --help' for the options of a command.\n"
            "\n"
            "Exit status: 0 success, 1 input or conversion error, 2 usage error.\n";
    return text;
}

Exit_Status run(int argc, char** argv) {
    const std::span<char* const> arguments(argv + 1,
                                           argc > 1 ? static_cast<std::size_t>(argc - 1) : 0);
    if (arguments.empty()) {
        Raise_Usage_Error("no command given (see 'qorvi-text --help')");
    }
    const std::string_view name = arguments[0];
    if (name == "--help" || name == "-h") {
        Standard_Output().Write(program_help());
        return Exit_Status::SUCCESS;
    }
    if (name == "--version") {
        Standard_Output().Write("qorvi-text " QORVI_CLI_VERSION "\n");
        return Exit_Status::SUCCESS;
    }
    for (const Command* command : Commands()) {
        if (command->Name == name) {
            bool help = false;
            const Arguments given = Parse_Arguments(*command, arguments.subspan(1), help);
            if (help) {
                Standard_Output().Write(command->Help);
                return Exit_Status::SUCCESS;
            }
            return command->Run(given);
        }
    }
    if (name.starts_with('-')) {
        Raise_Usage_Error("unknown option " + Quoted(name) + " (see 'qorvi-text --help')");
    }
    Raise_Usage_Error("unknown command " + Quoted(name) + " (see 'qorvi-text --help')");
}

} // namespace
} // namespace Qorvi_CLI

int main(int argc, char** argv) {
    using namespace Qorvi_CLI;
    // A closed pipe shows as EPIPE from write (and ends the program quietly), not as a signal.
    std::signal(SIGPIPE, SIG_IGN);
    Exit_Status status = Exit_Status::SUCCESS;
    try {
        status = run(argc, argv);
        Standard_Output().Flush();
    } catch (const Broken_Pipe&) {
        return static_cast<int>(Exit_Status::SUCCESS);
    } catch (const Tool_Error& error) {
        status = error.Status;
        Report(error.what());
    } catch (const std::bad_alloc&) {
        status = Exit_Status::INPUT_ERROR;
        Report("out of memory");
    } catch (const std::exception& error) {
        // A limit of the library (for example a line longer than a string can hold).
        status = Exit_Status::INPUT_ERROR;
        Report(error.what());
    }
    return static_cast<int>(status);
}
