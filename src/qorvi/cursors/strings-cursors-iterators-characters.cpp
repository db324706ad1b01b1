#include <qorvi/cursors/strings-cursors-iterators-characters.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Characters {

namespace UTF8 = Implementation::UTF8_Strings;
namespace Referrers = Implementation::Referrers;
using Implementation::Strings::Cursor_Offset;

[[noreturn]] static void raise_detached() {
    throw Constraint_Error("iterator is not attached to a string");
}

// The fix-up rules shift the (never read) offsets of a position before the first character;
// the iterator keeps them at -1, which its Forward relies on.
static Cursor before_first_normalized(const Cursor& Position) noexcept {
    return Position.Index == 0 && !Implementation::Strings::Is_Invalid(Position)
               ? Implementation::Strings::Position_Before_First_Character
               : Position;
}

void Character_Iterator::attach(const Virtual_String& On) {
    next_offset = Unknown_Offset;
    // The list heads of a string are mutable bookkeeping: attaching to a string that the caller
    // can only read changes nothing of its value.
    Referrers::Reconnect(*this, const_cast<Virtual_String*>(&On));
    text = Strings::Internals::Data_Access_Constant(On);
}

Character_Iterator::Character_Iterator(const Virtual_String& On, Place Where) {
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

Character_Iterator::Character_Iterator(const Virtual_String& On,
                                       const Abstract_Character_Cursor& Position) {
    if (Cursors::Internals::Is_Owner(Position, On)) {
        Set_At(Position);
    }
}

void Character_Iterator::invalid_character(std::uint32_t Lead) {
    if (Lead < 0xC2 || Lead > 0xF4) {
        Implementation::UTF8_Encoding::Raise_Invalid_Lead_Unit();
    }
    Implementation::UTF8_Encoding::Raise_String_Data_Corrupted();
}

bool Character_Iterator::Backward() {
    if (Owner() == nullptr) {
        raise_detached();
    }
    next_offset = Unknown_Offset;
    return UTF8::Backward(*text, position);
}

void Character_Iterator::Set_Before_First(const Virtual_String& On) {
    attach(On);
    UTF8::Before_First_Character(*text, position);
}

void Character_Iterator::Set_At_First(const Virtual_String& On) {
    attach(On);
    UTF8::Before_First_Character(*text, position);
    UTF8::Forward(*text, position);
}

void Character_Iterator::Set_At(const Abstract_Character_Cursor& Position) {
    Referrers::Magic_String_Access owner = nullptr;
    Cursor at;
    Get_Owner_And_Position(Position, owner, at);
    if (owner == nullptr) {
        Referrers::Reconnect(*this, nullptr);
        Invalidate();
        throw Constraint_Error("cursor is not attached to a string");
    }
    attach(*Strings::Internals::To_Virtual_String_Access(owner));
    position = before_first_normalized(at);
    next_offset = Unknown_Offset;
}

void Character_Iterator::Set_At_Last(const Virtual_String& On) {
    attach(On);
    UTF8::After_Last_Character(*text, position);
    UTF8::Backward(*text, position);
}

void Character_Iterator::Set_After_Last(const Virtual_String& On) {
    attach(On);
    UTF8::After_Last_Character(*text, position);
}

Virtual_Character Character_Iterator::Element() const {
    if (Owner() == nullptr) {
        raise_detached();
    }
    return UTF8::Element(*text, position);
}

void Character_Iterator::Invalidate() noexcept {
    Character_Cursor_Limited_Base::Invalidate();
    text = nullptr;
    next_offset = Unknown_Offset;
}

void Character_Iterator::String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                         const Cursor_Offset& Inserted) {
    next_offset = Unknown_Offset;
    if (!Implementation::Strings::Fixup_Delete(position, Start, Removed)) {
        // Its character was removed.
        Invalidate();
        Referrers::Disconnect(*this);
        return;
    }
    Implementation::Strings::Fixup_Insert(position, Start, Inserted);
    position = before_first_normalized(position);
}

} // namespace Qorvi::Strings::Cursors::Iterators::Characters

// The character iterator factories of Virtual_String.
namespace Qorvi::Strings {

using Cursors::Iterators::Characters::Character_Iterator;

Character_Iterator Virtual_String::Before_First_Character() const {
    return Character_Iterator(*this, Character_Iterator::Place::Before_First);
}

Character_Iterator Virtual_String::At_First_Character() const {
    return Character_Iterator(*this, Character_Iterator::Place::At_First);
}

Character_Iterator
Virtual_String::At_Character(const Cursors::Abstract_Character_Cursor& Position) const {
    return Character_Iterator(*this, Position);
}

Character_Iterator Virtual_String::At_Last_Character() const {
    return Character_Iterator(*this, Character_Iterator::Place::At_Last);
}

Character_Iterator Virtual_String::After_Last_Character() const {
    return Character_Iterator(*this, Character_Iterator::Place::After_Last);
}

} // namespace Qorvi::Strings
