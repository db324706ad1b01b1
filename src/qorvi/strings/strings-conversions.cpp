#include <cstring>
#include <qorvi/strings/strings-conversions.hpp>

namespace Qorvi::Strings::Conversions {

namespace UTF8 = Implementation::UTF8_Strings;

namespace {

const UTF8::UTF8_String_Data& data_of(const Virtual_String& item) {
    return *Internals::Data_Access_Constant(item);
}

// Writes every character of data into target, which holds exactly Length elements.
void write_code_points(const UTF8::UTF8_String_Data& data, char32_t* target) {
    UTF8::Cursor position;
    UTF8::Before_First_Character(data, position);
    Virtual_Character code;
    while (UTF8::Forward_Element(data, position, code)) {
        *target++ = code;
    }
}

// Room from From to the end of a buffer of size, or Constraint_Error when below needed.
void check_room(std::size_t from, std::size_t size, std::size_t needed) {
    if (from > size || size - from < needed) {
        throw Constraint_Error("target buffer too short");
    }
}

} // namespace

Virtual_String To_Virtual_String(std::string_view Item) {
    return Virtual_String(Item);
}

Virtual_String To_Virtual_String(const std::u32string& Item) {
    return Virtual_String(std::u32string_view(Item));
}

std::string To_UTF_8_String(const Virtual_String& Item) {
    return UTF8::To_UTF_8_String(data_of(Item));
}

std::u32string To_Wide_Wide_String(const Virtual_String& Item) {
    const UTF8::UTF8_String_Data& data = data_of(Item);
    std::u32string result(static_cast<std::size_t>(data.Length), U'\0');
    write_code_points(data, result.data());
    return result;
}

std::string To_Unbounded_UTF_8_String(const Virtual_String& Item) {
    return To_UTF_8_String(Item);
}

std::u32string To_Unbounded_Wide_Wide_String(const Virtual_String& Item) {
    return To_Wide_Wide_String(Item);
}

void Set_UTF_8_String(const Virtual_String& Item, std::span<char> Target) {
    const std::string_view text = UTF8::To_String_View(data_of(Item));
    if (Target.size() != text.size()) {
        throw Constraint_Error("target buffer length differs from the text size");
    }
    if (!text.empty()) {
        std::memcpy(Target.data(), text.data(), text.size());
    }
}

void Set_UTF_8_String(const Virtual_String& Item, std::span<char> Target, std::size_t& Last) {
    Set_UTF_8_String(Item, 0, Target, Last);
}

void Set_UTF_8_String(const Virtual_String& Item, std::size_t From, std::span<char> Target,
                      std::size_t& Last) {
    const std::string_view text = UTF8::To_String_View(data_of(Item));
    if (text.empty()) {
        Last = From;
        return;
    }
    check_room(From, Target.size(), text.size());
    std::memcpy(Target.data() + From, text.data(), text.size());
    Last = From + text.size();
}

void Set_Wide_Wide_String(const Virtual_String& Item, std::span<char32_t> Target) {
    const UTF8::UTF8_String_Data& data = data_of(Item);
    if (Target.size() != static_cast<std::size_t>(data.Length)) {
        throw Constraint_Error("target buffer length differs from the character length");
    }
    write_code_points(data, Target.data());
}

void Set_Wide_Wide_String(const Virtual_String& Item, std::span<char32_t> Target,
                          std::size_t& Last) {
    Set_Wide_Wide_String(Item, 0, Target, Last);
}

void Set_Wide_Wide_String(const Virtual_String& Item, std::size_t From, std::span<char32_t> Target,
                          std::size_t& Last) {
    const UTF8::UTF8_String_Data& data = data_of(Item);
    const auto length = static_cast<std::size_t>(data.Length);
    if (length == 0) {
        Last = From;
        return;
    }
    check_room(From, Target.size(), length);
    write_code_points(data, Target.data() + From);
    Last = From + length;
}

} // namespace Qorvi::Strings::Conversions
