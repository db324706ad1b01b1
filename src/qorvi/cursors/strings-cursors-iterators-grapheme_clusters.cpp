#include <qorvi/cursors/strings-cursors-iterators-grapheme_clusters.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Grapheme_Clusters {

namespace UTF8 = Implementation::UTF8_Strings;
namespace TS = Implementation::Text_Segmentation;
namespace Referrers = Implementation::Referrers;
using Implementation::Strings::Cursor_Offset;

namespace {

[[noreturn]] void raise_detached() {
    throw Constraint_Error("iterator is not attached to a string");
}

TS::Text text_of(const UTF8::UTF8_String_Data& data) noexcept {
    return {data.Storage_Address, static_cast<std::uint32_t>(data.Size)};
}

} // namespace

void Grapheme_Cluster_Iterator::attach(const Virtual_String& On) {
    // The list heads of a string are bookkeeping, not its value: attaching to a string the
    // caller can only read changes nothing of it.
    Referrers::Reconnect(*this, const_cast<Virtual_String*>(&On));
    text = Strings::Internals::Data_Access_Constant(On);
    forget_ahead();
}

Grapheme_Cluster_Iterator::Grapheme_Cluster_Iterator(const Virtual_String& On, Place Where) {
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

Grapheme_Cluster_Iterator::Grapheme_Cluster_Iterator(const Virtual_String& On,
                                                     const Abstract_Character_Cursor& Position) {
    if (Cursors::Internals::Is_Owner(Position, On)) {
        Set_At(Position);
    }
}

void Grapheme_Cluster_Iterator::position_at(const Cursor& P) {
    const UTF8::UTF8_String_Data& data = *text;
    if (P.Index == 0 || P.Index > data.Length) {
        first_position = P;
        last_position = P;
    } else if (P.Index == 1) {
        first_position = Implementation::Strings::Position_Before_First_Character;
        last_position = first_position;
        Forward();
    } else if (P.Index == data.Length) {
        Cursor after = P;
        UTF8::Forward(data, after);
        first_position = after;
        last_position = after;
        Backward();
    } else {
        throw Program_Error(
            "grapheme cluster iterator: positioning inside the text is not supported");
    }
}

void Grapheme_Cluster_Iterator::Set_Before_First(const Virtual_String& On) {
    attach(On);
    position_at(Implementation::Strings::Position_Before_First_Character);
}

void Grapheme_Cluster_Iterator::Set_At_First(const Virtual_String& On) {
    attach(On);
    Cursor p = Implementation::Strings::Position_Before_First_Character;
    UTF8::Forward(*text, p);
    position_at(p);
}

void Grapheme_Cluster_Iterator::Set_At(const Abstract_Character_Cursor& Position) {
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

void Grapheme_Cluster_Iterator::Set_At_Last(const Virtual_String& On) {
    attach(On);
    Cursor p;
    UTF8::After_Last_Character(*text, p);
    UTF8::Backward(*text, p);
    position_at(p);
}

void Grapheme_Cluster_Iterator::Set_After_Last(const Virtual_String& On) {
    attach(On);
    Cursor p;
    UTF8::After_Last_Character(*text, p);
    position_at(p);
}

bool Grapheme_Cluster_Iterator::Backward() {
    if (Owner() == nullptr) {
        return false;
    }
    forget_ahead();
    const UTF8::UTF8_String_Data& data = *text;
    Cursor last = first_position;
    if (!UTF8::Backward(data, last)) {
        first_position = last;
        last_position = last;
        return false;
    }
    const TS::Extent extent =
        TS::Previous_Grapheme_Cluster(text_of(data), static_cast<std::uint32_t>(last.UTF8_Offset));
    last_position = last;
    first_position =
        Cursor{static_cast<UTF8_Code_Unit_Offset>(extent.Offset),
               moved(last.UTF16_Offset, -extent.UTF16_Units), last.Index - extent.Characters};
    return true;
}

bool Grapheme_Cluster_Iterator::Has_Element() const {
    if (Owner() == nullptr) {
        raise_detached();
    }
    return UTF8::Has_Character(*text, first_position);
}

bool Grapheme_Cluster_Iterator::cluster(TS::Text& In, std::uint32_t& First,
                                        std::uint32_t& End) const {
    const UTF8::UTF8_String_Data& data = *text;
    if (!UTF8::Has_Character(data, first_position) || !UTF8::Has_Character(data, last_position) ||
        last_position.Index < first_position.Index) {
        return false;
    }
    In = text_of(data);
    First = static_cast<std::uint32_t>(first_position.UTF8_Offset);
    char32_t ignored;
    const auto last = static_cast<std::uint32_t>(last_position.UTF8_Offset);
    End = last + TS::Decode(In, last, ignored);
    if (First >= End) {
        // Positions the text can not hold (the string was cleared or moved from, which tells
        // no iterator).
        UTF8::Raise_Position_Out_Of_Range();
    }
    return true;
}

bool Grapheme_Cluster_Iterator::Is_Emoji() const {
    if (Owner() == nullptr) {
        raise_detached();
    }
    TS::Text in;
    std::uint32_t first;
    std::uint32_t end;
    return cluster(in, first, end) && TS::Is_Emoji_Sequence(in, first, end);
}

std::int32_t Grapheme_Cluster_Iterator::Display_Width() const {
    if (Owner() == nullptr) {
        return 0;
    }
    TS::Text in;
    std::uint32_t first;
    std::uint32_t end;
    if (!cluster(in, first, end)) {
        return 0;
    }
    return TS::Cluster_Display_Width(in, first, end);
}

void Grapheme_Cluster_Iterator::Invalidate() noexcept {
    Segment_Cursor_Limited_Base::Invalidate();
    text = nullptr;
    forget_ahead();
}

void Grapheme_Cluster_Iterator::String_Modified(const Cursor& Start, const Cursor_Offset& Removed,
                                                const Cursor_Offset& Inserted) {
    forget_ahead();
    if (!Implementation::Strings::Fixup_Segment(first_position, last_position, Start, Removed,
                                                Inserted)) {
        Invalidate();
        Referrers::Disconnect(*this);
    }
}

} // namespace Qorvi::Strings::Cursors::Iterators::Grapheme_Clusters

// The grapheme cluster iterator factories.
namespace Qorvi::Strings {

using Cursors::Iterators::Grapheme_Clusters::Grapheme_Cluster_Iterator;

Grapheme_Cluster_Iterator Before_First_Grapheme_Cluster(const Virtual_String& Self) {
    return Grapheme_Cluster_Iterator(Self, Grapheme_Cluster_Iterator::Place::Before_First);
}

Grapheme_Cluster_Iterator At_First_Grapheme_Cluster(const Virtual_String& Self) {
    return Grapheme_Cluster_Iterator(Self, Grapheme_Cluster_Iterator::Place::At_First);
}

Grapheme_Cluster_Iterator At_Grapheme_Cluster(const Virtual_String& Self,
                                              const Cursors::Abstract_Character_Cursor& Position) {
    return Grapheme_Cluster_Iterator(Self, Position);
}

Grapheme_Cluster_Iterator At_Last_Grapheme_Cluster(const Virtual_String& Self) {
    return Grapheme_Cluster_Iterator(Self, Grapheme_Cluster_Iterator::Place::At_Last);
}

Grapheme_Cluster_Iterator After_Last_Grapheme_Cluster(const Virtual_String& Self) {
    return Grapheme_Cluster_Iterator(Self, Grapheme_Cluster_Iterator::Place::After_Last);
}

} // namespace Qorvi::Strings
