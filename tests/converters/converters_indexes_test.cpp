// The multi-byte decoders over their whole two-byte (and the edges of the four-byte) code
// space, against the index files read here: every byte pair is formed from its pointer and
// must decode to the file's code point, or to U+FFFD where the file has none.

#include "converters_test_support.hpp"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>

namespace {

using namespace Converters_Test;
namespace Decoders = Qorvi::Strings::Converters::Decoders;

std::map<std::uint32_t, char32_t> Load(const std::string& Name) {
    std::ifstream file(std::string(QORVI_WHATWG_DIR) + "/index-" + Name + ".txt");
    EXPECT_TRUE(file.good()) << Name;
    std::map<std::uint32_t, char32_t> index;
    std::string line;
    while (std::getline(file, line)) {
        unsigned pointer = 0;
        unsigned code = 0;
        if (!line.empty() && line[0] != '#' &&
            std::sscanf(line.c_str(), " %u 0x%x", &pointer, &code) == 2) {
            index[pointer] = code;
        }
    }
    return index;
}

// Decodes each pair on its own and compares with Expected (which gives the whole result of the
// pair, U+FFFD and an ASCII trail examined again included).
template <typename Expected_Function>
void Check_Pairs(Decoder_Factory Factory, const Bytes& Prefix, const Bytes& Leads,
                 const Bytes& Trails, Expected_Function Expected) {
    const Decoder_Access decoder = Factory(Converter_Flags{});
    std::size_t mismatches = 0;
    for (const std::uint8_t lead : Leads) {
        for (const std::uint8_t trail : Trails) {
            Bytes source = Prefix;
            source.push_back(lead);
            source.push_back(trail);
            const std::u32string got = Decode(*decoder, source, true);
            const std::u32string want = Expected(lead, trail);
            if (got != want && ++mismatches <= 10) {
                ADD_FAILURE() << std::hex << "bytes " << unsigned(lead) << ' ' << unsigned(trail)
                              << ": got " << Image(got) << "expected " << Image(want);
            }
        }
    }
    EXPECT_EQ(mismatches, 0U);
}

Bytes Range(unsigned First, unsigned Last) {
    Bytes result;
    for (unsigned b = First; b <= Last; ++b) {
        result.push_back(static_cast<std::uint8_t>(b));
    }
    return result;
}

Bytes Join(Bytes Left, const Bytes& Right) {
    Left.insert(Left.end(), Right.begin(), Right.end());
    return Left;
}

// The result of a single byte decoded on its own by the Japanese decoders.
char32_t JIS_Single(std::uint8_t Byte) {
    return Byte == 0x5C ? U'\u00A5' : Byte == 0x7E ? U'\u203E' : char32_t(Byte);
}

TEST(Index_Coverage, shift_jis_double_bytes) {
    const auto index = Load("jis0208");
    const Bytes leads = Join(Range(0x81, 0x9F), Range(0xE0, 0xFC));
    Check_Pairs(Decoders::ShiftJIS::Factory, {}, leads, Range(0x00, 0xFF),
                [&](std::uint8_t lead, std::uint8_t trail) -> std::u32string {
                    if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC)) {
                        const unsigned row = lead - (lead < 0xA0 ? 0x81U : 0xC1U);
                        const unsigned cell = trail - (trail < 0x7F ? 0x40U : 0x41U);
                        const unsigned pointer = row * 188 + cell;
                        if (pointer >= 8836 && pointer <= 10715) {
                            return {char32_t(0xE000 + pointer - 8836)};
                        }
                        if (const auto found = index.find(pointer); found != index.end()) {
                            return {found->second};
                        }
                    }
                    if (trail < 0x80) {
                        return {U'\uFFFD', JIS_Single(trail)};
                    }
                    return U"\uFFFD";
                });
}

TEST(Index_Coverage, euc_jp_double_bytes) {
    const auto jis0208 = Load("jis0208");
    const auto jis0212 = Load("jis0212");
    const auto expected = [](const std::map<std::uint32_t, char32_t>& index) {
        return [&index](std::uint8_t row, std::uint8_t cell) -> std::u32string {
            if (cell >= 0xA1 && cell <= 0xFE) {
                const auto found = index.find((row - 0xA1U) * 94 + (cell - 0xA1U));
                return {found == index.end() ? U'\uFFFD' : found->second};
            }
            if (cell < 0x80) {
                return {U'\uFFFD', JIS_Single(cell)};
            }
            return U"\uFFFD";
        };
    };
    Check_Pairs(Decoders::EUCJP::Factory, {}, Range(0xA1, 0xFE), Range(0x00, 0xFF),
                expected(jis0208));
    Check_Pairs(Decoders::EUCJP::Factory, {0x8F}, Range(0xA1, 0xFE), Range(0x00, 0xFF),
                expected(jis0212));
}

TEST(Index_Coverage, gb18030_two_bytes) {
    const auto index = Load("gb18030");
    Check_Pairs(Decoders::GB18030::Factory, {}, Range(0x81, 0xFE), Range(0x00, 0xFF),
                [&](std::uint8_t lead, std::uint8_t trail) -> std::u32string {
                    if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFE)) {
                        const unsigned offset = trail < 0x7F ? 0x40 : 0x41;
                        return {index.at((lead - 0x81U) * 190 + trail - offset)};
                    }
                    if (trail >= 0x30 && trail <= 0x39) {
                        return U"\uFFFD"; // a four-byte sequence cut short by the end of data
                    }
                    if (trail < 0x80) {
                        return {U'\uFFFD', char32_t(trail)};
                    }
                    return U"\uFFFD";
                });
}

Bytes Four_Bytes(std::uint32_t Pointer) {
    return {static_cast<std::uint8_t>(0x81 + Pointer / 12600),
            static_cast<std::uint8_t>(0x30 + Pointer / 1260 % 10),
            static_cast<std::uint8_t>(0x81 + Pointer / 10 % 126),
            static_cast<std::uint8_t>(0x30 + Pointer % 10)};
}

TEST(Index_Coverage, gb18030_four_byte_ranges) {
    const auto ranges = Load("gb18030-ranges");
    const Decoder_Access decoder = Decoders::GB18030::Factory(Converter_Flags{});
    const auto check = [&](std::uint32_t pointer, char32_t expected) {
        EXPECT_EQ(Decode(*decoder, Four_Bytes(pointer), true), std::u32string(1, expected))
            << "pointer " << pointer;
    };
    for (auto record = ranges.begin(); record != ranges.end(); ++record) {
        check(record->first, record->second);
        const auto next = std::next(record);
        if (next != ranges.end() && next->first - 1 != 7457 && next->first != 189000) {
            check(next->first - 1, record->second + (next->first - 1 - record->first));
        }
    }
    check(7457, U'\uE7C7');
    check(39419, U'\uFFFF');
    check(39420, U'\uFFFD');
    check(188999, U'\uFFFD');
    check(1237575, U'\U0010FFFF');
    check(1237576, U'\uFFFD');
    check(1587599, U'\uFFFD'); // FE 39 FE 39, the largest pointer
}

} // namespace
