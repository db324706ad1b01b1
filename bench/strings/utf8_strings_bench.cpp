// String data throughput, with peers measured in the same run:
// - creating string data from UTF-8 bytes (one pass that validates and copies) beside memcpy of
//   the same bytes into a ready buffer and beside std::string construction (allocate and copy),
//   on ASCII text and on mixed multilingual text of about 1 MB;
// - appending one million characters one by one beside std::string appending the same UTF-8
//   bytes one character at a time.
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <string>
#include <vector>

namespace {

namespace Strings = Qorvi::Implementation::UTF8_Strings;
namespace Mutable = Qorvi::Implementation::UTF8_Strings::Mutable_Operations;

constexpr std::size_t text_size = 1 << 20;

std::string Repeat_To_Size(const std::vector<std::string>& Paragraphs) {
    std::string text;
    while (text.size() < text_size) {
        for (const std::string& paragraph : Paragraphs) {
            text += paragraph;
            text += '\n';
        }
    }
    return text;
}

const std::string& ASCII_Text() {
    static const std::string text = Repeat_To_Size({
        "The quick brown fox jumps over the lazy dog; pack my box with five dozen liquor jugs.",
        "It was the best of times, it was the worst of times, it was the age of wisdom.",
        "Sphinx of black quartz, judge my vow! 0123456789 (brackets) [and] {braces}.",
    });
    return text;
}

// Paragraphs in several scripts: Latin with accents, Greek, Cyrillic, Japanese, Chinese,
// Devanagari, Arabic, and emoji (1-, 2-, 3- and 4-unit sequences, mixed with ASCII).
const std::string& Mixed_Text() {
    static const std::string text = Repeat_To_Size({
        "Grüße aus Köln: Straße, Bäckerei, Übermut; une façade naïve, un café crème à Noël.",
        "Καλημέρα κόσμε· η γρήγορη καφέ αλεπού πηδά πάνω από τον τεμπέλη σκύλο.",
        "Съешь же ещё этих мягких французских булок да выпей чаю. Здравствуй, мир!",
        "いろはにほへと ちりぬるを わかよたれそ つねならむ。東京の天気は晴れです。",
        "你好，世界！我能吞下玻璃而不伤身体。天地玄黄，宇宙洪荒。",
        "नमस्ते दुनिया, मैं काँच खा सकता हूँ और मुझे उससे कोई चोट नहीं पहुंचती।",
        "مرحبا بالعالم، أنا قادر على أكل الزجاج و هذا لا يؤلمني.",
        "Emoji 😀 🎉 👍🏽 🚀 and text: done ✅ 10/10 ⭐⭐⭐.",
    });
    return text;
}

void Set_Throughput(benchmark::State& State, std::size_t Bytes) {
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) *
                            static_cast<std::int64_t>(Bytes));
}

void From_UTF_8_String(benchmark::State& State, const std::string& Text) {
    for (auto _ : State) {
        Strings::UTF8_String_Data data;
        const bool valid = Strings::From_UTF_8_String(data, Text);
        benchmark::DoNotOptimize(valid);
        benchmark::DoNotOptimize(data.Storage_Address);
        benchmark::ClobberMemory();
        Strings::Unreference(data);
    }
    Set_Throughput(State, Text.size());
}

void Memcpy(benchmark::State& State, const std::string& Text) {
    const auto buffer = std::make_unique_for_overwrite<char[]>(Text.size() + 1);
    for (auto _ : State) {
        std::memcpy(buffer.get(), Text.data(), Text.size());
        benchmark::DoNotOptimize(buffer.get());
        benchmark::ClobberMemory();
    }
    Set_Throughput(State, Text.size());
}

