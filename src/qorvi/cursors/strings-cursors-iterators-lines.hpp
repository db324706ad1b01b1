// Line_Iterator: walks a Virtual_String line by line, forward and backward, with a chosen set
// of line terminators (Line_Terminator_Set; New_Line_Function = CR, LF, CR LF, NEL).
//
//     for (auto it = At_First_Line(text); it.Has_Element(); it.Forward()) {
//         ... it.Element () ... it.Has_Line_Terminator () ...
//     }
//
// A line is a run of characters followed by its terminator; the last line may have none, and a
// text that ends with a terminator has no empty line after it. With Keep_Terminator the
// element (First .. Last) is the line with its terminator; without it, the line alone (an empty
// line then has Last before First and a null Element). Either way the terminator queries tell
// whether the line has a terminator, its text and where it lies.
//
// An edit of the string moves the iterator's positions along like character cursors; removing
// a character they stand on leaves the iterator invalid and detached. The line is not re-read.
#pragma once

#include <cstdint>
#include <qorvi/cursors/strings-cursors-iterators.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>
#include <qorvi/strings/strings-line_terminators.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Lines {
class Line_Iterator;
} // namespace Qorvi::Strings::Cursors::Iterators::Lines

namespace Qorvi::Strings {

// Line iterators attached to Self: on the first line, on the line that holds Position's
// character (a Position not attached to this very string gives a detached iterator), and on the
// last line (the one holding the last character). On an empty string Has_Element is false.
QORVI_API Cursors::Iterators::Lines::Line_Iterator
At_First_Line(const Virtual_String& Self, Line_Terminator_Set Terminators = New_Line_Function,
              bool Keep_Terminator = false);
QORVI_API Cursors::Iterators::Lines::Line_Iterator
At_Line(const Virtual_String& Self, const Cursors::Abstract_Character_Cursor& Position,
        Line_Terminator_Set Terminators = New_Line_Function, bool Keep_Terminator = false);
QORVI_API Cursors::Iterators::Lines::Line_Iterator
At_Last_Line(const Virtual_String& Self, Line_Terminator_Set Terminators = New_Line_Function,
             bool Keep_Terminator = false);

} // namespace Qorvi::Strings

namespace Qorvi::Strings::Cursors::Iterators::Lines {

class QORVI_API Line_Iterator : public Abstract_Segment_Iterator {
public:
    // Detached, on the invalid positions, with the empty terminator set.
    Line_Iterator() noexcept = default;

    // The next line: true when there is one (false after the last line). Detached:
    // Constraint_Error.
    bool Forward() override;
    // The previous line: true when there is one (false before the first line). Detached:
    // Constraint_Error.
    bool Backward() override;
    // On a line (its first character has index 1 .. Length). Detached: Constraint_Error.
    bool Has_Element() const override;

    // Positioning: each attaches the iterator to the string and keeps Terminators and
    // Keep_Terminator for the moves that follow.
    virtual void Set_At_First(const Virtual_String& On, Line_Terminator_Set Terminators,
                              bool Keep_Terminator);
    // On the line holding Position's character. A detached Position leaves the iterator
    // detached and invalid; a cursor that is not a character cursor base raises Program_Error.
    virtual void Set_At(const Abstract_Character_Cursor& Position, Line_Terminator_Set Terminators,
                        bool Keep_Terminator);
    virtual void Set_At_Last(const Virtual_String& On, Line_Terminator_Set Terminators,
                             bool Keep_Terminator);

    // The current line ends with a terminator. Never raises.
    bool Has_Line_Terminator() const noexcept;
    // The terminator's text (CR LF for a CR LF); a null string when there is none. Detached:
    // Constraint_Error.
    Virtual_String Element_Terminator() const;

    // Where the terminator lies. Without a terminator the first index is Length + 1 and the
    // last Length; the first marker and offsets then denote the position after the line
    // (without Keep_Terminator) or the invalid position (with it: a detached, invalid marker and
    // offsets 0x7FFFFFFF), and the last marker is the line's last character (with
    // Keep_Terminator) or detached and invalid. All raise Constraint_Error when detached.
    Character_Count Terminator_First_Character_Index() const;
    Character_Count Terminator_Last_Character_Index() const;
    Markers::Character_Marker Terminator_First_Marker() const;
    Markers::Character_Marker Terminator_Last_Marker() const;
    UTF8_Code_Unit_Offset Terminator_First_UTF8_Offset() const;
    UTF16_Code_Unit_Offset Terminator_First_UTF16_Offset() const;
    // Not provided: always raise Program_Error.
    UTF8_Code_Unit_Offset Terminator_Last_UTF8_Offset() const;
    UTF16_Code_Unit_Offset Terminator_Last_UTF16_Offset() const;

    void Invalidate() noexcept override;
    // Moves the positions along with the edit (see above).
    void String_Modified(const Cursor& Start, const Implementation::Strings::Cursor_Offset& Removed,
                         const Implementation::Strings::Cursor_Offset& Inserted) override;

private:
    friend Line_Iterator Qorvi::Strings::At_First_Line(const Virtual_String& Self,
                                                       Line_Terminator_Set Terminators,
                                                       bool Keep_Terminator);
    friend Line_Iterator
    Qorvi::Strings::At_Line(const Virtual_String& Self,
                            const Qorvi::Strings::Cursors::Abstract_Character_Cursor& Position,
                            Line_Terminator_Set Terminators, bool Keep_Terminator);
    friend Line_Iterator Qorvi::Strings::At_Last_Line(const Virtual_String& Self,
                                                      Line_Terminator_Set Terminators,
                                                      bool Keep_Terminator);

    enum class Place : std::uint8_t { At_First, At_Last };

    Line_Iterator(const Virtual_String& On, Place Where, Line_Terminator_Set Terminators,
                  bool Keep_Terminator);
    Line_Iterator(const Virtual_String& On, const Abstract_Character_Cursor& Position,
                  Line_Terminator_Set Terminators, bool Keep_Terminator);

    void attach(const Virtual_String& On, Line_Terminator_Set Terminators, bool Keep_Terminator);
    void position_at(const Cursor& P);
    // Stores one line found by a search: E its last character with the terminator, S the
    // terminator's first character (invalid when none).
    void store(const Cursor& E, const Cursor& S);
    // The terminator span (see the data above), for an attached iterator.
    Cursor terminator_first() const;
    Cursor terminator_last() const;
    const Implementation::UTF8_Strings::UTF8_String_Data& data() const;

    Line_Terminator_Set terminators;
    bool keep_terminator = false;
    // With Keep_Terminator the terminator's first character, without it its last one; invalid
    // when the line has no terminator.
    Cursor terminator;
    // The owner's string data record while attached.
    const Implementation::UTF8_Strings::UTF8_String_Data* text = nullptr;
};

} // namespace Qorvi::Strings::Cursors::Iterators::Lines
