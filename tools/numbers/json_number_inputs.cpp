#include "json_number_inputs.hpp"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace number_tools {

namespace {

namespace N = Qorvi::Implementation::Numbers;

// Unsigned integers in base 10**9, least significant first (independent of the library's big
// integer, so that the two cannot share a mistake).
using Big10 = std::vector<std::uint32_t>;
constexpr std::uint64_t big10_base = 1'000'000'000;

void multiply_small(Big10& n, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : n) {
        const std::uint64_t value = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(value % big10_base);
        carry = value / big10_base;
    }
    while (carry != 0) {
        n.push_back(static_cast<std::uint32_t>(carry % big10_base));
        carry /= big10_base;
    }
}

Big10 from_u64(std::uint64_t value) {
    Big10 n;
    while (value != 0) {
        n.push_back(static_cast<std::uint32_t>(value % big10_base));
        value /= big10_base;
    }
    return n;
}

Big10 multiply(const Big10& a, const Big10& b) {
    if (a.empty() || b.empty()) {
        return {};
    }
    Big10 result(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.size(); ++j) {
            const std::uint64_t value = std::uint64_t{a[i]} * b[j] + result[i + j] + carry;
            result[i + j] = static_cast<std::uint32_t>(value % big10_base);
            carry = value / big10_base;
        }
        for (std::size_t k = i + b.size(); carry != 0; ++k) {
            const std::uint64_t value = result[k] + carry;
            result[k] = static_cast<std::uint32_t>(value % big10_base);
            carry = value / big10_base;
        }
    }
    while (!result.empty() && result.back() == 0) {
        result.pop_back();
    }
    return result;
}

std::string to_string(const Big10& n) {
    if (n.empty()) {
        return "";
    }
    std::string text = std::to_string(n.back());
    char group[16];
    for (std::size_t i = n.size() - 1; i-- > 0;) {
        std::snprintf(group, sizeof group, "%09u", static_cast<unsigned>(n[i]));
        text += group;
    }
    return text;
}

// powers[k] = base**k for k = 0 .. 1100.
std::vector<Big10> make_powers(std::uint32_t base) {
    std::vector<Big10> powers;
    Big10 value{1};
    for (int k = 0; k <= 1100; ++k) {
        powers.push_back(value);
        multiply_small(value, base);
    }
    return powers;
}

const std::vector<Big10>& powers_of(std::uint32_t base) {
    static const std::vector<Big10> fives = make_powers(5);
    static const std::vector<Big10> twos = make_powers(2);
    return base == 5 ? fives : twos;
}

Decimal strip(std::string digits, int exponent) {
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return {"", 0};
    }
    digits.erase(0, first);
    const auto last = digits.find_last_not_of('0');
    exponent += static_cast<int>(digits.size() - 1 - last);
    digits.erase(last + 1);
    return {digits, exponent};
}

std::uint64_t bits_of(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

// The digit string plus one unit in its last place.
std::string increment(std::string digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return digits;
}

const char* kind_text(N::JSON_Number_Kind kind) {
    switch (kind) {
    case N::JSON_Number_Kind::NONE:
        return "NONE";
    case N::JSON_Number_Kind::JSON_INTEGER:
        return "JSON_INTEGER";
    case N::JSON_Number_Kind::JSON_FLOAT:
        return "JSON_FLOAT";
    case N::JSON_Number_Kind::OUT_OF_RANGE:
        return "OUT_OF_RANGE";
    }
    return "?";
}

} // namespace

Decimal Exact_Decimal(std::uint64_t Mantissa, int Binary_Exponent) {
    const Big10 m = from_u64(Mantissa);
    if (Binary_Exponent >= 0) {
        return strip(
            to_string(multiply(m, powers_of(2).at(static_cast<std::size_t>(Binary_Exponent)))), 0);
    }
    return strip(
        to_string(multiply(m, powers_of(5).at(static_cast<std::size_t>(-Binary_Exponent)))),
        Binary_Exponent);
}

Decimal Halfway_Decimal(double D) {
    const std::uint64_t bits = bits_of(D);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t mantissa = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int exponent = (biased == 0 ? 1 : biased) - 1075;
    return Exact_Decimal(2 * mantissa + 1, exponent - 1);
}

