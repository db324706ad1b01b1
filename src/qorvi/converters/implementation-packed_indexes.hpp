// The double-byte indexes pre-encoded as UTF-8 for the decoders' fast loops. Internal to the
// library.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>

namespace Qorvi::Implementation::Packed_Indexes {

// Each entry is the UTF-8 form of the pointer's character: the code units in the low three
// bytes (first unit lowest) and their count in the top byte; 0 where the pointer has no
// character. Built from the index tables on first use.

// JIS X 0208 as Shift_JIS reads it: Index_JIS0208::Table, with the user-defined area (pointers
// 8836 .. 10715) mapped to U+E000 .. U+E757.
QORVI_API const std::uint32_t* Shift_JIS_UTF8() noexcept;
// JIS X 0208 as EUC-JP reads it: Index_JIS0208::Table as it is.
QORVI_API const std::uint32_t* EUC_JP_UTF8() noexcept;
// The GB18030 two-byte index.
QORVI_API const std::uint32_t* GB18030_UTF8() noexcept;

} // namespace Qorvi::Implementation::Packed_Indexes
