// Decoding throughput: this library's decoders against glibc's iconv (and ICU's converters
// where available), all converting the same byte files to UTF-8. Ours build a new string for
// each run (a multi-megabyte one, so fresh pages from the system are part of the cost, or one
// per 64 KiB chunk); the peers write into an output buffer allocated once.
//
// The byte files are made at start-up: a text is generated in UTF-8 from a fixed seed (words of
// a language's letters, spaces, punctuation and line breaks), encoded by iconv into each
// encoding, and checked to decode back to the same text with our decoders before anything is
// timed. Throughput is counted in input bytes.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iconv.h>
#include <map>
#include <qorvi/converters/strings-converters-decoders-gb18030-indices.hpp>
#include <qorvi/converters/strings-converters-decoders-index_jis0208.hpp>
#include <qorvi/converters/strings-converters-decoders.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <random>
#include <string>
#include <vector>

#if defined(QORVI_BENCH_WITH_ICU)
#include <unicode/ucnv.h>
#endif

namespace {

namespace Decoders = Qorvi::Strings::Converters::Decoders;
using Qorvi::Strings::Virtual_String;

constexpr std::size_t Text_Size = 4 << 20; // bytes of UTF-8 per generated text

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "converters_bench: %s\n", message.c_str());
    std::exit(1);
}

void Put_UTF8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A text of words drawn from Letters, separated by Separators, with a line break now and then.
std::string Generate(const std::vector<char32_t>& Letters, const std::u32string& Separators,
                     int Min_Word, int Max_Word, unsigned Seed) {
    std::mt19937 random(Seed);
    std::string text;
    while (text.size() < Text_Size) {
        const int length =
            Min_Word + static_cast<int>(random() % unsigned(Max_Word - Min_Word + 1));
        for (int i = 0; i < length; ++i) {
            Put_UTF8(text, Letters[random() % Letters.size()]);
        }
        Put_UTF8(text, random() % 12 == 0 ? U'\n' : Separators[random() % Separators.size()]);
    }
    return text;
}

std::vector<char32_t> Range(char32_t first, char32_t last) {
    std::vector<char32_t> result;
    for (char32_t c = first; c <= last; ++c) {
        result.push_back(c);
    }
    return result;
}

std::vector<char32_t> Join(std::vector<std::vector<char32_t>> parts) {
    std::vector<char32_t> result;
    for (const auto& part : parts) {
        result.insert(result.end(), part.begin(), part.end());
    }
    return result;
}

// Kana and the level-1 kanji of JIS X 0208 (rows 4, 5 and 16 .. 47), which every Japanese
// converter maps alike.
std::vector<char32_t> Japanese_Letters() {
    std::vector<char32_t> result;
    const auto add_rows = [&](unsigned first_row, unsigned last_row, unsigned weight) {
        for (unsigned pointer = (first_row - 1) * 94; pointer < last_row * 94; ++pointer) {
            if (const char32_t c = Decoders::Index_JIS0208::Table[pointer]; c != 0) {
                result.insert(result.end(), weight, c);
            }
        }
    };
    add_rows(4, 4, 8); // hiragana, the most frequent
    add_rows(5, 5, 2); // katakana
    add_rows(16, 47, 1);
    return result;
}

// The GB2312 level-1 hanzi (leads 0xB0 .. 0xD7) and a few four-byte GB18030 characters.
std::vector<char32_t> Chinese_Letters() {
    std::vector<char32_t> result;
    for (unsigned lead = 0xB0; lead <= 0xD7; ++lead) {
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            result.push_back(Decoders::GB18030::Indices::Table[(lead - 0x81) * 190 + trail - 0x41]);
        }
    }
    for (char32_t c : {U'\U0001F600', U'\u00E9', U'\u0432'}) {
        result.push_back(c); // four bytes in GB18030
    }
    return result;
}

