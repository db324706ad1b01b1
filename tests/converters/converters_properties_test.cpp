// Properties that hold for every decoder on random input: how the bytes are cut into Decode
// calls never changes the characters, the error or the state left behind; and STOP_ON_ERROR
// keeps exactly what came before the first error.

#include "converters_test_support.hpp"

#include <gtest/gtest.h>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte.hpp>
#include <qorvi/converters/strings-converters-decoders-utf8.hpp>
#include <random>

namespace {

using namespace Converters_Test;
namespace Decoders = Qorvi::Strings::Converters::Decoders;

struct Member {
    const char* Name;
    Decoder_Factory Factory;
    // Bytes that matter to this decoder's state machine; random input draws on them often so
    // that multi-byte sequences, broken ones and byte order marks are common.
    const char* Alphabet;
};

const Member Members[] = {
    {"UTF-8", Decoders::UTF8::Factory, "41 80 8F 90 9F A0 BF C2 C3 DF E0 E1 ED EF F0 F4 F5 BB BF"},
    {"ISO-8859-1", Decoders::ISO88591::Factory, "41 80 FF"},
    {"ISO-8859-2", Decoders::ISO88592::Factory, "41 A1 FF"},
    {"ISO-8859-5", Decoders::ISO88595::Factory, "41 B0 F0"},
    {"ISO-8859-6", Decoders::ISO88596::Factory, "41 A1 AC C1 FF"},
    {"ISO-8859-7", Decoders::ISO88597::Factory, "41 AE C1 D2 FF"},
    {"ISO-8859-8", Decoders::ISO88598::Factory, "41 A1 C0 E0 FD"},
    {"ISO-8859-9", Decoders::ISO88599::Factory, "41 DD FD"},
    {"ISO-8859-15", Decoders::ISO885915::Factory, "41 A4 BE"},
    {"KOI8-R", Decoders::KOI8R::Factory, "41 9A C1"},
    {"Shift_JIS", Decoders::ShiftJIS::Factory,
     "20 40 5C 7E 7F 80 81 85 9F A0 A1 DF E0 F0 F9 FA FC FD"},
    {"EUC-JP", Decoders::EUCJP::Factory, "41 5C 7E 8E 8F A1 A2 A4 AD AF DF E0 FE FF"},
    {"GB18030", Decoders::GB18030::Factory, "30 35 39 41 7F 80 81 84 90 A1 A3 E3 FE FF"},
};

const Converter_Flags Flag_Sets[] = {
    Converter_Flags{},
    Converter_Flag::STOP_ON_ERROR,
    Converter_Flag::PROCESS_BOM,
    Converter_Flag::STOP_ON_ERROR | Converter_Flag::PROCESS_BOM,
};

Bytes Random_Bytes(std::mt19937& Random, const Bytes& Alphabet, std::size_t Length) {
    Bytes result(Length);
    for (auto& byte : result) {
        if (Random() % 2 == 0) {
            byte = static_cast<std::uint8_t>(Random() % 256);
        } else if (Random() % 8 == 0) {
            byte = 0xEF; // start of a byte order mark, followed by BB BF from the alphabet
        } else {
            byte = Alphabet[Random() % Alphabet.size()];
        }
    }
    return result;
}

struct Outcome {
    std::u32string Text;
    bool Error;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// Decodes Source cut at the positions Cuts (ascending), then Probe as the last call. The probe
// shows the state the chunks left behind: a pending sequence or a stopped decoder.
Outcome Decode_In_Chunks(const Member& M, Converter_Flags Flags, const Bytes& Source,
                         const std::vector<std::size_t>& Cuts, const Bytes& Probe) {
    const Decoder_Access decoder = M.Factory(Flags);
    Outcome result{U"", false};
    std::size_t from = 0;
    for (const std::size_t cut : Cuts) {
        result.Text += Decode(*decoder,
                              Bytes(Source.begin() + static_cast<std::ptrdiff_t>(from),
                                    Source.begin() + static_cast<std::ptrdiff_t>(cut)),
                              false);
        from = cut;
    }
    result.Text += Decode(
        *decoder, Bytes(Source.begin() + static_cast<std::ptrdiff_t>(from), Source.end()), false);
    result.Text += Decode(*decoder, Probe, true);
    result.Error = decoder->Has_Error();
    return result;
}

TEST(Decoder_Properties, chunk_boundaries_do_not_matter) {
    std::mt19937 random(20240918);
    for (const auto& member : Members) {
        const Bytes alphabet = Hex(member.Alphabet);
        for (const auto flags : Flag_Sets) {
            for (int round = 0; round < 120; ++round) {
                const Bytes source = Random_Bytes(random, alphabet, random() % 40);
                const Bytes probe = Random_Bytes(random, alphabet, random() % 4);
                const Outcome whole = Decode_In_Chunks(member, flags, source, {}, probe);
                // In one call with End_Of_Data: the same as the call followed by the probe,
                // when the probe is empty.
                if (probe.empty()) {
                    const Decoder_Access decoder = member.Factory(flags);
                    EXPECT_EQ(Decode(*decoder, source, true), whole.Text) << member.Name;
                    EXPECT_EQ(decoder->Has_Error(), whole.Error) << member.Name;
                }
                for (std::size_t cut = 0; cut <= source.size(); ++cut) {
                    const Outcome split = Decode_In_Chunks(member, flags, source, {cut}, probe);
                    ASSERT_EQ(split, whole)
                        << member.Name << " flags " << int(flags.To_Byte()) << " cut at " << cut
                        << ": " << Image(split.Text) << "instead of " << Image(whole.Text);
                }
                for (int pass = 0; pass < 4; ++pass) {
                    std::vector<std::size_t> cuts;
                    for (std::size_t i = 0; i <= source.size(); ++i) {
                        while (random() % 3 == 0) { // empty chunks too
                            cuts.push_back(i);
                        }
                    }
                    ASSERT_EQ(Decode_In_Chunks(member, flags, source, cuts, probe), whole)
                        << member.Name << " in " << cuts.size() + 2 << " chunks";
                }
            }
        }
    }
}

TEST(Decoder_Properties, stop_on_error_keeps_what_came_before_the_first_error) {
    std::mt19937 random(7);
    for (const auto& member : Members) {
        const Bytes alphabet = Hex(member.Alphabet);
        for (int round = 0; round < 300; ++round) {
            const Bytes source = Random_Bytes(random, alphabet, random() % 40);
            const Decoder_Access going_on = member.Factory(Converter_Flags{});
            const std::u32string full = Decode(*going_on, source, true);
            const Decoder_Access stopping = member.Factory(Converter_Flag::STOP_ON_ERROR);
            const std::u32string stopped = Decode(*stopping, source, true);
            ASSERT_EQ(stopping->Has_Error(), going_on->Has_Error()) << member.Name;
            if (!stopping->Has_Error()) {
                EXPECT_EQ(stopped, full) << member.Name;
                continue;
            }
            // The stop comes exactly where the first replacement character would have gone.
            ASSERT_LT(stopped.size(), full.size()) << member.Name;
            EXPECT_EQ(full.substr(0, stopped.size()), stopped) << member.Name;
            EXPECT_EQ(full[stopped.size()], U'\uFFFD') << member.Name;
            // Frozen until Reset_State, then like a new decoder.
            EXPECT_EQ(Decode(*stopping, source, true), U"") << member.Name;
            EXPECT_TRUE(stopping->Has_Error());
            stopping->Reset_State();
            EXPECT_FALSE(stopping->Has_Error());
            EXPECT_EQ(Decode(*stopping, source, true), stopped) << member.Name;
        }
    }
}

} // namespace
