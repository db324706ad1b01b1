// The break rules of text segmentation over UTF-8 text: extended grapheme clusters and word
// segments (Unicode 15.1), emoji sequences within a cluster, and the display width of a cluster.
//
// The functions work on a bare run of well-formed UTF-8 code units and byte offsets, so that
// the iterators, the whole-string width and the conformance tests share one implementation.
// Every read is checked against the run: an offset outside it raises Constraint_Error, and a
// unit that can not start a character (or a character cut by the end) raises Program_Error
// "string data is corrupted"; nothing reads outside the run.
//
// The walks inline the character property lookup (two dependent table reads) and decide most
// pairs with one byte-table lookup; the context rules that look further back are out of line,
// since they run only for the few pairs that need them.
#pragma once

#include <cstdint>
#include <qorvi/qorvi.hpp>
#include <qorvi/strings/implementation-utf8_encoding.hpp>
#include <qorvi/ucd/implementation-ucd_core.hpp>

namespace Qorvi::Implementation::Text_Segmentation {

using UCD_Core::Core_Data_Record;
using UCD_Core::GCB_Values;
using UCD_Core::WB_Values;

// A run of well-formed UTF-8 code units (Units may be null when Size is 0).
struct Text {
    const std::uint8_t* Units = nullptr;
    std::uint32_t Size = 0;
};

// How far a walk went from the character it started on to the character at the other end of
// the segment: that character's offset, and the characters and UTF-16 code units passed over
// (0 and 0 for a one-character segment).
struct Extent {
    std::uint32_t Offset;
    std::int32_t Characters;
    std::int32_t UTF16_Units;
};

// The classification of a word segment.
enum class Word_Kind : std::uint8_t { TEXT, WHITESPACE, LINE_BREAK };

// The code point at Offset and its number of code units.
[[gnu::always_inline]] inline std::uint32_t Decode(const Text& In, std::uint32_t Offset,
                                                   char32_t& Code) {
    if (Offset >= In.Size) [[unlikely]] {
        UTF8_Encoding::Raise_Offset_Out_Of_Range();
    }
    const std::uint8_t* at = In.Units + Offset;
    const std::uint32_t lead = at[0];
    if (lead < 0x80) [[likely]] {
        Code = lead;
        return 1;
    }
    const std::uint32_t room = In.Size - Offset;
    if (lead < 0xE0) {
        if (lead < 0xC2 || room < 2) [[unlikely]] {
            UTF8_Encoding::Raise_String_Data_Corrupted();
        }
        Code = ((lead & 0x1Fu) << 6) | (at[1] & 0x3Fu);
        return 2;
    }
    if (lead < 0xF0) {
        if (room < 3) [[unlikely]] {
            UTF8_Encoding::Raise_String_Data_Corrupted();
        }
        Code = ((lead & 0x0Fu) << 12) | ((at[1] & 0x3Fu) << 6) | (at[2] & 0x3Fu);
        return 3;
    }
    if (lead > 0xF4 || room < 4) [[unlikely]] {
        UTF8_Encoding::Raise_String_Data_Corrupted();
    }
    Code =
        ((lead & 0x07u) << 18) | ((at[1] & 0x3Fu) << 12) | ((at[2] & 0x3Fu) << 6) | (at[3] & 0x3Fu);
    return 4;
}

// The offset of the character that ends just before End (End > 0), and its code point.
inline std::uint32_t Decode_Backward(const Text& In, std::uint32_t End, char32_t& Code) {
    if (End == 0 || End > In.Size) [[unlikely]] {
        UTF8_Encoding::Raise_Offset_Out_Of_Range();
    }
    std::uint32_t start = End - 1;
    if (In.Units[start] < 0x80) [[likely]] {
        Code = In.Units[start];
        return start;
    }
    while (start > 0 && End - start < 4 && (In.Units[start] & 0xC0u) == 0x80) {
        start -= 1;
    }
    if (Decode(In, start, Code) != End - start) [[unlikely]] {
        UTF8_Encoding::Raise_String_Data_Corrupted();
    }
    return start;
}

// The UTF-16 code units of a character of Size UTF-8 code units.
constexpr std::int32_t UTF16_Units(std::uint32_t Size) noexcept {
    return Size == 4 ? 2 : 1;
}

// The property record of a code point (two table reads).
[[gnu::always_inline]] inline Core_Data_Record Properties(char32_t Code) {
    return UCD_Core::Get_Core_Data(Code);
}

// One character of a text with its properties, as the walks read it: its offset, its number
// of code units (0 for none: the offset is the end of the text), code point and record. The
// grapheme cluster walk does not read the record of an ASCII character that it passes without
// needing it: Record is then Unread_Record (reserved bits set, so no real record equals it).
struct Character {
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
    char32_t Code = 0;
    Core_Data_Record Record{0};
};

inline constexpr Core_Data_Record Unread_Record{0xFFFF'FFFF};

// The character at Offset (Offset <= Size; at Size, no character).
[[gnu::always_inline]] inline Character Read_Character(const Text& In, std::uint32_t Offset) {
    Character result;
    result.Offset = Offset;
    if (Offset >= In.Size) [[unlikely]] {
        if (Offset == In.Size) {
            return result;
        }
        UTF8_Encoding::Raise_Offset_Out_Of_Range();
    }
    result.Size = Decode(In, Offset, result.Code);
    result.Record = Properties(result.Code);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Grapheme clusters

// Pair table of rules GB3 to GB9b, row = the grapheme break value before the position, column
// = the value after it: 0 boundary, 1 no boundary, 2 boundary unless a context rule (GB9c,
// GB11, GB12/13) joins. Order of values: CN CR EX L LF LV LVT PP RI SM T V XX ZWJ.
inline constexpr std::uint8_t Grapheme_Pair_Table[14 * 14] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // CN
    0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, // CR
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 2, 2, 2, 1, // EX
    0, 0, 1, 1, 0, 1, 1, 2, 2, 1, 2, 1, 2, 1, // L
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // LF
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 1, 1, 2, 1, // LV
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 1, 2, 2, 1, // LVT
    0, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, // PP
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 2, 2, 2, 1, // RI
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 2, 2, 2, 1, // SM
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 1, 2, 2, 1, // T
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 1, 1, 2, 1, // V
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 2, 2, 2, 1, // XX
    0, 0, 1, 2, 0, 2, 2, 2, 2, 1, 2, 2, 2, 1, // ZWJ
};

// The context rules for a pair marked 2: B is the character at Offset_B, A the one after it.
// True when they are not separated (GB9c, GB11, GB12/13); false for GB999.
QORVI_API bool Grapheme_Context_Joins(const Text& In, std::uint32_t Offset_B, Core_Data_Record B,
                                      Core_Data_Record A);

// Whether the characters B (at Offset_B) and A (right after it) belong to one cluster. Before_B
// is the record of the character before B when the caller has it at hand (else Unread_Record):
// the usual Indic conjunct cases are then decided without looking back.
[[gnu::always_inline]] inline bool Grapheme_Joins(const Text& In, std::uint32_t Offset_B,
                                                  Core_Data_Record B, Core_Data_Record A,
                                                  Core_Data_Record Before_B = Unread_Record) {
    const unsigned b = UCD_Core::GCB_Field.Get(B.Raw);
    const unsigned a = UCD_Core::GCB_Field.Get(A.Raw);
    const std::uint8_t rule = Grapheme_Pair_Table[b * 14 + a];
    if (rule != 2) {
        return rule != 0;
    }
    // Entry tests of the context rules: B Extend or Linker before a Consonant (GB9c), ZWJ
    // before an Extended_Pictographic (GB11), two regional indicators (GB12/13).
    constexpr unsigned Consonant = static_cast<unsigned>(UCD_Core::INCB_Values::INCB_CONSONANT);
    constexpr unsigned Linker = static_cast<unsigned>(UCD_Core::INCB_Values::INCB_LINKER);
    constexpr unsigned Extend = static_cast<unsigned>(UCD_Core::INCB_Values::INCB_EXTEND);
    const unsigned incb_b = UCD_Core::INCB_Field.Get(B.Raw);
    if (incb_b >= Extend && UCD_Core::INCB_Field.Get(A.Raw) == Consonant) {
        // Only GB9c can apply (no Consonant is Extended_Pictographic or a regional indicator).
        // The character before B, when known, settles the usual cases: a Consonant joins
        // through a Linker B and not through an Extend B; anything but Extend or Linker stops
        // the sequence. Otherwise look back.
        if (Before_B.Raw != Unread_Record.Raw) {
            const unsigned before = UCD_Core::INCB_Field.Get(Before_B.Raw);
            if (before == Consonant) {
                return incb_b == Linker;
            }
            if (before < Extend) {
                return false;
            }
        }
        return Grapheme_Context_Joins(In, Offset_B, B, A);
    }
    const bool gb11 = b == static_cast<unsigned>(GCB_Values::GCB_ZWJ) && A.Extended_Pictographic();
    const bool gb12 = b == static_cast<unsigned>(GCB_Values::GCB_RI) &&
                      a == static_cast<unsigned>(GCB_Values::GCB_RI);
    if (gb11 || gb12) [[unlikely]] {
        return Grapheme_Context_Joins(In, Offset_B, B, A);
    }
    return false;
}

// Walks the cluster that starts with Next (a character of In). Returns the offset of the
// cluster's last character and how far that is; Next becomes the character after the cluster
// (Size 0 at the end of the text), so that the following walk need not read it again.
[[gnu::always_inline]] inline Extent Walk_Grapheme_Cluster(const Text& In, Character& Next) {
    // Work on locals: a character's fields written through Next could alias the code units
    // read, which would keep them in memory.
    Character next = Next;
    Extent result{next.Offset, 0, 0};
    if (next.Code < 0x80) [[likely]] {
        // Between two ASCII characters the only pair that does not break is CR LF.
        const std::uint32_t after = next.Offset + 1;
        if (after < In.Size && In.Units[after] < 0x80) {
            const char32_t code = In.Units[after];
            if (next.Code == 0x0D && code == 0x0A) {
                Next = Read_Character(In, after + 1);
                return Extent{after, 1, 1};
            }
            // The next walk reads this character's record only if it needs it.
            Next = Character{after, 1, code, Unread_Record};
            return result;
        }
    }
    std::uint32_t size = next.Size;
    Core_Data_Record b = next.Record.Raw == Unread_Record.Raw ? Properties(next.Code) : next.Record;
    Core_Data_Record before_b = Unread_Record; // the character before B within the cluster
    while (true) {
        next = Read_Character(In, result.Offset + size);
        if (next.Size == 0 || !Grapheme_Joins(In, result.Offset, b, next.Record, before_b)) {
            break;
        }
        result.Characters += 1;
        result.UTF16_Units += UTF16_Units(size);
        result.Offset = next.Offset;
        size = next.Size;
        before_b = b;
        b = next.Record;
    }
    Next = next;
    return result;
}

// The cluster that starts with the character at First (First < Size): the offset of its last
// character and how far that is.
inline Extent Next_Grapheme_Cluster(const Text& In, std::uint32_t First) {
    if (First >= In.Size) [[unlikely]] {
        UTF8_Encoding::Raise_Offset_Out_Of_Range();
    }
    Character next = Read_Character(In, First);
    return Walk_Grapheme_Cluster(In, next);
}

// The cluster that ends with the character at Last (Last < Size): the offset of its first
// character and how far that is.
[[gnu::always_inline]] inline Extent Previous_Grapheme_Cluster(const Text& In, std::uint32_t Last) {
    char32_t code;
    Decode(In, Last, code);
    if (code < 0x80 && code != 0x0A) [[likely]] {
        // Only LF joins a preceding ASCII character (a CR).
        if (Last == 0 || In.Units[Last - 1] < 0x80) {
            return {Last, 0, 0};
        }
    }
    Extent result{Last, 0, 0};
    Core_Data_Record a = Properties(code);
    while (result.Offset > 0) {
        char32_t before;
        const std::uint32_t start = Decode_Backward(In, result.Offset, before);
        const Core_Data_Record b = Properties(before);
        if (!Grapheme_Joins(In, start, b, a)) {
            break;
        }
        result.Characters += 1;
        result.UTF16_Units += UTF16_Units(result.Offset - start);
        result.Offset = start;
        a = b;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Word segments

namespace Word_Rules {

constexpr unsigned V(WB_Values v) noexcept {
    return static_cast<unsigned>(v);
}
constexpr std::uint32_t Bit(WB_Values v) noexcept {
    return 1u << V(v);
}
constexpr bool In(unsigned v, std::uint32_t group) noexcept {
    return ((1u << v) & group) != 0;
}

// The groups of Word_Break values the rules name.
inline constexpr std::uint32_t AHLetter = Bit(WB_Values::WB_LE) | Bit(WB_Values::WB_HL);
inline constexpr std::uint32_t Mid_Letter =
    Bit(WB_Values::WB_ML) | Bit(WB_Values::WB_MB) | Bit(WB_Values::WB_SQ);
inline constexpr std::uint32_t Mid_Num =
    Bit(WB_Values::WB_MN) | Bit(WB_Values::WB_MB) | Bit(WB_Values::WB_SQ);
inline constexpr std::uint32_t Ignorable =
    Bit(WB_Values::WB_EXTEND) | Bit(WB_Values::WB_FO) | Bit(WB_Values::WB_ZWJ);
inline constexpr std::uint32_t Newline =
    Bit(WB_Values::WB_CR) | Bit(WB_Values::WB_LF) | Bit(WB_Values::WB_NL);
// The values after which ExtendNumLet joins (WB13a), and before which it joins (WB13b).
inline constexpr std::uint32_t Before_Extend_Num_Let =
    AHLetter | Bit(WB_Values::WB_NU) | Bit(WB_Values::WB_KA) | Bit(WB_Values::WB_EX);
inline constexpr std::uint32_t After_Extend_Num_Let =
    AHLetter | Bit(WB_Values::WB_NU) | Bit(WB_Values::WB_KA);

inline constexpr unsigned Value_Count = 19;

// The decision for the pair b | a where the two values alone settle it: 0 split, 1 join; 2
// where it depends on more (the ZWJ before an Extended_Pictographic, ignorable characters,
// the look-ahead and look-back rules WB6, WB7, WB7b, WB7c, WB11, WB12, regional indicators).
// After_Ignorables: the pair of the character before a run of ignorable characters and the
// one after the run, to which only the rules from WB5 on apply.
constexpr std::uint8_t pair_decision(unsigned b, unsigned a, bool After_Ignorables) noexcept {
    constexpr unsigned CR = V(WB_Values::WB_CR), LF = V(WB_Values::WB_LF);
    constexpr unsigned HL = V(WB_Values::WB_HL), NU = V(WB_Values::WB_NU);
    constexpr unsigned SQ = V(WB_Values::WB_SQ), DQ = V(WB_Values::WB_DQ);
    constexpr unsigned KA = V(WB_Values::WB_KA), EX = V(WB_Values::WB_EX);
    constexpr unsigned RI = V(WB_Values::WB_RI), ZWJ = V(WB_Values::WB_ZWJ);
    constexpr unsigned Space = V(WB_Values::WB_WSEGSPACE);
    if (!After_Ignorables) {
        if (b == CR && a == LF) {
            return 1;
        }
        if (In(b, Newline) || In(a, Newline)) {
            return 0;
        }
        if (b == ZWJ || In(a, Ignorable)) {
            return 2;
        }
        if (b == Space && a == Space) {
            return 1;
        }
    }
    if (In(b, AHLetter) && In(a, AHLetter)) {
        return 1;
    }
    if (b == HL && a == SQ) {
        return 1; // WB6 or else WB7a
    }
    if ((In(b, AHLetter) && In(a, Mid_Letter)) || (In(a, AHLetter) && In(b, Mid_Letter)) ||
        (b == HL && a == DQ) || (a == HL && b == DQ)) {
        return 2;
    }
    if ((a == NU && (b == NU || In(b, AHLetter))) || (b == NU && In(a, AHLetter))) {
        return 1;
    }
    if ((In(b, Mid_Num) && a == NU) || (In(a, Mid_Num) && b == NU)) {
        return 2;
    }
    if (b == KA && a == KA) {
        return 1;
    }
    if (In(b, Before_Extend_Num_Let)) {
        return a == EX || (b == EX && In(a, After_Extend_Num_Let)) ? 1 : 0;
    }
    if (In(a, After_Extend_Num_Let)) {
        return 0;
    }
    if (b == RI && a == RI) {
        return 2;
    }
    return 0;
}

struct Pair_Table {
    std::uint8_t Rule[Value_Count * Value_Count];
};

constexpr Pair_Table make_pair_table(bool After_Ignorables) noexcept {
    Pair_Table table{};
    for (unsigned b = 0; b < Value_Count; ++b) {
        for (unsigned a = 0; a < Value_Count; ++a) {
            table.Rule[b * Value_Count + a] = pair_decision(b, a, After_Ignorables);
        }
    }
    return table;
}

} // namespace Word_Rules

// The word pair decisions by Word_Break values (row = before, column = after): 0 split, 1
// join, 2 decided by the context; the second table for the pair around a run of ignorable
// characters.
inline constexpr Word_Rules::Pair_Table Word_Pair_Table = Word_Rules::make_pair_table(false);
inline constexpr Word_Rules::Pair_Table Word_Pair_Table_After_Ignorables =
    Word_Rules::make_pair_table(true);

// Rules WB5 to WB999 for the pair B | A where the values alone do not settle it: B (value B) is
// the character at B_Offset, or the last one before the ignorable characters that precede A.
// True to join.
QORVI_API bool Word_Rules_Join(const Text& In, std::uint32_t B_Offset, unsigned B,
                               const Character& A);

// Walks the word segment that starts with Next (a character of In). Returns the offset of the
// segment's last character and how far that is, and sets Kind; Next becomes the character after
// the segment (Size 0 at the end of the text).
[[gnu::always_inline]] inline Extent Walk_Word_Segment(const Text& In, Character& Next,
                                                       Word_Kind& Kind) {
    using namespace Word_Rules;
    constexpr unsigned ZWJ = V(WB_Values::WB_ZWJ);
    Character next = Next;
    unsigned b = UCD_Core::WB_Field.Get(next.Record.Raw);
    Kind = b == V(WB_Values::WB_WSEGSPACE) ? Word_Kind::WHITESPACE
           : Word_Rules::In(b, Newline)    ? Word_Kind::LINE_BREAK
                                           : Word_Kind::TEXT;
    std::uint32_t b_offset = next.Offset;
    Extent end{next.Offset, 0, 0};
    std::uint32_t end_size = next.Size;
    while (true) {
        next = Read_Character(In, end.Offset + end_size);
        if (next.Size == 0) {
            break;
        }
        unsigned a = UCD_Core::WB_Field.Get(next.Record.Raw);
        const std::uint8_t rule = Word_Pair_Table.Rule[b * Value_Count + a];
        if (rule == 0) {
            break;
        }
        if (rule == 2) {
            if (b == ZWJ && next.Record.Extended_Pictographic()) {
                // WB3c: join.
            } else if (Word_Rules::In(a, Ignorable)) {
                // WB4: the ignorable characters belong to the segment; the rules then go on
                // between B and the first character after them.
                Kind = Word_Kind::TEXT;
                bool last_is_zwj;
                do {
                    last_is_zwj = a == ZWJ;
                    end.Characters += 1;
                    end.UTF16_Units += UTF16_Units(end_size);
                    end.Offset = next.Offset;
                    end_size = next.Size;
                    next = Read_Character(In, end.Offset + end_size);
                    if (next.Size == 0) {
                        Next = next;
                        return end;
                    }
                    a = UCD_Core::WB_Field.Get(next.Record.Raw);
                } while (Word_Rules::In(a, Ignorable));
                if (!(last_is_zwj && next.Record.Extended_Pictographic())) { // else WB3c
                    const std::uint8_t after =
                        Word_Pair_Table_After_Ignorables.Rule[b * Value_Count + a];
                    if (after == 0 || (after == 2 && !Word_Rules_Join(In, b_offset, b, next))) {
                        break;
                    }
                }
            } else if (!Word_Rules_Join(In, b_offset, b, next)) {
                break;
            }
        }
        end.Characters += 1;
        end.UTF16_Units += UTF16_Units(end_size);
        end.Offset = next.Offset;
        end_size = next.Size;
        b_offset = next.Offset;
        b = a;
    }
    Next = next;
    return end;
}

// The word segment that starts with the character at First (First < Size): the offset of its
// last character, how far that is, and the segment's kind.
inline Extent Next_Word_Segment(const Text& In, std::uint32_t First, Word_Kind& Kind) {
    if (First >= In.Size) [[unlikely]] {
        UTF8_Encoding::Raise_Offset_Out_Of_Range();
    }
    Character next = Read_Character(In, First);
    return Walk_Word_Segment(In, next, Kind);
}

// ---------------------------------------------------------------------------------------------
// Emoji sequences and display width of one cluster

// Whether the characters from First up to (not including) End form an emoji sequence: a
// single emoji, a presentation, modifier, keycap, flag or tag sequence, or such elements
// joined by U+200D. A tag sequence closed by U+E007F and followed by anything but U+200D is
// not one.
QORVI_API bool Is_Emoji_Sequence(const Text& In, std::uint32_t First, std::uint32_t End);

// The terminal cells (1 or 2) taken by the cluster from First up to (not including) End
// (First < End): 2 when a character is East Asian Wide or Fullwidth; otherwise 1 unless the
// cluster is an emoji sequence shown as emoji (more than one character, or one character with
// Emoji_Presentation).
QORVI_API std::int32_t Cluster_Display_Width(const Text& In, std::uint32_t First,
                                             std::uint32_t End);

// The same for a cluster of one character: 2 for East Asian Wide or Fullwidth, and for an emoji
// with Emoji_Presentation; 1 otherwise.
constexpr std::int32_t Character_Display_Width(Core_Data_Record Record) noexcept {
    const auto width = static_cast<UCD_Core::EA_Values>(UCD_Core::EA_Field.Get(Record.Raw));
    return width == UCD_Core::EA_Values::EA_W || width == UCD_Core::EA_Values::EA_F ||
                   (Record.Emoji() && Record.Emoji_Presentation())
               ? 2
               : 1;
}

} // namespace Qorvi::Implementation::Text_Segmentation
