// Named characters of the Specials block (U+FFF0 .. U+FFFF): the replacement character.
#pragma once

#include <qorvi/qorvi.hpp>

namespace Qorvi::Characters::Specials {

// Stands in for data that could not be decoded.
inline constexpr Virtual_Character Replacement_Character = 0xFFFD;

} // namespace Qorvi::Characters::Specials
