// Named characters of the General Punctuation block: the line and paragraph separators and
// the bidirectional formatting characters.
#pragma once

#include <qorvi/qorvi.hpp>

namespace Qorvi::Characters::Punctuations {

inline constexpr Virtual_Character Line_Separator = 0x2028;
inline constexpr Virtual_Character Paragraph_Separator = 0x2029;
inline constexpr Virtual_Character Left_To_Right_Embedding = 0x202A;
inline constexpr Virtual_Character Right_To_Left_Embedding = 0x202B;
inline constexpr Virtual_Character Pop_Directional_Formatting = 0x202C;
inline constexpr Virtual_Character Left_To_Right_Override = 0x202D;
inline constexpr Virtual_Character Right_To_Left_Override = 0x202E;
inline constexpr Virtual_Character Left_To_Right_Isolate = 0x2066;
inline constexpr Virtual_Character Right_To_Left_Isolate = 0x2067;
inline constexpr Virtual_Character First_Strong_Isolate = 0x2068;
inline constexpr Virtual_Character Pop_Directional_Isolate = 0x2069;

} // namespace Qorvi::Characters::Punctuations
