#include "tool-output.hpp"

#include "tool-errors.hpp"

#include <cerrno>
#include <cstring>
#include <qorvi/strings/strings.hpp>
#include <string>
#include <unistd.h>

namespace Qorvi_CLI {

Output_Stream::Output_Stream(int File_Descriptor)
    : descriptor(File_Descriptor), buffer(new char[Capacity]) {}

void Output_Stream::Flush() {
    // The buffer is emptied before writing, so that a failure is not met again when the error
    // report flushes the output once more.
    const std::size_t count = used;
    used = 0;
    Write_Through(std::string_view(buffer.get(), count));
}

void Output_Stream::Write_Long(std::string_view Text) {
    // Fill the buffer, write it out, then write what is left of a long text directly.
    const std::size_t room = Capacity - used;
    Text.copy(buffer.get() + used, room);
    used = Capacity;
    Text.remove_prefix(room);
    Flush();
    if (Text.size() >= Capacity) {
        Write_Through(Text);
    } else {
        Text.copy(buffer.get(), Text.size());
        used = Text.size();
    }
}

void Output_Stream::Write_Through(std::string_view Text) {
    while (!Text.empty()) {
        const ssize_t written = ::write(descriptor, Text.data(), Text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EPIPE) {
                throw Broken_Pipe{};
            }
            Raise_Input_Error(std::string("cannot write to standard output: ") +
                              std::strerror(errno));
        }
        Text.remove_prefix(static_cast<std::size_t>(written));
    }
}

void Write(Output_Stream& Stream, const Qorvi::Strings::Virtual_String& Item) {
    // The string's own code units, without a copy.
    Stream.Write(Qorvi::Implementation::UTF8_Strings::To_String_View(
        *Qorvi::Strings::Internals::Data_Access_Constant(Item)));
}

Output_Stream& Standard_Output() {
    static Output_Stream stream(STDOUT_FILENO);
    return stream;
}

} // namespace Qorvi_CLI
