// Word_Iterator: walks a Virtual_String forward by the word segments of Unicode 15.1 (UAX #29
// word boundaries). Every run between two boundaries is an element: words, and also runs of
// spaces, line breaks and single punctuation marks; each is classified so that a client can
// skip or keep the separators.
//
//     for (auto it = Before_First_Word(text); it.Forward();) {
//         if (!it.On_Whitespace() && !it.On_Line_Break()) { ... it.Element () ... }
//     }
//
// Only forward iteration from the start is provided: Backward raises Program_Error, and the
// iterator can be positioned before the first segment, on the first, and after the last (on
// the last only for a text of at most one character).
//
// An edit of the string moves the segment's ends along like character cursors; removing the
// character at either end leaves the iterator invalid and detached. The segment is not re-read.
#pragma once

#include <cstdint>
#include <qorvi/cursors/implementation-text_segmentation.hpp>
#include <qorvi/cursors/strings-cursors-iterators.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Words {
class Word_Iterator;
} // namespace Qorvi::Strings::Cursors::Iterators::Words

namespace Qorvi::Strings {

// Word iterators attached to Self: before the first segment, on the first, on the segment of
// Position (before the first, on the first or after the last character only; Program_Error
// otherwise; a Position not attached to this very string gives a detached iterator), on the
// last (texts of at most one character; Program_Error otherwise), after the last segment.
QORVI_API Cursors::Iterators::Words::Word_Iterator Before_First_Word(const Virtual_String& Self);
QORVI_API Cursors::Iterators::Words::Word_Iterator At_First_Word(const Virtual_String& Self);
QORVI_API Cursors::Iterators::Words::Word_Iterator
At_Word(const Virtual_String& Self, const Cursors::Abstract_Character_Cursor& Position);
QORVI_API Cursors::Iterators::Words::Word_Iterator At_Last_Word(const Virtual_String& Self);
QORVI_API Cursors::Iterators::Words::Word_Iterator After_Last_Word(const Virtual_String& Self);

} // namespace Qorvi::Strings

namespace Qorvi::Strings::Cursors::Iterators::Words {

// The classification of a segment: a run of WSegSpace characters (U+0020, U+3000, ...) is
// whitespace, CR, LF, CR LF, NEL, LS, PS, VT and FF are line breaks, everything else is text
// (a tab too, and a space followed by a combining mark).
enum class Element_Kind : std::uint8_t { TEXT, WHITESPACE, LINE_BREAK };

class QORVI_API Word_Iterator : public Abstract_Segment_Iterator {
public:
    // Detached, on the invalid positions.
    Word_Iterator() noexcept = default;

    // The next segment: false (and after the last segment) when there is none. Detached:
    // Constraint_Error.
    [[gnu::always_inline]] bool Forward() override {
        namespace UTF8 = Implementation::UTF8_Strings;
        namespace TS = Implementation::Text_Segmentation;
        if (Owner() == nullptr) {
            raise_detached();
        }
        const UTF8::UTF8_String_Data& data = *text;
        const TS::Text in{data.Storage_Address, static_cast<std::uint32_t>(data.Size)};
        kind = Element_Kind::TEXT;
        TS::Character next = ahead_character();
        Cursor first;
        if (next.Size != 0 && last_position.Index < data.Length) [[likely]] {
            // The previous walk read the character after the segment already.
            first = Cursor{static_cast<UTF8_Code_Unit_Offset>(next.Offset),
                           moved(last_position.UTF16_Offset,
                                 TS::UTF16_Units(next.Offset - static_cast<std::uint32_t>(
                                                                   last_position.UTF8_Offset))),
                           last_position.Index + 1};
        } else {
            first = last_position;
            if (!UTF8::Forward(data, first)) {
                first_position = first;
                forget_ahead();
                return false;
            }
            next = TS::Read_Character(in, static_cast<std::uint32_t>(first.UTF8_Offset));
            if (next.Size == 0) [[unlikely]] {
                UTF8::Raise_Position_Out_Of_Range();
            }
        }
        TS::Word_Kind found;
        const TS::Extent extent = TS::Walk_Word_Segment(in, next, found);
        keep_ahead(next);
        kind = static_cast<Element_Kind>(found);
        first_position = first;
        last_position =
            Cursor{static_cast<UTF8_Code_Unit_Offset>(extent.Offset),
                   moved(first.UTF16_Offset, extent.UTF16_Units), first.Index + extent.Characters};
        return true;
    }
    // Not provided: always raises Program_Error.
    bool Backward() override;
    // On a segment (index 1 .. Length). Detached: Constraint_Error.
    bool Has_Element() const override;

