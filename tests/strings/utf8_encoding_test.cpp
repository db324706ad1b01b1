#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <string>
#include <vector>

namespace {

using namespace Qorvi::Implementation::UTF8_Encoding;
using Qorvi::Virtual_Character;

UTF8_Code_Unit_Array Units(const std::vector<UTF8_Code_Unit>& Bytes) {
    return Bytes;
}

struct Decode_Case {
    std::vector<UTF8_Code_Unit> bytes;
    UTF8_Decode_Error error;
    Virtual_Character code; // when error is NONE
};

TEST(UTF8_Decode, ClassifiesSequences) {
    using E = UTF8_Decode_Error;
    const std::vector<Decode_Case> cases = {
        {{0x41}, E::NONE, 0x41},
        {{0x00}, E::NONE, 0x00},
        {{0x7F}, E::NONE, 0x7F},
        {{0xC2, 0x80}, E::NONE, 0x80},
        {{0xDF, 0xBF}, E::NONE, 0x7FF},
        {{0xE0, 0xA0, 0x80}, E::NONE, 0x800},
        {{0xED, 0x9F, 0xBF}, E::NONE, 0xD7FF},
        {{0xEE, 0x80, 0x80}, E::NONE, 0xE000},
        {{0xEF, 0xBF, 0xBF}, E::NONE, 0xFFFF},
        {{0xF0, 0x90, 0x80, 0x80}, E::NONE, 0x10000},
        {{0xF0, 0x9F, 0x98, 0x80}, E::NONE, 0x1F600},
        {{0xF4, 0x8F, 0xBF, 0xBF}, E::NONE, 0x10FFFF},
        // The length test comes before any continuation unit is looked at.
        {{0xC3}, E::INCOMPLETE_2, 0},
        {{0xE0, 0x41}, E::INCOMPLETE_3, 0},
        {{0xE0}, E::INCOMPLETE_3, 0},
        {{0xF0, 0x9F, 0x98}, E::INCOMPLETE_4, 0},
        {{0xF0, 0x41, 0x41}, E::INCOMPLETE_4, 0},
        {{0x80}, E::INVALID_1, 0},
        {{0xBF, 0x41}, E::INVALID_1, 0},
        {{0xC0, 0x80}, E::INVALID_1, 0},
        {{0xC1, 0xBF}, E::INVALID_1, 0},
        {{0xF5, 0x80, 0x80, 0x80}, E::INVALID_1, 0},
        {{0xFF}, E::INVALID_1, 0},
        {{0xC3, 0x41}, E::INVALID_2_OF_2, 0},
        {{0xC3, 0xC3}, E::INVALID_2_OF_2, 0},
        {{0xE0, 0x80, 0x80, 0x41}, E::INVALID_2_OF_3, 0}, // overlong
        {{0xE0, 0x9F, 0xBF}, E::INVALID_2_OF_3, 0},       // overlong
        {{0xED, 0xA0, 0x80}, E::INVALID_2_OF_3, 0},       // surrogate
        {{0xE1, 0x41, 0x80}, E::INVALID_2_OF_3, 0},
        {{0xE1, 0x80, 0x41}, E::INVALID_3_OF_3, 0},
        {{0xF0, 0x8F, 0xBF, 0xBF}, E::INVALID_2_OF_4, 0}, // overlong
        {{0xF4, 0x90, 0x80, 0x80}, E::INVALID_2_OF_4, 0}, // above 0x10FFFF
        {{0xF1, 0x80, 0x41, 0x80}, E::INVALID_3_OF_4, 0},
        {{0xF1, 0x80, 0x80, 0xC0}, E::INVALID_4_OF_4, 0},
    };
    for (const Decode_Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        Qorvi::UTF8_Code_Unit_Offset index = 0;
        bool success = true;
        Virtual_Character code = 0;
        E error = E::INVALID_4_OF_4;
        Decode(Units(c.bytes), index, success, code, error);
        EXPECT_EQ(Image(error), Image(c.error));
        if (c.error == E::NONE) {
            EXPECT_TRUE(success);
            EXPECT_EQ(code, c.code);
            EXPECT_EQ(index, static_cast<Qorvi::UTF8_Code_Unit_Offset>(Encoded_Length(c.code)));
        } else {
            EXPECT_FALSE(success);
            EXPECT_EQ(code, 0x10FFFFu);
            EXPECT_EQ(index, 0);
        }
    }
}

TEST(UTF8_Decode, SuccessIsOnlyEverSetToFalse) {
    const std::vector<UTF8_Code_Unit> bytes = {0x61, 0xC3, 0xA9, 0xFF, 0x62};
    Qorvi::UTF8_Code_Unit_Offset index = 0;
    bool success = true;
    Virtual_Character code = 0;
    UTF8_Decode_Error error;
    Decode(bytes, index, success, code, error); // 'a'
    Decode(bytes, index, success, code, error); // U+00E9
    EXPECT_TRUE(success);
    EXPECT_EQ(code, 0xE9u);
    EXPECT_EQ(index, 3);
    Decode(bytes, index, success, code, error); // 0xFF
    EXPECT_FALSE(success);
    EXPECT_EQ(index, 3);
    index = 4;
    Decode(bytes, index, success, code, error); // 'b' decodes, success stays false
    EXPECT_FALSE(success);
    EXPECT_EQ(code, 0x62u);
    EXPECT_EQ(error, UTF8_Decode_Error::NONE);
    EXPECT_EQ(index, 5);
}

TEST(UTF8_Decode, IndexOutsideTheDataFailsWithNone) {
    const std::vector<UTF8_Code_Unit> bytes = {0x61, 0x62};
    for (const Qorvi::UTF8_Code_Unit_Offset start : {-1, 2, 100}) {
        Qorvi::UTF8_Code_Unit_Offset index = start;
        bool success = true;
        Virtual_Character code = 0;
        UTF8_Decode_Error error = UTF8_Decode_Error::INVALID_1;
        Decode(bytes, index, success, code, error);
        EXPECT_FALSE(success);
        EXPECT_EQ(error, UTF8_Decode_Error::NONE);
        EXPECT_EQ(code, 0x10FFFFu);
        EXPECT_EQ(index, start);
    }
    Qorvi::UTF8_Code_Unit_Offset index = 0;
    bool success = true;
    Virtual_Character code = 0;
    UTF8_Decode_Error error;
    Decode(UTF8_Code_Unit_Array(), index, success, code, error);
    EXPECT_FALSE(success);
}

// A reference formulation of well-formedness, independent of the decoder: the sequence is the
// encoding of a scalar value in the shortest form.
bool Reference_Well_Formed(const UTF8_Code_Unit* Bytes, int Count, Virtual_Character& Code) {
    const int expected = Bytes[0] < 0x80   ? 1
                         : Bytes[0] < 0xC0 ? 0
                         : Bytes[0] < 0xE0 ? 2
                         : Bytes[0] < 0xF0 ? 3
                         : Bytes[0] < 0xF8 ? 4
                                           : 0;
    if (expected == 0 || expected > Count) {
        return false;
    }
    std::uint32_t value = expected == 1 ? Bytes[0] : Bytes[0] & (0x7Fu >> expected);
    for (int i = 1; i < expected; ++i) {
        if ((Bytes[i] & 0xC0) != 0x80) {
            return false;
        }
        value = (value << 6) | (Bytes[i] & 0x3Fu);
    }
    const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < minimum[expected] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    Code = value;
    return true;
}

TEST(UTF8_Decode, AgreesWithReferenceOnEveryShortSequence) {
    // Every 1-, 2- and 3-unit sequence, and every 4-unit sequence whose last unit is one of a few
    // representative values.
    std::array<UTF8_Code_Unit, 4> bytes{};
    int disagreements = 0;
    const auto check = [&](int Count) {
        const UTF8_Code_Unit_Array data(bytes.data(), static_cast<std::size_t>(Count));
        Qorvi::UTF8_Code_Unit_Offset index = 0;
        bool success = true;
        Virtual_Character code = 0;
        UTF8_Decode_Error error;
        Decode(data, index, success, code, error);
        // Decode reads the sequence its lead unit announces and nothing after it.
        const int announced = bytes[0] < 0x80   ? 1
                              : bytes[0] < 0xC0 ? 0
                              : bytes[0] < 0xE0 ? 2
                              : bytes[0] < 0xF0 ? 3
                              : bytes[0] < 0xF8 ? 4
                                                : 0;
        Virtual_Character expected_code = 0;
        const bool expected = announced != 0 && announced <= Count &&
                              Reference_Well_Formed(bytes.data(), announced, expected_code);
        const bool decoded = success && index == announced && error == UTF8_Decode_Error::NONE;
        if (expected != decoded || (expected && code != expected_code) ||
            (!expected && (success || index != 0))) {
            ++disagreements;
        }
    };
    for (int a = 0; a < 256; ++a) {
        bytes[0] = static_cast<UTF8_Code_Unit>(a);
        check(1);
        for (int b = 0; b < 256; ++b) {
            bytes[1] = static_cast<UTF8_Code_Unit>(b);
            check(2);
            for (int c = 0; c < 256; ++c) {
                bytes[2] = static_cast<UTF8_Code_Unit>(c);
                check(3);
                if (a >= 0xF0) {
                    for (const int d : {0x00, 0x7F, 0x80, 0xBF, 0xC0, 0xFF}) {
                        bytes[3] = static_cast<UTF8_Code_Unit>(d);
                        check(4);
                    }
                }
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

TEST(UTF8_Encode, RoundTripsThroughEveryDecoder) {
    int failures = 0;
    for (Virtual_Character code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) {
            continue;
        }
        std::array<UTF8_Code_Unit, 4> units{};
        const auto length = Encode(code, units.data());
        const UTF8_Code_Unit_Array data(units.data(), static_cast<std::size_t>(length));
        Qorvi::UTF8_Code_Unit_Offset index = 0;
        bool success = true;
        Virtual_Character decoded = 0;
        UTF8_Decode_Error error;
        Decode(data, index, success, decoded, error);
        Qorvi::UTF8_Code_Unit_Offset forward = 0;
        const Virtual_Character unchecked = Unchecked_Decode_Forward(data, forward);
        Qorvi::UTF8_Code_Unit_Offset backward = length;
        const Virtual_Character back = Unchecked_Backward_Decode(data, backward);
        const bool ok = length == Encoded_Length(code) && success && decoded == code &&
                        index == length && unchecked == code && forward == length && back == code &&
                        backward == 0 && Lead_Unit_Length(units[0]) == length &&
                        UTF16_Length(code) == (length == 4 ? 2 : 1);
        if (!ok && ++failures < 5) {
            ADD_FAILURE() << "code point " << std::hex << static_cast<std::uint32_t>(code);
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(UTF8_Encode, BoundaryEncodings) {
    const struct {
        Virtual_Character code;
        std::vector<UTF8_Code_Unit> units;
    } cases[] = {
        {0x7F, {0x7F}},
        {0x80, {0xC2, 0x80}},
        {0x7FF, {0xDF, 0xBF}},
        {0x800, {0xE0, 0xA0, 0x80}},
        {0xFFFF, {0xEF, 0xBF, 0xBF}},
        {0x10000, {0xF0, 0x90, 0x80, 0x80}},
        {0x10FFFF, {0xF4, 0x8F, 0xBF, 0xBF}},
    };
    for (const auto& c : cases) {
        std::array<UTF8_Code_Unit, 4> units{};
        const auto length = Encode(c.code, units.data());
        EXPECT_EQ(std::vector<UTF8_Code_Unit>(units.begin(), units.begin() + length), c.units)
            << std::hex << static_cast<std::uint32_t>(c.code);
    }
}

TEST(UTF8_Unchecked, WalksAMixedTextBothWays) {
    // "a", U+00E9, U+20AC, U+1F600
    const std::vector<UTF8_Code_Unit> text = {0x61, 0xC3, 0xA9, 0xE2, 0x82,
                                              0xAC, 0xF0, 0x9F, 0x98, 0x80};
    const std::vector<Virtual_Character> codes = {0x61, 0xE9, 0x20AC, 0x1F600};
    Qorvi::UTF8_Code_Unit_Offset offset = 0;
    std::vector<Virtual_Character> forward;
    while (offset < static_cast<int>(text.size())) {
        forward.push_back(Unchecked_Decode_Forward(text, offset));
    }
    EXPECT_EQ(forward, codes);
    std::vector<Virtual_Character> backward;
    offset = static_cast<int>(text.size());
    while (offset > 0) {
        backward.insert(backward.begin(), Unchecked_Backward_Decode(text, offset));
    }
    EXPECT_EQ(backward, codes);
}

TEST(UTF8_Unchecked, BrokenDataRaisesInsteadOfReadingOutside) {
    const auto message_of = [](auto&& Action) -> std::string {
        try {
            Action();
        } catch (const Qorvi::Program_Error& error) {
            return std::string("Program_Error: ") + error.what();
        } catch (const Qorvi::Constraint_Error&) {
            return "Constraint_Error";
        }
        return "nothing";
    };
    const std::vector<UTF8_Code_Unit> c0 = {0xC0, 0x80};
    const std::vector<UTF8_Code_Unit> f8 = {0xF8, 0x80, 0x80, 0x80};
    const std::vector<UTF8_Code_Unit> only_continuations = {0x80, 0x80};
    const std::vector<UTF8_Code_Unit> cut = {0x61, 0xE2, 0x82};
    Qorvi::UTF8_Code_Unit_Offset offset = 0;
    const std::string corrupted = "Program_Error: string data is corrupted";
    EXPECT_EQ(message_of([&] { offset = 2, Unchecked_Backward_Decode(c0, offset); }), corrupted);
    EXPECT_EQ(message_of([&] { offset = 4, Unchecked_Backward_Decode(f8, offset); }), corrupted);
    EXPECT_EQ(
        message_of([&] { offset = 2, Unchecked_Backward_Decode(only_continuations, offset); }),
        corrupted);
    EXPECT_EQ(message_of([&] {
                  offset = 0, Unchecked_Decode_Forward(c0, offset);
              }).rfind("Program_Error", 0),
              0u);
    EXPECT_EQ(message_of([&] { offset = 1, Unchecked_Decode_Forward(cut, offset); }), corrupted);
    EXPECT_EQ(message_of([&] { offset = 3, Unchecked_Decode_Forward(cut, offset); }),
              "Constraint_Error");
    EXPECT_EQ(message_of([&] { offset = -1, Unchecked_Decode_Forward(cut, offset); }),
              "Constraint_Error");
    EXPECT_EQ(message_of([&] { offset = 0, Unchecked_Backward_Decode(cut, offset); }),
              "Constraint_Error");
    EXPECT_EQ(message_of([&] { offset = 4, Unchecked_Backward_Decode(cut, offset); }),
              "Constraint_Error");
}

TEST(UTF8_Decode_Error, ImagesAreUpperCaseNames) {
    EXPECT_EQ(Image(UTF8_Decode_Error::NONE), "NONE");
    EXPECT_EQ(Image(UTF8_Decode_Error::INCOMPLETE_3), "INCOMPLETE_3");
    EXPECT_EQ(Image(UTF8_Decode_Error::INVALID_2_OF_4), "INVALID_2_OF_4");
    EXPECT_EQ(Image(UTF8_Decode_Error::INVALID_4_OF_4), "INVALID_4_OF_4");
    EXPECT_EQ(static_cast<int>(UTF8_Decode_Error::INVALID_4_OF_4), 10);
}

} // namespace
