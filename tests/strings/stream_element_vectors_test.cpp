#include <array>
#include <gtest/gtest.h>
#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <qorvi/strings/stream_element_vectors.hpp>
#include <sstream>

namespace {

using namespace Qorvi::Stream_Element_Vectors;
using Qorvi::Constraint_Error;
using Qorvi::Program_Error;

Stream_Element_Vector bytes(std::initializer_list<Stream_Element> items) {
    Stream_Element_Vector result;
    for (Stream_Element item : items) {
        result.Append(item);
    }
    return result;
}

TEST(Stream_Element_Vector, DefaultHasNoData) {
    const Stream_Element_Vector v;
    EXPECT_EQ(v.Length(), 0);
    EXPECT_TRUE(v.Is_Empty());
    EXPECT_TRUE(Conversions::To_Stream_Element_Array(v).empty());
    EXPECT_EQ(Internals::Data_Constant_Access(v).Storage, nullptr);
    EXPECT_EQ(v.begin(), v.end());
}

TEST(Stream_Element_Vector, EqualityIsByLengthAndBytes) {
    // A vector made from an empty array has data, a default one has none: both hold no bytes,
    // so they are equal.
    const Stream_Element_Vector from_empty = Conversions::To_Stream_Element_Vector({});
    EXPECT_NE(Internals::Data_Constant_Access(from_empty).Storage, nullptr);
    EXPECT_EQ(from_empty, Stream_Element_Vector());
    EXPECT_EQ(Stream_Element_Vector(), Stream_Element_Vector());
    EXPECT_EQ(bytes({1, 2, 3}), bytes({1, 2, 3}));
    EXPECT_NE(bytes({1, 2, 3}), bytes({1, 2, 4}));
    EXPECT_NE(bytes({1, 2}), bytes({1, 2, 3}));
    EXPECT_NE(bytes({1}), Stream_Element_Vector());
}

TEST(Stream_Element_Vector, ElementChecksBothBounds) {
    const Stream_Element_Vector v = bytes({10, 20, 30});
    EXPECT_EQ(v.Element(1), 10);
    EXPECT_EQ(v.Element(3), 30);
    EXPECT_THROW((void)v.Element(4), Constraint_Error);
    EXPECT_THROW((void)v.Element(0), Constraint_Error);
    EXPECT_THROW((void)v.Element(-1), Constraint_Error);
    EXPECT_THROW((void)Stream_Element_Vector().Element(1), Constraint_Error);
}

TEST(Stream_Element_Vector, SingleByteAppendsDoubleTheBlock) {
    // Sizes 1, 2, 4, 4, 8: the block moves exactly when it is full.
    Stream_Element_Vector v;
    const Stream_Element* previous = nullptr;
    std::vector<bool> moved;
    for (Stream_Element i = 1; i <= 5; ++i) {
        v.Append(i);
        moved.push_back(v.begin() != previous);
        previous = v.begin();
    }
    EXPECT_EQ(moved, (std::vector<bool>{true, true, true, false, true}));
    EXPECT_EQ(Conversions::To_Stream_Element_Array(v),
              (std::vector<Stream_Element>{1, 2, 3, 4, 5}));
}

TEST(Stream_Element_Vector, CapacityIsTheSizeOfLaterAllocations) {
    Stream_Element_Vector v;
    v.Set_Capacity(100);
    v.Append(1); // the first block still holds one byte
    v.Append(2); // the second takes the capacity
    const Stream_Element* block = v.begin();
    for (Stream_Element i = 3; i <= 100; ++i) {
        v.Append(i);
    }
    EXPECT_EQ(v.begin(), block);
    EXPECT_EQ(v.Length(), 100);
    EXPECT_THROW(v.Set_Capacity(-1), Constraint_Error);
}

TEST(Stream_Element_Vector, AppendVectorGrowsGeometricallyAndInPlace) {
    Stream_Element_Vector v = bytes({1, 2, 3, 4});
    const Stream_Element_Vector two = bytes({5, 6});
    int moves = 0;
    const Stream_Element* block = v.begin();
    for (int i = 0; i < 1000; ++i) {
        v.Append(two);
        if (v.begin() != block) {
            ++moves;
            block = v.begin();
        }
    }
    EXPECT_EQ(v.Length(), 2004);
    EXPECT_LE(moves, 10); // doubling: about log2(2004 / 4) moves
    EXPECT_EQ(v.Element(2003), 5);
    EXPECT_EQ(v.Element(2004), 6);

    Stream_Element_Vector empty;
    empty.Append(Stream_Element_Vector());
    EXPECT_EQ(Internals::Data_Constant_Access(empty).Storage, nullptr);
}

TEST(Stream_Element_Vector, AppendToItself) {
    Stream_Element_Vector grows = bytes({1, 2, 3}); // block of 4: must grow
    grows.Append(grows);
    EXPECT_EQ(Conversions::To_Stream_Element_Array(grows),
              (std::vector<Stream_Element>{1, 2, 3, 1, 2, 3}));
    Stream_Element_Vector in_place = bytes({1, 2}); // a full block of 2
    in_place.Set_Capacity(16);
    in_place.Append(3); // moves to a block of 16
    in_place.Append(in_place);
    EXPECT_EQ(Conversions::To_Stream_Element_Array(in_place),
              (std::vector<Stream_Element>{1, 2, 3, 1, 2, 3}));
}

TEST(Stream_Element_Vector, CopiesAreIndependent) {
    const Stream_Element_Vector source = bytes({1, 2, 3});
    Stream_Element_Vector copy = source;
    copy.Append(4);
    EXPECT_EQ(source.Length(), 3);
    EXPECT_EQ(copy.Length(), 4);
    Stream_Element_Vector assigned;
    assigned = copy;
    const Stream_Element_Vector& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned, copy);
    Stream_Element_Vector moved = std::move(copy);
    EXPECT_EQ(moved.Length(), 4);
}

