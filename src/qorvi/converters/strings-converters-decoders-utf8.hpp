// The UTF-8 decoder: one U+FFFD for each maximal ill-formed subpart (the byte that ends one is
// examined again), an unfinished sequence carried to the next Decode call, and, with
// PROCESS_BOM, a byte order mark at the start of the data dropped.
#pragma once

#include <qorvi/converters/strings-converters-decoders.hpp>

namespace Qorvi::Strings::Converters::Decoders::UTF8 {

// A new UTF-8 decoder in its reset state. Its error message is "Iff-formed sequence".
QORVI_API Decoder_Access Factory(Converter_Flags Flags);

} // namespace Qorvi::Strings::Converters::Decoders::UTF8
