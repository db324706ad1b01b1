#include <gtest/gtest.h>
#include <qorvi/rtaux/qorvi_aux.hpp>
#include <stdexcept>

namespace {

TEST(Set_String, WritesExactlyLengthElements) {
    std::u32string target = U"old";
    Qorvi_Aux::Set_String(target, 5, [](std::span<char32_t> item) {
        ASSERT_EQ(item.size(), 5u);
        for (std::size_t i = 0; i < item.size(); ++i) {
            item[i] = U'a' + static_cast<char32_t>(i);
        }
    });
    EXPECT_EQ(target, U"abcde");
    EXPECT_EQ(target.c_str()[5], U'\0');
}

TEST(Set_String, LengthZeroGivesEmptyString) {
    std::u32string target = U"not empty";
    int calls = 0;
    Qorvi_Aux::Set_String(target, 0, [&](std::span<char32_t> item) {
        ++calls;
        EXPECT_TRUE(item.empty());
    });
    EXPECT_TRUE(target.empty());
    EXPECT_EQ(calls, 1);
}

TEST(Set_String, ReusesLargeEnoughBuffer) {
    std::u32string target(100, U'x');
    const char32_t* before = target.data();
    Qorvi_Aux::Set_String(
        target, 3, [](std::span<char32_t> item) { std::fill(item.begin(), item.end(), U'y'); });
    EXPECT_EQ(target, U"yyy");
    EXPECT_EQ(target.data(), before);
}

TEST(Set_String, CopyKeepsItsContentWhenTargetIsRefilled) {
    std::u32string target(40, U'x');
    const std::u32string copy = target;
    Qorvi_Aux::Set_String(
        target, 80, [](std::span<char32_t> item) { std::fill(item.begin(), item.end(), U'z'); });
    EXPECT_EQ(target, std::u32string(80, U'z'));
    EXPECT_EQ(copy, std::u32string(40, U'x'));
}

TEST(Set_String, PlainProcedureWithContext) {
    std::u32string target;
    char32_t fill = U'q';
    Qorvi_Aux::Set_String(
        target, 4,
        [](std::span<char32_t> item, void* context) {
            std::fill(item.begin(), item.end(), *static_cast<char32_t*>(context));
        },
        &fill);
    EXPECT_EQ(target, U"qqqq");
}

TEST(Set_String, ExceptionFromWriterReachesCaller) {
    std::u32string target = U"abc";
    EXPECT_THROW(
        Qorvi_Aux::Set_String(
            target, 1000, [](std::span<char32_t>) { throw std::runtime_error("writer failed"); }),
        std::runtime_error);
    EXPECT_TRUE(target.empty());
}

} // namespace