std::string Format(const Decimal& Value, bool Minus, std::mt19937_64& Rng) {
    const auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(Rng);
    };
    const auto exponent_text = [&](long long e) {
        std::string text(1, uniform(0, 1) == 0 ? 'e' : 'E');
        if (e < 0) {
            text += '-';
        } else if (uniform(0, 2) == 0) {
            text += '+';
        }
        const int zeros = uniform(0, 9) == 0 ? uniform(1, 25) : (uniform(0, 3) == 0 ? 1 : 0);
        text.append(static_cast<std::size_t>(zeros), '0');
        text += std::to_string(e < 0 ? -e : e);
        return text;
    };
    // Zeros after the last fraction digit change nothing but the length.
    const auto trailing_zeros = [&]() -> std::string {
        const int choice = uniform(0, 19);
        if (choice < 14) {
            return "";
        }
        return std::string(
            static_cast<std::size_t>(choice < 19 ? uniform(1, 30) : uniform(700, 900)), '0');
    };
    std::string text = Minus ? "-" : "";
    const std::string& s = Value.Digits;
    if (s.empty()) { // a zero
        switch (uniform(0, 3)) {
        case 0:
            text += "0.";
            text.append(static_cast<std::size_t>(uniform(1, 5)), '0');
            break;
        case 1:
            text += '0';
            text += exponent_text(uniform(-500, 500));
            break;
        case 2:
            text += "0.0";
            text += trailing_zeros();
            text += exponent_text(uniform(-400, 400));
            break;
        default: // exponents beyond nine digits
            text += "0.00";
            text += exponent_text((uniform(0, 1) == 0 ? -1 : 1) *
                                  (10'000'000'000LL + uniform(0, 1'000'000)));
            break;
        }
        return text;
    }
    const int length = static_cast<int>(s.size());
    const long long x = Value.Exponent;
    switch (uniform(0, 4)) {
    case 0: // positional, when the text stays of reasonable size
        if (x >= 0 && x + length <= 400) {
            text += s;
            text.append(static_cast<std::size_t>(x), '0');
            text += ".0";
            text += trailing_zeros();
            return text;
        }
        if (x < 0 && -x <= 1200) {
            const long long k = length + x;
            if (k > 0) {
                text += s.substr(0, static_cast<std::size_t>(k));
                text += '.';
                text += s.substr(static_cast<std::size_t>(k));
                text += trailing_zeros();
            } else {
                text += "0.";
                text.append(static_cast<std::size_t>(-k), '0');
                text += s;
                text += trailing_zeros();
            }
            return text;
        }
        [[fallthrough]];
    case 1: // scientific
        text += s.substr(0, 1);
        if (length > 1) {
            text += '.';
            text += s.substr(1);
            text += trailing_zeros();
        } else if (uniform(0, 1) == 0) {
            text += ".0";
        }
        text += exponent_text(x + length - 1);
        return text;
    case 2: // all digits before the exponent
        text += s;
        text += exponent_text(x);
        return text;
    case 3: { // a fraction with leading zeros, compensated by the exponent
        const int zeros = uniform(0, 4) == 0 ? uniform(100, 900) : uniform(0, 5);
        text += "0.";
        text.append(static_cast<std::size_t>(zeros), '0');
        text += s;
        text += trailing_zeros();
        text += exponent_text(x + length + zeros);
        return text;
    }
    default: { // the point anywhere, with an exponent
        const int split = uniform(1, length);
        text += s.substr(0, static_cast<std::size_t>(split));
        if (split < length) {
            text += '.';
            text += s.substr(static_cast<std::size_t>(split));
            text += trailing_zeros();
        }
        text += exponent_text(x + length - split);
        return text;
    }
    }
}

const char* Kind_Name(Input_Kind Kind) {
    switch (Kind) {
    case Input_Kind::HALFWAY:
        return "halfway points and their neighbours";
    case Input_Kind::EXACT_DOUBLE:
        return "exact and shortened doubles";
    case Input_Kind::RANDOM_DIGITS:
        return "random digits near the exponent limits";
    case Input_Kind::LIMITS:
        return "largest double, smallest subnormal, smallest normal";
    case Input_Kind::ZERO:
        return "zeros and exponents beyond nine digits";
    case Input_Kind::INTEGER:
        return "integers";
    case Input_Kind::COUNT:
        break;
    }
    return "?";
}

double Hard_Inputs::random_double() {
    const auto uniform = [&](std::uint64_t low, std::uint64_t high) {
        return std::uniform_int_distribution<std::uint64_t>(low, high)(rng_);
    };
    const std::uint64_t all_fraction = (std::uint64_t{1} << 52) - 1;
    std::uint64_t biased = 0;
    std::uint64_t fraction = 0;
    switch (uniform(0, 6)) {
    case 0: // any finite double
    case 1:
        biased = uniform(0, 2046);
        fraction = rng_() & all_fraction;
        break;
    case 2: // subnormal, of any length
        fraction = (rng_() & all_fraction) >> uniform(0, 52);
        break;
    case 3: // a power of two (including zero)
        biased = uniform(0, 2046);
        break;
    case 4: // near the largest double or the smallest normal one
        biased = uniform(0, 1) == 0 ? 2046 : uniform(0, 2);
        fraction = uniform(0, 1) == 0 ? all_fraction - uniform(0, 1000) : uniform(0, 1000);
        break;
    case 5: // moderate magnitudes: the exponents of exact ties and of the fast path
        biased = uniform(1023 - 80, 1023 + 80);
        fraction = rng_() & all_fraction;
        break;
    default: // few significant bits: short halfway decimals, exact ties
        biased = uniform(1023 - 80, 1023 + 120);
        fraction = (rng_() & all_fraction) & ~(all_fraction >> uniform(1, 52));
        break;
    }
    return std::bit_cast<double>((biased << 52) | fraction);
}

std::string Hard_Inputs::halfway_variant(const Decimal& value, bool minus) {
    const auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng_);
    };
    const auto run = [&]() {
        const int choice = uniform(0, 9);
        return choice < 7 ? uniform(0, 25) : (choice < 9 ? uniform(26, 300) : uniform(760, 830));
    };
    if (value.Digits.empty()) {
        return Format(value, minus, rng_);
    }
    Decimal v = value;
    const int length = static_cast<int>(v.Digits.size());
    switch (uniform(0, 4)) {
    case 0: // exactly on it
        break;
    case 1: { // just above: more digits, the last one non-zero
        const int zeros = run();
        v.Digits += std::string(static_cast<std::size_t>(zeros), '0') + "1";
        v.Exponent -= zeros + 1;
        break;
    }
    case 2: { // just below: the last digit one less, followed by nines
        const int nines = run();
        v.Digits.back() = static_cast<char>(v.Digits.back() - 1);
        v.Digits += std::string(static_cast<std::size_t>(nines), '9');
        v.Exponent -= nines;
        break;
    }
    case 3: { // cut short (below it)
        if (length > 1) {
            const int keep =
                uniform(0, 2) == 0 ? uniform(1, length - 1) : std::min(length - 1, uniform(15, 25));
            v.Exponent += length - keep;
            v.Digits.resize(static_cast<std::size_t>(keep));
        }
        break;
    }
    default: { // cut short and rounded up (above it)
        if (length > 1) {
            const int keep =
                uniform(0, 2) == 0 ? uniform(1, length - 1) : std::min(length - 1, uniform(15, 25));
            v.Exponent += length - keep;
            v.Digits = increment(v.Digits.substr(0, static_cast<std::size_t>(keep)));
        }
        break;
    }
    }
    return Format(strip(v.Digits, v.Exponent), minus, rng_);
}

