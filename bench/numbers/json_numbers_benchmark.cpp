// JSON number recognition: each number's characters fed one by one to the recognizer, then
// classified and converted, on one million numbers of three kinds; fast_float::from_chars
// and strtod parse the same texts.
#include "json_number_inputs.hpp"

#include <benchmark/benchmark.h>
#include <qorvi/numbers/implementation-numbers.hpp>

#ifdef QORVI_HAVE_FAST_FLOAT
#include <fast_float/fast_float.h>
#endif

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace N = Qorvi::Implementation::Numbers;

constexpr std::size_t count = 1'000'000;

// The texts of one kind, each followed by a zero byte (for strtod).
struct Texts {
    std::string buffer;
    std::vector<std::uint32_t> starts;
    std::vector<std::uint32_t> lengths;

    void add(const char* text, int length) {
        starts.push_back(static_cast<std::uint32_t>(buffer.size()));
        lengths.push_back(static_cast<std::uint32_t>(length));
        buffer.append(text, static_cast<std::size_t>(length));
        buffer.push_back('\0');
    }
    std::string_view at(std::size_t i) const { return {buffer.data() + starts[i], lengths[i]}; }
};

enum class Kind { COORDINATES, INTEGERS, SHORT_DECIMALS };

Texts make_texts(Kind kind) {
    std::mt19937_64 rng(static_cast<std::uint64_t>(kind) + 42);
    Texts texts;
    char text[64];
    for (std::size_t i = 0; i < count; ++i) {
        int length = 0;
        switch (kind) {
        case Kind::COORDINATES: { // latitudes and longitudes with 17 significant digits
            const double limit = i % 2 == 0 ? 90.0 : 180.0;
            const double value = std::uniform_real_distribution<double>(-limit, limit)(rng);
            length = std::snprintf(text, sizeof text, "%.17g", value);
            break;
        }
        case Kind::INTEGERS: // below 2**53
            length = std::snprintf(text, sizeof text, "%llu",
                                   static_cast<unsigned long long>(rng() >> 11));
            break;
        case Kind::SHORT_DECIMALS: { // like 12.5 or 307.25
            const auto whole = static_cast<int>(rng() % 1000);
            length = rng() % 2 == 0 ? std::snprintf(text, sizeof text, "%d.%d", whole,
                                                    static_cast<int>(rng() % 10))
                                    : std::snprintf(text, sizeof text, "%d.%02d", whole,
                                                    static_cast<int>(rng() % 100));
            break;
        }
        }
        texts.add(text, length);
    }
    return texts;
}

const Texts& texts_of(Kind kind) {
    static const Texts all[] = {make_texts(Kind::COORDINATES), make_texts(Kind::INTEGERS),
                                make_texts(Kind::SHORT_DECIMALS)};
    return all[static_cast<int>(kind)];
}

double recognize(N::Parsing_State& state, std::string_view text) {
    number_tools::Feed(state, text);
    const N::Classified_Number n = N::Classify(state);
    return n.Kind == N::JSON_Number_Kind::JSON_INTEGER ? static_cast<double>(n.Integer_Value)
                                                       : n.Float_Value;
}

// Before measuring: the recognizer agrees with strtod on every text.
void check(const Texts& texts) {
    N::Parsing_State state;
    for (std::size_t i = 0; i < count; ++i) {
        const double ours = recognize(state, texts.at(i));
        const double theirs = std::strtod(texts.buffer.data() + texts.starts[i], nullptr);
        if (std::bit_cast<std::uint64_t>(ours) != std::bit_cast<std::uint64_t>(theirs)) {
            std::fprintf(stderr, "disagreement on %s\n", std::string(texts.at(i)).c_str());
            std::abort();
        }
    }
}

void BM_Qorvi(benchmark::State& state, Kind kind) {
    const Texts& texts = texts_of(kind);
    check(texts);
    N::Parsing_State parsing;
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            sum += recognize(parsing, texts.at(i));
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}

#ifdef QORVI_HAVE_FAST_FLOAT
void BM_fast_float(benchmark::State& state, Kind kind) {
    const Texts& texts = texts_of(kind);
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string_view text = texts.at(i);
            double value = 0;
            fast_float::from_chars(text.data(), text.data() + text.size(), value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
#endif

void BM_strtod(benchmark::State& state, Kind kind) {
    const Texts& texts = texts_of(kind);
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            sum += std::strtod(texts.buffer.data() + texts.starts[i], nullptr);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}

#define QORVI_NUMBER_BENCHMARKS(kind, name)                                                        \
    BENCHMARK_CAPTURE(BM_Qorvi, name, Kind::kind)->Unit(benchmark::kMillisecond);                  \
    BENCHMARK_CAPTURE(BM_strtod, name, Kind::kind)->Unit(benchmark::kMillisecond)

QORVI_NUMBER_BENCHMARKS(COORDINATES, coordinates_17_digits);
QORVI_NUMBER_BENCHMARKS(INTEGERS, integers_below_2_53);
QORVI_NUMBER_BENCHMARKS(SHORT_DECIMALS, short_decimals);
#ifdef QORVI_HAVE_FAST_FLOAT
BENCHMARK_CAPTURE(BM_fast_float, coordinates_17_digits, Kind::COORDINATES)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fast_float, integers_below_2_53, Kind::INTEGERS)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fast_float, short_decimals, Kind::SHORT_DECIMALS)
    ->Unit(benchmark::kMillisecond);
#endif

} // namespace
