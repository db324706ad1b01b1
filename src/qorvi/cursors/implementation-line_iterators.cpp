#include <optional>
#include <qorvi/cursors/implementation-line_iterators.hpp>
#include <qorvi/strings/implementation-utf8_strings-mutable_operations.hpp>

namespace Qorvi::Strings {

const char* Image(Line_Terminator Item) {
    switch (Item) {
    case Line_Terminator::CR:
        return "CR";
    case Line_Terminator::LF:
        return "LF";
    case Line_Terminator::CRLF:
        return "CRLF";
    case Line_Terminator::NEL:
        return "NEL";
    case Line_Terminator::VT:
        return "VT";
    case Line_Terminator::FF:
        return "FF";
    case Line_Terminator::LS:
        return "LS";
    case Line_Terminator::PS:
        return "PS";
    }
    throw Constraint_Error("not a line terminator");
}

} // namespace Qorvi::Strings

namespace Qorvi::Implementation::Line_Terminator {

Qorvi::Strings::Virtual_String Sequence(Qorvi::Strings::Line_Terminator Terminator) {
    using Qorvi::Strings::Line_Terminator;
    Virtual_Character first;
    switch (Terminator) {
    case Line_Terminator::CR:
    case Line_Terminator::CRLF:
        first = 0x0D;
        break;
    case Line_Terminator::LF:
        first = 0x0A;
        break;
    case Line_Terminator::NEL:
        first = 0x85;
        break;
    case Line_Terminator::VT:
        first = 0x0B;
        break;
    case Line_Terminator::FF:
        first = 0x0C;
        break;
    case Line_Terminator::LS:
        first = 0x2028;
        break;
    case Line_Terminator::PS:
        first = 0x2029;
        break;
    default:
        throw Constraint_Error("not a line terminator");
    }
    UTF8_Strings::UTF8_String_Data data;
    UTF8_Strings::Mutable_Operations::Append(data, first);
    if (Terminator == Line_Terminator::CRLF) {
        UTF8_Strings::Mutable_Operations::Append(data, 0x0A);
    }
    Qorvi::Strings::Virtual_String result;
    Qorvi::Strings::Internals::Set_By_Move(result, data);
    return result;
}

} // namespace Qorvi::Implementation::Line_Terminator

namespace Qorvi::Implementation::Line_Iterators {

namespace UTF8 = UTF8_Strings;
using Qorvi::Strings::Line_Terminator;

namespace {

constexpr Virtual_Character CR = 0x0D;
constexpr Virtual_Character LF = 0x0A;

// The member that a single terminator character stands for, if it is one.
std::optional<Line_Terminator> single_terminator(Virtual_Character code) noexcept {
    switch (code) {
    case 0x0D:
        return Line_Terminator::CR;
    case 0x0A:
        return Line_Terminator::LF;
    case 0x0B:
        return Line_Terminator::VT;
    case 0x0C:
        return Line_Terminator::FF;
    case 0x85:
        return Line_Terminator::NEL;
    case 0x2028:
        return Line_Terminator::LS;
    case 0x2029:
        return Line_Terminator::PS;
    default:
        return std::nullopt;
    }
}

// Whether the character before Position (which stands on a character) is CR; Before is set to
// that character's position when there is one.
bool preceded_by_cr(const UTF8_String_Data& data, const Cursor& position, Cursor& before) {
    before = position;
    return UTF8::Backward(data, before) && UTF8::Element(data, before) == CR;
}

} // namespace

bool Forward(const UTF8_String_Data& Data, Line_Terminator_Set Terminators, const Cursor& Start,
             Cursor& First, Cursor& Last, Cursor& Terminator) {
    First = Start;
    Terminator = Cursor{};
    if (!UTF8::Forward(Data, First)) {
        Last = Start;
        return false;
    }
    const bool has_cr = Terminators.Contains(Line_Terminator::CR);
    const bool has_crlf = Terminators.Contains(Line_Terminator::CRLF);
    bool pending = false; // Terminator is a CR that may begin a CR LF
    Last = Start;
    Cursor previous = Last;
    while (true) {
        previous = Last;
        if (!UTF8::Forward(Data, Last)) {
            break;
        }
        const Virtual_Character code = UTF8::Element(Data, Last);
        if (pending) {
            if (code == LF) {
                return true; // CR LF: Terminator on the CR, Last on the LF
            }
            if (has_cr) {
                Last = Terminator; // a lone CR
                return true;
            }
            pending = false; // the CR is ordinary text
            Terminator = Cursor{};
        }
        if (code == CR) {
            if (has_crlf) {
                Terminator = Last;
                pending = true;
            } else if (has_cr) {
                Terminator = Last;
                return true;
            }
            continue;
        }
        const std::optional<Line_Terminator> member = single_terminator(code);
        if (member && Terminators.Contains(*member)) {
            Terminator = Last;
            return true;
        }
    }
    // The end of the text: Last stands after the last character, previous on it.
    if (pending && has_cr) {
        Last = Terminator;
        return true;
    }
    Terminator = Cursor{};
    Last = previous;
    return true;
}

bool Backward(const UTF8_String_Data& Data, Line_Terminator_Set Terminators, const Cursor& Start,
              Cursor& First, Cursor& Last, Cursor& Terminator) {
    Terminator = Cursor{};
    Cursor p = Start;
    if (!UTF8::Backward(Data, p)) {
        First = Strings::Position_Before_First_Character;
        Last = Strings::Position_Before_First_Character;
        return false;
    }
    const bool has_crlf = Terminators.Contains(Line_Terminator::CRLF);
    Last = p;
    const Virtual_Character last_code = UTF8::Element(Data, p);
    Cursor before;
    if (last_code == LF && has_crlf && preceded_by_cr(Data, p, before)) {
        Terminator = before;
        p = before;
    } else if (const std::optional<Line_Terminator> member = single_terminator(last_code);
               member && Terminators.Contains(*member)) {
        Terminator = p;
    }
    // Walk back to the character after the end of the previous line.
    First = p;
    Cursor q = p;
    while (UTF8::Backward(Data, q)) {
        const Virtual_Character code = UTF8::Element(Data, q);
        if (const std::optional<Line_Terminator> member = single_terminator(code)) {
            if (Terminators.Contains(*member) ||
                (code == LF && has_crlf && preceded_by_cr(Data, q, before))) {
                break;
            }
        }
        First = q;
    }
    return true;
}

} // namespace Qorvi::Implementation::Line_Iterators
