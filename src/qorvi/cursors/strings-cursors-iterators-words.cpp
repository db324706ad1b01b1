#include <qorvi/cursors/strings-cursors-iterators-words.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Words {

namespace UTF8 = Implementation::UTF8_Strings;
namespace TS = Implementation::Text_Segmentation;
namespace Referrers = Implementation::Referrers;
using Implementation::Strings::Cursor_Offset;

static_assert(static_cast<int>(Element_Kind::TEXT) == static_cast<int>(TS::Word_Kind::TEXT) &&
              static_cast<int>(Element_Kind::WHITESPACE) ==
                  static_cast<int>(TS::Word_Kind::WHITESPACE) &&
              static_cast<int>(Element_Kind::LINE_BREAK) ==
                  static_cast<int>(TS::Word_Kind::LINE_BREAK));

void Word_Iterator::raise_detached() {
    throw Constraint_Error("iterator is not attached to a string");
}

void Word_Iterator::attach(const Virtual_String& On) {
    Referrers::Reconnect(*this, const_cast<Virtual_String*>(&On));
    text = Strings::Internals::Data_Access_Constant(On);
    forget_ahead();
}

Word_Iterator::Word_Iterator(const Virtual_String& On, Place Where) {
    switch (Where) {
    case Place::Before_First:
        Set_Before_First(On);
        break;
    case Place::At_First:
        Set_At_First(On);
        break;
    case Place::At_Last:
        Set_At_Last(On);
        break;
    case Place::After_Last:
        Set_After_Last(On);
        break;
    }
}

Word_Iterator::Word_Iterator(const Virtual_String& On, const Abstract_Character_Cursor& Position) {
    if (Cursors::Internals::Is_Owner(Position, On)) {
        Set_At(Position);
    }
}

void Word_Iterator::position_at(const Cursor& P) {
    const UTF8::UTF8_String_Data& data = *text;
    kind = Element_Kind::TEXT;
    if (P.Index == 0 || P.Index > data.Length) {
        first_position = P;
        last_position = P;
    } else if (P.Index == 1) {
        first_position = Implementation::Strings::Position_Before_First_Character;
        last_position = first_position;
        Forward();
    } else {
        throw Program_Error("word iterator: positioning after the first character is not "
                            "supported");
    }
}

void Word_Iterator::Set_Before_First(const Virtual_String& On) {
    attach(On);
    position_at(Implementation::Strings::Position_Before_First_Character);
}

void Word_Iterator::Set_At_First(const Virtual_String& On) {
    attach(On);
    Cursor p = Implementation::Strings::Position_Before_First_Character;
    UTF8::Forward(*text, p);
    position_at(p);
}

void Word_Iterator::Set_At(const Abstract_Character_Cursor& Position) {
    Referrers::Magic_String_Access owner = nullptr;
    Cursor at;
    Get_Owner_And_Position(Position, owner, at);
    if (owner == nullptr) {
        Referrers::Reconnect(*this, nullptr);
        Invalidate();
        return;
    }
    attach(*Strings::Internals::To_Virtual_String_Access(owner));
    position_at(at);
}

void Word_Iterator::Set_At_Last(const Virtual_String& On) {
    attach(On);
    Cursor p;
    UTF8::After_Last_Character(*text, p);
    UTF8::Backward(*text, p);
    position_at(p);
}

void Word_Iterator::Set_After_Last(const Virtual_String& On) {
    attach(On);
    Cursor p;
    UTF8::After_Last_Character(*text, p);
    position_at(p);
}

bool Word_Iterator::Backward() {
    throw Program_Error("word iterator: backward iteration is not supported");
}

bool Word_Iterator::Has_Element() const {
    if (Owner() == nullptr) {
        raise_detached();
    }
    return UTF8::Has_Character(*text, first_position);
}

bool Word_Iterator::On_Line_Break() const {
    return Has_Element() && kind == Element_Kind::LINE_BREAK;
}

bool Word_Iterator::On_Whitespace() const {
    return Has_Element() && kind == Element_Kind::WHITESPACE;
}

void Word_Iterator::Invalidate() noexcept {
    Segment_Cursor_Limited_Base::Invalidate();
    text = nullptr;
    forget_ahead();
}

void Word_Iterator::String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                    const Cursor_Offset& Inserted) {
    forget_ahead();
    if (!Implementation::Strings::Fixup_Segment(first_position, last_position, Start, Removed,
                                                Inserted)) {
        Invalidate();
        Referrers::Disconnect(*this);
    }
}

} // namespace Qorvi::Strings::Cursors::Iterators::Words

// The word iterator factories.
namespace Qorvi::Strings {

using Cursors::Iterators::Words::Word_Iterator;

Word_Iterator Before_First_Word(const Virtual_String& Self) {
    return Word_Iterator(Self, Word_Iterator::Place::Before_First);
}

Word_Iterator At_First_Word(const Virtual_String& Self) {
    return Word_Iterator(Self, Word_Iterator::Place::At_First);
}

Word_Iterator At_Word(const Virtual_String& Self,
                      const Cursors::Abstract_Character_Cursor& Position) {
    return Word_Iterator(Self, Position);
}

Word_Iterator At_Last_Word(const Virtual_String& Self) {
    return Word_Iterator(Self, Word_Iterator::Place::At_Last);
}

Word_Iterator After_Last_Word(const Virtual_String& Self) {
    return Word_Iterator(Self, Word_Iterator::Place::After_Last);
}

} // namespace Qorvi::Strings
