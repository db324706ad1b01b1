// Walking 8 MB of mixed multilingual UTF-8 text: the character iterator (Forward with the
// element) beside a plain hand-written UTF-8 decoding loop over the same bytes.
#include <benchmark/benchmark.h>
#include <cstdint>
#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <string>

namespace {

// Phrases in Latin, Cyrillic, Greek, Arabic, Devanagari, CJK and emoji: one- to four-unit
// characters, in runs as real text has them.
const char* const phrases[] = {
    "The quick brown fox jumps over the lazy dog. ",
    "Voix ambigu\xC3\xAB d'un c\xC5\x93ur qui au z\xC3\xA9phyr pr\xC3\xA9"
    "f\xC3\xA8re les jattes "
    "de kiwis. ",
    "Zw\xC3\xB6lf Boxk\xC3\xA4mpfer jagen Viktor quer \xC3\xBC"
    "ber den gro\xC3\x9F"
    "en Sylter "
    "Deich. ",
    "\xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB6\xD0\xB5 \xD0\xB5\xD1\x89\xD1\x91 "
    "\xD1\x8D\xD1\x82\xD0\xB8\xD1\x85 \xD0\xBC\xD1\x8F\xD0\xB3\xD0\xBA\xD0\xB8\xD1\x85 "
    "\xD1\x84\xD1\x80\xD0\xB0\xD0\xBD\xD1\x86\xD1\x83\xD0\xB7\xD1\x81\xD0\xBA\xD0\xB8\xD1\x85 "
    "\xD0\xB1\xD1\x83\xD0\xBB\xD0\xBE\xD0\xBA. ",
    "\xCE\x9E\xCE\xB5\xCF\x83\xCE\xBA\xCE\xB5\xCF\x80\xCE\xAC\xCE\xB6\xCF\x89 \xCF\x84\xCE\xB7\xCE"
    "\xBD \xCF\x88\xCF\x85\xCF\x87\xCE\xBF\xCF\x86\xCE\xB8\xCF\x8C\xCF\x81\xCE\xB1. ",
    "\xD8\xB5\xD9\x90\xD9\x81 \xD8\xAE\xD9\x8E\xD9\x84\xD9\x82\xD9\x8E \xD8\xAE\xD9\x8E\xD9\x88"
    "\xD9\x92\xD8\xAF\xD9\x90. ",
    "\xE0\xA4\x8B\xE0\xA4\xB7\xE0\xA4\xBF\xE0\xA4\xAF\xE0\xA5\x8B\xE0\xA4\x82 \xE0\xA4\x95\xE0\xA5"
    "\x8B \xE0\xA4\xB8\xE0\xA4\xA4\xE0\xA4\xBE\xE0\xA4\xA8\xE0\xA5\x87. ",
    "\xE6\x88\x91\xE8\x83\xBD\xE5\x90\x9E\xE4\xB8\x8B\xE7\x8E\xBB\xE7\x92\x83\xE8\x80\x8C\xE4\xB8"
    "\x8D\xE4\xBC\xA4\xE8\xBA\xAB\xE4\xBD\x93\xE3\x80\x82",
    "\xE3\x81\x84\xE3\x82\x8D\xE3\x81\xAF\xE3\x81\xAB\xE3\x81\xBB\xE3\x81\xB8\xE3\x81\xA8 \xE3\x81"
    "\xA1\xE3\x82\x8A\xE3\x81\xAC\xE3\x82\x8B\xE3\x82\x92\xE3\x80\x82",
    "\xF0\x9F\x98\x80\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD \xF0\x9F\x8C\x8D\xF0\x9F\x9A\x80 ",
};

const std::string& sample() {
    static const std::string text = [] {
        std::string result;
        result.reserve(8u << 20);
        for (std::size_t i = 0; result.size() < (8u << 20); ++i) {
            result += phrases[(i * 7) % std::size(phrases)];
        }
        return result;
    }();
    return text;
}

// The plain loop: decode each character from its lead unit (the text is known to be valid).
void BM_HandWrittenDecodeLoop(benchmark::State& state) {
    const std::string& text = sample();
    std::int64_t characters = 0;
    for (auto _ : state) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto* const end = p + text.size();
        std::uint32_t sum = 0;
        characters = 0;
        while (p < end) {
            const std::uint32_t b = *p;
            std::uint32_t c;
            if (b < 0x80) {
                c = b;
                p += 1;
            } else if (b < 0xE0) {
                c = ((b & 0x1F) << 6) | (p[1] & 0x3Fu);
                p += 2;
            } else if (b < 0xF0) {
                c = ((b & 0x0F) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
                p += 3;
            } else {
                c = ((b & 0x07) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) |
                    (p[3] & 0x3Fu);
                p += 4;
            }
            sum += c;
            ++characters;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.SetItemsProcessed(state.iterations() * characters);
}
BENCHMARK(BM_HandWrittenDecodeLoop)->Unit(benchmark::kMillisecond);

void BM_Character_Iterator_Forward_Element(benchmark::State& state) {
    const Qorvi::Strings::Virtual_String text =
        Qorvi::Strings::Conversions::To_Virtual_String(sample());
    for (auto _ : state) {
        std::uint32_t sum = 0;
        char32_t c;
        for (auto it = text.Before_First_Character(); it.Forward(c);) {
            sum += c;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sample().size()));
    state.SetItemsProcessed(state.iterations() * text.Character_Length());
}
BENCHMARK(BM_Character_Iterator_Forward_Element)->Unit(benchmark::kMillisecond);

} // namespace
