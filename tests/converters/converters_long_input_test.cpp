// Long inputs made of valid characters of each encoding, taken from the index files: they must
// decode to exactly those characters, and, after random corruption, give the same result in one
// call as byte by byte and in random chunks. The one-call form runs the decoders' fast paths
// over whole blocks; byte by byte it runs the plain state machines.

#include "converters_test_support.hpp"

#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte.hpp>
#include <qorvi/converters/strings-converters-decoders-utf8.hpp>
#include <random>

namespace {

using namespace Converters_Test;
namespace Decoders = Qorvi::Strings::Converters::Decoders;

std::vector<std::pair<std::uint32_t, char32_t>> Load(const std::string& Name) {
    std::ifstream file(std::string(QORVI_WHATWG_DIR) + "/index-" + Name + ".txt");
    EXPECT_TRUE(file.good()) << Name;
    std::vector<std::pair<std::uint32_t, char32_t>> index;
    std::string line;
    while (std::getline(file, line)) {
        unsigned pointer = 0;
        unsigned code = 0;
        if (!line.empty() && line[0] != '#' &&
            std::sscanf(line.c_str(), " %u 0x%x", &pointer, &code) == 2) {
            index.emplace_back(pointer, code);
        }
    }
    return index;
}

// Random 32-bit values from a seed.
class Random_Source {
public:
    explicit Random_Source(unsigned Seed) : Engine(Seed) {}
    std::uint32_t operator()() { return static_cast<std::uint32_t>(Engine()); }

private:
    std::mt19937 Engine;
};

struct Sample {
    Bytes Source;
    std::u32string Text;
};

// Appends one random character of the encoding to Out.
using Character_Maker = std::function<void(Random_Source&, Sample&)>;

void Add(Sample& Out, std::initializer_list<std::uint8_t> Bytes_, char32_t Code) {
    Out.Source.insert(Out.Source.end(), Bytes_);
    Out.Text.push_back(Code);
}

// Words of ASCII letters with spaces: what the fast paths copy in runs.
void ASCII_Word(Random_Source& Random, Sample& Out) {
    const unsigned length = 1 + Random() % 20;
    for (unsigned i = 0; i < length; ++i) {
        const auto c = static_cast<std::uint8_t>('a' + Random() % 26);
        Add(Out, {c}, c);
    }
    Add(Out, {' '}, U' ');
}

Character_Maker UTF8_Maker() {
    return [](Random_Source& random, Sample& out) {
        char32_t c = 0;
        switch (random() % 6) {
        case 0:
            ASCII_Word(random, out);
            return;
        case 1:
            c = 0x80 + random() % (0x800 - 0x80);
            break;
        case 2:
            c = 0x800 + random() % (0x10000 - 0x800);
            if (c >= 0xD800 && c <= 0xDFFF) {
                c = 0xED00 + (c & 0xFF); // keeps the ED lead frequent, without surrogates
            }
            break;
        case 3: // the edges of the three-byte leads
            c = random() % 2 ? 0x800 + random() % 0x800 : 0xD000 + random() % 0x800;
            break;
        case 4:
            c = 0x10000 + random() % 0x100000;
            break;
        default:
            c = 0x0430 + random() % 32; // runs of two-byte letters
            break;
        }
        std::string units;
        if (c < 0x800) {
            units = {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            units = {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)),
                     char(0x80 | (c & 0x3F))};
        } else {
            units = {char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)),
                     char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        }
        out.Source.insert(out.Source.end(), units.begin(), units.end());
        out.Text.push_back(c);
    };
}

Character_Maker ShiftJIS_Maker() {
    static const auto index = Load("jis0208");
    return [](Random_Source& random, Sample& out) {
        switch (random() % 5) {
        case 0:
            ASCII_Word(random, out);
            return;
        case 1: {
            const auto b = static_cast<std::uint8_t>(0xA1 + random() % 63);
            Add(out, {b}, 0xFF61 + (b - 0xA1U));
            return;
        }
        case 2:
            Add(out, {0x5C}, U'\u00A5');
            return;
        default: {
            std::uint32_t pointer;
            char32_t code;
            if (random() % 10 == 0) {
                pointer = 8836 + random() % 1880;
                code = 0xE000 + (pointer - 8836);
            } else {
                std::tie(pointer, code) = index[random() % index.size()];
            }
            const unsigned lead = pointer / 188;
            const unsigned trail = pointer % 188;
            Add(out,
                {static_cast<std::uint8_t>(lead + (lead < 0x1F ? 0x81 : 0xC1)),
                 static_cast<std::uint8_t>(trail + (trail < 0x3F ? 0x40 : 0x41))},
                code);
        }
        }
    };
}

