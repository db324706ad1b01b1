// The public objects: the label registry behind Virtual_String_Decoder, the decoder object
// itself, and Virtual_String_Encoder.

#include "converters_test_support.hpp"

#include <gtest/gtest.h>
#include <qorvi/converters/strings-converters-decoders-eucjp.hpp>
#include <qorvi/converters/strings-converters-decoders-gb18030.hpp>
#include <qorvi/converters/strings-converters-decoders-shiftjis.hpp>
#include <qorvi/converters/strings-converters-decoders-single_byte.hpp>
#include <qorvi/converters/strings-converters-decoders-utf8.hpp>
#include <qorvi/converters/strings-converters-encoders.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <set>
#include <string>

namespace {

using namespace Converters_Test;
namespace Decoders = Qorvi::Strings::Converters::Decoders;
using Decoders::Virtual_String_Decoder;
using Qorvi::Stream_Element_Vectors::Stream_Element_Vector;
using Qorvi::Strings::Virtual_String;
using Qorvi::Strings::Converters::Encoders::Virtual_String_Encoder;

std::u32string Wide(const Virtual_String& Item) {
    return Qorvi::Strings::Conversions::To_Wide_Wide_String(Item);
}

Stream_Element_Vector Vector(const Bytes& Items) {
    return Qorvi::Stream_Element_Vectors::Conversions::To_Stream_Element_Vector(Items);
}

Bytes Contents(const Stream_Element_Vector& Item) {
    return Qorvi::Stream_Element_Vectors::Conversions::To_Stream_Element_Array(Item);
}

// Bytes on which the thirteen decoders all give different results.
const Bytes Probe = Hex("A4 A2 C1 E0 FD 5C 81 40 D0 A1 B3 81 30 81 30 C3 A9 DF 80");

std::u32string Probe_With(Decoder_Factory Factory) {
    const Decoder_Access decoder = Factory(Converter_Flags{});
    return Decode(*decoder, Probe, true);
}

// The decoder each label stands for, grouped as in the registry.
const struct {
    Decoder_Factory Factory;
    std::vector<const char*> Labels;
} Expected_Registry[] = {
    {Decoders::UTF8::Factory,
     {"csutf8", "utf8", "unicode11utf8", "unicode20utf8", "xunicode20utf8"}},
    {Decoders::ISO88591::Factory,
     {"isoir100", "iso88591", "latin1", "l1", "ibm819", "cp819", "csisolatin1", "iso885911987"}},
    {Decoders::ISO88592::Factory,
     {"isoir101", "iso88592", "latin2", "l2", "csisolatin2", "iso885921987"}},
    {Decoders::ISO88595::Factory,
     {"isoir144", "iso88595", "cyrillic", "csisolatincyrillic", "iso885951988"}},
    {Decoders::ISO88596::Factory,
     {"isoir127", "iso88596", "ecma114", "asmo708", "arabic", "csisolatinarabic", "csiso88596e",
      "csiso88596i", "iso88596e", "iso88596i", "iso885961987"}},
    {Decoders::ISO88597::Factory,
     {"isoir126", "iso88597", "elot928", "ecma118", "greek", "greek8", "csisolatingreek",
      "iso885971987", "suneugreek"}},
    {Decoders::ISO88598::Factory,
     {"isoir138", "iso88598", "hebrew", "csisolatinhebrew", "csiso88598e", "iso88598e",
      "iso885981988", "visual"}},
    {Decoders::ISO88599::Factory,
     {"isoir148", "iso88599", "latin5", "l5", "csisolatin5", "iso885991989"}},
    {Decoders::ISO885915::Factory, {"iso885915", "latin9", "csiso885915", "csisolatin9", "l9"}},
    {Decoders::GB18030::Factory,
     {"csgb2312", "cp936", "ms936", "windows936", "csgbk", "csgb18030", "chinese",
      "csiso58gb231280", "gb2312", "gb231280", "gbk", "isoir58", "xgbk", "gb18030"}},
    {Decoders::EUCJP::Factory, {"cseucpkdfmtjapanese", "eucjp", "xeucjp"}},
    {Decoders::ShiftJIS::Factory,
     {"mskanji", "csshiftjis", "ms932", "shiftjis", "sjis", "windows31j", "xsjis"}},
    {Decoders::KOI8R::Factory, {"koi8r", "cskoi8r", "koi", "koi8"}},
};

TEST(Decoder_Registry, holds_the_91_labels_in_order) {
    const auto registry = Decoders::Registry();
    ASSERT_EQ(registry.size(), 91U);
    std::size_t i = 0;
    std::set<std::string_view> seen;
    for (const auto& group : Expected_Registry) {
        for (const char* label : group.Labels) {
            ASSERT_LT(i, registry.size());
            EXPECT_EQ(registry[i].Label, label);
            EXPECT_EQ(registry[i].Factory, group.Factory) << label;
            EXPECT_TRUE(seen.insert(registry[i].Label).second) << label << " twice";
            // Each label is already in normalised form.
            EXPECT_EQ(Qorvi::Strings::Converters::Internals::To_Encoding_Name(label), label);
            ++i;
        }
    }
    EXPECT_EQ(i, registry.size());
}

TEST(Virtual_String_Decoder, every_label_selects_its_decoder) {
    std::set<std::u32string> distinct;
    for (const auto& group : Expected_Registry) {
        distinct.insert(Probe_With(group.Factory));
    }
    ASSERT_EQ(distinct.size(), 13U) << "the probe must tell the decoders apart";
    for (const auto& group : Expected_Registry) {
        const std::u32string expected = Probe_With(group.Factory);
        for (const char* label : group.Labels) {
            Virtual_String_Decoder decoder;
            decoder.Initialize(Virtual_String(label));
            ASSERT_TRUE(decoder.Is_Valid()) << label;
            EXPECT_EQ(Wide(decoder.Decode(Probe, true)), expected) << label;
        }
    }
}

TEST(Virtual_String_Decoder, labels_are_normalised_before_the_lookup) {
    const struct {
        const char* Label;
        Decoder_Factory Factory; // null: no decoder
    } cases[] = {
        {" UTF-8 ", Decoders::UTF8::Factory},
        {"utf8", Decoders::UTF8::Factory},
        {"UNICODE-1-1-UTF-8", Decoders::UTF8::Factory},
        {"x-unicode20utf8", Decoders::UTF8::Factory},
        {"UTF-08", Decoders::UTF8::Factory},
        {"latin-9", Decoders::ISO885915::Factory},
        {"L9", Decoders::ISO885915::Factory},
        {"IBM819", Decoders::ISO88591::Factory},
        {"iso_8859-1-1987", Decoders::ISO88591::Factory},
        {"windows-31J", Decoders::ShiftJIS::Factory},
        {"Shift_JIS", Decoders::ShiftJIS::Factory},
        {"EUC-JP", Decoders::EUCJP::Factory},
        {"GBK", Decoders::GB18030::Factory},
        {"GB2312", Decoders::GB18030::Factory},
        {"KOI8-R", Decoders::KOI8R::Factory},
        {"ISO-8859-8-E", Decoders::ISO88598::Factory},
        {"utf 8", nullptr},
        {"ISO_8859-1:1987", nullptr},
        {"cp1252", nullptr},
        {"windows-1254", nullptr},
        {"ascii", nullptr},
        {"utf-16", nullptr},
        {"", nullptr},
        {"   ", nullptr},
    };
    for (const auto& c : cases) {
        Virtual_String_Decoder decoder;
        decoder.Initialize(Virtual_String(c.Label));
        EXPECT_EQ(decoder.Is_Valid(), c.Factory != nullptr) << c.Label;
        if (c.Factory != nullptr) {
            EXPECT_EQ(Wide(decoder.Decode(Probe, true)), Probe_With(c.Factory)) << c.Label;
        }
    }
}

TEST(Virtual_String_Decoder, without_a_decoder_does_nothing) {
    Virtual_String_Decoder decoder;
    EXPECT_FALSE(decoder.Is_Valid());
    EXPECT_TRUE(decoder.Decode(Hex("41 FF"), true).Is_Empty());
    EXPECT_TRUE(decoder.Decode(Vector(Hex("41")), true).Is_Empty());
    EXPECT_FALSE(decoder.Has_Error());
    EXPECT_TRUE(decoder.Error_Message().Is_Empty());
    decoder.Reset_State();
    EXPECT_FALSE(decoder.Is_Valid());
}

TEST(Virtual_String_Decoder, initialize_discards_the_previous_decoder) {
    Virtual_String_Decoder decoder;
    decoder.Initialize(Virtual_String("utf-8"));
    EXPECT_TRUE(decoder.Decode(Hex("41 C3"), false) == Virtual_String("A"));
    decoder.Initialize(Virtual_String("utf-8")); // a fresh decoder: the pending C3 is gone
    EXPECT_EQ(Wide(decoder.Decode(Hex("41"), true)), U"A");
    EXPECT_FALSE(decoder.Has_Error());
    decoder.Decode(Hex("FF"), true);
    EXPECT_TRUE(decoder.Has_Error());
    decoder.Initialize(Virtual_String("no-such-encoding"));
    EXPECT_FALSE(decoder.Is_Valid());
    EXPECT_FALSE(decoder.Has_Error());
}

TEST(Virtual_String_Decoder, decodes_chunks_and_reports_errors) {
    Virtual_String_Decoder decoder;
    decoder.Initialize(Virtual_String("utf-8"));
    // A chunk's result holds the characters completed in it.
    EXPECT_EQ(Wide(decoder.Decode(Vector(Hex("41 E2 82")), false)), U"A");
    EXPECT_EQ(Wide(decoder.Decode(Vector(Hex("AC 42")), false)), U"\u20ACB");
    EXPECT_TRUE(decoder.Decode(Stream_Element_Vector(), false).Is_Empty());
    EXPECT_TRUE(decoder.Decode(Vector(Bytes{}), false).Is_Empty());
    EXPECT_FALSE(decoder.Has_Error());
    EXPECT_TRUE(decoder.Error_Message().Is_Empty());
    EXPECT_EQ(Wide(decoder.Decode(Vector(Hex("C3")), false)), U"");
    EXPECT_EQ(Wide(decoder.Decode(Stream_Element_Vector(), true)), U"\uFFFD");
    EXPECT_TRUE(decoder.Has_Error());
    EXPECT_TRUE(decoder.Error_Message() == Virtual_String("Iff-formed sequence"));
    decoder.Reset_State();
    EXPECT_FALSE(decoder.Has_Error());
    EXPECT_TRUE(decoder.Error_Message().Is_Empty());
}

TEST(Virtual_String_Decoder, error_messages) {
    const struct {
        const char* Label;
        const char* Bad;
        const char* Message;
    } cases[] = {
        {"utf-8", "FF", "Iff-formed sequence"},     {"shift_jis", "A0", "Iff-formed sequence"},
        {"euc-jp", "FF", "Iff-formed sequence"},    {"gb18030", "FF", "Iff-formed sequence"},
        {"iso-8859-6", "A1", "Unmapped character"}, {"iso-8859-7", "FF", "Unmapped character"},
        {"iso-8859-8", "FF", "Unmapped character"},
    };
    for (const auto& c : cases) {
        Virtual_String_Decoder decoder;
        decoder.Initialize(Virtual_String(c.Label));
        EXPECT_TRUE(decoder.Error_Message().Is_Empty()) << c.Label;
        EXPECT_EQ(Wide(decoder.Decode(Hex(c.Bad), true)), U"\uFFFD") << c.Label;
        EXPECT_TRUE(decoder.Error_Message() == Virtual_String(c.Message)) << c.Label;
    }
    for (const char* label : {"latin1", "latin2", "cyrillic", "latin5", "latin9", "koi8-r"}) {
        Virtual_String_Decoder decoder;
        decoder.Initialize(Virtual_String(label), Converter_Flag::STOP_ON_ERROR);
        Bytes all(256);
        for (unsigned b = 0; b < 256; ++b) {
            all[b] = static_cast<std::uint8_t>(b);
        }
        EXPECT_EQ(decoder.Decode(all, true).Character_Length(), 256) << label;
        EXPECT_FALSE(decoder.Has_Error()) << label;
        EXPECT_TRUE(decoder.Error_Message().Is_Empty()) << label;
    }
}

// Encoder ------------------------------------------------------------------------------------

TEST(Virtual_String_Encoder, byte_order_mark_once_per_stream) {
    Virtual_String_Encoder encoder;
    encoder.Initialize(Virtual_String("utf-8"), Converter_Flag::PROCESS_BOM);
    ASSERT_TRUE(encoder.Is_Valid());
    Stream_Element_Vector out;
    encoder.Encode(Virtual_String("A"), out);
    EXPECT_EQ(Contents(out), Hex("EF BB BF 41"));
    encoder.Encode(Virtual_String("A"), out);
    EXPECT_EQ(Contents(out), Hex("EF BB BF 41 41"));
    encoder.Reset_State();
    EXPECT_EQ(Contents(encoder.Encode(Virtual_String("A"))), Hex("EF BB BF 41"));
    // The character form first: the mark still comes first, once.
    encoder.Reset_State();
    Stream_Element_Vector chars;
    encoder.Encode(U'\u00E9', chars);
    encoder.Encode(Virtual_String("B"), chars);
    EXPECT_EQ(Contents(chars), Hex("EF BB BF C3 A9 42"));
}

TEST(Virtual_String_Encoder, empty_strings_and_the_byte_order_mark) {
    Virtual_String_Encoder encoder;
    encoder.Initialize(Virtual_String("utf-8"), Converter_Flag::PROCESS_BOM);
    Stream_Element_Vector out;
    encoder.Encode(Virtual_String(""), out); // the procedure form writes nothing...
    encoder.Encode(Virtual_String(), out);
    EXPECT_TRUE(out.Is_Empty());
    // ...so the mark is still due for the function form, which writes it for an empty string.
    EXPECT_EQ(Contents(encoder.Encode(Virtual_String(""))), Hex("EF BB BF"));
    EXPECT_EQ(Contents(encoder.Encode(Virtual_String(""))), Bytes{});
}

TEST(Virtual_String_Encoder, utf8_forms) {
    Virtual_String_Encoder encoder;
    encoder.Initialize(Virtual_String("utf-8"));
    EXPECT_EQ(Contents(encoder.Encode(Virtual_String("A"))), Hex("41"));
    EXPECT_EQ(Contents(encoder.Encode(U'\u00E9')), Hex("C3 A9"));
    EXPECT_EQ(Contents(encoder.Encode(U'\u20AC')), Hex("E2 82 AC"));
    EXPECT_EQ(Contents(encoder.Encode(U'\U0001F600')), Hex("F0 9F 98 80"));
    EXPECT_EQ(Contents(encoder.Encode(U'\0')), Hex("00"));
    EXPECT_EQ(Contents(encoder.Encode(U'\u07FF')), Hex("DF BF"));
    EXPECT_EQ(Contents(encoder.Encode(U'\u0800')), Hex("E0 A0 80"));
    EXPECT_EQ(Contents(encoder.Encode(U'\uFFFF')), Hex("EF BF BF"));
    EXPECT_EQ(Contents(encoder.Encode(U'\U0010FFFF')), Hex("F4 8F BF BF"));
    const Virtual_String text(U"a\u00E9\u20AC\U0001F600z");
    EXPECT_EQ(Contents(encoder.Encode(text)), Hex("61 C3 A9 E2 82 AC F0 9F 98 80 7A"));
    EXPECT_FALSE(encoder.Has_Error());
    EXPECT_TRUE(encoder.Error_Message().Is_Empty());
}

// A surrogate or a value above U+10FFFF has no UTF-8 form: it is refused, nothing is written,
// and a byte order mark that is due stays due.
TEST(Virtual_String_Encoder, refuses_values_that_are_not_scalar_values) {
    Virtual_String_Encoder encoder;
    encoder.Initialize(Virtual_String("utf-8"), Converter_Flag::PROCESS_BOM);
    Stream_Element_Vector out;
    for (const char32_t bad : {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000},
                               char32_t{0x1FFFFF}, char32_t{0xFFFFFFFF}}) {
        EXPECT_THROW(encoder.Encode(bad, out), Qorvi::Constraint_Error);
        EXPECT_THROW(encoder.Encode(bad), Qorvi::Constraint_Error);
    }
    EXPECT_TRUE(out.Is_Empty());
    encoder.Encode(U'A', out);
    EXPECT_EQ(Contents(out), Hex("EF BB BF 41"));
}