std::string Hard_Inputs::Next(Input_Kind& Kind) {
    const auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng_);
    };
    const bool minus = uniform(0, 3) == 0;
    const int family = uniform(0, 99);
    if (family < 40) {
        Kind = Input_Kind::HALFWAY;
        return halfway_variant(Halfway_Decimal(random_double()), minus);
    }
    if (family < 52) {
        Kind = Input_Kind::EXACT_DOUBLE;
        const double d = random_double();
        if (uniform(0, 1) == 0) {
            char text[64];
            std::snprintf(text, sizeof text, "%s%.*g", minus ? "-" : "", uniform(15, 17), d);
            std::string result = text;
            if (result.find_first_of(".e") == std::string::npos) {
                result += ".0";
            }
            return result;
        }
        const auto bits = bits_of(d);
        const int biased = static_cast<int>(bits >> 52);
        const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        return halfway_variant(
            Exact_Decimal(biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52),
                          (biased == 0 ? 1 : biased) - 1075),
            minus);
    }
    if (family < 77) {
        Kind = Input_Kind::RANDOM_DIGITS;
        const int choice = uniform(0, 19);
        const int length = choice < 7    ? uniform(1, 19)
                           : choice < 14 ? uniform(17, 40)
                           : choice < 18 ? uniform(41, 780)
                                         : uniform(780, 900);
        std::string digits(static_cast<std::size_t>(length), '0');
        const int pattern = uniform(0, 4);
        const int prefix = uniform(1, 17);
        for (int i = 0; i < length; ++i) {
            char& c = digits[static_cast<std::size_t>(i)];
            if (pattern == 0 && i >= prefix) {
                c = '0'; // a long run of zeros
            } else if (pattern == 1 && i >= prefix) {
                c = '9'; // a long run of nines
            } else {
                c = static_cast<char>('0' + uniform(i == 0 ? 1 : 0, 9));
            }
        }
        if (pattern <= 1 && uniform(0, 1) == 0) {
            digits.back() = static_cast<char>('0' + uniform(1, 9));
        }
        const int region = uniform(0, 4);
        const int order = region < 3 ? uniform(-345, 312)
                                     : (region == 3 ? uniform(-330, -300) : uniform(295, 312));
        return Format(strip(digits, order - length), minus, rng_);
    }
    if (family < 87) {
        Kind = Input_Kind::LIMITS;
        static const double anchors[] = {
            0.0,
            std::numeric_limits<double>::denorm_min(),
            2 * std::numeric_limits<double>::denorm_min(),
            std::nextafter(std::numeric_limits<double>::min(), 0.0),
            std::numeric_limits<double>::min(),
            std::nextafter(std::numeric_limits<double>::max(), 0.0),
            std::numeric_limits<double>::max(),
        };
        const double anchor = anchors[uniform(0, 6)];
        if (uniform(0, 1) == 0 || anchor == 0.0) {
            return halfway_variant(Halfway_Decimal(anchor), minus);
        }
        const auto bits = bits_of(anchor);
        const int biased = static_cast<int>(bits >> 52);
        const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        return halfway_variant(
            Exact_Decimal(biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52),
                          (biased == 0 ? 1 : biased) - 1075),
            minus);
    }
    if (family < 92) {
        Kind = Input_Kind::ZERO;
        if (uniform(0, 2) == 0) { // a non-zero mantissa with an exponent of ten digits or more
            std::string text = minus ? "-" : "";
            text += std::to_string(uniform(1, 999)) + "." + std::to_string(uniform(0, 999));
            text += uniform(0, 1) == 0 ? "e-" : "e";
            text += std::string(static_cast<std::size_t>(uniform(0, 3)), '0');
            text += std::to_string(1'000'000'000LL + uniform(0, 1'000'000'000));
            return text;
        }
        return Format({}, minus, rng_);
    }
    Kind = Input_Kind::INTEGER;
    static const char* const edges[] = {
        "9223372036854775807",  "9223372036854775808",  "9223372036854775809",
        "18446744073709551615", "18446744073709551616", "9999999999999999999",
        "10000000000000000000", "1000000000000000000",  "0",
    };
    std::string text = minus ? "-" : "";
    if (uniform(0, 3) == 0) {
        text += std::string(static_cast<std::size_t>(uniform(0, 1) * uniform(1, 30)), '0');
    }
    if (uniform(0, 2) == 0) {
        text += edges[uniform(0, 8)];
    } else {
        const int length = uniform(1, 25);
        for (int i = 0; i < length; ++i) {
            text += static_cast<char>('0' + uniform(i == 0 ? 1 : 0, 9));
        }
    }
    return text;
}

