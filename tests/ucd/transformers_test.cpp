// The transformers: the work each one does, both forms on empty, null, short and stored text,
// Transform and Starts_With on strings, the images, and that nothing is leaked.

#include <gtest/gtest.h>
#include <qorvi/strings/strings.hpp>
#include <qorvi/ucd/transformers-caseless.hpp>
#include <qorvi/ucd/transformers-casing.hpp>
#include <qorvi/ucd/transformers-normalization.hpp>
#include <qorvi/ucd/transformers.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using Qorvi::Strings::Virtual_String;
using Qorvi::Transformers::Abstract_Transformer;
using namespace Qorvi::Transformers::Casing;
using namespace Qorvi::Transformers::Normalization;
using namespace Qorvi::Transformers::Caseless;

static_assert(!std::is_copy_constructible_v<Lowercase_Transformer>);
static_assert(!std::is_move_constructible_v<Identifier_Caseless_Transformer>);
static_assert(!std::is_copy_assignable_v<Abstract_Transformer>);

const Abstract_Transformer* const all_transformers[] = {&To_Lowercase,
                                                        &To_Uppercase,
                                                        &To_Simple_Lowercase,
                                                        &To_Simple_Uppercase,
                                                        &To_Normalization_Form_D,
                                                        &To_Normalization_Form_C,
                                                        &To_Normalization_Form_KD,
                                                        &To_Normalization_Form_KC,
                                                        &To_Identifier_Caseless};

Virtual_String text(std::u32string_view code_points) {
    return Virtual_String(code_points);
}

