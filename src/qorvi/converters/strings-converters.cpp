#include <qorvi/converters/strings-converters.hpp>

namespace Qorvi::Strings::Converters {

namespace {

enum class Label_State { Start, After_Digit, After_Other, Trailing_Space };

constexpr bool Is_Space(char c) noexcept {
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

// The punctuation characters that a label may contain and that are removed.
constexpr bool Is_Dropped_Punctuation(char c) noexcept {
    switch (c) {
    case '!':
    case '#':
    case '$':
    case '%':
    case '&':
    case '\'':
    case '+':
    case '-':
    case '^':
    case '_':
    case '`':
    case '{':
    case '}':
    case '~':
        return true;
    default:
        return false;
    }
}

} // namespace

} // namespace Qorvi::Strings::Converters

namespace Qorvi::Strings::Converters::Internals {

// The walk is over UTF-8 code units: every character above U+007F consists of units of 0x80
// and more, all of which are invalid, so walking units and walking characters give the same
// result.
std::string To_Encoding_Name(std::string_view Label) {
    std::string result;
    auto state = Label_State::Start;
    for (const char c : Label) {
        if (Is_Space(c)) {
            if (state == Label_State::After_Digit || state == Label_State::After_Other) {
                state = Label_State::Trailing_Space;
            }
            continue;
        }
        if (state == Label_State::Trailing_Space) {
            return {};
        }
        if (c == '0') {
            if (state == Label_State::After_Digit) {
                result.push_back(c);
            } else {
                state = Label_State::After_Other;
            }
        } else if (c >= '1' && c <= '9') {
            result.push_back(c);
            state = Label_State::After_Digit;
        } else if (c >= 'A' && c <= 'Z') {
            result.push_back(static_cast<char>(c - 'A' + 'a'));
            state = Label_State::After_Other;
        } else if (c >= 'a' && c <= 'z') {
            result.push_back(c);
            state = Label_State::After_Other;
        } else if (Is_Dropped_Punctuation(c)) {
            if (state == Label_State::Start) {
                state = Label_State::After_Other;
            }
        } else {
            return {};
        }
    }
    return result;
}

} // namespace Qorvi::Strings::Converters::Internals

namespace Qorvi::Strings::Converters {

Virtual_String To_Encoding_Name(const Virtual_String& Label) {
    const auto name = Internals::To_Encoding_Name(Implementation::UTF8_Strings::To_String_View(
        *Strings::Internals::Data_Access_Constant(Label)));
    // The name is ASCII, so building the string from it can not fail.
    return name.empty() ? Virtual_String() : Virtual_String(std::string_view(name));
}

} // namespace Qorvi::Strings::Converters
