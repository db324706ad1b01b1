// The integer formatters the library provides (the format text is described in
// <qorvi/formatters/strings-formatters-generic_integers.hpp>):
//
//   Integers::Image (42)              a formatter for a 32-bit value (room for 32 digits)
//   Integers_64::Image ("count", n)   a named formatter for a 64-bit value (room for 64 digits)
#pragma once

#include <cstdint>
#include <qorvi/formatters/strings-formatters-generic_integers.hpp>

namespace Qorvi::Strings::Formatters {

using Integers = Generic_Integers<std::int32_t>;
using Integers_64 = Generic_Integers<std::int64_t>;

static_assert(Integers::Digit_Room == 32);
static_assert(Integers_64::Digit_Room == 64);

} // namespace Qorvi::Strings::Formatters