// First in the file, so that the threads are the first users of the transformers: the tables
// the engines derive on first use are made while several threads ask for them at once.
TEST(Transformers_Threads, SharedConstantsServeManyThreads) {
    const Virtual_String source(
        U"Gr\u00FC\u00DFe, \u0391\u0398\u0397\u039D\u0391\u03A3! \u212B e\u0301 \uFB01 "
        U"\u30AC\u3099 \u1100\u1161\u11A8 \u0915\u093C \u4E2D\u6587 \U0001F600");
    constexpr std::size_t count = std::size(all_transformers);
    struct Thread_Results {
        std::vector<Virtual_String> first; // the first round's result of each transformer
        int differences = 0;               // later rounds that gave something else
    };
    std::vector<Thread_Results> results(4);
    std::vector<std::thread> threads;
    for (Thread_Results& mine : results) {
        threads.emplace_back([&source, &mine] {
            for (int round = 0; round < 50; ++round) {
                for (std::size_t i = 0; i < count; ++i) {
                    Virtual_String result = Transform(source, *all_transformers[i]);
                    if (round == 0) {
                        mine.first.push_back(std::move(result));
                    } else if (!(result == mine.first[i])) {
                        ++mine.differences;
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const Thread_Results& mine : results) {
        EXPECT_EQ(mine.differences, 0);
        ASSERT_EQ(mine.first.size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(mine.first[i], Transform(source, *all_transformers[i]))
                << *all_transformers[i];
        }
    }
    EXPECT_EQ(Transform(source, To_Identifier_Caseless),
              Virtual_String(U"gr\u00FCsse, \u03B1\u03B8\u03B7\u03BD\u03B1\u03C3! "
                             U"\u00E5 \u00E9 fi \u30AC\u3099 \uAC01 \u0915\u093C \u4E2D\u6587 "
                             U"\U0001F600"));
}

TEST(Transformers, WorkDone) {
    const struct {
        const Abstract_Transformer& transformer;
        std::u32string source;
        std::u32string expected;
    } cases[] = {
        {To_Lowercase, U"A\u03A3", U"a\u03C2"},
        {To_Simple_Lowercase, U"A\u03A3", U"a\u03C3"},
        {To_Uppercase, U"\u00DF", U"SS"},
        {To_Simple_Uppercase, U"\u00DF", U"\u00DF"},
        {To_Normalization_Form_D, U"\u00C0", U"A\u0300"},
        {To_Normalization_Form_C, U"A\u0300", U"\u00C0"},
        {To_Normalization_Form_KD, U"\u1E9B", U"s\u0307"},
        {To_Normalization_Form_KC, U"\uFB01", U"fi"},
        {To_Identifier_Caseless, U"\u212B", U"\u00E5"},
        {To_Identifier_Caseless, U"\u00C5", U"\u00E5"},
        {To_Identifier_Caseless, U"A\u030A", U"\u00E5"},
        {To_Identifier_Caseless, U"\uFB01", U"fi"},
        {To_Identifier_Caseless, U"a\u00ADb", U"ab"},
        {To_Identifier_Caseless, U"Stra\u00DFe \u1E9E\u2160", U"strasse ssi"},
        // Long enough for heap storage: the results must not share or lose the source text.
        {To_Uppercase, U"gr\u00FC\u00DFe aus der stra\u00DFe, gr\u00FC\u00DFe",
         U"GR\u00DCSSE AUS DER STRASSE, GR\u00DCSSE"},
        {To_Normalization_Form_D, U"\u00E9t\u00E9 \u00E0 la plage, \u00E9t\u00E9",
         U"e\u0301te\u0301 a\u0300 la plage, e\u0301te\u0301"},
    };
    for (const auto& c : cases) {
        const Virtual_String source = text(c.source);
        const Virtual_String copy = source;
        // Function form: a new string; the source is unchanged.
        EXPECT_EQ(Transform(source, c.transformer), text(c.expected)) << c.transformer;
        EXPECT_EQ(c.transformer.Transform(source), text(c.expected)) << c.transformer;
        EXPECT_EQ(source, copy);
        // In-place form: the string's text is replaced; a copy sharing the old text keeps it.
        Virtual_String edited = source;
        Transform(edited, c.transformer);
        EXPECT_EQ(edited, text(c.expected)) << c.transformer;
        EXPECT_EQ(source, copy);
        Virtual_String again = source;
        c.transformer.Transform(again);
        EXPECT_EQ(again, text(c.expected)) << c.transformer;
    }
}

TEST(Transformers, EmptyAndNullStrings) {
    // The casing and caseless function forms give a null string for an empty or null one; the
    // normalization function forms give an empty, non-null string.
    const Abstract_Transformer* const null_results[] = {&To_Lowercase, &To_Uppercase,
                                                        &To_Simple_Lowercase, &To_Simple_Uppercase,
                                                        &To_Identifier_Caseless};
    const Abstract_Transformer* const empty_results[] = {
        &To_Normalization_Form_D, &To_Normalization_Form_C, &To_Normalization_Form_KD,
        &To_Normalization_Form_KC};
    const Virtual_String null_string;
    const Virtual_String empty_string("");
    ASSERT_TRUE(null_string.Is_Null());
    ASSERT_FALSE(empty_string.Is_Null());
    for (const Abstract_Transformer* transformer : null_results) {
        EXPECT_TRUE(Transform(null_string, *transformer).Is_Null()) << *transformer;
        EXPECT_TRUE(Transform(empty_string, *transformer).Is_Null()) << *transformer;
    }
    for (const Abstract_Transformer* transformer : empty_results) {
        for (const Virtual_String* item : {&null_string, &empty_string}) {
            const Virtual_String result = Transform(*item, *transformer);
            EXPECT_TRUE(result.Is_Empty()) << *transformer;
            EXPECT_FALSE(result.Is_Null()) << *transformer;
        }
    }
    // In place: the casing forms leave an empty string untouched (a null one stays null); the
    // normalization and caseless forms make it empty and non-null.
    for (const Abstract_Transformer* transformer : null_results) {
        if (transformer == &To_Identifier_Caseless) {
            continue;
        }
        Virtual_String item;
        Transform(item, *transformer);
        EXPECT_TRUE(item.Is_Null()) << *transformer;
    }
    for (const Abstract_Transformer* transformer : empty_results) {
        Virtual_String item;
        Transform(item, *transformer);
        EXPECT_TRUE(item.Is_Empty()) << *transformer;
        EXPECT_FALSE(item.Is_Null()) << *transformer;
    }
    Virtual_String item;
    To_Identifier_Caseless.Transform(item);
    EXPECT_TRUE(item.Is_Empty());
    EXPECT_FALSE(item.Is_Null());
}

TEST(Transformers, StartsWith) {
    const Virtual_String name(U"\u212Bngstr\u00F6m Stra\u00DFe");
    EXPECT_TRUE(Starts_With(name, Virtual_String(U"A\u030ANGSTRO\u0308M"), To_Identifier_Caseless));
    EXPECT_TRUE(
        Starts_With(name, Virtual_String(U"\u00E5ngstr\u00F6m stras"), To_Identifier_Caseless));
    EXPECT_FALSE(
        Starts_With(name, Virtual_String(U"\u00E5ngstr\u00F6m strat"), To_Identifier_Caseless));
    EXPECT_FALSE(Starts_With(name, Virtual_String(U"A\u030ANGSTRO\u0308M"), To_Lowercase));
    EXPECT_TRUE(Starts_With(name, Virtual_String(U"\u212BNGSTR\u00D6M STRASSE"), To_Uppercase));
    // An empty prefix (null or empty) always matches, also on an empty string.
    EXPECT_TRUE(Starts_With(name, Virtual_String(), To_Identifier_Caseless));
    EXPECT_TRUE(Starts_With(Virtual_String(), Virtual_String(""), To_Normalization_Form_C));
    EXPECT_FALSE(Starts_With(Virtual_String(), Virtual_String("a"), To_Lowercase));
    // The transformed prefix may be longer or shorter than the prefix itself.
    EXPECT_TRUE(Starts_With(Virtual_String("SSx"), Virtual_String(U"\u00DF"), To_Uppercase));
    EXPECT_FALSE(Starts_With(Virtual_String(U"\u00DF"), Virtual_String("SSx"), To_Uppercase));
}

TEST(Transformers, ImagesAndNoLeaks) {
    const char* const images[] = {
        "QORVI.TRANSFORMERS.CASING.LOWERCASE_TRANSFORMER",
        "QORVI.TRANSFORMERS.CASING.UPPERCASE_TRANSFORMER",
        "QORVI.TRANSFORMERS.CASING.SIMPLE_LOWERCASE_TRANSFORMER",
        "QORVI.TRANSFORMERS.CASING.SIMPLE_UPPERCASE_TRANSFORMER",
        "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_D_TRANSFORMER",
        "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_C_TRANSFORMER",
        "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_KD_TRANSFORMER",
        "QORVI.TRANSFORMERS.NORMALIZATION.NORMALIZATION_FORM_KC_TRANSFORMER",
        "QORVI.TRANSFORMERS.CASELESS.IDENTIFIER_CASELESS_TRANSFORMER"};
    for (std::size_t i = 0; i < std::size(images); ++i) {
        EXPECT_EQ(all_transformers[i]->Image(), images[i]);
        std::ostringstream printed;
        PrintTo(*all_transformers[i], &printed);
        EXPECT_EQ(printed.str(), images[i]);
    }

    const std::int64_t segments = Qorvi::Implementation::UTF8_Strings::Allocated_Segments();
    {
        const Virtual_String source(U"Ein l\u00E4ngerer Text \u00FCber \u212B und \uFB01 \u03A3");
        for (const Abstract_Transformer* transformer : all_transformers) {
            for (int i = 0; i < 3; ++i) {
                Virtual_String result = Transform(source, *transformer);
                Transform(result, *transformer);
                EXPECT_EQ(result, Transform(source, *transformer)) << "not idempotent";
            }
        }
    }
    EXPECT_EQ(Qorvi::Implementation::UTF8_Strings::Allocated_Segments(), segments);
}

} // namespace
