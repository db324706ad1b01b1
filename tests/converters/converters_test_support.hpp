// Helpers shared by the converter tests: byte strings written in hex, and running a decoder
// into string data that is checked and read back as code points.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <qorvi/converters/strings-converters-decoders.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace Converters_Test {

using Bytes = std::vector<std::uint8_t>;
using Qorvi::Strings::Converters::Converter_Flag;
using Qorvi::Strings::Converters::Converter_Flags;
using Qorvi::Strings::Converters::Decoders::Abstract_Decoder;
using Qorvi::Strings::Converters::Decoders::Decoder_Access;
using Qorvi::Strings::Converters::Decoders::Decoder_Factory;
namespace UTF8_Strings = Qorvi::Implementation::UTF8_Strings;

// "81 40 5C" -> {0x81, 0x40, 0x5C}.
inline Bytes Hex(std::string_view Text) {
    Bytes result;
    std::istringstream in{std::string(Text)};
    unsigned value = 0;
    while (in >> std::hex >> value) {
        result.push_back(static_cast<std::uint8_t>(value));
    }
    return result;
}

// The code points of string data, after checking that it is well formed: valid UTF-8, Length
// characters, and a zero byte after the text when it is not null.
inline std::u32string Characters(const UTF8_Strings::UTF8_String_Data& Data) {
    std::u32string result;
    if (UTF8_Strings::Is_Null(Data)) {
        EXPECT_EQ(Data.Size, 0);
        EXPECT_EQ(Data.Length, 0);
        return result;
    }
    const std::string_view text = UTF8_Strings::To_String_View(Data);
    UTF8_Strings::UTF8_String_Data copy;
    EXPECT_TRUE(UTF8_Strings::From_UTF_8_String(copy, text)) << "ill-formed UTF-8 in the result";
    UTF8_Strings::Unreference(copy);
    EXPECT_EQ(Data.Storage_Address[Data.Size], 0) << "no zero byte after the text";
    Qorvi::UTF8_Code_Unit_Offset offset = 0;
    while (offset < Data.Size) {
        result.push_back(UTF8_Strings::Unchecked_Decode_Forward(Data, offset));
    }
    EXPECT_EQ(static_cast<std::size_t>(Data.Length), result.size());
    return result;
}

// Decodes one chunk into fresh string data and returns its characters.
inline std::u32string Decode(Abstract_Decoder& Decoder, const Bytes& Source, bool End_Of_Data) {
    UTF8_Strings::UTF8_String_Data target;
    Decoder.Decode(Source, End_Of_Data, target);
    std::u32string result = Characters(target);
    UTF8_Strings::Unreference(target);
    return result;
}

// Printable form of code points for failure messages.
inline std::string Image(const std::u32string& Text) {
    std::ostringstream out;
    for (const char32_t c : Text) {
        out << "U+" << std::hex << std::uppercase << static_cast<std::uint32_t>(c) << ' ';
    }
    return out.str();
}

} // namespace Converters_Test
