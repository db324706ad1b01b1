// Input of qorvi-text: the files named on the command line in order, or standard input when
// none is named or a name is "-".
//
// Byte_Reader reads one input after another in chunks of at most 64 KiB. Text_Reader reads all
// inputs as one UTF-8 text, handed out in blocks that are checked to be well-formed: blocks of
// whole lines (a line ends after LF) for the operations that work line by line, or blocks
// that end between two characters for those that do not care about lines. Memory stays
// bounded by the block size, or by the longest line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Qorvi_CLI {

inline constexpr std::size_t Chunk_Size = 64 * 1024;

// The inputs of one command.
class Input_List {
public:
    // Names as given on the command line; no name at all means standard input. Every named
    // file is checked to be readable before anything is read, so that a missing file is a
    // usage error (exit status 2) reported before any output.
    explicit Input_List(const std::vector<std::string>& Names);

    std::size_t Count() const noexcept { return names.size(); }
    // "-" for standard input.
    const std::string& Name(std::size_t Index) const { return names[Index]; }
    // The name as messages show it ("standard input" for "-").
    std::string Display_Name(std::size_t Index) const;

private:
    std::vector<std::string> names;
};

// Reads the inputs of a list, one after the other.
class Byte_Reader {
public:
    explicit Byte_Reader(const Input_List& Inputs);
    ~Byte_Reader();
    Byte_Reader(const Byte_Reader&) = delete;
    Byte_Reader& operator=(const Byte_Reader&) = delete;

    // Opens the next input; false when every input has been read.
    bool Next_Input();
    // The index in the list of the input being read.
    std::size_t Input_Index() const noexcept { return index; }
    // Reads the next bytes of the current input into Buffer (at most its size); 0 at its end.
    // A read failure is an input error naming the input.
    std::size_t Read(std::span<std::uint8_t> Buffer);
    // Reads until Buffer is full or the current input ends.
    std::size_t Read_Full(std::span<std::uint8_t> Buffer);

private:
    void Close();

    const Input_List& inputs;
    std::size_t index = 0;
    bool started = false;
    int descriptor = -1;
};

// The text of all inputs, as one UTF-8 text.
class Text_Reader {
public:
    enum class Block_Mode {
        // Blocks end after a LF, or at the end of the text.
        WHOLE_LINES,
        // Blocks end between two characters.
        CHARACTERS,
    };

    Text_Reader(const Input_List& Inputs, Block_Mode Mode);

    // The next block of well-formed UTF-8 text; false at the end of the text. When the text is
    // ill-formed, the blocks before the offending one are handed out first (in WHOLE_LINES
    // mode: up to the line that holds the first offending byte) and then the call raises an
    // input error "Ill-formed UTF-8 data at byte N", N being the offset of that byte from the
    // start of the text. The view stays valid until the next call.
    bool Next(std::string_view& Block);

    // Offset in bytes, from the start of the text, of the block last handed out.
    std::int64_t Block_Offset() const noexcept { return block_offset; }

private:
    bool Fill();

    Byte_Reader reader;
    Block_Mode mode;
    std::vector<char> buffer;
    std::size_t begin = 0;    // first byte not handed out yet
    std::size_t end = 0;      // end of the bytes read
    std::size_t searched = 0; // bytes before it hold no LF after `begin`
    bool at_end = false;
    std::int64_t consumed = 0; // bytes handed out before `begin`
    std::int64_t block_offset = 0;
    std::int64_t error_offset = -1; // pending error to raise on the next call
};

// The offset of the first byte of Text that does not start a well-formed UTF-8 sequence (a
// truncated sequence counts as ill-formed at its first byte), or -1 when Text is well-formed.
std::int64_t First_Ill_Formed_Byte(std::string_view Text) noexcept;

// The message of an ill-formed input.
[[noreturn]] void Raise_Ill_Formed(std::int64_t Offset);

} // namespace Qorvi_CLI
