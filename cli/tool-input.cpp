#include "tool-input.hpp"

#include "tool-errors.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <sys/stat.h>
#include <unistd.h>

namespace Qorvi_CLI {

namespace Encoding = Qorvi::Implementation::UTF8_Encoding;

namespace {

bool is_standard_input(const std::string& name) {
    return name == "-";
}

} // namespace

Input_List::Input_List(const std::vector<std::string>& Names) : names(Names) {
    if (names.empty()) {
        names.emplace_back("-");
    }
    for (const std::string& name : names) {
        if (is_standard_input(name)) {
            continue;
        }
        struct stat status {};
        if (::stat(name.c_str(), &status) != 0 || ::access(name.c_str(), R_OK) != 0) {
            Raise_Usage_Error("cannot open " + Quoted(name) + ": " + std::strerror(errno));
        }
        if (S_ISDIR(status.st_mode)) {
            Raise_Usage_Error("cannot read " + Quoted(name) + ": " + std::strerror(EISDIR));
        }
    }
}

std::string Input_List::Display_Name(std::size_t Index) const {
    return is_standard_input(names[Index]) ? std::string("standard input") : names[Index];
}

Byte_Reader::Byte_Reader(const Input_List& Inputs) : inputs(Inputs) {}

Byte_Reader::~Byte_Reader() {
    Close();
}

void Byte_Reader::Close() {
    if (descriptor > STDERR_FILENO) {
        ::close(descriptor);
    }
    descriptor = -1;
}

bool Byte_Reader::Next_Input() {
    Close();
    if (started) {
        ++index;
    }
    started = true;
    if (index >= inputs.Count()) {
        return false;
    }
    const std::string& name = inputs.Name(index);
    if (is_standard_input(name)) {
        descriptor = STDIN_FILENO;
        return true;
    }
    do {
        descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        // It was readable when the command started.
        Raise_Usage_Error("cannot open " + Quoted(name) + ": " + std::strerror(errno));
    }
    return true;
}

std::size_t Byte_Reader::Read(std::span<std::uint8_t> Buffer) {
    if (descriptor < 0 || Buffer.empty()) {
        return 0;
    }
    for (;;) {
        const ssize_t count = ::read(descriptor, Buffer.data(), Buffer.size());
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            Raise_Input_Error("cannot read " + Quoted(inputs.Display_Name(index)) + ": " +
                              std::strerror(errno));
        }
    }
}

std::size_t Byte_Reader::Read_Full(std::span<std::uint8_t> Buffer) {
    std::size_t total = 0;
    while (total < Buffer.size()) {
        const std::size_t count = Read(Buffer.subspan(total));
        if (count == 0) {
            break;
        }
        total += count;
    }
    return total;
}

Text_Reader::Text_Reader(const Input_List& Inputs, Block_Mode Mode)
    : reader(Inputs), mode(Mode), buffer(Chunk_Size) {
    if (!reader.Next_Input()) {
        at_end = true;
    }
}

bool Text_Reader::Fill() {
    if (begin > 0) {
        std::memmove(buffer.data(), buffer.data() + begin, end - begin);
        searched = searched > begin ? searched - begin : 0;
        end -= begin;
        begin = 0;
    }
    if (end == buffer.size()) {
        // One line fills the buffer: make room for more of it.
        buffer.resize(buffer.size() * 2);
    }
    const std::size_t room = std::min(buffer.size() - end, Chunk_Size);
    for (;;) {
        const std::size_t count = reader.Read(
            std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(buffer.data() + end), room));
        if (count > 0) {
            end += count;
            return true;
        }
        if (!reader.Next_Input()) {
            at_end = true;
            return false;
        }
    }
}

bool Text_Reader::Next(std::string_view& Block) {
    if (error_offset >= 0) {
        Raise_Ill_Formed(error_offset);
    }
    std::size_t cut = 0;
    for (;;) {
        if (at_end) {
            if (begin == end) {
                return false;
            }
            cut = end;
            break;
        }
        if (mode == Block_Mode::WHOLE_LINES) {
            // The last LF among the bytes not searched yet.
            const auto* first = buffer.data() + std::max(begin, searched);
            const auto* last = buffer.data() + end;
            const auto found = std::find(std::make_reverse_iterator(last),
                                         std::make_reverse_iterator(first), '\n');
            searched = end;
            if (found.base() != first) {
                cut = static_cast<std::size_t>(found.base() - buffer.data());
                break;
            }
        } else {
            // Keep back a sequence that the next read completes.
            cut = end;
            const std::size_t lowest = end - std::min<std::size_t>(end - begin, 3);
            for (std::size_t at = end; at > lowest;) {
                --at;
                const auto unit = static_cast<std::uint8_t>(buffer[at]);
                if ((unit & 0xC0) != 0x80) {
                    if (unit >= 0xC2 && unit <= 0xF4 &&
                        end - at < static_cast<std::size_t>(Encoding::Lead_Unit_Length(unit))) {
                        cut = at;
                    }
                    break;
                }
            }
            if (cut > begin) {
                break;
            }
        }
        Fill();
    }

    std::string_view block(buffer.data() + begin, cut - begin);
    const std::int64_t bad = First_Ill_Formed_Byte(block);
    if (bad >= 0) {
        error_offset = consumed + bad;
        std::size_t good = static_cast<std::size_t>(bad);
        if (mode == Block_Mode::WHOLE_LINES) {
            const std::size_t line_feed = block.substr(0, good).rfind('\n');
            good = line_feed == std::string_view::npos ? 0 : line_feed + 1;
        }
        if (good == 0) {
            Raise_Ill_Formed(error_offset);
        }
        block = block.substr(0, good);
    }
    block_offset = consumed;
    consumed += static_cast<std::int64_t>(block.size());
    begin += block.size();
    Block = block;
    return true;
}

std::int64_t First_Ill_Formed_Byte(std::string_view Text) noexcept {
    const auto* units = reinterpret_cast<const Encoding::UTF8_Code_Unit*>(Text.data());
    const std::size_t size = Text.size();
    std::size_t at = 0;
    while (at < size) {
        // Runs of ASCII, eight bytes at a time.
        while (at + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, units + at, sizeof word);
            if ((word & 0x8080'8080'8080'8080u) != 0) {
                break;
            }
            at += 8;
        }
        while (at < size && units[at] < 0x80) {
            ++at;
        }
        if (at == size) {
            break;
        }
        // One sequence; at most four units are looked at, so offsets stay small.
        Qorvi::UTF8_Code_Unit_Offset next = 0;
        bool success = true;
        Qorvi::Virtual_Character code = 0;
        Encoding::UTF8_Decode_Error error = Encoding::UTF8_Decode_Error::NONE;
        Encoding::Decode(
            Encoding::UTF8_Code_Unit_Array(units + at, std::min<std::size_t>(4, size - at)), next,
            success, code, error);
        if (!success) {
            return static_cast<std::int64_t>(at);
        }
        at += static_cast<std::size_t>(next);
    }
    return -1;
}

void Raise_Ill_Formed(std::int64_t Offset) {
    Raise_Input_Error("Ill-formed UTF-8 data at byte " + std::to_string(Offset));
}

} // namespace Qorvi_CLI
