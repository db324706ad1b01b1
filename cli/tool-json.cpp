#include "tool-json.hpp"

#include <cstdio>

namespace Qorvi_CLI {

void Append_JSON_String(std::string& Target, std::string_view Text) {
    static constexpr char hex[] = "0123456789abcdef";
    Target.push_back('"');
    std::size_t copied = 0;
    for (std::size_t at = 0; at < Text.size(); ++at) {
        const auto unit = static_cast<unsigned char>(Text[at]);
        if (unit >= 0x20 && unit != '"' && unit != '\\') {
            continue;
        }
        Target.append(Text, copied, at - copied);
        copied = at + 1;
        Target.push_back('\\');
        switch (unit) {
        case '"':
        case '\\':
            Target.push_back(static_cast<char>(unit));
            break;
        case '\b':
            Target.push_back('b');
            break;
        case '\f':
            Target.push_back('f');
            break;
        case '\n':
            Target.push_back('n');
            break;
        case '\r':
            Target.push_back('r');
            break;
        case '\t':
            Target.push_back('t');
            break;
        default:
            Target += "u00";
            Target.push_back(hex[unit >> 4]);
            Target.push_back(hex[unit & 0xF]);
            break;
        }
    }
    Target.append(Text, copied, Text.size() - copied);
    Target.push_back('"');
}

std::string Code_Point_Image(char32_t Code) {
    char image[16];
    std::snprintf(image, sizeof image, "U+%04X", static_cast<unsigned>(Code));
    return image;
}

void JSON_Object::separate() {
    if (in_array) {
        if (array_has_value) {
            text.push_back(',');
        }
        array_has_value = true;
    }
}

JSON_Object& JSON_Object::Member(std::string_view Name) {
    if (!first_member) {
        text.push_back(',');
    }
    first_member = false;
    Append_JSON_String(text, Name);
    text.push_back(':');
    return *this;
}

JSON_Object& JSON_Object::String(std::string_view Text) {
    separate();
    Append_JSON_String(text, Text);
    return *this;
}

JSON_Object& JSON_Object::Integer(std::int64_t Value) {
    separate();
    text += std::to_string(Value);
    return *this;
}

JSON_Object& JSON_Object::Boolean(bool Value) {
    separate();
    text += Value ? "true" : "false";
    return *this;
}

JSON_Object& JSON_Object::Null() {
    separate();
    text += "null";
    return *this;
}

JSON_Object& JSON_Object::Begin_Array() {
    text.push_back('[');
    in_array = true;
    array_has_value = false;
    return *this;
}

JSON_Object& JSON_Object::End_Array() {
    text.push_back(']');
    in_array = false;
    return *this;
}

const std::string& JSON_Object::Finish() {
    text += "}\n";
    return text;
}

} // namespace Qorvi_CLI
