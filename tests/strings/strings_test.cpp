#include <array>
#include <gtest/gtest.h>
#include <qorvi/strings/strings-conversions.hpp>
#include <qorvi/strings/strings.hpp>
#include <sstream>
#include <unordered_set>

namespace {

using namespace Qorvi::Strings;
using Qorvi::Constraint_Error;
using Qorvi::Program_Error;
namespace UTF8 = Qorvi::Implementation::UTF8_Strings;

const UTF8::UTF8_String_Data& data(const Virtual_String& s) {
    return *Internals::Data_Access_Constant(s);
}

std::string long_text() {
    return std::string(100, 'x') + "\xC3\xA9";
}

template <typename Function>
void expect_constraint_error(Function f, const char* message) {
    try {
        f();
        ADD_FAILURE() << "expected Constraint_Error \"" << message << '"';
    } catch (const Constraint_Error& error) {
        EXPECT_STREQ(error.what(), message);
    }
}

TEST(Virtual_String, NullAndEmpty) {
    const Virtual_String null;
    const Virtual_String empty = Conversions::To_Virtual_String(std::string_view());
    EXPECT_TRUE(null.Is_Null());
    EXPECT_TRUE(Empty_Virtual_String.Is_Null());
    EXPECT_FALSE(empty.Is_Null());
    for (const Virtual_String* s : {&null, &empty, &Empty_Virtual_String}) {
        EXPECT_TRUE(s->Is_Empty());
        EXPECT_EQ(s->Character_Length(), 0);
        EXPECT_EQ(s->Hash(), 0xCBF29CE484222325u);
        EXPECT_EQ(*s, null);
        EXPECT_EQ(*s, empty);
    }
    EXPECT_FALSE(null < empty);
    EXPECT_FALSE(empty < null);
    EXPECT_TRUE(null <= empty);
    EXPECT_TRUE(null < Virtual_String("a"));
    EXPECT_FALSE(Virtual_String("a") < null);
}

TEST(Virtual_String, ComparisonsAreInCodePointOrder) {
    // U+FFFD sorts below U+1F600 by code point; UTF-16 order would say the opposite.
    const Virtual_String bmp = u8"\uFFFD", astral = u8"\U0001F600";
    EXPECT_TRUE(bmp < astral);
    EXPECT_TRUE(astral > bmp);
    EXPECT_TRUE(Virtual_String("ab") < Virtual_String("abc"));
    EXPECT_TRUE(Virtual_String("abc") >= Virtual_String("ab"));
    EXPECT_TRUE(Virtual_String("abc") <= Virtual_String("abc"));
    EXPECT_FALSE(Virtual_String("abc") > Virtual_String("abc"));
    EXPECT_EQ(Virtual_String("abc"), "abc");
    EXPECT_NE(Virtual_String("abc"), "abd");
}

TEST(Virtual_String, CopiesShareTextAndMovesTakeIt) {
    const Virtual_String source(long_text());
    const auto before = UTF8::Allocated_Segments();
    Virtual_String copy = source;
    EXPECT_EQ(data(copy).Storage_Address, data(source).Storage_Address);
    EXPECT_EQ(UTF8::Allocated_Segments(), before);
    Virtual_String moved = std::move(copy);
    EXPECT_TRUE(copy.Is_Null());
    EXPECT_EQ(data(moved).Storage_Address, data(source).Storage_Address);
    Virtual_String assigned;
    assigned = std::move(moved);
    EXPECT_TRUE(moved.Is_Null());
    EXPECT_EQ(assigned, source);
    const Virtual_String& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned, source);

    // Short text lives in the value and is re-pointed on copy and move.
    Virtual_String shortest = "short";
    Virtual_String short_copy = shortest;
    EXPECT_NE(data(short_copy).Storage_Address, data(shortest).Storage_Address);
    Virtual_String short_moved = std::move(short_copy);
    EXPECT_EQ(short_moved, "short");
    EXPECT_EQ(data(short_moved).Storage_Address, data(short_moved).Storage);
    Virtual_String null_source;
    Virtual_String null_moved = std::move(null_source);
    EXPECT_TRUE(null_moved.Is_Null());
}

