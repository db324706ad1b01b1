// A fixed slice of the differential check: the same generator of hard inputs as the full run
// (qorvi-json-number-differential), compared with the C library's strtod and strtoll.
#include "json_number_inputs.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Differential, HardInputsAgreeWithTheCLibrary) {
    number_tools::Hard_Inputs inputs(20240611);
    int mismatches = 0;
    constexpr int count = 20000;
    for (int i = 0; i < count; ++i) {
        number_tools::Input_Kind kind{};
        const std::string text = inputs.Next(kind);
        const number_tools::Check_Result check = number_tools::Check_Against_C_Library(text);
        if (!check.Agrees && ++mismatches <= 10) {
            ADD_FAILURE() << number_tools::Kind_Name(kind) << ": " << check.Detail;
        }
    }
    EXPECT_EQ(mismatches, 0) << "of " << count;
}

} // namespace
