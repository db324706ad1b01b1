// Error reporting and exit statuses of qorvi-text.
//
// Every message goes to standard error as one line prefixed "qorvi-text: ". A failure is raised
// as a Tool_Error carrying its exit status and caught once, in main, which reports it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace Qorvi_CLI {

// The exit statuses scripts rely on.
enum class Exit_Status : int {
    SUCCESS = 0,
    // Bad input data, a conversion that reported an error, a read or write failure.
    INPUT_ERROR = 1,
    // Unknown subcommand, option or encoding label, a bad argument, a file that can not be
    // opened.
    USAGE_ERROR = 2,
};

// A failure that ends the program with Status; what() is the message without the prefix.
class Tool_Error : public std::runtime_error {
public:
    Tool_Error(Exit_Status Status_Value, const std::string& Message)
        : std::runtime_error(Message), Status(Status_Value) {}
    Exit_Status Status;
};

// Standard output was closed by its reader (for example "| head"): the program stops quietly.
struct Broken_Pipe {};

[[noreturn]] void Raise_Usage_Error(const std::string& Message);
[[noreturn]] void Raise_Input_Error(const std::string& Message);

// Writes "qorvi-text: Message" and a new line to standard error. What the program wrote to
// standard output before is flushed first, so that the two streams read in order on a terminal
// (a failure of that flush does not keep the message back).
void Report(std::string_view Message);

// 'Text' in quotes, for messages. ASCII control characters are written as \xHH, so that a
// message is always one line.
std::string Quoted(std::string_view Text);

} // namespace Qorvi_CLI