TEST(Virtual_String, LastHolderFreesTheSegment) {
    const auto before = UTF8::Allocated_Segments();
    {
        Virtual_String a(long_text());
        Virtual_String b = a;
        Virtual_String c;
        c = b;
        a.Clear();
        EXPECT_TRUE(a.Is_Null());
        EXPECT_EQ(UTF8::Allocated_Segments(), before + 1);
    }
    EXPECT_EQ(UTF8::Allocated_Segments(), before);
}

TEST(Virtual_String, HashIsFnv1aOverCodePoints) {
    // "a" is fed as 61 00 00 00.
    std::uint64_t expected = 0xCBF29CE484222325u;
    for (const int byte : {0x61, 0x00, 0x00, 0x00}) {
        expected = (expected ^ static_cast<std::uint64_t>(byte)) * 0x100000001B3u;
    }
    EXPECT_EQ(Virtual_String("a").Hash(), expected);
    EXPECT_EQ(Hash(Virtual_String("a")), expected);
    EXPECT_EQ(std::hash<Virtual_String>()(Virtual_String("a")), static_cast<std::size_t>(expected));
    const std::unordered_set<Virtual_String> set{"x", "y", "x"};
    EXPECT_EQ(set.size(), 2u);
}

TEST(Virtual_String, ImageQuotesAndStreamsAreRefused) {
    EXPECT_EQ(Virtual_String("a\"b").Image(), "\"a\"\"b\"");
    EXPECT_EQ(Virtual_String().Image(), "\"\"");
    std::ostringstream plain;
    plain << Virtual_String(u8"caf\u00E9");
    EXPECT_EQ(plain.str(), "caf\xC3\xA9");
    EXPECT_EQ(testing::PrintToString(Virtual_String("q\"")), "\"q\"\"\"");
    std::stringstream stream;
    Virtual_String s = "abc";
    EXPECT_THROW(s.Write(stream), Program_Error);
    EXPECT_THROW(s.Read(stream), Program_Error);
    try {
        s.Write(stream);
    } catch (const Program_Error& error) {
        EXPECT_STREQ(error.what(), "Not implemented");
    }
}

TEST(Virtual_String, IllFormedInputIsRefusedWithoutLeaking) {
    const auto before = UTF8::Allocated_Segments();
    expect_constraint_error([] { (void)Virtual_String(std::string_view("\xC3")); },
                            "Ill-formed UTF-8 data");
    expect_constraint_error(
        [] { (void)Conversions::To_Virtual_String(std::string(40, 'a') + "\xE0\x80\x80"); },
        "Ill-formed UTF-8 data");
    expect_constraint_error([] { (void)To_Virtual_String(std::u32string_view(U"ab\xD800", 3)); },
                            "Ill-formed UTF-32 data");
    expect_constraint_error(
        [] {
            std::u32string text(40, U'a');
            text.push_back(static_cast<char32_t>(0x110000));
            (void)Conversions::To_Virtual_String(text);
        },
        "Ill-formed UTF-32 data");
    EXPECT_EQ(UTF8::Allocated_Segments(), before);
    EXPECT_EQ(To_Virtual_String(std::u32string_view(U"\U0010FFFF")).Character_Length(), 1);
}

TEST(Conversions, RoundTrips) {
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const Virtual_String s = Conversions::To_Virtual_String(utf8);
    EXPECT_EQ(s.Character_Length(), 4);
    EXPECT_EQ(Conversions::To_UTF_8_String(s), utf8);
    EXPECT_EQ(Conversions::To_Unbounded_UTF_8_String(s), utf8);
    EXPECT_EQ(Conversions::To_Wide_Wide_String(s), U"a\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Conversions::To_Unbounded_Wide_Wide_String(s), U"a\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Conversions::To_Virtual_String(Conversions::To_Wide_Wide_String(s)), s);
    EXPECT_EQ(Conversions::To_UTF_8_String(Virtual_String()), "");
    EXPECT_EQ(Conversions::To_Wide_Wide_String(Virtual_String()), U"");
    EXPECT_EQ(Conversions::To_Wide_Wide_String(Virtual_String(u8"\U0001F600")),
              std::u32string(1, U'\U0001F600'));
}

