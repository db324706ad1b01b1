// The decoders' behaviour on chosen inputs: each case is a series of Decode calls with the
// characters each call must give, and whether an error is recorded at the end.

#include "converters_test_support.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte.hpp>
#include <qorvi/converters/strings-converters-decoders-utf8.hpp>
#include <string>

namespace {

using namespace Converters_Test;
namespace Decoders = Qorvi::Strings::Converters::Decoders;

constexpr Converter_Flags None{};
constexpr Converter_Flags Stateless = Converter_Flag::STATELESS;
constexpr Converter_Flags Stop = Converter_Flag::STOP_ON_ERROR;
constexpr Converter_Flags BOM = Converter_Flag::PROCESS_BOM;

struct Call {
    const char* Source; // hex bytes
    bool End_Of_Data;
    std::u32string Expected;
};

struct Case {
    const char* Name;
    Decoder_Factory Factory;
    Converter_Flags Flags;
    std::vector<Call> Calls;
    bool Error;
};

void Run_Case(const Case& c) {
    SCOPED_TRACE(c.Name);
    const Decoder_Access decoder = c.Factory(c.Flags);
    for (const auto& call : c.Calls) {
        const auto got = Decode(*decoder, Hex(call.Source), call.End_Of_Data);
        EXPECT_EQ(got, call.Expected) << "call with " << call.Source << ": got " << Image(got)
                                      << "expected " << Image(call.Expected);
    }
    EXPECT_EQ(decoder->Has_Error(), c.Error);
}

TEST(UTF8_Decoder, cases) {
    const auto f = Decoders::UTF8::Factory;
    const Case cases[] = {
        {"sequence carried to the next call",
         f,
         None,
         {{"E1 80", false, U""}, {"80", true, U"\u1000"}},
         false},
        {"sequence split in three",
         f,
         None,
         {{"F0 9F", false, U""}, {"98", false, U""}, {"80", true, U"\U0001F600"}},
         false},
        {"end of data closes a sequence",
         f,
         None,
         {{"E1 80", true, U"\uFFFD"}, {"E1 80 80", true, U"\u1000"}},
         true},
        {"boundaries reset by the end of data",
         f,
         None,
         {{"E0", true, U"\uFFFD"}, {"E1 80 80", true, U"\u1000"}},
         true},
        {"bad continuation examined again", f, None, {{"C3 41", true, U"\uFFFDA"}}, true},
        {"lone continuation", f, None, {{"80 41", true, U"\uFFFDA"}}, true},
        {"above U+10FFFF", f, None, {{"F4 90 80 80", true, U"\uFFFD\uFFFD\uFFFD\uFFFD"}}, true},
        {"encoded surrogate", f, None, {{"ED A0 80", true, U"\uFFFD\uFFFD\uFFFD"}}, true},
        {"overlong forms",
         f,
         None,
         {{"C0 80 E0 80 80 F0 8F BF BF", true, std::u32string(9, U'\uFFFD')}},
         true},
        {"bytes that never start a character",
         f,
         None,
         {{"F5 FF C1", true, U"\uFFFD\uFFFD\uFFFD"}},
         true},
        {"truncated before a new lead", f, None, {{"E2 82 E2 82 AC", true, U"\uFFFD\u20AC"}}, true},
        {"four-byte character", f, None, {{"F0 9F 98 80", true, U"\U0001F600"}}, false},
        {"boundary characters",
         f,
         None,
         {{"7F C2 80 DF BF E0 A0 80 ED 9F BF EE 80 80 EF BF BF F0 90 80 80 F4 8F BF BF", true,
           U"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF"}},
         false},
        {"STATELESS closes every call",
         f,
         Stateless,
         {{"C3", false, U"\uFFFD"}, {"A9", false, U"\uFFFD"}},
         true},
        {"STOP_ON_ERROR freezes", f, Stop, {{"41 C3 41", true, U"A"}, {"41", true, U""}}, true},
        {"STOP_ON_ERROR at the end of data",
         f,
         Stop,
         {{"41 E2 82", true, U"A"}, {"41", true, U""}},
         true},
        {"BOM dropped", f, BOM, {{"EF BB BF 41", true, U"A"}}, false},
        {"only the first BOM dropped", f, BOM, {{"EF BB BF EF BB BF", true, U"\uFEFF"}}, false},
        {"BOM after a character kept", f, BOM, {{"41 EF BB BF", true, U"A\uFEFF"}}, false},
        {"BOM split across calls",
         f,
         BOM,
         {{"EF", false, U""}, {"BB", false, U""}, {"BF 41", true, U"A"}},
         false},
        {"error ends the BOM watch", f, BOM, {{"80 EF BB BF", true, U"\uFFFD\uFEFF"}}, true},
        {"BOM kept without the flag", f, None, {{"EF BB BF 41", true, U"\uFEFFA"}}, false},
        {"empty chunk at the end", f, None, {{"", true, U""}}, false},
        {"empty chunk closes a sequence",
         f,
         None,
         {{"C3", false, U""}, {"", true, U"\uFFFD"}},
         true},
        {"empty chunk keeps a sequence",
         f,
         None,
         {{"C3", false, U""}, {"", false, U""}, {"A9", true, U"\u00E9"}},
         false},
    };
    for (const auto& c : cases) {
        Run_Case(c);
    }
}

TEST(UTF8_Decoder, reset_state_rearms_the_bom_and_clears_the_error) {
    const Decoder_Access decoder = Decoders::UTF8::Factory(Stop | Converter_Flag::PROCESS_BOM);
    EXPECT_EQ(Decode(*decoder, Hex("EF BB BF 41 FF 42"), false), U"A");
    EXPECT_TRUE(decoder->Has_Error());
    EXPECT_EQ(Decode(*decoder, Hex("42"), true), U"");
    decoder->Reset_State();
    EXPECT_FALSE(decoder->Has_Error());
    EXPECT_EQ(Decode(*decoder, Hex("EF BB BF 43"), true), U"C");
    // Reset_State also forgets a partial sequence.
    EXPECT_EQ(Decode(*decoder, Hex("E2 82"), false), U"");
    decoder->Reset_State();
    EXPECT_EQ(Decode(*decoder, Hex("41"), true), U"A");
    EXPECT_FALSE(decoder->Has_Error());
}

// The run copied in one go and the byte loop meet at every kind of stop.
TEST(UTF8_Decoder, long_runs_end_where_the_byte_loop_takes_over) {
    const Decoder_Access decoder = Decoders::UTF8::Factory(None);
    for (const char* tail : {"C3", "E2 82", "F0 9F 98", "80", "FF", "ED A0 80", "C3 A9"}) {
        for (const std::size_t length :
             {std::size_t{15}, std::size_t{16}, std::size_t{17}, std::size_t{31}, std::size_t{32},
              std::size_t{33}, std::size_t{100}}) {
            Bytes source(length, 'a');
            source.insert(source.begin() + 3, {0xC3, 0xA9}); // a two-byte character in the run
            const Bytes t = Hex(tail);
            source.insert(source.end(), t.begin(), t.end());
            std::u32string expected(length, U'a');
            expected.insert(expected.begin() + 3, U'\u00E9');
            std::u32string got = Decode(*decoder, source, false);
            got += Decode(*decoder, Hex("41"), true);
            const std::string tail_text = tail;
            if (tail_text == "C3 A9") {
                expected += U"\u00E9A";
            } else if (tail_text == "80" || tail_text == "FF") {
                expected += U"\uFFFDA";
            } else if (tail_text == "ED A0 80") {
                expected += U"\uFFFD\uFFFD\uFFFDA";
            } else {
                expected += U"\uFFFDA"; // the pending sequence is broken by 41
            }
            EXPECT_EQ(got, expected) << tail << " after " << length;
            decoder->Reset_State();
        }
    }
}

TEST(Single_Byte_Decoders, cases) {
    const Case cases[] = {
        {"8859-1 C1 controls",
         Decoders::ISO88591::Factory,
         None,
         {{"80 9F A4 FF", true, U"\u0080\u009F\u00A4\u00FF"}},
         false},
        {"8859-15", Decoders::ISO885915::Factory, None, {{"A4 BE", true, U"\u20AC\u0178"}}, false},
        {"8859-9", Decoders::ISO88599::Factory, None, {{"FD DD", true, U"\u0131\u0130"}}, false},
        {"8859-5",
         Decoders::ISO88595::Factory,
         None,
         {{"F0 FD AD B0", true, U"\u2116\u00A7\u00AD\u0410"}},
         false},
        {"8859-6",
         Decoders::ISO88596::Factory,
         None,
         {{"AC C1 A1 41", true, U"\u060C\u0621\uFFFDA"}},
         true},
        {"8859-7 STOP_ON_ERROR",
         Decoders::ISO88597::Factory,
         Stop,
         {{"C1 AE C2", true, U"\u0391"}, {"C1", true, U""}},
         true},
        {"8859-7 2003 additions",
         Decoders::ISO88597::Factory,
         None,
         {{"A4 A5 AA", true, U"\u20AC\u20AF\u037A"}},
         false},
        {"8859-8",
         Decoders::ISO88598::Factory,
         None,
         {{"E0 FD DF C0", true, U"\u05D0\u200E\u2017\uFFFD"}},
         true},
        {"8859-8 STATELESS changes nothing",
         Decoders::ISO88598::Factory,
         Stateless,
         {{"E0", false, U"\u05D0"}},
         false},
        {"KOI8-R",
         Decoders::KOI8R::Factory,
         None,
         {{"C1 E1 9A B3", true, U"\u0430\u0410\u00A0\u0401"}},
         false},
        {"empty source",
         Decoders::ISO88596::Factory,
         None,
         {{"", true, U""}, {"", false, U""}},
         false},
    };
    for (const auto& c : cases) {
        Run_Case(c);
    }
}

TEST(Single_Byte_Decoders, reset_state_clears_the_error) {
    const Decoder_Access decoder = Decoders::ISO88596::Factory(Stop);
    EXPECT_EQ(Decode(*decoder, Hex("41 FF 41"), true), U"A");
    EXPECT_EQ(Decode(*decoder, Hex("41"), true), U"");
    decoder->Reset_State();
    EXPECT_FALSE(decoder->Has_Error());
    EXPECT_EQ(Decode(*decoder, Hex("41"), true), U"A");
}

// Every byte value of every single-byte decoder against the index files read here.
TEST(Single_Byte_Decoders, every_byte_matches_its_mapping_table) {
    const struct {
        const char* File; // nullptr for the identity
        Decoder_Factory Factory;
    } members[] = {
        {nullptr, Decoders::ISO88591::Factory},      {"iso-8859-2", Decoders::ISO88592::Factory},
        {"iso-8859-5", Decoders::ISO88595::Factory}, {"iso-8859-6", Decoders::ISO88596::Factory},
        {"iso-8859-7", Decoders::ISO88597::Factory}, {"iso-8859-8", Decoders::ISO88598::Factory},
        {"iso-8859-9", Decoders::ISO88599::Factory}, {"iso-8859-15", Decoders::ISO885915::Factory},
        {"koi8-r", Decoders::KOI8R::Factory},
    };
    for (const auto& member : members) {
        std::map<unsigned, char32_t> upper;
        if (member.File != nullptr) {
            std::ifstream file(std::string(QORVI_WHATWG_DIR) + "/index-" + member.File + ".txt");
            ASSERT_TRUE(file.good());
            std::string line;
            while (std::getline(file, line)) {
                unsigned pointer = 0;
                unsigned code = 0;
                if (!line.empty() && line[0] != '#' &&
                    std::sscanf(line.c_str(), " %u 0x%x", &pointer, &code) == 2) {
                    upper[pointer + 0x80] = code;
                }
            }
        } else {
            for (unsigned b = 0x80; b <= 0xFF; ++b) {
                upper[b] = b;
            }
        }
        const Decoder_Access decoder = member.Factory(None);
        Bytes all;
        std::u32string expected;
        for (unsigned b = 0; b <= 0xFF; ++b) {
            all.push_back(static_cast<std::uint8_t>(b));
            const auto found = upper.find(b);
            expected += b < 0x80 ? char32_t(b) : found == upper.end() ? U'\uFFFD' : found->second;
        }
        EXPECT_EQ(Decode(*decoder, all, true), expected) << (member.File ? member.File : "8859-1");
        EXPECT_EQ(decoder->Has_Error(), upper.size() < 128) << (member.File ? member.File : "");
    }
}

TEST(ShiftJIS_Decoder, cases) {
    const auto f = Decoders::ShiftJIS::Factory;
    const Case cases[] = {
        {"JIS X 0201 Roman", f, None, {{"5C 7E 41", true, U"\u00A5\u203EA"}}, false},
        {"double-byte", f, None, {{"81 40 FA 40 FC 4B", true, U"\u3000\u2170\u9ED1"}}, false},
        {"user-defined area", f, None, {{"F0 40 F9 FC", true, U"\uE000\uE757"}}, false},
        {"pointer above the table, ASCII trail examined again",
         f,
         None,
         {{"FC 4C", true, U"\uFFFDL"}},
         true},
        {"bad trail examined again", f, None, {{"81 20", true, U"\uFFFD "}}, true},
        {"pointer without a code point", f, None, {{"85 40", true, U"\uFFFD@"}}, true},
        {"trail examined again keeps the Roman forms",
         f,
         None,
         {{"85 5C", true, U"\uFFFD\u00A5"}},
         true},
        {"non-ASCII trail consumed", f, None, {{"81 FD 41", true, U"\uFFFDA"}}, true},
        {"0x80", f, None, {{"80", true, U"\u0080"}}, false},
        {"bytes that are errors",
         f,
         None,
         {{"A0 FD FE FF", true, U"\uFFFD\uFFFD\uFFFD\uFFFD"}},
         true},
        {"half-width katakana", f, None, {{"A1 DF", true, U"\uFF61\uFF9F"}}, false},
        {"lead carried", f, None, {{"81", false, U""}, {"40", true, U"\u3000"}}, false},
        {"lead closed by the end of data",
         f,
         None,
         {{"81", true, U"\uFFFD"}, {"40", true, U"@"}},
         true},
        {"lead closed by STATELESS", f, Stateless, {{"81", false, U"\uFFFD"}}, true},
        {"STOP_ON_ERROR", f, Stop, {{"41 A0 41", true, U"A"}, {"41", true, U""}}, true},
    };
    for (const auto& c : cases) {
        Run_Case(c);
    }
}

TEST(EUCJP_Decoder, cases) {
    const auto f = Decoders::EUCJP::Factory;
    const Case cases[] = {
        {"JIS X 0208", f, None, {{"A4 A2 AD A1", true, U"\u3042\u2460"}}, false},
        {"half-width katakana", f, None, {{"8E A1", true, U"\uFF61"}}, false},
        {"bad katakana trail consumed", f, None, {{"8E E0", true, U"\uFFFD"}}, true},
        {"bad katakana trail examined again", f, None, {{"8E 41", true, U"\uFFFDA"}}, true},
        {"JIS X 0212", f, None, {{"8F A2 AF", true, U"\u02D8"}}, false},
        {"JIS X 0212 pointer without a code point", f, None, {{"8F A1 A1", true, U"\uFFFD"}}, true},
        {"ASCII trail examined again", f, None, {{"A4 41", true, U"\uFFFDA"}}, true},
        {"JIS X 0201 Roman", f, None, {{"5C 7E", true, U"\u00A5\u203E"}}, false},
        {"bytes that are errors",
         f,
         None,
         {{"80 8D 90 A0 FF", true, std::u32string(5, U'\uFFFD')}},
         true},
        {"the mark does not survive the end of data",
         f,
         None,
         {{"8F A2", true, U"\uFFFD"}, {"A4 A2", true, U"\u3042"}},
         true},
        {"JIS X 0212 sequence split",
         f,
         None,
         {{"8F", false, U""}, {"A2", false, U""}, {"AF", true, U"\u02D8"}},
         false},
        {"lead closed by STATELESS", f, Stateless, {{"A4", false, U"\uFFFD"}}, true},
        {"STOP_ON_ERROR", f, Stop, {{"41 8F A1 A1 41", true, U"A"}, {"41", true, U""}}, true},
    };
    for (const auto& c : cases) {
        Run_Case(c);
    }
}

TEST(GB18030_Decoder, cases) {
    const auto f = Decoders::GB18030::Factory;
    const Case cases[] = {
        {"one and two bytes",
         f,
         None,
         {{"80 A1 A1 A3 A0 A8 BC", true, U"\u20AC\u3000\u3000\u1E3F"}},
         false},
        {"four bytes",
         f,
         None,
         {{"81 30 81 30 81 35 F4 37 84 31 A4 39 90 30 81 30 E3 32 9A 35", true,
           U"\u0080\uE7C7\uFFFF\U00010000\U0010FFFF"}},
         false},
        {"four-byte pointers without a code point",
         f,
         None,
         {{"84 31 A5 30 E3 32 9A 36 FE 39 FE 39", true, U"\uFFFD\uFFFD\uFFFD"}},
         true},
        {"broken after two bytes", f, None, {{"81 30 41", true, U"\uFFFD0A"}}, true},
        {"broken after three bytes", f, None, {{"81 30 81 41", true, U"\uFFFD0\u4E04"}}, true},
        {"ASCII trail examined again",
         f,
         None,
         {{"81 20 81 7F", true, U"\uFFFD \uFFFD\u007F"}},
         true},
        {"0xFF", f, None, {{"FF 81 FF", true, U"\uFFFD\uFFFD"}}, true},
        {"sequence carried", f, None, {{"81 30", false, U""}, {"81 30", true, U"\u0080"}}, false},
        {"one error for an unfinished sequence", f, None, {{"81 30 81", true, U"\uFFFD"}}, true},
        {"unfinished sequence closed by STATELESS",
         f,
         Stateless,
         {{"81 30", false, U"\uFFFD"}},
         true},
        {"STOP_ON_ERROR", f, Stop, {{"41 81 30 41", true, U"A"}, {"41", true, U""}}, true},
    };
    for (const auto& c : cases) {
        Run_Case(c);
    }
}

TEST(Multi_Byte_Decoders, reset_state_forgets_the_sequence_and_the_error) {
    const struct {
        Decoder_Factory Factory;
        const char* Lead;
    } members[] = {{Decoders::ShiftJIS::Factory, "41 81"},
                   {Decoders::EUCJP::Factory, "41 A4"},
                   {Decoders::GB18030::Factory, "41 81"}};
    for (const auto& member : members) {
        const Decoder_Access decoder = member.Factory(Stop);
        EXPECT_EQ(Decode(*decoder, Hex("41 FF 41"), true), U"A");
        EXPECT_TRUE(decoder->Has_Error());
        decoder->Reset_State();
        EXPECT_FALSE(decoder->Has_Error());
        EXPECT_EQ(Decode(*decoder, Hex(member.Lead), false), U"A");
        decoder->Reset_State();
        EXPECT_EQ(Decode(*decoder, Hex("41"), true), U"A"); // the lead is gone
        EXPECT_FALSE(decoder->Has_Error());
    }
}

} // namespace
