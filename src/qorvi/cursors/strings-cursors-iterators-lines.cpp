#include <qorvi/cursors/implementation-line_iterators.hpp>
#include <qorvi/cursors/strings-cursors-iterators-lines.hpp>
#include <qorvi/cursors/strings-cursors-markers.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Lines {

namespace UTF8 = Implementation::UTF8_Strings;
namespace Search = Implementation::Line_Iterators;
namespace Referrers = Implementation::Referrers;
using Implementation::Strings::Cursor_Offset;
using Implementation::Strings::Is_Invalid;
using Implementation::Strings::Position_Before_First_Character;

namespace {

[[noreturn]] void raise_detached() {
    throw Constraint_Error("iterator is not attached to a string");
}

} // namespace

const UTF8::UTF8_String_Data& Line_Iterator::data() const {
    if (Owner() == nullptr) {
        raise_detached();
    }
    return *text;
}

void Line_Iterator::attach(const Virtual_String& On, Line_Terminator_Set Terminators,
                           bool Keep_Terminator) {
    Referrers::Reconnect(*this, const_cast<Virtual_String*>(&On));
    text = Strings::Internals::Data_Access_Constant(On);
    terminators = Terminators;
    keep_terminator = Keep_Terminator;
}

Line_Iterator::Line_Iterator(const Virtual_String& On, Place Where, Line_Terminator_Set Terminators,
                             bool Keep_Terminator) {
    if (Where == Place::At_First) {
        Set_At_First(On, Terminators, Keep_Terminator);
    } else {
        Set_At_Last(On, Terminators, Keep_Terminator);
    }
}

Line_Iterator::Line_Iterator(const Virtual_String& On, const Abstract_Character_Cursor& Position,
                             Line_Terminator_Set Terminators, bool Keep_Terminator) {
    if (Cursors::Internals::Is_Owner(Position, On)) {
        Set_At(Position, Terminators, Keep_Terminator);
    }
}

void Line_Iterator::store(const Cursor& E, const Cursor& S) {
    if (Is_Invalid(S)) {
        last_position = E;
        terminator = Cursor{};
    } else if (keep_terminator) {
        last_position = E;
        terminator = S;
    } else {
        Cursor before = S;
        UTF8::Backward(*text, before);
        last_position = before;
        terminator = E;
    }
}

void Line_Iterator::position_at(const Cursor& P) {
    const UTF8::UTF8_String_Data& text_data = *text;
    if (P.Index == 0) {
        first_position = Position_Before_First_Character;
        last_position = Position_Before_First_Character;
        terminator = Cursor{};
        return;
    }
    Cursor p = P;
    if (p.Index != 1) {
        // The first character of the line holding P's character.
        UTF8::Forward(text_data, p);
        Cursor last;
        Cursor found_terminator;
        Cursor first;
        Search::Backward(text_data, terminators, p, first, last, found_terminator);
        p = first;
    }
    UTF8::Backward(text_data, p);
    Cursor first;
    Cursor last;
    Cursor found_terminator;
    if (!Search::Forward(text_data, terminators, p, first, last, found_terminator)) {
        first_position = first;
        last_position = p;
        terminator = Cursor{};
        return;
    }
    first_position = first;
    store(last, found_terminator);
}

void Line_Iterator::Set_At_First(const Virtual_String& On, Line_Terminator_Set Terminators,
                                 bool Keep_Terminator) {
    attach(On, Terminators, Keep_Terminator);
    Cursor p = Position_Before_First_Character;
    UTF8::Forward(*text, p);
    position_at(p);
}

void Line_Iterator::Set_At(const Abstract_Character_Cursor& Position,
                           Line_Terminator_Set Terminators, bool Keep_Terminator) {
    Referrers::Magic_String_Access owner = nullptr;
    Cursor at;
    Get_Owner_And_Position(Position, owner, at);
    if (owner == nullptr) {
        Referrers::Reconnect(*this, nullptr);
        Invalidate();
        return;
    }
    attach(*Strings::Internals::To_Virtual_String_Access(owner), Terminators, Keep_Terminator);
    position_at(at);
}

void Line_Iterator::Set_At_Last(const Virtual_String& On, Line_Terminator_Set Terminators,
                                bool Keep_Terminator) {
    attach(On, Terminators, Keep_Terminator);
    Cursor p;
    UTF8::After_Last_Character(*text, p);
    UTF8::Backward(*text, p);
    position_at(p);
}

bool Line_Iterator::Forward() {
    const UTF8::UTF8_String_Data& text_data = data();
    // The last character of the current line with its terminator (before the first line: the
    // before-first position).
    const Cursor start = keep_terminator || Is_Invalid(terminator) ? last_position : terminator;
    Cursor first;
    Cursor last;
    Cursor found_terminator;
    if (!Search::Forward(text_data, terminators, start, first, last, found_terminator)) {
        first_position = first;
        last_position = start;
        terminator = Cursor{};
    } else {
        first_position = first;
        store(last, found_terminator);
    }
    return first_position.Index <= text_data.Length;
}