void String_Copy(benchmark::State& State, const std::string& Text) {
    for (auto _ : State) {
        std::string copy(Text.data(), Text.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    Set_Throughput(State, Text.size());
}

void BM_From_UTF_8_String_ASCII(benchmark::State& State) {
    From_UTF_8_String(State, ASCII_Text());
}
void BM_Memcpy_ASCII(benchmark::State& State) {
    Memcpy(State, ASCII_Text());
}
void BM_String_Copy_ASCII(benchmark::State& State) {
    String_Copy(State, ASCII_Text());
}
void BM_From_UTF_8_String_Mixed(benchmark::State& State) {
    From_UTF_8_String(State, Mixed_Text());
}
void BM_Memcpy_Mixed(benchmark::State& State) {
    Memcpy(State, Mixed_Text());
}
void BM_String_Copy_Mixed(benchmark::State& State) {
    String_Copy(State, Mixed_Text());
}

BENCHMARK(BM_From_UTF_8_String_ASCII);
BENCHMARK(BM_Memcpy_ASCII);
BENCHMARK(BM_String_Copy_ASCII);
BENCHMARK(BM_From_UTF_8_String_Mixed);
BENCHMARK(BM_Memcpy_Mixed);
BENCHMARK(BM_String_Copy_Mixed);

// One million characters taken from the mixed text (so about a third are multi-unit), as code
// points for the string data and as their UTF-8 bytes for std::string.
struct Characters {
    std::vector<char32_t> codes;
    std::vector<std::uint8_t> lengths;
    std::string utf8;
};

const Characters& Million_Characters() {
    static const Characters characters = [] {
        Characters result;
        const std::string& text = Mixed_Text();
        Strings::UTF8_String_Data data;
        if (!Strings::From_UTF_8_String(data, text)) {
            std::abort();
        }
        Qorvi::Implementation::Strings::Cursor position;
        Strings::Before_First_Character(data, position);
        while (result.codes.size() < 1'000'000) {
            char32_t code;
            if (!Strings::Forward_Element(data, position, code)) {
                Strings::Before_First_Character(data, position);
                continue;
            }
            const std::size_t start = static_cast<std::size_t>(position.UTF8_Offset);
            result.codes.push_back(code);
            const auto length = Qorvi::Implementation::UTF8_Encoding::Encoded_Length(code);
            result.lengths.push_back(static_cast<std::uint8_t>(length));
            result.utf8.append(text, start, static_cast<std::size_t>(length));
        }
        Strings::Unreference(data);
        return result;
    }();
    return characters;
}

void BM_Append_Characters(benchmark::State& State) {
    const Characters& characters = Million_Characters();
    for (auto _ : State) {
        Strings::UTF8_String_Data data;
        for (const char32_t code : characters.codes) {
            Mutable::Append(data, code);
        }
        benchmark::DoNotOptimize(data.Storage_Address);
        benchmark::ClobberMemory();
        Strings::Unreference(data);
    }
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations()) * 1'000'000);
    State.counters["bytes"] = static_cast<double>(characters.utf8.size());
}

void BM_Append_Characters_With_Extent(benchmark::State& State) {
    const Characters& characters = Million_Characters();
    for (auto _ : State) {
        Strings::UTF8_String_Data data;
        Qorvi::Implementation::Strings::Cursor_Offset extent;
        for (const char32_t code : characters.codes) {
            Mutable::Append(data, code, extent);
        }
        benchmark::DoNotOptimize(extent);
        benchmark::DoNotOptimize(data.Storage_Address);
        benchmark::ClobberMemory();
        Strings::Unreference(data);
    }
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations()) * 1'000'000);
}

void BM_String_Append_UTF8_Bytes(benchmark::State& State) {
    const Characters& characters = Million_Characters();
    for (auto _ : State) {
        std::string text;
        const char* bytes = characters.utf8.data();
        for (const std::uint8_t length : characters.lengths) {
            text.append(bytes, length);
            bytes += length;
        }
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations()) * 1'000'000);
}

BENCHMARK(BM_Append_Characters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Append_Characters_With_Extent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_String_Append_UTF8_Bytes)->Unit(benchmark::kMillisecond);

} // namespace
