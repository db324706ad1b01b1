#include <qorvi/cursors/strings-cursors-markers.hpp>

namespace Qorvi::Strings::Cursors::Markers {

using Implementation::Referrers::Magic_String_Access;
using Implementation::Strings::Cursor_Offset;
using Implementation::Strings::Fixup_Delete;
using Implementation::Strings::Fixup_Insert;

Character_Marker::Character_Marker(Magic_String_Access owner, const Cursor& at) {
    if (!Implementation::Strings::Is_Invalid(at)) {
        position = at;
        Implementation::Referrers::Connect(*this, owner);
    }
}

void Character_Marker::String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                       const Cursor_Offset& Inserted) {
    if (!Fixup_Delete(position, Start, Removed)) {
        // The marked character was removed (Fixup_Delete made the position invalid).
        Implementation::Referrers::Disconnect(*this);
        return;
    }
    Fixup_Insert(position, Start, Inserted);
}

Segment_Marker::Segment_Marker(Magic_String_Access owner, const Cursor& first, const Cursor& last) {
    first_position = first;
    last_position = last;
    Implementation::Referrers::Connect(*this, owner);
}

void Segment_Marker::String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                     const Cursor_Offset& Inserted) {
    // Both ends follow the edit as character markers do; losing either end loses the segment.
    if (!Implementation::Strings::Fixup_Segment(first_position, last_position, Start, Removed,
                                                Inserted)) {
        Invalidate();
        Implementation::Referrers::Disconnect(*this);
    }
}

} // namespace Qorvi::Strings::Cursors::Markers

namespace Qorvi::Strings::Cursors::Markers::Internals {

Character_Marker New_Character_Marker(Magic_String_Access Owner, const Cursor& Position) {
    return Character_Marker(Owner, Position);
}

Segment_Marker New_Segment_Marker(Magic_String_Access Owner, const Cursor& First,
                                  const Cursor& Last) {
    return Segment_Marker(Owner, First, Last);
}

} // namespace Qorvi::Strings::Cursors::Markers::Internals