bool Line_Iterator::Backward() {
    const UTF8::UTF8_String_Data& text_data = data();
    Cursor first;
    Cursor last;
    Cursor found_terminator;
    Search::Backward(text_data, terminators, first_position, first, last, found_terminator);
    first_position = first;
    store(last, found_terminator);
    return first_position.Index != 0;
}

bool Line_Iterator::Has_Element() const {
    return UTF8::Has_Character(data(), first_position);
}

bool Line_Iterator::Has_Line_Terminator() const noexcept {
    return !Is_Invalid(terminator);
}

Cursor Line_Iterator::terminator_first() const {
    if (keep_terminator) {
        return terminator;
    }
    Cursor after = last_position;
    UTF8::Forward(*text, after);
    return after;
}

Cursor Line_Iterator::terminator_last() const {
    return keep_terminator ? last_position : terminator;
}

Virtual_String Line_Iterator::Element_Terminator() const {
    const UTF8::UTF8_String_Data& text_data = data();
    if (Is_Invalid(terminator)) {
        return Virtual_String();
    }
    UTF8::UTF8_String_Data slice;
    UTF8::Slice(text_data, terminator_first(), terminator_last(), slice);
    Virtual_String result;
    Strings::Internals::Set_By_Move(result, slice);
    return result;
}

Character_Count Line_Iterator::Terminator_First_Character_Index() const {
    const UTF8::UTF8_String_Data& text_data = data();
    return Is_Invalid(terminator) ? text_data.Length + 1 : terminator_first().Index;
}

Character_Count Line_Iterator::Terminator_Last_Character_Index() const {
    if (!Is_Invalid(terminator)) {
        return terminator_last().Index;
    }
    return data().Length;
}

Markers::Character_Marker Line_Iterator::Terminator_First_Marker() const {
    data();
    return Markers::Internals::New_Character_Marker(Owner(), terminator_first());
}

Markers::Character_Marker Line_Iterator::Terminator_Last_Marker() const {
    data();
    return Markers::Internals::New_Character_Marker(Owner(), terminator_last());
}

UTF8_Code_Unit_Offset Line_Iterator::Terminator_First_UTF8_Offset() const {
    data();
    const Cursor first = terminator_first();
    if (first.UTF8_Offset < 0) {
        throw Constraint_Error("no terminator offset before the first character");
    }
    return first.UTF8_Offset;
}

UTF16_Code_Unit_Offset Line_Iterator::Terminator_First_UTF16_Offset() const {
    const UTF8::UTF8_String_Data& text_data = data();
    const Cursor first = terminator_first();
    if (first.UTF16_Offset >= 0) {
        return first.UTF16_Offset;
    }
    return UTF8::First_UTF16_Offset(text_data, first);
}

UTF8_Code_Unit_Offset Line_Iterator::Terminator_Last_UTF8_Offset() const {
    throw Program_Error("Terminator_Last_UTF8_Offset is not provided");
}

UTF16_Code_Unit_Offset Line_Iterator::Terminator_Last_UTF16_Offset() const {
    throw Program_Error("Terminator_Last_UTF16_Offset is not provided");
}

void Line_Iterator::Invalidate() noexcept {
    Segment_Cursor_Limited_Base::Invalidate();
    terminator = Cursor{};
    text = nullptr;
}

void Line_Iterator::String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                    const Cursor_Offset& Inserted) {
    const bool has_terminator = !Is_Invalid(terminator);
    // The terminator's first character follows the edit like the two ends; losing any of the
    // three loses the line.
    bool kept = Implementation::Strings::Fixup_Segment(first_position, last_position, Start,
                                                       Removed, Inserted);
    if (has_terminator) {
        kept = Implementation::Strings::Fixup_Delete(terminator, Start, Removed) && kept;
        if (kept) {
            Implementation::Strings::Fixup_Insert(terminator, Start, Inserted);
        }
    }
    if (!kept) {
        Invalidate();
        Referrers::Disconnect(*this);
    }
}

} // namespace Qorvi::Strings::Cursors::Iterators::Lines

// The line iterator factories.
namespace Qorvi::Strings {

using Cursors::Iterators::Lines::Line_Iterator;

Line_Iterator At_First_Line(const Virtual_String& Self, Line_Terminator_Set Terminators,
                            bool Keep_Terminator) {
    return Line_Iterator(Self, Line_Iterator::Place::At_First, Terminators, Keep_Terminator);
}

Line_Iterator At_Line(const Virtual_String& Self,
                      const Cursors::Abstract_Character_Cursor& Position,
                      Line_Terminator_Set Terminators, bool Keep_Terminator) {
    return Line_Iterator(Self, Position, Terminators, Keep_Terminator);
}

Line_Iterator At_Last_Line(const Virtual_String& Self, Line_Terminator_Set Terminators,
                           bool Keep_Terminator) {
    return Line_Iterator(Self, Line_Iterator::Place::At_Last, Terminators, Keep_Terminator);
}

} // namespace Qorvi::Strings
