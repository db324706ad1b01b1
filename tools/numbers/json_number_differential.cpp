// Differential check of the JSON number recognizer against the C library: generates hard
// inputs (halfway points between doubles and their neighbours, long mantissas, subnormals,
// the limits of the double range, zeros, over-long exponents, integers), classifies each one
// and compares it with strtod / strtoll. Exits with 1 when any input disagrees.
//
// Usage: qorvi-json-number-differential [COUNT [SEED]]   (default 10000000 and 1)
#include "json_number_inputs.hpp"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const unsigned long long count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10'000'000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    number_tools::Hard_Inputs inputs(seed);
    constexpr auto kinds = static_cast<std::size_t>(number_tools::Input_Kind::COUNT);
    std::array<unsigned long long, kinds> per_kind{};
    std::array<unsigned long long, kinds> mismatches_per_kind{};
    unsigned long long mismatches = 0;
    unsigned long long long_inputs = 0;
    unsigned long long over_capacity = 0;
    const auto start = std::chrono::steady_clock::now();
    for (unsigned long long i = 0; i < count; ++i) {
        number_tools::Input_Kind kind{};
        const std::string text = inputs.Next(kind);
        const auto k = static_cast<std::size_t>(kind);
        ++per_kind[k];
        std::size_t digits = 0;
        for (const char c : text) {
            digits += (c >= '0' && c <= '9') ? 1 : 0;
        }
        long_inputs += digits > 19 ? 1 : 0;
        over_capacity += digits > 784 ? 1 : 0;
        const auto check = number_tools::Check_Against_C_Library(text);
        if (!check.Agrees) {
            ++mismatches;
            ++mismatches_per_kind[k];
            if (mismatches <= 20) {
                std::printf("MISMATCH #%llu: %s\n", i, check.Detail.c_str());
            }
        }
        if ((i + 1) % 1'000'000 == 0) {
            std::fprintf(stderr, "%llu inputs, %llu mismatches\n", i + 1, mismatches);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("seed %llu, %.1f s\n", seed, seconds);
    for (std::size_t k = 0; k < kinds; ++k) {
        std::printf("  %-55s %12llu inputs, %llu mismatches\n",
                    number_tools::Kind_Name(static_cast<number_tools::Input_Kind>(k)), per_kind[k],
                    mismatches_per_kind[k]);
    }
    std::printf("  with more than 19 digits: %llu; with more than 784 digits: %llu\n", long_inputs,
                over_capacity);
    std::printf("inputs checked: %llu, mismatches: %llu\n", count, mismatches);
    return mismatches == 0 ? 0 : 1;
}