std::string Iconv_Encode(const std::string& utf8, const char* encoding) {
    iconv_t cd = iconv_open(encoding, "UTF-8");
    if (cd == iconv_t(-1)) {
        Fail(std::string("iconv does not know ") + encoding);
    }
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t in_left = utf8.size();
    char* o = out.data();
    std::size_t out_left = out.size();
    if (iconv(cd, &in, &in_left, &o, &out_left) == std::size_t(-1)) {
        Fail(std::string("iconv cannot encode the text as ") + encoding);
    }
    iconv_close(cd);
    out.resize(out.size() - out_left);
    return out;
}

struct Data_Set {
    std::string Label;      // our label
    const char* Iconv_Name; // iconv's name
    const char* ICU_Name;   // ICU's name
    std::string Text;       // the text in UTF-8
    std::string Bytes;      // the same in the encoding
};

std::map<std::string, Data_Set>& Data_Sets() {
    static std::map<std::string, Data_Set> sets = [] {
        const std::u32string latin_separators = U"    ,.";
        const std::u32string cjk_separators = U"\u3001\u3002\u3001 ";
        const auto english = Join({Range(U'a', U'z'), Range(U'A', U'Z'), Range(U'0', U'9')});
        const auto french = Join({Range(U'a', U'z'),
                                  Range(U'a', U'z'),
                                  Range(U'a', U'z'),
                                  {U'\u00E9', U'\u00E8', U'\u00E0', U'\u00E7', U'\u00F4'}});
        const auto russian = Join({Range(U'\u0430', U'\u044F'), {U'\u0451', U'\u0410'}});
        const auto greek = Join({Range(U'\u03B1', U'\u03C9'), {U'\u03AC', U'\u03AD', U'\u0391'}});
        const auto japanese = Japanese_Letters();
        const auto chinese = Chinese_Letters();
        std::map<std::string, Data_Set> result;
        const auto add = [&](const std::string& name, const std::string& label,
                             const char* iconv_name, const char* icu_name, std::string text) {
            Data_Set set{label, iconv_name, icu_name, std::move(text), {}};
            set.Bytes = Iconv_Encode(set.Text, iconv_name);
            result.emplace(name, std::move(set));
        };
        const std::string mixed =
            Generate(Join({english, french, russian, greek, japanese}), latin_separators, 2, 9, 5);
        add("UTF-8/ascii", "utf-8", "UTF-8", "UTF-8", Generate(english, latin_separators, 2, 9, 1));
        add("UTF-8/mixed", "utf-8", "UTF-8", "UTF-8", mixed);
        add("UTF-8/russian", "utf-8", "UTF-8", "UTF-8",
            Generate(russian, latin_separators, 2, 9, 2));
        add("UTF-8/japanese", "utf-8", "UTF-8", "UTF-8",
            Generate(japanese, cjk_separators, 2, 12, 3));
        add("ISO-8859-1/french", "latin1", "ISO-8859-1", "ISO-8859-1",
            Generate(french, latin_separators, 2, 9, 4));
        add("ISO-8859-5/russian", "iso-8859-5", "ISO-8859-5", "ISO-8859-5",
            Generate(russian, latin_separators, 2, 9, 2));
        add("ISO-8859-7/greek", "iso-8859-7", "ISO-8859-7", "ISO-8859-7",
            Generate(greek, latin_separators, 2, 9, 6));
        add("KOI8-R/russian", "koi8-r", "KOI8-R", "KOI8-R",
            Generate(russian, latin_separators, 2, 9, 2));
        add("Shift_JIS/japanese", "shift_jis", "SHIFT_JIS", "Shift_JIS",
            Generate(japanese, cjk_separators, 2, 12, 3));
        add("EUC-JP/japanese", "euc-jp", "EUC-JP", "EUC-JP",
            Generate(japanese, cjk_separators, 2, 12, 3));
        add("GB18030/chinese", "gb18030", "GB18030", "GB18030",
            Generate(chinese, cjk_separators, 1, 6, 7));
        // Every file must decode back to its text before it is timed.
        for (auto& [name, set] : result) {
            Decoders::Virtual_String_Decoder decoder;
            decoder.Initialize(Virtual_String(set.Label));
            const Virtual_String decoded = decoder.Decode(std::span(
                reinterpret_cast<const std::uint8_t*>(set.Bytes.data()), set.Bytes.size()));
            if (decoder.Has_Error() ||
                Qorvi::Strings::Conversions::To_UTF_8_String(decoded) != set.Text) {
                Fail("our decoder does not give back the text of " + name);
            }
        }
        return result;
    }();
    return sets;
}

