// Grapheme_Cluster_Iterator: walks a Virtual_String by extended grapheme clusters, the
// user-perceived characters of Unicode 15.1 (UAX #29, with the Indic conjunct rule), forward
// and backward; and tells whether the current cluster is an emoji sequence and how many
// terminal cells it takes.
//
//     for (auto it = Before_First_Grapheme_Cluster(text); it.Forward();) {
//         ... it.Element () ... it.Display_Width () ...
//     }
//
// The cluster is First .. Last inclusive (the inherited position queries). States: before the
// first cluster (index 0), on a cluster, after the last one (index above the length). The
// iterator can be positioned before the first, on the first, on the last and after the last
// cluster; positioning on a character in the middle of the text raises Program_Error.
//
// An edit of the string moves the iterator's ends along like character cursors (text inserted
// at or before an end shifts it forward, removed text before it shifts it back); removing the
// character at either end leaves it invalid and detached. The cluster is not re-read: after
// an edit inside or next to it, the ends need not lie on cluster boundaries of the new text.
#pragma once

#include <cstdint>
#include <qorvi/cursors/implementation-text_segmentation.hpp>
#include <qorvi/cursors/strings-cursors-iterators.hpp>
#include <qorvi/strings/implementation-utf8_strings.hpp>

namespace Qorvi::Strings::Cursors::Iterators::Grapheme_Clusters {
class Grapheme_Cluster_Iterator;
} // namespace Qorvi::Strings::Cursors::Iterators::Grapheme_Clusters

namespace Qorvi::Strings {

// Grapheme cluster iterators attached to Self (which must outlive them, or they are left
// detached when it goes): before the first cluster, on the first, on the cluster of Position
// (only the first or the last character; Program_Error otherwise; a Position not attached to
// this very string gives a detached iterator), on the last, and after the last cluster.
QORVI_API Cursors::Iterators::Grapheme_Clusters::Grapheme_Cluster_Iterator
Before_First_Grapheme_Cluster(const Virtual_String& Self);
QORVI_API Cursors::Iterators::Grapheme_Clusters::Grapheme_Cluster_Iterator
At_First_Grapheme_Cluster(const Virtual_String& Self);
QORVI_API Cursors::Iterators::Grapheme_Clusters::Grapheme_Cluster_Iterator
At_Grapheme_Cluster(const Virtual_String& Self, const Cursors::Abstract_Character_Cursor& Position);
QORVI_API Cursors::Iterators::Grapheme_Clusters::Grapheme_Cluster_Iterator
At_Last_Grapheme_Cluster(const Virtual_String& Self);
QORVI_API Cursors::Iterators::Grapheme_Clusters::Grapheme_Cluster_Iterator
After_Last_Grapheme_Cluster(const Virtual_String& Self);

} // namespace Qorvi::Strings

namespace Qorvi::Strings::Cursors::Iterators::Grapheme_Clusters {

class QORVI_API Grapheme_Cluster_Iterator : public Abstract_Segment_Iterator {
public:
    // Detached, on the invalid positions.
    Grapheme_Cluster_Iterator() noexcept = default;

