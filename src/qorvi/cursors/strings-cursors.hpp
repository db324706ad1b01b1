// Cursors: objects that denote a place in a Virtual_String (one character, or a run of
// characters) and answer where it is, by character index and by UTF-8 and UTF-16 offsets.
//
// Markers (strings-cursors-markers.hpp) are copyable stored positions; iterators
// (strings-cursors-iterators*.hpp) are non-copyable positions that move. Both attach to one
// string object and follow its edits. A cursor whose string was destroyed or assigned to, or
// whose character was deleted, is invalid and detached.
//
// Positions are those of the string: index 0 is before the first character, 1 .. Length a
// character, Length + 1 after the last one. Offsets count code units from 0; the offset
// queries need an attached cursor standing on a character (Constraint_Error otherwise).
#pragma once

#include <qorvi/cursors/implementation-referrers.hpp>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-strings.hpp>
#include <qorvi/strings/strings.hpp>

namespace Qorvi::Strings::Cursors {

using Implementation::Strings::Cursor;

namespace Markers {
class Character_Marker;
} // namespace Markers

// The questions every cursor answers.
class QORVI_API Abstract_Cursor {
public:
    virtual ~Abstract_Cursor();

    // Attached to a string and standing on a position (possibly before the first or after the
    // last character).
    virtual bool Is_Valid() const = 0;
    // A marker on the first (last) character of the cursor; Constraint_Error when detached.
    virtual Markers::Character_Marker First_Marker() const = 0;
    virtual Markers::Character_Marker Last_Marker() const = 0;
    // Character indices; 0 for an invalid cursor. Never raise.
    virtual Character_Count First_Character_Index() const = 0;
    virtual Character_Count Last_Character_Index() const = 0;
    // Offset of the first code unit of the first character, and of the last code unit of the
    // last character, from the start of the text.
    virtual UTF8_Code_Unit_Offset First_UTF8_Offset() const = 0;
    virtual UTF8_Code_Unit_Offset Last_UTF8_Offset() const = 0;
    virtual UTF16_Code_Unit_Offset First_UTF16_Offset() const = 0;
    virtual UTF16_Code_Unit_Offset Last_UTF16_Offset() const = 0;

protected:
    Abstract_Cursor() noexcept = default;
    Abstract_Cursor(const Abstract_Cursor&) noexcept = default;
    Abstract_Cursor& operator=(const Abstract_Cursor&) noexcept = default;
};

// A cursor on one character: its first and last are the same character.
class QORVI_API Abstract_Character_Cursor : public Abstract_Cursor {
protected:
    Abstract_Character_Cursor() noexcept = default;
    Abstract_Character_Cursor(const Abstract_Character_Cursor&) noexcept = default;
    Abstract_Character_Cursor& operator=(const Abstract_Character_Cursor&) noexcept = default;
};

// A cursor on a run of characters.
class QORVI_API Abstract_Segment_Cursor : public Abstract_Cursor {
public:
    // Number of characters from the first to the last; 0 when the last lies before the first.
    virtual Character_Count Character_Length() const = 0;
    // The text of the run; a null string when detached.
    virtual Virtual_String Element() const = 0;

protected:
    Abstract_Segment_Cursor() noexcept = default;
    Abstract_Segment_Cursor(const Abstract_Segment_Cursor&) noexcept = default;
    Abstract_Segment_Cursor& operator=(const Abstract_Segment_Cursor&) noexcept = default;
};

struct Cursor_Access;

// Copyable character cursor (the base of Character_Marker): one stored position.
class QORVI_API Character_Cursor_Base : public Implementation::Referrers::Referal_Base,
                                        public Abstract_Character_Cursor {
public:
    // position := the invalid cursor.
    void Invalidate() noexcept override;

    bool Is_Valid() const override;
    Markers::Character_Marker First_Marker() const override;
    Markers::Character_Marker Last_Marker() const override;
    Character_Count First_Character_Index() const override;
    Character_Count Last_Character_Index() const override;
    UTF8_Code_Unit_Offset First_UTF8_Offset() const override;
    UTF8_Code_Unit_Offset Last_UTF8_Offset() const override;
    UTF16_Code_Unit_Offset First_UTF16_Offset() const override;
    UTF16_Code_Unit_Offset Last_UTF16_Offset() const override;

protected:
    Character_Cursor_Base() noexcept = default;
    Character_Cursor_Base(const Character_Cursor_Base&) noexcept = default;
    Character_Cursor_Base& operator=(const Character_Cursor_Base&) noexcept = default;

    Cursor position;

private:
    friend struct Cursor_Access;
};

// Non-copyable character cursor (the base of the character iterators).
class QORVI_API Character_Cursor_Limited_Base
    : public Implementation::Referrers::Referal_Limited_Base,
      public Abstract_Character_Cursor {
public:
    void Invalidate() noexcept override;

    bool Is_Valid() const override;
    Markers::Character_Marker First_Marker() const override;
    Markers::Character_Marker Last_Marker() const override;
    Character_Count First_Character_Index() const override;
    Character_Count Last_Character_Index() const override;
    UTF8_Code_Unit_Offset First_UTF8_Offset() const override;
    UTF8_Code_Unit_Offset Last_UTF8_Offset() const override;
    UTF16_Code_Unit_Offset First_UTF16_Offset() const override;
    UTF16_Code_Unit_Offset Last_UTF16_Offset() const override;

protected:
    Character_Cursor_Limited_Base() noexcept = default;

    Cursor position;

private:
    friend struct Cursor_Access;
};

// Copyable segment cursor (the base of Segment_Marker): first and last position, inclusive.
class QORVI_API Segment_Cursor_Base : public Implementation::Referrers::Referal_Base,
                                      public Abstract_Segment_Cursor {
public:
    // Both positions := the invalid cursor.
    void Invalidate() noexcept override;

    bool Is_Valid() const override;
    Markers::Character_Marker First_Marker() const override;
    Markers::Character_Marker Last_Marker() const override;
    Character_Count First_Character_Index() const override;
    Character_Count Last_Character_Index() const override;
    UTF8_Code_Unit_Offset First_UTF8_Offset() const override;
    UTF8_Code_Unit_Offset Last_UTF8_Offset() const override;
    UTF16_Code_Unit_Offset First_UTF16_Offset() const override;
    UTF16_Code_Unit_Offset Last_UTF16_Offset() const override;
    // Read from the stored positions only, so a detached segment still reports its length.
    Character_Count Character_Length() const override;
    Virtual_String Element() const override;

protected:
    Segment_Cursor_Base() noexcept = default;
    Segment_Cursor_Base(const Segment_Cursor_Base&) noexcept = default;
    Segment_Cursor_Base& operator=(const Segment_Cursor_Base&) noexcept = default;

    Cursor first_position;
    Cursor last_position;

private:
    friend struct Cursor_Access;
};

// Non-copyable segment cursor (the base of the grapheme cluster, word and line iterators).
class QORVI_API Segment_Cursor_Limited_Base
    : public Implementation::Referrers::Referal_Limited_Base,
      public Abstract_Segment_Cursor {
public:
    void Invalidate() noexcept override;

    bool Is_Valid() const override;
    Markers::Character_Marker First_Marker() const override;
    Markers::Character_Marker Last_Marker() const override;
    Character_Count First_Character_Index() const override;
    Character_Count Last_Character_Index() const override;
    UTF8_Code_Unit_Offset First_UTF8_Offset() const override;
    UTF8_Code_Unit_Offset Last_UTF8_Offset() const override;
    UTF16_Code_Unit_Offset First_UTF16_Offset() const override;
    UTF16_Code_Unit_Offset Last_UTF16_Offset() const override;
    Character_Count Character_Length() const override;
    Virtual_String Element() const override;

protected:
    Segment_Cursor_Limited_Base() noexcept = default;

    Cursor first_position;
    Cursor last_position;

private:
    friend struct Cursor_Access;
};

// Self's First_Character_Index.
QORVI_API Character_Count Character_Index(const Abstract_Character_Cursor& Self);

// Self's First_Marker.
QORVI_API Markers::Character_Marker Marker(const Abstract_Character_Cursor& Self);

// Self's owner (null when detached) and stored position. Accepts the two character cursor
// bases (and their derived classes); any other class raises Program_Error.
QORVI_API void Get_Owner_And_Position(const Abstract_Character_Cursor& Self,
                                      Implementation::Referrers::Magic_String_Access& Owner,
                                      Cursor& Position);

} // namespace Qorvi::Strings::Cursors

// How the string operations read a cursor argument; for the library's own units.
namespace Qorvi::Strings::Cursors::Internals {

// The position of a character cursor, or the first position of a non-copyable segment cursor.
// Any other class (a Segment_Marker included) raises Program_Error.
QORVI_API const Cursor& First_Cursor_Access_Constant(const Abstract_Cursor& Self);
// The position of a character cursor, or the last position of a non-copyable segment cursor.
QORVI_API const Cursor& Last_Cursor_Access_Constant(const Abstract_Cursor& Self);

// True exactly when Self is attached to that very string object (not to an equal copy). A
// class that is not a referrer raises Program_Error.
QORVI_API bool Is_Owner(const Abstract_Cursor& Self, const Virtual_String& Owner);

} // namespace Qorvi::Strings::Cursors::Internals

#include <qorvi/cursors/strings-cursors-markers.hpp>
