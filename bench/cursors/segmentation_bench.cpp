// Grapheme cluster and word iteration over the same UTF-8 texts: this library's iterators (on
// Virtual_String), ICU's BreakIterator on a UText opened over the UTF-8 bytes, and utf8proc's
// grapheme break function (utf8proc has no word segmentation). Also the whole-string display
// width. Throughput is in bytes of text per second; the "segments" counter lets the results be
// compared (the peers implement Unicode 15.0 and differ on a few clusters, such as Indic
// conjuncts; ICU segments Chinese and Japanese words with a dictionary).
//
// Each text is a sample paragraph repeated to about 64 KiB.

#include <benchmark/benchmark.h>
#include <cstdint>
#include <memory>
#include <qorvi/cursors/strings-cursors-iterators-grapheme_clusters.hpp>
#include <qorvi/cursors/strings-cursors-iterators-words.hpp>
#include <qorvi/cursors/strings-utilities.hpp>
#include <qorvi/strings/strings.hpp>
#include <string>
#include <unicode/brkiter.h>
#include <unicode/utext.h>
#include <utf8proc.h>

namespace {

using Qorvi::Strings::Virtual_String;

struct Sample {
    const char* name;
    const char* paragraph;
};

const Sample samples[] = {
    {"English",
     "The quick brown fox jumps over the lazy dog. A grapheme cluster is what a reader takes "
     "for one character; in plain English text nearly every letter is one, and words are runs "
     "of letters, digits like 3.14 or 1,000, and contractions such as can't and won't.\r\n"},
    {"European",
     "Le c\u0153ur d\u00E9\u00E7u mais l'\u00E2me plut\u00F4t na\u00EFve, Lou\u00FFs r\u00EAva "
     "de crapa\u00FCter en cano\u00EB au del\u00E0 des \u00EEles. Zw\u00F6lf Boxk\u00E4mpfer "
     "jagen Viktor quer \u00FCber den gro\u00DFen Sylter Deich. El ping\u00FCino Wenceslao hizo "
     "kil\u00F3metros bajo exhaustiva lluvia y fr\u00EDo. Za\u017C\u00F3\u0142\u0107 "
     "g\u0119\u015Bl\u0105 ja\u017A\u0144. Ti\u1EBFng Vi\u1EC7t c\u00F3 nhi\u1EC1u d\u1EA5u. "},
    {"Russian",
     "\u0421\u044A\u0435\u0448\u044C \u0436\u0435 \u0435\u0449\u0451 \u044D\u0442\u0438\u0445 "
     "\u043C\u044F\u0433\u043A\u0438\u0445 \u0444\u0440\u0430\u043D\u0446\u0443\u0437\u0441\u043A"
     "\u0438\u0445 \u0431\u0443\u043B\u043E\u043A, \u0434\u0430 \u0432\u044B\u043F\u0435\u0439 "
     "\u0447\u0430\u044E. \u0428\u0438\u0440\u043E\u043A\u0430\u044F \u044D\u043B\u0435\u043A"
     "\u0442\u0440\u0438\u0444\u0438\u043A\u0430\u0446\u0438\u044F \u044E\u0436\u043D\u044B"
     "\u0445 \u0433\u0443\u0431\u0435\u0440\u043D\u0438\u0439 \u0434\u0430\u0441\u0442 "
     "\u043C\u043E\u0449\u043D\u044B\u0439 \u0442\u043E\u043B\u0447\u043E\u043A. "},
    {"Japanese",
     "\u3044\u308D\u306F\u306B\u307B\u3078\u3068 \u3061\u308A\u306C\u308B\u3092 \u308F\u304B"
     "\u3088\u305F\u308C\u305D \u3064\u306D\u306A\u3089\u3080\u3002\u65E5\u672C\u8A9E\u306E"
     "\u6587\u7AE0\u306B\u306F\u6F22\u5B57\u3068\u5E73\u4EEE\u540D\u3068\u30AB\u30BF\u30AB\u30CA"
     "\u304C\u6DF7\u3056\u3063\u3066\u3044\u307E\u3059\u3002\u30AC\u30AE\u30B0\u30B2\u30B4\u3001"
     "\u30D1\u30D4\u30D7\u30DA\u30DD\u3002"},
    {"Chinese",
     "\u654F\u6377\u7684\u68D5\u8272\u72D0\u72F8\u8DF3\u8FC7\u4E86\u90A3\u53EA\u61D2\u72D7\u3002"
     "\u7EDF\u4E00\u7801\u6807\u51C6\u5316\u5BF9\u4E2D\u6587\u6587\u672C\u51E0\u4E4E\u6CA1\u6709"
     "\u5F71\u54CD\uFF0C\u6C49\u5B57\u4FDD\u6301\u4E0D\u53D8\u3002\u4ECA\u5929\u5929\u6C14\u5F88"
     "\u597D\uFF0C\u6211\u4EEC\u53BB\u516C\u56ED\u6563\u6B65\u5427\u3002"},
    {"Hindi",
     // Conjuncts with virama (k+ss, s+r, t+r, n+d, r+v, sh+r, st) and nukta forms.
     "\u0915\u094D\u0937\u0924\u094D\u0930\u093F\u092F \u0930\u093E\u0937\u094D\u091F\u094D\u0930 "
     "\u0915\u0947 \u0938\u0930\u094D\u0935\u0936\u094D\u0930\u0947\u0937\u094D\u0920 "
     "\u0935\u093F\u0926\u094D\u0935\u093E\u0928 \u0936\u094D\u0930\u0940\u0930\u093E\u092E "
     "\u0928\u0947 \u0939\u093F\u0928\u094D\u0926\u0940 \u092E\u0947\u0902 \u0938\u094D\u0935"
     "\u0924\u0902\u0924\u094D\u0930 \u0917\u094D\u0930\u0902\u0925 \u0932\u093F\u0916\u093E\u0964 "
     "\u0915\u093C\u0932\u092E \u0914\u0930 \u095E\u093F\u0932\u094D\u092E \u0926\u094B\u0928"
     "\u094B\u0902 \u092A\u094D\u0930\u0938\u093F\u0926\u094D\u0927 \u0939\u0948\u0902\u0964 "},
    {"Emoji",
     "\U0001F44D\U0001F3FD Great job! \U0001F389\U0001F389 \U0001F468\u200D\U0001F469\u200D"
     "\U0001F467\u200D\U0001F466 family \u2764\uFE0F \U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA "
     "\U0001F600\U0001F603\U0001F604\U0001F601 \u2728\U0001F525 \U0001F3F4\U000E0067\U000E0062"
     "\U000E0073\U000E0063\U000E0074\U000E007F 1\uFE0F\u20E3 \U0001F469\U0001F3FD\u200D\U0001F4BB"
     " \U0001F63A\U0001F431 "},
};

std::string repeated(const char* paragraph) {
    std::string text;
    while (text.size() < 64 * 1024) {
        text += paragraph;
    }
    return text;
}

const std::string& text_of(int index) {
    static std::string texts[std::size(samples)];
    std::string& text = texts[index];
    if (text.empty()) {
        text = repeated(samples[index].paragraph);
    }
    return text;
}

void finish(benchmark::State& state, const std::string& text, std::int64_t segments) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["segments"] = static_cast<double>(segments);
}

