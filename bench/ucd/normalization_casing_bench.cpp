// The four normalization forms and full lower and upper case over the same UTF-8 texts, for
// this library (through the transformers, on Virtual_String), ICU (Normalizer2::normalizeUTF8,
// ucasemap_utf8ToLower / ucasemap_utf8ToUpper) and utf8proc (utf8proc_map; its case mapping is
// per code point, simple mappings only). Throughput is in bytes of source text per second.
//
// Each text is a sample paragraph repeated to about 64 KiB, in NFC; the "NFD" variants are its
// canonical decomposition. Cases: NFC of NFC text and NFD of NFD text (already normalized),
// NFKD of NFD text (already normalized but for the few compatibility characters of a text,
// such as the fullwidth comma of the Chinese one), NFD and NFKD of NFC text and NFC and NFKC
// of NFD text (work to do), lower and upper case of NFC text.

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <qorvi/strings/strings.hpp>
#include <qorvi/ucd/transformers-casing.hpp>
#include <qorvi/ucd/transformers-normalization.hpp>
#include <string>
#include <vector>

#if defined(QORVI_BENCH_ICU)
#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/ucasemap.h>
#endif
#if defined(QORVI_BENCH_UTF8PROC)
#include <utf8proc.h>
#endif

namespace {

using Qorvi::Strings::Virtual_String;

struct Sample {
    const char* name;
    const char* paragraph;
};

const Sample samples[] = {
    {"English",
     "The quick brown fox jumps over the lazy dog. Normalization leaves plain ASCII text as it "
     "is, so a well-built engine copies it in large blocks; case conversion must still look at "
     "every letter. Pack my box with five dozen liquor jugs! "},
    {"European",
     "Le c\u0153ur d\u00E9\u00E7u mais l'\u00E2me plut\u00F4t na\u00EFve, Lou\u00FFs r\u00EAva "
     "de crapa\u00FCter en cano\u00EB au del\u00E0 des \u00EEles. Zw\u00F6lf Boxk\u00E4mpfer "
     "jagen Viktor quer \u00FCber den gro\u00DFen Sylter Deich. El ping\u00FCino Wenceslao hizo "
     "kil\u00F3metros bajo exhaustiva lluvia y fr\u00EDo. Za\u017C\u00F3\u0142\u0107 "
     "g\u0119\u015Bl\u0105 ja\u017A\u0144. P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD "
     "k\u016F\u0148 \u00FAp\u011Bl \u010F\u00E1belsk\u00E9 \u00F3dy. Ti\u1EBFng Vi\u1EC7t "
     "c\u00F3 nhi\u1EC1u d\u1EA5u thanh. "},
    {"Russian",
     "\u0421\u044A\u0435\u0448\u044C \u0436\u0435 \u0435\u0449\u0451 \u044D\u0442\u0438\u0445 "
     "\u043C\u044F\u0433\u043A\u0438\u0445 \u0444\u0440\u0430\u043D\u0446\u0443\u0437\u0441\u043A"
     "\u0438\u0445 \u0431\u0443\u043B\u043E\u043A, \u0434\u0430 \u0432\u044B\u043F\u0435\u0439 "
     "\u0447\u0430\u044E. \u0428\u0438\u0440\u043E\u043A\u0430\u044F \u044D\u043B\u0435\u043A"
     "\u0442\u0440\u0438\u0444\u0438\u043A\u0430\u0446\u0438\u044F \u044E\u0436\u043D\u044B"
     "\u0445 \u0433\u0443\u0431\u0435\u0440\u043D\u0438\u0439 \u0434\u0430\u0441\u0442 "
     "\u043C\u043E\u0449\u043D\u044B\u0439 \u0442\u043E\u043B\u0447\u043E\u043A "
     "\u043F\u043E\u0434\u044A\u0451\u043C\u0443 \u0441\u0435\u043B\u044C\u0441\u043A\u043E"
     "\u0433\u043E \u0445\u043E\u0437\u044F\u0439\u0441\u0442\u0432\u0430. \u0419\u043E\u0434 "
     "\u0438 \u0451\u0436. "},
    {"Japanese",
     "\u3044\u308D\u306F\u306B\u307B\u3078\u3068 \u3061\u308A\u306C\u308B\u3092 \u308F\u304B"
     "\u3088\u305F\u308C\u305D \u3064\u306D\u306A\u3089\u3080\u3002\u65E5\u672C\u8A9E\u306E"
     "\u6587\u7AE0\u306B\u306F\u6F22\u5B57\u3068\u5E73\u4EEE\u540D\u3068\u30AB\u30BF\u30AB\u30CA"
     "\u304C\u6DF7\u3056\u3063\u3066\u3044\u307E\u3059\u3002\u30AC\u30AE\u30B0\u30B2\u30B4\u3001"
     "\u30D1\u30D4\u30D7\u30DA\u30DD\u3001\u3060\u3062\u3065\u3067\u3069\u3002"},
    {"Chinese",
     "\u654F\u6377\u7684\u68D5\u8272\u72D0\u72F8\u8DF3\u8FC7\u4E86\u90A3\u53EA\u61D2\u72D7\u3002"
     "\u7EDF\u4E00\u7801\u6807\u51C6\u5316\u5BF9\u4E2D\u6587\u6587\u672C\u51E0\u4E4E\u6CA1\u6709"
     "\u5F71\u54CD\uFF0C\u6C49\u5B57\u4FDD\u6301\u4E0D\u53D8\u3002\u4ECA\u5929\u5929\u6C14\u5F88"
     "\u597D\uFF0C\u6211\u4EEC\u53BB\u516C\u56ED\u6563\u6B65\u5427\u3002"},
    {"Hindi",
     "\u090B\u0937\u093F\u092F\u094B\u0902 \u0915\u094B \u0938\u0924\u093E\u0928\u0947 "
     "\u0935\u093E\u0932\u0947 \u0926\u0941\u0937\u094D\u091F \u0930\u093E\u0915\u094D\u0937"
     "\u0938\u094B\u0902 \u0915\u0947 \u0930\u093E\u091C\u093E \u0930\u093E\u0935\u0923 "
     "\u0915\u093E \u0938\u0930\u094D\u0935\u0928\u093E\u0936 \u0915\u0930\u0928\u0947 "
     "\u0935\u093E\u0932\u0947 \u092D\u0917\u0935\u093E\u0928 \u0936\u094D\u0930\u0940"
     "\u0930\u093E\u092E\u0964 \u0939\u093F\u0928\u094D\u0926\u0940 \u092D\u093E\u0937\u093E "
     "\u0926\u0947\u0935\u0928\u093E\u0917\u0930\u0940 \u0932\u093F\u092A\u093F \u092E\u0947"
     "\u0902 \u0932\u093F\u0916\u0940 \u091C\u093E\u0924\u0940 \u0939\u0948\u0964 \u0915\u093C"
     "\u0932\u092E \u0914\u0930 \u095E\u093F\u0932\u094D\u092E\u0964 "},
    {"Emoji",
     "\U0001F44D\U0001F3FD Great job! \U0001F389\U0001F389 \U0001F468\u200D\U0001F469\u200D"
     "\U0001F467\u200D\U0001F466 family \u2764\uFE0F \U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA "
     "\U0001F600\U0001F603\U0001F604\U0001F601 \u2728\U0001F525 caf\u00E9 \U0001F63A\U0001F431 "},
};

struct Texts {
    std::string nfc;
    std::string nfd;
};

std::string repeated(const char* paragraph) {
    std::string text;
    while (text.size() < 64 * 1024) {
        text += paragraph;
    }
    return text;
}

std::string utf8_of(const Virtual_String& item) {
    const auto& data = *Qorvi::Strings::Internals::Data_Access_Constant(item);
    return std::string(Qorvi::Implementation::UTF8_Strings::To_String_View(data));
}

Texts texts_of(const Sample& sample) {
    const Virtual_String source(repeated(sample.paragraph));
    using namespace Qorvi::Transformers::Normalization;
    return {utf8_of(To_Normalization_Form_C.Transform(source)),
            utf8_of(To_Normalization_Form_D.Transform(source))};
}

enum class Operation { NFC, NFD, NFKC, NFKD, Lower, Upper };

const Qorvi::Transformers::Abstract_Transformer& transformer_of(Operation operation) {
    using namespace Qorvi::Transformers;
    switch (operation) {
    case Operation::NFC:
        return Normalization::To_Normalization_Form_C;
    case Operation::NFD:
        return Normalization::To_Normalization_Form_D;
    case Operation::NFKC:
        return Normalization::To_Normalization_Form_KC;
    case Operation::NFKD:
        return Normalization::To_Normalization_Form_KD;
    case Operation::Lower:
        return Casing::To_Lowercase;
    case Operation::Upper:
        break;
    }
    return Casing::To_Uppercase;
}

void run_qorvi(benchmark::State& state, const std::string& text, Operation operation) {
    const Virtual_String source(text);
    const auto& transformer = transformer_of(operation);
    for (auto _ : state) {
        Virtual_String result = transformer.Transform(source);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

#if defined(QORVI_BENCH_ICU)
void run_icu(benchmark::State& state, const std::string& text, Operation operation) {
    UErrorCode error = U_ZERO_ERROR;
    const icu::Normalizer2* normalizer = nullptr;
    switch (operation) {
    case Operation::NFC:
        normalizer = icu::Normalizer2::getNFCInstance(error);
        break;
    case Operation::NFD:
        normalizer = icu::Normalizer2::getNFDInstance(error);
        break;
    case Operation::NFKC:
        normalizer = icu::Normalizer2::getNFKCInstance(error);
        break;
    case Operation::NFKD:
        normalizer = icu::Normalizer2::getNFKDInstance(error);
        break;
    default:
        break;
    }
    UCaseMap* case_map = ucasemap_open("", 0, &error);
    std::string result;
    result.reserve(text.size() * 3);
    std::vector<char> buffer(text.size() * 3 + 16);
    if (U_FAILURE(error)) {
        state.SkipWithError("ICU setup failed");
        return;
    }
    for (auto _ : state) {
        if (normalizer != nullptr) {
            result.clear();
            icu::StringByteSink<std::string> sink(&result);
            normalizer->normalizeUTF8(0, icu::StringPiece(text.data(), int32_t(text.size())), sink,
                                      nullptr, error);
            benchmark::DoNotOptimize(result.data());
        } else {
            const auto convert =
                operation == Operation::Lower ? ucasemap_utf8ToLower : ucasemap_utf8ToUpper;
            const int32_t length = convert(case_map, buffer.data(), int32_t(buffer.size()),
                                           text.data(), int32_t(text.size()), &error);
            benchmark::DoNotOptimize(length);
        }
    }
    if (U_FAILURE(error)) {
        state.SkipWithError("ICU failed");
    }
    ucasemap_close(case_map);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
#endif

#if defined(QORVI_BENCH_UTF8PROC)
void run_utf8proc(benchmark::State& state, const std::string& text, Operation operation) {
    const auto* source = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const auto size = static_cast<utf8proc_ssize_t>(text.size());
    int options = UTF8PROC_STABLE;
    switch (operation) {
    case Operation::NFC:
        options |= UTF8PROC_COMPOSE;
        break;
    case Operation::NFD:
        options |= UTF8PROC_DECOMPOSE;
        break;
    case Operation::NFKC:
        options |= UTF8PROC_COMPOSE | UTF8PROC_COMPAT;
        break;
    case Operation::NFKD:
        options |= UTF8PROC_DECOMPOSE | UTF8PROC_COMPAT;
        break;
    default:
        break;
    }
    std::vector<utf8proc_uint8_t> buffer(text.size() * 4 + 16);
    for (auto _ : state) {
        if (operation == Operation::Lower || operation == Operation::Upper) {
            // utf8proc has no whole-string case conversion: one code point at a time.
            utf8proc_ssize_t at = 0;
            utf8proc_ssize_t written = 0;
            while (at < size) {
                utf8proc_int32_t code;
                at += utf8proc_iterate(source + at, size - at, &code);
                code =
                    operation == Operation::Lower ? utf8proc_tolower(code) : utf8proc_toupper(code);
                written += utf8proc_encode_char(code, buffer.data() + written);
            }
            benchmark::DoNotOptimize(written);
        } else {
            utf8proc_uint8_t* result = nullptr;
            const utf8proc_ssize_t length =
                utf8proc_map(source, size, &result, static_cast<utf8proc_option_t>(options));
            benchmark::DoNotOptimize(length);
            std::free(result);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
#endif

struct Case {
    const char* name;
    Operation operation;
    bool from_nfd;
};

const Case cases[] = {
    {"NFC_of_NFC", Operation::NFC, false},   {"NFD_of_NFD", Operation::NFD, true},
    {"NFKD_of_NFD", Operation::NFKD, true},  {"NFD_of_NFC", Operation::NFD, false},
    {"NFKD_of_NFC", Operation::NFKD, false}, {"NFC_of_NFD", Operation::NFC, true},
    {"NFKC_of_NFD", Operation::NFKC, true},  {"Lowercase", Operation::Lower, false},
    {"Uppercase", Operation::Upper, false},
};

const bool registered = [] {
    static std::vector<Texts> texts;
    for (const Sample& sample : samples) {
        texts.push_back(texts_of(sample));
    }
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < std::size(samples); ++i) {
            const std::string& text = c.from_nfd ? texts[i].nfd : texts[i].nfc;
            const std::string name = std::string(c.name) + "/" + samples[i].name;
            const Operation operation = c.operation;
            benchmark::RegisterBenchmark(
                (name + "/qorvi").c_str(),
                [&text, operation](benchmark::State& state) { run_qorvi(state, text, operation); });
#if defined(QORVI_BENCH_ICU)
            benchmark::RegisterBenchmark(
                (name + "/icu").c_str(),
                [&text, operation](benchmark::State& state) { run_icu(state, text, operation); });
#endif
#if defined(QORVI_BENCH_UTF8PROC)
            benchmark::RegisterBenchmark((name + "/utf8proc").c_str(),
                                         [&text, operation](benchmark::State& state) {
                                             run_utf8proc(state, text, operation);
                                         });
#endif
        }
    }
    return true;
}();

} // namespace