Character_Maker EUCJP_Maker() {
    static const auto jis0208 = Load("jis0208");
    static const auto jis0212 = Load("jis0212");
    return [](Random_Source& random, Sample& out) {
        switch (random() % 6) {
        case 0:
            ASCII_Word(random, out);
            return;
        case 1: {
            const auto b = static_cast<std::uint8_t>(0xA1 + random() % 63);
            Add(out, {0x8E, b}, 0xFF61 + (b - 0xA1U));
            return;
        }
        case 2: {
            const auto [pointer, code] = jis0212[random() % jis0212.size()];
            Add(out,
                {0x8F, static_cast<std::uint8_t>(0xA1 + pointer / 94),
                 static_cast<std::uint8_t>(0xA1 + pointer % 94)},
                code);
            return;
        }
        case 3:
            Add(out, {0x7E}, U'\u203E');
            return;
        default: {
            std::pair<std::uint32_t, char32_t> entry;
            do { // EUC-JP reaches the pointers of rows 1 .. 94 only
                entry = jis0208[random() % jis0208.size()];
            } while (entry.first >= 94 * 94);
            Add(out,
                {static_cast<std::uint8_t>(0xA1 + entry.first / 94),
                 static_cast<std::uint8_t>(0xA1 + entry.first % 94)},
                entry.second);
        }
        }
    };
}

Character_Maker GB18030_Maker() {
    static const auto two_byte = Load("gb18030");
    static const auto ranges = Load("gb18030-ranges");
    return [](Random_Source& random, Sample& out) {
        switch (random() % 6) {
        case 0:
            ASCII_Word(random, out);
            return;
        case 1:
            Add(out, {0x80}, U'\u20AC');
            return;
        case 2: { // four bytes: a pointer inside a range (BMP) or in the supplementary planes
            std::uint32_t pointer;
            char32_t code;
            if (random() % 2 == 0) {
                const std::size_t i = random() % (ranges.size() - 1);
                pointer = ranges[i].first + random() % (ranges[i + 1].first - ranges[i].first);
                if (pointer == 7457 || pointer > 39419) {
                    pointer = ranges[i].first;
                }
                code = ranges[i].second + (pointer - ranges[i].first);
            } else {
                pointer = 189000 + random() % (1237575 - 189000 + 1);
                code = 0x10000 + (pointer - 189000);
            }
            Add(out,
                {static_cast<std::uint8_t>(0x81 + pointer / 12600),
                 static_cast<std::uint8_t>(0x30 + pointer / 1260 % 10),
                 static_cast<std::uint8_t>(0x81 + pointer / 10 % 126),
                 static_cast<std::uint8_t>(0x30 + pointer % 10)},
                code);
            return;
        }
        default: {
            const auto [pointer, code] = two_byte[random() % two_byte.size()];
            const unsigned trail = pointer % 190;
            Add(out,
                {static_cast<std::uint8_t>(0x81 + pointer / 190),
                 static_cast<std::uint8_t>(trail + (trail < 0x3F ? 0x40 : 0x41))},
                code);
        }
        }
    };
}

Character_Maker Single_Byte_Maker() {
    return [](Random_Source& random, Sample& out) {
        if (random() % 3 == 0) {
            ASCII_Word(random, out);
            return;
        }
        const auto b = static_cast<std::uint8_t>(0x80 + random() % 128);
        Add(out, {b}, b); // ISO-8859-1
    };
}

const struct {
    const char* Name;
    Decoder_Factory Factory;
    Character_Maker (*Maker)();
} Members[] = {
    {"UTF-8", Decoders::UTF8::Factory, UTF8_Maker},
    {"Shift_JIS", Decoders::ShiftJIS::Factory, ShiftJIS_Maker},
    {"EUC-JP", Decoders::EUCJP::Factory, EUCJP_Maker},
    {"GB18030", Decoders::GB18030::Factory, GB18030_Maker},
    {"ISO-8859-1", Decoders::ISO88591::Factory, Single_Byte_Maker},
};

std::u32string Decode_Chunked(Decoder_Factory Factory, const Bytes& Source,
                              const std::vector<std::size_t>& Cuts) {
    const Decoder_Access decoder = Factory(Converter_Flags{});
    std::u32string text;
    std::size_t from = 0;
    for (const std::size_t cut : Cuts) {
        text += Decode(*decoder,
                       Bytes(Source.begin() + static_cast<std::ptrdiff_t>(from),
                             Source.begin() + static_cast<std::ptrdiff_t>(cut)),
                       false);
        from = cut;
    }
    text += Decode(*decoder,
                   Bytes(Source.begin() + static_cast<std::ptrdiff_t>(from), Source.end()), true);
    return text;
}