TEST(Stream_Element_Vector, IterationBothWaysAndRangeFor) {
    const Stream_Element_Vector v = bytes({7, 8, 9});
    const auto it = v.Iterate();
    std::vector<Stream_Element> forward, backward;
    for (auto p = it.First(); Stream_Element_Vector::Has_Element(p); p = it.Next(p)) {
        forward.push_back(v.Element(p));
    }
    for (auto p = it.Last(); Stream_Element_Vector::Has_Element(p); p = it.Previous(p)) {
        backward.push_back(v.Element(p));
    }
    EXPECT_EQ(forward, (std::vector<Stream_Element>{7, 8, 9}));
    EXPECT_EQ(backward, (std::vector<Stream_Element>{9, 8, 7}));
    std::vector<Stream_Element> ranged(v.begin(), v.end());
    EXPECT_EQ(ranged, forward);
    EXPECT_EQ(Stream_Element_Vector().Iterate().First(), 0);
}

TEST(Stream_Element_Vector, StreamWriteIsPlainBytesAndReadIsRefused) {
    std::ostringstream out;
    bytes({'a', 0, 'b'}).Write(out);
    Stream_Element_Vector().Write(out);
    EXPECT_EQ(out.str(), std::string("a\0b", 3));
    std::istringstream in(out.str());
    Stream_Element_Vector target = bytes({1});
    try {
        target.Read(in);
        FAIL() << "Read must raise";
    } catch (const Program_Error& error) {
        EXPECT_STREQ(error.what(), "Not implemented");
    }
    EXPECT_EQ(target, bytes({1}));
}

TEST(Stream_Element_Vector, ConversionsToAndFromStrings) {
    const std::array<Stream_Element, 3> raw{0xC3, 0xA9, 0x00};
    const Stream_Element_Vector v = Conversions::To_Stream_Element_Vector(raw);
    EXPECT_EQ(Conversions::Unchecked_To_String(v), std::string("\xC3\xA9\0", 3));
    EXPECT_EQ(Conversions::Unchecked_From_Unbounded_String(std::string("xy")), bytes({'x', 'y'}));
    EXPECT_EQ(Conversions::Unchecked_To_String(Stream_Element_Vector()), "");
}

TEST(Stream_Element_Vector, DecodeWalksTheBytesFromIndexOne) {
    using Qorvi::Implementation::UTF8_Encoding::Decode;
    using Qorvi::Implementation::UTF8_Encoding::UTF8_Decode_Error;
    // A, U+00E9, U+1F600, then a three-unit lead cut short by the end of the vector.
    const Stream_Element_Vector v = bytes({0x41, 0xC3, 0xA9, 0xF0, 0x9F, 0x98, 0x80, 0xE2, 0x82});
    std::int64_t index = 1;
    bool success = true;
    char32_t code = 0;
    UTF8_Decode_Error error = UTF8_Decode_Error::NONE;
    std::u32string decoded;
    while (index <= v.Length()) {
        Decode(v, index, success, code, error);
        if (error != UTF8_Decode_Error::NONE) {
            break;
        }
        decoded.push_back(code);
    }
    EXPECT_EQ(decoded, U"A\u00E9\U0001F600");
    EXPECT_EQ(error, UTF8_Decode_Error::INCOMPLETE_3);
    EXPECT_EQ(index, 8); // unchanged by the failure
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(success);

    // Outside 1 .. Length: failure with NONE.
    for (const std::int64_t outside : {std::int64_t{0}, std::int64_t{10}, std::int64_t{-5}}) {
        std::int64_t at = outside;
        bool ok = true;
        Decode(v, at, ok, code, error);
        EXPECT_FALSE(ok);
        EXPECT_EQ(error, UTF8_Decode_Error::NONE);
        EXPECT_EQ(at, outside);
    }
    // An overlong form is refused as in the array form.
    std::int64_t at = 1;
    bool ok = true;
    Decode(bytes({0xE0, 0x80, 0x80, 0x41}), at, ok, code, error);
    EXPECT_EQ(error, UTF8_Decode_Error::INVALID_2_OF_3);
}

} // namespace
