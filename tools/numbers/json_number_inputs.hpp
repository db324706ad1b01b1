// Test inputs for the JSON number recognizer: a reader that feeds a number's characters to a
// Parsing_State, exact decimal expansions of doubles, a generator of hard inputs, and the
// comparison of one input with the C library's strtod / strtoll.
#pragma once

#include <cstdint>
#include <qorvi/numbers/implementation-numbers.hpp>
#include <random>
#include <string>
#include <string_view>

namespace number_tools {

// Feeds Text to State the way a JSON reader would (Reset first). Returns false when Text is
// not a number of the form -? digits (. digits)? ([eE] [+-]? digits)?; leading zeros are let
// through.
inline bool Feed(Qorvi::Implementation::Numbers::Parsing_State& State, std::string_view Text) {
    namespace N = Qorvi::Implementation::Numbers;
    const auto wide = [](char c) { return static_cast<char32_t>(static_cast<unsigned char>(c)); };
    // The character's digit test and the recognizer's digit value share one subtraction.
    const auto is_digit = [](char32_t c) { return c - U'0' <= 9; };
    N::Reset(State);
    std::size_t i = 0;
    const std::size_t n = Text.size();
    if (i < n && Text[i] == '-') {
        State.Minus = true;
        ++i;
    }
    std::size_t start = i;
    // The digit loops are unrolled so that the end of the text is checked once per four
    // characters; each character still goes to the recognizer on its own. They are written
    // out rather than shared through a lambda: a lambda that holds State by reference made GCC
    // keep the digit counts in memory inside the loop.
#pragma GCC unroll 4
    for (; i < n; ++i) {
        const char32_t c = wide(Text[i]);
        if (!is_digit(c)) {
            break;
        }
        N::Int_Digit(State, c);
    }
    if (i == start) {
        return false;
    }
    if (i < n && Text[i] == '.') {
        N::Decimal_Point(State);
        start = ++i;
#pragma GCC unroll 4
        for (; i < n; ++i) {
            const char32_t c = wide(Text[i]);
            if (!is_digit(c)) {
                break;
            }
            N::Frac_Digit(State, c);
        }
        if (i == start) {
            return false;
        }
    }
    if (i < n && (Text[i] == 'e' || Text[i] == 'E')) {
        ++i;
        if (i < n && (Text[i] == '+' || Text[i] == '-')) {
            State.Exponent_Minus = Text[i] == '-';
            ++i;
        }
        start = i;
        for (; i < n; ++i) {
            const char32_t c = wide(Text[i]);
            if (!is_digit(c)) {
                break;
            }
            N::Exp_Digit(State, c);
        }
        if (i == start) {
            return false;
        }
    }
    return i == n;
}

// An exact decimal: Digits (no leading or trailing zeros; empty for zero) times 10**Exponent.
struct Decimal {
    std::string Digits;
    int Exponent = 0;
};

// The exact decimal value of Mantissa * 2**Binary_Exponent (Binary_Exponent -1100 .. 1100).
Decimal Exact_Decimal(std::uint64_t Mantissa, int Binary_Exponent);

// The exact decimal of the point halfway between the finite double D >= 0 and the next double
// up (for the largest double: the boundary beyond which values round to infinity).
Decimal Halfway_Decimal(double D);

// Writes Digits * 10**Exponent as JSON number text in one of several layouts chosen by Rng:
// scientific, positional with leading or trailing zeros, fraction digits compensated by the
// exponent, exponents with a sign and leading zeros. The text always has a point or an
// exponent.
std::string Format(const Decimal& Value, bool Minus, std::mt19937_64& Rng);

enum class Input_Kind { HALFWAY, EXACT_DOUBLE, RANDOM_DIGITS, LIMITS, ZERO, INTEGER, COUNT };

const char* Kind_Name(Input_Kind Kind);

// Hard inputs, reproducible from a seed.
class Hard_Inputs {
public:
    explicit Hard_Inputs(std::uint64_t Seed) : rng_(Seed) {}
    // The next input text; Kind tells which family it came from.
    std::string Next(Input_Kind& Kind);

private:
    std::string halfway_variant(const Decimal& value, bool minus);
    double random_double();
    std::mt19937_64 rng_;
};

// The outcome of comparing one input with the C library.
struct Check_Result {
    bool Agrees = false;
    Qorvi::Implementation::Numbers::Classified_Number Ours;
    std::string Detail; // filled when not Agrees
};

// Feeds Text through the recognizer and compares: for a text with a point or an exponent,
// JSON_FLOAT must be bit-identical to strtod (sign of zero included) and OUT_OF_RANGE must be
// where strtod overflows to infinity; for an integer text, the result must match strtoll
// (JSON_INTEGER with its value, or OUT_OF_RANGE where strtoll reports ERANGE).
Check_Result Check_Against_C_Library(const std::string& Text);

} // namespace number_tools