Check_Result Check_Against_C_Library(const std::string& Text) {
    Check_Result result;
    N::Parsing_State state;
    if (!Feed(state, Text)) {
        result.Detail = "not a number: " + Text;
        return result;
    }
    result.Ours = N::Classify(state);
    const N::Classified_Number& ours = result.Ours;
    const bool float_syntax = Text.find_first_of(".eE") != std::string::npos;
    char* end = nullptr;
    char line[256];
    if (float_syntax) {
        errno = 0;
        const double expected = std::strtod(Text.c_str(), &end);
        if (ours.Kind == N::JSON_Number_Kind::JSON_FLOAT) {
            result.Agrees = bits_of(expected) == bits_of(ours.Float_Value);
        } else {
            result.Agrees = ours.Kind == N::JSON_Number_Kind::OUT_OF_RANGE && std::isinf(expected);
        }
        std::snprintf(line, sizeof line,
                      "ours %s %a (0x%016" PRIX64 "), strtod %a (0x%016" PRIX64 ")",
                      kind_text(ours.Kind), ours.Float_Value, bits_of(ours.Float_Value), expected,
                      bits_of(expected));
    } else {
        errno = 0;
        const long long expected = std::strtoll(Text.c_str(), &end, 10);
        if (errno == ERANGE) {
            result.Agrees = ours.Kind == N::JSON_Number_Kind::OUT_OF_RANGE;
        } else {
            result.Agrees =
                ours.Kind == N::JSON_Number_Kind::JSON_INTEGER && ours.Integer_Value == expected;
        }
        std::snprintf(line, sizeof line, "ours %s %" PRId64 ", strtoll %lld%s",
                      kind_text(ours.Kind), ours.Integer_Value, expected,
                      errno == ERANGE ? " (ERANGE)" : "");
    }
    if (!result.Agrees) {
        const std::string shown =
            Text.size() <= 160 ? Text : Text.substr(0, 80) + "..." + Text.substr(Text.size() - 60);
        result.Detail = shown + " (" + std::to_string(Text.size()) + " characters): " + line;
    }
    return result;
}

} // namespace number_tools
