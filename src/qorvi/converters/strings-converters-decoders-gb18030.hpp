// The GB18030 decoder, also used for GBK and GB2312: the WHATWG Encoding Standard's gb18030
// decoder with one-, two- and four-byte sequences. The bytes of a broken sequence after its lead
// are decoded again; an unfinished sequence waits for the next Decode call.
#pragma once

#include <qorvi/converters/strings-converters-decoders.hpp>

namespace Qorvi::Strings::Converters::Decoders::GB18030 {

// A new GB18030 decoder in its reset state. Its error message is "Iff-formed sequence".
QORVI_API Decoder_Access Factory(Converter_Flags Flags);

} // namespace Qorvi::Strings::Converters::Decoders::GB18030
