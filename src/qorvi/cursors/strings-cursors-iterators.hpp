// Iterators: non-copyable cursors that move over a Virtual_String, by characters or by runs of
// characters (grapheme clusters, words, lines).
//
// Iterators are made by the factories of Virtual_String (Before_First_Character, ...) and
// returned in their final place: they can be neither copied nor moved, because the string they
// walk links them into its list by address.
#pragma once

#include <qorvi/cursors/strings-cursors.hpp>

namespace Qorvi::Strings::Cursors::Iterators {

// Moves over characters.
class QORVI_API Abstract_Character_Iterator : public Character_Cursor_Limited_Base {
public:
    // Steps to the next (previous) character; returns whether the iterator stands on one.
    virtual bool Forward() = 0;
    virtual bool Backward() = 0;
    // Stands on a character of its string.
    virtual bool Has_Element() const = 0;

protected:
    Abstract_Character_Iterator() noexcept = default;
};

// Moves over runs of characters.
class QORVI_API Abstract_Segment_Iterator : public Segment_Cursor_Limited_Base {
public:
    virtual bool Forward() = 0;
    virtual bool Backward() = 0;
    virtual bool Has_Element() const = 0;

protected:
    Abstract_Segment_Iterator() noexcept = default;
};

} // namespace Qorvi::Strings::Cursors::Iterators
