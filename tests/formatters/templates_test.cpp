// Message templates: the placeholder syntax, the matching of placeholders to formatters and
// errors passing through.
#include <gtest/gtest.h>
#include <qorvi/formatters/strings-formatters-booleans.hpp>
#include <qorvi/formatters/strings-formatters-integers.hpp>
#include <qorvi/formatters/strings-formatters-strings.hpp>
#include <qorvi/formatters/strings-templates.hpp>
#include <qorvi/strings/strings-conversions.hpp>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace Qorvi::Strings;
using namespace Qorvi::Strings::Formatters;
using namespace Qorvi::Strings::Templates;

std::string utf8(const Virtual_String& Item) {
    return Conversions::To_UTF_8_String(Item);
}

// Answers its tag and records the format text of every call in a shared log.
class Recorder : public Abstract_Formatter {
public:
    Recorder(std::string Tag, std::vector<std::string>& Log) : tag(std::move(Tag)), log(Log) {}
    Virtual_String Format(const Format_Information& Information) const override {
        log.push_back(tag + "(" + utf8(Information.Format_String) + ")");
        return Virtual_String(tag);
    }
    Virtual_String Name() const override { return Virtual_String(); }

private:
    std::string tag;
    std::vector<std::string>& log;
};

struct Oops : std::runtime_error {
    Oops() : std::runtime_error("oops") {}
};

class Thrower : public Abstract_Formatter {
public:
    Virtual_String Format(const Format_Information&) const override { throw Oops(); }
    Virtual_String Name() const override { return Virtual_String(); }
};

TEST(Templates, Placeholders_Filled_In_Order) {
    EXPECT_EQ(utf8(To_Virtual_String_Template(U"Hello, {}!").Format(Strings::Image("world"))),
              "Hello, world!");
    // Names play no part; the format text goes to the formatter.
    EXPECT_EQ(utf8(To_Virtual_String_Template(U"{name} is {age:05}")
                       .Format(Strings::Image("Ann"), Integers::Image(42))),
              "Ann is 00042");
    EXPECT_EQ(
        utf8(To_Virtual_String_Template(U"{b} {i:+#16} {s:ignored}")
                 .Format(Booleans::Image(true), Integers_64::Image(-255), Strings::Image("x"))),
        "TRUE -FF x");
    // Text around placeholders in several scripts, and results longer than the in-place room.
    EXPECT_EQ(
        utf8(To_Virtual_String_Template(U"Grüße {} — ✓{}😀")
                 .Format(Strings::Image(u8"Köln, a long enough city name"), Integers::Image(7))),
        "Grüße Köln, a long enough city name — ✓7😀");
}

struct Syntax_Case {
    const char32_t* text;
    const char* expected;
    std::vector<std::string> calls;
};

// Each template is formatted with the three recorders A, B and C.
TEST(Templates, Syntax) {
    const Syntax_Case cases[] = {
        {U"", "", {}},
        {U"plain } text }}", "plain } text }}", {}},
        {U"{{}", "{}", {}},
        {U"}}", "}}", {}},
        {U"{{{{", "{{", {}},
        {U"a{b", "a", {}},
        {U"a{", "a", {}},
        {U"a{:5", "a", {}},
        {U"a{x:5", "a", {}},
        {U"{}", "A", {"A()"}},
        {U"{}{}", "AB", {"A()", "B()"}},
        {U"{:x{y}", "A", {"A(x{y)"}},
        {U"{n:a:b}", "A", {"A(a:b)"}},
        {U"{n{m}", "A", {"A()"}},
        {U"{:}", "A", {"A()"}},
        {U"{:}}", "A}", {"A()"}},
        {U"{{{}}", "{A}", {"A()"}},
        {U"[{é:ü€}]", "[A]", {"A(ü€)"}},
        {U"{}{:1}{x:2}{:3}{}", "ABC", {"A()", "B(1)", "C(2)"}},
        {U"{}{", "A", {"A()"}},
        // An unfinished placeholder at the end does not call its formatter.
        {U"{}{:5", "A", {"A()"}},
    };
    for (const Syntax_Case& c : cases) {
        SCOPED_TRACE(Conversions::To_UTF_8_String(To_Virtual_String(c.text)));
        std::vector<std::string> log;
        const Recorder a("A", log), b("B", log), cc("C", log);
        EXPECT_EQ(utf8(To_Virtual_String_Template(c.text).Format(a, b, cc)), c.expected);
        EXPECT_EQ(log, c.calls);
    }
}