    // The next cluster: false (and no cluster, after the last one) when there is none or the
    // iterator is detached.
    [[gnu::always_inline]] bool Forward() override {
        namespace UTF8 = Implementation::UTF8_Strings;
        namespace TS = Implementation::Text_Segmentation;
        if (Owner() == nullptr) {
            return false;
        }
        const UTF8::UTF8_String_Data& data = *text;
        const TS::Text in{data.Storage_Address, static_cast<std::uint32_t>(data.Size)};
        TS::Character next = ahead_character();
        Cursor first;
        if (next.Size != 0 && last_position.Index < data.Length) [[likely]] {
            // The previous walk read the character after the cluster already.
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
        const TS::Extent extent = TS::Walk_Grapheme_Cluster(in, next);
        keep_ahead(next);
        first_position = first;
        last_position =
            Cursor{static_cast<UTF8_Code_Unit_Offset>(extent.Offset),
                   moved(first.UTF16_Offset, extent.UTF16_Units), first.Index + extent.Characters};
        return true;
    }

    // The previous cluster: false (and before the first cluster) when there is none; false
    // when detached.
    bool Backward() override;

    // On a cluster (index 1 .. Length). Detached: Constraint_Error.
    bool Has_Element() const override;

    // Positioning: each attaches the iterator to On (leaving the string it walked before).
    virtual void Set_Before_First(const Virtual_String& On);
    // On the first cluster (on an empty string: after the last one).
    virtual void Set_At_First(const Virtual_String& On);
    // On the string of Position, at the cluster of its character, which must be the first or
    // the last one (Program_Error otherwise); before the first or after the last cluster for
    // a position there. A detached Position leaves the iterator detached and invalid; a cursor
    // that is not a character cursor base raises Program_Error.
    virtual void Set_At(const Abstract_Character_Cursor& Position);
    // On the last cluster (before the first one on an empty string).
    virtual void Set_At_Last(const Virtual_String& On);
    virtual void Set_After_Last(const Virtual_String& On);

    // Whether the current cluster is an emoji sequence (UTS #51): a single emoji character, or
    // a presentation, modifier, keycap, flag or tag sequence, or such elements joined by
    // U+200D. False without a current cluster; Constraint_Error when detached.
    bool Is_Emoji() const;

    // Terminal cells taken by the current cluster: 2 when a character is East Asian Wide or
    // Fullwidth, or for an emoji sequence shown as emoji (more than one character, or one
    // character with Emoji_Presentation); 1 otherwise; 0 without a current cluster or when
    // detached.
    std::int32_t Display_Width() const;

    void Invalidate() noexcept override;
    // Moves the ends along with the edit (see above).
    void String_Modified(const Cursor& Start, const Implementation::Strings::Cursor_Offset& Removed,
                         const Implementation::Strings::Cursor_Offset& Inserted) override;

private:
    friend Grapheme_Cluster_Iterator
    Qorvi::Strings::Before_First_Grapheme_Cluster(const Virtual_String& Self);
    friend Grapheme_Cluster_Iterator
    Qorvi::Strings::At_First_Grapheme_Cluster(const Virtual_String& Self);
    friend Grapheme_Cluster_Iterator Qorvi::Strings::At_Grapheme_Cluster(
        const Virtual_String& Self,
        const Qorvi::Strings::Cursors::Abstract_Character_Cursor& Position);
    friend Grapheme_Cluster_Iterator
    Qorvi::Strings::At_Last_Grapheme_Cluster(const Virtual_String& Self);
    friend Grapheme_Cluster_Iterator
    Qorvi::Strings::After_Last_Grapheme_Cluster(const Virtual_String& Self);

    enum class Place : std::uint8_t { Before_First, At_First, At_Last, After_Last };

    // The factories' constructors: the iterator is built attached, in its final place.
    Grapheme_Cluster_Iterator(const Virtual_String& On, Place Where);
    // Positioned at Position when it is attached to On; detached otherwise.
    Grapheme_Cluster_Iterator(const Virtual_String& On, const Abstract_Character_Cursor& Position);

    void attach(const Virtual_String& On);
    // The positioning rule, for a character position P on the owner.
    void position_at(const Cursor& P);
    // The current cluster as a run of code units, or false when there is none.
    bool cluster(Implementation::Text_Segmentation::Text& In, std::uint32_t& First,
                 std::uint32_t& End) const;

    // A UTF-16 offset moved by Units. Offsets of positions the text holds never overflow; a
    // stale one (after Clear or a move of the string, which tell no iterator) is only a number
    // and wraps, defined, instead of overflowing.
    static std::int32_t moved(std::int32_t Offset, std::int32_t Units) noexcept {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(Offset) +
                                         static_cast<std::uint32_t>(Units));
    }

    // The owner's string data record while attached (the record inside the owner object, so
    // every call reads the owner's current text).
    const Implementation::UTF8_Strings::UTF8_String_Data* text = nullptr;
    // The character after the current cluster, read by the last Forward (size 0 when unknown):
    // the next Forward starts from it without reading it again. Every other move, positioning
    // and edit forgets it. Kept as two words (offset and size; code point and record), each
    // written and read whole: narrower reads of a wider write could not take the value from
    // the pending write.
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
};

} // namespace Qorvi::Strings::Cursors::Iterators::Grapheme_Clusters