    // Positioning: each attaches the iterator to On (see above for the places it can take).
    void Set_Before_First(const Virtual_String& On);
    void Set_At_First(const Virtual_String& On);
    // A detached Position leaves the iterator detached and invalid; a cursor that is not a
    // character cursor base raises Program_Error.
    void Set_At(const Abstract_Character_Cursor& Position);
    void Set_At_Last(const Virtual_String& On);
    void Set_After_Last(const Virtual_String& On);

    // On a segment of that kind. Detached: Constraint_Error.
    bool On_Line_Break() const;
    bool On_Whitespace() const;

    void Invalidate() noexcept override;
    // Moves the ends along with the edit (see above).
    void String_Modified(const Cursor& Start, const Implementation::Strings::Cursor_Offset& Removed,
                         const Implementation::Strings::Cursor_Offset& Inserted) override;

private:
    friend Word_Iterator Qorvi::Strings::Before_First_Word(const Virtual_String& Self);
    friend Word_Iterator Qorvi::Strings::At_First_Word(const Virtual_String& Self);
    friend Word_Iterator
    Qorvi::Strings::At_Word(const Virtual_String& Self,
                            const Qorvi::Strings::Cursors::Abstract_Character_Cursor& Position);
    friend Word_Iterator Qorvi::Strings::At_Last_Word(const Virtual_String& Self);
    friend Word_Iterator Qorvi::Strings::After_Last_Word(const Virtual_String& Self);

    enum class Place : std::uint8_t { Before_First, At_First, At_Last, After_Last };

    Word_Iterator(const Virtual_String& On, Place Where);
    Word_Iterator(const Virtual_String& On, const Abstract_Character_Cursor& Position);

    void attach(const Virtual_String& On);
    void position_at(const Cursor& P);
    [[noreturn]] static void raise_detached();

    // A UTF-16 offset moved by Units; a stale one (after Clear or a move of the string, which
    // tell no iterator) wraps, defined, instead of overflowing, and is never used to read.
    static std::int32_t moved(std::int32_t Offset, std::int32_t Units) noexcept {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(Offset) +
                                         static_cast<std::uint32_t>(Units));
    }

    // The owner's string data record while attached.
    const Implementation::UTF8_Strings::UTF8_String_Data* text = nullptr;
    // The character after the current segment, read by the last Forward (size 0 when unknown),
    // kept as two words (offset and size; code point and record), each written and read whole:
    // narrower reads of a wider write could not take the value from the pending write.
    std::uint64_t ahead_place = 0;
    std::uint64_t ahead_value = 0;

    Implementation::Text_Segmentation::Character ahead_character() const noexcept {
        return {static_cast<std::uint32_t>(ahead_place),
                static_cast<std::uint32_t>(ahead_place >> 32),
                static_cast<char32_t>(ahead_value),
                {static_cast<std::uint32_t>(ahead_value >> 32)}};
    }
    void keep_ahead(const Implementation::Text_Segmentation::Character& Read) noexcept {
        ahead_place = Read.Offset | std::uint64_t{Read.Size} << 32;
        ahead_value = Read.Code | std::uint64_t{Read.Record.Raw} << 32;
    }
    void forget_ahead() noexcept { ahead_place = 0; }
    // The classification of the segment found by the last Forward.
    Element_Kind kind = Element_Kind::TEXT;
};

} // namespace Qorvi::Strings::Cursors::Iterators::Words
