// The EUC-JP decoder: the WHATWG Encoding Standard's EUC-JP decoder (JIS X 0208, half-width
// katakana after 0x8E, JIS X 0212 after 0x8F), except that the bytes 0x5C and 0x7E decode to
// U+00A5 YEN SIGN and U+203E OVERLINE. An unfinished sequence waits for the next Decode call.
#pragma once

#include <qorvi/converters/strings-converters-decoders.hpp>

namespace Qorvi::Strings::Converters::Decoders::EUCJP {

// A new EUC-JP decoder in its reset state. Its error message is "Iff-formed sequence".
QORVI_API Decoder_Access Factory(Converter_Flags Flags);

} // namespace Qorvi::Strings::Converters::Decoders::EUCJP
