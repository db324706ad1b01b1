// Markers: stored, copyable positions in a Virtual_String.
//
// A marker is obtained from any cursor (First_Marker, Last_Marker, Marker). A copy of an attached
// marker is attached to the same string; assigning to a marker first detaches it. A character
// marker follows its character through edits: text inserted at or before it shifts it forward,
// text removed before it shifts it back, and removing the character itself makes the marker
// invalid and detached for good.
#pragma once

#include <qorvi/cursors/strings-cursors.hpp>

namespace Qorvi::Strings::Cursors::Markers {

class Character_Marker;
class Segment_Marker;

namespace Internals {

// A marker at Position on Owner (attached at the end of Owner's list), or a detached, invalid
// marker when Position is the invalid cursor.
QORVI_API Character_Marker
New_Character_Marker(Implementation::Referrers::Magic_String_Access Owner, const Cursor& Position);

// A segment marker holding First and Last, always attached to Owner (Constraint_Error when
// Owner is null).
QORVI_API Segment_Marker New_Segment_Marker(Implementation::Referrers::Magic_String_Access Owner,
                                            const Cursor& First, const Cursor& Last);

} // namespace Internals

class QORVI_API Character_Marker : public Character_Cursor_Base {
public:
    // Detached and invalid.
    Character_Marker() noexcept = default;
    Character_Marker(const Character_Marker&) noexcept = default;
    Character_Marker& operator=(const Character_Marker&) noexcept = default;

    void String_Modified(const Cursor& Start, const Implementation::Strings::Cursor_Offset& Removed,
                         const Implementation::Strings::Cursor_Offset& Inserted) override;

private:
    friend Character_Marker
    Internals::New_Character_Marker(Implementation::Referrers::Magic_String_Access Owner,
                                    const Cursor& Position);

    Character_Marker(Implementation::Referrers::Magic_String_Access owner, const Cursor& at);
};

// A stored run of characters. Its ends follow edits like character markers; when the character
// at either end is removed, the whole segment marker becomes invalid and detached.
class QORVI_API Segment_Marker : public Segment_Cursor_Base {
public:
    Segment_Marker() noexcept = default;
    Segment_Marker(const Segment_Marker&) noexcept = default;
    Segment_Marker& operator=(const Segment_Marker&) noexcept = default;

    void String_Modified(const Cursor& Start, const Implementation::Strings::Cursor_Offset& Removed,
                         const Implementation::Strings::Cursor_Offset& Inserted) override;

private:
    friend Segment_Marker
    Internals::New_Segment_Marker(Implementation::Referrers::Magic_String_Access Owner,
                                  const Cursor& First, const Cursor& Last);

    Segment_Marker(Implementation::Referrers::Magic_String_Access owner, const Cursor& first,
                   const Cursor& last);
};

} // namespace Qorvi::Strings::Cursors::Markers
