#include <cstring>
#include <qorvi/converters/implementation-decoder_output.hpp>
#include <qorvi/converters/implementation-packed_indexes.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030-indices.hpp>
#include <qorvi/converters/strings-converters-decoders-index_jis0208.hpp>
#include <vector>

namespace Qorvi::Implementation::Packed_Indexes {

namespace {

namespace Decoders = Qorvi::Strings::Converters::Decoders;

std::uint32_t Pack(std::uint32_t Code) noexcept {
    if (Code == 0) {
        return 0;
    }
    std::uint8_t units[4] = {};
    const std::uint8_t* end = Decoder_Output::Put_BMP_Character(units, Code);
    std::uint32_t packed;
    std::memcpy(&packed, units, 4);
    return (packed & 0xFFFFFFU) | static_cast<std::uint32_t>(end - units) << 24;
}

template <typename Code_Of>
std::vector<std::uint32_t> Build(std::uint32_t Size, Code_Of Code) {
    std::vector<std::uint32_t> table(Size);
    for (std::uint32_t pointer = 0; pointer < Size; ++pointer) {
        table[pointer] = Pack(Code(pointer));
    }
    return table;
}

} // namespace

const std::uint32_t* Shift_JIS_UTF8() noexcept {
    static const std::vector<std::uint32_t> table =
        Build(Decoders::Index_JIS0208::Table_Size, [](std::uint32_t pointer) -> std::uint32_t {
            return pointer >= 8836 && pointer <= 10715 ? 0xE000 + (pointer - 8836)
                                                       : Decoders::Index_JIS0208::Table[pointer];
        });
    return table.data();
}

const std::uint32_t* EUC_JP_UTF8() noexcept {
    static const std::vector<std::uint32_t> table =
        Build(Decoders::Index_JIS0208::Table_Size,
              [](std::uint32_t pointer) { return Decoders::Index_JIS0208::Table[pointer]; });
    return table.data();
}

const std::uint32_t* GB18030_UTF8() noexcept {
    static const std::vector<std::uint32_t> table =
        Build(Decoders::GB18030::Indices::Table_Size, [](std::uint32_t pointer) -> std::uint32_t {
            return Decoders::GB18030::Indices::Table[pointer];
        });
    return table.data();
}

} // namespace Qorvi::Implementation::Packed_Indexes
