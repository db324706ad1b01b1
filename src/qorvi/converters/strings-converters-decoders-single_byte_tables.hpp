// The upper halves (bytes 0x80 .. 0xFF) of the single-byte character sets, generated at build
// time from the WHATWG Encoding Standard's index files (ISO-8859-9 from a file of the same
// layout written from the Unicode Consortium's mapping table). ISO-8859-1 is the identity and
// has no table. Internal to the library.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>

namespace Qorvi::Strings::Converters::Decoders::Single_Byte_Tables {

struct Single_Byte_Table {
    // The code point of byte 0x80 + i, 0 for a byte that is not assigned.
    std::uint16_t Code_Point[128];
    // The characters of the bytes 0x00 .. 0xFF in UTF-8: the code units in the low three bytes,
    // first unit lowest, and their count (1 .. 3) in the top byte; 0 for a byte that is not
    // assigned.
    std::uint32_t UTF8[256];
};

extern QORVI_API const Single_Byte_Table ISO_8859_2;
extern QORVI_API const Single_Byte_Table ISO_8859_5;
extern QORVI_API const Single_Byte_Table ISO_8859_6;
extern QORVI_API const Single_Byte_Table ISO_8859_7;
extern QORVI_API const Single_Byte_Table ISO_8859_8;
extern QORVI_API const Single_Byte_Table ISO_8859_9;
extern QORVI_API const Single_Byte_Table ISO_8859_15;
extern QORVI_API const Single_Byte_Table KOI8_R;

} // namespace Qorvi::Strings::Converters::Decoders::Single_Byte_Tables
