// Clinger's fast path: W * 10**Q in one correctly rounded floating-point operation, when W and
// 10**Q are both exact doubles.
#pragma once

#include <cstdint>
#include <qorvi/numbers/implementation-numbers-tables.hpp>

namespace Qorvi::Implementation::Numbers::Clinger {

struct Conversion_Result {
    bool Success;
    double Value;
};

// Fails when W >= 2**53 or Q is outside -22 .. 22.
inline Conversion_Result Convert(std::uint64_t W, std::int32_t Q) {
    if (W >= (std::uint64_t{1} << 53) || Q < -22 || Q > 22) {
        return {false, 0.0};
    }
    const auto value = static_cast<double>(W);
    if (Q >= 0) {
        return {true, value * Tables::Exact_Powers_Of_10[static_cast<std::size_t>(Q)]};
    }
    return {true, value / Tables::Exact_Powers_Of_10[static_cast<std::size_t>(-Q)]};
}

} // namespace Qorvi::Implementation::Numbers::Clinger
