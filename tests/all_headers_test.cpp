// The umbrella header compiles on its own and gives the whole library.
#include <gtest/gtest.h>
#include <qorvi/all.hpp>

namespace {

TEST(Umbrella_Header, ReachesEverySubsystem) {
    using namespace Qorvi;
    const Strings::Virtual_String text = u8"Gru\u0308\u00DFe \U0001F600";
    EXPECT_EQ(Strings::Utilities::Display_Width(text), 8);
    EXPECT_EQ(Strings::Transform(text, Transformers::Normalization::To_Normalization_Form_C),
              Strings::Virtual_String(u8"Gr\u00FC\u00DFe \U0001F600"));
    EXPECT_EQ(Characters::Get_General_Category(U'A'),
              Characters::General_Category::UPPERCASE_LETTER);
}

} // namespace
