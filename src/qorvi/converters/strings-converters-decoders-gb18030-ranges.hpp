// The four-byte ranges of the GB18030 decoder: the WHATWG Encoding Standard's index gb18030
// ranges, generated at build time. Internal to the library.
#pragma once

#include <cstdint>
#include <qorvi/export.hpp>

namespace Qorvi::Strings::Converters::Decoders::GB18030::Ranges {

// A range starts at Pointer with the code point Code_Point; the pointers up to the next
// record's map to consecutive code points.
struct Table_Record {
    std::uint32_t Pointer;
    std::uint32_t Code_Point;
};

inline constexpr std::uint32_t Table_Size = 207;

// In ascending pointer order; the first record is (0, U+0080), the last (189000, U+10000).
extern QORVI_API const Table_Record Table[Table_Size];

} // namespace Qorvi::Strings::Converters::Decoders::GB18030::Ranges
