// The JIS X 0208 index shared by the Shift_JIS and EUC-JP decoders: the WHATWG Encoding
// Standard's index jis0208, generated at build time. Internal to the library.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>

namespace Qorvi::Strings::Converters::Decoders::Index_JIS0208 {

// Pointers 0 .. 11103. The pointer of a two-byte code is row * 94 + cell (EUC-JP) or
// (lead - lead offset) * 188 + trail - trail offset (Shift_JIS).
inline constexpr std::uint32_t Table_Size = 11104;

// The code point of each pointer, 0 where the pointer has none. Pointers 8836 .. 10715 (the
// user-defined area, which Shift_JIS maps to private use characters by computation) hold 0.
extern QORVI_API const std::uint32_t Table[Table_Size];

} // namespace Qorvi::Strings::Converters::Decoders::Index_JIS0208
