// The generated index tables against the vendored index files, read here on their own.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <qorvi/converters/strings-converters-decoders-eucjp-jis0212.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030-indices.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030-ranges.hpp>
#include <qorvi/converters/strings-converters-decoders-index_jis0208.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte_tables.hpp>
#include <string>

namespace {

namespace Decoders = Qorvi::Strings::Converters::Decoders;

// pointer -> code point, from the lines "pointer <TAB> 0xCODE ..." of an index file.
std::map<std::uint32_t, std::uint32_t> Load(const std::string& name) {
    std::ifstream file(std::string(QORVI_WHATWG_DIR) + "/index-" + name + ".txt");
    EXPECT_TRUE(file.good()) << name;
    std::map<std::uint32_t, std::uint32_t> index;
    std::string line;
    while (std::getline(file, line)) {
        unsigned pointer = 0;
        unsigned code = 0;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (std::sscanf(line.c_str(), " %u 0x%x", &pointer, &code) == 2) {
            index[pointer] = code;
        }
    }
    return index;
}

TEST(Index_Tables, JIS0208_equals_the_index_file) {
    const auto index = Load("jis0208");
    ASSERT_EQ(index.size(), 7724U);
    std::size_t assigned = 0;
    for (std::uint32_t pointer = 0; pointer < Decoders::Index_JIS0208::Table_Size; ++pointer) {
        const auto found = index.find(pointer);
        const std::uint32_t expected = found == index.end() ? 0 : found->second;
        ASSERT_EQ(Decoders::Index_JIS0208::Table[pointer], expected) << "pointer " << pointer;
        assigned += expected != 0;
    }
    EXPECT_EQ(assigned, index.size()); // no pointer of the file lies beyond the table
    EXPECT_EQ(Decoders::Index_JIS0208::Table[0], 0x3000U);
    EXPECT_EQ(Decoders::Index_JIS0208::Table[11103], 0x9ED1U); // the last IBM extension
}

TEST(Index_Tables, JIS0212_equals_the_index_file_from_pointer_108) {
    const auto index = Load("jis0212");
    ASSERT_EQ(index.size(), 6067U);
    EXPECT_EQ(index.begin()->first, Decoders::EUCJP::JIS0212::First_Pointer);
    EXPECT_EQ(index.rbegin()->first, 7210U);
    std::size_t assigned = 0;
    for (std::uint32_t i = 0; i < Decoders::EUCJP::JIS0212::Table_Size; ++i) {
        const auto found = index.find(i + Decoders::EUCJP::JIS0212::First_Pointer);
        const std::uint32_t expected = found == index.end() ? 0 : found->second;
        ASSERT_EQ(Decoders::EUCJP::JIS0212::Table[i], expected) << "pointer " << i + 108;
        assigned += expected != 0;
    }
    EXPECT_EQ(assigned, index.size());
}

TEST(Index_Tables, GB18030_two_byte_index_equals_the_index_file) {
    const auto index = Load("gb18030");
    ASSERT_EQ(index.size(), static_cast<std::size_t>(Decoders::GB18030::Indices::Table_Size));
    for (std::uint32_t pointer = 0; pointer < Decoders::GB18030::Indices::Table_Size; ++pointer) {
        ASSERT_EQ(Decoders::GB18030::Indices::Table[pointer], index.at(pointer)) << pointer;
    }
    EXPECT_EQ(Decoders::GB18030::Indices::Table[6555], 0x3000U);
    EXPECT_EQ(Decoders::GB18030::Indices::Table[7533], 0x1E3FU);
}

TEST(Index_Tables, GB18030_ranges_equal_the_index_file_in_pointer_order) {
    const auto index = Load("gb18030-ranges");
    ASSERT_EQ(index.size(), static_cast<std::size_t>(Decoders::GB18030::Ranges::Table_Size));
    std::size_t i = 0;
    for (const auto& [pointer, code] : index) {
        EXPECT_EQ(Decoders::GB18030::Ranges::Table[i].Pointer, pointer) << i;
        EXPECT_EQ(Decoders::GB18030::Ranges::Table[i].Code_Point, code) << i;
        ++i;
    }
    EXPECT_EQ(Decoders::GB18030::Ranges::Table[0].Code_Point, 0x80U);
    EXPECT_EQ(Decoders::GB18030::Ranges::Table[206].Pointer, 189000U);
    EXPECT_EQ(Decoders::GB18030::Ranges::Table[206].Code_Point, 0x10000U);
}

// The code point that the packed UTF-8 form of a single-byte table entry encodes.
std::uint32_t Decode_Packed(std::uint32_t packed) {
    const unsigned count = packed >> 24;
    const unsigned b0 = packed & 0xFF;
    const unsigned b1 = packed >> 8 & 0xFF;
    const unsigned b2 = packed >> 16 & 0xFF;
    switch (count) {
    case 1:
        return b0 < 0x80 ? b0 : 0xFFFFFFFF;
    case 2:
        return (b0 & 0xE0) == 0xC0 && (b1 & 0xC0) == 0x80 && packed >> 16 == 0x200
                   ? (b0 & 0x1FU) << 6 | (b1 & 0x3FU)
                   : 0xFFFFFFFF;
    case 3:
        return (b0 & 0xF0) == 0xE0 && (b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80
                   ? (b0 & 0x0FU) << 12 | (b1 & 0x3FU) << 6 | (b2 & 0x3FU)
                   : 0xFFFFFFFF;
    default:
        return packed == 0 ? 0 : 0xFFFFFFFF;
    }
}

struct Single_Byte_Case {
    const char* File;
    const Decoders::Single_Byte_Tables::Single_Byte_Table* Table;
    std::size_t Unassigned;
};

class Single_Byte_Tables : public testing::TestWithParam<Single_Byte_Case> {};

TEST_P(Single_Byte_Tables, upper_half_equals_the_index_file) {
    const auto& param = GetParam();
    const auto index = Load(param.File);
    std::size_t unassigned = 0;
    for (std::uint32_t pointer = 0; pointer < 128; ++pointer) {
        const auto found = index.find(pointer);
        const std::uint32_t expected = found == index.end() ? 0 : found->second;
        EXPECT_EQ(param.Table->Code_Point[pointer], expected) << "byte " << pointer + 0x80;
        EXPECT_EQ(Decode_Packed(param.Table->UTF8[pointer + 0x80]), expected)
            << "byte " << pointer + 0x80;
        EXPECT_EQ(Decode_Packed(param.Table->UTF8[pointer]), pointer) << "byte " << pointer;
        unassigned += expected == 0;
    }
    EXPECT_EQ(unassigned, param.Unassigned);
}

INSTANTIATE_TEST_SUITE_P(
    All, Single_Byte_Tables,
    testing::Values(Single_Byte_Case{"iso-8859-2", &Decoders::Single_Byte_Tables::ISO_8859_2, 0},
                    Single_Byte_Case{"iso-8859-5", &Decoders::Single_Byte_Tables::ISO_8859_5, 0},
                    Single_Byte_Case{"iso-8859-6", &Decoders::Single_Byte_Tables::ISO_8859_6, 45},
                    Single_Byte_Case{"iso-8859-7", &Decoders::Single_Byte_Tables::ISO_8859_7, 3},
                    Single_Byte_Case{"iso-8859-8", &Decoders::Single_Byte_Tables::ISO_8859_8, 36},
                    Single_Byte_Case{"iso-8859-9", &Decoders::Single_Byte_Tables::ISO_8859_9, 0},
                    Single_Byte_Case{"iso-8859-15", &Decoders::Single_Byte_Tables::ISO_8859_15, 0},
                    Single_Byte_Case{"koi8-r", &Decoders::Single_Byte_Tables::KOI8_R, 0}),
    [](const testing::TestParamInfo<Single_Byte_Case>& param_info) {
        std::string name = param_info.param.File;
        for (auto& c : name) {
            c = c == '-' ? '_' : c;
        }
        return name;
    });

// ISO/IEC 8859-9 is ISO/IEC 8859-1 with six Turkish letters in place of Icelandic ones.
TEST(Index_Tables, ISO_8859_9_differs_from_latin1_in_six_places) {
    const std::map<unsigned, unsigned> turkish = {{0xD0, 0x011E}, {0xDD, 0x0130}, {0xDE, 0x015E},
                                                  {0xF0, 0x011F}, {0xFD, 0x0131}, {0xFE, 0x015F}};
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const auto found = turkish.find(byte);
        EXPECT_EQ(Decoders::Single_Byte_Tables::ISO_8859_9.Code_Point[byte - 0x80],
                  found == turkish.end() ? byte : found->second)
            << byte;
    }
}

} // namespace
