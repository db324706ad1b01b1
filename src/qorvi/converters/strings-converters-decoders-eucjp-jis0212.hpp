// The JIS X 0212 index of the EUC-JP decoder: the WHATWG Encoding Standard's index jis0212,
// generated at build time. Internal to the library.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>

namespace Qorvi::Strings::Converters::Decoders::EUCJP::JIS0212 {

// The table covers pointers First_Pointer .. First_Pointer + Table_Size - 1 (108 .. 7210); no
// pointer outside that range has a code point.
inline constexpr std::uint32_t First_Pointer = 108;
inline constexpr std::uint32_t Table_Size = 7103;

// The code point of pointer First_Pointer + i at index i, 0 where the pointer has none.
extern QORVI_API const std::uint32_t Table[Table_Size];

} // namespace Qorvi::Strings::Converters::Decoders::EUCJP::JIS0212
