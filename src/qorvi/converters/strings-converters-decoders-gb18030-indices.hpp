// The two-byte index of the GB18030 decoder: the WHATWG Encoding Standard's index gb18030,
// generated at build time. Internal to the library.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>

namespace Qorvi::Strings::Converters::Decoders::GB18030::Indices {

// Pointers 0 .. 23939: (lead - 0x81) * 190 + trail - (0x40 or 0x41).
inline constexpr std::uint32_t Table_Size = 23940;

// The code point of each pointer; every pointer has one, and all lie in the BMP.
extern QORVI_API const std::uint16_t Table[Table_Size];

} // namespace Qorvi::Strings::Converters::Decoders::GB18030::Indices