TEST(Long_Inputs, valid_text_decodes_to_its_characters) {
    Random_Source random(15);
    for (const auto& member : Members) {
        const Character_Maker make = member.Maker();
        for (int round = 0; round < 20; ++round) {
            Sample sample;
            while (sample.Source.size() < 6000) {
                make(random, sample);
            }
            const Decoder_Access decoder = member.Factory(Converter_Flags{});
            const std::u32string got = Decode(*decoder, sample.Source, true);
            EXPECT_FALSE(decoder->Has_Error()) << member.Name;
            ASSERT_EQ(got.size(), sample.Text.size()) << member.Name;
            for (std::size_t i = 0; i < got.size(); ++i) {
                ASSERT_EQ(got[i], sample.Text[i]) << member.Name << " at character " << i;
            }
        }
    }
}

TEST(Long_Inputs, corrupted_text_decodes_alike_in_one_call_and_in_pieces) {
    Random_Source random(16);
    for (const auto& member : Members) {
        const Character_Maker make = member.Maker();
        for (int round = 0; round < 20; ++round) {
            Sample sample;
            while (sample.Source.size() < 3000) {
                make(random, sample);
            }
            // Overwrite, drop or insert bytes here and there.
            Bytes source = sample.Source;
            const unsigned damage = 1 + random() % 30;
            for (unsigned i = 0; i < damage; ++i) {
                const std::size_t at = random() % source.size();
                switch (random() % 3) {
                case 0:
                    source[at] = static_cast<std::uint8_t>(random());
                    break;
                case 1:
                    source.erase(source.begin() + static_cast<std::ptrdiff_t>(at));
                    break;
                default:
                    source.insert(source.begin() + static_cast<std::ptrdiff_t>(at),
                                  static_cast<std::uint8_t>(random()));
                    break;
                }
            }
            const std::u32string whole = Decode_Chunked(member.Factory, source, {});
            std::vector<std::size_t> every_byte;
            for (std::size_t i = 1; i < source.size(); ++i) {
                every_byte.push_back(i);
            }
            ASSERT_EQ(Decode_Chunked(member.Factory, source, every_byte), whole)
                << member.Name << " byte by byte, round " << round;
            std::vector<std::size_t> cuts;
            for (std::size_t i = 0; i < source.size(); i += 1 + random() % 40) {
                cuts.push_back(i);
            }
            ASSERT_EQ(Decode_Chunked(member.Factory, source, cuts), whole)
                << member.Name << " in random chunks, round " << round;
        }
    }
}

// The UTF-8 decoder checks sixteen bytes at a time: put each kind of ill-formed sequence (and
// the well-formed edge cases) at every position of such a block, within text of one-, two- and
// three-byte characters.
TEST(Long_Inputs, utf8_sequences_at_every_position_of_a_block) {
    const Bytes text = Hex("61 D0 B0 E3 81 82 62 C3 A9 E2 82 AC 63 64 D1 8F E4 B8 80 65 66 67 "
                           "C2 80 E0 A0 80 ED 9F BF EF BF BF 68 69 6A 6B 6C 6D 6E 6F 70");
    const char* const inserts[] = {
        "E0 80 80",    "E0 9F BF",    "ED A0 80",    "ED BF BF", "C0 80",    "C1 BF", "F5 80",
        "FF",          "80",          "BF",          "E2 82",    "E2",       "C3",    "F0 9F 98 80",
        "F4 8F BF BF", "F4 90 80 80", "F0 8F BF BF", "E0 A0",    "EF BB BF",
    };
    for (const char* insert : inserts) {
        const Bytes bad = Hex(insert);
        for (std::size_t at = 0; at <= 24; ++at) {
            Bytes source(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at));
            source.insert(source.end(), bad.begin(), bad.end());
            source.insert(source.end(), text.begin() + static_cast<std::ptrdiff_t>(at), text.end());
            std::vector<std::size_t> every_byte;
            for (std::size_t i = 1; i < source.size(); ++i) {
                every_byte.push_back(i);
            }
            ASSERT_EQ(Decode_Chunked(Decoders::UTF8::Factory, source, {}),
                      Decode_Chunked(Decoders::UTF8::Factory, source, every_byte))
                << insert << " at " << at;
        }
    }
}

} // namespace