TEST(Templates, Nine_Formatters_And_More_Placeholders) {
    std::vector<std::string> log;
    const Recorder f1("1", log), f2("2", log), f3("3", log), f4("4", log), f5("5", log),
        f6("6", log), f7("7", log), f8("8", log), f9("9", log);
    const Virtual_String_Template text =
        To_Virtual_String_Template(U"{}{}{}{}{}{}{}{}{}{:tenth}|{}");
    EXPECT_EQ(utf8(text.Format(f1, f2, f3, f4, f5, f6, f7, f8, f9)), "123456789|");
    EXPECT_EQ(log, (std::vector<std::string>{"1()", "2()", "3()", "4()", "5()", "6()", "7()", "8()",
                                             "9()"}));

    // Formatters beyond the placeholders are not called.
    log.clear();
    EXPECT_EQ(utf8(To_Virtual_String_Template(U"<{}>").Format(f1, f2, f3)), "<1>");
    EXPECT_EQ(log, std::vector<std::string>{"1()"});

    // The same formatter may fill several placeholders.
    log.clear();
    EXPECT_EQ(utf8(To_Virtual_String_Template(U"{:a}{:b}").Format(f1, f1)), "11");
    EXPECT_EQ(log, (std::vector<std::string>{"1(a)", "1(b)"}));

    // The array form stops at the first null entry.
    log.clear();
    const Formatter_Array gapped{&f1, nullptr, &f3};
    EXPECT_EQ(utf8(To_Virtual_String_Template(U"{}{}{}").Format(gapped)), "1");
    EXPECT_EQ(log, std::vector<std::string>{"1()"});
}

TEST(Templates, Formatter_Errors_Pass_Through) {
    const Thrower thrower;
    std::vector<std::string> log;
    const Recorder after("A", log);
    EXPECT_THROW(To_Virtual_String_Template(U"x{}{}").Format(thrower, after), Oops);
    EXPECT_TRUE(log.empty());

    const Virtual_String_Template number = To_Virtual_String_Template(U"n = {:#}");
    EXPECT_THROW(number.Format(Integers::Image(7)), Qorvi::Constraint_Error);
    EXPECT_THROW(To_Virtual_String_Template(U"{:#30}").Format(Integers::Image(29)),
                 Qorvi::Program_Error);
    EXPECT_EQ(utf8(number.Format(Integers::Image(0))), "n = 0");
    // The error text is the formatter's own.
    try {
        To_Virtual_String_Template(U"{:_1073741824}").Format(Integers::Image(1));
        ADD_FAILURE() << "no exception";
    } catch (const Qorvi::Constraint_Error& error) {
        EXPECT_STREQ(error.what(), "format group out of range");
    }
}

TEST(Templates, Values_And_Conversion) {
    const Virtual_String_Template a = To_Virtual_String_Template(U"{} and {}");
    Virtual_String_Template b = a;
    EXPECT_EQ(a, b);
    EXPECT_FALSE(a == To_Virtual_String_Template(U"{} or {}"));
    EXPECT_EQ(Virtual_String_Template(), To_Virtual_String_Template(U""));
    b = To_Virtual_String_Template(U"{}!");
    EXPECT_EQ(utf8(b.Format(Integers::Image(1))), "1!");
    EXPECT_EQ(utf8(a.Format(Integers::Image(1), Integers::Image(2))), "1 and 2");

    const char32_t surrogate[] = {U'a', 0xD800, 0};
    EXPECT_THROW(To_Virtual_String_Template(surrogate), Qorvi::Constraint_Error);
}

} // namespace
