// Copying and hashing Virtual_String values, beside std::string and a plain FNV-1a loop.
#include <benchmark/benchmark.h>
#include <cstdint>
#include <qorvi/strings/strings.hpp>
#include <string>

namespace {

using Qorvi::Strings::Virtual_String;

std::string text_of(std::size_t size) {
    std::string text;
    while (text.size() < size) {
        text += "Grüße, мир! ";
    }
    // Cut at a character boundary at or below size.
    std::size_t end = size;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    text.resize(end);
    return text;
}

void Copy_Virtual_String(benchmark::State& state) {
    const Virtual_String source(text_of(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        Virtual_String copy = source;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(Copy_Virtual_String)->Arg(12)->Arg(1024)->Arg(1 << 20);

void Copy_Std_String(benchmark::State& state) {
    const std::string source = text_of(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string copy = source;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(Copy_Std_String)->Arg(12)->Arg(1024)->Arg(1 << 20);

void Hash_Virtual_String(benchmark::State& state) {
    const std::string text = text_of(static_cast<std::size_t>(state.range(0)));
    const Virtual_String source(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(source.Hash());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(Hash_Virtual_String)->Arg(1024)->Arg(1 << 20);

// The peer: FNV-1a over the UTF-8 bytes themselves (one multiply per byte), the usual way of
// hashing a byte string. The string hash feeds four bytes per character instead, so that equal
// texts hash alike whatever their encoding.
void Hash_Plain_FNV1a_Bytes(benchmark::State& state) {
    const std::string text = text_of(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::uint64_t hash = 0xCBF29CE484222325u;
        for (const char unit : text) {
            hash = (hash ^ static_cast<unsigned char>(unit)) * 0x100000001B3u;
        }
        benchmark::DoNotOptimize(hash);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(Hash_Plain_FNV1a_Bytes)->Arg(1024)->Arg(1 << 20);

} // namespace
