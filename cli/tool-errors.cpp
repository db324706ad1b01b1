#include "tool-errors.hpp"

#include "tool-output.hpp"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace Qorvi_CLI {

void Raise_Usage_Error(const std::string& Message) {
    throw Tool_Error(Exit_Status::USAGE_ERROR, Message);
}

void Raise_Input_Error(const std::string& Message) {
    throw Tool_Error(Exit_Status::INPUT_ERROR, Message);
}

void Report(std::string_view Message) {
    try {
        Standard_Output().Flush();
    } catch (const Broken_Pipe&) {
        // The message still goes out: it is about the input, not about the reader.
    } catch (const Tool_Error&) {
        // Standard output is unusable; the message still goes out.
    }
    std::string line = "qorvi-text: ";
    line.append(Message);
    line.push_back('\n');
    // Standard error is unbuffered: one write per message, so that lines of concurrent
    // processes do not mix. A failure to write a diagnostic can not be reported anywhere.
    std::string_view rest = line;
    while (!rest.empty()) {
        const ssize_t written = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string Quoted(std::string_view Text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string result = "'";
    for (const char c : Text) {
        const auto unit = static_cast<unsigned char>(c);
        if (unit >= 0x20 && unit < 0x7F) {
            result.push_back(c);
        } else if (unit >= 0x80) {
            // UTF-8 text stays as it is; the terminal shows it.
            result.push_back(c);
        } else {
            result += "\\x";
            result.push_back(hex[unit >> 4]);
            result.push_back(hex[unit & 0xF]);
        }
    }
    result.push_back('\'');
    return result;
}

} // namespace Qorvi_CLI
