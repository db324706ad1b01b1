// Writes the table of 128-bit powers of five used by the Eisel-Lemire conversion, computed
// exactly with a small big-integer type of its own.
//
// Entry q + 342 for q = -342 .. 308:
// - q >= 0: 5**q shifted so that its top bit is bit 127, low bits truncated;
// - -27 <= q < 0: with z the bit length of 5**-q, floor(2**(z + 127) / 5**-q) + 1, which is
//   1 / 5**-q scaled to 128 bits and rounded up;
// - q < -27: floor(2**(2z + 128) / 5**-q) + 1, then halved until it fits in 128 bits.
//
// Usage: generate_powers_of_five OUTPUT.cpp
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Unsigned integer, 32-bit words, least significant first, no leading zero words.
using Number = std::vector<std::uint32_t>;

void trim(Number& n) {
    while (!n.empty() && n.back() == 0) {
        n.pop_back();
    }
}

void multiply_small(Number& n, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& word : n) {
        const std::uint64_t product = std::uint64_t{word} * factor + carry;
        word = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) {
        n.push_back(static_cast<std::uint32_t>(carry));
    }
}

int bit_length(const Number& n) {
    if (n.empty()) {
        return 0;
    }
    int bits = static_cast<int>(n.size() - 1) * 32;
    for (std::uint32_t top = n.back(); top != 0; top >>= 1) {
        ++bits;
    }
    return bits;
}

bool bit(const Number& n, int i) {
    const auto word = static_cast<std::size_t>(i / 32);
    return word < n.size() && ((n[word] >> (i % 32)) & 1) != 0;
}

void set_bit(Number& n, int i) {
    const auto word = static_cast<std::size_t>(i / 32);
    if (n.size() <= word) {
        n.resize(word + 1, 0);
    }
    n[word] |= std::uint32_t{1} << (i % 32);
}

int compare(const Number& a, const Number& b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i]) {
            return a[i] < b[i] ? -1 : 1;
        }
    }
    return 0;
}

void subtract(Number& a, const Number& b) { // a >= b
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::int64_t value = std::int64_t{a[i]} - borrow - (i < b.size() ? std::int64_t{b[i]} : 0);
        borrow = value < 0 ? 1 : 0;
        a[i] = static_cast<std::uint32_t>(value + (borrow << 32));
    }
    trim(a);
}

void shift_left_one(Number& n, bool low_bit) {
    std::uint32_t carry = low_bit ? 1 : 0;
    for (auto& word : n) {
        const std::uint32_t next = word >> 31;
        word = (word << 1) | carry;
        carry = next;
    }
    if (carry != 0) {
        n.push_back(carry);
    }
}

void shift_right(Number& n, int count) {
    Number result;
    const int bits = bit_length(n);
    for (int i = count; i < bits; ++i) {
        if (bit(n, i)) {
            set_bit(result, i - count);
        }
    }
    n = result;
}

void shift_left(Number& n, int count) {
    Number result;
    const int bits = bit_length(n);
    for (int i = 0; i < bits; ++i) {
        if (bit(n, i)) {
            set_bit(result, i + count);
        }
    }
    n = result;
}

// floor(2**exponent / divisor), by binary long division.
Number divide_power_of_two(int exponent, const Number& divisor) {
    Number quotient;
    Number remainder;
    for (int i = exponent; i >= 0; --i) {
        shift_left_one(remainder, i == exponent);
        if (compare(remainder, divisor) >= 0) {
            subtract(remainder, divisor);
            set_bit(quotient, i);
        }
    }
    return quotient;
}

void add_one(Number& n) {
    for (auto& word : n) {
        if (++word != 0) {
            return;
        }
    }
    n.push_back(1);
}

Number power_of_five(int q) {
    Number n{1};
    for (int i = 0; i < q; ++i) {
        multiply_small(n, 5);
    }
    return n;
}

std::uint64_t word64(const Number& n, std::size_t index) {
    const auto low = 2 * index < n.size() ? std::uint64_t{n[2 * index]} : 0;
    const auto high = 2 * index + 1 < n.size() ? std::uint64_t{n[2 * index + 1]} : 0;
    return low | (high << 32);
}

Number entry(int q) {
    if (q >= 0) {
        Number n = power_of_five(q);
        const int bits = bit_length(n);
        if (bits < 128) {
            shift_left(n, 128 - bits);
        } else {
            shift_right(n, bits - 128);
        }
        return n;
    }
    const Number divisor = power_of_five(-q);
    const int z = bit_length(divisor);
    if (q >= -27) {
        Number c = divide_power_of_two(z + 127, divisor);
        add_one(c);
        return c;
    }
    Number c = divide_power_of_two(2 * z + 128, divisor);
    add_one(c);
    const int bits = bit_length(c);
    if (bits > 128) {
        shift_right(c, bits - 128);
    }
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: generate_powers_of_five OUTPUT.cpp\n";
        return 2;
    }
    std::ofstream out(argv[1]);
    out << "// Generated by tools/numbers/generate_powers_of_five.cpp. Do not edit.\n"
           "#include <qorvi/numbers/implementation-numbers-tables.hpp>\n\n"
           "namespace Qorvi::Implementation::Numbers::Tables {\n\n"
           "const std::array<Powers_Of_Five_Record, 651> Powers_Of_Five = {{\n";
    for (int q = -342; q <= 308; ++q) {
        const Number n = entry(q);
        if (bit_length(n) != 128) {
            std::cerr << "entry " << q << " is not normalised\n";
            return 1;
        }
        char line[96];
        std::snprintf(line, sizeof line, "    {0x%016llXU, 0x%016llXU}, // %d\n",
                      static_cast<unsigned long long>(word64(n, 1)),
                      static_cast<unsigned long long>(word64(n, 0)), q);
        out << line;
    }
    out << "}};\n\n} // namespace Qorvi::Implementation::Numbers::Tables\n";
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