TEST(Conversions, IntoCallerBuffers) {
    const Virtual_String s = u8"\u00E9t\u00E9"; // 5 code units, 3 characters
    std::array<char, 6> bytes{};
    EXPECT_THROW(Conversions::Set_UTF_8_String(s, std::span<char>(bytes)), Constraint_Error);
    Conversions::Set_UTF_8_String(s, std::span<char>(bytes).first(5));
    EXPECT_EQ(std::string_view(bytes.data(), 5), "\xC3\xA9t\xC3\xA9");
    std::size_t last = 99;
    Conversions::Set_UTF_8_String(s, std::span<char>(bytes), last);
    EXPECT_EQ(last, 5u); // one short of the buffer's end
    EXPECT_THROW(Conversions::Set_UTF_8_String(s, 2, std::span<char>(bytes), last),
                 Constraint_Error);
    EXPECT_THROW(Conversions::Set_UTF_8_String(s, 7, std::span<char>(bytes), last),
                 Constraint_Error);
    Conversions::Set_UTF_8_String(Virtual_String(), 50, std::span<char>(bytes), last);
    EXPECT_EQ(last, 50u);

    std::array<char32_t, 4> points{};
    EXPECT_THROW(Conversions::Set_Wide_Wide_String(s, std::span<char32_t>(points)),
                 Constraint_Error);
    Conversions::Set_Wide_Wide_String(s, std::span<char32_t>(points).first(3));
    EXPECT_EQ(std::u32string_view(points.data(), 3), U"\u00E9t\u00E9");
    Conversions::Set_Wide_Wide_String(s, 1, std::span<char32_t>(points), last);
    EXPECT_EQ(last, 4u);
    EXPECT_EQ(points[1], U'\u00E9');
    EXPECT_THROW(Conversions::Set_Wide_Wide_String(s, 2, std::span<char32_t>(points), last),
                 Constraint_Error);
    Conversions::Set_Wide_Wide_String(Virtual_String(), 9, std::span<char32_t>(points), last);
    EXPECT_EQ(last, 9u);
}

TEST(Internals, SetByMoveAndAccess) {
    UTF8::UTF8_String_Data moved_in;
    ASSERT_TRUE(UTF8::From_UTF_8_String(moved_in, long_text()));
    const auto* text = moved_in.Storage_Address;
    Virtual_String s = "old";
    Internals::Set_By_Move(s, moved_in);
    EXPECT_TRUE(UTF8::Is_Null(moved_in));
    EXPECT_EQ(data(s).Storage_Address, text);
    EXPECT_EQ(Conversions::To_UTF_8_String(s), long_text());

    UTF8::UTF8_String_Data null_data;
    Internals::Set_By_Move(s, null_data);
    EXPECT_FALSE(s.Is_Null()); // a moved-in null value becomes empty and non-null
    EXPECT_TRUE(s.Is_Empty());

    const Virtual_String shared = Internals::To_Virtual_String(data(Virtual_String(long_text())));
    EXPECT_EQ(Conversions::To_UTF_8_String(shared), long_text());
    Virtual_String target;
    EXPECT_EQ(Internals::To_Virtual_String_Access(Internals::To_Magic_String_Access(&target)),
              &target);
    EXPECT_EQ(Internals::To_Virtual_String_Access(nullptr), nullptr);
}

TEST(Locales, AllLocalesAreEqual) {
    EXPECT_TRUE(Qorvi::Locales::Current_Locale() == Qorvi::Locales::Default_Unicode_Locale());
}

} // namespace
