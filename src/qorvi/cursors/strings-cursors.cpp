#include <qorvi/cursors/strings-cursors-markers.hpp>
#include <qorvi/cursors/strings-cursors.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>

namespace Qorvi::Strings::Cursors {

namespace UTF8 = Implementation::UTF8_Strings;
using Implementation::Referrers::Magic_String_Access;
using Implementation::Referrers::Referal_Base;
using Implementation::Referrers::Referal_Limited_Base;

// Grants the cursor accessors below the stored positions of the four bases.
struct Cursor_Access {
    static const Cursor& Position(const Character_Cursor_Base& Self) noexcept {
        return Self.position;
    }
    static const Cursor& Position(const Character_Cursor_Limited_Base& Self) noexcept {
        return Self.position;
    }
    static const Cursor& First(const Segment_Cursor_Limited_Base& Self) noexcept {
        return Self.first_position;
    }
    static const Cursor& Last(const Segment_Cursor_Limited_Base& Self) noexcept {
        return Self.last_position;
    }
};

namespace {

// The computations shared by the four bases: each takes the owner (null when detached) and
// one stored position.

[[noreturn]] void raise_detached() {
    throw Constraint_Error("cursor is not attached to a string");
}

[[noreturn]] void raise_no_character() {
    throw Constraint_Error("cursor is before the first character");
}

const UTF8::UTF8_String_Data& owner_text(Magic_String_Access owner) {
    if (owner == nullptr) {
        raise_detached();
    }
    return *Strings::Internals::Data_Access_Constant(
        *Strings::Internals::To_Virtual_String_Access(owner));
}

bool is_valid(Magic_String_Access owner, const Cursor& position) noexcept {
    return owner != nullptr && !Implementation::Strings::Is_Invalid(position);
}

Markers::Character_Marker marker(Magic_String_Access owner, const Cursor& position) {
    if (owner == nullptr) {
        raise_detached();
    }
    return Markers::Internals::New_Character_Marker(owner, position);
}

// Index 0 is before the first character (or the invalid cursor): no offset to report.
UTF8_Code_Unit_Offset first_utf8(Magic_String_Access owner, const Cursor& position) {
    if (owner == nullptr) {
        raise_detached();
    }
    if (position.Index == 0 || position.UTF8_Offset < 0) {
        raise_no_character();
    }
    return position.UTF8_Offset;
}

UTF8_Code_Unit_Offset last_utf8(Magic_String_Access owner, const Cursor& position) {
    const UTF8::UTF8_String_Data& text = owner_text(owner);
    if (position.Index == 0 || position.UTF8_Offset < 0) {
        raise_no_character();
    }
    return UTF8::Last_UTF8_Offset(text, position);
}

UTF16_Code_Unit_Offset first_utf16(Magic_String_Access owner, const Cursor& position) {
    const UTF8::UTF8_String_Data& text = owner_text(owner);
    if (position.Index == 0) {
        raise_no_character();
    }
    return UTF8::First_UTF16_Offset(text, position);
}

UTF16_Code_Unit_Offset last_utf16(Magic_String_Access owner, const Cursor& position) {
    const UTF8::UTF8_String_Data& text = owner_text(owner);
    if (position.Index == 0) {
        raise_no_character();
    }
    const UTF16_Code_Unit_Offset result = UTF8::Last_UTF16_Offset(text, position);
    if (result < 0) {
        raise_no_character();
    }
    return result;
}

Character_Count segment_length(const Cursor& first, const Cursor& last) noexcept {
    if (Implementation::Strings::Is_Invalid(first) || last.Index < first.Index) {
        return 0;
    }
    return last.Index - first.Index + 1;
}

Virtual_String segment_text(Magic_String_Access owner, const Cursor& first, const Cursor& last) {
    Virtual_String result;
    if (owner == nullptr || Implementation::Strings::Is_Invalid(first) ||
        Implementation::Strings::Is_Invalid(last)) {
        return result;
    }
    UTF8::UTF8_String_Data slice;
    UTF8::Slice(owner_text(owner), first, last, slice);
    if (!UTF8::Is_Null(slice)) {
        Strings::Internals::Set_By_Move(result, slice);
    }
    return result;
}

} // namespace

Abstract_Cursor::~Abstract_Cursor() = default;

// Character_Cursor_Base

void Character_Cursor_Base::Invalidate() noexcept {
    position = Cursor{};
}
bool Character_Cursor_Base::Is_Valid() const {
    return is_valid(Owner(), position);
}
Markers::Character_Marker Character_Cursor_Base::First_Marker() const {
    return marker(Owner(), position);
}
Markers::Character_Marker Character_Cursor_Base::Last_Marker() const {
    return marker(Owner(), position);
}
Character_Count Character_Cursor_Base::First_Character_Index() const {
    return position.Index;
}
Character_Count Character_Cursor_Base::Last_Character_Index() const {
    return position.Index;
}
UTF8_Code_Unit_Offset Character_Cursor_Base::First_UTF8_Offset() const {
    return first_utf8(Owner(), position);
}
UTF8_Code_Unit_Offset Character_Cursor_Base::Last_UTF8_Offset() const {
    return last_utf8(Owner(), position);
}
UTF16_Code_Unit_Offset Character_Cursor_Base::First_UTF16_Offset() const {
    return first_utf16(Owner(), position);
}
UTF16_Code_Unit_Offset Character_Cursor_Base::Last_UTF16_Offset() const {
    return last_utf16(Owner(), position);
}

// Character_Cursor_Limited_Base

void Character_Cursor_Limited_Base::Invalidate() noexcept {
    position = Cursor{};
}
bool Character_Cursor_Limited_Base::Is_Valid() const {
    return is_valid(Owner(), position);
}
Markers::Character_Marker Character_Cursor_Limited_Base::First_Marker() const {
    return marker(Owner(), position);
}
Markers::Character_Marker Character_Cursor_Limited_Base::Last_Marker() const {
    return marker(Owner(), position);
}
Character_Count Character_Cursor_Limited_Base::First_Character_Index() const {
    return position.Index;
}
Character_Count Character_Cursor_Limited_Base::Last_Character_Index() const {
    return position.Index;
}
UTF8_Code_Unit_Offset Character_Cursor_Limited_Base::First_UTF8_Offset() const {
    return first_utf8(Owner(), position);
}
UTF8_Code_Unit_Offset Character_Cursor_Limited_Base::Last_UTF8_Offset() const {
    return last_utf8(Owner(), position);
}
UTF16_Code_Unit_Offset Character_Cursor_Limited_Base::First_UTF16_Offset() const {
    return first_utf16(Owner(), position);
}
UTF16_Code_Unit_Offset Character_Cursor_Limited_Base::Last_UTF16_Offset() const {
    return last_utf16(Owner(), position);
}

// Segment_Cursor_Base

void Segment_Cursor_Base::Invalidate() noexcept {
    first_position = Cursor{};
    last_position = Cursor{};
}
bool Segment_Cursor_Base::Is_Valid() const {
    return is_valid(Owner(), first_position) && is_valid(Owner(), last_position);
}
Markers::Character_Marker Segment_Cursor_Base::First_Marker() const {
    return marker(Owner(), first_position);
}
Markers::Character_Marker Segment_Cursor_Base::Last_Marker() const {
    return marker(Owner(), last_position);
}
Character_Count Segment_Cursor_Base::First_Character_Index() const {
    return first_position.Index;
}
Character_Count Segment_Cursor_Base::Last_Character_Index() const {
    return last_position.Index;
}
UTF8_Code_Unit_Offset Segment_Cursor_Base::First_UTF8_Offset() const {
    return first_utf8(Owner(), first_position);
}
UTF8_Code_Unit_Offset Segment_Cursor_Base::Last_UTF8_Offset() const {
    return last_utf8(Owner(), last_position);
}
UTF16_Code_Unit_Offset Segment_Cursor_Base::First_UTF16_Offset() const {
    return first_utf16(Owner(), first_position);
}
UTF16_Code_Unit_Offset Segment_Cursor_Base::Last_UTF16_Offset() const {
    return last_utf16(Owner(), last_position);
}
Character_Count Segment_Cursor_Base::Character_Length() const {
    return segment_length(first_position, last_position);
}
Virtual_String Segment_Cursor_Base::Element() const {
    return segment_text(Owner(), first_position, last_position);
}

// Segment_Cursor_Limited_Base

void Segment_Cursor_Limited_Base::Invalidate() noexcept {
    first_position = Cursor{};
    last_position = Cursor{};
}
bool Segment_Cursor_Limited_Base::Is_Valid() const {
    return is_valid(Owner(), first_position) && is_valid(Owner(), last_position);
}
Markers::Character_Marker Segment_Cursor_Limited_Base::First_Marker() const {
    return marker(Owner(), first_position);
}
Markers::Character_Marker Segment_Cursor_Limited_Base::Last_Marker() const {
    return marker(Owner(), last_position);
}
Character_Count Segment_Cursor_Limited_Base::First_Character_Index() const {
    return first_position.Index;
}
Character_Count Segment_Cursor_Limited_Base::Last_Character_Index() const {
    return last_position.Index;
}
UTF8_Code_Unit_Offset Segment_Cursor_Limited_Base::First_UTF8_Offset() const {
    return first_utf8(Owner(), first_position);
}
UTF8_Code_Unit_Offset Segment_Cursor_Limited_Base::Last_UTF8_Offset() const {
    return last_utf8(Owner(), last_position);
}
UTF16_Code_Unit_Offset Segment_Cursor_Limited_Base::First_UTF16_Offset() const {
    return first_utf16(Owner(), first_position);
}
UTF16_Code_Unit_Offset Segment_Cursor_Limited_Base::Last_UTF16_Offset() const {
    return last_utf16(Owner(), last_position);
}
Character_Count Segment_Cursor_Limited_Base::Character_Length() const {
    return segment_length(first_position, last_position);
}
Virtual_String Segment_Cursor_Limited_Base::Element() const {
    return segment_text(Owner(), first_position, last_position);
}

// Operations on any character cursor

Character_Count Character_Index(const Abstract_Character_Cursor& Self) {
    return Self.First_Character_Index();
}

Markers::Character_Marker Marker(const Abstract_Character_Cursor& Self) {
    return Self.First_Marker();
}

void Get_Owner_And_Position(const Abstract_Character_Cursor& Self, Magic_String_Access& Owner,
                            Cursor& Position) {
    if (const auto* limited = dynamic_cast<const Character_Cursor_Limited_Base*>(&Self)) {
        Owner = limited->Owner();
        Position = Cursor_Access::Position(*limited);
        return;
    }
    if (const auto* copyable = dynamic_cast<const Character_Cursor_Base*>(&Self)) {
        Owner = copyable->Owner();
        Position = Cursor_Access::Position(*copyable);
        return;
    }
    throw Program_Error("cursor class not supported: not a character cursor base");
}

} // namespace Qorvi::Strings::Cursors

