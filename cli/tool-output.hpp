// Buffered standard output of qorvi-text.
//
// Output is collected in a 64 KiB buffer and written with write(2) when the buffer is full and
// at exit. A reader that went away (EPIPE) raises Broken_Pipe, which ends the program quietly;
// any other write failure is an input/output error (exit status 1).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace Qorvi::Strings {
class Virtual_String;
}

namespace Qorvi_CLI {

class Output_Stream {
public:
    explicit Output_Stream(int File_Descriptor);
    Output_Stream(const Output_Stream&) = delete;
    Output_Stream& operator=(const Output_Stream&) = delete;

    void Write(std::string_view Text) {
        if (Text.size() <= Capacity - used) {
            Text.copy(buffer.get() + used, Text.size());
            used += Text.size();
        } else {
            Write_Long(Text);
        }
    }
    void Write(char Item) {
        if (used == Capacity) {
            Flush();
        }
        buffer[used++] = Item;
    }

    // Writes out what is buffered.
    void Flush();

    static constexpr std::size_t Capacity = 64 * 1024;

private:
    void Write_Long(std::string_view Text);
    void Write_Through(std::string_view Text);

    int descriptor;
    std::unique_ptr<char[]> buffer;
    std::size_t used = 0;
};

// The program's standard output.
Output_Stream& Standard_Output();

// Writes the UTF-8 text of Item.
void Write(Output_Stream& Stream, const Qorvi::Strings::Virtual_String& Item);

} // namespace Qorvi_CLI