void BM_Qorvi_Graphemes(benchmark::State& state, int index) {
    const std::string& text = text_of(index);
    const Virtual_String s(text);
    std::int64_t segments = 0;
    for (auto _ : state) {
        segments = 0;
        for (auto it = Qorvi::Strings::Before_First_Grapheme_Cluster(s); it.Forward();) {
            segments += 1;
        }
        benchmark::DoNotOptimize(segments);
    }
    finish(state, text, segments);
}

void BM_Qorvi_Words(benchmark::State& state, int index) {
    const std::string& text = text_of(index);
    const Virtual_String s(text);
    std::int64_t segments = 0;
    for (auto _ : state) {
        segments = 0;
        for (auto it = Qorvi::Strings::Before_First_Word(s); it.Forward();) {
            segments += 1;
        }
        benchmark::DoNotOptimize(segments);
    }
    finish(state, text, segments);
}

void BM_Qorvi_Display_Width(benchmark::State& state, int index) {
    const std::string& text = text_of(index);
    const Virtual_String s(text);
    std::int64_t width = 0;
    for (auto _ : state) {
        width = Qorvi::Strings::Utilities::Display_Width(s);
        benchmark::DoNotOptimize(width);
    }
    finish(state, text, width);
}

// ICU: a BreakIterator set on a UText over the UTF-8 bytes (no conversion to UTF-16).
void icu_breaks(benchmark::State& state, int index, bool words) {
    const std::string& text = text_of(index);
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    std::unique_ptr<icu::BreakIterator> iterator(
        words ? icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status)
              : icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) {
        state.SkipWithError("ICU failed to set up");
        utext_close(utext);
        return;
    }
    std::int64_t segments = 0;
    for (auto _ : state) {
        iterator->setText(utext, status);
        segments = 0;
        for (std::int32_t at = iterator->next(); at != icu::BreakIterator::DONE;
             at = iterator->next()) {
            segments += 1;
        }
        benchmark::DoNotOptimize(segments);
    }
    utext_close(utext);
    finish(state, text, segments);
}

void BM_ICU_Graphemes(benchmark::State& state, int index) {
    icu_breaks(state, index, false);
}

void BM_ICU_Words(benchmark::State& state, int index) {
    icu_breaks(state, index, true);
}

// utf8proc: decode each code point and ask the stateful break function about each pair.
void BM_utf8proc_Graphemes(benchmark::State& state, int index) {
    const std::string& text = text_of(index);
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const auto size = static_cast<utf8proc_ssize_t>(text.size());
    std::int64_t segments = 0;
    for (auto _ : state) {
        segments = 0;
        utf8proc_int32_t previous = -1;
        utf8proc_int32_t boundary_state = 0;
        utf8proc_ssize_t at = 0;
        while (at < size) {
            utf8proc_int32_t code;
            at += utf8proc_iterate(bytes + at, size - at, &code);
            if (previous < 0 || utf8proc_grapheme_break_stateful(previous, code, &boundary_state)) {
                segments += 1;
            }
            previous = code;
        }
        benchmark::DoNotOptimize(segments);
    }
    finish(state, text, segments);
}

// Registered as Graphemes/<text>/<implementation>, so each text's figures sit together.
const bool registered = [] {
    using Function = void (*)(benchmark::State&, int);
    const struct {
        const char* group;
        const char* implementation;
        Function function;
    } benchmarks[] = {
        {"Graphemes", "Qorvi", BM_Qorvi_Graphemes},
        {"Graphemes", "ICU", BM_ICU_Graphemes},
        {"Graphemes", "utf8proc", BM_utf8proc_Graphemes},
        {"Words", "Qorvi", BM_Qorvi_Words},
        {"Words", "ICU", BM_ICU_Words},
        {"Display_Width", "Qorvi", BM_Qorvi_Display_Width},
    };
    for (const auto& b : benchmarks) {
        for (int i = 0; i < static_cast<int>(std::size(samples)); ++i) {
            const std::string name =
                std::string(b.group) + "/" + samples[i].name + "/" + b.implementation;
            benchmark::RegisterBenchmark(name.c_str(), b.function, i);
        }
    }
    return true;
}();

} // namespace
