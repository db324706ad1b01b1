#include <gtest/gtest.h>
#include <qorvi/strings/string_vectors.hpp>
#include <vector>

namespace {

using namespace Qorvi::String_Vectors;
using Qorvi::Constraint_Error;
using Qorvi::Strings::Line_Terminator;
namespace Vectors = Qorvi::Implementation::String_Vectors;
namespace UTF8 = Qorvi::Implementation::UTF8_Strings;

std::vector<std::string> texts(const Virtual_String_Vector& v) {
    std::vector<std::string> result;
    for (const Virtual_String& s : v) {
        result.push_back(testing::PrintToString(s));
    }
    return result;
}

TEST(String_Vector_Data, GrowthByHalfTheLength) {
    const Virtual_String item("x");
    Vectors::String_Vector_Data* block = nullptr;
    std::vector<int> capacities;
    for (int i = 0; i < 5; ++i) {
        block = Vectors::Append(block, *Qorvi::Strings::Internals::Data_Access_Constant(item));
        capacities.push_back(block->Capacity);
    }
    EXPECT_EQ(capacities, (std::vector<int>{1, 2, 4, 4, 7}));
    block = Vectors::Unreference(block);
    EXPECT_EQ(block, nullptr);
}

TEST(Virtual_String_Vector, NewVectorIsEmpty) {
    const Virtual_String_Vector v;
    EXPECT_EQ(v.Length(), 0);
    EXPECT_TRUE(v.Is_Empty());
    EXPECT_TRUE(v.First_Element().Is_Null());
    EXPECT_TRUE(v.Last_Element().Is_Null());
    EXPECT_EQ(v, Empty_Virtual_String_Vector);
    EXPECT_TRUE(v.Join(U',').Is_Null());
    EXPECT_EQ(v.begin(), v.end());
}

TEST(Virtual_String_Vector, ElementsAndIndexRules) {
    const Virtual_String_Vector v{"a", u8"\u00E9t\u00E9", "long enough to live on the heap"};
    EXPECT_EQ(v.Length(), 3);
    EXPECT_EQ(v.Element(2), u8"\u00E9t\u00E9");
    EXPECT_EQ(v.Last_Element(), "long enough to live on the heap");
    EXPECT_TRUE(v.Element(4).Is_Null());
    EXPECT_THROW((void)v.Element(0), Constraint_Error);
    EXPECT_TRUE(v.Contains("a"));
    EXPECT_FALSE(v.Contains("b"));
}

TEST(Virtual_String_Vector, CopiesAreCopyOnWrite) {
    Virtual_String_Vector original{"a", "b", "c", "a string that is stored on the heap"};
    Virtual_String_Vector copy = original;
    copy.Delete(2);
    copy.Replace(1, "z");
    copy.Prepend("first");
    EXPECT_EQ(texts(original),
              (std::vector<std::string>{"\"a\"", "\"b\"", "\"c\"",
                                        "\"a string that is stored on the heap\""}));
    EXPECT_EQ(texts(copy), (std::vector<std::string>{"\"first\"", "\"z\"", "\"c\"",
                                                     "\"a string that is stored on the heap\""}));
    copy.Delete(10); // beyond the length: nothing
    copy.Replace(10, "q");
    EXPECT_EQ(copy.Length(), 4);
    EXPECT_THROW(copy.Delete(0), Constraint_Error);
    EXPECT_THROW(copy.Replace(0, "q"), Constraint_Error);
}

TEST(Virtual_String_Vector, ElementsShareTextAndNothingLeaks) {
    const auto before = UTF8::Allocated_Segments();
    {
        const Virtual_String stored(std::string(64, 's'));
        Virtual_String_Vector v;
        for (int i = 0; i < 100; ++i) {
            v.Append(stored);
            v.Append("short");
        }
        EXPECT_EQ(UTF8::Allocated_Segments(), before + 1); // one shared text
        v.Append(v);                                       // appending to itself doubles it
        EXPECT_EQ(v.Length(), 400);
        EXPECT_EQ(v.Element(400), "short");
        EXPECT_EQ(v.Element(399), stored);
        Virtual_String_Vector w = v;
        w.Delete_First();
        w.Delete_Last();
        EXPECT_EQ(w.Length(), 398);
        EXPECT_EQ(Delete_First(v).Length(), 399);
        v.Clear();
        EXPECT_TRUE(v.Is_Empty());
        EXPECT_EQ(w.Element(1), "short");
    }
    EXPECT_EQ(UTF8::Allocated_Segments(), before);
}

TEST(Virtual_String_Vector, SliceConcatenationAndEquality) {
    const Virtual_String_Vector v{"a", "b", "c"};
    EXPECT_EQ(v.Slice(2, 10), (Virtual_String_Vector{"b", "c"}));
    EXPECT_TRUE(v.Slice(3, 2).Is_Empty());
    EXPECT_THROW((void)v.Slice(0, 2), Constraint_Error);
    EXPECT_EQ(v + Virtual_String_Vector{"d"}, (Virtual_String_Vector{"a", "b", "c", "d"}));
    EXPECT_NE(v, (Virtual_String_Vector{"a", "b"}));
    // A null element equals an empty one.
    EXPECT_EQ((Virtual_String_Vector{Virtual_String()}), (Virtual_String_Vector{""}));
}

TEST(Virtual_String_Vector, Joins) {
    const Virtual_String_Vector v{"a", "b", "c"};
    EXPECT_EQ(v.Join(U','), "a,b,c");
    EXPECT_EQ(v.Join(Virtual_String(u8" \u2192 ")), u8"a \u2192 b \u2192 c");
    EXPECT_EQ((Virtual_String_Vector{"a"}).Join(U','), "a");
    EXPECT_THROW((void)v.Join(static_cast<char32_t>(0xD800)), Constraint_Error);
    EXPECT_THROW((void)v.Join(static_cast<char32_t>(0x110000)), Constraint_Error);
    const Virtual_String_Vector ab{"a", "b"};
    EXPECT_EQ(ab.Join_Lines(Line_Terminator::CRLF, false), "a\r\nb");
    EXPECT_EQ(ab.Join_Lines(Line_Terminator::CRLF, true), "a\r\nb\r\n");
    EXPECT_EQ(ab.Join_Lines(Line_Terminator::PS, true), u8"a\u2029b\u2029");
    EXPECT_TRUE(Virtual_String_Vector().Join_Lines(Line_Terminator::LF).Is_Null());
}

TEST(Virtual_String_Vector, IterationSeesTheLengthAtItsStart) {
    Virtual_String_Vector v{"a", "b"};
    const auto it = v.Iterate();
    int visited = 0;
    for (auto p = it.First(); Virtual_String_Vector::Has_Element(p); p = it.Next(p)) {
        v.Append("more");
        ++visited;
    }
    EXPECT_EQ(visited, 2);
    EXPECT_EQ(it.Previous(it.Last()), 1);
    EXPECT_EQ(it.Previous(0), 0);
}

} // namespace