void Qorvi_Decode(benchmark::State& state, const std::string& name) {
    const Data_Set& set = Data_Sets().at(name);
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(set.Bytes.data()),
                          set.Bytes.size());
    Decoders::Virtual_String_Decoder decoder;
    decoder.Initialize(Virtual_String(set.Label));
    for (auto _ : state) {
        Virtual_String text = decoder.Decode(bytes, true);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

// The same bytes decoded as a stream of 64 KiB chunks, each chunk's string dropped after it:
// the decoders' own speed, without the page faults of building one multi-megabyte string.
void Qorvi_Decode_Chunks(benchmark::State& state, const std::string& name) {
    const Data_Set& set = Data_Sets().at(name);
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(set.Bytes.data()),
                          set.Bytes.size());
    constexpr std::size_t chunk = 64 << 10;
    Decoders::Virtual_String_Decoder decoder;
    decoder.Initialize(Virtual_String(set.Label));
    for (auto _ : state) {
        for (std::size_t at = 0; at < bytes.size(); at += chunk) {
            const std::size_t size = std::min(chunk, bytes.size() - at);
            Virtual_String text =
                decoder.Decode(bytes.subspan(at, size), at + size == bytes.size());
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void Iconv_Decode(benchmark::State& state, const std::string& name) {
    const Data_Set& set = Data_Sets().at(name);
    iconv_t cd = iconv_open("UTF-8", set.Iconv_Name);
    std::string out(set.Text.size() + 64, '\0');
    for (auto _ : state) {
        char* in = const_cast<char*>(set.Bytes.data());
        std::size_t in_left = set.Bytes.size();
        char* o = out.data();
        std::size_t out_left = out.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in, &in_left, &o, &out_left) == std::size_t(-1)) {
            state.SkipWithError("iconv failed");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(set.Bytes.size()));
}

#if defined(QORVI_BENCH_WITH_ICU)
void ICU_Decode(benchmark::State& state, const std::string& name) {
    const Data_Set& set = Data_Sets().at(name);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* source = ucnv_open(set.ICU_Name, &status);
    UConverter* utf8 = ucnv_open("UTF-8", &status);
    if (U_FAILURE(status)) {
        state.SkipWithError("ICU has no converter");
        return;
    }
    std::string out(set.Text.size() + 64, '\0');
    std::vector<UChar> pivot(4096);
    for (auto _ : state) {
        status = U_ZERO_ERROR;
        char* target = out.data();
        const char* in = set.Bytes.data();
        UChar* pivot_source = pivot.data();
        UChar* pivot_target = pivot.data();
        ucnv_convertEx(utf8, source, &target, out.data() + out.size(), &in, in + set.Bytes.size(),
                       pivot.data(), &pivot_source, &pivot_target, pivot.data() + pivot.size(),
                       true, true, &status);
        if (U_FAILURE(status)) {
            state.SkipWithError("ICU failed");
            break;
        }
        benchmark::DoNotOptimize(target);
    }
    ucnv_close(source);
    ucnv_close(utf8);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(set.Bytes.size()));
}
#endif

const int Registered = [] {
    for (const auto& [name, set] : Data_Sets()) {
        benchmark::RegisterBenchmark(("Qorvi/" + name).c_str(), Qorvi_Decode, name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Qorvi-64KiB-chunks/" + name).c_str(), Qorvi_Decode_Chunks,
                                     name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("iconv/" + name).c_str(), Iconv_Decode, name)
            ->Unit(benchmark::kMillisecond);
#if defined(QORVI_BENCH_WITH_ICU)
        benchmark::RegisterBenchmark(("ICU/" + name).c_str(), ICU_Decode, name)
            ->Unit(benchmark::kMillisecond);
#endif
    }
    return 0;
}();

} // namespace
