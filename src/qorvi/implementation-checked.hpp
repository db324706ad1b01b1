// Checked integer arithmetic for sizes, counts, indices and offsets. A result outside the
// range of its type, or outside the range a caller states, throws Constraint_Error; nothing
// ever wraps.
#pragma once

#include <concepts>
#include <qorvi/qorvi.hpp>

namespace Qorvi::Implementation::Checked {

[[noreturn]] QORVI_API void Raise_Overflow();
[[noreturn]] QORVI_API void Raise_Range(const char* what);

template <std::integral T>
constexpr T Add(T left, T right) {
    T result;
    if (__builtin_add_overflow(left, right, &result)) {
        Raise_Overflow();
    }
    return result;
}

template <std::integral T>
constexpr T Subtract(T left, T right) {
    T result;
    if (__builtin_sub_overflow(left, right, &result)) {
        Raise_Overflow();
    }
    return result;
}

template <std::integral T>
constexpr T Multiply(T left, T right) {
    T result;
    if (__builtin_mul_overflow(left, right, &result)) {
        Raise_Overflow();
    }
    return result;
}

// Returns value when first <= value <= last, throws Constraint_Error otherwise.
template <std::integral T>
constexpr T In_Range(T value, T first, T last, const char* what = "value out of range") {
    if (value < first || value > last) {
        Raise_Range(what);
    }
    return value;
}

} // namespace Qorvi::Implementation::Checked