namespace Qorvi::Strings::Cursors::Internals {

namespace {

enum class End { First, Last };

const Cursor& cursor_access(const Abstract_Cursor& self, End end) {
    if (const auto* limited = dynamic_cast<const Character_Cursor_Limited_Base*>(&self)) {
        return Cursor_Access::Position(*limited);
    }
    if (const auto* copyable = dynamic_cast<const Character_Cursor_Base*>(&self)) {
        return Cursor_Access::Position(*copyable);
    }
    if (const auto* segment = dynamic_cast<const Segment_Cursor_Limited_Base*>(&self)) {
        return end == End::First ? Cursor_Access::First(*segment) : Cursor_Access::Last(*segment);
    }
    throw Program_Error("cursor class not supported by string operations");
}

} // namespace

const Cursor& First_Cursor_Access_Constant(const Abstract_Cursor& Self) {
    return cursor_access(Self, End::First);
}

const Cursor& Last_Cursor_Access_Constant(const Abstract_Cursor& Self) {
    return cursor_access(Self, End::Last);
}

bool Is_Owner(const Abstract_Cursor& Self, const Virtual_String& Owner) {
    const Implementation::Referrers::Magic_String_Base* owner = &Owner;
    if (const auto* copyable = dynamic_cast<const Referal_Base*>(&Self)) {
        return copyable->Owner() == owner;
    }
    if (const auto* limited = dynamic_cast<const Referal_Limited_Base*>(&Self)) {
        return limited->Owner() == owner;
    }
    throw Program_Error("cursor class not supported: not attached through a referrer");
}

} // namespace Qorvi::Strings::Cursors::Internals
