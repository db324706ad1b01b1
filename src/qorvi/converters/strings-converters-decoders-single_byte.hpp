// The single-byte decoders: each byte is one character and there is no state between bytes.
// ISO-8859-1 is the identity (0x80 .. 0x9F are the C1 controls); the others follow the
// Unicode Consortium's mapping tables of their ISO/IEC 8859 part and RFC 1489 for KOI8-R.
// Only ISO-8859-6, -7 and -8 have unassigned bytes: each is an error ("Unmapped character").
// The other decoders never fail and ignore their flags.
#pragma once

#include <qorvi/converters/strings-converters-decoders.hpp>

namespace Qorvi::Strings::Converters::Decoders::ISO88591 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO88591

namespace Qorvi::Strings::Converters::Decoders::ISO88592 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO88592

namespace Qorvi::Strings::Converters::Decoders::ISO88595 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO88595

// Unassigned: 0xA1 .. 0xA3, 0xA5 .. 0xAB, 0xAE .. 0xBA, 0xBC .. 0xBE, 0xC0, 0xDB .. 0xDF,
// 0xF3 .. 0xFF.
namespace Qorvi::Strings::Converters::Decoders::ISO88596 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO88596

// ISO/IEC 8859-7:2003 (0xA4 is U+20AC, 0xA5 U+20AF, 0xAA U+037A). Unassigned: 0xAE, 0xD2, 0xFF.
namespace Qorvi::Strings::Converters::Decoders::ISO88597 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO88597

// Unassigned: 0xA1, 0xBF .. 0xDE, 0xFB, 0xFC, 0xFF.
namespace Qorvi::Strings::Converters::Decoders::ISO88598 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO88598

namespace Qorvi::Strings::Converters::Decoders::ISO88599 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO88599

namespace Qorvi::Strings::Converters::Decoders::ISO885915 {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::ISO885915

namespace Qorvi::Strings::Converters::Decoders::KOI8R {
QORVI_API Decoder_Access Factory(Converter_Flags Flags);
} // namespace Qorvi::Strings::Converters::Decoders::KOI8R
