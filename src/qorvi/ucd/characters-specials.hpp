// Named characters of the Specials block.
#pragma once

#include <qorvi/qorvi.hpp>

namespace Qorvi::Characters::Specials {

// Stands in for data that could not be decoded.
inline constexpr Virtual_Character Replacement_Character = 0xFFFD;

} // namespace Qorvi::Characters::Specials
