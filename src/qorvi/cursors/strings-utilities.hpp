// Utilities over whole strings.
#pragma once

#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings::Utilities {

// The terminal cells Item occupies: the sum over its grapheme clusters of their display width
// (Grapheme_Cluster_Iterator::Display_Width: 1 or 2 each). 0 for an empty or null string. A sum
// beyond 2**31-1 raises Constraint_Error.
QORVI_API std::int32_t Display_Width(const Virtual_String& Item);

} // namespace Qorvi::Strings::Utilities
