#include <cstdint>
#include <qorvi/formatters/strings-templates.hpp>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>

namespace Qorvi::Strings::Templates {

namespace UTF8 = Implementation::UTF8_Strings;
namespace Mutable = Implementation::UTF8_Strings::Mutable_Operations;
using Implementation::Strings::Cursor;
using Implementation::Strings::Cursor_Offset;

namespace {

// Text: copying characters; Open: after "{"; Skip: in a placeholder's name; Spec: in its
// format text.
enum class State : std::uint8_t { TEXT, OPEN, SKIP, SPEC };

} // namespace

Virtual_String Virtual_String_Template::Format(const Formatter_Array& Parameters) const {
    // A copy shares the text: it stays alive and unchanged whatever a formatter does.
    const Virtual_String source = text;
    const UTF8::UTF8_String_Data& data = *Internals::Data_Access_Constant(source);

    Virtual_String result;
    UTF8::UTF8_String_Data& output = *Internals::Data_Access_Variable(result);
    Formatters::Format_Information information;
    std::size_t parameter_index = 0; // 0-based: the formatter of the next placeholder
    State state = State::TEXT;

    // Characters copied in the Text state are appended as runs; run is the position of the
    // first character of the pending run.
    Cursor run{0, 0, 1};
    const auto flush_run = [&](const Cursor& end) {
        const Character_Count length = end.Index - run.Index;
        if (length > 0) {
            Mutable::Append(output,
                            UTF8::Code_Units(data).subspan(
                                static_cast<std::size_t>(run.UTF8_Offset),
                                static_cast<std::size_t>(end.UTF8_Offset - run.UTF8_Offset)),
                            length);
        }
    };

    const auto fill = [&] {
        if (parameter_index < Parameters.size() && Parameters[parameter_index] != nullptr) {
            const Virtual_String value = Parameters[parameter_index]->Format(information);
            Cursor_Offset inserted;
            Mutable::Append(output, *Internals::Data_Access_Constant(value), inserted);
            ++parameter_index;
        }
        // Once the formatters are used up every later placeholder produces nothing, so the
        // format information may return to its defaults in both cases.
        information = Formatters::Format_Information();
    };

    Cursor position;
    UTF8::Before_First_Character(data, position);
    while (UTF8::Forward(data, position)) {
        const Virtual_Character c = UTF8::Element(data, position);
        if (state == State::TEXT && c != U'{') {
            continue; // part of the pending run
        }
        switch (state) {
        case State::TEXT: // "{"
            flush_run(position);
            state = State::OPEN;
            break;
        case State::OPEN:
            if (c == U'{') {
                Mutable::Append(output, U'{');
                state = State::TEXT;
            } else if (c == U'}') {
                fill();
                state = State::TEXT;
            } else if (c == U':') {
                state = State::SPEC;
            } else {
                state = State::SKIP;
            }
            break;
        case State::SKIP:
            if (c == U':') {
                state = State::SPEC;
            } else if (c == U'}') {
                fill();
                state = State::TEXT;
            }
            break;
        case State::SPEC:
            if (c == U'}') {
                fill();
                state = State::TEXT;
            } else {
                Mutable::Append(*Internals::Data_Access_Variable(information.Format_String), c);
            }
            break;
        }
        // This character was not copied: a run can start after it at the earliest.
        run = Cursor{position.UTF8_Offset + Implementation::UTF8_Encoding::Encoded_Length(c), 0,
                     position.Index + 1};
    }
    // In any other state the pending run is empty: an unfinished placeholder is dropped.
    if (state == State::TEXT) {
        flush_run(position);
    }
    return result;
}

bool operator==(const Virtual_String_Template& Left,
                const Virtual_String_Template& Right) noexcept {
    return Left.text == Right.text;
}

Virtual_String_Template To_Virtual_String_Template(std::u32string_view Item) {
    Virtual_String_Template result;
    result.text = To_Virtual_String(Item);
    return result;
}

} // namespace Qorvi::Strings::Templates
