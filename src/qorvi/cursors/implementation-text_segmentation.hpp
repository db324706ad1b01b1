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
enum class Word_Kind : std::uint8_t { Text, Whitespace, Line_Break };

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
    Code = ((lead & 0x07u) << 18) | ((at[1] & 0x3Fu) << 12) | ((at[2] & 0x3Fu) << 6) |
           (at[3] & 0x3Fu);
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

// Whether the characters B (at Offset_B) and A (right after it) belong to one cluster.
[[gnu::always_inline]] inline bool Grapheme_Joins(const Text& In, std::uint32_t Offset_B,
                                                  Core_Data_Record B, Core_Data_Record A) {
    const unsigned b = UCD_Core::GCB_Field.Get(B.Raw);
    const unsigned a = UCD_Core::GCB_Field.Get(A.Raw);
    const std::uint8_t rule = Grapheme_Pair_Table[b * 14 + a];
    if (rule != 2) {
        return rule != 0;
    }
    // Entry tests of the context rules: B Extend or Linker before a Consonant (GB9c), ZWJ
    // before an Extended_Pictographic (GB11), two regional indicators (GB12/13).
    const unsigned incb_b = UCD_Core::INCB_Field.Get(B.Raw);
    const bool gb9c = incb_b >= static_cast<unsigned>(UCD_Core::INCB_Values::INCB_EXTEND) &&
                      UCD_Core::INCB_Field.Get(A.Raw) ==
                          static_cast<unsigned>(UCD_Core::INCB_Values::INCB_CONSONANT);
    const bool gb11 = b == static_cast<unsigned>(GCB_Values::GCB_ZWJ) && A.Extended_Pictographic();
    const bool gb12 = b == static_cast<unsigned>(GCB_Values::GCB_RI) &&
                      a == static_cast<unsigned>(GCB_Values::GCB_RI);
    if (gb9c || gb11 || gb12) [[unlikely]] {
        return Grapheme_Context_Joins(In, Offset_B, B, A);
    }
    return false;
}

// The cluster that starts with the character at First (First < Size): the offset of its last
// character and how far that is.
[[gnu::always_inline]] inline Extent Next_Grapheme_Cluster(const Text& In, std::uint32_t First) {
    char32_t code;
    std::uint32_t size = Decode(In, First, code);
    std::uint32_t next = First + size;
    if (code < 0x80) [[likely]] {
        // Between two ASCII characters the only pair that does not break is CR LF.
        if (next >= In.Size) {
            return {First, 0, 0};
        }
        const std::uint8_t after = In.Units[next];
        if (after < 0x80) {
            if (code == 0x0D && after == 0x0A) {
                return {next, 1, 1};
            }
            return {First, 0, 0};
        }
    }
    Extent result{First, 0, 0};
    Core_Data_Record b = Properties(code);
    while (next < In.Size) {
        char32_t after;
        const std::uint32_t after_size = Decode(In, next, after);
        const Core_Data_Record a = Properties(after);
        if (!Grapheme_Joins(In, result.Offset, b, a)) {
            break;
        }
        result.Characters += 1;
        result.UTF16_Units += UTF16_Units(size);
        result.Offset = next;
        size = after_size;
        next += after_size;
        b = a;
    }
    return result;
}

// The cluster that ends with the character at Last (Last < Size): the offset of its first
// character and how far that is.
[[gnu::always_inline]] inline Extent Previous_Grapheme_Cluster(const Text& In,
                                                               std::uint32_t Last) {
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

// The word segment that starts with the character at First (First < Size): the offset of its
// last character, how far that is, and the segment's kind.
QORVI_API Extent Next_Word_Segment(const Text& In, std::uint32_t First, Word_Kind& Kind);

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

} // namespace Qorvi::Implementation::Text_Segmentation
