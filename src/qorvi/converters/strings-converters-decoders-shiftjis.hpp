// The Shift_JIS decoder: the WHATWG Encoding Standard's Shift_JIS decoder, except that the
// bytes 0x5C and 0x7E decode to U+00A5 YEN SIGN and U+203E OVERLINE (the JIS X 0201 Roman
// forms). The user-defined area (leads 0xF0 .. 0xF9) maps to U+E000 .. U+E757. A lead byte at
// the end of a chunk waits for the next Decode call.
#pragma once

#include <qorvi/converters/strings-converters-decoders.hpp>

namespace Qorvi::Strings::Converters::Decoders::ShiftJIS {

// A new Shift_JIS decoder in its reset state. Its error message is "Iff-formed sequence".
QORVI_API Decoder_Access Factory(Converter_Flags Flags);

} // namespace Qorvi::Strings::Converters::Decoders::ShiftJIS
