// qorvi-utf8-info: reads UTF-8 text into string data and prints its length in characters, its
// size in UTF-8 code units, its FNV-1a hash and the text read back from the string data.
//
//   qorvi-utf8-info                 the bundled sample (samples/sample.txt)
//   qorvi-utf8-info --file PATH     the contents of a file
//   qorvi-utf8-info TEXT            the text given as the argument
//
// Ill-formed UTF-8 is refused with a message naming the offset and kind of the first bad
// sequence, and exit status 1.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <qorvi/strings/implementation-fnv_hash.hpp>
#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <sstream>
#include <string>
#include <string_view>

#ifndef QORVI_SAMPLE_FILE
#define QORVI_SAMPLE_FILE "samples/sample.txt"
#endif

namespace {

namespace Encoding = Qorvi::Implementation::UTF8_Encoding;
namespace Strings = Qorvi::Implementation::UTF8_Strings;

// Owns one string data record for the life of the program.
class Text {
public:
    Text() = default;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { Strings::Unreference(data); }

    Strings::UTF8_String_Data& Data() { return data; }

private:
    Strings::UTF8_String_Data data;
};

// Where the first ill-formed sequence starts and what is wrong with it.
std::string Describe_First_Error(std::string_view Bytes) {
    const Encoding::UTF8_Code_Unit_Array units(
        reinterpret_cast<const Encoding::UTF8_Code_Unit*>(Bytes.data()), Bytes.size());
    Qorvi::UTF8_Code_Unit_Offset index = 0;
    bool success = true;
    Qorvi::Virtual_Character code = 0;
    Encoding::UTF8_Decode_Error error = Encoding::UTF8_Decode_Error::NONE;
    while (success && static_cast<std::size_t>(index) < units.size()) {
        Encoding::Decode(units, index, success, code, error);
    }
    std::ostringstream message;
    message << "ill-formed UTF-8 at byte offset " << index << " (" << Encoding::Image(error) << ")";
    return message.str();
}

bool Read_File(const char* Path, std::string& Contents) {
    std::ifstream file(Path, std::ios::binary);
    if (!file) {
        return false;
    }
    Contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

int Usage(std::ostream& Stream, int Status) {
    Stream << "usage: qorvi-utf8-info [--file PATH | TEXT]\n"
              "Without arguments the bundled sample is read ("
           << QORVI_SAMPLE_FILE << ").\n";
    return Status;
}

} // namespace

int main(int argc, char** argv) {
    std::string bytes;
    std::string source;
    const std::string_view first = argc > 1 ? std::string_view(argv[1]) : std::string_view();
    if (first == "--help" || first == "-h") {
        return Usage(std::cout, 0);
    }
    if (argc == 1 || first == "--file") {
        if (argc > 3 || (first == "--file" && argc != 3)) {
            return Usage(std::cerr, 2);
        }
        const char* path = argc == 1 ? QORVI_SAMPLE_FILE : argv[2];
        if (!Read_File(path, bytes)) {
            std::cerr << "qorvi-utf8-info: cannot read " << path << "\n";
            return 1;
        }
        source = path;
    } else {
        if (argc != 2) {
            return Usage(std::cerr, 2);
        }
        bytes = argv[1];
        source = "argument";
    }

    try {
        Text text;
        if (!Strings::From_UTF_8_String(text.Data(), bytes)) {
            std::cerr << "qorvi-utf8-info: " << source << ": " << Describe_First_Error(bytes)
                      << "\n";
            return 1;
        }
        Qorvi::Implementation::FNV_Hash::FNV_1a_Generator hash;
        Strings::Hash(text.Data(), hash);

        char hex[19];
        std::snprintf(hex, sizeof hex, "0x%016llx", static_cast<unsigned long long>(hash.Value()));
        std::cout << "source:      " << source << "\n"
                  << "characters:  " << text.Data().Length << "\n"
                  << "utf-8 bytes: " << text.Data().Size << "\n"
                  << "fnv-1a hash: " << hex << "\n"
                  << "text:\n"
                  << Strings::To_UTF_8_String(text.Data());
        if (text.Data().Size == 0 || Strings::To_String_View(text.Data()).back() != '\n') {
            std::cout << "\n";
        }
        return std::cout.good() ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "qorvi-utf8-info: " << error.what() << "\n";
        return 1;
    }
}