TEST(Virtual_String_Encoder, only_the_exact_name_utf8) {
    for (const char* name : {"UTF-8", "utf8", " utf-8", "", "latin1"}) {
        Virtual_String_Encoder encoder;
        encoder.Initialize(Virtual_String(name));
        EXPECT_FALSE(encoder.Is_Valid()) << name;
        Stream_Element_Vector out;
        encoder.Encode(U'A', out);
        encoder.Encode(Virtual_String("A"), out);
        EXPECT_TRUE(out.Is_Empty());
        EXPECT_TRUE(encoder.Encode(U'A').Is_Empty());
        EXPECT_TRUE(encoder.Encode(Virtual_String("A")).Is_Empty());
        EXPECT_FALSE(encoder.Has_Error());
        EXPECT_TRUE(encoder.Error_Message().Is_Empty());
        encoder.Reset_State();
    }
    // Re-initialising with another name drops the encoder.
    Virtual_String_Encoder encoder;
    encoder.Initialize(Virtual_String("utf-8"));
    EXPECT_TRUE(encoder.Is_Valid());
    encoder.Initialize(Virtual_String("utf8"));
    EXPECT_FALSE(encoder.Is_Valid());
}

// Encoding and decoding again gives the text back.
TEST(Virtual_String_Encoder, round_trip_through_the_decoder) {
    std::u32string text;
    for (char32_t c = 0; c < 0x110000; c += 97) {
        if (c < 0xD800 || c > 0xDFFF) {
            text.push_back(c);
        }
    }
    Virtual_String_Encoder encoder;
    encoder.Initialize(Virtual_String("utf-8"), Converter_Flag::PROCESS_BOM);
    const Bytes bytes = Contents(encoder.Encode(Virtual_String(text)));
    Virtual_String_Decoder decoder;
    decoder.Initialize(Virtual_String("utf-8"), Converter_Flag::PROCESS_BOM);
    EXPECT_EQ(Wide(decoder.Decode(bytes, true)), text);
    EXPECT_FALSE(decoder.Has_Error());
}

} // namespace
