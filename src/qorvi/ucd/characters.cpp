#include <cstddef>
#include <qorvi/ucd/characters.hpp>

namespace Qorvi::Characters {

namespace {

constexpr std::array<std::string_view, 30> category_images{
    "UPPERCASE_LETTER",    "LOWERCASE_LETTER",  "TITLECASE_LETTER",
    "MODIFIER_LETTER",     "OTHER_LETTER",      "NONSPACING_MARK",
    "SPACING_MARK",        "ENCLOSING_MARK",    "DECIMAL_NUMBER",
    "LETTER_NUMBER",       "OTHER_NUMBER",      "CONNECTOR_PUNCTUATION",
    "DASH_PUNCTUATION",    "OPEN_PUNCTUATION",  "CLOSE_PUNCTUATION",
    "INITIAL_PUNCTUATION", "FINAL_PUNCTUATION", "OTHER_PUNCTUATION",
    "MATH_SYMBOL",         "CURRENCY_SYMBOL",   "MODIFIER_SYMBOL",
    "OTHER_SYMBOL",        "SPACE_SEPARATOR",   "LINE_SEPARATOR",
    "PARAGRAPH_SEPARATOR", "CONTROL",           "FORMAT",
    "SURROGATE",           "PRIVATE_USE",       "UNASSIGNED"};

constexpr char to_upper(char c) noexcept {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

constexpr bool is_blank(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

std::string_view Image(General_Category value) {
    const auto code = static_cast<std::size_t>(value);
    if (code >= category_images.size()) {
        throw Constraint_Error("General_Category value out of range");
    }
    return category_images[code];
}

General_Category General_Category_Value(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    for (std::size_t code = 0; code < category_images.size(); ++code) {
        const std::string_view image = category_images[code];
        if (image.size() != text.size()) {
            continue;
        }
        bool equal = true;
        for (std::size_t i = 0; i < image.size() && equal; ++i) {
            equal = to_upper(text[i]) == image[i];
        }
        if (equal) {
            return static_cast<General_Category>(code);
        }
    }
    throw Constraint_Error("not a General_Category image");
}

} // namespace Qorvi::Characters
